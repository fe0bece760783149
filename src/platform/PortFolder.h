#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The name of a virtual printer's folder in the state folder, for its port,
// and back. On Linux a folder is named as its port. Windows takes no ':' in a
// name, nor a device's name (LPT1, COM1, CON, PRN, AUX, NUL) as a file's:
// there ':' is written "%3A" and a device's name gets a '%' after it
// ("LPT1:" -> "LPT1%3A", "LPT1" -> "LPT1%"). No port name holds a '%', so
// the way back is plain.
std::string PortFolderName(std::string_view port);
// The port of a folder's name; nothing for a name that no port gives.
std::optional<std::string> PortOfFolderName(std::string_view folder);

// The Windows naming, on every platform (the tests check it on Linux too).
std::string WindowsPortFolderName(std::string_view port);
std::optional<std::string> PortOfWindowsFolderName(std::string_view folder);

}  // namespace orvane
