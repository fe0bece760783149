#pragma once

#include <string>

namespace vprinter {

// Why a folder named on a command line (--dir) cannot be the virtual
// printers' state folder, or an empty string when it can: an empty name, the
// name of something that is not a folder, a folder this process cannot read
// and change, or a folder that does not exist and cannot be made because a
// file stands where one of its parents should be. A folder that does not
// exist yet is fine: it is made, with its two printers, on first use.
std::string StateFolderProblem(const std::string& folder);

}  // namespace vprinter
