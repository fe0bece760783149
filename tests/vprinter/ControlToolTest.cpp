// The control tool, run as its own process against a state folder that the
// loaded libraries also use.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "ControlToolFixture.h"
#include "StreamBuilder.h"
#include "link/PrinterStatus.h"
#include "link/ResultCodes.h"
#include "support/LinkFixture.h"
#include "support/Process.h"
#include "support/TempFolder.h"
#include "vprinter/Capture.h"
#include "vprinter/Png.h"

namespace {

using testing_support::ProcessResult;
using vprinter_test::ControlTool;
using vprinter_test::Stream;

TEST_F(ControlTool, ListsThePrintersWithPortModelStateAndInk) {
    ASSERT_EQ(Tool({"ink", "VTUSB002", "50", "AN", "30", "0"}).exitCode, 0);
    ASSERT_EQ(Tool({"state", "VTUSB001", "0", "--error", "6"}).exitCode, 0);
    const auto result = Tool({"list"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("VTUSB001     1025  Orvane K31       error 6"), std::string::npos)
        << result.out;
    EXPECT_NE(
        result.out.find("VTUSB002     1026  Orvane K32       ready              50% AN 30% 0%"),
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
        {"pages", "VTUSB009"},
        {"reprint", "VTUSB001"},  // nothing received yet
        {"inspect", "/no/such/file"},
        {"paper", "VTUSB001", "-3"},
        {"frobnicate", "VTUSB001"},
        {"create", "FOO"},
        {"create", "USB0001"},  // 1025 is VTUSB001's
        {"create", "USB64513"},
        {"model", "VTUSB001", "K31\nstate=0"},
        {"model", "VTUSB001", std::string(30, 'M')},
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

TEST_F(ControlTool, RefusesAModelNameThatCreateRefusesAndKeepsTheConfiguration) {
    const std::string file = StateFolder() + "/VTUSB001/printer.conf";
    const std::string before = testing_support::ReadFile(file);
    EXPECT_EQ(Tool({"model", "VTUSB001", "K31\npaper=0"}).exitCode, 2);
    EXPECT_EQ(testing_support::ReadFile(file), before);
    ASSERT_EQ(Tool({"model", "VTUSB001", "Orvane K32"}).exitCode, 0);
    EXPECT_EQ(Config().model, "Orvane K32");
}

// A printer.conf that is there but cannot be read leaves no printer on the
// port (not a K31 with the defaults), the list says why, and nothing is
// written over it; mended, the printer answers again.
TEST_F(ControlTool, APrinterConfigurationThatCannotBeReadLeavesNoPrinterToAnswer) {
    const std::string file = StateFolder() + "/VTUSB002/printer.conf";
    const std::string kept = testing_support::ReadFile(file);
    const struct {
        const char* what;
        std::function<void()> plant;
        const char* listed;
    } cases[] = {
        {"a folder", [&] { std::filesystem::remove(file); std::filesystem::create_directory(file); },
         "cannot read printer.conf: not a regular file"},
        {"too large", [&] { testing_support::WriteFile(file, std::string((1 << 20) + 1, '#')); },
         "cannot read printer.conf: too large"},
    };
    for (const auto& c : cases) {
        c.plant();
        EXPECT_EQ(Link().PortOpenByPway(1026), ResultPortIoError) << c.what;
        const auto list = Tool({"list"});
        ASSERT_EQ(list.exitCode, 0) << list.err;
        EXPECT_NE(list.out.find("VTUSB002     1026  " + std::string(c.listed)), std::string::npos)
            << c.what << "\n" << list.out;
        std::filesystem::remove_all(file);
        testing_support::WriteFile(file, kept);
        EXPECT_EQ(Link().PortOpenByPway(1026), ResultOk) << c.what << ": mended";
    }
}

TEST_F(ControlTool, ABrokenEepromIsMarkedExplainedAndLeftAsItIsUntilANewBoard) {
    const std::string file = StateFolder() + "/VTUSB002/eeprom.bin";
    testing_support::WriteFile(file, std::string(100, '\x11'));
    const auto list = Tool({"list"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("[EEPROM broken"), std::string::npos) << list.out;
    EXPECT_EQ(list.out.find("EEPROM broken"), list.out.rfind("EEPROM broken")) << list.out;

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"eeprom", "VTUSB002"},
          std::vector<std::string>{"eeprom", "VTUSB002", "--set", "0x42=1"}}) {
        const auto shown = Tool(args);
        EXPECT_EQ(shown.exitCode, 2);
        EXPECT_NE(shown.err.find("100 bytes instead of 256"), std::string::npos) << shown.err;
        EXPECT_NE(shown.err.find("--dir '" + StateFolder() + "' new-board VTUSB002"),
                  std::string::npos)
            << shown.err;
        EXPECT_EQ(testing_support::ReadFile(file), std::string(100, '\x11'));
    }

    ASSERT_EQ(Tool({"new-board", "VTUSB002"}).exitCode, 0);
    EXPECT_EQ(Eeprom("VTUSB002"), vprinter::Store::FreshBoard());
    EXPECT_EQ(Tool({"list"}).out.find("EEPROM broken"), std::string::npos);
}

// Many tool processes at once, each changing one thing of the same file: as
// every change is made under the file's lock, none is lost.
TEST_F(ControlTool, ChangesMadeAtTheSameTimeAreAllKept) {
    const auto& functions = vprinter::ChannelFunctionNames();
    const size_t n = functions.size();
    const auto hex = [](size_t value) {
        char text[8];
        std::snprintf(text, sizeof text, "0x%02zX", value);
        return std::string(text);
    };
    const struct {
        const char* what;
        std::function<std::vector<std::string>(size_t)> command;
        std::function<bool(size_t)> kept;
    } cases[] = {
        {"eeprom --set",
         [&](size_t i) {
             return std::vector<std::string>{"eeprom", "VTUSB001", "--set",
                                             hex(0x80 + i) + "=" + hex(i + 1)};
         },
         [&](size_t i) { return Eeprom()[0x80 + i] == i + 1; }},
        {"eeprom-fault",
         [&](size_t i) {
             return std::vector<std::string>{"eeprom-fault", "VTUSB001", "write", hex(0x80 + i)};
         },
         [&](size_t i) { return Config().writeFaults.count(static_cast<uint8_t>(0x80 + i)) == 1; }},
        {"call-fault",
         [&](size_t i) {
             return std::vector<std::string>{"call-fault", functions[i], "5", "0x2000"};
         },
         [&](size_t i) {
             return Printers().GetStore().LoadLibraryConfig().callFaults.count(functions[i]) == 1;
         }},
    };
    for (const auto& c : cases) {
        for (int round = 0; round < 2; ++round) {
            std::vector<std::vector<std::string>> runs;
            for (size_t i = 0; i < n; ++i) {
                runs.push_back(c.command(i));
            }
            for (const auto& result : ToolsTogether(runs)) {
                ASSERT_EQ(result.exitCode, 0) << c.what << ": " << result.err;
            }
            for (size_t i = 0; i < n; ++i) {
                EXPECT_TRUE(c.kept(i)) << c.what << " " << i << " was lost";
            }
            ASSERT_EQ(Tool({"clear-faults", "VTUSB001", "--library"}).exitCode, 0);
            ASSERT_EQ(Tool({"new-board", "VTUSB001"}).exitCode, 0);
        }
    }
}

class ControlToolPrints : public ControlTool {
  protected:
    static Stream Job() {
        Stream s;
        s.Init().SmallPage(100).Text("Hi").Raw({0x0D, 0x0A, 0x00});
        s.Packet(0x00, 0x00, {2, 2, 0xFD, 0xFF}).Graphics().Resolution().Block(0, 2, 2);
        s.Run(4, 0xE4).Raw({0x1B, 'Q'}).FormFeed();
        return s;
    }
    void Print(const Stream& stream) {
        ASSERT_EQ(OpenLink(), ResultOk);
        ASSERT_EQ(
            Link().SendDataChannel(stream.bytes.data(), static_cast<uint32_t>(stream.bytes.size())),
            ResultOk);
    }
};

TEST_F(ControlToolPrints, ListsThePagesAndPrintsTheReceivedStreamAgainAsItWas) {
    Print(Job());
    const auto pages = Tool({"pages", "VTUSB001"});
    ASSERT_EQ(pages.exitCode, 0) << pages.err;
    const std::string folder = StateFolder() + "/VTUSB001/pages/";
    const auto size = std::filesystem::file_size(folder + "page-0001.png");
    EXPECT_EQ(pages.out, "page-0001.png  2880 x 100  " + std::to_string(size) + " bytes\n");

    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) { eeprom[0x37] = 0; });
    const auto reprint = Tool({"reprint", "VTUSB001"});
    ASSERT_EQ(reprint.exitCode, 0) << reprint.err;
    EXPECT_EQ(reprint.out, "fault at offset 73: unknown command ESC 0x51\nprinted page-0002.png\n");
    // The same pixels; the values stored when the page was first printed are
    // not known to a reprint, so its picture does not name them.
    const std::string first = testing_support::ReadFile(folder + "page-0001.png");
    const std::string again = testing_support::ReadFile(folder + "page-0002.png");
    const auto pixels = [](const std::string& png) {
        uint32_t width = 0;
        uint32_t height = 0;
        std::vector<uint8_t> dots;
        EXPECT_TRUE(
            vprinter::DecodePng(std::vector<uint8_t>(png.begin(), png.end()), width, height, dots));
        return dots;
    };
    EXPECT_EQ(pixels(again), pixels(first));
    EXPECT_NE(first.find("tEXtOrvane stored values"), std::string::npos);
    EXPECT_EQ(again.find("tEXt"), std::string::npos);
    EXPECT_EQ(Eeprom()[0x37], 0) << "printing again leaves the printer as it is";
    EXPECT_EQ(Config().paper, 99);
}

