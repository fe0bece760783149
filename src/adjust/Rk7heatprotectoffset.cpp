#include "adjust/Rk7heatprotectoffset.h"

#include "eeprom/EepromMap.h"
#include "link/Dllfunction.h"

TPHeatProtect::TPHeatProtect(TPDLLFunction& link) : link_(link) {}

uint16_t TPHeatProtect::WriteHeatProtectOffset() {
    const TPDLLFunction::ServiceOperation operation(link_, servicelog::CrHeatProtect);
    return link_.D4WriteEeprom(eeprom::HeatProtectOffset, kOffset);
}
