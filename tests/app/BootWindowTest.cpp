#include <gtest/gtest.h>

#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "AppFixture.h"
#include "app/Cursor.h"
#include "app/Rk7formabout.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "link/ResultCodes.h"

namespace {

using testing_support::AppTest;

class BootWindow : public AppTest {
  protected:
    QComboBox& Combo(const char* name) { return *Find<QComboBox>(Boot(), name); }
    QStringList Items(const char* name) {
        QStringList items;
        for (int i = 0; i < Combo(name).count(); ++i) {
            items << Combo(name).itemText(i);
        }
        return items;
    }
    void AddPrinter(const std::string& port) {
        std::string reason;
        ASSERT_TRUE(Printers().GetStore().CreatePrinter(port, "Orvane K31", reason)) << reason;
    }
    void PressOk(int model, const std::string& port) {
        Choose("ModelNameCombo", model);
        ChoosePort(port);
        ClearTrace();
        Click(Boot(), "PortSelectOKBtn");
    }
    // The library calls of the OK press.
    std::vector<std::string> LinkCalls() {
        std::vector<std::string> names;
        for (const auto& name : CallNames()) {
            if (name != "GetIoErrorCodeByPway") {
                names.push_back(name);
            }
        }
        return names;
    }
};

TEST_F(BootWindow, ListsOnlyThePrinterPortsAndOpensUsb001As1025) {
    FakePorts().ports = {"LPT1:", "USB001", "FILE:"};
    // USB001 answers to the port number of VTUSB001.
    ASSERT_TRUE(Printers().GetStore().RemovePrinter("VTUSB001"));
    AddPrinter("USB001");
    Start();
    Boot().show();
    EXPECT_EQ(Items("InterfaceCombo"), (QStringList{"LPT1:", "USB001"}));
    EXPECT_EQ(Combo("InterfaceCombo").currentIndex(), -1);

    PressOk(0, "USB001");
    // The OK press opens it, and Get Status of the adjustment window again.
    const auto opens = Calls("PortOpenByPway");
    ASSERT_EQ(opens.size(), 2u);
    EXPECT_EQ(opens[0].args, (std::vector<int64_t>{1025}));
    EXPECT_EQ(opens[1].args, (std::vector<int64_t>{1025}));
    EXPECT_EQ(Boot().PortNumber, 1025);
    EXPECT_EQ(Boot().ModelCode, 1);
    EXPECT_TRUE(Adjust().isVisible());
    EXPECT_FALSE(Boot().isVisible());
}

TEST_F(BootWindow, OkOpensTheLinkInItsOrderAndHandsOver) {
    Start();
    Boot().show();
    PressOk(1, "VTUSB002");
    const std::vector<std::string> open = {"SetD4CommandRCode", "PortCloseByPway", "PortOpenByPway",
                                           "CheckDeviceIDByPway", "D4Negotiation"};
    const std::vector<std::string> calls = LinkCalls();
    ASSERT_GE(calls.size(), open.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 5), open);
    EXPECT_EQ(Calls("SetD4CommandRCode")[0].args, (std::vector<int64_t>{11, 84}));
    EXPECT_EQ(Boot().ModelCode, 2);
    EXPECT_EQ(Boot().PortNumber, 1026);
    EXPECT_TRUE(Adjust().isVisible());
    EXPECT_FALSE(orvane_app::HourglassCursorShown());
    EXPECT_TRUE(Boxes().shown.empty());
}

TEST_F(BootWindow, WithoutModelOrPortOkDoesNothing) {
    Start();
    Boot().show();
    ClearTrace();
    Click(Boot(), "PortSelectOKBtn");
    Choose("ModelNameCombo", 0);
    Click(Boot(), "PortSelectOKBtn");
    Choose("ModelNameCombo", -1);
    ChoosePort("VTUSB001");
    Click(Boot(), "PortSelectOKBtn");
    EXPECT_TRUE(CallNames().empty());
    EXPECT_TRUE(Boxes().shown.empty());
    EXPECT_FALSE(orvane_app::HourglassCursorShown());
    EXPECT_TRUE(Boot().isVisible());
}

TEST_F(BootWindow, NoMatchingPortLeavesTheListEmpty) {
    FakePorts().ports = {"FILE:", "COM1:", "usb001"};
    Start();
    Boot().show();
    EXPECT_EQ(Combo("InterfaceCombo").count(), 0);
}

