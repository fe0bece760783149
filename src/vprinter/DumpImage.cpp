#include "vprinter/DumpImage.h"

#include <cstdio>
#include <string_view>

namespace vprinter {

namespace {

constexpr std::string_view kFiller = "Memory image txt";

std::string AtAddress(const char* what, size_t address) {
    char text[80];
    std::snprintf(text, sizeof text, "%s at address 0x%02zX", what, address);
    return text;
}

}  // namespace

bool DecodeDumpImage(std::span<const uint8_t> data, Eeprom& eeprom, std::string& reason) {
    if (data.size() != kDumpImageSize) {
        reason = "a dump is " + std::to_string(kDumpImageSize) + " bytes, this is " +
                 std::to_string(data.size());
        return false;
    }
    const auto plain = [&data](size_t k) { return static_cast<uint8_t>(data[k] - 7 * k - 3); };
    Eeprom decoded{};
    for (size_t address = 0; address < decoded.size(); ++address) {
        const size_t k = 4 * address;
        if (plain(k + 3) != static_cast<uint8_t>(kFiller[address % kFiller.size()])) {
            reason = AtAddress("not an EEPROM dump: wrong filler text", address);
            return false;
        }
        const uint8_t high = plain(k + 1);
        const uint8_t low = plain(k + 2);
        if (high > 0x0F || (low & 0x0F) != 0) {
            reason = AtAddress("not an EEPROM dump: bad nibble bytes", address);
            return false;
        }
        decoded[address] = static_cast<uint8_t>((high << 4) | (low >> 4));
    }
    eeprom = decoded;
    return true;
}

}  // namespace vprinter
