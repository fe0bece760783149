// Start-up of the program up to its painted boot window, against the smallest
// Qt Widgets program built the same way. Both run as fresh processes on the
// offscreen platform; the figure that counts is the ratio (target <= 1.2).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ExecutableFolder.h"

extern char** environ;

namespace {

// Runs a program of the output folder to its end; its run time in seconds.
double RunToEnd(const std::string& program, benchmark::State& state) {
    const std::string path = orvane::ExecutableFolder() + "/" + program;
    std::vector<char*> argv = {const_cast<char*>(path.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    // The platform's chatter on the offscreen display is not the figure.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, path.c_str(), &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) {
        state.SkipWithError(("cannot start " + path).c_str());
        return 0;
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        state.SkipWithError((program + " did not end cleanly").c_str());
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The virtual printers of the runs live in a scratch folder of their own.
void UseScratchPrinters() {
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvane-startup-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        return std::string(made != nullptr ? made : "/tmp") + "/vprinter";
    }();
    setenv("ORVANE_VPRINTER_DIR", folder.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

void BM_StartupMinimalQt(benchmark::State& state) {
    UseScratchPrinters();
    for (auto _ : state) {
        state.SetIterationTime(RunToEnd("orvane-startup-minimal", state));
    }
}
BENCHMARK(BM_StartupMinimalQt)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_StartupProgram(benchmark::State& state) {
    UseScratchPrinters();
    for (auto _ : state) {
        state.SetIterationTime(RunToEnd("orvane-startup-probe", state));
    }
}
BENCHMARK(BM_StartupProgram)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// Both, alternately, so that a busy machine weighs on both alike; the
// counter "ratio" is program / minimal.
void BM_StartupRatio(benchmark::State& state) {
    UseScratchPrinters();
    double program = 0;
    double minimal = 0;
    for (auto _ : state) {
        minimal += RunToEnd("orvane-startup-minimal", state);
        const double once = RunToEnd("orvane-startup-probe", state);
        program += once;
        state.SetIterationTime(once);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["program_ms"] = 1000 * program / runs;
    state.counters["minimal_ms"] = 1000 * minimal / runs;
    state.counters["ratio"] = minimal > 0 ? program / minimal : 0;
}
BENCHMARK(BM_StartupRatio)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
