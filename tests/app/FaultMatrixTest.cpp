// The fault matrix: one row per action of the adjustment window that reaches
// the printer. Each row runs clean once, then with each of its library calls
// failing in turn, then busy, out of paper and switched off at chosen points
// (FaultMatrix.cpp runs the cases, FaultMatrixOracles.cpp holds the oracles).
#include "FaultMatrix.h"

#include <string>

namespace fault_matrix {
namespace {

using Kind = Setting::Kind;

// The navigation groups.
const char* const kAdjust = "AdjustRdoGrp";
const char* const kMainte = "MainteRdoGrp";
const char* const kCheckPattern = "CheckPatternPrnRdoGrp";
const char* const kAppendix = "AppendixRdoGrp";

// Stored Bi-D values unlike the ones the pattern tests, so that a restoring
// packet can be told from a test packet.
const std::vector<std::pair<uint8_t, uint8_t>> kBidStored = {
    {0x32, 0x05}, {0x33, 0xFB}, {0x34, 0x01}, {0x35, 0x02},
    {0x36, 0x03}, {0x37, 0x04}, {0x38, 0xFE}, {0x39, 0xFD}};

// The market setting of the Orvane K31, so that the check ends well.
const std::vector<std::pair<uint8_t, uint8_t>> kK31Market = {
    {0x30, 0x04}, {0x31, 0x00}, {0x59, 0x18}, {0x6E, 0x04}, {0x5B, 0xF2}};

// A USB ID, which a fresh main board lacks, at 0x5C.
std::vector<std::pair<uint8_t, uint8_t>> UsbId() {
    const std::string id = "A1B2C3D4E5435E7F30";
    std::vector<std::pair<uint8_t, uint8_t>> bytes;
    for (size_t i = 0; i < id.size(); ++i) {
        bytes.emplace_back(static_cast<uint8_t>(0x5C + i), static_cast<uint8_t>(id[i]));
    }
    return bytes;
}

const std::vector<Setting> kBidValues = {
    {Kind::Text, "BidVSD1BkInputEdit", "2"}, {Kind::Text, "BidVSD1CLInputEdit", "-2"},
    {Kind::Text, "BidVSD2BkInputEdit", "3"}, {Kind::Text, "BidVSD2CLInputEdit", "-3"},
    {Kind::Text, "BidVSD3BkInputEdit", "4"}, {Kind::Text, "BidVSD3CLInputEdit", "-4"},
    {Kind::Text, "BidECOBkInputEdit", "5"},  {Kind::Text, "BidECOCLInputEdit", "-5"}};

Action Print(Action action) {
    action.prints = true;
    return action;
}

Action Feed(Action action) {
    action.prints = true;
    action.waits = false;  // the paper feed sends at once
    return action;
}

std::vector<Action> Actions() {
    std::vector<Action> actions;
    auto add = [&actions](Action action) { actions.push_back(std::move(action)); };

    // Adjustment tab.
    add({.name = "MarketSettingWrite", .group = kAdjust, .item = 0, .control = "DefaultSetOKBtn"});
    add({.name = "MarketSettingCheck",
         .group = kAdjust,
         .item = 0,
         .control = "DestCheckBtn",
         .eeprom = kK31Market});
    add({.name = "UsbIdWrite",
         .group = kAdjust,
         .item = 1,
         .control = "USBIDInputOKBtn",
         .settings = {{Kind::Text, "USBIDInputEdit", "A1B2C3D4E5"}}});
    add({.name = "UsbIdRead",
         .group = kAdjust,
         .item = 1,
         .control = "USBIDReadOutBtn",
         .eeprom = UsbId()});
    add({.name = "HeadIdWrite",
         .group = kAdjust,
         .item = 2,
         .control = "HeadIDInputOKBtn",
         .settings = {{Kind::Text, "HeadIDInputEdit", "00000000B7"}}});
    add({.name = "HeadIdRead", .group = kAdjust, .item = 2, .control = "HeadIDReadBtn"});
    add(Print({.name = "HeadAngularPrint",
               .group = kAdjust,
               .item = 3,
               .control = "HeadAngularPrintBtn"}));
    add({.name = "HeadAngularInput",
         .group = kAdjust,
         .item = 3,
         .control = "HeadAngularInputBtn",
         .settings = {{Kind::Text, "HeadAngularInputEdit", "1"}}});
    add({.name = "HeadAngularRead", .group = kAdjust, .item = 3, .control = "HeadAngularReadBtn"});
    add(Feed({.name = "HeadAngularPaperFeed",
              .group = kAdjust,
              .item = 3,
              .control = "HeadAngularPaperFeedBtn"}));
    add(Print({.name = "BidPrint",
               .group = kAdjust,
               .item = 4,
               .control = "BidPrintOKBtn",
               // One black and one colour item: the other six print alike.
               .settings = {{Kind::Uncheck, "BidVSD2BkPrnRequestCheckBox"},
                            {Kind::Uncheck, "BidVSD3BkPrnRequestCheckBox"},
                            {Kind::Uncheck, "BidECOBkPrnRequestCheckBox"},
                            {Kind::Uncheck, "BidVSD1CLPrnRequestCheckBox"},
                            {Kind::Uncheck, "BidVSD2CLPrnRequestCheckBox"},
                            {Kind::Uncheck, "BidVSD3CLPrnRequestCheckBox"}},
               .eeprom = kBidStored,
               .setsTestValue = true}));
    add(Feed(
        {.name = "BidPaperFeed", .group = kAdjust, .item = 4, .control = "BidPrintPaperFeedBtn"}));
    add({.name = "BidInputWrite",
         .group = kAdjust,
         .item = 4,
         .control = "BidInputOKBtn",
         .via = "BidPrintShowInputBtn",
         .settings = kBidValues,
         .eeprom = kBidStored});
    add({.name = "BidInputRead",
         .group = kAdjust,
         .item = 4,
         .control = "BidInputCheckBtn",
         .via = "BidPrintShowInputBtn",
         .eeprom = kBidStored});
    add(Print({.name = "PfPrintBlack",
               .group = kAdjust,
               .item = 5,
               .control = "PFAdjustPrintBKBtn",
               .eeprom = {{0x2C, 0x01}, {0x2D, 0xFF}},
               .setsTestValue = true}));
    add(Print({.name = "PfPrintColour",
               .group = kAdjust,
               .item = 5,
               .control = "PFAdjustPrintBKBtn",
               .choice = {"PFColorSelectRadioGroup", 1},
               .eeprom = {{0x2C, 0x01}, {0x2D, 0xFF}},
               .setsTestValue = true}));
    add({.name = "PfInput",
         .group = kAdjust,
         .item = 5,
         .control = "PFAdjustInputBtn",
         .settings = {{Kind::Text, "PFAdjustDataEdit", "2"}}});
    add({.name = "PfRead", .group = kAdjust, .item = 5, .control = "PFAdjustCheckBtn"});
    add({.name = "TopMarginRead", .group = kAdjust, .item = 6, .control = "TopMarginReadBtn"});
    add({.name = "TopMarginInput",
         .group = kAdjust,
         .item = 6,
         .control = "TopMarginInputBtn",
         .settings = {{Kind::Combo, "TopMarginInputComboBox", "+"}}});
    add(Print(
        {.name = "TopMarginPrint", .group = kAdjust, .item = 6, .control = "TopMarginPrintBtn"}));
    add({.name = "HeatProtectOffset",
         .group = kAdjust,
         .item = 7,
         .control = "CRHeatProtectOffsetOKBtn"});
    add({.name = "FirstDotRead", .group = kAdjust, .item = 8, .control = "LandMarginCheckBtn"});
    add({.name = "FirstDotInput",
         .group = kAdjust,
         .item = 8,
         .control = "LandMarginInputBtn",
         .settings = {{Kind::Text, "LandMarginInputEdit", "5"}}});
    add(Print(
        {.name = "FirstDotPrint", .group = kAdjust, .item = 8, .control = "LandMarginPrintBtn"}));
    add(Feed({.name = "FirstDotPaperFeed",
              .group = kAdjust,
              .item = 8,
              .control = "LandMarginFeedBtn"}));

    // Maintenance tab.
    add({.name = "HeadCleaning", .group = kMainte, .item = 0, .control = "CleaningOKBtn"});
    add({.name = "InkCharge", .group = kMainte, .item = 1, .control = "InkChargeOKBtn"});
    add({.name = "WasteCounterRead", .group = kMainte, .item = 2, .control = "ProCounterCheckBtn"});
    add({.name = "WasteCounterReset",
         .group = kMainte,
         .item = 2,
         .control = "ProCounterClearBtn"});
    add({.name = "EepromBackup",
         .group = kMainte,
         .item = 3,
         .control = "EepDataCopyBackUpStartPnl",
         .type = Control::Panel});
    add({.name = "EepromRestore",
         .group = kMainte,
         .item = 3,
         .control = "EepDataCopyLoadStartPnl",
         .type = Control::Panel,
         .needsBackup = true});

    // Check pattern and Appendix tabs.
    add(Print({.name = "NormalPaperSheet",
               .group = kCheckPattern,
               .item = 0,
               .control = "G0SCheckPrintBtn",
               .eeprom = UsbId(),
               .setsTestValue = true}));
    add(Print({.name = "PhotoPaperSheet",
               .group = kCheckPattern,
               .item = 1,
               .control = "A4PrintBtn",
               .eeprom = UsbId(),
               .setsTestValue = true}));
    add(Print({.name = "NozzleCheck",
               .group = kCheckPattern,
               .item = 2,
               .control = "NozzleCheckPatternPrintBtn"}));
    add(Feed({.name = "NozzleCheckPaperFeed",
              .group = kCheckPattern,
              .item = 2,
              .control = "NozzleCheckPaperFeedBtn"}));
    add({.name = "FullEepromDump",
         .group = kAppendix,
         .item = 0,
         .control = "EepromReadoutBtn",
         .savesDump = true});

    // Get Status re-opens the link: the close and the open's reading of the
    // last I/O error go on whatever they return, and it does not wait.
    add({.name = "GetStatus",
         .group = nullptr,
         .control = "GetStatusBtn",
         .waits = false,
         .ignored = {"PortCloseByPway", "GetIoErrorCodeByPway"}});
    return actions;
}

TEST_P(FaultMatrix, EveryCallFailingInTurnAndBusyPaperOutPowerOff) {
    CheckEveryCallFailing();
    CheckChosenPoints();
    RecordProperty("runs", Runs());
}

INSTANTIATE_TEST_SUITE_P(Actions, FaultMatrix, ::testing::ValuesIn(Actions()),
                         [](const ::testing::TestParamInfo<Action>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
}  // namespace fault_matrix
