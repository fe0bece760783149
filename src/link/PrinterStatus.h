#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The printer status record. The channel library's InquireStatus fills bytes
// 0-35; the program keeps its own fields from byte 36 on. Multi-byte fields
// are little-endian, whatever the host's byte order.
//
//   0      printer state             14-21  raw ink amounts (black, cyan,
//   1      error code (state 0)             magenta, yellow), 16-bit signed
//   36     1 = all four raw amounts valid at the last inquiry
//   38-45  accepted amounts (black, cyan, magenta, yellow), 16-bit signed
class PrinterStatus {
  public:
    static constexpr size_t kLibrarySize = 36;
    static constexpr size_t kSize = 46;

    enum Colour { Black = 0, Cyan = 1, Magenta = 2, Yellow = 3 };

    // Printer states.
    static constexpr uint8_t StateError = 0;
    static constexpr uint8_t StateBusy = 2;
    static constexpr uint8_t StatePrinting = 3;
    static constexpr uint8_t StateReady = 4;
    static constexpr uint8_t StateCleaning = 7;
    static constexpr uint8_t StateBeforeInkCharge = 8;

    // Raw ink values that stand for "no valid amount" (I-C, A-N, E-R, E-W in memory).
    static constexpr std::array<int16_t, 4> kInkMarkers = {0x4349, 0x4E41, 0x5245, 0x5745};
    static bool IsInkMarker(int16_t raw);

    uint8_t* Bytes() { return bytes_.data(); }
    const uint8_t* Bytes() const { return bytes_.data(); }

    uint8_t State() const { return bytes_[0]; }
    uint8_t ErrorCode() const { return bytes_[1]; }
    int16_t RawInk(Colour colour) const { return ReadInt16(kRawInkOffset + 2 * colour); }
    uint8_t InkValid() const { return bytes_[kValidOffset]; }
    int16_t AcceptedInk(Colour colour) const { return ReadInt16(kAcceptedInkOffset + 2 * colour); }

    // Takes the raw amounts of the last inquiry: every valid amount replaces
    // the accepted one; a marker keeps the accepted amount and clears the
    // valid flag.
    void AcceptInkAmounts();

  private:
    static constexpr size_t kRawInkOffset = 14;
    static constexpr size_t kValidOffset = 36;
    static constexpr size_t kAcceptedInkOffset = 38;

    int16_t ReadInt16(size_t offset) const;
    void WriteInt16(size_t offset, int16_t value);

    std::array<uint8_t, kSize> bytes_{};
};
