// `orvane-service log --json` on a large service log: the listing's time, and
// how far the process's peak memory grew while it ran. The growth must not
// follow the log's size: the records are read and written one by one.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>
#include <string>

#include "platform/Clock.h"
#include "platform/LibraryLoader.h"
#include "platform/PortList.h"
#include "platform/Random.h"
#include "platform/ServiceLogFile.h"
#include "tools/service/Service.h"

namespace {

namespace fs = std::filesystem;

// Counts what the listing writes and keeps none of it.
class CountingBuffer final : public std::streambuf {
  public:
    uint64_t written = 0;

  protected:
    int overflow(int c) override {
        ++written;
        return c;
    }
    std::streamsize xsputn(const char*, std::streamsize count) override {
        written += static_cast<uint64_t>(count);
        return count;
    }
};

double PeakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A log of count records of the writes a day of adjustments makes.
void WriteLog(const fs::path& path, int64_t count) {
    std::ofstream file(path, std::ios::binary);
    orvane::ServiceLogRecord record{.time = "2026-12-07T10:00:00+01:00",
                                    .port = "VTUSB001",
                                    .model = "Orvane K31",
                                    .usbId = "ABCDEFGHIJ123456",
                                    .operation = "bid",
                                    .target = "bid-vsd1-black",
                                    .value = "-3",
                                    .result = "ok"};
    for (int64_t n = 0; n < count; ++n) {
        record.value = std::to_string(n % 255 - 127);
        file << orvane::ServiceLogFile::FormatLine(record) << '\n';
    }
}

void BM_ListServiceLog(benchmark::State& state) {
    const fs::path folder =
        fs::temp_directory_path() / ("orvane-log-bench-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path log = folder / "service.log";
    WriteLog(log, state.range(0));
    orvane::SystemLibraryLoader loader;
    orvane::SystemClock clock;
    orvane::StdRandom random;
    orvane::VirtualPrinterPortList ports(folder.string());
    const orvane::service::ServiceSeams seams{.loader = loader,
                                              .programFolder = folder.string(),
                                              .ports = &ports,
                                              .clock = clock,
                                              .random = random,
                                              .serviceLogPath = log.string()};
    const double before = PeakRssMegabytes();
    uint64_t written = 0;
    for (auto _ : state) {
        CountingBuffer buffer;
        std::ostream out(&buffer);
        std::ostream err(&buffer);
        if (orvane::service::RunService({"--json", "log"}, out, err, seams) != 0) {
            state.SkipWithError("the listing failed");
            break;
        }
        written = buffer.written;
    }
    state.counters["log_MB"] = static_cast<double>(fs::file_size(log)) / (1024.0 * 1024.0);
    state.counters["json_MB"] = static_cast<double>(written) / (1024.0 * 1024.0);
    state.counters["peak_rss_growth_MB"] = PeakRssMegabytes() - before;
    fs::remove_all(folder);
}
// The smaller log first: the peak of the process only grows.
BENCHMARK(BM_ListServiceLog)->Arg(50000)->Arg(500000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
