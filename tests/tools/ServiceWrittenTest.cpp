// A write command that fails tells what it wrote: on stderr and as
// `written`, in agreement with what the printer accepted and holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <nlohmann/json.hpp>

#include "ServiceFixture.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "link/ServiceLog.h"
#include "platform/BackupFolder.h"
#include "platform/Files.h"
#include "vprinter/Store.h"

namespace {

// As the tool writes it: the keys in their order.
using OrderedJson = nlohmann::ordered_json;

// Long enough for the printer to be back from a restart.
constexpr uint32_t kRestartMilliseconds = 120000;

enum class FailAt { ThirdWrite, Write35, LastWrite, Reset, FinalPoll };

struct FailureCase {
    const char* name;
    std::vector<std::string> args;
    FailAt at;
    std::vector<std::string> whole;  // the keys of the values written whole
    std::string partial;             // "value accepted of", or "" for none
    std::string said;                // on stderr
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class ServiceWritten : public testing_support::ServiceTest {
  protected:
    std::string BackupFile() const { return orvane::BackupFolder() + "/bkupdata.eep"; }

    // Every case starts on the same board, with a backup of other bytes,
    // recorded for the K31, and a copy of it elsewhere.
    void Prepare() {
        Clock().Sleep(kRestartMilliseconds);
        ChangeLibrary([](vprinter::LibraryConfig& config) { config = {}; });
        ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
            config.state = 4;
            config.error = 0;
        });
        ChangeEeprom("VTUSB001", [this](vprinter::Eeprom& eeprom) {
            eeprom = board_;
            // A used pad: its reset changes every byte.
            for (const uint8_t address : {0x0C, 0x0D, 0x2B, 0x3E, 0x3F}) {
                eeprom[address] = 0x21;
            }
        });
        std::filesystem::create_directories(orvane::BackupFolder());
        std::string backup;
        for (const uint8_t address : eeprom::BackupAddresses) {
            backup.push_back(static_cast<char>(address ^ 0x33));
        }
        ASSERT_EQ(orvane::ReplaceFile(BackupFile(), backup), orvane::FileWrite::Done);
        ASSERT_EQ(orvane::ReplaceFile(orvane::BackupFolder() + "/bkupdata.model", "K31\n"),
                  orvane::FileWrite::Done);
        ASSERT_EQ(orvane::ReplaceFile(StateFolder() + "/copy.eep", backup), orvane::FileWrite::Done);
    }

    // The printer's own writes among the calls: EEPROM writes, the restart
    // and the command packets (ESC '|'), not the initialize of the waits.
    static bool OwnWrite(const vprinter::TraceEntry& call) {
        return call.function == "D4WriteEeprom" || call.function == "D4Reset" ||
               (call.function == "SendDataChannel" && call.data.size() > 1 &&
                call.data[0] == 0x1B && call.data[1] == 0x7C);
    }

    // The call to fail, as (function, nth call of it), found in the trace
    // of the same run without a fault.
    static std::pair<std::string, int> CallToFail(const std::vector<vprinter::TraceEntry>& trace,
                                                  FailAt at) {
        std::map<std::string, int> seen;
        std::vector<std::pair<std::string, int>> writes;
        for (const auto& call : trace) {
            const int nth = ++seen[call.function];
            if (OwnWrite(call) && call.function != "D4Reset") {
                writes.emplace_back(call.function, nth);
            }
        }
        switch (at) {
            case FailAt::ThirdWrite:
                return writes.at(2);
            case FailAt::Write35:
                return writes.at(34);
            case FailAt::LastWrite:
                return writes.back();
            case FailAt::Reset:
                return {"D4Reset", 1};
            case FailAt::FinalPoll:
                break;
        }
        return {"InquireStatus", seen["InquireStatus"]};
    }

    vprinter::Eeprom board_{};
};

