#include <gtest/gtest.h>

#include <QEventLoop>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "AppFixture.h"
#include "app/Cursor.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "app/Rk7formquit.h"
#include "app/widgets/MultiLineTabControl.h"
#include "app/widgets/RadioGroup.h"
#include "support/TempFolder.h"

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
    bool heldAtTheEnd = false;
    Adjust().RunOperation([&] {
        EXPECT_EQ(Adjust().ShowStatus(StatusBusy, "Writing now..."), 1);
        Clock().onSleep = nullptr;
        heldAtTheEnd = Adjust().CloseHeld() && Adjust().isVisible();
        EXPECT_TRUE(Calls("D4Termination").empty());
    });
    EXPECT_EQ(visibleAtSleep, (std::vector<bool>{true, true}));
    EXPECT_TRUE(heldAtTheEnd);

    // Once the operation has returned, the held close has run.
    EXPECT_FALSE(Adjust().isVisible());
    EXPECT_FALSE(Adjust().CloseHeld());
    EXPECT_EQ(Calls("D4Termination").size(), 1u);
    EXPECT_TRUE(App().Quit().isVisible());
}

// A box or dialog that an operation opens runs an event loop of its own; the
// technician's close of the adjustment window arrives in it. It must wait
// until the operation that opened the box has returned.
class CloseInsideAnOperation : public AdjustWindowClose {
  protected:
    struct Seen {
        bool shown = false;
        bool visible = false;
        bool held = false;
        bool linkEnded = false;
    };

    // Runs a real event loop, as the box does, in which the window system's
    // close request is delivered, and notes what it left.
    void CloseInsideABox() {
        QEventLoop loop;
        QTimer::singleShot(0, &Adjust(), [this] { Adjust().windowHandle()->close(); });
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
        seen.shown = true;
        seen.visible = Adjust().isVisible();
        seen.held = Adjust().CloseHeld();
        seen.linkEnded = !Calls("D4Termination").empty() || !Calls("PortCloseByPway").empty();
    }

    void Choose(int tab, const char* group, int item) {
        QTest::mouseClick(&Tabs(), Qt::LeftButton, {}, Tabs().TabRect(tab).center());
        ClickItem(group, item);
        Adjust().DisableTimerTimer();
        ClearTrace();
    }

    // The close ran after the operation's last call to the printer, and
    // only once.
    void ExpectClosedAfter(const std::string& lastCall) {
        EXPECT_TRUE(seen.shown);
        EXPECT_TRUE(seen.visible) << "the window closed inside the operation";
        EXPECT_TRUE(seen.held);
        EXPECT_FALSE(seen.linkEnded) << "the link ended inside the operation";
        EXPECT_FALSE(Adjust().isVisible());
        EXPECT_FALSE(Adjust().CloseHeld());
        EXPECT_TRUE(App().Quit().isVisible());
        const std::vector<std::string> names = CallNames();
        const auto termination = std::find(names.begin(), names.end(), "D4Termination");
        ASSERT_NE(termination, names.end());
        EXPECT_EQ(std::count(names.begin(), names.end(), "D4Termination"), 1);
        const auto last = std::find(names.rbegin(), names.rend(), lastCall);
        ASSERT_NE(last, names.rend()) << lastCall;
        EXPECT_LT(last.base() - 1, termination) << lastCall << " came after the close";
    }

    Seen seen;
};

TEST_F(CloseInsideAnOperation, ThePaperOutBoxOfAPrint) {
    OpenAdjustmentWindow();
    Choose(2, "CheckPatternPrnRdoGrp", 2);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.paper = 0; });
    Boxes().onShow = [this](const orvane::MessageRequest&) {
        CloseInsideABox();
        ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
            config.paper = 5;
            config.state = 4;
            config.error = 0;
        });
    };
    Click(Adjust(), "NozzleCheckPatternPrintBtn");
    ASSERT_EQ(Boxes().shown.size(), 1u);
    ExpectClosedAfter("SendDataChannel");
    const auto* pages = Printers().PrintedPages("VTUSB001");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->size(), 1u) << "the print did not come to its end";
}

TEST_F(CloseInsideAnOperation, TheRestartBoxOfTheMarketSetting) {
    OpenAdjustmentWindow();
    Choose(0, "AdjustRdoGrp", 0);
    Boxes().onShow = [this](const orvane::MessageRequest&) { CloseInsideABox(); };
    Click(Adjust(), "DefaultSetOKBtn");
    ASSERT_EQ(Boxes().shown.size(), 1u);
    ExpectClosedAfter("D4Reset");
}

TEST_F(CloseInsideAnOperation, TheSaveDialogOfTheFullDump) {
    testing_support::TempFolder folder;
    const std::string path = folder / "dump.eep";
    OpenAdjustmentWindow();
    Choose(3, "AppendixRdoGrp", 0);
    SaveDialogs().answers = {path};
    SaveDialogs().onShow = [this](const orvane::SaveDialogOptions&) { CloseInsideABox(); };
    Click(Adjust(), "EepromReadoutBtn");
    ExpectClosedAfter("D4ReadEeprom");
    EXPECT_FALSE(testing_support::ReadFile(path).empty()) << "the dump was not saved";
}

// The EEPROM data copy panels are labels that act on a mouse click, not
// buttons; their operations hold a close as the buttons' do.
TEST_F(CloseInsideAnOperation, TheReadinessWaitOfTheBackupPanel) {
    OpenAdjustmentWindow();
    Choose(1, "MainteRdoGrp", 3);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.busyPolls = 1; });
    Clock().onSleep = [this](uint32_t) {
        Clock().onSleep = nullptr;
        CloseInsideABox();
    };
    auto* panel = Find<QLabel>(Adjust(), "EepDataCopyBackUpStartPnl");
    ASSERT_NE(panel, nullptr);
    QTest::mouseClick(panel, Qt::LeftButton);
    ExpectClosedAfter("D4ReadEeprom");
}

}  // namespace
