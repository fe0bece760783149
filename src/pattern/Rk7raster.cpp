#include "pattern/Rk7raster.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "link/BusySend.h"
#include "link/Dllfunction.h"
#include "link/PrinterStatus.h"
#include "link/ResultCodes.h"
#include "link/Rk7statuscontrol.h"

namespace {

constexpr uint8_t kPaperOutError = 6;
// A run-length unit stands for at most 129 copies; SendRun cuts its runs at 120.
constexpr int kRepeatLimit = 129;
constexpr int kRunPiece = 120;

constexpr uint8_t kCarriageReturn = 0x0D;
constexpr uint8_t kLineFeed = 0x0A;
constexpr uint8_t kFormFeed = 0x0C;

uint8_t Low(uint16_t value) {
    return static_cast<uint8_t>(value % 256);
}
uint8_t High(uint16_t value) {
    return static_cast<uint8_t>(value / 256);
}

}  // namespace

const char* const TPRaster::kPaperOutText =
    "Paper not loaded correctly.\nReload the paper and press the Paper button on the "
    "printer.\nThen click the [OK] button on the screen.";
const char* const TPRaster::kRepeatErrorText = "RepeatSend() error";
const char* const TPRaster::kOutOfMemoryText =
    "There is not enough free memory to run this program.\nQuit one or more programs, and then "
    "try again.";

TPRaster::TPRaster(TPDLLFunction& link, TPStatusControl& status, orvane::IClock& clock,
                   orvane::IMessageBox& messageBox, orvane::IMemory* memory)
    : link_(link), status_(status), clock_(clock), messageBox_(messageBox) {
    orvane::SystemMemory system;
    storage_ = (memory != nullptr ? *memory : system).Allocate(kBufferSize);
    if (!storage_) {
        orvane::MessageRequest request;
        request.text = kOutOfMemoryText;
        request.caption = "Error!";
        request.icon = orvane::MessageIcon::Error;
        request.owner = orvane::MessageOwner::None;
        messageBox_.Show(request);
        std::exit(0);
    }
    buffer_ = storage_.get();
}

// ---------------------------------------------------------------------------
// Buffer and send path

uint16_t TPRaster::SendBuffer() {
    // Out of paper is waited out while the technician loads paper and
    // answers OK; any other printer error ends the job.
    const uint16_t result = SendWhileBusy(
        link_, status_, clock_, buffer_, static_cast<uint32_t>(fill_),
        [this](const PrinterStatus& record) {
            return record.ErrorCode() == kPaperOutError &&
                   ShowPaperOut() != orvane::MessageAnswer::Cancel;
        });
    if (result == ResultOk) {
        std::memset(buffer_, 0, kBufferSize);
        fill_ = 0;
    }
    return result;
}

orvane::MessageAnswer TPRaster::ShowPaperOut() {
    orvane::MessageRequest request;
    request.text = kPaperOutText;
    request.caption = "Error";
    request.icon = orvane::MessageIcon::Error;
    request.buttons = orvane::MessageButtons::Ok;
    request.owner = orvane::MessageOwner::AdjustmentWindow;
    return messageBox_.Show(request);
}

uint16_t TPRaster::StoreAndSend(const uint8_t* data, int length) {
    if (length > kSendSize) {
        return ResultCommandError;
    }
    if (length <= 0) {
        return ResultOk;
    }
    cutLength_ = 0;
    // A send that failed at 1000 bytes left the buffer full: it has to go out
    // before anything new is stored.
    if (fill_ >= kSendSize) {
        const uint16_t result = SendBuffer();
        if (result != ResultOk) {
            return result;
        }
    }
    int stored = 0;
    while (stored < length) {
        const int piece = std::min(length - stored, kSendSize - fill_);
        std::memcpy(buffer_ + fill_, data + stored, static_cast<size_t>(piece));
        fill_ += piece;
        stored += piece;
        if (fill_ >= kSendSize) {
            const uint16_t result = SendBuffer();
            if (result != ResultOk) {
                // The rest of the piece is not stored; it is remembered only
                // for FlushWithCutPiece.
                cutLength_ = length - stored;
                std::memcpy(cut_.data(), data + stored, static_cast<size_t>(cutLength_));
                return result;
            }
        }
    }
    return ResultOk;
}

uint16_t TPRaster::FlushWithCutPiece() {
    if (fill_ > 0) {
        const uint16_t result = SendBuffer();
        if (result != ResultOk) {
            return result;
        }
    }
    if (cutLength_ > 0) {
        std::memcpy(buffer_, cut_.data(), static_cast<size_t>(cutLength_));
        fill_ = cutLength_;
        cutLength_ = 0;
        return SendBuffer();
    }
    return ResultOk;
}

uint16_t TPRaster::Flush() {
    return SendBuffer();
}

uint16_t TPRaster::EjectPage() {
    const uint16_t result = SendBytes(&kFormFeed, 1);
    if (result != ResultOk) {
        return result;
    }
    return Flush();
}

uint16_t TPRaster::FeedLines(int count) {
    static constexpr uint8_t kNewLine[] = {kCarriageReturn, kLineFeed};
    for (int line = 0; line < count; ++line) {
        const uint16_t result = SendBytes(kNewLine, sizeof kNewLine);
        if (result != ResultOk) {
            return result;
        }
    }
    return ResultOk;
}

// ---------------------------------------------------------------------------
// Run-length units