TEST_F(BootWindow, AFailedListingKeepsThePreviousPorts) {
    FakePorts().ports = {"USB001", "LPT1:"};
    Start();
    Boot().show();
    Boot().hide();
    FakePorts().fails = true;
    Boot().show();
    EXPECT_EQ(FakePorts().calls, 2);
    EXPECT_EQ(Items("InterfaceCombo"), (QStringList{"LPT1:", "USB001"}));
}

TEST_F(BootWindow, TheDestinationFollowsTheModelOnly) {
    Start();
    Boot().show();
    EXPECT_FALSE(Combo("DestinationCombo").isEnabled());
    Choose("ModelNameCombo", 1);
    EXPECT_EQ(Combo("DestinationCombo").currentText(), QStringLiteral("North America / West Euro"));
    Choose("ModelNameCombo", 0);
    EXPECT_EQ(Combo("DestinationCombo").currentText(),
              QStringLiteral("Soutn America / East Euro / Asia"));
    EXPECT_EQ(Combo("ModelNameCombo").maxVisibleItems(), 3);
    EXPECT_EQ(Combo("InterfaceCombo").maxVisibleItems(), 6);
}

TEST_F(BootWindow, AFailedOpenShowsBoxAWithTheHourglassAndKeepsTheChoices) {
    Start();
    Boot().show();
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.powered = false; });
    bool hourglassDuringBox = false;
    Boxes().onShow = [&](const orvane::MessageRequest&) {
        hourglassDuringBox = orvane_app::HourglassCursorShown();
    };
    PressOk(0, "VTUSB001");
    ASSERT_EQ(Boxes().shown.size(), 1u);
    const orvane::MessageRequest& box = Boxes().shown[0];
    EXPECT_EQ(box.text,
              "Communication error occurred.\nPlease confirm the power for printer and "
              "I/F cable connection.");
    EXPECT_EQ(box.caption, "Error!");
    EXPECT_EQ(box.icon, orvane::MessageIcon::Error);
    EXPECT_EQ(box.owner, orvane::MessageOwner::BootWindow);
    EXPECT_TRUE(hourglassDuringBox);
    EXPECT_FALSE(orvane_app::HourglassCursorShown());
    EXPECT_TRUE(Boot().isVisible());
    EXPECT_FALSE(Adjust().isVisible());
    EXPECT_EQ(Combo("InterfaceCombo").currentText(), QStringLiteral("VTUSB001"));
    EXPECT_EQ(Combo("ModelNameCombo").currentIndex(), 0);
    // SetD4CommandRCode came before the open, even though the open failed.
    EXPECT_EQ(LinkCalls(),
              (std::vector<std::string>{"SetD4CommandRCode", "PortCloseByPway", "PortOpenByPway"}));
}

TEST_F(BootWindow, TheDeviceCheckAcceptsAnUnsupportedPrinterButNotAFailure) {
    Start();
    Boot().show();
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.supported = false; });
    PressOk(0, "VTUSB001");
    EXPECT_TRUE(Boxes().shown.empty());
    EXPECT_TRUE(Adjust().isVisible());
}

TEST_F(BootWindow, AFailedDeviceCheckShowsBoxAAndAFailedNegotiationBoxB) {
    Start();
    Boot().show();
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["CheckDeviceIDByPway"] = {1, ResultPortIoError, std::nullopt};
    });
    PressOk(0, "VTUSB001");
    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_EQ(Boxes().shown[0].text.rfind("Communication error occurred.\nPlease confirm", 0), 0u);
    EXPECT_TRUE(Calls("D4Negotiation").empty());

    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["D4Negotiation"] = {1, ResultChannelError, std::nullopt};
    });
    PressOk(0, "VTUSB001");
    ASSERT_EQ(Boxes().shown.size(), 2u);
    EXPECT_EQ(Boxes().shown[1].text, "Communication error occurred.");
    EXPECT_EQ(Boxes().shown[1].caption, "Error!");
    EXPECT_FALSE(Adjust().isVisible());
    // The second press closed the port that the first had left open.
    EXPECT_EQ(LinkCalls()[1], "PortCloseByPway");
    EXPECT_EQ(LinkCalls()[2], "PortOpenByPway");
}

TEST_F(BootWindow, APortNameWithoutANumberIsRefusedBeforeAnyLibraryCall) {
    FakePorts().ports = {"USBX", "USB001"};
    Start();
    Boot().show();
    PressOk(0, "USBX");
    EXPECT_TRUE(CallNames().empty());
    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_EQ(Boxes().shown[0].text,
              "The port \"USBX\" has no port number.\nPlease choose another port.");
    EXPECT_EQ(Boxes().shown[0].caption, "Error!");
    EXPECT_FALSE(orvane_app::HourglassCursorShown());
    EXPECT_TRUE(Boot().isVisible());
    EXPECT_EQ(Boot().ModelCode, 255);
}

