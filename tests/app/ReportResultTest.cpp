#include <gtest/gtest.h>

#include <QLineEdit>
#include <filesystem>

#include "AppFixture.h"
#include "app/Cursor.h"
#include "app/Rk7formadjust.h"
#include "app/widgets/MultiLineTabControl.h"
#include "app/widgets/RadioGroup.h"
#include "link/ResultCodes.h"

namespace {

using testing_support::AppTest;

const char* const kNoLinkLine = "Restart the printer and click the [Get Status] button.";
const char* const kClearLine = "Clear the error and click the [Get Status] button.";

class ReportResult : public AppTest {
  protected:
    void SetUp() override {
        OpenAdjustmentWindow();
        // Locked by an operation, with a text of its own.
        Adjust().ShowStatus(StatusBusyNoWait, "Writing now...");
        Adjust().findChild<QWidget*>("MainteRdoGrp")->setEnabled(false);
        Adjust().findChild<QWidget*>("GetStatusBtn")->setEnabled(false);
    }
    // What the status line reads after the code was reported.
    QString Report(uint16_t code) {
        Adjust().ReportResult(code);
        return StatusText();
    }
    void ExpectUnlocked() {
        EXPECT_TRUE(Adjust().isEnabled());
        EXPECT_TRUE(Find<QWidget>(Adjust(), "MainteRdoGrp")->isEnabled());
        EXPECT_TRUE(Find<QWidget>(Adjust(), "GetStatusBtn")->isEnabled());
        EXPECT_TRUE(Find<QWidget>(Adjust(), "AdjustQuitBtn")->isEnabled());
        EXPECT_TRUE(Tabs().isEnabled());
        EXPECT_FALSE(orvane_app::HourglassCursorShown());
    }
    bool NoLinkItems() {
        return ItemsEnabled("AdjustRdoGrp") == std::vector<bool>(9, false) &&
               ItemsEnabled("AppendixRdoGrp") == std::vector<bool>{false};
    }
    bool PrinterErrorItems() {
        return ItemsEnabled("AdjustRdoGrp")[0] && !ItemsEnabled("AdjustRdoGrp")[1] &&
               !Group("CheckPatternPrnRdoGrp").isEnabled() &&
               ItemsEnabled("MainteRdoGrp") == std::vector<bool>{false, false, false, true} &&
               ItemsEnabled("AppendixRdoGrp") == std::vector<bool>{true};
    }
    void LeaveIoError(int16_t code) {
        ChangeLibrary([code](vprinter::LibraryConfig& config) {
            config.callFaults["CheckDeviceIDByPway"] = {1, ResultPortIoError, code};
        });
        Link().CheckDeviceIDByPway();
    }
    void Detail(uint16_t family, int value) {
        App().Details().Plug(family, [value] { return value; });
    }
};

TEST_F(ReportResult, PortIoErrorTellsTheNoAnswerErrorsApart) {
    for (const int16_t io : {-105, -104, -103, -82, -81}) {
        LeaveIoError(io);
        EXPECT_EQ(Report(ResultPortIoError), QString("Communication error.\n") + kNoLinkLine) << io;
    }
    for (const int16_t io : {-1, -106, -80, 0}) {
        LeaveIoError(io);
        EXPECT_EQ(Report(ResultPortIoError),
                  QString("Communication error occurred.\n") + kNoLinkLine)
            << io;
    }
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(NoLinkItems());
    ExpectUnlocked();
}

TEST_F(ReportResult, LinkFailuresNarrowTheNavigationToEepromDataCopy) {
    for (const uint16_t code : {ResultPortDeviceId, ResultCommandError}) {
        Adjust().EnableItems(ItemsAll);
        EXPECT_EQ(Report(code), QString("Communication error occurred.\n") + kNoLinkLine) << code;
        EXPECT_TRUE(NoLinkItems()) << code;
    }
    Adjust().EnableItems(ItemsAll);
    EXPECT_EQ(Report(ResultPortNoResponse),
              QString("Communication error occurred.\nCheck the I/F cable connection and power of "
                      "printer.\n") +
                  kNoLinkLine);
    EXPECT_TRUE(NoLinkItems());
    ExpectUnlocked();
}

TEST_F(ReportResult, AChannelErrorAsksTheLibraryForItsCode) {
    ClearTrace();
    EXPECT_EQ(Report(ResultChannelError), QString("Communication error occurred.\n") + kNoLinkLine);
    EXPECT_EQ(Calls("GetD4ErrorCode").size(), 1u);
    EXPECT_TRUE(NoLinkItems());
}

TEST_F(ReportResult, CodesWithOneMessageKeepTheNavigation) {
    const std::pair<uint16_t, const char*> messages[] = {
        {ResultFileOpenError, "Cannot file open."},
        {ResultDllMissing, "Cannot found the DLL files."},
        {ResultOutOfMemory,
         "There is not enough free memory to run this program.\nQuit one or more programs, and "
         "then try again."},
    };
    for (const auto& [code, text] : messages) {
        EXPECT_EQ(Report(code), QString::fromUtf8(text)) << code;
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
        EXPECT_EQ(ItemsEnabled("AdjustRdoGrp"), std::vector<bool>(9, true)) << code;
    }
    ExpectUnlocked();
}

TEST_F(ReportResult, ACodeNotInTheTableOnlyUnlocks) {
    for (const uint16_t code :
         {uint16_t{0}, uint16_t{1}, uint16_t{0x1234}, uint16_t{0x6000}, uint16_t{0xF041}}) {
        Adjust().ShowStatus(StatusBusyNoWait, "Writing now...");
        EXPECT_EQ(Report(code), QStringLiteral("Writing now...")) << code;
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlue);
        ExpectUnlocked();
    }
}

