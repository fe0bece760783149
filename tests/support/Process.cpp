// What the test programs' child processes share on every platform.
#include "support/Process.h"

#include <memory>

#include "platform/ExecutableFolder.h"

namespace testing_support {

namespace {

// Enough for any of the tools on their test inputs.
constexpr size_t kBoundedMemory = size_t{2} << 30;

}  // namespace

std::string OutputFolder() {
    return orvane::ExecutableFolder();
}

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workingFolder,
                         const std::vector<std::string>& extraEnvironment) {
    return ChildProcess(argv, workingFolder, extraEnvironment).Finish();
}

ProcessResult RunProcessBounded(const std::vector<std::string>& argv,
                                const std::string& workingFolder, std::chrono::seconds limit,
                                const std::vector<std::string>& extraEnvironment) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    return ChildProcess(argv, workingFolder, extraEnvironment, kBoundedMemory).Finish(deadline);
}

std::vector<ProcessResult> RunProcessesTogether(const std::vector<std::vector<std::string>>& argvs,
                                                const std::string& workingFolder) {
    // All are started before the first is waited for; their outputs are a
    // few lines, far below what a pipe holds, so none blocks on its output
    // while another is read.
    std::vector<std::unique_ptr<ChildProcess>> children;
    children.reserve(argvs.size());
    for (const auto& argv : argvs) {
        children.push_back(std::make_unique<ChildProcess>(argv, workingFolder));
    }
    std::vector<ProcessResult> results;
    results.reserve(children.size());
    for (auto& child : children) {
        results.push_back(child->Finish());
    }
    return results;
}

}  // namespace testing_support
