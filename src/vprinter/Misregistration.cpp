#include "vprinter/Misregistration.h"

#include <algorithm>

namespace vprinter {

namespace {

constexpr size_t kHeadAngularQuantity = 8;

// The setting of the head angular page: the program's first table.
constexpr std::array<uint8_t, kRemoteSettingBytes> kHeadAngularCheck = {
    0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xB0, 0x04, 0xBA,
    0x04, 0x1C, 0x01, 0xF4, 0x01, 0x00, 0x00, 0x00, 0x00, 0x34, 0x08, 0x68, 0x10, 0x18, 0x15,
    0xC8, 0x19, 0xE0, 0x3D, 0xCC, 0x10, 0x8C, 0x0A, 0x14, 0x05, 0x8C, 0x00, 0x0A, 0x01, 0x2C,
    0x01, 0x00, 0x00, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x03, 0x0A, 0x03, 0x0F,
    0x0F, 0x0F, 0x0F, 0x0F, 0x06, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

}  // namespace

bool IsHeadAngularCheck(const uint8_t* table) {
    return std::equal(kHeadAngularCheck.begin(), kHeadAngularCheck.end(), table);
}

std::array<int8_t, kMechanismQuantities> ValuesInForce(const Eeprom& eeprom,
                                                       const std::map<uint8_t, uint8_t>& kept,
                                                       bool tiltCheck) {
    std::array<int8_t, kMechanismQuantities> values{};
    for (size_t quantity = 0; quantity < kMechanismQuantities; ++quantity) {
        const uint8_t address = MechanismQuantities()[quantity].address;
        const auto test = kept.find(address);
        values[quantity] = static_cast<int8_t>(test != kept.end() ? test->second : eeprom[address]);
    }
    if (tiltCheck) {
        values[kHeadAngularQuantity] = 0;
    }
    return values;
}

Misregistration MisregistrationOf(const Mechanism& mechanism, const Eeprom& eeprom,
                                  const std::map<uint8_t, uint8_t>& kept, bool tiltCheck) {
    const auto inForce = ValuesInForce(eeprom, kept, tiltCheck);
    const auto off = [&](size_t quantity) {
        return mechanism.errors[quantity] - inForce[quantity];
    };
    // The file's order: Bi-D ECO, VSD1, VSD2, VSD3 by black and colour, then
    // head angular, PF black, PF colour, top margin, first dot.
    Misregistration result;
    for (size_t mode = 0; mode < 4; ++mode) {
        for (size_t ink = 0; ink < 2; ++ink) {
            result.bid[mode][ink] = off(2 * mode + ink);
        }
    }
    result.headAngular = off(kHeadAngularQuantity);
    result.pfBlack = off(9);
    result.pfColour = off(10);
    result.topMargin = off(11);
    result.firstDot = off(12);
    return result;
}

}  // namespace vprinter
