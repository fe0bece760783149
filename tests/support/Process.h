#pragma once

#include <string>
#include <vector>

namespace testing_support {

struct ProcessResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs a program with arguments in a working folder and waits for it.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workingFolder,
                         const std::vector<std::string>& extraEnvironment = {});

// Starts all the programs at once, in a working folder, and waits for every
// one of them; results in the order of argvs.
std::vector<ProcessResult> RunProcessesTogether(const std::vector<std::vector<std::string>>& argvs,
                                                const std::string& workingFolder);

// The folder of the test executable: the program, the libraries and the
// control tool are built into it.
std::string OutputFolder();

}  // namespace testing_support
