// orvane-service on the platform's own seams.
#include <csignal>

#include "platform/CommandLine.h"
#include "platform/ExecutableFolder.h"
#include "platform/LibraryLoader.h"
#include "platform/Random.h"
#include "tools/common/Waiting.h"
#include "tools/service/Service.h"

namespace orvane::service {

int RunService(int argc, char** argv, std::ostream& out, std::ostream& err) {
    tools::CatchInterrupts();
    UseUtf8Console();
    SystemLibraryLoader loader;
    tools::ToolClock clock;
    StdRandom random;
    const ServiceSeams seams{.loader = loader,
                             .programFolder = ExecutableFolder(),
                             .ports = nullptr,
                             .clock = clock,
                             .random = random};
    return RunService(Utf8Arguments(argc, argv).WithoutProgram(), out, err, seams);
}

}  // namespace orvane::service
