#include "link/Rk7factory.h"

#include "link/Dllfunction.h"
#include "link/PrintModes.h"
#include "link/ResultCodes.h"
#include "link/Rk7statuscontrol.h"

namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kPacketMark = 0x7C;  // '|'
constexpr uint8_t kFirstCodeByte = 0x0B;
constexpr uint8_t kSecondCodeByte = 0x54;
// Bytes in front of the counted part: ESC '|' 00 n 00.
constexpr int kHeadSize = 5;
// Command byte, its complement and the function code.
constexpr int kCommandSize = 3;

constexpr uint32_t kBusyRetryMilliseconds = 500;

// Commands and their function codes.
constexpr uint8_t kCommandBid = 0x00;
constexpr uint8_t kFunctionBid = 0x00;
constexpr uint8_t kCommandPf = 0x04;
constexpr uint8_t kFunctionPf = 0x02;
constexpr uint8_t kCommandHeadAngular = 0x05;
constexpr uint8_t kFunctionHeadAngular = 0x82;
constexpr uint8_t kCommandFirstDot = 0x06;
constexpr uint8_t kFunctionFirstDot = 0x03;
constexpr uint8_t kCommandTopMargin = 0x07;
constexpr uint8_t kFunctionTopMargin = 0x83;
constexpr uint8_t kCommandStore = 0x50;
constexpr uint8_t kFunctionStore = 0x28;
constexpr uint8_t kCommandMaintenance = 0x84;
constexpr uint8_t kFunctionMaintenance = 0x42;

// The first-dot value goes out as one byte, symmetric around 0.
constexpr int kFirstDotMin = -127;
constexpr int kFirstDotMax = 127;
// A Bi-D value goes out as a 16-bit number whose high byte is only its sign,
// which is right for a signed byte's range alone.
constexpr int kBidMin = -128;
constexpr int kBidMax = 127;

uint8_t LowByte(int value) {
    return static_cast<uint8_t>(value & 0xFF);
}

}  // namespace

TPFactory::TPFactory(TPDLLFunction& link, TPStatusControl& status, orvane::IClock& clock)
    : link_(link), status_(status), clock_(clock) {
    // The two code bytes are the pair the link is opened with; no command
    // rewrites them.
    packet_[5] = kFirstCodeByte;
    packet_[6] = kSecondCodeByte;
}

int TPFactory::Build(uint8_t command, uint8_t function, std::initializer_list<uint8_t> parameters) {
    const int counted = 2 + kCommandSize + static_cast<int>(parameters.size());
    packet_[0] = kEsc;
    packet_[1] = kPacketMark;
    packet_[2] = 0x00;
    packet_[3] = static_cast<uint8_t>(counted);
    packet_[4] = 0x00;
    packet_[7] = command;
    packet_[8] = static_cast<uint8_t>(0xFF - command);
    packet_[9] = function;
    size_t offset = 10;
    for (const uint8_t parameter : parameters) {
        packet_[offset++] = parameter;
    }
    return kHeadSize + counted;
}

uint16_t TPFactory::SendBidValue(uint8_t colourSelector, uint8_t mode, int value) {
    uint8_t modeByte = 0;
    switch (mode) {
        case ModeVsd1:
            modeByte = 1;
            break;
        case ModeVsd2:
            modeByte = 2;
            break;
        case ModeVsd3:
            modeByte = 3;
            break;
        case ModeEco:
            modeByte = 0;
            break;
        default:
            return ResultCommandError;
    }
    if (value < kBidMin || value > kBidMax) {
        return ResultCommandError;
    }
    const uint8_t colourByte = colourSelector == SelectBlack ? 1 : 2;
    const uint8_t signByte = value < 0 ? 0xFF : 0x00;
    const int length =
        Build(kCommandBid, kFunctionBid, {modeByte, colourByte, LowByte(value), signByte});
    return SendPacket(packet_.data(), length);
}

uint16_t TPFactory::SendHeadAngularValue(uint8_t value) {
    return SendPacket(packet_.data(), Build(kCommandHeadAngular, kFunctionHeadAngular, {value}));
}

uint16_t TPFactory::StartMaintenanceSequence(uint8_t sequence) {
    return SendPacket(packet_.data(), Build(kCommandMaintenance, kFunctionMaintenance, {sequence}));
}

uint16_t TPFactory::SendStoreCommand() {
    return SendPacket(packet_.data(), Build(kCommandStore, kFunctionStore, {}));
}

uint16_t TPFactory::SendPfValue(uint8_t blackFlag, uint8_t value) {
    const uint8_t colourByte = blackFlag != 0 ? 1 : 2;
    return SendPacket(packet_.data(), Build(kCommandPf, kFunctionPf, {value, colourByte}));
}

uint16_t TPFactory::SendTopMarginValue(uint8_t value) {
    return SendPacket(packet_.data(), Build(kCommandTopMargin, kFunctionTopMargin, {value}));
}

uint16_t TPFactory::SendFirstDotValue(int value) {
    if (value < kFirstDotMin || value > kFirstDotMax) {
        return ResultCommandError;
    }
    return SendPacket(packet_.data(), Build(kCommandFirstDot, kFunctionFirstDot, {LowByte(value)}));
}

uint16_t TPFactory::SendPacket(const uint8_t* bytes, int count) {
    if (count < 0) {
        return ResultCommandError;
    }
    for (;;) {
        const uint16_t result = link_.SendDataChannel(bytes, static_cast<uint32_t>(count));
        if (result != ResultChannelError) {
            return result;
        }
        uint16_t channelError = 0;
        link_.GetD4ErrorCode(channelError);
        if (channelError != ChannelErrorBusy) {
            return ResultChannelError;
        }
        const uint16_t inquiry = status_.InquirePrinterStatus();
        if (inquiry != ResultOk) {
            return inquiry;
        }
        if (status_.Record().State() == PrinterStatus::StateError) {
            return ResultPrinterError;
        }
        clock_.Sleep(kBusyRetryMilliseconds);
    }
}
