// orvane-service's checks, exit codes, messages, dry runs and waits.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "ServiceFixture.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "platform/Files.h"
#include "support/PlantedFifo.h"
#include "vprinter/Store.h"

namespace {

using testing_support::ServiceTest;
using Json = nlohmann::json;
using testing_support::On;

class ServiceCommand : public ServiceTest {};

// An input a check refuses ends the run with 3 and the check's message
// before anything reaches the printer; with several values, one refused
// value keeps every other from being written too.
TEST_F(ServiceCommand, ARefusedInputExitsWithThreeAndWritesNothing) {
    struct Case {
        std::vector<std::string> args;
        std::string said;
    };
    const std::vector<Case> cases = {
        {{"adjust", "set", "pf-black=5"}, "pf-black: The input value is wrong."},
        {{"adjust", "set", "pf-color=two"}, "pf-color: The input value is wrong."},
        {{"adjust", "set", "bid-vsd1-color=37"}, "bid-vsd1-color: VSD1 Color value is wrong."},
        {{"adjust", "set", "bid-eco-black=x"}, "bid-eco-black: ECO Black value is wrong."},
        {{"adjust", "set", "head-angular=-4"}, "head-angular: Head angular value is wrong."},
        {{"adjust", "set", "top-margin=40"}, "top-margin: Please select the adjustemnt value."},
        {{"adjust", "set", "first-dot=-128"},
         "first-dot: First dot value is wrong. Set a value from -127 to 127."},
        {{"adjust", "set", "pf-black=1", "bid-vsd3-black=2", "first-dot=300"},
         "first-dot: First dot value is wrong."},
        {{"identity", "set", "--head-id", "123456789"}, "head ID: The number of digit is wrong."},
        {{"identity", "set", "--head-id", "12345601FA"}, "head ID: Check ID is wrong."},
        {{"identity", "set", "--market", "--usb-id", "AB12-D34EF"},
         "USB ID: Parameter is only number & alphabet."},
        {{"identity", "set", "--head-id", "12345601F%", "--usb-id", "SHORT"},
         "USB ID: The Number of digit is wrong."},
    };
    for (const Case& c : cases) {
        ClearTrace();
        const Run run = Service(On(c.args));
        EXPECT_EQ(run.exit, 3) << c.said;
        EXPECT_NE(run.err.find("orvane-service: " + c.said), std::string::npos) << run.err;
        EXPECT_FALSE(AnyWrite()) << c.said;
    }
}

TEST_F(ServiceCommand, ARestoreWithoutABackupIsRefusedBeforeAnyWrite) {
    const Run run = Service(On({"--model", "K32", "--json", "restore"}));
    EXPECT_EQ(run.exit, 3);
    EXPECT_NE(run.err.find("Cannot read data from file."), std::string::npos) << run.err;
    EXPECT_EQ(Json::parse(run.out)["code"], ResultEepromFileError);
    EXPECT_FALSE(AnyWrite());
}

// Bad usage ends the run with 2 before the link is opened.
TEST_F(ServiceCommand, BadUsageExitsWithTwoBeforeTheLinkIsOpened) {
    const std::string existing = StateFolder() + "/VTUSB001/printer.conf";
    // A FIFO and a device are never replaced by a dump, even with --force
    // (Windows has neither: there these two cases are left out).
    const std::string fifo = StateFolder() + "/fifo.eep";
    testing_support::PlantedFifo planted(fifo, testing_support::PlantedFifo::Side::ForWriters);
#ifndef _WIN32
    ASSERT_TRUE(planted.Made());
#endif
    const std::string device = StateFolder() + "/device.eep";
    const bool deviceMade = testing_support::MakeCharacterDevice(device, 7);
    std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"--port", "VTUSB001", "--model", "K33", "status"},
        {"status"},  // two printers: which?
        {"--port", "VTUSB009", "status"},
        On({"adjust", "pf-blak"}),
        On({"adjust", "set"}),
        On({"adjust", "set", "pf-black"}),
        On({"adjust", "set", "cr-heat-protect=54"}),
        On({"adjust", "set", "pf-black=1", "pf-black=2"}),
        On({"identity", "set"}),
        On({"print", "everything"}),
        On({"print", "pf-black", "--items", "bid-eco-black"}),
        On({"print", "bid", "--items", "pf-black"}),
        On({"dump"}),
        On({"dump", existing}),
        On({"dump", StateFolder() + "/no/such/folder/dump.eep"}),
        On({"dump", ""}),
        On({"--dry-run", "backup", "list"}),
        {"--dir", "", "ports"},
        {"--dir", existing, "ports"},
    };
    if (planted.Made()) {
        cases.push_back(On({"dump", "--force", fifo}));
        cases.push_back(On({"dump", "--force", deviceMade ? device : fifo}));
    }
    for (const auto& args : cases) {
        ClearTrace();
        const Run run = Service(args);
        std::string joined;
        for (const auto& arg : args) {
            joined += arg + " ";
        }
        EXPECT_EQ(run.exit, 2) << joined << run.err;
        EXPECT_TRUE(Calls().empty()) << joined;
        EXPECT_NE(run.err.find("orvane-service: "), std::string::npos) << joined;
    }
    EXPECT_FALSE(planted.WasOpened()) << "a dump wrote into the FIFO";
}

