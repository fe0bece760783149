#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QWindow>

#include "AppFixture.h"
#include "app/Cursor.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "app/Rk7formquit.h"
#include "app/widgets/MultiLineTabControl.h"
#include "app/widgets/RadioGroup.h"

namespace {

using testing_support::AppTest;

const char* const kAllValues[] = {
    "ShowHeadIDPnl",    "ShowBid1BkPnl",          "ShowBid1ClPnl",
    "ShowBid2BkPnl",    "ShowBid2ClPnl",          "ShowBid3BkPnl",
    "ShowBid3ClPnl",    "ShowUSBIDPnl",           "ShowProCounterPnl",
    "ShowBidECOBkPnl",  "ShowBidECOClPnl",        "ShowHeadAngularAdjustValuePnl",
    "ShowTopMarginPnl", "ShowPFAdjustValueBKPnl", "ShowPFAdjustValueCLPnl"};

class AdjustWindowClose : public AppTest {
  protected:
    // A run in which every value was adjusted and a Maintenance page chosen,
    // on the Maintenance tab, with an item selected in every group.
    void UseTheWindow() {
        for (const char* panel : kAllValues) {
            Adjust().SetAdjustedValue(QString::fromUtf8(panel), QStringLiteral("7"));
        }
        QTest::mouseClick(&Tabs(), Qt::LeftButton, {}, Tabs().TabRect(1).center());
        ClickItem("MainteRdoGrp", 0);
        // What the groups hold may differ from what one choice leaves.
        Group("AdjustRdoGrp").SetItemIndex(3);
        Group("CheckPatternPrnRdoGrp").SetItemIndex(1);
        Group("AppendixRdoGrp").SetItemIndex(0);
        Adjust().ShowStatus(StatusInfo, "text");
    }

    void ExpectClosedInItsSixSteps() {
        EXPECT_FALSE(Adjust().isVisible());
        EXPECT_TRUE(App().Quit().isVisible());
        EXPECT_FALSE(App().Quit().isModal());
        EXPECT_EQ(VisiblePage(), QStringLiteral("CanvasPnl"));
        EXPECT_EQ(StatusText(), QString());
        for (const char* panel : kAllValues) {
            const bool kept = QString::fromUtf8(panel).startsWith("ShowTopMargin") ||
                              QString::fromUtf8(panel).startsWith("ShowPF");
            EXPECT_EQ(Adjust().AdjustedValue(QString::fromUtf8(panel)),
                      kept ? QStringLiteral("7") : QString())
                << panel;
        }
        EXPECT_EQ(CallNames(), (std::vector<std::string>{"D4Termination", "PortCloseByPway"}));
        EXPECT_FALSE(orvane_app::HourglassCursorShown());
        EXPECT_EQ(Group("AdjustRdoGrp").ItemIndex(), -1);
        EXPECT_EQ(Group("MainteRdoGrp").ItemIndex(), -1);
        EXPECT_EQ(Group("CheckPatternPrnRdoGrp").ItemIndex(), -1);
        EXPECT_EQ(Group("AppendixRdoGrp").ItemIndex(), 0);
        EXPECT_EQ(Tabs().CurrentIndex(), 0);
        EXPECT_TRUE(Tabs().isEnabled());
        EXPECT_TRUE(Find<QWidget>(Adjust(), "AdjustQuitBtn")->isEnabled());
    }
};

TEST_F(AdjustWindowClose, QuitClosesInSixSteps) {
    OpenAdjustmentWindow();
    UseTheWindow();
    ClearTrace();
    Click(Adjust(), "AdjustQuitBtn");
    ExpectClosedInItsSixSteps();
}

TEST_F(AdjustWindowClose, TheSystemCloseButtonDoesTheSame) {
    OpenAdjustmentWindow();
    UseTheWindow();
    ClearTrace();
    // What the window system sends when its close button is pressed.
    ASSERT_NE(Adjust().windowHandle(), nullptr);
    Adjust().windowHandle()->close();
    ExpectClosedInItsSixSteps();
}

TEST_F(AdjustWindowClose, ActivatingTheFirstTabDoesNotRunTheTabChange) {
    OpenAdjustmentWindow();
    QTest::mouseClick(&Tabs(), Qt::LeftButton, {}, Tabs().TabRect(3).center());
    Group("AppendixRdoGrp").SetItemIndex(0);
    Adjust().close();
    // The tab change would have cleared the Appendix selection.
    EXPECT_EQ(Group("AppendixRdoGrp").ItemIndex(), 0);
}

TEST_F(AdjustWindowClose, ASecondRunStartsWithOnlyTheTopMarginAndPfValuesOfTheFirst) {
    OpenAdjustmentWindow();
    for (const char* panel : kAllValues) {
        Adjust().SetAdjustedValue(QString::fromUtf8(panel), QStringLiteral("5"));
    }
    Adjust().close();
    Click(App().Quit(), "NextBtn");
    Choose("ModelNameCombo", 0);
    ChoosePort("VTUSB001");
    Click(Boot(), "PortSelectOKBtn");
    ASSERT_TRUE(Adjust().isVisible());
    EXPECT_EQ(Adjust().AdjustedValue("ShowTopMarginPnl"), QStringLiteral("5"));
    EXPECT_EQ(Adjust().AdjustedValue("ShowPFAdjustValueBKPnl"), QStringLiteral("5"));
    EXPECT_EQ(Adjust().AdjustedValue("ShowPFAdjustValueCLPnl"), QStringLiteral("5"));
    EXPECT_EQ(Adjust().AdjustedValue("ShowUSBIDPnl"), QString());
    EXPECT_EQ(Adjust().AdjustedValue("ShowHeadIDPnl"), QString());
}

TEST_F(AdjustWindowClose, ACloseDuringAWaitIsHeldUntilTheOperationEnds) {
    OpenAdjustmentWindow();
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.busyPolls = 2; });
    std::vector<bool> visibleAtSleep;
    Clock().onSleep = [&](uint32_t) {
        Adjust().close();
        visibleAtSleep.push_back(Adjust().isVisible());
    };
    ClearTrace();
    EXPECT_EQ(Adjust().ShowStatus(StatusBusy, "Writing now..."), 1);
    EXPECT_EQ(visibleAtSleep, (std::vector<bool>{true, true}));
    EXPECT_TRUE(Adjust().isVisible());
    EXPECT_TRUE(Adjust().CloseHeld());
    EXPECT_TRUE(Calls("D4Termination").empty());

    // Back in the event loop, the held close runs.
    Clock().onSleep = nullptr;
    Adjust().ReleaseHeldClose();
    EXPECT_FALSE(Adjust().isVisible());
    EXPECT_FALSE(Adjust().CloseHeld());
    EXPECT_EQ(Calls("D4Termination").size(), 1u);
    EXPECT_TRUE(App().Quit().isVisible());
}

}  // namespace
