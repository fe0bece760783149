#include "eeprom/WasteInkCounter.h"

#include <algorithm>
#include <array>

#include "eeprom/EepromMap.h"
#include "link/Dllfunction.h"
#include "link/ResultCodes.h"

WasteInkCounter::WasteInkCounter(TPDLLFunction& link) : link_(link) {}

uint16_t WasteInkCounter::MaximumCount(uint8_t a, uint8_t b, uint8_t c) {
    // Worked out wide and signed: many used pads (large B, C) must give the
    // lowest maximum, never wrap round to the highest.
    const long base = a <= 50 ? 12500L + 500L * a : 15000L + 200L * a;
    const long maximum = base - 200L * b - 350L * c;
    return static_cast<uint16_t>(std::clamp<long>(maximum, kMinimumMaximum, kMaximumMaximum));
}

uint16_t WasteInkCounter::ReadPresentCount(uint16_t& count) {
    uint8_t low = 0;
    uint16_t result = link_.D4ReadEeprom(eeprom::WasteCounterLow, low);
    if (result != ResultOk) {
        return result;
    }
    uint8_t high = 0;
    result = link_.D4ReadEeprom(eeprom::WasteCounterHigh, high);
    if (result != ResultOk) {
        return result;
    }
    count = static_cast<uint16_t>(high * 256 + low);
    return ResultOk;
}

uint16_t WasteInkCounter::ComputeMaximumCount(uint16_t& maximum) {
    std::array<uint8_t, 3> usage{};
    const std::array<uint8_t, 3> addresses = {eeprom::WasteLimitA, eeprom::WasteLimitB,
                                              eeprom::WasteLimitC};
    for (size_t i = 0; i < usage.size(); ++i) {
        const uint16_t result = link_.D4ReadEeprom(addresses[i], usage[i]);
        if (result != ResultOk) {
            return result;
        }
    }
    maximum = MaximumCount(usage[0], usage[1], usage[2]);
    return ResultOk;
}

uint16_t WasteInkCounter::ReadWasteInkCounter(std::string& maximumText, std::string& presentText,
                                              std::string& rateText) {
    uint16_t present = 0;
    uint16_t result = ReadPresentCount(present);
    if (result != ResultOk) {
        return result;
    }
    uint16_t maximum = 0;
    result = ComputeMaximumCount(maximum);
    if (result != ResultOk) {
        return result;
    }
    const unsigned rate = present * 100u / maximum;
    maximumText = std::to_string(maximum);
    presentText = std::to_string(present);
    rateText = std::to_string(rate) + " %";
    return ResultOk;
}
