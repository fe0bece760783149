// Run-length units through the print-data job into the virtual printer: the
// real libraries loaded from the output folder, a state folder of its own,
// the printers on a manual clock. Reports units and wire bytes per second,
// and how many 12 Mbit/s USB links the same wire bytes would keep busy.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "link/Dllfunction.h"
#include "link/ResultCodes.h"
#include "link/Rk7statuscontrol.h"
#include "pattern/Rk7raster.h"
#include "platform/ExecutableFolder.h"
#include "platform/LibraryLoader.h"
#include "vprinter/Host.h"

namespace {

constexpr double kUsbBytesPerSecond = 12e6 / 8;  // full-speed USB, 12 Mbit/s
constexpr char kPort[] = "VTUSB001";

// Sleeps move the printers' manual clock on; nothing sleeps for real.
class PrinterClock final : public orvane::IClock {
  public:
    void Sleep(uint32_t milliseconds) override {
        vprinter::TheHost().GetClock().Advance(milliseconds);
    }
    orvane::LocalDateTime Now() override { return {2026, 12, 7, 10, 0, 0}; }
};

void KeepPrinterSupplied() {
    vprinter::Host& host = vprinter::TheHost();
    vprinter::PrinterConfig config;
    if (host.GetStore().LoadConfig(kPort, config)) {
        config.paper = 1000000;
        config.state = 4;
        config.error = 0;
        host.GetStore().SaveConfig(kPort, config);
        host.Invalidate();
    }
}

// A paper-out box is answered by loading paper, as the technician would.
class LoadingPaperBox final : public orvane::IMessageBox {
  public:
    orvane::MessageAnswer Show(const orvane::MessageRequest&) override {
        KeepPrinterSupplied();
        return orvane::MessageAnswer::Ok;
    }
};

// One link to one virtual printer, set up once for the whole run.
struct Bench {
    Bench() {
        char pattern[] = "/tmp/orvane-raster-bench-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        folder = pattern;
        vprinter::ResetHost(folder + "/printers").GetClock().UseManual(true);
        KeepPrinterSupplied();
        if (!link.Load()) {
            std::fprintf(stderr, "the link libraries do not load from %s\n",
                         orvane::ExecutableFolder().c_str());
            std::exit(1);
        }
        link.SetD4CommandRCode(11, 84);
        if (link.PortOpenByPway(vprinter::Store::PortNumber(kPort)) != ResultOk ||
            link.CheckDeviceIDByPway() != ResultOk || link.D4Negotiation() != ResultOk) {
            std::fprintf(stderr, "the link to %s does not open\n", kPort);
            std::exit(1);
        }
    }
    ~Bench() {
        link.D4Termination();
        link.PortCloseByPway();
        link.Unload();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::string folder;
    orvane::SystemLibraryLoader loader;
    TPDLLFunction link{loader, orvane::ExecutableFolder()};
    PrinterClock clock;
    LoadingPaperBox messageBox;
    TPStatusControl status{link};
    TPRaster raster{link, status, clock, messageBox};
};

Bench& TheBench() {
    static Bench bench;
    return bench;
}

void Check(benchmark::State& state, uint16_t result) {
    if (result != ResultOk) {
        state.SkipWithError("the print-data job failed");
    }
}

void Report(benchmark::State& state, int64_t units, int64_t wireBytes) {
    state.SetItemsProcessed(units);
    state.SetBytesProcessed(wireBytes);
    state.counters["x_usb12"] = benchmark::Counter(
        static_cast<double>(wireBytes) / kUsbBytesPerSecond, benchmark::Counter::kIsRate);
}

// Bands of the solid black pattern: 90 lines of 356 bytes FF and 364 bytes
// 00 (7 units a line), framed as the pattern generators frame them; a page
// is ejected every ten bands.
void BM_SolidBlackBands(benchmark::State& state) {
    TPRaster& raster = TheBench().raster;
    constexpr int kLines = 90;
    constexpr int kUnitsPerBand = kLines * 7;
    // Colour mode 7, resolution 9, raster header 9, units, CR 3, unit 6, move 7.
    constexpr int kWirePerBand = 7 + 9 + 9 + 2 * kUnitsPerBand + 3 + 6 + 7;
    Check(state, raster.SendInitialize());
    Check(state, raster.SendGraphicsMode());
    int64_t units = 0;
    int64_t wire = 0;
    int bands = 0;
    for (auto _ : state) {
        uint16_t result = raster.SendColorMode(1);
        if (result == ResultOk)
            result = raster.SendResolution(0x68, 0x01, 0x03, 0x01);
        if (result == ResultOk)
            result = raster.SendRasterHeader(0, 1, 2, 720, kLines);
        for (int line = 0; line < kLines && result == ResultOk; ++line) {
            result = raster.SendRun(356, 0xFF);
            if (result == ResultOk)
                result = raster.SendRun(364, 0x00);
        }
        if (result == ResultOk)
            result = raster.SendCarriageReturn();
        if (result == ResultOk)
            result = raster.SendUnit(10);
        if (result == ResultOk)
            result = raster.MoveVertical(90);
        if (result == ResultOk && ++bands % 10 == 0) {
            result = raster.EjectPage();
            wire += 1;
        }
        Check(state, result);
        units += kUnitsPerBand;
        wire += kWirePerBand;
    }
    Check(state, raster.SendInitialize());
    Check(state, raster.EjectPage());
    Report(state, units, wire);
}
BENCHMARK(BM_SolidBlackBands);

// Plain runs of a given length, one SendRun a call, as the zero gaps between
// bands go out (22319 copies: 186 units).
void BM_SendRun(benchmark::State& state) {
    TPRaster& raster = TheBench().raster;
    const int count = static_cast<int>(state.range(0));
    const int64_t unitsPerRun = (count + 119) / 120;
    int64_t units = 0;
    for (auto _ : state) {
        Check(state, raster.SendRun(count, 0x00));
        units += unitsPerRun;
    }
    Check(state, raster.Flush());
    Report(state, units, 2 * units);
}
BENCHMARK(BM_SendRun)->Arg(1)->Arg(356)->Arg(22319);

}  // namespace

BENCHMARK_MAIN();
