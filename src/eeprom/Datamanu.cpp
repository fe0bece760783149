#include "eeprom/Datamanu.h"

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

bool TPDataManu::HexPairToByte(std::string_view text, uint8_t& value) const {
    if (text.size() < 2) {
        return false;
    }
    const int high = HexDigitValue(text[0]);
    const int low = HexDigitValue(text[1]);
    if (high < 0 || low < 0) {
        return false;
    }
    value = static_cast<uint8_t>(high * 16 + low);
    return true;
}
