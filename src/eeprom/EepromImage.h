#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "eeprom/EepromMap.h"
#include "platform/Clock.h"
#include "platform/Random.h"

namespace eeprom {

// The file of the full EEPROM dump: four bytes per address, scrambled so that
// it is not read as plain EEPROM bytes.
inline constexpr int kImageSize = 4 * kSize;
inline constexpr std::string_view kImageFiller = "Memory image txt";

using Bytes = std::array<uint8_t, kSize>;
using Image = std::array<uint8_t, kImageSize>;

// Builds the dump of the 256 EEPROM bytes. For address a with value v the
// bytes 4a to 4a+3 are a random byte, v's high nibble, v's low nibble in the
// high half, and character a mod 16 of the filler text; then every byte k is
// raised by 7k + 3 (mod 256). The random bytes come from random as it stands:
// the caller seeds it.
Image BuildImage(const Bytes& bytes, orvane::IRandom& random);

// The pause between reading the last byte and saving the dump.
inline constexpr uint32_t kDumpSaveDelayMilliseconds = 200;

// The random generator's seed of a dump made at a moment: its seconds since
// 1970, so that dumps made at different seconds get different random bytes.
uint32_t DumpSeedOf(const orvane::LocalDateTime& now);

}  // namespace eeprom
