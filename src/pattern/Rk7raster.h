#pragma once

#include <array>
#include <cstdint>

#include "platform/Clock.h"
#include "platform/MessageBox.h"

class TPDLLFunction;
class TPStatusControl;

// The print-data job: every byte for the printer's print-data channel goes
// through its 1024-byte buffer, which is sent whenever 1000 bytes have
// gathered or a caller flushes. While the printer is busy it sends again
// every 500 ms; on paper out it asks the technician to reload paper first.
class TPRaster {
public:
    static constexpr int kBufferSize = 1024;
    static constexpr int kSendSize = 1000;

    TPRaster(TPDLLFunction& link, TPStatusControl& status, orvane::IClock& clock,
             orvane::IMessageBox& messageBox);

    // Buffer and send path.
    uint16_t SendBytes(const uint8_t* data, int length);
    uint16_t Flush();
    uint16_t EjectPage();
    uint16_t FeedLines(int count);

    // Run-length units of raster data.
    uint16_t RepeatSend(int count, uint8_t value);
    uint16_t SendRun(int count, uint8_t value);

    // Printer commands.
    uint16_t SendInitialize();
    uint16_t SendGraphicsMode();
    uint16_t SendUnit(uint8_t unit);
    uint16_t SendUnitExtended();
    uint16_t SendPrintDirection(uint8_t direction);
    uint16_t SendDotSize(uint8_t dotSize);
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

    int FillCount() const { return fill_; }
    const uint8_t* Buffer() const { return buffer_.data(); }

private:
    uint16_t SendBuffer();

    TPDLLFunction& link_;
    TPStatusControl& status_;
    orvane::IClock& clock_;
    orvane::IMessageBox& messageBox_;
    std::array<uint8_t, kBufferSize> buffer_{};
    int32_t fill_ = 0;
};
