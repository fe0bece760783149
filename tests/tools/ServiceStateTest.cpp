// orvane-service on the virtual printers' state folder: --dir checked and a
// new one made as the other tools do, and a write the printer could not keep
// told as a failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ServiceFixture.h"
#include "eeprom/EepromMap.h"
#include "support/Process.h"

namespace {

namespace fs = std::filesystem;
using testing_support::On;
using testing_support::ServiceTest;
using Json = nlohmann::json;

class ServiceState : public ServiceTest {};

TEST_F(ServiceState, ABadDirIsBadUsageInTheOtherToolsWords) {
    const std::string file = StateFolder() + "/VTUSB001/printer.conf";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "the state folder (--dir) is an empty name"},
        {file, "the state folder " + file + " is not a folder"},
        {file + "/sub", "the state folder " + file + "/sub cannot be made"},
    };
    for (const auto& [folder, said] : cases) {
        for (const char* command : {"ports", "status"}) {
            ClearTrace();
            const Run run = Service({"--dir", folder, "--port", "VTUSB001", command});
            EXPECT_EQ(run.exit, 2) << folder << " " << command;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_TRUE(run.err.starts_with("orvane-service: " + said)) << run.err;
            EXPECT_TRUE(Calls().empty()) << folder << " " << command;
        }
    }
}

// A --dir not there yet is made with its two printers, also while another
// tool makes its first use of it at the same time.
TEST_F(ServiceState, ANewDirIsMadeAsTheOtherToolsMakeIt) {
    const std::string bin = testing_support::OutputFolder();
    for (int round = 0; round < 8; ++round) {
        const std::string folder = StateFolder() + "/new" + std::to_string(round) + "/state";
        std::vector<std::vector<std::string>> runs = {
            {bin + "/orvane-service", "--dir", folder, "--json", "ports"}};
        // The first round alone, the others beside the control tool.
        if (round > 0) {
            runs.push_back({bin + "/orvane-vprinter", "--dir", folder, "list"});
        }
        const auto results = testing_support::RunProcessesTogether(runs, StateFolder());
        for (const auto& result : results) {
            ASSERT_EQ(result.exitCode, 0) << "round " << round << ": " << result.err;
        }
        // The virtual printers' ports (Windows lists the spooler's too).
        const Json listed = Json::parse(results[0].out);
        std::vector<std::string> printers;
        for (const Json& port : listed["ports"]) {
            if (port["port"].get<std::string>().starts_with("VTUSB")) {
                printers.push_back(port["port"]);
            }
        }
        EXPECT_EQ(printers, (std::vector<std::string>{"VTUSB001", "VTUSB002"}))
            << "round " << round << ": " << results[0].out;
    }
}

// A value the printer took but could not keep (its EEPROM file cannot be
// replaced, as on a full or read-only disk) fails the command with the
// link's message, and the service log holds the failure, not "ok".
TEST_F(ServiceState, AWriteThePrinterCouldNotKeepFails) {
    // Every byte of its EEPROM fails to be written, as on a full or read-only
    // disk: the value packets' stores fail.
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        for (int address = 0; address < 256; ++address) {
            config.writeFaults[static_cast<uint8_t>(address)] = 0x2000;
        }
    });
    const vprinter::Eeprom before = Eeprom();
    for (const char* assignment :
         {"pf-black=2", "bid-vsd1-black=3", "top-margin=+", "head-angular=2", "first-dot=5"}) {
        const Run run = Service(On({"--json", "adjust", "set", assignment}));
        EXPECT_EQ(run.exit, 1) << assignment << ": " << run.err;
        EXPECT_NE(run.err.find("Communication error occurred."), std::string::npos) << run.err;
        const Json error = Json::parse(run.out);
        EXPECT_EQ(error["code"], 0x2000) << assignment;
        // At most the packet before the failed store, never the value as kept.
        const std::string name = std::string(assignment).substr(0, std::string(assignment).find('='));
        EXPECT_FALSE(error.value("written", Json::object()).contains(name))
            << assignment << ": " << run.out;
        const Json records = Json::parse(Service({"--json", "log"}).out)["records"];
        ASSERT_FALSE(records.empty()) << assignment;
        EXPECT_EQ(records.back()["result"], "0x2000") << assignment << ": " << records.dump();
    }
    EXPECT_EQ(Eeprom(), before);
}

}  // namespace
