#pragma once

#ifndef _WIN32
#include <sys/types.h>
#endif

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

struct ProcessResult {
    int exitCode = -1;  // -1 when it did not exit normally
    bool timedOut = false;  // it was ended for running past its time
    std::string out;
    std::string err;
};

// A program started with arguments in a working folder, its stdout and
// stderr gathered while the test talks to it.
class ChildProcess {
  public:
    // memoryLimit, when not 0, bounds the program's address space (not in a
    // sanitizer's build, whose shadow memory needs far more).
    ChildProcess(const std::vector<std::string>& argv, const std::string& workingFolder,
                 const std::vector<std::string>& extraEnvironment = {}, size_t memoryLimit = 0);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads its output until stderr holds text; false when it ended first.
    bool WaitForErr(const std::string& text);
    // POSIX only: Windows has no signal to send one process (a test that
    // needs it is Linux-only).
    void Signal(int signal);
    // Reads the rest of its output and waits for it to end; past the
    // deadline, when there is one, it is killed (timedOut).
    ProcessResult Finish(std::optional<std::chrono::steady_clock::time_point> deadline = {});

  private:
#ifdef _WIN32
    // A thread a stream reads it into result_ (Windows' pipes cannot be
    // polled).
    void Gather(void* pipe, std::string ProcessResult::*sink);

    void* process_ = nullptr;
    std::thread readers_[2];
    std::mutex mutex_;
    std::condition_variable changed_;
    int open_ = 0;  // streams not ended yet
#else
    // Reads what one poll brings, waiting at most timeout (-1: no bound);
    // false when both streams have ended.
    bool ReadSome(int timeoutMilliseconds = -1);

    pid_t child_ = -1;
    int fds_[2] = {-1, -1};
#endif
    ProcessResult result_;
};

// The name of a program file of the build: "orvane-vprinter" ->
// "orvane-vprinter.exe" on Windows.
std::string ProgramFile(const std::string& name);

// Runs a program with arguments in a working folder and waits for it.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workingFolder,
                         const std::vector<std::string>& extraEnvironment = {});

// Runs a program as RunProcess does, for a test of something that could make
// it wait or read for ever: it is killed after limit (a bound that a passing
// run never comes near, not a wait), and its memory is bounded.
ProcessResult RunProcessBounded(const std::vector<std::string>& argv,
                                const std::string& workingFolder, std::chrono::seconds limit,
                                const std::vector<std::string>& extraEnvironment = {});

// Starts all the programs at once, in a working folder, and waits for every
// one of them; results in the order of argvs.
std::vector<ProcessResult> RunProcessesTogether(const std::vector<std::vector<std::string>>& argvs,
                                                const std::string& workingFolder);

// The folder of the test executable: the program, the libraries and the
// control tool are built into it.
std::string OutputFolder();

}  // namespace testing_support