TEST_F(BootWindow, APortPastThe140thIsRefusedAndTheOthersStillOpen) {
    for (int i = 1; i <= 141; ++i) {
        FakePorts().ports.push_back("USB" + std::to_string(100 + i));
    }
    Start();
    Boot().show();
    EXPECT_EQ(Combo("InterfaceCombo").count(), 141);
    PressOk(0, "USB241");
    EXPECT_TRUE(CallNames().empty());
    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_EQ(Boxes().shown[0].text,
              "The port \"USB241\" cannot be used: only the first 140 printer ports can be "
              "opened.\nPlease choose another port.");

    PressOk(0, "USB240");
    const auto opens = Calls("PortOpenByPway");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].args, (std::vector<int64_t>{1024 + 240}));
}

TEST_F(BootWindow, QuitAndEscEndTheProgram) {
    Start();
    Boot().show();
    QSignalSpy ends(&Boot(), &TFormBoot::ProgramEnds);
    Click(Boot(), "EndBtn");
    EXPECT_EQ(ends.count(), 1);
    EXPECT_FALSE(Boot().isVisible());

    Boot().show();
    ClearTrace();
    QTest::keyClick(&Boot(), Qt::Key_Escape);
    EXPECT_EQ(ends.count(), 2);
    EXPECT_EQ(CallNames(), (std::vector<std::string>{"PortCloseByPway"}));
}

TEST_F(BootWindow, ShowingAgainResetsTheChoicesAndReadsThePortsAgain) {
    FakePorts().ports = {"USB001"};
    Start();
    Boot().show();
    Choose("ModelNameCombo", 1);
    ChoosePort("USB001");
    Boot().hide();
    FakePorts().ports = {"USB002", "LPT1:"};
    Boot().show();
    EXPECT_EQ(Combo("ModelNameCombo").currentIndex(), -1);
    EXPECT_EQ(Combo("DestinationCombo").currentIndex(), -1);
    EXPECT_EQ(Combo("InterfaceCombo").currentIndex(), -1);
    EXPECT_EQ(Items("InterfaceCombo"), (QStringList{"LPT1:", "USB002"}));
    EXPECT_TRUE(Find<QPushButton>(Boot(), "PortSelectOKBtn")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(Boot(), "EndBtn")->isEnabled());
}

TEST_F(BootWindow, ComingBackFromTheTaskBarKeepsTheChoicesAndThePortList) {
    FakePorts().ports = {"USB001", "USB002"};
    Start();
    Boot().show();
    Choose("ModelNameCombo", 1);
    ChoosePort("USB002");
    FakePorts().ports = {"LPT1:"};
    const int listings = FakePorts().calls;

    Boot().setWindowState(Qt::WindowMinimized);
    Boot().setWindowState(Qt::WindowNoState);
    QCoreApplication::processEvents();

    ASSERT_TRUE(Boot().isVisible());
    EXPECT_EQ(FakePorts().calls, listings);
    EXPECT_EQ(Combo("ModelNameCombo").currentIndex(), 1);
    EXPECT_EQ(Combo("DestinationCombo").currentIndex(), 1);
    EXPECT_EQ(Combo("InterfaceCombo").currentText(), QStringLiteral("USB002"));
    EXPECT_EQ(Items("InterfaceCombo"), (QStringList{"USB001", "USB002"}));
}

TEST_F(BootWindow, TheRightButtonPopsUpVersionWhichOpensTheAboutBox) {
    Start();
    Boot().show();
    Boot().move(100, 50);
    auto* menu = Find<QMenu>(Boot(), "PopupMenu1");
    QTest::mouseClick(&Boot(), Qt::LeftButton, {}, QPoint(40, 30));
    EXPECT_FALSE(menu->isVisible());
    QTest::mouseClick(&Boot(), Qt::RightButton, {}, QPoint(40, 30));
    ASSERT_TRUE(menu->isVisible());
    const QRect frame = Boot().frameGeometry();
    EXPECT_EQ(menu->pos(), QPoint(frame.left() + 40 + 3, frame.top() + 30 + 20));
    menu->hide();

    auto* version = Find<QAction>(Boot(), "MenuVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Version"));
    bool aboutWasModal = false;
    QTimer::singleShot(0, &App().About(), [&] {
        aboutWasModal = App().About().isVisible() && App().About().isModal();
        Click(App().About(), "OKButton");
    });
    version->trigger();
    EXPECT_TRUE(aboutWasModal);
    EXPECT_FALSE(App().About().isVisible());
}

}  // namespace
