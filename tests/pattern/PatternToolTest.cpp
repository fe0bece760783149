// orvane-pattern, run as its own process on the test's state folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "PatternFixture.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "support/Process.h"
#include "vprinter/Capture.h"
#include "vprinter/PageFiles.h"
#include "vprinter/Store.h"

namespace {

using testing_support::PatternTest;
using testing_support::ProcessResult;
using Bytes = std::vector<uint8_t>;

class PatternTool : public PatternTest {
  protected:
    ProcessResult Tool(std::vector<std::string> args) {
        args.insert(args.begin(),
                    {testing_support::OutputFolder() + "/orvane-pattern", "--dir", StateFolder()});
        return testing_support::RunProcess(args, StateFolder());
    }
    std::string CapturePath() const { return StateFolder() + "/run.stream"; }

    // The data calls of the stream file the tool wrote.
    struct Call {
        Bytes data;
        uint16_t result;
    };
    std::vector<Call> Captured() const {
        std::string file;
        EXPECT_TRUE(vprinter::ReadWholeFile(CapturePath(), file));
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
    EXPECT_NE(result.err.find("beta failed with 0x2000"), std::string::npos) << result.err;
    const auto captured = Captured();
    ASSERT_EQ(captured.size(), 3u);
    EXPECT_EQ(captured[0].result, ResultOk);
    EXPECT_EQ(captured[1].result, ResultOk);
    EXPECT_EQ(captured[2].result, ResultChannelError);
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

}  // namespace