TEST_F(ReportResult, ThePrinterErrorFamilyReadsTheLastInquiry) {
    const std::pair<uint8_t, QString> errors[] = {
        {0, "Fatal error."},
        {1, "Communication error."},
        {4, QString("Paper jam error.\n") + kClearLine},
        {5, QString("Ink out error.\n") + kClearLine},
        {6, QString("Paper out error.\n") + kClearLine},
        {16, "Maintenance error."},
        {18, QString("Double feed error.\n") + kClearLine},
        {2, "Writing now..."},
        {17, "Writing now..."},
    };
    for (const auto& [error, text] : errors) {
        const uint8_t code = error;
        ChangePrinter("VTUSB001", [code](vprinter::PrinterConfig& config) {
            config.state = 0;
            config.error = code;
        });
        Adjust().EnableItems(ItemsAll);
        Adjust().ShowStatus(StatusBusyNoWait, "Writing now...");
        ASSERT_EQ(Adjust().ShowStatus(StatusBusy, "Printing now..."), ResultPrinterError);
        EXPECT_EQ(Report(ResultPrinterError), text) << int{error};
        EXPECT_TRUE(PrinterErrorItems()) << int{error};
        ExpectUnlocked();
    }
}

TEST_F(ReportResult, TheHeadIdFamily) {
    const std::pair<int, const char*> messages[] = {
        {16, "The number of digit is wrong."},
        {17, "1st and 2nd digit is wrong."},
        {18, "3rd and 4th digit are wrong."},
        {19, "5th and 6th digit are wrong."},
        {20, "7th and 8th digit are wrong."},
        {21, "9th digit are wrong."},
        {22, "Check ID is wrong."},
        {15, "Writing now..."},
        {23, "Writing now..."},
    };
    for (const auto& [index, text] : messages) {
        Adjust().ShowStatus(StatusBusyNoWait, "Writing now...");
        Detail(ResultHeadIdError, index);
        EXPECT_EQ(Report(ResultHeadIdError), QString::fromUtf8(text)) << index;
        ExpectUnlocked();
    }
}

TEST_F(ReportResult, TheBiDFamilyFocusesTheItemsEdit) {
    Adjust().ShowPageOnly("BidInputPnl");
    const std::tuple<int, const char*, const char*> items[] = {
        {1, "VSD1 Black value is wrong.", "BidVSD1BkInputEdit"},
        {2, "VSD2 Black value is wrong.", "BidVSD2BkInputEdit"},
        {3, "VSD3 Black value is wrong.", "BidVSD3BkInputEdit"},
        {5, "ECO Black value is wrong.", "BidECOBkInputEdit"},
        {6, "VSD1 Color value is wrong.", "BidVSD1CLInputEdit"},
        {7, "VSD2 Color value is wrong.", "BidVSD2CLInputEdit"},
        {8, "VSD3 Color value is wrong.", "BidVSD3CLInputEdit"},
        {10, "ECO Color value is wrong.", "BidECOCLInputEdit"},
    };
    for (const auto& [item, text, edit] : items) {
        Adjust().ShowStatus(StatusBusyNoWait, "Writing now...");
        Detail(ResultBidValueError, item);
        EXPECT_EQ(Report(ResultBidValueError), QString::fromUtf8(text)) << item;
        EXPECT_EQ(Adjust().focusWidget(), Find<QLineEdit>(Adjust(), edit)) << item;
    }
    // Item 4 only unlocks; the status line keeps its text.
    for (const int item : {0, 4, 9, 11}) {
        Adjust().ShowStatus(StatusBusyNoWait, "Writing now...");
        Detail(ResultBidValueError, item);
        EXPECT_EQ(Report(ResultBidValueError), QStringLiteral("Writing now...")) << item;
        ExpectUnlocked();
    }
}

