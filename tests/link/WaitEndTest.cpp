// Every wait of the modules ends at its next check once the clock ends the
// waits (a tool's Ctrl-C): with ResultInterrupted, nothing sent again, and
// what the job holds kept.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link/ResultCodes.h"
#include "link/Rk7factory.h"
#include "link/StatusReporter.h"
#include "support/PrintJobFixture.h"

namespace {

class SilentReporter final : public IStatusReporter {
  public:
    uint16_t ShowStatus(int, const std::string&) override { return ResultOk; }
    void Repaint() override {}
};

class WaitEnd : public testing_support::PrintJobTest {
  protected:
    SilentReporter reporter_;
    TPFactory factory_{Link(), status_, Clock()};
};

TEST_F(WaitEnd, EveryWaitEndsAtItsNextCheckWithoutSendingAgain) {
    // Busy far longer than the waits are let run: a wait that goes on
    // outlasts it and returns 1.
    constexpr int kBusy = 40;
    const uint8_t bytes[10] = {};
    const struct {
        const char* wait;
        std::function<void()> busy;
        std::function<uint16_t()> run;
        uint32_t pause;
    } cases[] = {
        {"readiness wait",
         [this] {
             ChangePrinter("VTUSB001",
                           [](vprinter::PrinterConfig& config) { config.busyPolls = kBusy; });
         },
         [this] {
             return status_.WaitUntilReady(status_.Record(), true, reporter_, raster_, Clock());
         },
         TPStatusControl::kPollMilliseconds},
        {"value packet while busy", [this] { RefuseSendsAsBusy(kBusy); },
         [this] { return factory_.SendPfValue(1, 3); }, 500},
        {"print job while busy", [this] { RefuseSendsAsBusy(kBusy); },
         [&] {
             raster_.SendBytes(bytes, sizeof bytes);
             return raster_.Flush();
         },
         500},
    };
    for (const auto& c : cases) {
        c.busy();
        ClearTrace();
        Clock().ClearSleeps();
        // Ctrl-C during the second pause.
        Clock().waitsEnd = [this] { return Clock().Sleeps().size() >= 2; };
        EXPECT_EQ(c.run(), ResultInterrupted) << c.wait;
        EXPECT_EQ(Clock().Sleeps(), std::vector<uint32_t>(2, c.pause)) << c.wait;
        EXPECT_EQ(Sends().size(), 2u) << c.wait << ": one send a round, none after the end";
        EXPECT_EQ(Eeprom(), vprinter::Store::FreshBoard()) << c.wait;
        Clock().waitsEnd = nullptr;
        RefuseSendsAsBusy(0);
        ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.busyPolls = 0; });
    }
    EXPECT_EQ(raster_.FillCount(), 10) << "the job keeps what it could not send";

    // Once the run is asked to end, no operation starts its wait.
    Clock().waitsEnd = [] { return true; };
    ClearTrace();
    EXPECT_EQ(status_.WaitUntilReady(status_.Record(), true, reporter_, raster_, Clock()),
              ResultInterrupted);
    EXPECT_TRUE(Calls().empty());
}

}  // namespace
