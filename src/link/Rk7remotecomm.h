#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class IPrintDataJob;

// The printer's remote mode inside the print-data stream: the "SN" setting
// tables sent before some patterns, and the printer's own nozzle check.
class TPRemoteComm {
  public:
    static constexpr size_t kTableSize = 72;

    explicit TPRemoteComm(IPrintDataJob& job);

    // Each appends to the print-data job and returns the first result other
    // than 1; the two that end with a flush send everything at once.
    uint16_t EnterRemoteMode();
    uint16_t ExitRemoteMode();
    // Entry, "SN" with the setting's table and its sum, exit, flush.
    uint16_t SendRemoteSetting(uint8_t setting);
    // Caption, entry, "NC", exit, two new lines, flush.
    uint16_t PrintNozzleCheck();

    // The 72-byte parameter table that a setting number selects (0, 2 and
    // every number above 7 select the same table).
    static const std::array<uint8_t, kTableSize>& SettingTable(uint8_t setting);
    // The 16-bit sum of a table's bytes, sent after it.
    static uint16_t TableSum(const std::array<uint8_t, kTableSize>& table);

  private:
    IPrintDataJob& job_;
};
