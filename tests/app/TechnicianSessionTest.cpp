// The whole program on one virtual printer, driven as a technician uses it
// at the bench: identity data and adjustments, both check sheets, and the
// move of the EEPROM data to a new main board.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <string>
#include <vector>

#include "PageFixture.h"
#include "eeprom/EepromMap.h"
#include "support/Process.h"
#include "vprinter/Store.h"

namespace {

using testing_support::PageTest;

constexpr const char* kPort = "VTUSB001";

class TechnicianSession : public PageTest {
  protected:
    // Chooses a page through its navigation item, as the technician does;
    // a page that reads on opening has finished when this returns.
    void GoTo(const char* group, int item) {
        ClickItem(group, item);
        Adjust().DisableTimerTimer();
    }
    void ExpectStatus(const char* text) { EXPECT_EQ(StatusText(), QString::fromUtf8(text)); }
    void ClickPanel(const char* name) {
        auto* panel = Find<QLabel>(Adjust(), name);
        ASSERT_NE(panel, nullptr);
        QTest::mouseClick(panel, Qt::LeftButton);
        Adjust().DisableTimerTimer();
    }

    // Prints both check sheets and gives the text of the three pages.
    std::vector<std::string> PrintBothSheets() {
        GoTo("CheckPatternPrnRdoGrp", 0);
        Press("G0SCheckPrintBtn");
        ExpectStatus("The A3+ check pattern print has completed.");
        GoTo("CheckPatternPrnRdoGrp", 1);
        Press("A4PrintBtn");
        ExpectStatus("The A4 check pattern print has completed.");

        std::vector<std::string> texts;
        const auto* pages = Printers().PrintedPages(kPort);
        EXPECT_NE(pages, nullptr);
        if (pages != nullptr && pages->size() >= 3) {
            for (auto page = pages->end() - 3; page != pages->end(); ++page) {
                texts.push_back(page->AllText());
            }
        }
        return texts;
    }

    static std::vector<uint8_t> BackupBytes(const vprinter::Eeprom& eeprom) {
        std::vector<uint8_t> bytes;
        for (const uint8_t address : eeprom::BackupAddresses) {
            bytes.push_back(eeprom[address]);
        }
        return bytes;
    }
};

TEST_F(TechnicianSession, AdjustsPrintsAndMovesTheDataToANewMainBoard) {
    Clock().SetNow({2026, 12, 8, 9, 15, 0});
    OpenAdjustmentWindow(0, kPort);

    // Market setting, then the identity of the head and the USB ID.
    GoTo("AdjustRdoGrp", 0);
    Press("DefaultSetOKBtn");
    EXPECT_TRUE(StatusText().startsWith("The market destination setting value has written"));
    GoTo("AdjustRdoGrp", 2);
    Type("HeadIDInputEdit", "10203040PK");
    Press("HeadIDInputOKBtn");
    ExpectStatus("The head ID write function has completed.");
    GoTo("AdjustRdoGrp", 1);
    Type("USBIDInputEdit", "A1B2C3D4E5");
    Press("USBIDInputOKBtn");
    ExpectStatus("The USB ID has been written in EEPROM properly.");

    // Bi-D: two items typed on the input page.
    GoTo("AdjustRdoGrp", 4);
    Press("BidPrintShowInputBtn");
    Type("BidVSD1BkInputEdit", "3");
    Type("BidECOCLInputEdit", "-2");
    Press("BidInputOKBtn");
    ExpectStatus("The Bi-D adjustment value has written properly.");

    // PF black and colour.
    GoTo("AdjustRdoGrp", 5);
    Type("PFAdjustDataEdit", "2");
    Press("PFAdjustInputBtn");
    ExpectStatus("The PF adjustment value has written properly.");
    ClickItem("PFColorSelectRadioGroup", 1);
    Type("PFAdjustDataEdit", "-4");
    Press("PFAdjustInputBtn");
    ExpectStatus("The PF adjustment value has written properly.");

    // Head angular 3, stepped with the up-down from the stored 0.
    GoTo("AdjustRdoGrp", 3);
    Step("HeadAngularAdjustUpDown", true);
    Press("HeadAngularInputBtn");
    ExpectStatus("The head angular adjustment value has written properly.");

    // Top margin "+".
    GoTo("AdjustRdoGrp", 6);
    Find<QComboBox>(Adjust(), "TopMarginInputComboBox")->setCurrentIndex(2);
    Press("TopMarginInputBtn");
    ExpectStatus("As Top margin data, \"+\" has been written in EEPROM.");

    const vprinter::Eeprom old = Eeprom(kPort);
    EXPECT_EQ(old[eeprom::BidVsd1Black], 3);
    EXPECT_EQ(static_cast<int8_t>(old[eeprom::BidEcoColour]), -2);
    EXPECT_EQ(old[eeprom::PfBlack], 2);
    EXPECT_EQ(static_cast<int8_t>(old[eeprom::PfColour]), -4);
    EXPECT_EQ(old[eeprom::HeadAngular], 3);
    EXPECT_EQ(old[eeprom::TopMargin], 0x28);

    const std::vector<std::string> before = PrintBothSheets();
    ASSERT_EQ(before.size(), 3u);
    EXPECT_NE(before[0].find("Head ID = 10203040PK"), std::string::npos) << before[0];
    EXPECT_NE(before[0].find("USB ID = A1B2C3D4E5"), std::string::npos) << before[0];
    // The sheets leave the printer at its stored values.
    EXPECT_EQ(BackupBytes(Eeprom(kPort)), BackupBytes(old));

    // Back up, replace the main board with the control tool, restore.
    GoTo("MainteRdoGrp", 3);
    ClickPanel("EepDataCopyBackUpStartPnl");
    EXPECT_TRUE(StatusText().startsWith("The EEPROM data has read properly."));
    const testing_support::ProcessResult swap =
        testing_support::RunProcess({testing_support::OutputFolder() + "/orvane-vprinter", "--dir",
                                     StateFolder(), "new-board", kPort},
                                    StateFolder());
    ASSERT_EQ(swap.exitCode, 0) << swap.err;
    ASSERT_EQ(Eeprom(kPort), vprinter::Store::FreshBoard());
    ClickPanel("EepDataCopyLoadStartPnl");
    EXPECT_TRUE(StatusText().startsWith("The EEPROM data copy function has finished properly."));

    // The new board holds the old board's 64 bytes, and both sheets print
    // the same text as before.
    EXPECT_EQ(BackupBytes(Eeprom(kPort)), BackupBytes(old));
    EXPECT_EQ(PrintBothSheets(), before);
}

}  // namespace
