#include <gtest/gtest.h>

#include <QTest>

#include "AppFixture.h"
#include "app/Cursor.h"
#include "app/Rk7formadjust.h"
#include "app/widgets/MultiLineTabControl.h"
#include "app/widgets/RadioGroup.h"
#include "link/ResultCodes.h"

namespace {

using testing_support::AppTest;

class StatusLine : public AppTest {
  protected:
    void SetUp() override { OpenAdjustmentWindow(); }
    bool Locked() { return !Adjust().isEnabled(); }
    void PaperOut() {
        ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
            config.state = 0;
            config.error = 6;
        });
    }
};

struct KindCase {
    int kind;
    QColor colour;
    bool hourglass;
    bool locked;
};

TEST_F(StatusLine, EachKindSetsItsColourCursorAndLock) {
    const KindCase cases[] = {
        {StatusBusyNoWait, TFormAdjust::kStatusBlue, true, true},
        {StatusDoneNoWait, TFormAdjust::kStatusBlack, false, true},
        {StatusBusy, TFormAdjust::kStatusBlue, true, true},
        {StatusError, TFormAdjust::kStatusRed, false, false},
        {StatusBusy, TFormAdjust::kStatusBlue, true, true},
        {StatusDone, TFormAdjust::kStatusBlack, false, true},
    };
    for (const KindCase& c : cases) {
        EXPECT_EQ(Adjust().ShowStatus(c.kind, "text of " + std::to_string(c.kind)), ResultOk);
        EXPECT_EQ(StatusText(), QString::fromStdString("text of " + std::to_string(c.kind)));
        EXPECT_EQ(StatusColour(), c.colour) << c.kind;
        EXPECT_EQ(orvane_app::HourglassCursorShown(), c.hourglass) << c.kind;
        EXPECT_EQ(Locked(), c.locked) << c.kind;
    }
}

TEST_F(StatusLine, InfoAppendAndAddLineLeaveCursorAndLockAlone) {
    Adjust().ShowStatus(StatusBusyNoWait, "Reading now...");
    Adjust().ShowStatus(StatusInfo, "Printer is busy.");
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    EXPECT_TRUE(orvane_app::HourglassCursorShown());
    EXPECT_TRUE(Locked());

    Adjust().ShowStatus(StatusError, "Paper out error.");
    Adjust().ShowStatus(StatusAddLine, "Clear the error");
    Adjust().ShowStatus(StatusAppend, " and click.");
    Adjust().ShowStatus(StatusAddLine, "Maximum value =");
    Adjust().ShowStatus(StatusAppend, "25000");
    // The colour is that of the whole line, and the last kind that set it.
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_EQ(StatusText(), "Paper out error.\nClear the error and click.\nMaximum value =25000");
    EXPECT_FALSE(Locked());
}

TEST_F(StatusLine, AppendToAnEmptyLineAndAnUnknownKind) {
    Adjust().ShowStatus(StatusInfo, "");
    Adjust().ShowStatus(StatusAppend, "USB ID = ");
    Adjust().ShowStatus(StatusAppend, "ABC");
    EXPECT_EQ(StatusText(), QStringLiteral("USB ID = ABC"));
    Adjust().ShowStatus(StatusInfo, "");
    Adjust().ShowStatus(StatusAddLine, "first");
    EXPECT_EQ(StatusText(), QStringLiteral("first"));

    Adjust().ShowStatus(StatusBusyNoWait, "locked");
    EXPECT_EQ(Adjust().ShowStatus(7, "ignored"), ResultOk);
    EXPECT_EQ(StatusText(), QStringLiteral("locked"));
    EXPECT_TRUE(Locked());
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlue);
}

TEST_F(StatusLine, AClickDuringTheLockDoesNothingAndAfterTheTickItWorks) {
    Adjust().ShowStatus(StatusBusyNoWait, "Writing now...");
    Adjust().ShowStatus(StatusDoneNoWait, "The value has written properly.");
    EXPECT_TRUE(Adjust().DisableTimer().isActive());
    ClickItem("AdjustRdoGrp", 4);
    QTest::mouseClick(&Tabs(), Qt::LeftButton, {}, Tabs().TabRect(1).center());
    EXPECT_EQ(Group("AdjustRdoGrp").ItemIndex(), -1);
    EXPECT_EQ(Tabs().CurrentIndex(), 0);
    EXPECT_EQ(VisiblePage(), QStringLiteral("CanvasPnl"));

    Adjust().DisableTimerTimer();
    EXPECT_FALSE(Locked());
    EXPECT_FALSE(Adjust().DisableTimer().isActive());
    ClickItem("AdjustRdoGrp", 4);
    EXPECT_EQ(VisiblePage(), QStringLiteral("BidPrintPnl"));
}

TEST_F(StatusLine, ABusyWaitWithThePrinterInErrorChangesNothing) {
    Adjust().ShowStatus(StatusInfo, "before");
    PaperOut();
    ClearTrace();
    EXPECT_EQ(Adjust().ShowStatus(StatusBusy, "Writing now..."), ResultPrinterError);
    EXPECT_FALSE(Locked());
    EXPECT_EQ(StatusText(), QStringLiteral("before"));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    EXPECT_FALSE(orvane_app::HourglassCursorShown());
    EXPECT_TRUE(Clock().Sleeps().empty());
    EXPECT_TRUE(Calls("SendDataChannel").empty());
}

TEST_F(StatusLine, ABusyWaitShowsTheWaitingTextsUntilTheLastPoll) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.busyPolls = 3; });
    std::vector<QString> shownAtSleep;
    std::vector<bool> lockedAtSleep;
    Clock().onSleep = [&](uint32_t) {
        shownAtSleep.push_back(StatusText());
        lockedAtSleep.push_back(Locked());
    };
    ClearTrace();
    EXPECT_EQ(Adjust().ShowStatus(StatusBusy, "Writing now..."), ResultOk);
    EXPECT_EQ(shownAtSleep, std::vector<QString>(3, "Printer is busy.\nPlease wait.."));
    EXPECT_EQ(lockedAtSleep, std::vector<bool>(3, true));
    EXPECT_EQ(Clock().Sleeps(), (std::vector<uint32_t>{1000, 1000, 1000}));
    EXPECT_EQ(StatusText(), QStringLiteral("Writing now..."));
    EXPECT_EQ(Calls("InquireStatus").size(), 4u);
}

TEST_F(StatusLine, ADoneWaitThatFailsReportsTheCodeAndShowsNoCompletionText) {
    Adjust().ShowStatus(StatusBusyNoWait, "Writing now...");
    PaperOut();
    EXPECT_EQ(Adjust().ShowStatus(StatusDone, "The value has written properly."),
              ResultPrinterError);
    EXPECT_EQ(StatusText(), "Paper out error.\nClear the error and click the [Get Status] button.");
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_FALSE(Locked());
    EXPECT_FALSE(Adjust().DisableTimer().isActive());
}

TEST_F(StatusLine, ADoneWaitWaitsSilently) {
    Adjust().ShowStatus(StatusBusyNoWait, "Cleaning now...");
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.state = 7; });
    int polls = 0;
    Clock().onSleep = [&](uint32_t) {
        EXPECT_EQ(StatusText(), QStringLiteral("Cleaning now..."));
        if (++polls == 2) {
            ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.state = 4; });
        }
    };
    EXPECT_EQ(Adjust().ShowStatus(StatusDone, "The head cleaning has completed."), ResultOk);
    EXPECT_EQ(polls, 2);
    EXPECT_EQ(StatusText(), QStringLiteral("The head cleaning has completed."));
}

}  // namespace