uint16_t TPRaster::RepeatSend(int count, uint8_t value) {
    if (count < 1 || count > kRepeatLimit) {
        orvane::MessageRequest request;
        request.text = kRepeatErrorText;
        request.icon = orvane::MessageIcon::Error;
        request.buttons = orvane::MessageButtons::Ok;
        request.owner = orvane::MessageOwner::AdjustmentWindow;
        messageBox_.Show(request);
        return ResultCommandError;
    }
    const uint8_t header = count == 1 ? 0x00 : static_cast<uint8_t>((1 - count) & 0xFF);
    // The common case written straight into the buffer: the pair of bytes
    // would otherwise make a round trip through the stack for every unit.
    if (kSendSize - fill_ > 2) {
        buffer_[fill_] = header;
        buffer_[fill_ + 1] = value;
        fill_ += 2;
        return ResultOk;
    }
    const uint8_t unit[] = {header, value};
    return SendBytes(unit, sizeof unit);
}

uint16_t TPRaster::SendRun(int count, uint8_t value) {
    if (count == 0) {
        return ResultOk;
    }
    while (count > kRunPiece) {
        const uint16_t result = RepeatSend(kRunPiece, value);
        if (result != ResultOk) {
            return result;
        }
        count -= kRunPiece;
    }
    return RepeatSend(count, value);
}

// ---------------------------------------------------------------------------
// Printer commands

uint16_t TPRaster::SendInitialize() {
    static constexpr uint8_t kBytes[] = {0x1B, 0x40};
    return SendBytes(kBytes, sizeof kBytes);
}

uint16_t TPRaster::SendGraphicsMode() {
    static constexpr uint8_t kBytes[] = {0x1B, 0x28, 0x47, 0x01, 0x00, 0x01};
    return SendBytes(kBytes, sizeof kBytes);
}

uint16_t TPRaster::SendUnit(uint8_t unit) {
    const uint8_t bytes[] = {0x1B, 0x28, 0x55, 0x01, 0x00, unit};
    return SendBytes(bytes, sizeof bytes);
}

uint16_t TPRaster::SendUnitExtended() {
    static constexpr uint8_t kBytes[] = {0x1B, 0x28, 0x55, 0x05, 0x00,
                                         0x01, 0x01, 0x01, 0x40, 0x0B};
    return SendBytes(kBytes, sizeof kBytes);
}

uint16_t TPRaster::SendPrintDirection(uint8_t direction) {
    const uint8_t bytes[] = {0x1B, 0x55, direction};
    return SendBytes(bytes, sizeof bytes);
}

uint16_t TPRaster::SendDotSize(uint8_t dotSize) {
    const uint8_t bytes[] = {0x1B, 0x28, 0x65, 0x02, 0x00, 0x00, dotSize};
    return SendBytes(bytes, sizeof bytes);
}

uint16_t TPRaster::SendColorMode(uint8_t mode) {
    const uint8_t modeByte = (mode == 1 || mode == 2) ? mode : 0;
    const uint8_t bytes[] = {0x1B, 0x28, 0x4B, 0x02, 0x00, 0x00, modeByte};
    return SendBytes(bytes, sizeof bytes);
}

uint16_t TPRaster::SendCarriageReturn() {
    static constexpr uint8_t kBytes[] = {0x1B, 0x3C, kCarriageReturn};
    return SendBytes(kBytes, sizeof kBytes);
}

uint16_t TPRaster::MoveVertical(uint16_t units) {
    const uint8_t bytes[] = {0x1B, 0x28, 0x76, 0x02, 0x00, Low(units), High(units)};
    return SendBytes(bytes, sizeof bytes);
}

uint16_t TPRaster::MoveHorizontal(uint16_t units) {
    const uint8_t bytes[] = {0x1B, 0x5C, Low(units), High(units)};
    return SendBytes(bytes, sizeof bytes);
}

uint16_t TPRaster::SendResolution(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    const uint8_t bytes[] = {0x1B, 0x28, 0x44, 0x04, 0x00, a, b, c, d};
    return SendBytes(bytes, sizeof bytes);
}

uint16_t TPRaster::SendEightByteCommand(uint8_t command, const std::array<uint8_t, 8>& parameters) {
    std::array<uint8_t, 13> bytes = {0x1B, 0x28, command, 0x08, 0x00};
    std::copy(parameters.begin(), parameters.end(), bytes.begin() + 5);
    return SendBytes(bytes.data(), static_cast<int>(bytes.size()));
}

uint16_t TPRaster::SendPaperSize(const std::array<uint8_t, 8>& parameters) {
    return SendEightByteCommand(0x53, parameters);
}

uint16_t TPRaster::SendPageFormat(const std::array<uint8_t, 8>& parameters) {
    return SendEightByteCommand(0x63, parameters);
}

uint16_t TPRaster::SendPageLength(uint8_t length) {
    const uint8_t bytes[] = {0x1B, 0x28, 0x43, 0x04, 0x00, 0x00, 0x00, 0x00, length};
    return SendBytes(bytes, sizeof bytes);
}

uint16_t TPRaster::SendRasterHeader(uint8_t colour, uint8_t compression, uint8_t bitsPerDot,
                                    uint16_t bytesPerLine, uint16_t lines) {
    const uint8_t bytes[] = {0x1B,
                             0x69,
                             colour,
                             compression,
                             bitsPerDot,
                             Low(bytesPerLine),
                             High(bytesPerLine),
                             Low(lines),
                             High(lines)};
    return SendBytes(bytes, sizeof bytes);
}

uint16_t TPRaster::SendDraftMode() {
    static constexpr uint8_t kBytes[] = {0x1B, 0x78, 0x30};
    return SendBytes(kBytes, sizeof kBytes);
}
