#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "link/PrintDataJob.h"
#include "link/ResultCodes.h"
#include "platform/Clock.h"
#include "platform/Memory.h"
#include "platform/MessageBox.h"

class TPDLLFunction;
class TPStatusControl;

// The print-data job: every byte for the printer's print-data channel goes
// through its 1024-byte buffer, which is sent whenever 1000 bytes have
// gathered or a caller flushes. While the printer is busy it sends again
// every 500 ms; on paper out it asks the technician to reload paper first. A
// clock that ends waits ends the retries (ResultInterrupted, the buffer kept).
class TPRaster final : public IPrintDataJob {
  public:
    static constexpr int kBufferSize = 1024;
    static constexpr int kSendSize = 1000;

    // The paper-out box, shown once for every send refused for lack of paper.
    // The window's box has only OK; a box answered with Cancel gives the wait
    // up, and the send ends with ResultPrinterError.
    static const char* const kPaperOutText;
    // Shown when a run-length unit is asked for a count it cannot carry.
    static const char* const kRepeatErrorText;
    // Shown, without an owner window, when the buffer cannot be had at start.
    static const char* const kOutOfMemoryText;

    // The buffer comes from memory (none: the system's allocator). When it
    // cannot be had the job shows the shortage and ends the program with
    // exit code 0.
    TPRaster(TPDLLFunction& link, TPStatusControl& status, orvane::IClock& clock,
             orvane::IMessageBox& messageBox, orvane::IMemory* memory = nullptr);

    // Buffer and send path. Every operation returns the code of the first
    // failed send, or 1.
    //
    // SendBytes appends at most 1000 bytes (more: ResultCommandError, nothing
    // stored; length <= 0: nothing, 1), sending the buffer each time it holds
    // 1000. When a failed send has left a full buffer behind, that buffer is
    // sent first; while it cannot go out nothing new is stored, so no byte is
    // lost or doubled.
    uint16_t SendBytes(const uint8_t* data, int length) override {
        // Most pieces are a few bytes that leave the buffer short of a send.
        if (length > 0 && length < kSendSize - fill_) {
            std::memcpy(buffer_ + fill_, data, static_cast<size_t>(length));
            fill_ += length;
            return ResultOk;
        }
        return StoreAndSend(data, length);
    }
    // Sends what the buffer holds, even nothing.
    uint16_t Flush() override;
    // For a job that ends early: sends what the buffer holds, then the rest
    // of the piece whose store a failed send cut short, so that the printer
    // is left between two commands (a cut run-length unit would take the
    // next command's first byte as its value). Sends nothing when nothing
    // waits.
    uint16_t FlushWithCutPiece();
    // Form feed, then Flush.
    uint16_t EjectPage();
    // CR LF count times, without a flush.
    uint16_t FeedLines(int count) override;

    // Run-length units of raster data. RepeatSend appends one unit of 1 to
    // 129 copies of value; any other count shows "RepeatSend() error" and
    // returns ResultCommandError. SendRun cuts a run into units of at most
    // 120 copies; a run of 0 copies appends nothing.
    uint16_t RepeatSend(int count, uint8_t value);
    uint16_t SendRun(int count, uint8_t value);

    // Printer commands.
    uint16_t SendInitialize() override;
    uint16_t SendGraphicsMode();
    uint16_t SendUnit(uint8_t unit);
    uint16_t SendUnitExtended();
    uint16_t SendPrintDirection(uint8_t direction);
    uint16_t SendDotSize(uint8_t dotSize);
    // 1 black only, 2 colour, any other value 0.
    uint16_t SendColorMode(uint8_t mode);
    uint16_t SendCarriageReturn();
    uint16_t MoveVertical(uint16_t units);
    uint16_t MoveHorizontal(uint16_t units);
    uint16_t SendResolution(uint8_t a, uint8_t b, uint8_t c, uint8_t d);
    uint16_t SendPaperSize(const std::array<uint8_t, 8>& parameters);
    uint16_t SendPageFormat(const std::array<uint8_t, 8>& parameters);
    uint16_t SendPageLength(uint8_t length);
    uint16_t SendRasterHeader(uint8_t colour, uint8_t compression, uint8_t bitsPerDot,
                              uint16_t bytesPerLine, uint16_t lines);
    uint16_t SendDraftMode();

    // Forgets what a failed send left in the buffer. The job those bytes
    // belong to is over; sent at the head of the next job they would end its
    // unfinished raster block with the next job's first bytes.
    void DiscardUnsent() {
        std::memset(buffer_, 0, kBufferSize);
        fill_ = 0;
        cutLength_ = 0;
    }

    int FillCount() const { return fill_; }
    const uint8_t* Buffer() const { return buffer_; }

    // The link the job is sent on.
    TPDLLFunction& Link() { return link_; }

  private:
    // Sends the first fill-count bytes; while the printer is busy, or out of
    // paper after the technician was asked to load it, again every 500 ms.
    uint16_t SendBuffer();
    orvane::MessageAnswer ShowPaperOut();
    // SendBytes for the pieces that reach 1000 bytes, and the caller faults.
    uint16_t StoreAndSend(const uint8_t* data, int length);
    uint16_t SendEightByteCommand(uint8_t command, const std::array<uint8_t, 8>& parameters);

    TPDLLFunction& link_;
    TPStatusControl& status_;
    orvane::IClock& clock_;
    orvane::IMessageBox& messageBox_;
    std::unique_ptr<uint8_t[]> storage_;
    uint8_t* buffer_ = nullptr;  // the kBufferSize bytes of storage_
    int32_t fill_ = 0;
    // The bytes of the last piece that a failed send kept from the buffer.
    std::array<uint8_t, kSendSize> cut_{};
    int cutLength_ = 0;
};
