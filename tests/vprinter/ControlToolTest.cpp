// The control tool, run as its own process against a state folder that the
// loaded libraries also use.
#include <gtest/gtest.h>

#include "link/ResultCodes.h"
#include "support/LinkFixture.h"
#include "support/Process.h"

namespace {

using testing_support::ProcessResult;
using testing_support::VirtualPrinterTest;

class ControlTool : public VirtualPrinterTest {
protected:
    ProcessResult Tool(std::vector<std::string> args) {
        args.insert(args.begin(), {testing_support::OutputFolder() + "/orvane-vprinter", "--dir",
                                   StateFolder()});
        return testing_support::RunProcess(args, StateFolder());
    }
};

TEST_F(ControlTool, ListsThePrintersWithPortModelStateAndInk) {
    ASSERT_EQ(Tool({"ink", "VTUSB002", "50", "AN", "30", "0"}).exitCode, 0);
    ASSERT_EQ(Tool({"state", "VTUSB001", "0", "--error", "6"}).exitCode, 0);
    const auto result = Tool({"list"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("VTUSB001     1025  Orvane K31       error 6"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("VTUSB002     1026  Orvane K32       ready              50% AN 30% 0%"),
              std::string::npos)
        << result.out;
}

TEST_F(ControlTool, EveryBadArgumentGetsOneLineAndExitCodeTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"power", "VTUSB009", "off"},
        {"power", "VTUSB001", "maybe"},
        {"busy", "VTUSB001", "polls", "-1"},
        {"state", "VTUSB001", "256"},
        {"ink", "VTUSB001", "1", "2", "3"},
        {"ink", "VTUSB001", "1", "2", "3", "lots"},
        {"eeprom", "VTUSB001", "--set", "0x100=1"},
        {"eeprom", "VTUSB001", "--set", "12"},
        {"eeprom-fault", "VTUSB001", "read", "0x42", "--code", "0x10000"},
        {"call-fault", "NoSuchFunction", "1", "0x2000"},
        {"call-fault", "D4ReadEeprom", "0", "0x2000"},
        {"export", "D4Reset", "gone"},
        {"create", "VTUSB001"},
        {"create", "../up"},
        {"remove", "USB777"},
        {"new-board", "nothing"},
    };
    for (const auto& args : bad) {
        const auto result = Tool(args);
        std::string shown;
        for (const auto& arg : args) {
            shown += arg + " ";
        }
        EXPECT_EQ(result.exitCode, 2) << shown;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << shown << result.err;
        EXPECT_EQ(result.err.rfind("orvane-vprinter: ", 0), 0u) << shown << result.err;
    }
}

TEST_F(ControlTool, FaultsSetByTheToolReachTheLibrariesAndClearAgain) {
    ASSERT_EQ(Tool({"power", "VTUSB001", "off"}).exitCode, 0);
    EXPECT_EQ(Link().PortOpenByPway(1025), ResultPortNoResponse);
    ASSERT_EQ(Tool({"power", "VTUSB001", "on"}).exitCode, 0);
    ASSERT_EQ(OpenLink(), ResultOk);

    ASSERT_EQ(Tool({"eeprom-fault", "VTUSB001", "write", "0x42"}).exitCode, 0);
    ASSERT_EQ(Tool({"call-fault", "D4ReadEeprom", "2", "0x1100"}).exitCode, 0);
    ASSERT_EQ(Tool({"export", "D4Reset", "missing"}).exitCode, 0);
    uint8_t value = 0;
    EXPECT_EQ(Link().D4WriteEeprom(0x42, 1), ResultChannelError);
    EXPECT_EQ(Link().D4ReadEeprom(0x42, value), ResultOk);
    EXPECT_EQ(Link().D4ReadEeprom(0x42, value), ResultPortNoResponse);
    EXPECT_EQ(Link().D4Reset(), ResultDllMissing);

    ASSERT_EQ(Tool({"clear-faults", "VTUSB001", "--library"}).exitCode, 0);
    EXPECT_EQ(Link().D4WriteEeprom(0x42, 1), ResultOk);
    EXPECT_EQ(Link().D4Reset(), ResultOk);
}

TEST_F(ControlTool, ShowsAndSetsEepromBytesAndReplacesTheMainBoard) {
    ASSERT_EQ(Tool({"eeprom", "VTUSB002", "--set", "0x42=0x10", "--set", "0x43=-1"}).exitCode, 0);
    auto shown = Tool({"eeprom", "VTUSB002"});
    ASSERT_EQ(shown.exitCode, 0);
    EXPECT_NE(shown.out.find("40: FF FF 10 FF FF FF"), std::string::npos) << shown.out;
    EXPECT_EQ(std::count(shown.out.begin(), shown.out.end(), '\n'), 17);

    ASSERT_EQ(OpenLink("VTUSB002"), ResultOk);
    uint8_t value = 0;
    ASSERT_EQ(Link().D4ReadEeprom(0x42, value), ResultOk);
    EXPECT_EQ(value, 0x10);

    ASSERT_EQ(Tool({"new-board", "VTUSB002"}).exitCode, 0);
    ASSERT_EQ(Link().D4ReadEeprom(0x42, value), ResultOk);
    EXPECT_EQ(value, 0xFF);
    EXPECT_EQ(Eeprom("VTUSB002"), vprinter::Store::FreshBoard());
}

TEST_F(ControlTool, CreatesAndRemovesPrintersThatTheLibrariesThenAnswerFor) {
    auto created = Tool({"create", "LPT1:", "--model", "Orvane K32"});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    EXPECT_EQ(created.out, "created LPT1: (Orvane K32, port number 1152)\n");
    ASSERT_EQ(Link().PortOpenByPway(1152), ResultOk);
    ASSERT_EQ(Link().D4Negotiation(), ResultOk);
    char name[30] = {};
    ASSERT_EQ(Link().GetModelNameByPway(name), ResultOk);
    EXPECT_STREQ(name, "Orvane K32");

    ASSERT_EQ(Tool({"remove", "LPT1:"}).exitCode, 0);
    EXPECT_EQ(Link().PortOpenByPway(1152), ResultPortIoError);
}

}  // namespace
