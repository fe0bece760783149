#include "link/Rk7factory.h"

#include <string>

#include "link/BusySend.h"
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

// A value byte as the signed number it stands for.
std::string SignedText(uint8_t value) {
    return std::to_string(static_cast<int8_t>(value));
}

const char* ModeName(uint8_t mode) {
    switch (mode) {
        case ModeVsd1:
            return "vsd1";
        case ModeVsd2:
            return "vsd2";
        case ModeVsd3:
            return "vsd3";
        default:
            return "eco";
    }
}

const char* ColourName(bool black) {
    return black ? "black" : "color";
}

std::string SequenceName(uint8_t sequence) {
    switch (sequence) {
        case TPFactory::SequenceCleaning:
            return "cleaning";
        case TPFactory::SequenceInkCharge:
            return "ink-charge";
        default:
            return std::to_string(sequence);
    }
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
    const uint16_t result = SendPacket(packet_.data(), length);
    link_.RecordWrite(patternValues_ ? servicelog::BidTest : servicelog::Bid,
                      std::string("bid-") + ModeName(mode) + "-" + ColourName(colourByte == 1),
                      std::to_string(value), result);
    return result;
}

uint16_t TPFactory::SendHeadAngularValue(uint8_t value) {
    const uint16_t result =
        SendPacket(packet_.data(), Build(kCommandHeadAngular, kFunctionHeadAngular, {value}));
    link_.RecordWrite(servicelog::HeadAngular, "head-angular", SignedText(value), result);
    return result;
}

uint16_t TPFactory::StartMaintenanceSequence(uint8_t sequence) {
    const uint16_t result =
        SendPacket(packet_.data(), Build(kCommandMaintenance, kFunctionMaintenance, {sequence}));
    // Not logged (it sets no value), but the printer has started it.
    if (result == ResultOk) {
        link_.NoteAccepted(servicelog::Sequence, SequenceName(sequence));
    }
    return result;
}

uint16_t TPFactory::SendStoreCommand() {
    const uint16_t result = SendPacket(packet_.data(), Build(kCommandStore, kFunctionStore, {}));
    link_.RecordWrite(servicelog::Store, "", "", result);
    return result;
}

uint16_t TPFactory::SendPfValue(uint8_t blackFlag, uint8_t value) {
    const uint8_t colourByte = blackFlag != 0 ? 1 : 2;
    const uint16_t result =
        SendPacket(packet_.data(), Build(kCommandPf, kFunctionPf, {value, colourByte}));
    if (!patternValues_) {
        link_.RecordWrite(servicelog::Pf, std::string("pf-") + ColourName(blackFlag != 0),
                          SignedText(value), result);
    }
    return result;
}

uint16_t TPFactory::SendTopMarginValue(uint8_t value) {
    const uint16_t result =
        SendPacket(packet_.data(), Build(kCommandTopMargin, kFunctionTopMargin, {value}));
    link_.RecordWrite(servicelog::TopMargin, "top-margin", SignedText(value), result);
    return result;
}

uint16_t TPFactory::SendFirstDotValue(int value) {
    if (value < kFirstDotMin || value > kFirstDotMax) {
        return ResultCommandError;
    }
    const uint16_t result =
        SendPacket(packet_.data(), Build(kCommandFirstDot, kFunctionFirstDot, {LowByte(value)}));
    link_.RecordWrite(servicelog::FirstDot, "first-dot", std::to_string(value), result);
    return result;
}

uint16_t TPFactory::SendPacket(const uint8_t* bytes, int count) {
    if (count < 0) {
        return ResultCommandError;
    }
    return SendWhileBusy(link_, status_, clock_, bytes, static_cast<uint32_t>(count));
}
