#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace eeprom {

// The number of characters of a UTF-8 text, as the technician typed them:
// every byte that does not continue a character (10xxxxxx) begins one. A text
// that counts right but holds a character beyond ASCII is then refused by
// the character checks, which see the first such character at its place
// (every character before it is one byte).
inline size_t CharacterCount(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace eeprom
