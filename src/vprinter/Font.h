#pragma once

#include <cstdint>

namespace vprinter {

// The printer's one font: 5 x 9 cells (7 rows above the base line, 2 below
// for descenders), printed with each cell dot as a 5 x 5 square of dots in
// a character cell of 36 x 60 dots (10 characters an inch, 6 lines an inch).
inline constexpr int kGlyphColumns = 5;
inline constexpr int kGlyphRows = 9;
inline constexpr int kGlyphScale = 5;
inline constexpr int kGlyphLeft = 5;  // from the cell's left edge
inline constexpr int kGlyphTop = 8;   // from the cell's top

struct Glyph {
    uint8_t rows[kGlyphRows];  // bit 4 is the leftmost dot
};

// The glyph of a printable ASCII character; anything else prints as a box.
const Glyph& GlyphOf(char character);

}  // namespace vprinter
