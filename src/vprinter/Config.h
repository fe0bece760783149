#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vprinter {

using Eeprom = std::array<uint8_t, 256>;

// Everything the virtual printer keeps of one printer besides its EEPROM, as
// it is stored in the printer's printer.conf (key=value lines).
struct PrinterConfig {
    std::string model = "Orvane K31";
    bool supported = true;  // false: the device-ID check answers 0x1001
    bool powered = true;
    uint8_t state = 4;  // the state when no activity runs: 4 ready, 0 error, 8 before ink charge...
    uint8_t error = 0;  // error code reported with state 0
    std::array<int16_t, 4> ink = {80, 80, 80, 80};  // black, cyan, magenta, yellow
    int paper = 100;                                // sheets in the tray
    int busyPolls = 0;                              // the next N status inquiries answer "busy"
    int busySends = 0;                              // the next N data sends are refused as busy
    std::map<uint8_t, uint16_t> readFaults;         // EEPROM address -> result code
    std::map<uint8_t, uint16_t> writeFaults;        // EEPROM address -> result code
};

// A call of a library function that fails on purpose.
struct CallFault {
    int remaining = 1;  // the call that brings this to 0 fails
    uint16_t code = 0;
    std::optional<int32_t> detail;  // I/O error or channel error left behind
};

// Faults of the libraries themselves, kept in library.conf of the state folder.
struct LibraryConfig {
    std::set<std::string> missingExports;
    std::map<std::string, CallFault> callFaults;  // by function name
};

std::string FormatPrinterConfig(const PrinterConfig& config);
// Unknown keys and unreadable values are skipped; what was read is kept.
PrinterConfig ParsePrinterConfig(const std::string& text);
std::string FormatLibraryConfig(const LibraryConfig& config);
LibraryConfig ParseLibraryConfig(const std::string& text);

// Names of the exported functions, port library first.
const std::vector<std::string>& PortFunctionNames();
const std::vector<std::string>& ChannelFunctionNames();
bool IsLibraryFunction(const std::string& name);

// Reads "123", "-5" or "0x4E41"; false when the text is not such a number.
bool ParseNumber(const std::string& text, long long& value);

}  // namespace vprinter
