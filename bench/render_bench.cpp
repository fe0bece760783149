// One A4 page inked all over, black and the three colours in every band,
// read by a printer's print engine and saved as its picture: the time and
// the memory a page costs, with a perfect mechanism and with one that is
// off in every quantity (the costliest placement). The targets: at most
// 0.5 s and 64 MiB a page.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "vprinter/PageFiles.h"
#include "vprinter/PrintEngine.h"

namespace {

namespace fs = std::filesystem;

// Byte by byte: GCC 12 at -O3 takes a vector insert of the list for an
// overflow (-Wstringop-overflow) and fails the release build.
void Add(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes) {
    for (const uint8_t byte : bytes) {
        out.push_back(byte);
    }
}

// A raster block of lines x 720 bytes of 0xFF, in units of 128 and 80 copies.
void SolidBlock(std::vector<uint8_t>& out, uint8_t colour, uint8_t lines) {
    Add(out, {0x1B, 'i', colour, 1, 2, 0xD0, 0x02, lines, 0x00});
    for (int line = 0; line < lines; ++line) {
        for (int unit = 0; unit < 5; ++unit) {
            Add(out, {0x81, 0xFF});
        }
        Add(out, {0xB1, 0xFF});
    }
    Add(out, {0x0D});
}

// Fifteen bands of 270 rows, each in three passes on the way back at dot
// size VSD1: the whole black nozzle row, then the whole colour row.
std::vector<uint8_t> FullPage() {
    std::vector<uint8_t> page;
    Add(page, {0x1B, '@', 0x1B, '(', 'G', 1, 0, 1, 0x1B, '(', 'U', 1, 0, 10});
    Add(page, {0x1B, '(', 'D', 4, 0, 0x68, 0x01, 3, 1, 0x1B, '(', 'e', 2, 0, 0, 16});
    Add(page, {0x1B, 'U', 0});
    for (int band = 0; band < 15; ++band) {
        for (int pass = 0; pass < 3; ++pass) {  // the passes fill the 1/120-inch pitch
            Add(page, {0x1B, '(', 'K', 2, 0, 0, 1});
            SolidBlock(page, 0, 90);
            Add(page, {0x1B, '(', 'K', 2, 0, 0, 2});
            for (const uint8_t colour : {2, 1, 4}) {
                SolidBlock(page, colour, 29);
            }
            Add(page, {0x1B, '(', 'v', 2, 0, 1, 0});
        }
        Add(page, {0x1B, '(', 'v', 2, 0, 0x0B, 0x01});  // 267 rows: a band in all
    }
    Add(page, {0x0C});
    return page;
}

class Saver final : public vprinter::PrintEngine::Owner {
  public:
    explicit Saver(std::string folder) : folder_(std::move(folder)) {}
    void Fault(uint64_t, const std::string&) override {}
    void Packet(uint64_t, const vprinter::PacketCommand&) override {}
    void PagePrinted(vprinter::Page& page) override {
        std::string error;
        saved_ = vprinter::SavePage(folder_, page, error);
        inkedRows_ = 0;
        for (int64_t row = 0; row < page.Rows(); ++row) {
            inkedRows_ += page.Row(row) != nullptr;
        }
    }
    bool Saved() const { return saved_; }
    int64_t InkedRows() const { return inkedRows_; }

  private:
    std::string folder_;
    bool saved_ = false;
    int64_t inkedRows_ = 0;
};

double PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

void BM_FullA4Page(benchmark::State& state) {
    const fs::path folder =
        fs::temp_directory_path() / ("orvane-render-bench-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::vector<uint8_t> data = FullPage();
    vprinter::Misregistration off;
    if (state.range(0) != 0) {
        for (auto& mode : off.bid) {
            mode = {2, -2};
        }
        off.headAngular = 3;
        off.pfBlack = 4;
        off.pfColour = -4;
        off.topMargin = 40;
        off.firstDot = 30;
    }
    Saver saver(folder.string());
    for (auto _ : state) {
        vprinter::PrintEngine engine;
        engine.SetMisregistration(off);
        engine.Feed(data.data(), data.size(), saver);
        if (!saver.Saved()) {
            state.SkipWithError("the page's picture was not saved");
            break;
        }
    }
    state.counters["inked_rows"] = static_cast<double>(saver.InkedRows());
    state.counters["peak_MiB"] = PeakMiB();
    fs::remove_all(folder);
}
BENCHMARK(BM_FullA4Page)->ArgName("misregistered")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
