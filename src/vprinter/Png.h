#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "vprinter/Page.h"

namespace vprinter {

// The colour of every page pixel value: the four inks laid over white paper,
// each with its dot size as coverage.
const std::array<std::array<uint8_t, 3>, 256>& PagePalette();

// The keyword of the text chunk that holds a page's stored values: one line
// NAME=VALUE a quantity, in MechanismQuantities() order, for example
// "head-angular=3".
inline constexpr const char* kStoredValuesKeyword = "Orvane stored values";

// A page as an 8-bit indexed PNG, 2880 pixels wide, whose pixel values are
// the page's own pixels with PagePalette() as its palette. The bytes depend
// on the page alone: no time, fixed compression, and one text chunk (before
// the pixels) with the page's stored values when they are known.
bool EncodePng(const Page& page, std::vector<uint8_t>& png);

// Reads such a PNG back: its size and pixel values (row after row).
bool DecodePng(const std::vector<uint8_t>& png, uint32_t& width, uint32_t& height,
               std::vector<uint8_t>& pixels);

}  // namespace vprinter