// A printer or link that fails ends the run with 1 and the message of the
// result-code table.
TEST_F(ServiceCommand, AFailingPrinterExitsWithOneAndTheTablesMessage) {
    struct Case {
        const char* name;
        std::function<void()> fault;
        std::vector<std::string> args;
        std::string said;
        std::string writtenBefore = "";  // what stays written, as JSON
    };
    const std::vector<Case> cases = {
        {"switched off",
         [this] {
             ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& c) { c.powered = false; });
         },
         {"status"},
         "Communication error occurred. Check the I/F cable connection and power of printer."},
        {"paper jam before a cleaning",
         [this] { SetPrinterState(0, 4); },
         {"clean"},
         "Paper jam error. Clear the error and click the [Get Status] button."},
        {"a failing EEPROM write",
         [this] { FailNextCall("D4WriteEeprom", ResultChannelError); },
         {"waste", "reset"},
         "Communication error occurred."},
        {"no memory for a send",
         [this] { FailNextCall("SendDataChannel", ResultOutOfMemory); },
         {"adjust", "set", "pf-color=1"},
         "There is not enough free memory to run this program. Quit one or more programs, and "
         "then try again."},
        {"a failing write after a value was written",
         [this] { FailNextCall("D4WriteEeprom", ResultChannelError); },
         {"adjust", "set", "pf-black=-1", "cr-heat-protect"},
         "Communication error occurred.",
         R"({"pf-black":-1})"},
    };
    for (const Case& c : cases) {
        c.fault();
        std::vector<std::string> args = On({"--json"});
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Run run = Service(args);
        EXPECT_EQ(run.exit, 1) << c.name;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << c.name << ": " << run.err;
        const Json error = Json::parse(run.out);
        EXPECT_EQ(error["exit"], 1) << c.name;
        EXPECT_TRUE(error["code"].is_number()) << c.name;
        EXPECT_NE(error["error"].get<std::string>().find(c.said), std::string::npos) << c.name;
        EXPECT_EQ(error.contains("written") ? error["written"].dump() : "", c.writtenBefore)
            << c.name;
        ChangeLibrary([](vprinter::LibraryConfig& config) { config = {}; });
        ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
            config.powered = true;
            config.state = 4;
            config.error = 0;
        });
    }
}

// The market setting, the Head ID and the waste ink pad counter go on when
// the printer is in its error state, as on their pages; the others stop.
TEST_F(ServiceCommand, OnlyThePagesThatGoOnInTheErrorStateGoOn) {
    struct Case {
        std::vector<std::string> args;
        int exit;
        bool writes;
    };
    // The market setting last: the printer restarts after it.
    const std::vector<Case> cases = {
        {{"waste"}, 0, false},
        {{"waste", "reset"}, 0, true},
        {{"identity", "set", "--head-id", "12345601F%"}, 0, true},
        {{"identity", "set", "--usb-id", "AB12CD34EF"}, 1, false},
        {{"adjust", "set", "pf-black=1"}, 1, false},
        {{"print", "nozzle-check"}, 1, false},
        {{"--model", "K31", "identity", "set", "--market"}, 0, true},
    };
    for (const Case& c : cases) {
        SetPrinterState(0, 16);
        ClearTrace();
        const Run run = Service(On(c.args));
        EXPECT_EQ(run.exit, c.exit) << c.args.back() << run.err;
        EXPECT_EQ(AnyWrite(), c.writes) << c.args.back();
        if (c.exit == 1) {
            EXPECT_NE(run.err.find("Maintenance error."), std::string::npos) << run.err;
        }
    }
}

