#pragma once

#include <cstdint>

namespace orvane::tools {

class Session;

// The last line of a run that did not end well, on stderr: the wait for
// paper given up, Ctrl-C, or the item's failure with its result code and what
// the code means, in the adjustment window's words.
void ReportEnding(Session& session, const char* item, uint16_t result);

}  // namespace orvane::tools
