// The three pages of the Check pattern tab: their texts, the print handlers
// from the busy text to the completion text, the failures they report and
// the paper feed.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "PageFixture.h"
#include "app/Rk7howtochecka4pat.h"
#include "app/pages/Page.h"
#include "link/ResultCodes.h"
#include "pattern/Rk7raster.h"
#include "vprinter/Page.h"

namespace {

using testing_support::PageTest;

const char* const kNormalDone = "The A3+ check pattern print has completed.";
const char* const kPhotoDone = "The A4 check pattern print has completed.";
const char* const kNozzleDone = "The nozzle check pattern print has completed.";
const char* const kCommunicationError = "Communication error occurred.";

class CheckPatternPages : public PageTest {
  protected:
    // Items of the Check pattern tab: 0 normal paper, 1 photo paper, 2 nozzle check.
    // The printer holds a USB ID, which a fresh main board lacks.
    void Open(int item) {
        OpenPage("CheckPatternPrnRdoGrp", item);
        ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
            const std::string usbId = "A1B2C3D4E5435E7F30";
            std::copy(usbId.begin(), usbId.end(), eeprom.begin() + 0x5C);
        });
    }

    // The page's labels and buttons, top to bottom and left to right.
    std::vector<std::string> PageTexts(const char* panel) {
        const TPage* page = Adjust().Page(QString::fromUtf8(panel));
        EXPECT_NE(page, nullptr) << panel;
        std::vector<std::tuple<int, int, std::string>> placed;
        for (const QLabel* label : page->findChildren<QLabel*>()) {
            const QPoint at = label->mapTo(page, QPoint(0, 0));
            placed.emplace_back(at.y(), at.x(), label->text().toStdString());
        }
        for (const QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
            const QPoint at = button->mapTo(page, QPoint(0, 0));
            placed.emplace_back(at.y(), at.x(), "[" + button->text().toStdString() + "]");
        }
        std::sort(placed.begin(), placed.end());
        std::vector<std::string> texts;
        for (const auto& item : placed) {
            texts.push_back(std::get<2>(item));
        }
        return texts;
    }
    size_t PageCount() {
        const auto* pages = Printers().PrintedPages("VTUSB001");
        return pages == nullptr ? 0 : pages->size();
    }
    std::string LastPageText() { return Printers().PrintedPages("VTUSB001")->back().AllText(); }
    void FailRead(uint8_t address) {
        ChangePrinter("VTUSB001", [=](vprinter::PrinterConfig& config) {
            config.readFaults[address] = 0x2000;
        });
    }
    std::vector<uint8_t> Adjustments() {
        const vprinter::Eeprom eeprom = Eeprom();
        std::vector<uint8_t> values;
        for (const int address :
             {0x2C, 0x2D, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x5A, 0x75}) {
            values.push_back(eeprom[static_cast<size_t>(address)]);
        }
        return values;
    }
};

TEST_F(CheckPatternPages, EachPageShowsItsTextsInOrder) {
    Start();
    Adjust().Build();
    EXPECT_EQ(
        PageTexts("G0SCheckPrintPnl"),
        (std::vector<std::string>{"A4 normal paper print ",
                                  "Click the [Print] button to print the following items.",
                                  "Use normal paper. (A4 Size)", "1. Beta pattern (BK-C-M-Y) ",
                                  "2. Vertical alignment(BK-C-M-Y) ", "3. Horizontal alignment",
                                  "4. Waste ink pad counter value", "5. Head ID", "6. USB ID",
                                  "7. Market destination ", "8. Remaining ink amount", "[Print]"}));
    EXPECT_EQ(PageTexts("A4CheckPrintPnl"),
              (std::vector<std::string>{"A4 Photo Quality Ink Jet Paper print ", "[How to check]",
                                        "Click the [Print] button to print the following items.",
                                        "Use Photo Quality Inkjet Paper. (A4 Size)",
                                        "Page 1 :", "- Head angular adjustment check pattern",
                                        "- Bi-D adjustment check pattern",
                                        "- PF adjustment check pattern",
                                        "Page 2 :", "- Top margin and 1st dot check pattern",
                                        "- Accumulated pitch line", "[Print]"}));
    EXPECT_EQ(PageTexts("NozzleCheckPatternPrintPnl"),
              (std::vector<std::string>{"Nozzle check pattern print ",
                                        "Click the [Print] button to print nozzle check pattern.",
                                        "[Print]", "[Paper feed]"}));
}

