// The page reader on a page as a scanner gives it: the virtual printer's
// picture of the photo-paper sheet's first page, brought to 600 dpi, softened
// and saved as a JPEG of quality 85, read from its file (decoding included).
// The target: at most 1 s a page.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

#include "reader/PageReading.h"

namespace {

namespace fs = std::filesystem;

std::string ScannedPage() {
    const cv::Mat page =
        cv::imread(std::string(ORVANE_GOLDEN_DIR) + "/PhotoPaperSheet1.png", cv::IMREAD_COLOR);
    cv::Mat scanned;
    cv::resize(page, scanned, cv::Size(), 600.0 / 360.0, 600.0 / 360.0, cv::INTER_LINEAR);
    cv::GaussianBlur(scanned, scanned, cv::Size(), 1.0);
    const std::string path =
        (fs::temp_directory_path() / ("orvane-read-bench-" + std::to_string(getpid()) + ".jpg"))
            .string();
    cv::imwrite(path, scanned, {cv::IMWRITE_JPEG_QUALITY, 85});
    return path;
}

void BM_ReadScannedA4Page(benchmark::State& state) {
    const std::string path = ScannedPage();
    size_t readings = 0;
    for (auto _ : state) {
        const reader::PageReading page = reader::ReadPageFile(path, 600);
        readings = page.readings.size();
        benchmark::DoNotOptimize(readings);
    }
    state.counters["readings"] = static_cast<double>(readings);
    std::error_code ignored;
    fs::remove(path, ignored);
}
BENCHMARK(BM_ReadScannedA4Page)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
