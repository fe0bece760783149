#include "adjust/Rk7maintenance.h"

#include <array>

#include "eeprom/EepromMap.h"
#include "link/Dllfunction.h"
#include "link/ResultCodes.h"

namespace {

constexpr std::array<uint8_t, TPMaintenance::kResetWrites> kResetAddresses = {
    eeprom::WasteCounterLow, eeprom::WasteCounterHigh, eeprom::WasteLimitA, eeprom::WasteLimitB,
    eeprom::WasteLimitC};

}  // namespace

uint16_t TPMaintenance::ResetWasteInkCounter() {
    const TPDLLFunction::ServiceOperation operation(link_, servicelog::WasteReset);
    for (const uint8_t address : kResetAddresses) {
        const uint16_t result = link_.D4WriteEeprom(address, 0);
        if (result != ResultOk) {
            return result;
        }
    }
    return ResultOk;
}
