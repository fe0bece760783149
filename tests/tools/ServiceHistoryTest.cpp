// orvane-service's backup history and service log: backups kept across a
// board swap, restores from them, and the log of the writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "ServiceFixture.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "tools/service/Output.h"
#include "platform/Files.h"
#include "vprinter/Store.h"

namespace {

using testing_support::ServiceTest;
using Json = nlohmann::json;
using testing_support::On;

class ServiceHistory : public ServiceTest {
  protected:
    Json Backups() { return Json::parse(Service({"--json", "backup", "list"}).out)["backups"]; }
};

// The board swap that loses nothing: a backup pressed by mistake on the new
// board leaves the old board's backup in the history, and a restore from
// it brings the old data back.
TEST_F(ServiceHistory, ABackupOnTheNewBoardKeepsTheOldOnesAndItsRestoreBringsItBack) {
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
        for (const uint8_t address : eeprom::BackupAddresses) {
            eeprom[address] = static_cast<uint8_t>(address ^ 0x5A);
        }
    });
    const vprinter::Eeprom oldBoard = Eeprom();
    ASSERT_EQ(Service(On({"--model", "K31", "backup"})).exit, 0);
    // The new board, and the backup pressed again by mistake.
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) { eeprom.fill(0xFF); });
    ASSERT_EQ(Service(On({"--model", "K31", "backup"})).exit, 0);

    const Json backups = Backups();
    ASSERT_EQ(backups.size(), 2u) << backups.dump();
    EXPECT_FALSE(backups[0]["current"]);
    EXPECT_TRUE(backups[1]["current"]);
    EXPECT_EQ(backups[0]["model"], "K31");
    EXPECT_NE(backups[0]["path"].get<std::string>().find("/history/"), std::string::npos);

    const Run run = Service(On({"--model", "K31", "restore", "--from", backups[0]["path"]}));
    ASSERT_EQ(run.exit, 0) << run.err;
    const vprinter::Eeprom restored = Eeprom();
    // The market setting written after the bytes sets the first dot to its
    // default, as the data copy page's restore does.
    for (const uint8_t address : eeprom::BackupAddresses) {
        if (address != eeprom::FirstDot) {
            EXPECT_EQ(restored[address], oldBoard[address]) << int{address};
        }
    }
    EXPECT_EQ(restored[eeprom::FirstDot], 0x18);
}

// A file that is no backup, or a backup of the other model without
// --force (the page's own file too), is refused before anything is written.
TEST_F(ServiceHistory, ARestoreRefusesWhatIsNoBackupForThisPrinter) {
    ASSERT_EQ(Service(On({"--model", "K32", "backup"})).exit, 0);
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) { eeprom[0x2C] = 7; });
    ASSERT_EQ(Service(On({"--model", "K32", "backup"})).exit, 0);
    const std::string k32 = Backups()[0]["path"];
    const std::string short63 = StateFolder() + "/short.eep";
    ASSERT_EQ(orvane::ReplaceFile(short63, std::string(63, 'A')), orvane::FileWrite::Done);
    // A copy under another name tells no model: it may be of either.
    const std::string copy = StateFolder() + "/copy.eep";
    std::filesystem::copy_file(k32, copy);

    struct Case {
        std::vector<std::string> args;
        int exit;
        std::string said;
    };
    const std::vector<Case> cases = {
        {{"--model", "K31", "restore", "--from", short63}, 3, "Cannot read data from file."},
        {{"--model", "K31", "restore", "--from", k32}, 3, "give --force"},
        {{"--model", "K31", "restore", "--from", copy}, 3, "is not known"},
        {{"--model", "K31", "restore", "--from", StateFolder() + "/none.eep"}, 2, "no such file"},
        {{"--model", "K31", "restore", "--from", StateFolder()}, 2, "not a regular file"},
        {{"--model", "K31", "restore"}, 3, "was taken for an Orvane K32"},
    };
    for (const Case& c : cases) {
        ClearTrace();
        const Run run = Service(On(c.args));
        EXPECT_EQ(run.exit, c.exit) << c.said << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_FALSE(AnyWrite()) << c.said;
    }
    // With --force it is written.
    const Run forced = Service(On({"--model", "K31", "restore", "--from", k32, "--force"}));
    EXPECT_EQ(forced.exit, 0) << forced.err;
    EXPECT_EQ(Eeprom()[0x2C], 0);
}