// A dry run reads from the printer but changes nothing, lists exactly the
// writes and sends the real run makes, and no wait of it hangs.
TEST_F(ServiceCommand, ADryRunListsWhatTheRunWouldSendAndSendsNothing) {
    const std::vector<std::vector<std::string>> cases = {
        {"adjust", "set", "pf-black=-2", "top-margin=-", "bid-vsd1-black=3", "first-dot=12"},
        {"adjust", "set", "head-angular=1", "cr-heat-protect"},
        {"--model", "K32", "identity", "set", "--head-id", "12345601F%", "--usb-id", "AB12CD34EF",
         "--market"},
        {"waste", "reset"},
        {"clean"},
        {"ink-charge"},
        {"print", "nozzle-check"},
    };
    for (const auto& args : cases) {
        const Snapshot before = Take();
        ClearTrace();
        std::vector<std::string> dry = On({"--json", "--dry-run"});
        dry.insert(dry.end(), args.begin(), args.end());
        const Run run = Service(dry);
        ASSERT_EQ(run.exit, 0) << args.back() << run.err;
        EXPECT_FALSE(AnyWrite()) << args.back();
        EXPECT_EQ(Eeprom(), before.eeprom) << args.back();
        const Json listed = Json::parse(run.out)["dry_run"];
        ASSERT_FALSE(listed.empty()) << args.back();
        // No text claims a write that did not happen.
        std::istringstream lines(run.err);
        for (std::string line; std::getline(lines, line);) {
            EXPECT_EQ(line.rfind("(dry run) ", 0), 0u) << args.back() << ": " << line;
        }

        // The same command for real: its writes are the list.
        ClearTrace();
        std::vector<std::string> real = On({});
        real.insert(real.end(), args.begin(), args.end());
        ASSERT_EQ(Service(real).exit, 0) << args.back();
        Json sent = Json::array();
        for (const auto& call : Calls()) {
            if (call.function == "D4WriteEeprom") {
                sent.push_back({{"function", call.function},
                                {"address", call.args[0]},
                                {"value", call.args[1]}});
            } else if (call.function == "SendDataChannel" && call.data.size() <= 64) {
                std::string hex;
                char pair[3];
                for (const uint8_t byte : call.data) {
                    std::snprintf(pair, sizeof pair, "%02X", byte);
                    hex += pair;
                }
                sent.push_back(
                    {{"function", call.function}, {"length", call.data.size()}, {"data", hex}});
            } else if (call.function == "D4Reset") {
                sent.push_back({{"function", call.function}});
            }
        }
        Json listedSmall = Json::array();
        for (const Json& entry : listed) {
            if (!entry.contains("head")) {
                listedSmall.push_back(entry);
            }
        }
        // A real run's waits send the initialize command while the printer
        // works; the dry run's printer never works, so only the writes the
        // command itself makes are compared.
        const auto isInitialize = [](const Json& entry) {
            return entry["function"] == "SendDataChannel" && entry.contains("data") &&
                   entry["data"] == "1B40";
        };
        Json own = Json::array();
        for (const Json& entry : sent) {
            if (!isInitialize(entry)) {
                own.push_back(entry);
            }
        }
        Json listedOwn = Json::array();
        for (const Json& entry : listedSmall) {
            if (!isInitialize(entry)) {
                listedOwn.push_back(entry);
            }
        }
        EXPECT_EQ(listedOwn, own) << args.back();
        Put(before);
    }
}

TEST_F(ServiceCommand, ADryRunRestoreKeepsItsBackup) {
    ASSERT_EQ(Service(On({"backup"})).exit, 0);
    const Run run = Service(On({"--dry-run", "--model", "K31", "--json", "restore"}));
    ASSERT_EQ(run.exit, 0) << run.err;
    const Json result = Json::parse(run.out);
    EXPECT_EQ(result["dry_run"].size(), eeprom::BackupAddresses.size() + 5);
    std::string kept;
    EXPECT_EQ(orvane::ReadWholeFile(result["file"], size_t{1} << 30, kept), orvane::FileRead::Done);
    EXPECT_EQ(kept.size(), 64U);
}