TEST_F(ReportResult, TheUsbIdFamilyEmptiesTheLineForAnUnknownIndex) {
    const std::pair<int, const char*> messages[] = {
        {1, "The Number of digit is wrong."},
        {2, "Parameter is only number & alphabet."},
        {3, "The year of the PC clock must be 1999 to 2034."},
        {16, "The USB ID is wrong."},
        {0, ""},
        {4, ""},
        {17, ""},
    };
    for (const auto& [index, text] : messages) {
        Adjust().ShowStatus(StatusBusyNoWait, "Writing now...");
        Detail(ResultUsbIdError, index);
        EXPECT_EQ(Report(ResultUsbIdError), QString::fromUtf8(text)) << index;
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed) << index;
        ExpectUnlocked();
    }
}

TEST_F(ReportResult, TheHeadAngularFamilyFocusesTheValue) {
    Adjust().ShowPageOnly("HeadAngAdjustPnl");
    Detail(ResultHeadAngularError, 1);
    EXPECT_EQ(Report(ResultHeadAngularError), QStringLiteral("Head angular value is wrong."));
    EXPECT_EQ(Adjust().focusWidget(), Find<QLineEdit>(Adjust(), "HeadAngularInputEdit"));
    Adjust().ShowStatus(StatusBusyNoWait, "Writing now...");
    Detail(ResultHeadAngularError, 2);
    EXPECT_EQ(Report(ResultHeadAngularError), QStringLiteral("Writing now..."));
    ExpectUnlocked();
}

TEST_F(ReportResult, TheEepromFileFamilyReadsTheEepromModule) {
    // The EEPROM module is plugged in from the start; its index is 0 at first.
    EXPECT_EQ(Report(ResultEepromFileError), QStringLiteral("Writing now..."));
    Detail(ResultEepromFileError, 2);
    EXPECT_EQ(Report(ResultEepromFileError), QStringLiteral("Cannot create file."));
    Detail(ResultEepromFileError, 3);
    EXPECT_EQ(Report(ResultEepromFileError), QStringLiteral("Cannot read data from file."));
    Adjust().ShowStatus(StatusBusyNoWait, "Reading now...");
    Detail(ResultEepromFileError, 1);
    EXPECT_EQ(Report(ResultEepromFileError), QStringLiteral("Reading now..."));
    ExpectUnlocked();
}

TEST_F(ReportResult, TheIdentityModulesArePluggedIn) {
    orvane_app::Modules& modules = App().GetModules();
    ASSERT_EQ(modules.headId.WriteHeadId("12345"), ResultHeadIdError);
    EXPECT_EQ(Report(ResultHeadIdError), QStringLiteral("The number of digit is wrong."));
    std::string dateCode;
    ASSERT_EQ(modules.usbId.WriteUsbId("ABCDE-1234", dateCode), ResultUsbIdError);
    EXPECT_EQ(Report(ResultUsbIdError), QStringLiteral("Parameter is only number & alphabet."));
    // No backup: the restore finds no file (another test of this process may
    // have left one in the data folder they share).
    std::filesystem::remove(modules.eeprom.BackupFilePath());
    ASSERT_EQ(modules.eeprom.RestoreEeprom(1), ResultEepromFileError);
    EXPECT_EQ(Report(ResultEepromFileError), QStringLiteral("Cannot read data from file."));
    EXPECT_TRUE(Calls("D4WriteEeprom").empty());
}

TEST(ErrorDetails, ReadNothingUntilAModulePlugsInAndTheLastPlugCounts) {
    orvane_app::ErrorDetails details;
    EXPECT_FALSE(details.Read(ResultBidValueError).has_value());
    int item = 5;
    details.Plug(ResultBidValueError, [&item] { return item; });
    item = 7;
    EXPECT_EQ(details.Read(ResultBidValueError), 7);
    details.Plug(ResultBidValueError, [] { return 2; });
    EXPECT_EQ(details.Read(ResultBidValueError), 2);
    EXPECT_FALSE(details.Read(ResultHeadAngularError).has_value());
}

}  // namespace
