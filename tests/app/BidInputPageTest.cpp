#include <gtest/gtest.h>

#include "BidPagesFixture.h"
#include "link/ResultCodes.h"

namespace {

using adjust_tests::BidPacket;
using adjust_tests::Bytes;
using bid_page_tests::BidItem;
using bid_page_tests::kItems;

// Stored bytes, VSD1 black ... ECO colour, and the texts they read as.
const std::map<int, uint8_t> kStored = {{0x34, 0xDC}, {0x35, 0x24}, {0x36, 0x80}, {0x37, 0xFF},
                                        {0x38, 0x00}, {0x39, 0x07}, {0x32, 0x7F}, {0x33, 0xF6}};
const std::vector<QString> kStoredTexts = {"-36", "36", "-128", "-1", "0", "7", "127", "-10"};
const std::vector<int> kItemAddresses = {0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x32, 0x33};
const std::vector<bool> kNone(8, false);

class BidInputPage : public bid_page_tests::BidPages {
  protected:
    void SetUp() override {
        BidPages::SetUp();
        Store(kStored);
        GoToInput();
        ClearTrace();
    }
    void Input() { Press("BidInputOKBtn"); }
    // Types a value into one item's edit, which selects that item only.
    void InputOnly(const BidItem& item, const QString& text) {
        for (const BidItem& other : kItems) {
            Check(other.check)->setChecked(false);
        }
        Type(item.edit, text);
        Input();
    }
};

TEST_F(BidInputPage, GoingToThePageReadsAllEightValuesAndLeavesThemUnselected) {
    EXPECT_EQ(VisiblePage(), QStringLiteral("BidInputPnl"));
    EXPECT_EQ(EditTexts(), kStoredTexts) << "-128 is shown whole though typing stops at three";
    EXPECT_EQ(Checked(&BidItem::check), kNone);

    // Going back and forth reloads whatever the printer holds by then.
    Type("BidECOCLInputEdit", "5");
    Press("BidInputShowPrintBtn");
    EXPECT_EQ(VisiblePage(), QStringLiteral("BidPrintPnl"));
    EXPECT_TRUE(Reads().empty()) << "the print page is shown without a read";
    Store({{0x36, 0x24}, {0x33, 0x01}});
    GoToInput();
    EXPECT_EQ(Reads(), kItemAddresses);
    EXPECT_EQ(EditText("BidVSD2BkInputEdit"), QStringLiteral("36"));
    EXPECT_EQ(EditText("BidECOCLInputEdit"), QStringLiteral("1"));
    EXPECT_EQ(Checked(&BidItem::check), kNone);
    EXPECT_EQ(StatusText(), QString(bid_page_tests::kRead));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    EXPECT_TRUE(Adjust().isEnabled());
    EXPECT_TRUE(Sent().empty()) << "reading sends nothing";
}

TEST_F(BidInputPage, AFailedReadLeavesEveryEditEmptyAndNothingSelected) {
    Type("BidVSD1BkInputEdit", "4");
    Check("BidVSD3BkInputCheckBox")->setChecked(true);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.readFaults[0x37] = ResultPortNoResponse;
    });
    ClearTrace();
    Press("BidInputCheckBtn");
    EXPECT_EQ(Reads(), (std::vector<int>{0x34, 0x35, 0x36, 0x37}));
    EXPECT_EQ(EditTexts(), std::vector<QString>(8));
    EXPECT_EQ(Checked(&BidItem::check), kNone);
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."))
        << StatusText().toStdString();
    EXPECT_TRUE(Adjust().isEnabled());

    // With nothing selected Input asks for an item and touches nothing.
    ClearTrace();
    Input();
    EXPECT_EQ(StatusText(), QString(bid_page_tests::kSelectItem));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(BidInputPage, TheLimitsAreWrittenWithTheBidPacketAndShownAsTyped) {
    for (const BidItem& item : kItems) {
        for (const auto& [text, stored] : {std::pair{"36", 0x24}, std::pair{"-36", 0xDC},
                                           std::pair{"+7", 0x07}, std::pair{"-05", 0xFB}}) {
            ClearTrace();
            InputOnly(item, text);
            const int value = static_cast<int8_t>(stored);
            EXPECT_EQ(Sent(),
                      (std::vector<Bytes>{BidPacket(item.modeByte, item.colourByte, value)}))
                << item.edit << " " << text;
            EXPECT_EQ(Eeprom()[static_cast<size_t>(item.address)], stored) << item.edit;
            EXPECT_TRUE(Writes().empty()) << "values go by packet, never as EEPROM writes";
            EXPECT_EQ(StatusText(), QString(bid_page_tests::kWritten));
            EXPECT_EQ(Adjust().AdjustedValue(item.panel), QString(text));
            EXPECT_TRUE(Check(item.check)->isChecked()) << "the selection stays";
        }
    }
}

TEST_F(BidInputPage, RefusedValuesNeverReachThePrinterAndFocusTheirEdit) {
    for (const BidItem& item : kItems) {
        for (const char* text : {"37", "-37", "72", "abc", "1 "}) {
            ClearTrace();
            InputOnly(item, text);
            EXPECT_EQ(StatusText(), QString(item.refused)) << item.edit << " '" << text << "'";
            EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
            EXPECT_EQ(Adjust().focusWidget(), Find<QLineEdit>(Adjust(), item.edit)) << item.edit;
            EXPECT_TRUE(Adjust().isEnabled());
            EXPECT_TRUE(Sent().empty()) << item.edit << " '" << text << "'";
            EXPECT_TRUE(Writes().empty());
            EXPECT_EQ(Adjust().AdjustedValue(item.panel), QString());
        }
    }
    EXPECT_EQ(Eeprom()[0x34], 0xDC);
    EXPECT_EQ(Eeprom()[0x33], 0xF6);
}