// A restore whose writes all went through but whose last wait for the
// printer failed keeps its backup file, with its model, so that it can be
// repeated as it was begun; the restore that ends well takes it away.
TEST_F(ServiceHistory, ARestoreThatFailsAfterItsWritesKeepsItsBackupForAnotherTry) {
    ASSERT_EQ(Service(On({"--model", "K31", "backup"})).exit, 0);
    ClearTrace();
    ASSERT_EQ(Service(On({"--model", "K31", "restore"})).exit, 0);
    const int lastPoll = static_cast<int>(Calls("InquireStatus").size());
    ASSERT_EQ(Service(On({"--model", "K31", "backup"})).exit, 0);
    const Json before = Backups();
    ASSERT_TRUE(before.back()["current"]) << before.dump();
    const std::string file = before.back()["path"];
    std::string bytes;
    ASSERT_EQ(orvane::ReadWholeFile(file, 1024, bytes), orvane::FileRead::Done);

    FailNextCall("InquireStatus", ResultChannelError, lastPoll);
    const Run failed = Service(On({"--model", "K31", "restore"}));
    ASSERT_EQ(failed.exit, 1) << failed.err;
    EXPECT_NE(failed.err.find("written before the failure: restore={"), std::string::npos)
        << failed.err;
    EXPECT_EQ(Backups(), before) << "the backup and its model stay where they were";

    const Run again = Service(On({"--model", "K31", "restore"}));
    ASSERT_EQ(again.exit, 0) << again.err;
    EXPECT_FALSE(std::filesystem::exists(file));
    const Json after = Backups();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_FALSE(after.back()["current"]);
    EXPECT_EQ(after.back()["model"], "K31");
    std::string kept;
    ASSERT_EQ(orvane::ReadWholeFile(after.back()["path"], 1024, kept), orvane::FileRead::Done);
    EXPECT_EQ(kept, bytes);
}

// Every write of a command is in the service log with its port; a dry run
// and a refused input add nothing.
TEST_F(ServiceHistory, TheLogListsTheWritesOfTheCommands) {
    ASSERT_EQ(Service(On({"adjust", "set", "pf-black=2"})).exit, 0);
    ASSERT_EQ(Service(On({"--dry-run", "waste", "reset"})).exit, 0);
    ASSERT_EQ(Service(On({"adjust", "set", "pf-black=9"})).exit, 3);
    ASSERT_EQ(Service({"--port", "VTUSB002", "waste", "reset"}).exit, 0);

    const Json all = Json::parse(Service({"--json", "log"}).out)["records"];
    const Json one = Json::parse(Service({"--json", "--port", "VTUSB002", "log"}).out)["records"];
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0]["port"], "VTUSB001");
    EXPECT_EQ(all[0]["target"], "pf-black");
    EXPECT_EQ(all[0]["model"], "Orvane K31");
    ASSERT_EQ(one.size(), 5u) << one.dump();  // the counter's five bytes
    for (const Json& record : one) {
        EXPECT_EQ(record["port"], "VTUSB002");
    }
    EXPECT_EQ(Service({"log", "--since", "yesterday"}).exit, 2);
}

