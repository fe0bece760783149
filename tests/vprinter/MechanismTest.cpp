// The hidden mechanism of a printer: its file in the state folder and the
// control tool's mechanism command.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "ControlToolFixture.h"
#include "support/TempFolder.h"
#include "vprinter/Mechanism.h"
#include "vprinter/Store.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;
using vprinter::Mechanism;
using vprinter::MechanismQuantities;
using vprinter::Store;

// The 13 values as the tool prints them.
std::string Lines(const Mechanism& mechanism) {
    std::string text;
    for (size_t i = 0; i < MechanismQuantities().size(); ++i) {
        text += std::string(MechanismQuantities()[i].name) + "=" +
                std::to_string(mechanism.errors[i]) + "\n";
    }
    return text;
}

TEST(MechanismFile, AMissingFileReadsAsZeroAndEveryValueSurvivesTheFile) {
    TempFolder folder;
    Store store(folder / "state");
    ASSERT_TRUE(store.EnsureCreated());
    Mechanism read;
    read.errors.fill(9);
    std::string problem;
    ASSERT_TRUE(store.LoadMechanism("VTUSB001", read, &problem)) << problem;
    EXPECT_EQ(read, Mechanism{});

    Mechanism written;
    written.errors = {-128, 127, -1, 1, -36, 36, 2, -2, 3, -4, 4, -40, -127};
    written.hidden = true;
    ASSERT_TRUE(store.SaveMechanism("VTUSB001", written));
    ASSERT_TRUE(store.LoadMechanism("VTUSB001", read, &problem)) << problem;
    EXPECT_EQ(read, written);
    EXPECT_EQ(written.ErrorAt(0x32), -128) << "Bi-D ECO black";
    EXPECT_EQ(written.ErrorAt(0x39), -2) << "Bi-D VSD3 colour";
    EXPECT_EQ(written.ErrorAt(0x75), 3) << "head angular";
    EXPECT_EQ(written.ErrorAt(0x2D), 4) << "PF colour";
    EXPECT_EQ(written.ErrorAt(0x5A), -40) << "top margin";
    EXPECT_EQ(written.ErrorAt(0x59), -127) << "first dot";
    EXPECT_EQ(written.ErrorAt(0x42), 0) << "no adjustment value";

    // Written by hand: comments, blanks and names left out are fine.
    WriteFile(store.PrinterFolder("VTUSB002") + "/mechanism.conf",
              "# by hand\n\n  pf-black = -3\r\nfirst-dot=0x10\n");
    ASSERT_TRUE(store.LoadMechanism("VTUSB002", read, &problem)) << problem;
    EXPECT_EQ(read.ErrorAt(0x2C), -3);
    EXPECT_EQ(read.ErrorAt(0x59), 16);
    EXPECT_FALSE(read.hidden);
}

TEST(MechanismFile, ADamagedFileIsReportedAndLeftAsItIs) {
    TempFolder folder;
    Store store(folder / "state");
    ASSERT_TRUE(store.EnsureCreated());
    const std::string file = store.PrinterFolder("VTUSB001") + "/mechanism.conf";
    const struct {
        const char* text;
        const char* named;
    } cases[] = {
        {"first-dot=128\n", "line 1"},
        {"pf-black=-129\n", "line 1"},
        {"pf-black=x\n", "line 1"},
        {"pf-black=\n", "line 1"},
        {"# ok\nwobble=1\n", "line 2"},
        {"pf-black=1\npf-black=2\n", "line 2"},
        {"hidden=maybe\n", "line 1"},
        {"top-margin 40\n", "line 1"},
        {"pf-color=1\nhidden=no\nhidden=yes\n", "line 3"},
    };
    for (const auto& c : cases) {
        WriteFile(file, c.text);
        Mechanism read;
        read.errors.fill(5);
        std::string problem;
        EXPECT_FALSE(store.LoadMechanism("VTUSB001", read, &problem)) << c.text;
        EXPECT_NE(problem.find(file), std::string::npos) << problem;
        EXPECT_NE(problem.find(c.named), std::string::npos) << problem;
        EXPECT_NE(problem.find("mechanism VTUSB001 clear"), std::string::npos) << problem;
        EXPECT_EQ(read.errors[0], 5) << "the caller's values are left alone: " << c.text;
        EXPECT_EQ(ReadFile(file), c.text);
    }
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    Mechanism read;
    std::string problem;
    EXPECT_FALSE(store.LoadMechanism("VTUSB001", read, &problem));
    EXPECT_NE(problem.find("cannot be read"), std::string::npos) << problem;
}

