#pragma once

#include <array>
#include <cstdint>

class TPRaster;

// The printer's remote mode inside the print-data stream: the "SN" setting
// tables sent before some patterns, and the printer's own nozzle check.
class TPRemoteComm {
public:
    explicit TPRemoteComm(TPRaster& raster);

    uint16_t EnterRemoteMode();
    uint16_t ExitRemoteMode();
    uint16_t SendRemoteSetting(uint8_t setting);
    uint16_t PrintNozzleCheck();

    // The 72-byte parameter table that a setting number selects.
    static const std::array<uint8_t, 72>& SettingTable(uint8_t setting);

private:
    TPRaster& raster_;
};
