#pragma once

#include <cstdint>
#include <string_view>

// Hex text conversion for the Head ID.
class TPDataManu {
  public:
    // Reads the first two characters of text as two upper-case hex digits
    // ('0'-'9', 'A'-'F'); the first gives the high nibble. Returns false and
    // leaves value alone when either is missing or not such a digit.
    bool HexPairToByte(std::string_view text, uint8_t& value) const;
};