TEST(MechanismFile, RandomSetsAreReproducibleAndWithinWhatThePagesCorrect) {
    // What the pages can set and show: Bi-D rows at -2..+2 around a new
    // board's 0, head angular -3/0/3, PF -4..4, top margin "-"/"0"/"+",
    // first dot 0..127 (left of the paper's edge a first dot prints nothing).
    const auto within = [](const std::string& name, int value) {
        if (name.rfind("bid-", 0) == 0) {
            return value >= -2 && value <= 2;
        }
        if (name == "head-angular") {
            return value == -3 || value == 0 || value == 3;
        }
        if (name.rfind("pf-", 0) == 0) {
            return value >= -4 && value <= 4;
        }
        if (name == "top-margin") {
            return value == -40 || value == 0 || value == 40;
        }
        return name == "first-dot" && value >= 0 && value <= 127;
    };
    std::vector<std::set<int>> drawn(MechanismQuantities().size());
    for (uint32_t seed : {0u, 1u, 4294967295u}) {
        EXPECT_EQ(vprinter::RandomMechanism(seed), vprinter::RandomMechanism(seed)) << seed;
    }
    for (uint32_t seed = 0; seed < 300; ++seed) {
        const Mechanism mechanism = vprinter::RandomMechanism(seed);
        EXPECT_FALSE(mechanism.hidden);
        for (size_t i = 0; i < drawn.size(); ++i) {
            const std::string name = MechanismQuantities()[i].name;
            EXPECT_TRUE(within(name, mechanism.errors[i])) << name << " " << seed;
            drawn[i].insert(mechanism.errors[i]);
        }
    }
    // Every choice of the small ranges comes up; the first dot spreads.
    for (size_t i = 0; i < drawn.size(); ++i) {
        const auto& q = MechanismQuantities()[i];
        const size_t choices = static_cast<size_t>((q.high - q.low) / q.step + 1);
        if (choices < 10) {
            EXPECT_EQ(drawn[i].size(), choices) << q.name;
        } else {
            EXPECT_GE(drawn[i].size(), 100u) << q.name;
        }
    }
}

using MechanismTool = vprinter_test::ControlTool;