TEST_F(CheckPatternPages, NormalPaperPrintsOnePageAndTellsItHasCompleted) {
    Open(0);
    EXPECT_EQ(VisiblePage(), QStringLiteral("G0SCheckPrintPnl"));
    Press("G0SCheckPrintBtn");
    EXPECT_EQ(StatusText(), QString(kNormalDone));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    EXPECT_TRUE(Adjust().isEnabled());
    ASSERT_EQ(PageCount(), 1u);
    EXPECT_NE(LastPageText().find("Market Destination is"), std::string::npos);
    EXPECT_NE(LastPageText().find("Remaining ink amount"), std::string::npos);
    EXPECT_NE(LastPageText().find("USB ID = A1B2C3D4E5435E7F30"), std::string::npos);
}

TEST_F(CheckPatternPages, NormalPaperReportsAFailedReadWithNothingSent) {
    Open(0);
    // A fresh main board holds no USB ID.
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) { eeprom[0x5C] = 0xFF; });
    Press("G0SCheckPrintBtn");
    EXPECT_EQ(StatusText(), QStringLiteral("The USB ID is wrong."));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(Adjust().isEnabled());

    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) { eeprom[0x5C] = 'A'; });
    FailRead(0x6E);
    ClearTrace();
    Press("G0SCheckPrintBtn");
    EXPECT_TRUE(StatusText().startsWith(kCommunicationError)) << StatusText().toStdString();
    EXPECT_EQ(Reads().back(), 0x6E);
    EXPECT_TRUE(Calls("SendDataChannel").empty());
    EXPECT_EQ(PageCount(), 0u);
}

TEST_F(CheckPatternPages, APrinterInItsErrorStateIsReportedBeforeAnythingIsRead) {
    Open(0);
    SetPrinterState(0, 4);  // paper jam
    Press("G0SCheckPrintBtn");
    EXPECT_EQ(
        StatusText(),
        QStringLiteral("Paper jam error.\nClear the error and click the [Get Status] button."));
    EXPECT_TRUE(Reads().empty());
    EXPECT_TRUE(Calls("SendDataChannel").empty());
}

TEST_F(CheckPatternPages, PhotoPaperPrintsTwoPagesAtTheStoredValues) {
    Open(1);
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
        eeprom[0x34] = 3;
        eeprom[0x33] = 0xFE;
        eeprom[0x2C] = 1;
        eeprom[0x2D] = 0xFF;
    });
    const std::vector<uint8_t> before = Adjustments();
    Press("A4PrintBtn");
    EXPECT_EQ(StatusText(), QString(kPhotoDone));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    ASSERT_EQ(PageCount(), 2u);
    EXPECT_NE(LastPageText().find("Accumulated pitch line"), std::string::npos);
    EXPECT_EQ(Adjustments(), before);
    EXPECT_TRUE(Calls("fault").empty());
}

TEST_F(CheckPatternPages, PhotoPaperReportsAFailedSendWithoutTheCompletionText) {
    Open(1);
    FailNextCall("SendDataChannel", ResultChannelError, 3);
    Press("A4PrintBtn");
    EXPECT_TRUE(StatusText().startsWith(kCommunicationError)) << StatusText().toStdString();
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_EQ(PageCount(), 0u);

    // A failed read is reported the same way and sends nothing.
    FailRead(0x2D);
    ClearTrace();
    Press("A4PrintBtn");
    EXPECT_TRUE(StatusText().startsWith(kCommunicationError));
    EXPECT_EQ(Reads().back(), 0x2D);
}

TEST_F(CheckPatternPages, HowToCheckShowsItsWindowBesideTheAdjustmentWindow) {
    Open(1);
    THowToCheckA4PatForm& howTo = App().HowToCheckA4Pat();
    EXPECT_FALSE(howTo.isVisible());
    Press("HowToCheckA4Pat");
    EXPECT_TRUE(howTo.isVisible());
    EXPECT_FALSE(howTo.isModal());
    EXPECT_TRUE(Adjust().isEnabled());
    EXPECT_TRUE(Calls().empty()) << "the printer is not involved";
    // Pressed again it stays the one window.
    Press("HowToCheckA4Pat");
    EXPECT_TRUE(howTo.isVisible());
    howTo.close();
}

TEST_F(CheckPatternPages, NozzleCheckPrintsAndEjectsThePage) {
    Open(2);
    Press("NozzleCheckPatternPrintBtn");
    EXPECT_EQ(StatusText(), QString(kNozzleDone));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    ASSERT_EQ(PageCount(), 1u);
    EXPECT_NE(LastPageText().find("Nozzle check pattern"), std::string::npos);
}