TEST_F(ControlToolPrints, InspectListsTheCommandsOfAStreamFileOrOfRawData) {
    Print(Job());
    const auto listed = Tool({"inspect", StateFolder() + "/VTUSB001/received.stream"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    for (const std::string line :
         {"-- printer started\n-- command code 0B 54\n-- call 1: 76 bytes\n",
          "         0  ESC @        initialize\n",
          "        28  text         \"Hi\"\n        30  CR\n        31  LF\n        32  NUL\n",
          "        33  ESC |        Bi-D VSD2 colour -3\n",
          "        62  ESC i        black, compression 1, 2 bits a dot, 2 bytes x 2 lines\n"
          "        71  data         1 unit, 4 bytes\n",
          "        73  fault        unknown command ESC 0x51\n        75  FF           eject\n"}) {
        EXPECT_NE(listed.out.find(line), std::string::npos) << line << "\nin\n" << listed.out;
    }

    testing_support::TempFolder temporary;
    testing_support::WriteFile(temporary / "raw.prn",
                               std::string("\x1B@ab\x1B(v\x02\x00\x10\x00\x1B(", 13));
    const auto raw = Tool({"inspect", temporary / "raw.prn"});
    ASSERT_EQ(raw.exitCode, 0) << raw.err;
    EXPECT_EQ(raw.out,
              "         0  ESC @        initialize\n"
              "         2  sheet        taken from the tray, 4208 rows\n"
              "         2  text         \"ab\"\n"
              "         4  ESC ( v      down 16 units\n"
              "        11  fault        the stream ends 2 bytes into a command\n");
}

TEST_F(ControlToolPrints, LoadingPaperEndsPaperOut) {
    ASSERT_EQ(Tool({"paper", "VTUSB001", "0"}).exitCode, 0);
    ASSERT_EQ(OpenLink(), ResultOk);
    const uint8_t text[] = {'x'};
    EXPECT_EQ(Link().SendDataChannel(text, 1), ResultChannelError);
    EXPECT_EQ(Config().state, 0);
    EXPECT_EQ(Config().error, 6);
    ASSERT_EQ(Tool({"paper", "VTUSB001", "2"}).exitCode, 0);
    PrinterStatus status;
    ASSERT_EQ(Link().InquireStatus(status.Bytes()), ResultOk);
    EXPECT_EQ(status.State(), PrinterStatus::StateReady);
    EXPECT_EQ(Link().SendDataChannel(text, 1), ResultOk);
}

TEST_F(ControlTool, AnUnknownCommandIsNamed) {
    const auto result = Tool({"frobnicate"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("frobnicate"), std::string::npos) << result.err;
}

TEST_F(ControlTool, BadStateFoldersGetOneLineAndExitCodeTwo) {
    testing_support::TempFolder temporary;
    testing_support::WriteFile(temporary / "file", "not a folder");
    testing_support::WriteFile(temporary / "raw.prn", "ab");
    for (const std::string& folder : {std::string(), temporary / "file", temporary / "file/sub"}) {
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"list"}, {"inspect", temporary / "raw.prn"}}) {
            std::vector<std::string> args = {testing_support::OutputFolder() + "/orvane-vprinter",
                                             "--dir", folder};
            args.insert(args.end(), command.begin(), command.end());
            const auto result = testing_support::RunProcess(args, StateFolder());
            EXPECT_EQ(result.exitCode, 2) << folder << " " << command[0];
            EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1)
                << folder << result.err;
            EXPECT_NE(result.err.find("state folder"), std::string::npos) << result.err;
            EXPECT_TRUE(result.out.empty()) << result.out;
        }
    }
}