TEST_F(MechanismTool, SetsShowsAndClearsAllThirteenValues) {
    Mechanism expected;
    expected.errors = {-128, 127, -1, 1, -36, 36, 2, -2, 3, -4, 4, -40, -127};
    std::vector<std::string> args = {"mechanism", "VTUSB001"};
    for (size_t i = 0; i < expected.errors.size(); ++i) {
        args.push_back(std::string(MechanismQuantities()[i].name) + "=" +
                       std::to_string(expected.errors[i]));
    }
    const auto set = Tool(args);
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(set.out, Lines(expected));
    const auto shown = Tool({"mechanism", "VTUSB001"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out, Lines(expected));
    Mechanism stored;
    ASSERT_TRUE(Printers().GetStore().LoadMechanism("VTUSB001", stored));
    EXPECT_EQ(stored, expected);
    EXPECT_EQ(Tool({"mechanism", "VTUSB002"}).out, Lines(Mechanism{})) << "the other printer's";

    ASSERT_EQ(Tool({"mechanism", "VTUSB001", "pf-black=0x02", "first-dot=-5"}).exitCode, 0);
    expected.errors[9] = 2;
    expected.errors[12] = -5;
    EXPECT_EQ(Tool({"mechanism", "VTUSB001"}).out, Lines(expected)) << "the rest are kept";

    ASSERT_EQ(Tool({"mechanism", "VTUSB001", "clear"}).exitCode, 0);
    EXPECT_EQ(Tool({"mechanism", "VTUSB001"}).out, Lines(Mechanism{}));
}

TEST_F(MechanismTool, RefusalsGetOneLineAndExitCodeTwoAndWriteNothing) {
    ASSERT_EQ(Tool({"mechanism", "VTUSB001", "pf-black=1", "hide"}).exitCode, 2);
    ASSERT_EQ(Tool({"mechanism", "VTUSB001", "pf-color=-3"}).exitCode, 0);
    const std::string file = StateFolder() + "/VTUSB001/mechanism.conf";
    const std::string before = ReadFile(file);
    const std::vector<std::vector<std::string>> refused = {
        {"first-dot=128"},
        {"pf-black=-129"},
        {"pf-black=1", "nothing=2"},
        {"pf-black=1", "head-angular=x"},
        {"pf-black=1", "head-angular="},
        {"pf-black"},
        {"pf-black=1", "pf-black=2"},
        {"random", "-1"},
        {"random", "4294967296"},
        {"random", "abc"},
        {"random"},
        {"random", "1", "2"},
        {"clear", "now"},
        {"hide", "now"},
        {"reveal", "pf-black=1"},
    };
    for (const auto& words : refused) {
        std::vector<std::string> args = {"mechanism", "VTUSB001"};
        args.insert(args.end(), words.begin(), words.end());
        const auto result = Tool(args);
        EXPECT_EQ(result.exitCode, 2) << words.front();
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1)
            << words.front() << ": " << result.err;
        EXPECT_EQ(ReadFile(file), before) << words.front();
    }
    EXPECT_EQ(Tool({"mechanism", "VTUSB009", "clear"}).exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(StateFolder() + "/VTUSB009"));
}

TEST_F(MechanismTool, RandomSetsAreTheSameForTheSameSeed) {
    const auto first = Tool({"mechanism", "VTUSB001", "random", "42"});
    const auto second = Tool({"mechanism", "VTUSB002", "random", "42"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, Lines(vprinter::RandomMechanism(42)));
    EXPECT_EQ(second.out, first.out);
    EXPECT_EQ(Tool({"mechanism", "VTUSB001"}).out, first.out);
    EXPECT_NE(Tool({"mechanism", "VTUSB002", "random", "43"}).out, first.out);
}

TEST_F(MechanismTool, AHiddenMechanismIsNotShownUntilRevealed) {
    ASSERT_EQ(Tool({"mechanism", "VTUSB001", "top-margin=40"}).exitCode, 0);
    ASSERT_EQ(Tool({"mechanism", "VTUSB001", "hide"}).exitCode, 0);
    const auto hidden = Tool({"mechanism", "VTUSB001"});
    EXPECT_EQ(hidden.exitCode, 0);
    EXPECT_NE(hidden.out.find("hidden"), std::string::npos) << hidden.out;
    EXPECT_EQ(hidden.out.find('='), std::string::npos) << hidden.out;
    const std::string list = Tool({"list"}).out;
    EXPECT_EQ(list.find("[mechanism hidden]"), list.rfind("[mechanism hidden]")) << list;
    EXPECT_NE(list.find("[mechanism hidden]"), std::string::npos) << list;

    // Changes still work, and show nothing.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"mechanism", "VTUSB001", "random", "7"},
          std::vector<std::string>{"mechanism", "VTUSB001", "pf-black=-4"},
          std::vector<std::string>{"mechanism", "VTUSB001", "clear"},
          std::vector<std::string>{"mechanism", "VTUSB001", "random", "7"}}) {
        const auto result = Tool(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out.find('='), std::string::npos) << args[2] << ": " << result.out;
    }
    Mechanism stored;
    ASSERT_TRUE(Printers().GetStore().LoadMechanism("VTUSB001", stored));
    EXPECT_TRUE(stored.hidden) << "clear and random keep it hidden";

    ASSERT_EQ(Tool({"mechanism", "VTUSB001", "reveal"}).exitCode, 0);
    EXPECT_EQ(Tool({"mechanism", "VTUSB001"}).out, Lines(vprinter::RandomMechanism(7)));
    EXPECT_EQ(Tool({"list"}).out.find("mechanism"), std::string::npos);
}

