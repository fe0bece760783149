#pragma once

#include <cstdint>

class TPDLLFunction;

// The CR motor drive dispersion sequence: after a repair of the carriage
// drive it registers the fixed offset of the CR motor's heat protection in
// the EEPROM. Nothing is measured; the object keeps no state between calls.
class TPHeatProtect {
  public:
    static constexpr uint8_t kOffset = 0x36;

    explicit TPHeatProtect(TPDLLFunction& link);

    // Writes 0x36 to 0x56, whatever the address held before.
    uint16_t WriteHeatProtectOffset();

  private:
    TPDLLFunction& link_;
};
