#pragma once

#include <memory>
#include <string>

#include "platform/PortList.h"
#include "tools/service/Session.h"

namespace orvane::service {

// --dir checked as the other tools check it: an empty name, a file, or a
// folder that cannot be used or made is bad usage (exit 2), said in their
// words. A folder that does not exist yet is fine.
Outcome CheckStateFolder(const std::string& folder);

// The ports of the virtual printers in folder (empty: the default state
// folder), and on Windows the print spooler's printer ports (PrinterPortList).
// Its first listing makes a state folder that is not there yet, with its two
// printers, as the other tools make it.
std::unique_ptr<IPortList> StateFolderPorts(const std::string& folder);

}  // namespace orvane::service
