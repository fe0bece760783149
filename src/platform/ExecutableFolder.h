#pragma once

#include <string>

namespace orvane {

// The folder that holds the running program's own executable, without a
// trailing separator. Empty when the path cannot be found.
std::string ExecutableFolder();

// Cuts a full file path at its last separator: "/opt/x/prog" -> "/opt/x".
std::string FolderOfPath(const std::string& path);

}  // namespace orvane
