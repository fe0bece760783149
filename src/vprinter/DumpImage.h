#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "vprinter/Config.h"

namespace vprinter {

// Reads a full EEPROM dump file of the adjustment program back into the 256
// EEPROM bytes it was made from: four bytes per address, each byte k raised by
// 7k + 3 (mod 256); of the four, the first is random, the second holds the
// value's high nibble, the third its low nibble in the high half, and the
// fourth a character of the filler text "Memory image txt".
inline constexpr size_t kDumpImageSize = 1024;

// False with a one-line reason when data is not such a dump: the wrong size,
// a wrong filler character, or nibble bytes with bits that no dump sets.
bool DecodeDumpImage(std::span<const uint8_t> data, Eeprom& eeprom, std::string& reason);

}  // namespace vprinter
