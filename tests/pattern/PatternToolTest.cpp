// orvane-pattern, run as its own process on the test's state folder.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>

#include "PatternFixture.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "platform/Files.h"
#include "support/LinuxOnly.h"
#include "support/PlantedFifo.h"
#include "support/Process.h"
#include "support/TempFolder.h"
#include "vprinter/Capture.h"
#include "vprinter/PageFiles.h"
#include "vprinter/Store.h"

namespace {

using testing_support::PatternTest;
using testing_support::ProcessResult;
using Bytes = std::vector<uint8_t>;

// The tool on the manual clock: its waits take no real time.
const std::vector<std::string> kManualClock = {"ORVANE_MANUAL_CLOCK=1"};

class PatternTool : public PatternTest {
  protected:
    std::vector<std::string> Command(std::vector<std::string> args) const {
        args.insert(args.begin(),
                    {testing_support::OutputFolder() + "/orvane-pattern", "--dir", StateFolder()});
        return args;
    }
    ProcessResult Tool(std::vector<std::string> args,
                       const std::vector<std::string>& environment = {}) {
        return testing_support::RunProcess(Command(std::move(args)), StateFolder(), environment);
    }
    void EmptyTheTray() {
        ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.paper = 0; });
    }
    static size_t CountOf(const std::string& text, const std::string& part) {
        size_t count = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
            ++count;
        }
        return count;
    }
    std::string CapturePath() const { return StateFolder() + "/run.stream"; }

    // The data calls of the stream file the tool wrote.
    struct Call {
        Bytes data;
        uint16_t result;
    };
    std::vector<Call> Captured() const {
        std::string file;
        EXPECT_EQ(orvane::ReadWholeFile(CapturePath(), size_t{1} << 30, file),
                  orvane::FileRead::Done);
        std::vector<vprinter::StreamRecord> records;
        std::string error;
        EXPECT_TRUE(vprinter::ParseStream(file, records, error)) << error;
        std::vector<Call> calls;
        for (const auto& record : records) {
            const auto* data = reinterpret_cast<const uint8_t*>(file.data() + record.offset);
            if (record.kind == 'C') {
                EXPECT_EQ(Bytes(data, data + record.length), Bytes({0x0B, 0x54}));
            } else if (record.kind == 'D') {
                calls.push_back({Bytes(data, data + record.length), record.result});
            }
        }
        return calls;
    }
};

