// Every command that writes sends what the page action it stands for sends:
// the same calls with the same arguments and results, in the same order,
// each run on the same printer.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cctype>
#include <functional>
#include <nlohmann/json.hpp>

#include "ServiceFixture.h"
#include "app/Rk7formadjust.h"
#include "eeprom/EepromMap.h"
#include "platform/Files.h"
#include "vprinter/Store.h"

namespace {

using testing_support::ServiceTest;

class ServiceTraceBase;

constexpr uint32_t kSettleMilliseconds = 120000;

struct PageAction {
    const char* name;
    const char* group;  // navigation group and item of the page
    int item;
    // What the technician does on the page before the trace is kept
    // (typing, choosing), and the press whose calls are compared.
    std::function<void(ServiceTraceBase&)> prepare;
    const char* press;
    std::vector<std::string> command;
};

// ctest names a case by its name, not by its bytes.
void PrintTo(const PageAction& action, std::ostream* os) {
    *os << action.name;
}

class ServiceTraceBase : public ServiceTest {
  public:
    void TypeText(const char* edit, const char* text) {
        Find<QLineEdit>(Adjust(), edit)->setText(QString::fromUtf8(text));
    }
    // Typed key by key, through the edit's own rules (capitals).
    void TypeKeys(const char* edit, const char* text) {
        QLineEdit* line = Find<QLineEdit>(Adjust(), edit);
        line->clear();
        QTest::keyClicks(line, QString::fromUtf8(text));
    }
    // The Bi-D print page's requests: exactly the given ones.
    void Request(const std::vector<const char*>& boxes) {
        for (QCheckBox* box : Adjust().findChildren<QCheckBox*>()) {
            if (box->objectName().endsWith(QStringLiteral("PrnRequestCheckBox"))) {
                box->setChecked(false);
            }
        }
        for (const char* box : boxes) {
            Find<QCheckBox>(Adjust(), box)->setChecked(true);
        }
    }
    // A USB ID the check sheets can read.
    void GiveUsbId() {
        ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
            const std::string id = "AB12CD34EFRC8H0C30";
            std::copy(id.begin(), id.end(), eeprom.begin() + eeprom::UsbIdSerialFirst);
        });
    }
    void Choose(const char* combo, int index) {
        Find<QComboBox>(Adjust(), combo)->setCurrentIndex(index);
    }
    void ShowBidInput() { Press("BidPrintShowInputBtn"); }
    void ChooseItem(const char* group, int item) { ClickItem(group, item); }

  protected:
    void ClickPanel(const char* name) {
        QTest::mouseClick(Find<QLabel>(Adjust(), name), Qt::LeftButton);
        Adjust().DisableTimerTimer();
    }

    // The page action's calls, then the command's on the printer as it was
    // before the page action.
    void Compare(const PageAction& action) {
        SCOPED_TRACE(action.name);
        OpenPage(action.group, action.item);
        // A page that reads when it opens takes input again at the next tick.
        Adjust().DisableTimerTimer();
        if (action.prepare) {
            action.prepare(*this);
        }
        const Snapshot before = Take();
        ClearTrace();
        if (std::string(action.press).ends_with("Pnl")) {
            ClickPanel(action.press);
        } else {
            Press(action.press);
        }
        const std::vector<Call> page = Comparable(Calls());
        ASSERT_FALSE(page.empty());
        // Whatever the printer goes on doing (a restart after the market
        // setting) is over before the command's turn.
        Clock().Sleep(kSettleMilliseconds);

        // What the page used up (a restore's backup file) is there again.
        if (action.prepare) {
            action.prepare(*this);
        }
        Put(before);
        ClearTrace();
        std::vector<std::string> args = {"--port", "VTUSB001", "--model", "K31"};
        args.insert(args.end(), action.command.begin(), action.command.end());
        const Run run = Service(args);
        EXPECT_EQ(run.exit, 0) << run.err;
        const std::vector<Call> command = CommandCalls();
        std::string names;
        for (const Call& call : command) {
            names += call.function + " ";
        }
        names += "/ ";
        for (const Call& call : page) {
            names += call.function + " ";
        }
        ASSERT_EQ(command.size(), page.size()) << run.err << names;
        for (size_t i = 0; i < page.size(); ++i) {
            EXPECT_EQ(command[i].function, page[i].function) << "call " << i;
            EXPECT_EQ(command[i].args, page[i].args) << "call " << i << " " << page[i].function;
            EXPECT_EQ(command[i].data, page[i].data) << "call " << i << " " << page[i].function;
            EXPECT_EQ(command[i].result, page[i].result) << "call " << i;
        }
    }
};

