#include "vprinter/Misregistration.h"

namespace vprinter {

std::array<int8_t, kMechanismQuantities> ValuesInForce(const Eeprom& eeprom,
                                                       const std::map<uint8_t, uint8_t>& kept) {
    std::array<int8_t, kMechanismQuantities> values{};
    for (size_t quantity = 0; quantity < kMechanismQuantities; ++quantity) {
        const uint8_t address = MechanismQuantities()[quantity].address;
        const auto test = kept.find(address);
        values[quantity] = static_cast<int8_t>(test != kept.end() ? test->second : eeprom[address]);
    }
    return values;
}

Misregistration MisregistrationOf(const Mechanism& mechanism, const Eeprom& eeprom,
                                  const std::map<uint8_t, uint8_t>& kept) {
    const auto inForce = ValuesInForce(eeprom, kept);
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
    result.headAngular = off(8);
    result.pfBlack = off(9);
    result.pfColour = off(10);
    result.topMargin = off(11);
    result.firstDot = off(12);
    return result;
}

}  // namespace vprinter