TEST_F(PatternTool, SavesEverySendTheGeneratorMadeInOrder) {
    const auto result =
        Tool({"bid-color", "--value", "-2", "--dot-size", "19", "--out", CapturePath()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("bid-color: 0x0001"), std::string::npos) << result.out;

    // The same generator in this process, on the same printer.
    ASSERT_EQ(pattern_.PrintBidColorPattern(19, -2), ResultOk);
    const auto expected = AcceptedSends();
    const auto captured = Captured();
    ASSERT_EQ(captured.size(), expected.size());
    for (size_t i = 0; i < captured.size(); ++i) {
        EXPECT_EQ(captured[i].data, expected[i]) << i;
        EXPECT_EQ(captured[i].result, ResultOk) << i;
    }
}

TEST_F(PatternTool, TheStreamFileIsListedByTheVirtualPrintersTool) {
    ASSERT_EQ(Tool({"sheet-bid-black", "--value", "3", "--dot-size", "17", "--out", CapturePath()})
                  .exitCode,
              0);
    const auto listing =
        testing_support::RunProcess({testing_support::OutputFolder() + "/orvane-vprinter", "--dir",
                                     StateFolder(), "inspect", CapturePath()},
                                    StateFolder());
    ASSERT_EQ(listing.exitCode, 0) << listing.err;
    EXPECT_NE(listing.out.find("Bi-D VSD2 black 3"), std::string::npos) << listing.out;
    EXPECT_NE(listing.out.find("Bi-D VSD2 black 4"), std::string::npos);
    EXPECT_EQ(listing.out.find("fault"), std::string::npos) << listing.out;
}

TEST_F(PatternTool, StoresTheValueOfAPfPageBeforeItPrints) {
    const auto result = Tool({"pf-color", "--value", "-3", "--out", CapturePath(), "--eject"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(static_cast<int8_t>(Eeprom()[eeprom::PfColour]), -3);
    const auto captured = Captured();
    ASSERT_GE(captured.size(), 2u);
    // The stored value goes back last, then the page is ejected.
    EXPECT_EQ(captured[captured.size() - 2].data,
              Bytes({0x1B, 0x7C, 0x00, 0x07, 0x00, 0x0B, 0x54, 0x04, 0xFB, 0x02, 0xFD, 0x02}));
    EXPECT_EQ(captured.back().data, Bytes({0x0C}));
}

// The check sheets and the nozzle check are items too; the nozzle check
// needs no page to come out, so nothing here waits for the printer.
TEST_F(PatternTool, RunsTheNozzleCheckInRemoteMode) {
    const auto result = Tool({"nozzle-check", "--out", CapturePath()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto listing =
        testing_support::RunProcess({testing_support::OutputFolder() + "/orvane-vprinter", "--dir",
                                     StateFolder(), "inspect", CapturePath()},
                                    StateFolder());
    ASSERT_EQ(listing.exitCode, 0) << listing.err;
    EXPECT_NE(listing.out.find("remote mode REMOTE1"), std::string::npos) << listing.out;
    EXPECT_NE(listing.out.find("nozzle check"), std::string::npos);
    EXPECT_EQ(listing.out.find("fault"), std::string::npos) << listing.out;
}

TEST_F(PatternTool, AFailingItemSavesWhatWasSentAndExitsWithOne) {
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["SendDataChannel"] = {3, 0x2000, 7};
    });
    const auto result = Tool({"beta", "--out", CapturePath()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("beta failed with 0x2000: Communication error occurred.\n"),
              std::string::npos)
        << result.err;
    const auto captured = Captured();
    ASSERT_EQ(captured.size(), 3u);
    EXPECT_EQ(captured[0].result, ResultOk);
    EXPECT_EQ(captured[1].result, ResultOk);
    EXPECT_EQ(captured[2].result, ResultChannelError);

    // A link that does not open: an empty stream file, not an old one.
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.powered = false; });
    const auto off = Tool({"beta", "--out", CapturePath()});
    EXPECT_EQ(off.exitCode, 1);
    EXPECT_NE(off.err.find("cannot open the link"), std::string::npos) << off.err;
    EXPECT_TRUE(Captured().empty());
}

TEST_F(PatternTool, APageWhosePictureCannotBeSavedFailsTheRun) {
    testing_support::WriteFile(StateFolder() + "/VTUSB001/pages", "not a folder");
    const auto result = Tool({"pf-color", "--value", "-3", "--out", CapturePath(), "--eject"});
    EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
    EXPECT_NE(result.err.find("pf-color failed"), std::string::npos) << result.err;
}

// Runs at once on one printer: each keeps its stored value, its sheet and
// its page picture.
TEST_F(PatternTool, RunsAtOnceOnOnePrinterLoseNothing) {
    const int paper = Config().paper;
    constexpr int kRounds = 4;
    const std::vector<std::string> items = {"pf-black", "pf-color", "first-dot", "first-dot"};
    for (int round = 1; round <= kRounds; ++round) {
        std::vector<std::vector<std::string>> runs;
        for (size_t i = 0; i < items.size(); ++i) {
            std::vector<std::string> run = {testing_support::OutputFolder() + "/orvane-pattern",
                                            "--dir",
                                            StateFolder(),
                                            items[i],
                                            "--out",
                                            StateFolder() + "/run" + std::to_string(i) + ".stream"};
            if (i < 2) {
                run.insert(run.end(),
                           {"--value", std::to_string(i == 0 ? round : -round), "--eject"});
            }
            runs.push_back(run);
        }
        for (const auto& result : testing_support::RunProcessesTogether(runs, StateFolder())) {
            ASSERT_EQ(result.exitCode, 0) << result.err;
        }
        const auto eeprom = Eeprom();
        EXPECT_EQ(static_cast<int8_t>(eeprom[eeprom::PfBlack]), round);
        EXPECT_EQ(static_cast<int8_t>(eeprom[eeprom::PfColour]), -round);
    }
    const auto rounds = static_cast<int>(items.size()) * kRounds;
    EXPECT_EQ(Config().paper, paper - rounds);
    EXPECT_EQ(vprinter::ListPages(StateFolder() + "/VTUSB001/pages").size(),
              static_cast<size_t>(rounds));
}

TEST_F(PatternTool, EveryBadArgumentGetsOneLineAndExitCodeTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate", "--out", "x"},
        {"beta"},
        {"beta", "--value", "1", "--out", "x"},
        {"bid-black", "--dot-size", "15", "--out", "x"},
        {"bid-black", "--value", "128", "--out", "x"},
        {"bid-black", "--value", "ten", "--out", "x"},
        {"top-margin", "--skip-caption", "256", "--out", "x"},
        {"first-dot", "--dot-size", "16", "--out", "x"},
        {"beta", "--paper-wait", "-1", "--out", "x"},
    };
    for (const auto& args : bad) {
        const auto result = Tool(args);
        std::string joined;
        for (const auto& arg : args) {
            joined += arg + " ";
        }
        EXPECT_EQ(result.exitCode, 2) << joined;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1)
            << joined << result.err;
        EXPECT_TRUE(result.out.empty()) << joined;
    }
}

