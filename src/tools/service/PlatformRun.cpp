// orvane-service on the platform's own seams.
#include <csignal>

#include "platform/ExecutableFolder.h"
#include "platform/LibraryLoader.h"
#include "platform/Random.h"
#include "tools/common/Waiting.h"
#include "tools/service/Service.h"

namespace orvane::service {

int RunService(int argc, char** argv, std::ostream& out, std::ostream& err) {
    tools::CatchInterrupts();
    SystemLibraryLoader loader;
    tools::ToolClock clock;
    StdRandom random;
    const ServiceSeams seams{.loader = loader,
                             .programFolder = ExecutableFolder(),
                             .ports = nullptr,
                             .clock = clock,
                             .random = random};
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return RunService(args, out, err, seams);
}

}  // namespace orvane::service