class ServiceWrittenCases : public ServiceWritten,
                            public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ServiceWrittenCases, TellsWhatThePrinterAcceptedBeforeTheFailure) {
    const FailureCase& c = GetParam();
    board_ = Eeprom();
    std::vector<std::string> args = testing_support::On({"--model", "K31", "--json"});
    for (const std::string& arg : c.args) {
        args.push_back(arg == "COPY" ? StateFolder() + "/copy.eep" : arg);
    }

    Prepare();
    ClearTrace();
    ASSERT_EQ(Service(args).exit, 0);
    const auto [function, nth] = CallToFail(Calls(), c.at);

    Prepare();
    const vprinter::Eeprom before = Eeprom();
    FailNextCall(function, ResultChannelError, nth);
    ClearTrace();
    const Run run = Service(args);
    ASSERT_EQ(run.exit, 1) << run.err;
    EXPECT_NE(run.err.find("orvane-service: Communication error occurred."), std::string::npos)
        << run.err;
    const std::string told = "\norvane-service: written before the failure: ";
    const size_t line = run.err.find(told);
    ASSERT_NE(line, std::string::npos) << run.err;
    EXPECT_NE(run.err.substr(line + 1, run.err.find('\n', line + 1) - line).find(c.said),
              std::string::npos)
        << run.err;
    const OrderedJson error = OrderedJson::parse(run.out);
    const OrderedJson written = error.value("written", OrderedJson::object());
    std::vector<std::string> whole;
    for (const auto& [key, value] : written.items()) {
        if (key != "partial") {
            whole.push_back(key);
        }
    }
    EXPECT_EQ(whole, c.whole) << written.dump();
    std::string partial;
    if (written.contains("partial")) {
        const OrderedJson& cut = written["partial"];
        partial =
            cut["value"].get<std::string>() + " " + cut["accepted"].dump() + " " + cut["of"].dump();
        EXPECT_EQ(cut["writes"].size(), cut["accepted"].get<size_t>());
    }
    EXPECT_EQ(partial, c.partial) << written.dump();

    // What is told is what the printer took: the accepted writes since the
    // value began are the ones listed, and the EEPROM holds them; the write
    // that failed changed nothing.
    std::vector<vprinter::TraceEntry> accepted;
    for (const auto& call : Calls()) {
        if (OwnWrite(call) && call.result == ResultOk) {
            accepted.push_back(call);
        }
    }
    const vprinter::Eeprom after = Eeprom();
    // A later write to an address (the market setting's first dot after a
    // restore's) is what the address holds.
    std::map<uint8_t, uint8_t> last;
    for (const auto& call : accepted) {
        if (call.function == "D4WriteEeprom") {
            last[static_cast<uint8_t>(call.args.at(0))] = static_cast<uint8_t>(call.args.at(1));
        }
    }
    if (written.contains("partial")) {
        const OrderedJson& writes = written["partial"]["writes"];
        ASSERT_LE(writes.size(), accepted.size());
        const size_t first = accepted.size() - writes.size();
        for (size_t i = 0; i < writes.size(); ++i) {
            const auto& call = accepted[first + i];
            if (call.function == "D4WriteEeprom") {
                const auto address = static_cast<uint8_t>(call.args.at(0));
                const auto value = static_cast<uint8_t>(call.args.at(1));
                EXPECT_EQ(writes[i]["target"], servicelog::ByteText(address)) << i;
                EXPECT_EQ(writes[i]["value"], servicelog::ByteText(value)) << i;
                EXPECT_EQ(after[address], last[address]) << i;
            }
        }
    }
    for (const auto& call : Calls("D4WriteEeprom")) {
        const auto address = static_cast<uint8_t>(call.args.at(0));
        if (call.result != ResultOk) {
            EXPECT_NE(before[address], call.args.at(1)) << "a write that would change the board";
            EXPECT_EQ(after[address], before[address]) << "the failed write";
        }
    }
    // The values written whole are all the other accepted writes.
    static const std::map<std::string, size_t> kWritesOf = {
        {"head_id", 5},      {"usb_id", 18},  {"market", 5},         {"waste_counter", 5},
        {"restore", 69},     {"sequence", 1}, {"bid-vsd2-black", 1}, {"bid-eco-color", 1},
        {"head-angular", 2}, {"pf-black", 2}};
    size_t wholeWrites = 0;
    for (const std::string& key : whole) {
        wholeWrites += kWritesOf.at(key);
        if (key == "market" && written["market"]["reset"] == true) {
            ++wholeWrites;
        }
    }
    const size_t partialWrites =
        written.contains("partial") ? written["partial"]["writes"].size() : 0;
    EXPECT_EQ(wholeWrites + partialWrites, accepted.size());
}