TEST_F(CheckPatternPages, NozzleCheckReportsAFailureOfEachStep) {
    Open(2);
    // The nozzle check's own send.
    FailNextCall("SendDataChannel", ResultChannelError);
    Press("NozzleCheckPatternPrintBtn");
    EXPECT_TRUE(StatusText().startsWith(kCommunicationError));
    EXPECT_EQ(PageCount(), 0u);

    // The eject's send: the form feed stays unprinted.
    FailNextCall("SendDataChannel", ResultChannelError, 2);
    Press("NozzleCheckPatternPrintBtn");
    EXPECT_TRUE(StatusText().startsWith(kCommunicationError));
    EXPECT_EQ(PageCount(), 0u);
}

TEST_F(CheckPatternPages, ANozzleCheckAfterAPrintCutOffInARasterBlockIsTheCleanPage) {
    Open(2);
    Press("NozzleCheckPatternPrintBtn");
    ASSERT_EQ(PageCount(), 1u);
    const vprinter::Page clean = Printers().PrintedPages("VTUSB001")->back();

    // The photo paper print finds the tray empty, and while the paper-out box
    // is up the printer is switched off: the print fails with a full buffer
    // that ends inside a raster block.
    ClickItem("CheckPatternPrnRdoGrp", 1);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.paper = 0; });
    Boxes().onShow = [this](const orvane::MessageRequest&) {
        ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.powered = false; });
    };
    Press("A4PrintBtn");
    Boxes().onShow = nullptr;
    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_TRUE(StatusText().startsWith(kCommunicationError)) << StatusText().toStdString();
    const TPRaster& raster = App().GetModules().raster;
    ASSERT_EQ(raster.FillCount(), TPRaster::kSendSize);
    const std::string left(raster.Buffer(), raster.Buffer() + raster.FillCount());
    EXPECT_NE(left.find("\x1B"
                        "i"),
              std::string::npos)
        << "no raster block in the bytes left";

    // Paper in, the printer on, Get Status, and the nozzle check again: the
    // bytes left from the photo paper print would end its unfinished raster
    // block with the nozzle check's caption and print the nozzle check on the
    // photo paper's page size with a piece of that block on it.
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.powered = true;
        config.paper = 5;
        config.state = 4;
        config.error = 0;
    });
    Press("GetStatusBtn");
    ClickItem("CheckPatternPrnRdoGrp", 2);
    Press("NozzleCheckPatternPrintBtn");
    EXPECT_EQ(StatusText(), QString(kNozzleDone));
    ASSERT_EQ(PageCount(), 2u);
    const vprinter::Page& next = Printers().PrintedPages("VTUSB001")->back();
    EXPECT_EQ(next.AllText(), clean.AllText());
    ASSERT_EQ(next.Rows(), clean.Rows());
    for (int64_t row = 0; row < clean.Rows(); ++row) {
        const uint8_t* a = next.Row(row);
        const uint8_t* b = clean.Row(row);
        ASSERT_EQ(a == nullptr, b == nullptr) << "row " << row;
        if (a != nullptr) {
            ASSERT_TRUE(std::equal(a, a + vprinter::Page::kColumns, b)) << "row " << row;
        }
    }
    EXPECT_TRUE(Calls("fault").empty());
}

TEST_F(CheckPatternPages, AFailedWaitForTheCompletionTextIsReportedInstead) {
    Open(2);
    // The printer jams while it prints the page.
    Clock().onSleep = [this](uint32_t) { SetPrinterState(0, 4); };
    Press("NozzleCheckPatternPrintBtn");
    Clock().onSleep = nullptr;
    EXPECT_EQ(
        StatusText(),
        QStringLiteral("Paper jam error.\nClear the error and click the [Get Status] button."));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(Adjust().isEnabled());
}

TEST_F(CheckPatternPages, PaperFeedSendsEightLinesAndShowsNoText) {
    Open(2);
    const QString before = StatusText();
    Press("NozzleCheckPaperFeedBtn");
    std::vector<uint8_t> eightLines;
    for (int i = 0; i < 8; ++i) {
        eightLines.insert(eightLines.end(), {0x0D, 0x0A});
    }
    const auto sends = Calls("SendDataChannel");
    ASSERT_EQ(sends.size(), 1u);
    EXPECT_EQ(sends.front().data, eightLines);
    EXPECT_TRUE(Calls("InquireStatus").empty()) << "no readiness wait";
    EXPECT_EQ(StatusText(), before);

    FailNextCall("SendDataChannel", ResultChannelError);
    Press("NozzleCheckPaperFeedBtn");
    EXPECT_TRUE(StatusText().startsWith(kCommunicationError));
}

}  // namespace
