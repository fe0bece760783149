#pragma once

#include <string>
#include <vector>

#include "support/LinkFixture.h"
#include "support/Process.h"

namespace vprinter_test {

// Runs the control tool as its own process against the state folder that
// the loaded libraries also use.
class ControlTool : public testing_support::VirtualPrinterTest {
  protected:
    testing_support::ProcessResult Tool(std::vector<std::string> args) {
        args.insert(args.begin(),
                    {testing_support::OutputFolder() + "/orvane-vprinter", "--dir", StateFolder()});
        return testing_support::RunProcess(args, StateFolder());
    }
    // Runs the tool with each set of arguments, all at the same time.
    std::vector<testing_support::ProcessResult> ToolsTogether(
        std::vector<std::vector<std::string>> runs) {
        for (auto& args : runs) {
            args.insert(args.begin(), {testing_support::OutputFolder() + "/orvane-vprinter",
                                       "--dir", StateFolder()});
        }
        return testing_support::RunProcessesTogether(runs, StateFolder());
    }
};

}  // namespace vprinter_test
