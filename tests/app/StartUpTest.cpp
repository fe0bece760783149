#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QSignalSpy>
#include <cstdio>
#include <vector>

#include "AppFixture.h"
#include "app/Program.h"
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
#include "app/pages/Page.h"
#include "link/StatusReporter.h"
#include "platform/ExecutableFolder.h"
#include "platform/Memory.h"
#include "support/TempFolder.h"

namespace {

using testing_support::AppTest;

// Memory that has none to give.
class NoMemory final : public orvane::IMemory {
  public:
    std::unique_ptr<uint8_t[]> Allocate(size_t /*size*/) override { return nullptr; }
};

// Starts the program with the libraries of a folder and the given memory
// (none: the system's). The scripted box writes what it was asked to show,
// so that the parent can read it.
void StartFrom(const std::string& folder, orvane::IMemory* memory) {
    testing_support::ScriptedMessageBox boxes;
    boxes.onShow = [](const orvane::MessageRequest& request) {
        std::fprintf(stderr, "box[%s] caption[%s] icon[%d] owner[%d]\n", request.text.c_str(),
                     request.caption.c_str(), static_cast<int>(request.icon),
                     static_cast<int>(request.owner));
    };
    orvane::SystemLibraryLoader loader;
    testing_support::FakePortList ports;
    orvane::StdRandom random;
    orvane_app::AppContext context(
        orvane_app::PlatformSeams{loader, folder, boxes, ports, random, nullptr, nullptr, memory});
    std::fprintf(stderr, "the program went on\n");
    std::exit(3);
}

TEST(StartUpDeathTest, WithoutTheLibrariesShowsTheJapaneseMessageAndEndsWithZero) {
    testing_support::TempFolder empty;
    EXPECT_EXIT(StartFrom(empty.Path(), nullptr), ::testing::ExitedWithCode(0),
                "box\\[DLLファイルが見つかりません。\nこのプログラムは終了します。\\] "
                "caption\\[\\] icon\\[1\\] owner\\[0\\]\n$");
}

TEST(StartUpDeathTest, WithoutMemoryForThePrintJobShowsTheShortageAndEndsWithZero) {
    NoMemory memory;
    EXPECT_EXIT(StartFrom(orvane::ExecutableFolder(), &memory), ::testing::ExitedWithCode(0),
                "box\\[There is not enough free memory to run this program.\n"
                "Quit one or more programs, and then try again.\\] "
                "caption\\[Error!\\] icon\\[1\\] owner\\[0\\]\n$");
}

class StartUp : public AppTest {
  protected:
    // The windows after the boot and adjustment windows, in their order.
    std::vector<QDialog*> Dialogs() {
        return {&App().About(),
                &App().Quit(),
                &App().HowToHdAngAdjust(),
                &App().HowToPFAdjust(),
                &App().HowToBidAdjust(),
                &App().HowToCheckA4Pat(),
                &App().HowToCheckA4Pad2(),
                &App().HowToFirstDotAdjust(),
                &App().HowToTopMarginAdjust()};
    }
};

TEST_F(StartUp, CreatesEveryWindowHiddenAndSetsTheTitle) {
    Start();
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Adjustment program"));
    std::vector<QWidget*> windows = {&Boot(), &Adjust()};
    for (QDialog* dialog : Dialogs()) {
        windows.push_back(dialog);
    }
    for (QWidget* window : windows) {
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
        EXPECT_TRUE(window->isWindow()) << window->objectName().toStdString();
    }
    // Loading the libraries is the only thing the start does on the link.
    EXPECT_TRUE(CallNames().empty());
}

// The boot window is given its style as it shows at start; every other
// window when it is first shown, with all its controls, hidden pages too.
TEST_F(StartUp, EachWindowIsPolishedWhenItFirstShows) {
    auto unpolished = [](QWidget& window) {
        std::vector<std::string> names;
        if (!window.testAttribute(Qt::WA_WState_Polished)) {
            names.push_back(window.objectName().toStdString());
        }
        for (QWidget* child : window.findChildren<QWidget*>()) {
            if (!child->isWindow() && !child->testAttribute(Qt::WA_WState_Polished)) {
                names.push_back(child->objectName().toStdString());
            }
        }
        return names;
    };
    Start();
    orvane_app::ShowBootWindow(App());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(unpolished(Boot()), std::vector<std::string>{});
    EXPECT_FALSE(Adjust().testAttribute(Qt::WA_WState_Polished));
    EXPECT_FALSE(App().About().testAttribute(Qt::WA_WState_Polished));
    EXPECT_FALSE(App().HowToBidAdjust().testAttribute(Qt::WA_WState_Polished));

    Choose("ModelNameCombo", 0);
    ChoosePort("VTUSB001");
    Click(Boot(), "PortSelectOKBtn");
    ASSERT_TRUE(Adjust().isVisible());
    EXPECT_EQ(unpolished(Adjust()), std::vector<std::string>{});
    App().About().show();
    EXPECT_EQ(unpolished(App().About()), std::vector<std::string>{});
}

// Every window but the boot window builds its controls as it first shows,
// once; until then it holds none.
TEST_F(StartUp, TheLaterWindowsBuildTheirControlsOnceAsTheyFirstShow) {
    Start();
    const std::vector<QDialog*> dialogs = Dialogs();
    EXPECT_TRUE(Adjust().findChildren<QWidget*>().isEmpty());
    for (size_t i = 0; i < dialogs.size(); ++i) {
        QDialog& dialog = *dialogs[i];
        EXPECT_TRUE(dialog.findChildren<QWidget*>().isEmpty()) << i;
        dialog.show();
        const qsizetype built = dialog.findChildren<QWidget*>().size();
        EXPECT_GT(built, 0) << i;
        dialog.hide();
        dialog.show();
        EXPECT_EQ(dialog.findChildren<QWidget*>().size(), built) << i;
        dialog.hide();
    }
}

// A call that needs the adjustment window's controls before it first shows
// builds them, and what it wrote stays.
TEST_F(StartUp, WhatIsWrittenToTheAdjustmentWindowBeforeItShowsStays) {
    Start();
    Adjust().ShowStatus(StatusAddLine, "first");
    Adjust().ShowStatus(StatusAddLine, "second");
    EXPECT_EQ(StatusText(), QStringLiteral("first\nsecond"));
    Adjust().SetAdjustedValue(QStringLiteral("ShowHeadIDPnl"), QStringLiteral("ABC"));
    EXPECT_EQ(Adjust().AdjustedValue(QStringLiteral("ShowHeadIDPnl")), QStringLiteral("ABC"));
    EXPECT_EQ(Adjust().findChildren<TPage*>().size(), 18);
}

TEST_F(StartUp, TheWindowsHaveTheirCaptions) {
    Start();
    Adjust().Build();
    App().Quit().Build();
    App().About().Build();
    EXPECT_EQ(Boot().windowTitle(), QStringLiteral(" VANTREL printer adjustment program"));
    EXPECT_EQ(Adjust().windowTitle(), QStringLiteral("Adjustment program"));
    EXPECT_EQ(App().Quit().windowTitle(), QStringLiteral(" Adjustment program"));
    EXPECT_EQ(App().About().windowTitle(), QStringLiteral("Version"));
    EXPECT_EQ(Adjust().size(), QSize(846, 464));
    EXPECT_EQ(Adjust().minimumSize(), Adjust().maximumSize());
    EXPECT_FALSE(Adjust().windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(Adjust().windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(StartUp, ClosingTheBootWindowEndsTheProgramAndClosesThePort) {
    Start();
    QSignalSpy ends(&Boot(), &TFormBoot::ProgramEnds);
    Boot().show();
    ClearTrace();
    Boot().close();
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(CallNames(), (std::vector<std::string>{"PortCloseByPway"}));
}

TEST(ExceptionReport, ShowsTheMessageUnderTheApplicationTitle) {
    testing_support::ScriptedMessageBox boxes;
    orvane_app::ReportException(boxes, "Access violation");
    orvane_app::ReportException(boxes, "Out of range.");
    orvane_app::ReportException(boxes, nullptr);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].text, "Access violation.");
    EXPECT_EQ(boxes.shown[0].caption, "Adjustment program");
    EXPECT_EQ(boxes.shown[0].icon, orvane::MessageIcon::Error);
    EXPECT_EQ(boxes.shown[0].owner, orvane::MessageOwner::None);
    EXPECT_EQ(boxes.shown[1].text, "Out of range.");
    EXPECT_EQ(boxes.shown[2].text, "Unknown exception.");
}

}  // namespace
