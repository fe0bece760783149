// The CR heat-protect offset page: the confirmation and the one fixed byte it
// writes.
#include <gtest/gtest.h>

#include "PageFixture.h"
#include "link/ResultCodes.h"

namespace {

using eeprom_tests::AddressValue;
using testing_support::PageTest;

const char* const kQuestion =
    "Once you select OK button, a value for the CR motor drive dispersion will automatically be "
    "registered.";
const char* const kRegistered =
    "A value for the offset for CR motor calorific limitation has successfully registered.";
constexpr uint8_t kOffsetAddress = 0x56;

class HeatProtectPage : public PageTest {
  protected:
    void SetUp() override { OpenPage("AdjustRdoGrp", 7); }
    void Store(uint8_t value) {
        ChangeEeprom("VTUSB001",
                     [value](vprinter::Eeprom& eeprom) { eeprom[kOffsetAddress] = value; });
        ClearTrace();
    }
};

TEST_F(HeatProtectPage, OkWritesTheFixedOffsetWhateverTheAddressHeld) {
    for (const uint8_t before : {0x00, 0x36, 0xFF}) {
        Store(before);
        Boxes().shown.clear();
        Press("CRHeatProtectOffsetOKBtn");
        ASSERT_EQ(Boxes().shown.size(), 1u);
        const orvane::MessageRequest& box = Boxes().shown.front();
        EXPECT_EQ(box.text, kQuestion);
        EXPECT_EQ(box.caption, "Confirm");
        EXPECT_EQ(box.icon, orvane::MessageIcon::Question);
        EXPECT_EQ(box.buttons, orvane::MessageButtons::OkCancel);
        EXPECT_EQ(box.owner, orvane::MessageOwner::AdjustmentWindow);

        EXPECT_EQ(Writes(), (std::vector<AddressValue>{{kOffsetAddress, 0x36}})) << int(before);
        EXPECT_EQ(Eeprom()[kOffsetAddress], 0x36);
        EXPECT_EQ(StatusText(), QString(kRegistered));
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
        EXPECT_TRUE(Adjust().isEnabled());
    }
}

TEST_F(HeatProtectPage, CancelSendsNothingAndReportsNothing) {
    Store(0x12);
    Adjust().ShowStatus(StatusInfo, "left over");
    Boxes().answers.push_back(orvane::MessageAnswer::Cancel);
    Press("CRHeatProtectOffsetOKBtn");
    EXPECT_EQ(Boxes().shown.size(), 1u);
    EXPECT_TRUE(Calls().empty()) << "the printer was touched after Cancel";
    EXPECT_EQ(Eeprom()[kOffsetAddress], 0x12);
    EXPECT_EQ(StatusText(), QStringLiteral("left over"));
    EXPECT_TRUE(Adjust().isEnabled());
}

TEST_F(HeatProtectPage, AFailedWriteIsReported) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.writeFaults[kOffsetAddress] = ResultChannelError;
    });
    Store(0x12);
    Press("CRHeatProtectOffsetOKBtn");
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(Eeprom()[kOffsetAddress], 0x12);
}

}  // namespace
