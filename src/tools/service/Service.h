#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/service/Session.h"

namespace orvane::service {

// orvane-service: the service functions of the adjustment window without
// windows. args are the command line without the program's name. Results go
// to out (one JSON object per command with --json), progress and errors to
// err. Returns the exit code: 0 done, 1 the printer or the link failed,
// 2 bad usage, 3 an input refused by a check (nothing sent).
int RunService(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const ServiceSeams& seams);

// The same on the platform's own seams: the link libraries of the
// executable's folder, the system clock (or, with ORVANE_MANUAL_CLOCK=1, the
// tool clock that never sleeps), the virtual printers' port list.
int RunService(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace orvane::service
