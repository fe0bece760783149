// A value the printer takes but cannot keep in its EEPROM (its file cannot
// be replaced, as on a full or read-only disk) is reported by the page's
// Input as the communication error it is, and not shown as adjusted.
#include <gtest/gtest.h>

#include <QComboBox>
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
    // Every byte of its EEPROM fails to be written (the virtual printer's
    // own test covers a full disk, which ends the same way).
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        for (int address = 0; address < 256; ++address) {
            config.writeFaults[static_cast<uint8_t>(address)] = 0x2000;
        }
    });
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
