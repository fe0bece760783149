#pragma once

#include <cstdint>

// The EEPROM module: market setting, backup and restore of the board data.
// Its one field is the error index that names a failed backup-file step.
class TPEeprom {
public:
    // Error index values (result ResultEepromFileError).
    static constexpr int16_t ErrorCannotCreateFile = 2;
    static constexpr int16_t ErrorCannotReadFile = 3;

    int16_t ErrorIndex() const { return errorIndex_; }

private:
    int16_t errorIndex_ = 0;
};
