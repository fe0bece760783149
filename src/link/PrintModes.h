#pragma once

#include <cstdint>

// Print mode (dot size) codes, shared by the Bi-D values, the packets and the
// print data.
inline constexpr uint8_t ModeVsd1 = 16;
inline constexpr uint8_t ModeVsd2 = 17;
inline constexpr uint8_t ModeVsd3 = 18;
inline constexpr uint8_t ModeEco = 19;

// Colour selector: 1 is black, any other value colour (the pages pass 0).
inline constexpr uint8_t SelectBlack = 1;
inline constexpr uint8_t SelectColour = 0;
