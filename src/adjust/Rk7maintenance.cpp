#include "adjust/Rk7maintenance.h"

#include "eeprom/EepromMap.h"
#include "link/Dllfunction.h"
#include "link/ResultCodes.h"

uint16_t TPMaintenance::ResetWasteInkCounter() {
    const TPDLLFunction::ServiceOperation operation(link_, servicelog::WasteReset);
    for (const uint8_t address : {eeprom::WasteCounterLow, eeprom::WasteCounterHigh,
                                  eeprom::WasteLimitA, eeprom::WasteLimitB, eeprom::WasteLimitC}) {
        const uint16_t result = link_.D4WriteEeprom(address, 0);
        if (result != ResultOk) {
            return result;
        }
    }
    return ResultOk;
}
