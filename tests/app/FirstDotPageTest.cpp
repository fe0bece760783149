#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QToolButton>

#include "PageFixture.h"
#include "adjust/PacketTrace.h"
#include "app/Rk7howtofirstdotadjust.h"
#include "link/ResultCodes.h"

namespace {

using adjust_tests::Bytes;
using adjust_tests::kStorePacket;
using adjust_tests::SentData;
using testing_support::PageTest;

const char* const kRead = "The first dot position adjustment value has read properly.";
const char* const kWritten = "The first dot position adjustment value has written properly.";
const char* const kPrinted = "The first dot position pattern print has completed.";
const char* const kEdit = "LandMarginInputEdit";

Bytes FirstDotPacket(uint8_t value) {
    return {0x1B, 0x7C, 0x00, 0x06, 0x00, 0x0B, 0x54, 0x06, 0xF9, 0x03, value};
}

// What the page shows: the edit, the two gauges and the millimetres.
struct Shown {
    QString edit;
    int left;
    int right;
    QString realValue;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& shown) {
    return out << '"' << shown.edit.toStdString() << "\" " << shown.left << '/' << shown.right
               << ' ' << shown.realValue.toStdString();
}

class FirstDotPage : public PageTest {
  protected:
    // Opens the page on a printer that stores value; opening reads it.
    void Open(uint8_t stored = 0) {
        Store(stored);
        OpenPage("AdjustRdoGrp", 8);
        // The read is over once the unlock timer has ticked.
        Adjust().DisableTimerTimer();
    }
    void Store(uint8_t value) {
        ChangeEeprom("VTUSB001", [value](vprinter::Eeprom& eeprom) { eeprom[0x59] = value; });
    }
    // Stores value and presses Read.
    void ReadBack(uint8_t value) {
        Store(value);
        Press("LandMarginCheckBtn");
    }
    Shown Display() {
        return {EditText(kEdit), Find<QProgressBar>(Adjust(), "LeftMarginGauge")->value(),
                Find<QProgressBar>(Adjust(), "RightMarginGauge")->value(),
                Find<QLabel>(Adjust(), "LandMarginInputRealValuePnl")->text()};
    }
    void UpDown(bool up) { Step("LandMarginInputUpDown", up); }
    QWidget* Edit() { return Find<QLineEdit>(Adjust(), kEdit); }
};

TEST_F(FirstDotPage, OpeningThePageReadsTheStoredValue) {
    Store(100);
    OpenAdjustmentWindow();
    ClearTrace();
    ClickItem("AdjustRdoGrp", 8);
    Adjust().DisableTimerTimer();
    EXPECT_EQ(Reads(), std::vector<int>{0x59});
    EXPECT_EQ(Display(), (Shown{"100", 89, 11, "1.7640 mm"}));
    EXPECT_EQ(StatusText(), QString(kRead));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    EXPECT_TRUE(Adjust().isEnabled());

    // Stored bytes are signed.
    ReadBack(0xF6);
    EXPECT_EQ(Display(), (Shown{"-10", 47, 53, "-0.1764 mm"}));
    ReadBack(0x7F);
    EXPECT_EQ(Display(), (Shown{"127", 100, 0, "2.2403 mm"}));
    EXPECT_TRUE(Writes().empty());
}

TEST_F(FirstDotPage, TheCentreAndEdgeButtonsSetTheirValuesWithoutThePrinter) {
    Open(100);
    ClearTrace();
    Press("CenteringBitBtn");
    EXPECT_EQ(Display(), (Shown{"0", 50, 50, "0.0000 mm"}));
    Press("GotoRightEdgeBitBtn");
    EXPECT_EQ(Display(), (Shown{"127", 100, 0, "2.2403 mm"}));
    Press("GotoLeftEdgeBitBtn");
    EXPECT_EQ(Display(), (Shown{"-127", 0, 100, "-2.2403 mm"}));
    EXPECT_TRUE(CallNames().empty());
    EXPECT_EQ(StatusText(), QString(kRead));
}

TEST_F(FirstDotPage, StepButtonsMoveFourAtATimeAndStopAtTheEnds) {
    Open(0);
    Press("SteptoRightBitBtn");
    EXPECT_EQ(Display(), (Shown{"4", 51, 49, "0.0706 mm"}));
    Press("SteptoLeftBitBtn");
    Press("SteptoLeftBitBtn");
    EXPECT_EQ(Display(), (Shown{"-4", 49, 51, "-0.0706 mm"}));

    ReadBack(125);
    Press("SteptoRightBitBtn");
    EXPECT_EQ(Display(), (Shown{"127", 100, 0, "2.2403 mm"}));
    Press("SteptoRightBitBtn");
    EXPECT_EQ(EditText(kEdit), QStringLiteral("127"));
    Press("SteptoLeftBitBtn");
    EXPECT_EQ(Display(), (Shown{"123", 98, 2, "2.1697 mm"}));

    ReadBack(static_cast<uint8_t>(-125));
    Press("SteptoLeftBitBtn");
    EXPECT_EQ(Display(), (Shown{"-127", 0, 100, "-2.2403 mm"}));
    Press("SteptoLeftBitBtn");
    EXPECT_EQ(EditText(kEdit), QStringLiteral("-127"));
}

TEST_F(FirstDotPage, TheUpDownStepsByOneWithinItsRange) {
    Open(126);
    UpDown(true);
    EXPECT_EQ(Display(), (Shown{"127", 100, 0, "2.2403 mm"}));
    UpDown(true);
    EXPECT_EQ(Display(), (Shown{"127", 100, 0, "2.2403 mm"}));
    UpDown(false);
    EXPECT_EQ(Display(), (Shown{"126", 99, 1, "2.2226 mm"}));

    Press("CenteringBitBtn");
    UpDown(false);
    EXPECT_EQ(Display(), (Shown{"-1", 50, 50, "-0.0176 mm"}));

    ReadBack(static_cast<uint8_t>(-126));
    UpDown(false);
    EXPECT_EQ(Display(), (Shown{"-127", 0, 100, "-2.2403 mm"}));
    UpDown(false);
    EXPECT_EQ(EditText(kEdit), QStringLiteral("-127"));
    // The edit only changes through the page's controls.
    EXPECT_TRUE(Find<QLineEdit>(Adjust(), kEdit)->isReadOnly());
}

TEST_F(FirstDotPage, AStored0x80IsShownAsReadAndRefusedByInput) {
    Open(0x80);
    EXPECT_EQ(Display(), (Shown{"-128", 0, 100, "-2.2403 mm"}));
    EXPECT_EQ(StatusText(), QString(kRead));

    ClearTrace();
    // The warning unlocks at once: no timer tick here.
    Click(Adjust(), "LandMarginInputBtn");
    EXPECT_TRUE(StatusText().contains("-127 to 127"));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_EQ(Adjust().focusWidget(), Edit());
    EXPECT_TRUE(Adjust().isEnabled());
    EXPECT_TRUE(CallNames().empty());
    EXPECT_EQ(Eeprom()[0x59], 0x80);

    // The controls step from it back into the range.
    Press("SteptoRightBitBtn");
    EXPECT_EQ(EditText(kEdit), QStringLiteral("-124"));
    ReadBack(0x80);
    UpDown(true);
    EXPECT_EQ(EditText(kEdit), QStringLiteral("-126"));
    ReadBack(0x80);
    UpDown(false);
    EXPECT_EQ(EditText(kEdit), QStringLiteral("-127"));
}

TEST_F(FirstDotPage, InputSendsTheValueThenStoresIt) {
    Open(0);
    const std::pair<const char*, int> moves[] = {
        {"GotoRightEdgeBitBtn", 127}, {"SteptoLeftBitBtn", 123}, {"GotoLeftEdgeBitBtn", -127}};
    for (const auto& [button, value] : moves) {
        Press(button);
        ClearTrace();
        Press("LandMarginInputBtn");
        const auto byte = static_cast<uint8_t>(value);
        EXPECT_EQ(SentData(Calls()), (std::vector<Bytes>{FirstDotPacket(byte), kStorePacket}))
            << value;
        EXPECT_EQ(Eeprom()[0x59], byte) << value;
        EXPECT_EQ(StatusText(), QString(kWritten));
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
        EXPECT_TRUE(Adjust().isEnabled());
    }
    // What was written reads back.
    Press("CenteringBitBtn");
    Press("LandMarginCheckBtn");
    EXPECT_EQ(Display(), (Shown{"-127", 0, 100, "-2.2403 mm"}));
}

TEST_F(FirstDotPage, AFailedReadLeavesTheEditEmptyAndTheFourPointButtonsIdle) {
    Open(40);
    FailNextCall("D4ReadEeprom", ResultChannelError);
    Press("LandMarginCheckBtn");
    EXPECT_EQ(EditText(kEdit), QString());
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_TRUE(Adjust().isEnabled());

    // Nothing to step from: the four-at-a-time buttons leave the edit empty.
    Press("SteptoRightBitBtn");
    Press("SteptoLeftBitBtn");
    EXPECT_EQ(EditText(kEdit), QString());

    ClearTrace();
    Press("LandMarginInputBtn");
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_EQ(Adjust().focusWidget(), Edit());
    EXPECT_TRUE(CallNames().empty());

    // The up-down steps from its own position, and the display follows.
    UpDown(true);
    EXPECT_EQ(Display(), (Shown{"1", 50, 50, "0.0176 mm"}));

    Press("CenteringBitBtn");
    EXPECT_EQ(Display(), (Shown{"0", 50, 50, "0.0000 mm"}));
}

TEST_F(FirstDotPage, FailuresOfTheWriteAreReported) {
    Open(40);
    Press("SteptoRightBitBtn");
    // The store packet is refused: the stored value stays.
    FailNextCall("SendDataChannel", ResultChannelError, 2);
    Press("LandMarginInputBtn");
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_EQ(Eeprom()[0x59], 40);
    EXPECT_TRUE(Adjust().isEnabled());
}

TEST_F(FirstDotPage, PrintPrintsThePatternOnItsOwnPage) {
    Open(0);
    const auto* before = Printers().PrintedPages("VTUSB001");
    const size_t printed = before == nullptr ? 0 : before->size();
    Press("LandMarginPrintBtn");
    EXPECT_EQ(StatusText(), QString(kPrinted));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    const auto* pages = Printers().PrintedPages("VTUSB001");
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->size(), printed + 1);
    EXPECT_NE(pages->back().AllText().find("First dot position"), std::string::npos);
    EXPECT_FALSE(pages->back().Blank());
    EXPECT_TRUE(Writes().empty());

    FailNextCall("SendDataChannel", ResultChannelError);
    Press("LandMarginPrintBtn");
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
}

TEST_F(FirstDotPage, PaperFeedSendsThreeLineFeedsWithoutWaitingOrLocking) {
    Open(0);
    ClearTrace();
    Click(Adjust(), "LandMarginFeedBtn");
    const Bytes feeds = {'\r', '\n', '\r', '\n', '\r', '\n'};
    EXPECT_EQ(SentData(Calls()), std::vector<Bytes>{feeds});
    EXPECT_TRUE(Calls("InquireStatus").empty());
    EXPECT_EQ(StatusText(), QString(kRead));
    EXPECT_TRUE(Adjust().isEnabled());

    FailNextCall("SendDataChannel", ResultChannelError);
    Press("LandMarginFeedBtn");
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
}

TEST_F(FirstDotPage, HowToAdjustShowsItsWindow) {
    Open(0);
    Press("FirstDotHowToAdjustBtn");
    EXPECT_TRUE(App().HowToFirstDotAdjust().isVisible());
    EXPECT_TRUE(Adjust().isEnabled());
}

}  // namespace
