// Each pattern generator into a counting channel: the bytes on the wire, the
// SendDataChannel calls, the heap allocations while the pattern is made, and
// how fast it is made. The channel accepts everything at once and the printer
// is always ready, so the figures are those of the program alone.
#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <string>

#include "AllocationCount.h"
#include "link/Dllfunction.h"
#include "link/ResultCodes.h"
#include "link/Rk7factory.h"
#include "link/Rk7statuscontrol.h"
#include "link/StatusReporter.h"
#include "pattern/Rk7pattern.h"
#include "pattern/Rk7raster.h"
#include "platform/Clock.h"
#include "platform/LibraryLoader.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"

namespace {

// ---------------------------------------------------------------------------
// The counting channel: a library loader whose channel library counts what
// it is sent and whose printer is always ready.

constexpr double kUsbBytesPerSecond = 12e6 / 8;

struct ChannelCount {
    uint64_t calls = 0;
    uint64_t fullCalls = 0;  // calls that carried a full 1000-byte buffer
    uint64_t bytes = 0;
};
ChannelCount channel;

extern "C" uint16_t CountingSend(const uint8_t*, uint32_t length, void*) {
    ++channel.calls;
    channel.fullCalls += length == 1000;
    channel.bytes += length;
    return ResultOk;
}
extern "C" uint16_t ReadZero(uint8_t, uint8_t* value, void*) {
    *value = 0;
    return ResultOk;
}
extern "C" uint16_t AlwaysReady(uint8_t* record, void*) {
    std::memset(record, 0, PrinterStatus::kLibrarySize);
    record[0] = PrinterStatus::StateReady;
    return ResultOk;
}

class CountingLoader final : public orvane::ILibraryLoader {
  public:
    orvane::LibraryHandle Load(const std::string&) override { return this; }
    void* Lookup(orvane::LibraryHandle, const char* name) override {
        const std::string function = name;
        if (function == "SendDataChannel") {
            return reinterpret_cast<void*>(&CountingSend);
        }
        if (function == "D4ReadEeprom") {
            return reinterpret_cast<void*>(&ReadZero);
        }
        if (function == "InquireStatus") {
            return reinterpret_cast<void*>(&AlwaysReady);
        }
        return nullptr;
    }
    void Free(orvane::LibraryHandle) override {}
};

class NoClock final : public orvane::IClock {
  public:
    void Sleep(uint32_t) override {}
    orvane::LocalDateTime Now() override { return {}; }
};

class NoWindow final : public orvane::IMessageBox, public IStatusReporter {
  public:
    orvane::MessageAnswer Show(const orvane::MessageRequest&) override {
        return orvane::MessageAnswer::Ok;
    }
    uint16_t ShowStatus(int, const std::string&) override { return ResultOk; }
    void Repaint() override {}
};

// The program's objects on the counting channel.
struct Program {
    CountingLoader loader;
    NoClock clock;
    NoWindow window;
    orvane::StdRandom random;
    TPDLLFunction link{loader, "/counting"};
    TPStatusControl status{link};
    TPRaster raster{link, status, clock, window};
    TPFactory factory{link, status, clock};
    TPPattern pattern{raster, factory, link, status, window, clock, random};
    Program() { link.Load(); }
};

void RunPattern(benchmark::State& state, const std::function<uint16_t(TPPattern&)>& print) {
    Program program;
    channel = {};
    bench::allocationCount = 0;
    uint64_t patterns = 0;
    for (auto _ : state) {
        bench::countAllocations = true;
        const uint16_t result = print(program.pattern);
        // The caption some patterns leave for the page's eject.
        if (program.raster.FillCount() > 0) {
            program.raster.Flush();
        }
        bench::countAllocations = false;
        if (result != ResultOk) {
            state.SkipWithError("the pattern failed");
            break;
        }
        ++patterns;
    }
    const double runs = static_cast<double>(patterns == 0 ? 1 : patterns);
    state.counters["wire_bytes"] = static_cast<double>(channel.bytes) / runs;
    state.counters["sends"] = static_cast<double>(channel.calls) / runs;
    state.counters["full_sends"] = static_cast<double>(channel.fullCalls) / runs;
    // The flushes the pattern asks for and its command packets.
    state.counters["other_sends"] = static_cast<double>(channel.calls - channel.fullCalls) / runs;
    state.counters["allocs"] = static_cast<double>(bench::allocationCount) / runs;
    state.SetBytesProcessed(static_cast<int64_t>(channel.bytes));
    // How many full-speed USB links (12 Mbit/s) the wire bytes would keep busy.
    state.counters["x_usb12"] = benchmark::Counter(
        static_cast<double>(channel.bytes) / kUsbBytesPerSecond, benchmark::Counter::kIsRate);
}

#define PATTERN_BENCH(name, call)                               \
    void name(benchmark::State& state) {                        \
        RunPattern(state, [](TPPattern& p) { return p.call; }); \
    }                                                           \
    BENCHMARK(name)

PATTERN_BENCH(BetaPattern, PrintBetaPattern());
PATTERN_BENCH(VerticalAlignmentPattern, PrintVerticalAlignmentPattern());
PATTERN_BENCH(HorizontalAlignmentPattern, PrintHorizontalAlignmentPattern());
PATTERN_BENCH(HeadAngularPattern, PrintHeadAngularPattern());
PATTERN_BENCH(SheetHeadAngularPattern, PrintSheetHeadAngularPattern());
PATTERN_BENCH(PfBlackPattern, PrintPfBlackPattern());
PATTERN_BENCH(PfColorPattern, PrintPfColorPattern());
PATTERN_BENCH(SheetPfBlackPattern, PrintSheetPfBlackPattern(0));
PATTERN_BENCH(SheetPfColorPattern, PrintSheetPfColorPattern(0));
PATTERN_BENCH(FirstDotPattern, PrintFirstDotPattern());
PATTERN_BENCH(TopMarginPattern, PrintTopMarginPattern(0));
PATTERN_BENCH(SheetTopMarginPattern, PrintSheetTopMarginPattern());
PATTERN_BENCH(AccumulatedPitchPattern, PrintAccumulatedPitchPattern());

PATTERN_BENCH(BidBlackPattern, PrintBidBlackPattern(16, 0));
PATTERN_BENCH(BidColorPattern, PrintBidColorPattern(16, 0));
PATTERN_BENCH(SheetBidBlackPattern, PrintSheetBidBlackPattern(16, 0));
PATTERN_BENCH(SheetBidColorPattern, PrintSheetBidColorPattern(16, 0));

}  // namespace

BENCHMARK_MAIN();