// A failure is told with what its code means, as the adjustment window
// words it.
TEST_F(PatternTool, AFailureNamesWhatItsCodeMeans) {
    struct Case {
        std::function<void()> fault;
        std::string said;
    };
    const std::vector<Case> cases = {
        {[this] {
             ChangeLibrary([](vprinter::LibraryConfig& config) {
                 config.callFaults["SendDataChannel"] = {1, 0xC000, 0};
             });
         },
         "beta failed with 0xC000: There is not enough free memory to run this program. Quit one "
         "or more programs, and then try again.\n"},
        {[this] { SetPrinterState(0, 4); },
         "beta failed with 0x4000: Paper jam error. Clear the error and click the [Get Status] "
         "button.\n"},
        {[this] { SetPrinterState(0, 99); }, "beta failed with 0x4000\n"},
    };
    for (const Case& c : cases) {
        c.fault();
        const auto result = Tool({"beta", "--out", CapturePath()});
        EXPECT_EQ(result.exitCode, 1) << c.said;
        EXPECT_NE(result.err.find("orvane-pattern: " + c.said), std::string::npos) << result.err;
        ChangeLibrary([](vprinter::LibraryConfig& config) { config = {}; });
        SetPrinterState(4, 0);
    }
}

TEST_F(PatternTool, BadStateFoldersGetOneLineAndExitCodeTwo) {
    testing_support::TempFolder temporary;
    testing_support::WriteFile(temporary / "file", "not a folder");
    for (const std::string& folder : {std::string(), temporary / "file", temporary / "file/sub"}) {
        const auto result =
            testing_support::RunProcess({testing_support::OutputFolder() + "/orvane-pattern",
                                         "--dir", folder, "beta", "--out", CapturePath()},
                                        StateFolder());
        EXPECT_EQ(result.exitCode, 2) << folder;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1)
            << folder << result.err;
        EXPECT_NE(result.err.find("state folder"), std::string::npos) << result.err;
    }
}

