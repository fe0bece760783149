#pragma once

#include <cstddef>
#include <cstdint>

#include "eeprom/WasteInkCounter.h"

// The waste ink pad counter of the maintenance page: what the counter reads
// (the present count, the maximum and the usage rate), and the reset after
// the pad has been replaced.
class TPMaintenance : public WasteInkCounter {
  public:
    using WasteInkCounter::WasteInkCounter;

    // Writes 0 to 0x0D, 0x0C, 0x2B, 0x3E, 0x3F in this order; bytes written
    // before a failure stay zeroed.
    uint16_t ResetWasteInkCounter();
    static constexpr size_t kResetWrites = 5;
};