// Stream files that are cut short or break the format: what can be read is
// still listed or printed, the damage is noted on stderr, exit code 1.
TEST_F(ControlToolPrints, DamagedStreamFilesAreNotedOnStderrWithExitCodeOne) {
    const auto bytes = Job().bytes;
    const std::string code = vprinter::StreamRecordBytes('C', 1, bytes.data(), 2);
    const std::string call = vprinter::StreamRecordBytes('D', 1, bytes.data(), bytes.size());
    const std::string whole = std::string(vprinter::kStreamMagic) + call + call;
    struct Case {
        std::string file;
        std::string note;
    };
    const std::vector<Case> cases = {
        {whole.substr(0, whole.size() - 5), "cut short"},
        {whole.substr(0, 12), "cut short"},
        {std::string(vprinter::kStreamMagic) + code.substr(0, 4) + '\x03' + code.substr(5) + "x" +
             call,
         "damaged"},
    };
    const std::string received = StateFolder() + "/VTUSB001/received.stream";
    for (const Case& c : cases) {
        testing_support::WriteFile(received, c.file);
        for (const std::string command : {"inspect", "reprint"}) {
            const auto result = Tool({command, command == "inspect" ? received : "VTUSB001"});
            EXPECT_EQ(result.exitCode, 1) << command << " " << c.note;
            EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
            EXPECT_NE(result.err.find(c.note), std::string::npos) << command << result.err;
        }
    }
    // The whole call before the cut is still read.
    testing_support::WriteFile(received, cases[0].file);
    const auto listed = Tool({"inspect", received});
    EXPECT_NE(listed.out.find("-- call 1: 76 bytes\n"), std::string::npos) << listed.out;
    EXPECT_EQ(listed.out.find("-- call 2"), std::string::npos) << listed.out;
}

TEST_F(ControlToolPrints, ReprintStopsAtItsPageLimit) {
    // A stream of exactly the limit is printed whole; one page more stops it.
    for (const int count : {200, 205}) {
        std::filesystem::remove_all(StateFolder() + "/VTUSB001/pages");
        Stream pages;
        pages.Init();
        for (int page = 0; page < count; ++page) {
            pages.SmallPage(2).Text("x").FormFeed();
        }
        const std::string file =
            std::string(vprinter::kStreamMagic) +
            vprinter::StreamRecordBytes('D', 1, pages.bytes.data(), pages.bytes.size());
        testing_support::WriteFile(StateFolder() + "/VTUSB001/received.stream", file);
        const auto result = Tool({"reprint", "VTUSB001"});
        const bool cut = count > 200;
        EXPECT_EQ(result.exitCode, cut ? 1 : 0) << count;
        EXPECT_EQ(result.err.find("reprint stopped after 200 pages") != std::string::npos, cut)
            << result.err;
        EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 200) << count;
        EXPECT_NE(result.out.find("printed page-0200.png\n"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(StateFolder() + "/VTUSB001/pages/page-0201.png"));
    }
}

}  // namespace