// A print is one record of the log, however many Bi-D test values it sets,
// and the log lists records by kind; a log written before, whose prints left
// a line for each test value ("bid-test"), is read as it is, those lines of
// the kind "pattern".
TEST_F(ServiceHistory, APrintIsOneRecordAndTheLogListsByKind) {
    std::ofstream(ServiceLogPath(), std::ios::app)
        << "2026-12-01T10:00:00+01:00\tVTUSB001\tOrvane K31\t\tbid-test\tbid-vsd1-black\t-1\tok\n"
        << "2026-12-01T10:00:01+01:00\tVTUSB001\tOrvane K31\t\tbid-test\tbid-vsd1-black\t2\tok\n"
        << "2026-12-01T10:00:02+01:00\tVTUSB001\tOrvane K31\t\tnew-thing\t\t\tok\n";
    ASSERT_EQ(Service(On({"print", "bid"})).exit, 0);
    ASSERT_EQ(Service(On({"print", "head-angular"})).exit, 0);
    ASSERT_EQ(Service(On({"adjust", "set", "bid-vsd1-black=2"})).exit, 0);
    ASSERT_EQ(Service(On({"identity", "set", "--usb-id", "AB12CD34EF"})).exit, 0);
    ASSERT_EQ(Service(On({"waste", "reset"})).exit, 0);

    // Each record listed as "operation target", in order.
    const auto listed = [&](const std::vector<std::string>& filter) {
        std::vector<std::string> args = {"--json", "log"};
        args.insert(args.end(), filter.begin(), filter.end());
        const Run run = Service(args);
        EXPECT_EQ(run.exit, 0) << run.err;
        std::vector<std::string> records;
        const Json result = Json::parse(run.out);
        for (const Json& record : result["records"]) {
            records.push_back(record["operation"].get<std::string>() + " " +
                              record["target"].get<std::string>());
        }
        return records;
    };
    const auto only = [](const std::vector<std::string>& records, const std::string& operation) {
        return std::vector<std::string>(records.size(), operation);
    };
    const auto operations = [](std::vector<std::string> records) {
        for (std::string& record : records) {
            record = record.substr(0, record.find(' '));
        }
        return records;
    };
    using Listed = std::vector<std::string>;
    EXPECT_EQ(listed({"--kind", "pattern"}),
              (Listed{"bid-test bid-vsd1-black", "bid-test bid-vsd1-black", "pattern bid",
                      "pattern head-angular"}));
    EXPECT_EQ(listed({"--kind", "write"}), Listed{"bid bid-vsd1-black"});
    EXPECT_EQ(listed({"--kind", "other,write"}), (Listed{"new-thing ", "bid bid-vsd1-black"}));
    const Listed identity = operations(listed({"--kind", "identity"}));
    const Listed reset = operations(listed({"--kind", "reset"}));
    EXPECT_FALSE(identity.empty());
    EXPECT_EQ(identity, only(identity, "usb-id"));
    EXPECT_EQ(reset, Listed(5, "waste-reset")) << "the counter's five bytes";
    EXPECT_EQ(operations(listed({"--kind", "identity", "--kind", "reset"})).size(),
              identity.size() + reset.size());
    EXPECT_TRUE(listed({"--kind", "restore"}).empty());
    EXPECT_EQ(listed({}).size(), 3u + 2u + 1u + identity.size() + 5u) << "every record";

    // The print's one record tells the Bi-D test values it set.
    const Json records = Json::parse(Service({"--json", "log", "--kind", "pattern"}).out)["records"];
    ASSERT_EQ(records.size(), 4u);
    EXPECT_NE(records[2]["value"].get<std::string>().find(" Bi-D test values"), std::string::npos);
    EXPECT_EQ(records[2]["result"], "ok");
    EXPECT_EQ(records[3]["value"], "") << "the head angular page sets no test value";
    const Run wrong = Service({"log", "--kind", "bid-test"});
    EXPECT_EQ(wrong.exit, 2);
    EXPECT_NE(wrong.err.find("--kind bid-test"), std::string::npos) << wrong.err;
}

