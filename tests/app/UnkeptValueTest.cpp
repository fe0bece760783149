// A value the printer takes but cannot keep in its EEPROM (its file cannot
// be replaced, as on a full or read-only disk) is reported by the page's
// Input as the communication error it is, and not shown as adjusted.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QComboBox>
#include <filesystem>
#include <functional>

#include "PageFixture.h"

namespace {

using testing_support::PageTest;

class UnkeptValue : public PageTest {};

TEST_F(UnkeptValue, InputReportsAValueThePrinterCouldNotKeep) {
    const struct {
        const char* page;
        int item;
        std::function<void()> input;
        const char* panel;
    } cases[] = {
        {"PF", 5,
         [this] {
             Type("PFAdjustDataEdit", "2");
             Press("PFAdjustInputBtn");
         },
         "ShowPFAdjustValueBKPnl"},
        {"Bi-D", 4,
         [this] {
             Press("BidPrintShowInputBtn");
             Type("BidVSD1BkInputEdit", "5");
             Press("BidInputOKBtn");
         },
         "ShowBid1BkPnl"},
        {"top margin", 6,
         [this] {
             auto* list = Find<QComboBox>(Adjust(), "TopMarginInputComboBox");
             list->setCurrentIndex(list->findText("+"));
             Press("TopMarginInputBtn");
         },
         "ShowTopMarginPnl"},
    };
    // A folder where the printer's temporary EEPROM file goes: every write
    // of its EEPROM fails, for root too.
    std::filesystem::create_directory(StateFolder() + "/VTUSB001/eeprom.bin.tmp." +
                                      std::to_string(getpid()));
    const vprinter::Eeprom before = Eeprom();
    OpenAdjustmentWindow();
    for (const auto& c : cases) {
        ClickItem("AdjustRdoGrp", c.item);
        Adjust().DisableTimerTimer();
        c.input();
        EXPECT_TRUE(StatusText().startsWith("Communication error occurred."))
            << c.page << ": " << StatusText().toStdString();
        EXPECT_EQ(Adjust().AdjustedValue(c.panel), QString()) << c.page;
        EXPECT_TRUE(Adjust().isEnabled()) << c.page;
    }
    EXPECT_EQ(Eeprom(), before);
}

}  // namespace
