#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Conversions between the decimal texts of the adjustment edits and the
// values the printer keeps.
namespace adjust {

// The integer a typed text stands for, or fallback when it stands for none.
//
// A text converts when, after any leading spaces, it is an optional '+' or
// '-' followed by one or more decimal digits and nothing else, and the number
// fits a 32-bit signed integer. Everything else falls back: the empty text, a
// lone sign, trailing spaces or any other trailing character ("12abc",
// "5 "), tabs, and hexadecimal forms ("$1F", "0x1F"); the edits are decimal,
// so a hex text is treated as a typing slip rather than read as a value.
int TextToIntDef(std::string_view text, int fallback);
// The same conversion without a fallback: nothing when the text stands for no
// integer.
std::optional<int> TextToInt(std::string_view text);

// A stored adjustment byte as the edits show it: two's complement, signed
// decimal without leading zeros (0xFF gives "-1", 0x80 gives "-128").
std::string SignedByteText(uint8_t value);

}  // namespace adjust