// The log is written while it is read, a line at a time (a line too long to
// hold is a damaged one), in the text and JSON the whole result would have:
// with and without records, and with a filter that keeps none.
TEST_F(ServiceHistory, TheLogWrittenAsItIsReadIsTheWholeResultsText) {
    for (const int writes : {0, 3}) {
        for (int i = 0; i < writes; ++i) {
            ASSERT_EQ(Service(On({"adjust", "set", "pf-black=" + std::to_string(i)})).exit, 0);
        }
        if (writes > 0) {
            // A record in all but its length.
            std::ofstream(ServiceLogPath(), std::ios::app)
                << "2026-12-07T10:00:00+01:00\tVTUSB001\tOrvane K31\t\tpf\tpf-black\t"
                << std::string(20000, '1') << "\tok\n";
        }
        for (const char* port : {"", "VTUSB002"}) {
            std::vector<std::string> args = {"log"};
            if (*port != '\0') {
                args.insert(args.begin(), {"--port", port});
            }
            const Run json = Service([&] {
                std::vector<std::string> withJson = args;
                withJson.insert(withJson.begin(), "--json");
                return withJson;
            }());
            ASSERT_EQ(json.exit, 0) << json.err;
            const auto whole = orvane::service::Json::parse(json.out);
            EXPECT_EQ(orvane::service::JsonText(whole) + "\n", json.out);
            EXPECT_EQ(whole["records"].size(), *port != '\0' ? 0u : 2u * writes) << json.out;
            EXPECT_EQ(whole["damaged"], writes > 0 ? 1 : 0);
            std::ostringstream text;
            orvane::service::WriteText(text, whole);
            EXPECT_EQ(Service(args).out, text.str());
        }
    }
}

// Lines of the log that are no records are skipped, and how many is told.
TEST_F(ServiceHistory, TheLogTellsHowManyDamagedLinesItSkipped) {
    ASSERT_EQ(Service(On({"adjust", "set", "pf-black=2"})).exit, 0);
    const size_t records = Json::parse(Service({"--json", "log"}).out)["records"].size();
    // Each case appends to the log of the one before.
    const std::vector<std::pair<std::string, size_t>> cases = {
        {"", 0}, {"no fields at all\n", 1}, {"two\tfields\n", 2}};
    for (const auto& [appended, damaged] : cases) {
        std::ofstream(ServiceLogPath(), std::ios::app) << appended;
        const std::string told =
            "orvane-service: " + std::to_string(damaged) + " damaged line(s) of the service log";
        for (const bool json : {false, true}) {
            const Run run = Service(json ? std::vector<std::string>{"--json", "log"}
                                         : std::vector<std::string>{"log"});
            ASSERT_EQ(run.exit, 0) << run.err;
            EXPECT_EQ(run.err.find(told) != std::string::npos, damaged > 0) << run.err;
            if (json) {
                const Json result = Json::parse(run.out);
                EXPECT_EQ(result.value("damaged", Json()), Json(damaged)) << run.out;
                EXPECT_EQ(result["records"].size(), records);
            }
        }
    }
}

// A log that cannot be written stops no write; it is told once on stderr and,
// with --json, in the one object the command prints, its error's too.
TEST_F(ServiceHistory, ALogThatCannotBeWrittenIsToldInTheJsonObjectToo) {
    std::filesystem::create_directories(ServiceLogPath());
    struct Case {
        std::vector<std::string> args;
        int exit;
    };
    const std::vector<Case> cases = {
        {{"--json", "waste", "reset"}, 0},
        {{"--json", "adjust", "set", "pf-black=-1", "cr-heat-protect"}, 1},
        {{"waste", "reset"}, 0},
        {{"--json", "waste"}, 0},
    };
    for (const Case& c : cases) {
        if (c.exit == 1) {
            FailNextCall("D4WriteEeprom", ResultChannelError);
        }
        const Run run = Service(On(c.args));
        ASSERT_EQ(run.exit, c.exit) << run.err;
        const bool wrote = c.args.back() != "waste";
        const std::string told = "the service log cannot be written";
        const size_t first = run.err.find(told);
        EXPECT_EQ(first != std::string::npos, wrote) << run.err;
        EXPECT_EQ(run.err.find(told, first + 1), std::string::npos) << run.err;
        if (c.args.front() == "--json") {
            Json result;
            ASSERT_NO_THROW(result = Json::parse(run.out)) << run.out;
            EXPECT_EQ(result.contains("service_log"), wrote) << run.out;
            EXPECT_EQ(result.contains("error"), c.exit != 0) << run.out;
        } else {
            EXPECT_EQ(run.out.find("service_log"), std::string::npos) << run.out;
        }
        ChangeLibrary([](vprinter::LibraryConfig& config) { config = {}; });
    }
}

}  // namespace