// One page action a test: each opens the adjustment window afresh.
class ServiceTrace : public ServiceTraceBase, public ::testing::WithParamInterface<PageAction> {};

TEST_P(ServiceTrace, SendsWhatItsPageActionSends) {
    Compare(GetParam());
}

std::string NameOf(const ::testing::TestParamInfo<PageAction>& info) {
    std::string name;
    for (const char c : std::string(info.param.name)) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(
    AdjustmentValues, ServiceTrace,
    ::testing::Values(
        PageAction{"pf black",
                   "AdjustRdoGrp",
                   5,
                   [](ServiceTraceBase& page) { page.TypeText("PFAdjustDataEdit", "-3"); },
                   "PFAdjustInputBtn",
                   {"adjust", "set", "pf-black=-3"}},
        PageAction{"pf color",
                   "AdjustRdoGrp",
                   5,
                   [](ServiceTraceBase& page) {
                       page.ChooseItem("PFColorSelectRadioGroup", 1);
                       page.TypeText("PFAdjustDataEdit", "4");
                   },
                   "PFAdjustInputBtn",
                   {"adjust", "set", "pf-color=4"}},
        PageAction{"top margin",
                   "AdjustRdoGrp",
                   6,
                   [](ServiceTraceBase& page) { page.Choose("TopMarginInputComboBox", 2); },
                   "TopMarginInputBtn",
                   {"adjust", "set", "top-margin=+"}},
        PageAction{"first dot",
                   "AdjustRdoGrp",
                   8,
                   [](ServiceTraceBase& page) { page.TypeText("LandMarginInputEdit", "-100"); },
                   "LandMarginInputBtn",
                   {"adjust", "set", "first-dot=-100"}},
        PageAction{"head angular",
                   "AdjustRdoGrp",
                   3,
                   [](ServiceTraceBase& page) { page.TypeText("HeadAngularInputEdit", "2"); },
                   "HeadAngularInputBtn",
                   {"adjust", "set", "head-angular=2"}},
        PageAction{"Bi-D, two values",
                   "AdjustRdoGrp",
                   4,
                   [](ServiceTraceBase& page) {
                       page.ShowBidInput();
                       page.TypeText("BidECOCLInputEdit", "-7");
                       page.TypeText("BidVSD2BkInputEdit", "12");
                   },
                   "BidInputOKBtn",
                   {"adjust", "set", "bid-eco-color=-7", "bid-vsd2-black=12"}},
        PageAction{"CR heat protect",
                   "AdjustRdoGrp",
                   7,
                   nullptr,
                   "CRHeatProtectOffsetOKBtn",
                   {"adjust", "set", "cr-heat-protect"}}),
    NameOf);

INSTANTIATE_TEST_SUITE_P(
    Identity, ServiceTrace,
    ::testing::Values(
        PageAction{"Head ID",
                   "AdjustRdoGrp",
                   2,
                   [](ServiceTraceBase& page) { page.TypeText("HeadIDInputEdit", "12345601F%"); },
                   "HeadIDInputOKBtn",
                   {"identity", "set", "--head-id", "12345601F%"}},
        PageAction{"USB ID",
                   "AdjustRdoGrp",
                   1,
                   [](ServiceTraceBase& page) { page.TypeText("USBIDInputEdit", "AB12CD34EF"); },
                   "USBIDInputOKBtn",
                   {"identity", "set", "--usb-id", "AB12CD34EF"}},
        // Small letters become capitals, in the edits as on the command line.
        PageAction{"Head ID in small letters",
                   "AdjustRdoGrp",
                   2,
                   [](ServiceTraceBase& page) { page.TypeKeys("HeadIDInputEdit", "12345601f%"); },
                   "HeadIDInputOKBtn",
                   {"identity", "set", "--head-id", "12345601f%"}},
        PageAction{"USB ID in small letters",
                   "AdjustRdoGrp",
                   1,
                   [](ServiceTraceBase& page) { page.TypeKeys("USBIDInputEdit", "ab12cd34ef"); },
                   "USBIDInputOKBtn",
                   {"identity", "set", "--usb-id", "ab12cd34ef"}},
        // The restart box is answered OK, and the printer restarts.
        PageAction{"market",
                   "AdjustRdoGrp",
                   0,
                   nullptr,
                   "DefaultSetOKBtn",
                   {"identity", "set", "--market"}}),
    NameOf);

INSTANTIATE_TEST_SUITE_P(
    Maintenance, ServiceTrace,
    ::testing::Values(
        PageAction{"cleaning", "MainteRdoGrp", 0, nullptr, "CleaningOKBtn", {"clean"}},
        PageAction{"ink charge", "MainteRdoGrp", 1, nullptr, "InkChargeOKBtn", {"ink-charge"}},
        PageAction{"waste counter reset",
                   "MainteRdoGrp",
                   2,
                   nullptr,
                   "ProCounterClearBtn",
                   {"waste", "reset"}},
        PageAction{"backup", "MainteRdoGrp", 3, nullptr, "EepDataCopyBackUpStartPnl", {"backup"}}),
    NameOf);

class ServiceRestoreTrace : public ServiceTraceBase {};

TEST_F(ServiceRestoreTrace, WritesTheBackupAsTheDataCopyPageDoes) {
    // Both runs restore the same backup: the page removes the file it used.
    const Run backup = Service({"--port", "VTUSB001", "--json", "backup"});
    ASSERT_EQ(backup.exit, 0) << backup.err;
    const std::string file = nlohmann::json::parse(backup.out)["file"];
    std::string kept;
    ASSERT_EQ(orvane::ReadWholeFile(file, size_t{1} << 30, kept), orvane::FileRead::Done);
    Compare({"restore",
             "MainteRdoGrp",
             3,
             [&](ServiceTraceBase&) {
                 ASSERT_EQ(orvane::ReplaceFile(file, kept), orvane::FileWrite::Done);
             },
             "EepDataCopyLoadStartPnl",
             {"restore"}});
}

TEST_F(ServiceRestoreTrace, FromAFileWritesAsTheDataCopyPageDoes) {
    // The page restores bkupdata.eep; the command the same bytes from a copy
    // (of unknown model, hence --force).
    const Run backup = Service({"--port", "VTUSB001", "--json", "backup"});
    ASSERT_EQ(backup.exit, 0) << backup.err;
    const std::string file = nlohmann::json::parse(backup.out)["file"];
    std::string kept;
    ASSERT_EQ(orvane::ReadWholeFile(file, size_t{1} << 30, kept), orvane::FileRead::Done);
    const std::string copy = StateFolder() + "/copy.eep";
    ASSERT_EQ(orvane::ReplaceFile(copy, kept), orvane::FileWrite::Done);
    Compare({"restore --from",
             "MainteRdoGrp",
             3,
             [&](ServiceTraceBase&) {
                 ASSERT_EQ(orvane::ReplaceFile(file, kept), orvane::FileWrite::Done);
             },
             "EepDataCopyLoadStartPnl",
             {"restore", "--from", copy, "--force"}});
}

INSTANTIATE_TEST_SUITE_P(
    Prints, ServiceTrace,
    ::testing::Values(
        PageAction{"head angular",
                   "AdjustRdoGrp",
                   3,
                   nullptr,
                   "HeadAngularPrintBtn",
                   {"print", "head-angular"}},
        PageAction{
            "PF black", "AdjustRdoGrp", 5, nullptr, "PFAdjustPrintBKBtn", {"print", "pf-black"}},
        PageAction{"PF color",
                   "AdjustRdoGrp",
                   5,
                   [](ServiceTraceBase& page) { page.ChooseItem("PFColorSelectRadioGroup", 1); },
                   "PFAdjustPrintBKBtn",
                   {"print", "pf-color"}},
        PageAction{
            "top margin", "AdjustRdoGrp", 6, nullptr, "TopMarginPrintBtn", {"print", "top-margin"}},
        PageAction{
            "first dot", "AdjustRdoGrp", 8, nullptr, "LandMarginPrintBtn", {"print", "first-dot"}},
        PageAction{"Bi-D, two items",
                   "AdjustRdoGrp",
                   4,
                   [](ServiceTraceBase& page) {
                       page.Request({"BidVSD2CLPrnRequestCheckBox", "BidECOBkPrnRequestCheckBox"});
                   },
                   "BidPrintOKBtn",
                   {"print", "bid", "--items", "bid-vsd2-color,bid-eco-black"}},
        PageAction{"A3+ check",
                   "CheckPatternPrnRdoGrp",
                   0,
                   [](ServiceTraceBase& page) { page.GiveUsbId(); },
                   "G0SCheckPrintBtn",
                   {"print", "normal-sheet"}},
        PageAction{"A4 check",
                   "CheckPatternPrnRdoGrp",
                   1,
                   nullptr,
                   "A4PrintBtn",
                   {"print", "photo-sheet"}},
        PageAction{"nozzle check",
                   "CheckPatternPrnRdoGrp",
                   2,
                   nullptr,
                   "NozzleCheckPatternPrintBtn",
                   {"print", "nozzle-check"}}),
    NameOf);

}  // namespace