std::string FailureCaseName(const ::testing::TestParamInfo<FailureCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    WriteCommands, ServiceWrittenCases,
    ::testing::Values(
        FailureCase{"HeadIdThirdWrite",
                    {"identity", "set", "--head-id", "12345601F%"},
                    FailAt::ThirdWrite,
                    {},
                    "head_id 2 5",
                    "2 of 5 Head ID bytes (0x42=0x12, 0x43=0x34)"},
        FailureCase{"HeadIdLastWrite",
                    {"identity", "set", "--head-id", "12345601F%"},
                    FailAt::LastWrite,
                    {},
                    "head_id 4 5",
                    "4 of 5 Head ID bytes (0x42=0x12, 0x43=0x34, 0x44=0x56, 0x45=0x01)"},
        FailureCase{"UsbIdFinalPoll",
                    {"identity", "set", "--usb-id", "AB12CD34EF"},
                    FailAt::FinalPoll,
                    {"usb_id"},
                    "",
                    "usb_id=\"AB12CD34EF"},
        FailureCase{"UsbIdAndMarketThirdWrite",
                    {"identity", "set", "--usb-id", "AB12CD34EF", "--market"},
                    FailAt::ThirdWrite,
                    {},
                    "usb_id 2 18",
                    "2 of 18 USB ID bytes (0x5C=0x41, 0x5D=0x42)"},
        FailureCase{"UsbIdAndMarketLastWrite",
                    {"identity", "set", "--usb-id", "AB12CD34EF", "--market"},
                    FailAt::LastWrite,
                    {"usb_id"},
                    "market 4 5",
                    "; 4 of 5 market setting bytes (0x30=0x04, 0x31=0x00, 0x59=0x18, 0x6E=0x04)"},
        FailureCase{"UsbIdAndMarketReset",
                    {"identity", "set", "--usb-id", "AB12CD34EF", "--market"},
                    FailAt::Reset,
                    {"usb_id", "market"},
                    "",
                    "; market={\"model\":\"K31\",\"reset\":false}"},
        FailureCase{"WasteResetThirdWrite",
                    {"waste", "reset"},
                    FailAt::ThirdWrite,
                    {},
                    "waste_counter 2 5",
                    "2 of 5 waste ink counter bytes (0x0D=0x00, 0x0C=0x00)"},
        FailureCase{"WasteResetLastWrite",
                    {"waste", "reset"},
                    FailAt::LastWrite,
                    {},
                    "waste_counter 4 5",
                    "4 of 5 waste ink counter bytes (0x0D=0x00, 0x0C=0x00, 0x2B=0x00, 0x3E=0x00)"},
        FailureCase{"RestoreWrite35",
                    {"restore"},
                    FailAt::Write35,
                    {},
                    "restore 34 69",
                    "34 of 69 restore bytes (0x04=0x37, 0x05=0x36, 0x06=0x35, ..., "},
        FailureCase{"RestoreLastWrite",
                    {"restore"},
                    FailAt::LastWrite,
                    {},
                    "restore 68 69",
                    "68 of 69 restore bytes ("},
        FailureCase{"RestoreFinalPoll",
                    {"restore"},
                    FailAt::FinalPoll,
                    {"restore"},
                    "",
                    "restore={\"file\":"},
        FailureCase{"RestoreFromThirdWrite",
                    {"restore", "--from", "COPY", "--force"},
                    FailAt::ThirdWrite,
                    {},
                    "restore 2 69",
                    "2 of 69 restore bytes (0x04=0x37, 0x05=0x36)"},
        FailureCase{"AdjustThirdWrite",
                    {"adjust", "set", "head-angular=1", "pf-black=-1", "bid-eco-color=-7",
                     "bid-vsd2-black=12"},
                    FailAt::ThirdWrite,
                    {"bid-vsd2-black", "bid-eco-color"},
                    "",
                    "bid-vsd2-black=12; bid-eco-color=-7"},
        FailureCase{"AdjustLastWrite",
                    {"adjust", "set", "head-angular=1", "pf-black=-1", "bid-eco-color=-7",
                     "bid-vsd2-black=12"},
                    FailAt::LastWrite,
                    {"bid-vsd2-black", "bid-eco-color", "head-angular"},
                    "pf-black 1 2",
                    "; 1 of 2 pf-black writes (pf-black=-1)"},
        FailureCase{"AdjustFinalPoll",
                    {"adjust", "set", "head-angular=1", "pf-black=-1"},
                    FailAt::FinalPoll,
                    {"head-angular", "pf-black"},
                    "",
                    "head-angular=1; pf-black=-1"},
        FailureCase{"CleaningFinalPoll",
                    {"clean"},
                    FailAt::FinalPoll,
                    {"sequence"},
                    "",
                    "sequence=\"cleaning\""}),
    FailureCaseName);

}  // namespace
