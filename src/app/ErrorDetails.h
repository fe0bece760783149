#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

namespace orvane_app {

// Where the reporting of a family code finds the detail of the failure: a
// module that refuses an input keeps the index or item of the failed check,
// and plugs a reader of that field in here for its family code (0x5000 Head
// ID, 0x7000 Bi-D, 0x8000 USB ID, 0xD000 head angular, 0xF040 EEPROM file).
// The field is read at the moment the code is reported.
class ErrorDetails {
  public:
    using Reader = std::function<int()>;

    // Replaces any reader plugged in before for the same code.
    void Plug(uint16_t familyCode, Reader reader);
    // The present detail of the family, or nothing when no module has
    // plugged in for it.
    std::optional<int> Read(uint16_t familyCode) const;

  private:
    std::map<uint16_t, Reader> readers_;
};

}  // namespace orvane_app
