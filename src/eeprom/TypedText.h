#pragma once

#include <cstddef>
#include <string_view>

namespace eeprom {

// The number of characters of a UTF-8 text, as the technician typed them:
// every byte that does not continue a character (10xxxxxx) begins one, and so
// does a continuing byte that no lead byte announced (not UTF-8: it counts,
// so that it can never hide behind a right count). A text that counts right but
// holds a character beyond ASCII is then refused by the character checks,
// which see the first such character at its place (every character before it
// is one byte).
inline size_t CharacterCount(std::string_view text) {
    size_t count = 0;
    int owed = 0;  // continuing bytes the last lead byte announced
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) == 0x80 && owed > 0) {
            --owed;
            continue;
        }
        ++count;
        owed = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    }
    return count;
}

}  // namespace eeprom
