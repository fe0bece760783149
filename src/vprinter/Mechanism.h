#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vprinter {

// One quantity of a printer's mechanism: how far the mechanism is off, in
// steps of the EEPROM adjustment value that corrects it (a signed byte). The
// printer prints right when that stored value equals the error.
struct MechanismQuantity {
    const char* name;  // as the control tool and mechanism.conf spell it
    uint8_t address;   // EEPROM address of the correcting adjustment value
    // What `mechanism PORT random` draws from: low, low + step, ... high,
    // values that the adjustment pages print and can set.
    int low;
    int high;
    int step;
};

inline constexpr size_t kMechanismQuantities = 13;

// Bi-D ECO, VSD1, VSD2, VSD3 by black and colour, head angular, PF black and
// colour, top margin, first dot: the file's and the tool's order.
const std::array<MechanismQuantity, kMechanismQuantities>& MechanismQuantities();
// The index of a quantity by its name; -1 for no quantity.
int MechanismIndex(const std::string& name);

// The hidden mechanism of one printer. It belongs to the printer, not to its
// main board: a new board keeps it.
struct Mechanism {
    std::array<int8_t, kMechanismQuantities> errors{};  // in MechanismQuantities() order
    bool hidden = false;  // the tool does not show the errors (a trainee finds them)

    // The error that the adjustment value at an EEPROM address corrects; 0
    // for an address that corrects none.
    int8_t ErrorAt(uint8_t address) const;
    bool operator==(const Mechanism&) const = default;
};

std::string FormatMechanism(const Mechanism& mechanism);
// Strict, as the file is a user's data that must not be misread: false, with
// the line that is wrong, for a line that is not NAME=VALUE of a known name, a
// value that is no signed byte, or a name given twice. Names left out are 0.
bool ParseMechanism(const std::string& text, Mechanism& mechanism, std::string& problem);
// A set of errors that the adjustment pages can correct, the same for the
// same seed wherever it is drawn; not hidden.
Mechanism RandomMechanism(uint32_t seed);

}  // namespace vprinter