// A dry run of a command that writes a file reads the printer as the command
// does, writes nothing on disk, and tells what the command would write: its
// object is the command's own, marked as a dry run that sends nothing.
TEST_F(ServiceCommand, ADryRunBackupOrDumpReadsAsTheCommandAndWritesNoFile) {
    ASSERT_EQ(Service(On({"--model", "K31", "backup"})).exit, 0);
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) { eeprom[0x2C] = 9; });
    const std::string folder = Json::parse(Service({"--json", "backup", "list"}).out)["folder"];
    const std::string dump = StateFolder() + "/dump.eep";
    const auto files = [&] {
        std::map<std::string, std::string> contents;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            contents[entry.path().string()] = testing_support::ReadFile(entry.path().string());
        }
        contents["dump exists"] = std::filesystem::exists(dump) ? "yes" : "no";
        return contents;
    };
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--model", "K31", "backup"}, {"dump", dump}}) {
        const auto before = files();
        ClearTrace();
        std::vector<std::string> dry = On({"--json", "--dry-run"});
        dry.insert(dry.end(), args.begin(), args.end());
        const Run run = Service(dry);
        ASSERT_EQ(run.exit, 0) << args.back() << run.err;
        const std::vector<Call> reads = CommandCalls();
        EXPECT_FALSE(AnyWrite()) << args.back();
        EXPECT_EQ(files(), before) << args.back();
        std::istringstream lines(run.err);
        for (std::string line; std::getline(lines, line);) {
            EXPECT_EQ(line.rfind("(dry run) ", 0), 0u) << args.back() << ": " << line;
        }

        ClearTrace();
        std::vector<std::string> real = On({"--json"});
        real.insert(real.end(), args.begin(), args.end());
        const Run done = Service(real);
        ASSERT_EQ(done.exit, 0) << args.back() << done.err;
        EXPECT_EQ(CommandCalls(), reads) << args.back();
        Json expected = Json::parse(done.out);
        const std::string file = expected["file"];
        EXPECT_NE(run.err.find("Would write " + file + " (" + expected["bytes"].dump() + " bytes)"),
                  std::string::npos)
            << run.err;
        if (expected.contains("kept_as")) {
            // The old backup is kept where the dry run said it would be.
            ASSERT_TRUE(expected["kept_as"].is_string()) << done.out;
            EXPECT_TRUE(std::filesystem::exists(expected["kept_as"].get<std::string>()));
            EXPECT_NE(run.err.find("kept as " + expected["kept_as"].get<std::string>()),
                      std::string::npos)
                << run.err;
        }
        expected["dry_run"] = Json::array();
        EXPECT_EQ(Json::parse(run.out), expected) << args.back();
    }
    // The dump's progress goes by tenths up to 100%.
    const Run dumped = Service(On({"dump", StateFolder() + "/progress.eep"}));
    ASSERT_EQ(dumped.exit, 0) << dumped.err;
    std::string progress;
    std::istringstream lines(dumped.err);
    for (std::string line; std::getline(lines, line);) {
        progress += line.ends_with('%') ? line + " " : "";
    }
    EXPECT_EQ(progress, "10% 20% 30% 40% 50% 60% 70% 80% 90% 100% ");
}

// Cleaning and ink charge show on stderr that the printer works while it
// does, and end when it is ready again.
TEST_F(ServiceCommand, LongSequencesShowTheirProgress) {
    for (const auto& [command, text] : {std::pair{"clean", "The head cleaning has completed."},
                                        std::pair{"ink-charge", "The ink charge has completed."}}) {
        const Run run = Service(On({command}));
        ASSERT_EQ(run.exit, 0) << run.err;
        EXPECT_NE(run.err.find("Printer is cleaning. (5 s)"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(text), std::string::npos) << run.err;
        EXPECT_EQ(Config().state, 4);
    }
}

// Out of paper, print waits as orvane-pattern does: for paper, up to its
// limit.
TEST_F(ServiceCommand, PrintWaitsForPaperUpToItsLimit) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.paper = 0; });
    Run run = Service(On({"print", "nozzle-check", "--paper-wait", "3"}));
    EXPECT_EQ(run.exit, 1);
    EXPECT_NE(run.err.find("VTUSB001 is out of paper"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("no paper after 3 s"), std::string::npos) << run.err;

    // Paper loaded while it waits: the page comes out.
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.paper = 0;
        config.state = 4;
        config.error = 0;
    });
    Clock().onSleep = [this](uint32_t) {
        if (Config().paper == 0) {
            // As orvane-vprinter paper does: paper ends the paper-out error.
            ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
                config.paper = 5;
                config.state = 4;
                config.error = 0;
            });
        }
    };
    run = Service(On({"print", "nozzle-check"}));
    Clock().onSleep = nullptr;
    EXPECT_EQ(run.exit, 0) << run.err;
}

// The port is the only printer port when there is one; the port number
// follows the boot window's rule.
TEST_F(ServiceCommand, TheOnlyPrinterPortNeedsNoPortOption) {
    ASSERT_TRUE(Printers().GetStore().RemovePrinter("VTUSB002"));
    const Run run = Service({"--json", "status"});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(Json::parse(run.out)["port"], "VTUSB001");
    EXPECT_EQ(Calls("PortOpenByPway").at(0).args.at(0), 1025);
}

// A new main board: identity shows what it can, and says what its USB ID
// bytes are.
TEST_F(ServiceCommand, IdentityOfANewBoardNamesItsUnreadableUsbId) {
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) { eeprom.fill(0xFF); });
    const Run run = Service(On({"--json", "identity"}));
    ASSERT_EQ(run.exit, 0) << run.err;
    const Json result = Json::parse(run.out);
    EXPECT_TRUE(result["usb_id"].is_null());
    EXPECT_EQ(result["usb_id_error"], "The USB ID is wrong.");
    EXPECT_EQ(result["model_name"], "Orvane K31");
}

}  // namespace