TEST_F(BidInputPage, InputStopsAtTheFirstRefusedItemAndKeepsWhatWasWritten) {
    Type("BidVSD1BkInputEdit", "5");
    Type("BidVSD2BkInputEdit", "40");
    Type("BidVSD3BkInputEdit", "1");
    Type("BidECOCLInputEdit", "2");
    Input();
    EXPECT_EQ(Sent(), (std::vector<Bytes>{BidPacket(1, 1, 5)}));
    const auto eeprom = Eeprom();
    EXPECT_EQ(eeprom[0x34], 5);
    EXPECT_EQ(eeprom[0x36], 0x80);
    EXPECT_EQ(eeprom[0x38], 0x00);
    EXPECT_EQ(eeprom[0x33], 0xF6);
    EXPECT_EQ(StatusText(), QStringLiteral("VSD2 Black value is wrong."));
    EXPECT_EQ(Adjust().focusWidget(), Find<QLineEdit>(Adjust(), "BidVSD2BkInputEdit"));
    EXPECT_EQ(Adjust().AdjustedValue("ShowBid1BkPnl"), QString())
        << "the adjusted items wait for the whole input";

    // Corrected, all four go out in item order.
    ClearTrace();
    Type("BidVSD2BkInputEdit", "-4");
    Input();
    EXPECT_EQ(Sent(), (std::vector<Bytes>{BidPacket(1, 1, 5), BidPacket(2, 1, -4),
                                          BidPacket(3, 1, 1), BidPacket(0, 2, 2)}));
    EXPECT_EQ(StatusText(), QString(bid_page_tests::kWritten));
    EXPECT_EQ(Adjust().AdjustedValue("ShowBid1BkPnl"), QStringLiteral("5"));
    EXPECT_EQ(Adjust().AdjustedValue("ShowBid2BkPnl"), QStringLiteral("-4"));
    EXPECT_EQ(Adjust().AdjustedValue("ShowBid3BkPnl"), QStringLiteral("1"));
    EXPECT_EQ(Adjust().AdjustedValue("ShowBidECOClPnl"), QStringLiteral("2"));
    EXPECT_EQ(Adjust().AdjustedValue("ShowBid1ClPnl"), QString());

    // A later input changes only the panels of its own items.
    InputOnly(kItems[1], "3");
    EXPECT_EQ(Adjust().AdjustedValue("ShowBid1ClPnl"), QStringLiteral("3"));
    EXPECT_EQ(Adjust().AdjustedValue("ShowBid1BkPnl"), QStringLiteral("5"));
}

TEST_F(BidInputPage, EditingAValueSelectsItsItemAndEmptyingItDeselectsIt) {
    Type("BidVSD3CLInputEdit", "5");
    std::vector<bool> expected = kNone;
    expected[5] = true;
    EXPECT_EQ(Checked(&BidItem::check), expected);
    Find<QLineEdit>(Adjust(), "BidVSD3CLInputEdit")->setFocus();
    QTest::keyClick(Find<QLineEdit>(Adjust(), "BidVSD3CLInputEdit"), Qt::Key_Backspace);
    EXPECT_EQ(Checked(&BidItem::check), kNone);

    // Typing stops at three characters.
    Type("BidVSD3CLInputEdit", "-1234");
    EXPECT_EQ(EditText("BidVSD3CLInputEdit"), QStringLiteral("-12"));
}

TEST_F(BidInputPage, TheUpDownsStepTheirEditsWithinMinus72To72) {
    Type("BidVSD1BkInputEdit", "70");
    Check("BidVSD1BkInputCheckBox")->setChecked(false);
    Step("BidVSD1BkInputUpDown", true);
    EXPECT_EQ(EditText("BidVSD1BkInputEdit"), QStringLiteral("71"));
    EXPECT_TRUE(Check("BidVSD1BkInputCheckBox")->isChecked());
    Step("BidVSD1BkInputUpDown", true);
    Step("BidVSD1BkInputUpDown", true);
    EXPECT_EQ(EditText("BidVSD1BkInputEdit"), QStringLiteral("72"));
    // 72 is reachable but refused.
    Input();
    EXPECT_EQ(StatusText(), QStringLiteral("VSD1 Black value is wrong."));
    EXPECT_TRUE(Sent().empty());

    Type("BidVSD2CLInputEdit", "-71");
    Step("BidVSD2CLInputUpDown", false);
    Step("BidVSD2CLInputUpDown", false);
    EXPECT_EQ(EditText("BidVSD2CLInputEdit"), QStringLiteral("-72"));
    // A stored value beyond the up-down's range steps from its end.
    Step("BidVSD2BkInputUpDown", true);
    EXPECT_EQ(EditText("BidVSD2BkInputEdit"), QStringLiteral("-71")) << "from the stored -128";
    // The arrow keys in an edit step it too, from the stored 0.
    QLineEdit* edit = Find<QLineEdit>(Adjust(), "BidVSD3BkInputEdit");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(EditText("BidVSD3BkInputEdit"), QStringLiteral("1"));
}

TEST_F(BidInputPage, APrinterNotReadyForInputIsReportedBeforeAnythingIsSent) {
    Type("BidVSD1BkInputEdit", "5");
    SetPrinterState(0, 6);  // paper out
    Input();
    EXPECT_EQ(
        StatusText(),
        QStringLiteral("Paper out error.\nClear the error and click the [Get Status] button."));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Eeprom()[0x34], 0xDC);

    // A send that fails is reported with its code; nothing is shown as done.
    SetPrinterState(4);
    FailNextCall("SendDataChannel", ResultChannelError);
    Input();
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(Adjust().AdjustedValue("ShowBid1BkPnl"), QString());
}

}  // namespace