TEST_F(MechanismTool, BelongsToThePrinterNotToItsMainBoard) {
    ASSERT_EQ(Tool({"create", "USB003"}).exitCode, 0);
    ASSERT_EQ(Tool({"mechanism", "USB003", "head-angular=-3", "hide"}).exitCode, 2);
    ASSERT_EQ(Tool({"mechanism", "USB003", "head-angular=-3"}).exitCode, 0);
    ASSERT_EQ(Tool({"new-board", "USB003"}).exitCode, 0);
    const std::string shown = Tool({"mechanism", "USB003"}).out;
    EXPECT_NE(shown.find("head-angular=-3\n"), std::string::npos) << shown;

    ASSERT_EQ(Tool({"remove", "USB003"}).exitCode, 0);
    ASSERT_EQ(Tool({"create", "USB003"}).exitCode, 0);
    EXPECT_EQ(Tool({"mechanism", "USB003"}).out, Lines(Mechanism{})) << "a new printer's";
}

TEST_F(MechanismTool, ADamagedFileIsExplainedAndLeftAsItIsUntilCleared) {
    const std::string file = StateFolder() + "/VTUSB002/mechanism.conf";
    WriteFile(file, "hidden=yes\npf-black=300\n");
    const std::string list = Tool({"list"}).out;
    EXPECT_NE(list.find("[mechanism damaged"), std::string::npos) << list;
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{}, std::vector<std::string>{"pf-color=1"},
          std::vector<std::string>{"random", "3"}, std::vector<std::string>{"reveal"}}) {
        std::vector<std::string> args = {"mechanism", "VTUSB002"};
        args.insert(args.end(), words.begin(), words.end());
        const auto result = Tool(args);
        EXPECT_EQ(result.exitCode, 2) << args.size();
        EXPECT_NE(result.err.find("line 2"), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("--dir '" + StateFolder() + "' mechanism VTUSB002 clear"),
                  std::string::npos)
            << result.err;
        EXPECT_EQ(ReadFile(file), "hidden=yes\npf-black=300\n");
    }
    ASSERT_EQ(Tool({"mechanism", "VTUSB002", "clear"}).exitCode, 0);
    EXPECT_EQ(Tool({"mechanism", "VTUSB002"}).out, Lines(Mechanism{}));
}

// One tool process per quantity, all at once: each change is made under the
// printer's lock, so none is lost.
TEST_F(MechanismTool, SetsOfDifferentNamesAtTheSameTimeAreAllKept) {
    for (int round = 1; round <= 2; ++round) {
        std::vector<std::vector<std::string>> runs;
        for (size_t i = 0; i < MechanismQuantities().size(); ++i) {
            runs.push_back({"mechanism", "VTUSB001",
                            std::string(MechanismQuantities()[i].name) + "=" +
                                std::to_string(round * static_cast<int>(i + 1))});
        }
        for (const auto& result : ToolsTogether(runs)) {
            ASSERT_EQ(result.exitCode, 0) << result.err;
        }
        Mechanism stored;
        ASSERT_TRUE(Printers().GetStore().LoadMechanism("VTUSB001", stored));
        for (size_t i = 0; i < stored.errors.size(); ++i) {
            EXPECT_EQ(stored.errors[i], round * static_cast<int>(i + 1))
                << MechanismQuantities()[i].name << " was lost in round " << round;
        }
    }
}

}  // namespace
