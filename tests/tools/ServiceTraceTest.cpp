// Every command that writes sends what the page action it stands for sends:
// the same calls with the same arguments and results, in the same order,
// each run on the same printer.
#include <gtest/gtest.h>

#include <cctype>
#include <nlohmann/json.hpp>

#include "ServiceTraceFixture.h"
#include "platform/Files.h"

namespace {

using testing_support::PageAction;
using testing_support::ServiceTraceBase;

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
