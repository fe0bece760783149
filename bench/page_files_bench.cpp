// Saving page pictures into a pages folder that holds many already: the time
// per page must not grow with the pictures there (the next number is kept,
// not found by listing the folder).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "vprinter/Page.h"
#include "vprinter/PageFiles.h"

namespace {

namespace fs = std::filesystem;

void BM_SavePage(benchmark::State& state) {
    const fs::path folder =
        fs::temp_directory_path() / ("orvane-page-bench-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    // Pictures printed before: only their names count.
    for (int64_t n = 1; n <= state.range(0); ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "page-%04lld.png", static_cast<long long>(n));
        std::ofstream(folder / name).put('x');
    }
    vprinter::Page page(16);
    std::string error;
    for (auto _ : state) {
        if (!vprinter::SavePage(folder.string(), page, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    state.counters["pages/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    fs::remove_all(folder);
}
BENCHMARK(BM_SavePage)->Arg(0)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
