#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

// True for the names the boot window lists: those that begin with "USB",
// "VTUSB" or "LPT" (exact case).
bool IsPrinterPortName(const std::string& name);

// The printer ports the boot window offers: of all the system's ports those
// whose names begin with "USB", "VTUSB" or "LPT" (exact case), in the order
// of the sorted list control.
std::vector<std::string> PrinterPorts(const std::vector<std::string>& systemPorts);

// How the port number of a listed port came out.
enum class PortNumberStatus {
    Ok,           // number holds the port number
    NotANumber,   // the rest of the name is no decimal number, or too large for a port number
    BeyondTable,  // the port lies past the last entry of the table of port numbers
};

struct PortNumberResult {
    PortNumberStatus status = PortNumberStatus::Ok;
    uint16_t number = 0;
};

// The table of port numbers has one entry for each of the first 140 listed
// ports.
inline constexpr int kPortTableSize = 140;

// The port number of a port's name. A name that holds "USB" anywhere (also
// "VTUSB", "LPTUSB") gives the number after its first "USB" + 1024, else one
// that holds "LPT" the number after its first "LPT" + 1151, in both cases
// with the first ":" of the rest removed: USB001 is 1025, VTUSB002 1026,
// LPT1: 1152. A name with neither gives 0 (Ok). NotANumber when the rest is
// no decimal number or the sum does not fit in 16 bits. The one rule of the
// program and the virtual printers.
PortNumberResult PortNumberOfName(const std::string& name);

// The port number of the entry at index of the listed ports, by
// PortNumberOfName. Only the chosen entry is derived, so that one odd name in
// the list does not make every other port unusable.
PortNumberResult DerivePortNumber(const std::vector<std::string>& listedPorts, int index);

}  // namespace orvane
