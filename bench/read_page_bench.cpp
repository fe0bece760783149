// The page reader on a page as a scanner gives it: the virtual printer's
// picture of the photo-paper sheet's first page, scanned at 600 dpi (and at
// 1200 dpi, without the resolution stated) on a dark lid, turned by 1.5
// degrees, softened, noisy and saved as a JPEG of quality 85, read from its
// file (decoding, finding the sheet and straightening it included). The
// target: at most 1 s a page at 600 dpi.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <opencv2/imgcodecs.hpp>
#include <string>

#include "reader/PageReading.h"
#include "support/SimulatedScan.h"

namespace {

namespace fs = std::filesystem;

std::string ScannedPage(int dpi) {
    const cv::Mat page =
        cv::imread(std::string(ORVANE_GOLDEN_DIR) + "/PhotoPaperSheet1.png", cv::IMREAD_COLOR);
    auto settings = scan_testing::RandomScanSettings(dpi, 1);
    settings.degrees = 1.5;
    const std::vector<uint8_t> scanned = scan_testing::ScanFile(page, settings);
    const std::string path =
        (fs::temp_directory_path() / ("orvane-read-bench-" + std::to_string(getpid()) + ".jpg"))
            .string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(scanned.data()),
               static_cast<std::streamsize>(scanned.size()));
    return path;
}

void BM_ReadScannedA4Page(benchmark::State& state) {
    const auto dpi = static_cast<int>(state.range(0));
    const std::string path = ScannedPage(dpi);
    size_t readings = 0;
    for (auto _ : state) {
        const reader::PageReading page = reader::ReadPageFile(path, dpi == 600 ? 600 : 0);
        readings = page.readings.size();
        benchmark::DoNotOptimize(readings);
    }
    state.counters["readings"] = static_cast<double>(readings);
    std::error_code ignored;
    fs::remove(path, ignored);
}
BENCHMARK(BM_ReadScannedA4Page)->Arg(600)->Arg(1200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
