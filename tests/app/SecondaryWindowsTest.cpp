#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include "AppFixture.h"
#include "app/Rk7formabout.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "app/Rk7formquit.h"
#include "app/Rk7howtobidadjust.h"
#include "app/Rk7howtochecka4pat.h"
#include "app/Rk7howtochecka4pat2.h"
#include "app/Rk7howtofirstdotadjust.h"
#include "app/Rk7howtohdangadjust.h"
#include "app/Rk7howtopfadjust.h"
#include "app/Rk7howtotopmarginadjust.h"

namespace {

using testing_support::AppTest;

class QuitWindow : public AppTest {
  protected:
    void SetUp() override {
        FakePorts().ports = {"VTUSB001", "VTUSB002"};
        OpenAdjustmentWindow();
        Adjust().close();
        ASSERT_TRUE(App().Quit().isVisible());
    }
};

TEST_F(QuitWindow, HasItsQuestionAndButtons) {
    EXPECT_EQ(Find<QLabel>(App().Quit(), "Label1")->text(), QStringLiteral("Do you continue?"));
    EXPECT_EQ(Find<QPushButton>(App().Quit(), "NextBtn")->text(), QStringLiteral("Continue"));
    EXPECT_TRUE(Find<QPushButton>(App().Quit(), "NextBtn")->isDefault());
    EXPECT_EQ(Find<QPushButton>(App().Quit(), "QuitBtn")->text(), QStringLiteral("Quit"));
    EXPECT_FALSE(App().Quit().windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(QuitWindow, ContinueLeadsBackToAFreshBootWindowWithTheLinkClosed) {
    FakePorts().ports = {"VTUSB002", "VTUSB001", "LPT1:"};
    ClearTrace();
    Click(App().Quit(), "NextBtn");
    EXPECT_FALSE(App().Quit().isVisible());
    EXPECT_TRUE(Boot().isVisible());
    EXPECT_EQ(Find<QComboBox>(Boot(), "ModelNameCombo")->currentIndex(), -1);
    EXPECT_EQ(Find<QComboBox>(Boot(), "InterfaceCombo")->currentIndex(), -1);
    EXPECT_EQ(Find<QComboBox>(Boot(), "InterfaceCombo")->count(), 3);
    EXPECT_EQ(FakePorts().calls, 2);
    EXPECT_TRUE(CallNames().empty());
}

TEST_F(QuitWindow, QuitClosesTheBootWindowAndEndsTheProgram) {
    QSignalSpy ends(&Boot(), &TFormBoot::ProgramEnds);
    ClearTrace();
    Click(App().Quit(), "QuitBtn");
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(CallNames(), (std::vector<std::string>{"PortCloseByPway"}));
}

TEST_F(QuitWindow, EnterContinuesAndEscQuits) {
    QTest::keyClick(&App().Quit(), Qt::Key_Return);
    EXPECT_TRUE(Boot().isVisible());
    Boot().hide();
    App().Quit().show();
    QSignalSpy ends(&Boot(), &TFormBoot::ProgramEnds);
    QTest::keyClick(&App().Quit(), Qt::Key_Escape);
    EXPECT_EQ(ends.count(), 1);
}

TEST_F(QuitWindow, TheWindowSystemCannotCloseIt) {
    ASSERT_NE(App().Quit().windowHandle(), nullptr);
    App().Quit().windowHandle()->close();
    EXPECT_TRUE(App().Quit().isVisible());
}

class HowToWindows : public AppTest {
  protected:
    void SetUp() override { Start(); }
};

TEST_F(HowToWindows, NextAndBackAlternateBetweenTheTwoCheckSheetWindows) {
    THowToCheckA4PatForm& first = App().HowToCheckA4Pat();
    THowToCheckA4Pad2Form& second = App().HowToCheckA4Pad2();
    first.ShowForward();
    for (int round = 0; round < 2; ++round) {
        Click(first, "A4SFCheckNextBtn");
        EXPECT_FALSE(first.isVisible());
        EXPECT_TRUE(second.isVisible());
        Click(second, "A4SFCheckBackBtn");
        EXPECT_TRUE(first.isVisible());
        EXPECT_FALSE(second.isVisible());
    }
    EXPECT_EQ(Find<QPushButton>(first, "A4SFCheckNextBtn")->text(), QStringLiteral("Next"));
    EXPECT_EQ(Find<QPushButton>(second, "A4SFCheckBackBtn")->text(), QStringLiteral("Back"));
}

TEST_F(HowToWindows, HaveTheirCaptionsAndPicturesAndDoNotBlock) {
    const std::pair<THowToForm*, const char*> windows[] = {
        {&App().HowToHdAngAdjust(), "How to Head angular adjustment"},
        {&App().HowToPFAdjust(), "How to PF adjustment"},
        {&App().HowToBidAdjust(), "How to Bi-D adjustment"},
        {&App().HowToCheckA4Pat(), "How to check the A4 SF paper print(1/2)"},
        {&App().HowToCheckA4Pad2(), "How to check the A4 SF paper print(2/2)"},
        {&App().HowToFirstDotAdjust(), "How to First dot adjustment"},
        {&App().HowToTopMarginAdjust(), "How to Top margin adjustment"},
    };
    for (const auto& [window, caption] : windows) {
        window->ShowForward();
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(caption));
        // The picture is drawn for the first showing and fills its place.
        auto* image = Find<QLabel>(*window, "Image1");
        EXPECT_FALSE(image->pixmap().isNull()) << caption;
        EXPECT_EQ(image->pixmap().size(), image->size()) << caption;
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->isModal());
        EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
        // Opening it again only brings it forward.
        window->ShowForward();
        EXPECT_TRUE(window->isVisible());
        window->close();
        EXPECT_FALSE(window->isVisible());
    }
}

TEST_F(HowToWindows, TheTextsReadInTheirOrder) {
    auto text = [&](THowToForm& window, const char* label) {
        window.Build();
        return Find<QLabel>(window, label)->text().toStdString();
    };
    EXPECT_EQ(text(App().HowToHdAngAdjust(), "Label4"),
              "Input the adjustment value of straight line in the printed lines.");
    EXPECT_EQ(text(App().HowToPFAdjust(), "Label7"),
              "If the pattern of \"NG\" is the best, please repair the printer appropriately and "
              "adjust value again.");
    EXPECT_EQ(text(App().HowToCheckA4Pat(), "Label4"),
              "Please confirm that \"X\" is the best value of the three.");
    EXPECT_EQ(text(App().HowToCheckA4Pad2(), "Label5"),
              "Please confirm the value from top edge.   ");
    EXPECT_EQ(text(App().HowToCheckA4Pad2(), "Label15"),
              "The Length from top line is 259.5 ± 1mm.");
    EXPECT_EQ(text(App().HowToFirstDotAdjust(), "Label2"), "(Standard: 3 ± 1.5mm from left edge)");
    EXPECT_EQ(text(App().HowToTopMarginAdjust(), "Label1"),
              "Please adjust value to 3.6mm from top edge.   ");
    // A bracketed heading reads as one line once its window shows: "[", the
    // text, "]", each right after the other.
    struct Brackets {
        QWidget& window;
        const char* open;
        const char* text;
        const char* close;
    };
    const Brackets headings[] = {
        {App().HowToCheckA4Pat(), "Label1", "Label2", "Label3"},
        {App().HowToCheckA4Pad2(), "Label1", "Label2", "Label3"},
        {App().HowToCheckA4Pad2(), "Label12", "Label13", "Label14"},
    };
    for (const Brackets& brackets : headings) {
        brackets.window.show();
        auto* open = Find<QLabel>(brackets.window, brackets.open);
        auto* heading = Find<QLabel>(brackets.window, brackets.text);
        auto* close = Find<QLabel>(brackets.window, brackets.close);
        EXPECT_EQ(heading->x(), open->geometry().right() + 3) << brackets.text;
        EXPECT_EQ(close->x(), heading->geometry().right() + 3) << brackets.text;
        EXPECT_EQ(heading->width(), heading->sizeHint().width()) << brackets.text;
        EXPECT_EQ(close->y(), open->y()) << brackets.text;
        EXPECT_EQ(heading->y(), open->y()) << brackets.text;
        brackets.window.hide();
    }
}

TEST_F(HowToWindows, TheAboutBoxShowsItsPictureAndClosesWithOk) {
    TAboutBox& about = App().About();
    about.show();
    EXPECT_EQ(Find<QLabel>(about, "Image1")->pixmap().size(), QSize(64, 64));
    EXPECT_EQ(Find<QLabel>(about, "ProductName")->text(),
              QStringLiteral("Orvane K32/K31 adjustment program"));
    EXPECT_EQ(Find<QLabel>(about, "Version")->text(), QStringLiteral("Version 1.0"));
    EXPECT_TRUE(Find<QPushButton>(about, "OKButton")->isDefault());
    Click(about, "OKButton");
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
