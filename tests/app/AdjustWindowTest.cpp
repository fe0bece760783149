#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <map>

#include "AppFixture.h"
#include "app/Cursor.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "app/Rk7formquit.h"
#include "app/pages/Page.h"
#include "app/widgets/MultiLineTabControl.h"
#include "app/widgets/RadioGroup.h"
#include "link/ResultCodes.h"

namespace {

using testing_support::AppTest;

const std::vector<bool> kAllOn9(9, true);

class AdjustWindow : public AppTest {
  protected:
    QString Value(const char* panel) { return Adjust().AdjustedValue(QString::fromUtf8(panel)); }
    QLabel& Label(const char* name) { return *Find<QLabel>(Adjust(), name); }
};

TEST_F(AdjustWindow, ShowsTheFrameWithFourTabsAndTheirGroups) {
    OpenAdjustmentWindow();
    ASSERT_EQ(Tabs().Count(), 4);
    EXPECT_EQ(Tabs().TabText(0), QStringLiteral("Adjustment"));
    EXPECT_EQ(Tabs().TabText(1), QStringLiteral("Maintenance"));
    EXPECT_EQ(Tabs().TabText(2), QStringLiteral("Check pattern"));
    EXPECT_EQ(Tabs().TabText(3), QStringLiteral("Appendix"));
    EXPECT_EQ(Group("AdjustRdoGrp").title(), QStringLiteral("Adjustment"));
    EXPECT_EQ(Group("CheckPatternPrnRdoGrp").title(), QStringLiteral("Check pattern items"));
    EXPECT_EQ(Group("AdjustRdoGrp").Item(7)->text(),
              QStringLiteral("Calorific limitation offset input"));
    EXPECT_EQ(Group("MainteRdoGrp").Count(), 4);
    EXPECT_EQ(Group("AppendixRdoGrp").Item(0)->text(), QStringLiteral("Save all EEPROM data"));
    EXPECT_EQ(VisiblePage(), QStringLiteral("CanvasPnl"));
    EXPECT_EQ(Find<QWidget>(Adjust(), "StatusMemo")->geometry(), QRect(253, 365, 413, 96));
    EXPECT_TRUE(Find<QWidget>(Adjust(), "StatusMemo")->font().bold());
    EXPECT_EQ(Find<QWidget>(Adjust(), "AdjustedItemsPnl")->geometry(), QRect(672, 5, 169, 456));
    EXPECT_EQ(Find<QWidget>(Adjust(), "TabPanel")->geometry(), QRect(5, 5, 240, 356));
    EXPECT_EQ(Find<QWidget>(Adjust(), "CanvasPnl")->geometry(), QRect(253, 5, 413, 356));
    EXPECT_EQ(Find<QWidget>(Adjust(), "AdjustQuitBtn")->geometry(), QRect(29, 425, 80, 25));
    EXPECT_EQ(Find<QWidget>(Adjust(), "GetStatusBtn")->geometry(), QRect(130, 425, 91, 25));
    EXPECT_EQ(disableInterval, 100);
}

// The tabs wrap by the widths of their texts in the control's font: a larger
// font takes more rows, and every row still spans the control's width.
TEST_F(AdjustWindow, TheTabsWrapAgainInAnotherFont) {
    OpenAdjustmentWindow();
    auto rowWidths = [this] {
        std::map<int, int> widths;  // by the row's top
        for (int i = 0; i < Tabs().Count(); ++i) {
            widths[Tabs().TabRect(i).top()] += Tabs().TabRect(i).width();
        }
        return widths;
    };
    const int rows = Tabs().RowCount();
    for (const auto& [top, width] : rowWidths()) {
        EXPECT_EQ(width, Tabs().width()) << "row at " << top;
    }
    QFont large = Tabs().font();
    large.setPixelSize(30);
    Tabs().setFont(large);
    EXPECT_GT(Tabs().RowCount(), rows);
    EXPECT_EQ(static_cast<int>(rowWidths().size()), Tabs().RowCount());
    for (const auto& [top, width] : rowWidths()) {
        EXPECT_EQ(width, Tabs().width()) << "row at " << top;
    }
}

TEST_F(AdjustWindow, EachItemShowsItsPageWithItsTitle) {
    OpenAdjustmentWindow();
    struct Expected {
        const char* group;
        int item;
        const char* page;
        const char* title;
    };
    const Expected pages[] = {
        {"AdjustRdoGrp", 0, "DefaultSetPnl", "Market setting "},
        {"AdjustRdoGrp", 1, "USBIDInputPnl", "USB ID input "},
        {"AdjustRdoGrp", 2, "HeadIDInputPnl", "Head ID input "},
        {"AdjustRdoGrp", 3, "HeadAngAdjustPnl", "Head angular adjustment "},
        {"AdjustRdoGrp", 4, "BidPrintPnl", "Print the Bi-D pattern "},
        {"AdjustRdoGrp", 5, "PFAdjustPnl", "PF adjustment "},
        {"AdjustRdoGrp", 6, "TopMarginMainPnl", "Top margin adjustment "},
        {"AdjustRdoGrp", 7, "CRHeatProtectOffsetPnl", "CR motor drive dispersion sequence "},
        {"AdjustRdoGrp", 8, "LandMarginAdjustPnl", "First dot adjustment "},
        {"MainteRdoGrp", 0, "CleaningPnl", "Head cleaning "},
        {"MainteRdoGrp", 1, "InkChargePnl", "Ink charge "},
        {"MainteRdoGrp", 2, "ProCounterMaintePnl", "Waste Ink Pad counter value "},
        {"MainteRdoGrp", 3, "EepromDataCopyPnl", "EEPROM data copy "},
        {"CheckPatternPrnRdoGrp", 0, "G0SCheckPrintPnl", "A4 normal paper print "},
        {"CheckPatternPrnRdoGrp", 1, "A4CheckPrintPnl", "A4 Photo Quality Ink Jet Paper print "},
        {"CheckPatternPrnRdoGrp", 2, "NozzleCheckPatternPrintPnl", "Nozzle check pattern print "},
        {"AppendixRdoGrp", 0, "EepromReadoutPnl", "Save all EEPROM data "},
    };
    for (const Expected& expected : pages) {
        ClickItem(expected.group, expected.item);
        // Pages that read on opening lock the window until the unlock tick.
        Adjust().DisableTimerTimer();
        EXPECT_EQ(VisiblePage(), QString::fromUtf8(expected.page)) << expected.page;
        const QString title = QString::fromUtf8(expected.page).chopped(3) + "TitleLbl";
        EXPECT_EQ(Adjust().findChild<QLabel*>(title)->text(), QString::fromUtf8(expected.title));
        EXPECT_EQ(Adjust().Page(expected.page)->geometry(), QRect(253, 5, 413, 356));
    }
}

TEST_F(AdjustWindow, OneItemAtMostIsSelectedOverAllFourGroups) {
    OpenAdjustmentWindow();
    ClickItem("AdjustRdoGrp", 4);
    ClickItem("MainteRdoGrp", 1);
    EXPECT_EQ(Group("AdjustRdoGrp").ItemIndex(), -1);
    EXPECT_EQ(Group("MainteRdoGrp").ItemIndex(), 1);
    ClickItem("AppendixRdoGrp", 0);
    EXPECT_EQ(Group("MainteRdoGrp").ItemIndex(), -1);
    EXPECT_EQ(Group("AppendixRdoGrp").ItemIndex(), 0);
    EXPECT_EQ(VisiblePage(), QStringLiteral("EepromReadoutPnl"));
}

TEST_F(AdjustWindow, ChangingTheTabShowsTheCanvasWithNothingSelected) {
    OpenAdjustmentWindow();
    ClickItem("AdjustRdoGrp", 4);
    ASSERT_EQ(VisiblePage(), QStringLiteral("BidPrintPnl"));
    Adjust().ShowStatus(StatusError, "left over");
    QTest::mouseClick(&Tabs(), Qt::LeftButton, {}, Tabs().TabRect(1).center());
    EXPECT_EQ(Tabs().CurrentIndex(), 1);
    EXPECT_EQ(VisiblePage(), QStringLiteral("CanvasPnl"));
    EXPECT_EQ(StatusText(), QString());
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    for (const char* group :
         {"AdjustRdoGrp", "MainteRdoGrp", "CheckPatternPrnRdoGrp", "AppendixRdoGrp"}) {
        EXPECT_EQ(Group(group).ItemIndex(), -1) << group;
    }
}

TEST_F(AdjustWindow, HeadIdGetsTheCursorAndPfStartsEmpty) {
    OpenAdjustmentWindow();
    ClickItem("AdjustRdoGrp", 2);
    EXPECT_EQ(Adjust().focusWidget(), Find<QLineEdit>(Adjust(), "HeadIDInputEdit"));

    auto* pf = Find<QLineEdit>(Adjust(), "PFAdjustDataEdit");
    pf->setText("3");
    ClickItem("AdjustRdoGrp", 5);
    EXPECT_EQ(pf->text(), QString());
}

TEST_F(AdjustWindow, ChoosingTheSelectedItemAgainDoesNothing) {
    OpenAdjustmentWindow();
    ClickItem("AdjustRdoGrp", 5);
    auto* pf = Find<QLineEdit>(Adjust(), "PFAdjustDataEdit");
    pf->setText("3");
    ClickItem("AdjustRdoGrp", 5);
    EXPECT_EQ(pf->text(), QStringLiteral("3"));
}

TEST_F(AdjustWindow, EnableItemsSetsTheThreeStates) {
    OpenAdjustmentWindow();
    Adjust().EnableItems(ItemsPrinterError);
    std::vector<bool> adjust(9, false);
    adjust[0] = true;
    EXPECT_EQ(ItemsEnabled("AdjustRdoGrp"), adjust);
    EXPECT_EQ(ItemsEnabled("MainteRdoGrp"), (std::vector<bool>{false, false, false, true}));
    EXPECT_FALSE(Group("CheckPatternPrnRdoGrp").isEnabled());
    EXPECT_EQ(ItemsEnabled("AppendixRdoGrp"), std::vector<bool>{true});

    Adjust().ShowStatus(StatusInfo, "before");
    Adjust().EnableItems(ItemsNoLink);
    EXPECT_EQ(ItemsEnabled("AdjustRdoGrp"), std::vector<bool>(9, false));
    EXPECT_EQ(ItemsEnabled("MainteRdoGrp"), (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(ItemsEnabled("AppendixRdoGrp"), std::vector<bool>{false});
    EXPECT_EQ(StatusText(), "before\nRestart the printer and click the [Get Status] button.");

    Adjust().EnableItems(7);
    EXPECT_EQ(ItemsEnabled("AppendixRdoGrp"), std::vector<bool>{false});

    Adjust().EnableItems(ItemsAll);
    EXPECT_EQ(ItemsEnabled("AdjustRdoGrp"), kAllOn9);
    EXPECT_EQ(ItemsEnabled("MainteRdoGrp"), std::vector<bool>(4, true));
    EXPECT_TRUE(Group("CheckPatternPrnRdoGrp").isEnabled());
    EXPECT_EQ(ItemsEnabled("AppendixRdoGrp"), std::vector<bool>{true});
}

TEST_F(AdjustWindow, AfterNoLinkOnlyEepromDataCopyTheTabsGetStatusAndQuitRespond) {
    OpenAdjustmentWindow();
    Adjust().EnableItems(ItemsNoLink);
    ClickItem("AdjustRdoGrp", 0);
    EXPECT_EQ(Group("AdjustRdoGrp").ItemIndex(), -1);
    ClickItem("MainteRdoGrp", 3);
    EXPECT_EQ(VisiblePage(), QStringLiteral("EepromDataCopyPnl"));
    QTest::mouseClick(&Tabs(), Qt::LeftButton, {}, Tabs().TabRect(2).center());
    EXPECT_EQ(Tabs().CurrentIndex(), 2);
    ClickItem("CheckPatternPrnRdoGrp", 0);
    EXPECT_EQ(VisiblePage(), QStringLiteral("CanvasPnl"));

    ClearTrace();
    Click(Adjust(), "GetStatusBtn");
    EXPECT_FALSE(Calls("InquireStatus").empty());
    Click(Adjust(), "AdjustQuitBtn");
    EXPECT_FALSE(Adjust().isVisible());
}

TEST_F(AdjustWindow, TheModelSetsItsNameAndTheInkConsumptionCaptions) {
    OpenAdjustmentWindow(1, "VTUSB002");
    EXPECT_EQ(Label("ModelNameLbl").text(), QStringLiteral("Orvane K32"));
    EXPECT_EQ(Label("CleaningBlackConsumptionLabel").text(),
              QStringLiteral("R2281 : About 8% of bland-new I/C."));
    EXPECT_EQ(Label("CleaningColorMConsumptionLabel").text(),
              QStringLiteral("R228x : About 3% of bland-new I/C."));
    EXPECT_EQ(Label("CleaningColorSConsumptionLabel").text(),
              QStringLiteral("R229x : About 4% of bland-new I/C."));
    EXPECT_EQ(Label("InkChargeBlackConsumptionLabel").text(),
              QStringLiteral("R2281 : About 23% of bland-new I/C."));
    EXPECT_EQ(Label("InkChargeColorMConsumptionLabel").text(),
              QStringLiteral("R228x : About 8% of bland-new I/C."));
    EXPECT_EQ(Label("InkChargeColorSConsumptionLabel").text(),
              QStringLiteral("R229x : About 12% of bland-new I/C."));
    EXPECT_FALSE(Label("CleaningColorSConsumptionLabel").isHidden());
    EXPECT_FALSE(Label("InkChargeColorSConsumptionLabel").isHidden());

    // The next printer is a K31: the texts change with the model.
    Adjust().close();
    Click(App().Quit(), "NextBtn");
    Choose("ModelNameCombo", 0);
    ChoosePort("VTUSB001");
    Click(Boot(), "PortSelectOKBtn");
    ASSERT_TRUE(Adjust().isVisible());
    EXPECT_EQ(Label("ModelNameLbl").text(), QStringLiteral("Orvane K31"));
    EXPECT_EQ(Label("CleaningBlackConsumptionLabel").text(),
              QStringLiteral("About 8% of bland-new I/C."));
    EXPECT_EQ(Label("CleaningColorMConsumptionLabel").text(),
              QStringLiteral("About 3% of bland-new I/C."));
    EXPECT_EQ(Label("InkChargeBlackConsumptionLabel").text(),
              QStringLiteral("About 23% of bland-new I/C."));
    EXPECT_EQ(Label("InkChargeColorMConsumptionLabel").text(),
              QStringLiteral("About 8% of bland-new I/C."));
    EXPECT_TRUE(Label("CleaningColorSConsumptionLabel").isHidden());
    EXPECT_TRUE(Label("InkChargeColorSConsumptionLabel").isHidden());
}

TEST_F(AdjustWindow, AnUnknownModelCodeShowsProgramMissAndStillGetsTheStatus) {
    OpenAdjustmentWindow();
    Adjust().hide();
    Boot().ModelCode = 255;
    ClearTrace();
    Adjust().show();
    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_EQ(Boxes().shown[0].text, "program miss!!");
    EXPECT_EQ(Boxes().shown[0].icon, orvane::MessageIcon::Error);
    EXPECT_EQ(Boxes().shown[0].owner, orvane::MessageOwner::AdjustmentWindow);
    EXPECT_FALSE(Calls("InquireStatus").empty());
}

}  // namespace
