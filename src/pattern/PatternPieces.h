#pragma once

#include <array>
#include <cstdint>

#include "link/PrintModes.h"

// The fixed pieces the pattern generators are built from. Each is named here
// once; the generators use these names, never the bytes again.
namespace pattern {

// One run-length run of raster data: count copies of value (one SendRun).
struct Run {
    int count;
    uint8_t value;
};

// Geometry of a raster block.
inline constexpr int kLineBytes = 720;   // 2880 dots at 360 dpi, 2 bits per dot
inline constexpr int kBlackLines = 90;   // one line per black nozzle
inline constexpr int kColourLines = 29;  // one line per nozzle of a colour
inline constexpr int kPasses = 3;        // passes that fill the 1/120-inch nozzle pitch

// Colour numbers of the raster header.
inline constexpr uint8_t kBlack = 0;
inline constexpr uint8_t kMagenta = 1;
inline constexpr uint8_t kCyan = 2;
inline constexpr uint8_t kYellow = 4;
inline constexpr uint8_t kBlackSecondBlock = 6;  // second block of the PF black patterns

// Colour modes (SendColorMode).
inline constexpr uint8_t kModeBlack = 1;
inline constexpr uint8_t kModeColour = 2;

// Units of SendUnit: 1/360, 1/180 and 1/120 inch.
inline constexpr uint8_t kUnit360 = 10;
inline constexpr uint8_t kUnit180 = 20;
inline constexpr uint8_t kUnit120 = 30;

// Print directions: one way in all patterns, the Bi-D test passes both ways.
inline constexpr uint8_t kOneWay = 1;
inline constexpr uint8_t kBidTestDirection = 3;

// Raster bytes.
inline constexpr uint8_t kBlank = 0x00;
inline constexpr uint8_t kSolid = 0xFF;        // 3 3 3 3
inline constexpr uint8_t kLineDots = 0xFC;     // 3 3 3 0: horizontal-alignment line
inline constexpr uint8_t kSmallDots = 0x54;    // 1 1 1 0: horizontal-alignment line, VSD3
inline constexpr uint8_t kMediumBar = 0xAA;    // 2 2 2 2: Bi-D bars of VSD1 and VSD2
inline constexpr uint8_t kLeftDot = 0xC0;      // 3 0 0 0
inline constexpr uint8_t kStartMarker = 0x40;  // 1 0 0 0: very left of a block's first line
inline constexpr uint8_t kEndMarker = 0x01;    // 0 0 0 1: very right of a block's last line

// Angular mark: two bars of four dots with a two-dot gap (dots 0-3 and 6-9 of
// a 12-dot cell).
inline constexpr std::array<Run, 3> kAngularMark = {{{1, 0xFF}, {1, 0x0F}, {1, 0xF0}}};
inline constexpr int kAngularMarkBytes = 3;

// Bi-D combs of 20 bytes: the reference comb has three bars of 16 dots, the
// test comb two bars that fall into the reference comb's gaps.
inline constexpr int kCombBytes = 20;
inline constexpr std::array<Run, 5> ReferenceComb(uint8_t bar) {
    return {{{4, bar}, {4, kBlank}, {4, bar}, {4, kBlank}, {4, bar}}};
}
inline constexpr std::array<Run, 5> TestComb(uint8_t bar) {
    return {{{4, kBlank}, {4, bar}, {4, kBlank}, {4, bar}, {4, kBlank}}};
}
// The bar byte of a dot size: AA for VSD1 and VSD2, FF for VSD3 and ECO.
inline constexpr uint8_t BidBarByte(uint8_t dotSize) {
    return dotSize == ModeVsd1 || dotSize == ModeVsd2 ? kMediumBar : kSolid;
}
// Passes per Bi-D row: two for ECO, three otherwise.
inline constexpr int BidPasses(uint8_t dotSize) {
    return dotSize == ModeEco ? 2 : kPasses;
}

// Sheet slot table (Bi-D on the photo-paper sheet): a lead, then eleven
// 20-byte slots, each followed by its gap. Marks go into slots 4, 6 and 7.
inline constexpr int kSlotLead = 30;
inline constexpr int kSlotBytes = 20;
inline constexpr std::array<int, 11> kSlotGaps = {79, 21, 62, 21, 27, 36, 21, 83, 21, 59, 40};
inline constexpr std::array<int, 3> kMarkSlots = {4, 6, 7};

inline constexpr int SlotStart(int slot) {
    int start = kSlotLead;
    for (int k = 0; k < slot; ++k) {
        start += kSlotBytes + kSlotGaps[static_cast<size_t>(k)];
    }
    return start;
}
static_assert(SlotStart(0) == 30 && SlotStart(1) == 129 && SlotStart(2) == 170 &&
              SlotStart(3) == 252 && SlotStart(4) == 293 && SlotStart(5) == 340 &&
              SlotStart(6) == 396 && SlotStart(7) == 437 && SlotStart(8) == 540 &&
              SlotStart(9) == 581 && SlotStart(10) == 660);
static_assert(SlotStart(11) == kLineBytes, "the slot table fills one raster line");

// PF dither bytes, drawn anew for every byte from values 0..32767.
inline constexpr std::array<uint8_t, 5> kDitherBytes = {0xF7, 0xBD, 0xEF, 0x7B, 0xDE};
inline constexpr uint8_t DitherByte(int random) {
    // Unsigned arithmetic: DE comes only from 32767. Values are 0..32767; the
    // mask keeps the index within the table whatever the generator gives.
    return kDitherBytes[((static_cast<unsigned>(random) & 0x7FFFu) * 4u) / 32767u];
}
static_assert(DitherByte(0) == 0xF7 && DitherByte(32766) == 0x7B && DitherByte(32767) == 0xDE);

}  // namespace pattern