TEST_F(PatternTool, AnUnwritableOutIsRefusedBeforeThePrinterGetsAnything) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("FIFOs and device nodes do not exist on Windows");
#else
    testing_support::TempFolder temporary;
    testing_support::WriteFile(temporary / "file", "in the way");
    // A FIFO and a device (a copy of /dev/full) are never replaced by a file.
    ASSERT_EQ(::mkfifo((temporary / "fifo").c_str(), 0600), 0);
    const bool device = testing_support::MakeCharacterDevice(temporary / "full", 7);
    const std::string received = StateFolder() + "/VTUSB001/received.stream";
    const std::string before = testing_support::ReadFile(received);
    for (const std::string& out :
         {temporary.Path(), temporary / "no-such-folder/run.stream", temporary / "file/run.stream",
          temporary / "fifo", device ? temporary / "full" : temporary / "fifo"}) {
        const auto result = Tool({"pf-black", "--value", "5", "--out", out});
        EXPECT_EQ(result.exitCode, 2) << out;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << out << result.err;
        EXPECT_NE(result.err.find("--out"), std::string::npos) << result.err;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(temporary / "fifo"));
    EXPECT_TRUE(!device || std::filesystem::is_character_file(temporary / "full"));
    EXPECT_EQ(static_cast<int8_t>(Eeprom()[eeprom::PfBlack]), 0) << "nothing stored";
    EXPECT_EQ(testing_support::ReadFile(received), before) << "nothing sent";
#endif
}

TEST_F(PatternTool, PaperOutIsSaidOnceAndTheWaitEndsAtItsLimit) {
    EmptyTheTray();
    const auto result = Tool({"beta", "--paper-wait", "30", "--out", CapturePath()}, kManualClock);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(CountOf(result.err, "out of paper"), 1u) << result.err;
    EXPECT_NE(result.err.find("orvane-vprinter --dir " + StateFolder() + " paper VTUSB001 N"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("beta ended: no paper after 30 s\n"), std::string::npos)
        << result.err;
    const auto captured = Captured();
    ASSERT_FALSE(captured.empty());
    for (const auto& call : captured) {
        EXPECT_EQ(call.result, ResultChannelError) << "the empty tray took nothing";
    }
}

TEST_F(PatternTool, LoadingPaperWhileItWaitsPrintsTheItemAsAFullTrayWould) {
    EmptyTheTray();
    // The limit only keeps a broken wait from hanging the test.
    testing_support::ChildProcess tool(
        Command({"bid-black", "--value", "2", "--paper-wait", "604800", "--out", CapturePath()}),
        StateFolder(), kManualClock);
    ASSERT_TRUE(tool.WaitForErr("out of paper")) << tool.Finish().err;
    const auto loaded =
        testing_support::RunProcess({testing_support::OutputFolder() + "/orvane-vprinter", "--dir",
                                     StateFolder(), "paper", "VTUSB001", "5"},
                                    StateFolder());
    ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
    const auto result = tool.Finish();
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(CountOf(result.err, "out of paper"), 1u) << result.err;

    ASSERT_EQ(pattern_.PrintBidBlackPattern(16, 2), ResultOk);
    std::vector<Bytes> accepted;
    for (const auto& call : Captured()) {
        if (call.result == ResultOk) {
            accepted.push_back(call.data);
        }
    }
    EXPECT_EQ(accepted, AcceptedSends());
}

TEST_F(PatternTool, CtrlCWhileWaitingForPaperEndsTheRunAndWritesWhatWasSent) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("no Ctrl-C can be sent to one child process on Windows");
#else
    EmptyTheTray();
    // On the real clock: the signal, not the time, ends this wait.
    testing_support::ChildProcess tool(
        Command({"beta", "--paper-wait", "600", "--out", CapturePath()}), StateFolder());
    ASSERT_TRUE(tool.WaitForErr("out of paper")) << tool.Finish().err;
    tool.Signal(SIGINT);
    const auto result = tool.Finish();
    EXPECT_EQ(result.exitCode, 130);
    EXPECT_NE(result.err.find("beta ended: interrupted while waiting for paper\n"),
              std::string::npos)
        << result.err;
    EXPECT_FALSE(Captured().empty());
#endif
}

}  // namespace
