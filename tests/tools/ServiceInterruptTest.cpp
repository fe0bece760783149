// Ctrl-C ends every wait of orvane-service at its next check: the command
// stops with exit code 130 and one line; a write command stopped before its
// first write has written nothing.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include <nlohmann/json.hpp>

#include "ServiceFixture.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "support/LinuxOnly.h"
#include "support/Process.h"

namespace {

using testing_support::On;
using testing_support::ServiceTest;
using Json = nlohmann::json;

class ServiceInterrupt : public ServiceTest {
  protected:
    static std::string LastLine(std::string text) {
        if (text.ends_with('\n')) {
            text.pop_back();
        }
        const size_t start = text.rfind('\n');
        return start == std::string::npos ? text : text.substr(start + 1);
    }
    // The printer answers the next data call as busy.
    void BusyAtTheNextSend() {
        ChangeLibrary([](vprinter::LibraryConfig& config) {
            config.callFaults["SendDataChannel"] = {1, ResultChannelError, ChannelErrorBusy};
        });
    }
};

TEST_F(ServiceInterrupt, EveryWaitEndsTheCommandWith130) {
    struct Case {
        const char* wait;
        std::function<void()> hold;  // keeps the printer from ending the wait
        std::vector<std::string> args;
        size_t pauses;  // the clock's sleeps when Ctrl-C comes
        std::string said;
    };
    const std::vector<Case> cases = {
        {"busy before the first write",
         [this] {
             ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& c) { c.busyPolls = 40; });
         },
         {"adjust", "set", "pf-black=2", "top-margin=+"},
         2,
         "interrupted"},
        {"a cleaning under way", [] {}, {"clean"}, 3, "interrupted"},
        {"a value packet sent again while busy",
         [this] { BusyAtTheNextSend(); },
         {"adjust", "set", "pf-black=2"},
         1,
         "interrupted"},
        {"a print sent again while busy",
         [this] { BusyAtTheNextSend(); },
         {"print", "nozzle-check"},
         1,
         "interrupted"},
        {"the wait for paper",
         [this] { ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& c) { c.paper = 0; }); },
         {"print", "nozzle-check"},
         2,
         "(interrupted while waiting for paper)"},
    };
    for (const Case& c : cases) {
        c.hold();
        const vprinter::Eeprom before = Eeprom();
        Clock().ClearSleeps();
        Clock().waitsEnd = [&] { return Clock().Sleeps().size() >= c.pauses; };
        std::vector<std::string> args = On({"--json"});
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Run run = Service(args);
        Clock().waitsEnd = nullptr;
        EXPECT_EQ(run.exit, 130) << c.wait << ": " << run.err;
        // The interruption's line; a cleaning already started is told after it.
        EXPECT_NE(run.err.find(std::string(c.said) + "\n"), std::string::npos)
            << c.wait << ": " << run.err;
        EXPECT_EQ(Clock().Sleeps().size(), c.pauses) << c.wait << ": the wait went on";
        const Json error = Json::parse(run.out);
        EXPECT_EQ(error["exit"], 130) << c.wait;
        // Nothing but a maintenance sequence that had started is written.
        if (error.contains("written")) {
            const Json& written = error["written"];
            EXPECT_EQ(written.size(), 1u) << c.wait << ": " << run.out;
            EXPECT_TRUE(written.contains("sequence")) << c.wait << ": " << run.out;
        }
        EXPECT_EQ(Eeprom()[eeprom::PfBlack], before[eeprom::PfBlack]) << c.wait;
        EXPECT_EQ(Eeprom()[eeprom::TopMargin], before[eeprom::TopMargin]) << c.wait;
        // The printer as it was before the next case.
        ChangeLibrary([](vprinter::LibraryConfig& config) { config = {}; });
        ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
            config.busyPolls = 0;
            config.paper = 10;
            config.state = 4;
            config.error = 0;
        });
        Clock().Sleep(vprinter::Host::kCleaningMilliseconds);  // the cleaning ends
    }
}

// The real Ctrl-C, in the tool's own process on its clock that never sleeps:
// the printer stays busy until the signal ends the wait.
TEST_F(ServiceInterrupt, CtrlCEndsTheToolsBusyWaitBeforeItWritesAnything) {
    ORVANE_LINUX_ONLY("no Ctrl-C can be sent to one child process on Windows");
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& c) { c.busyPolls = 1000000; });
    const vprinter::Eeprom before = Eeprom();
    testing_support::ChildProcess tool(
        {testing_support::OutputFolder() + "/orvane-service", "--dir", StateFolder(), "--port",
         "VTUSB001", "adjust", "set", "pf-black=3"},
        StateFolder(), {"ORVANE_MANUAL_CLOCK=1", "XDG_STATE_HOME=" + StateFolder() + "/state"});
    ASSERT_TRUE(tool.WaitForErr("Printer is busy.")) << tool.Finish().err;
    tool.Signal(SIGINT);
    const testing_support::ProcessResult result = tool.Finish();
    EXPECT_EQ(result.exitCode, 130) << result.err;
    EXPECT_EQ(LastLine(result.err), "orvane-service: interrupted") << result.err;
    EXPECT_EQ(Eeprom(), before);
    EXPECT_FALSE(std::filesystem::exists(StateFolder() + "/state/orvane-adjust/service.log"))
        << "nothing was written, so nothing was logged";
}

}  // namespace
