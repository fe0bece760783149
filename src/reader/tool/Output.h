#pragma once

#include <string>

#include "reader/PageReading.h"

namespace reader {

// The readings as lines "NAME: VALUE" or "NAME: not sure".
std::string ReadingLines(const PageReading& page);
// {"page": KIND, "readings": [{"name", "value"[, "best", "step"], "sure"[, "note",
// "direction", "next"]}, ...]}.
std::string ReadingJson(const PageReading& page);
// 0 every reading sure, 1 one is not, 2 no page read.
int ExitCode(const PageReading& page);

}  // namespace reader
