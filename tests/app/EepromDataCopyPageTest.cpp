#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "PageFixture.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "support/Process.h"
#include "vprinter/Store.h"

namespace {

using eeprom_tests::AddressValue;
using testing_support::PageTest;
using testing_support::ReadFile;
using testing_support::WriteFile;

const char* const kBackedUp =
    "The EEPROM data has read properly.\nReplace the main board with new one.";
const char* const kRestored =
    "The EEPROM data copy function has finished properly.\nPerform the A3+ check pattern print "
    "and the A4 check pattern print.";
const char* const kCannotRead = "Cannot read data from file.";

class EepromDataCopyPage : public PageTest {
  protected:
    void Open(int model = 0) { OpenPage("MainteRdoGrp", 3, model); }
    void ClickPanel(const char* name) {
        auto* panel = Find<QLabel>(Adjust(), name);
        ASSERT_NE(panel, nullptr);
        QTest::mouseClick(panel, Qt::LeftButton);
        Adjust().DisableTimerTimer();
    }
    void Backup() { ClickPanel("EepDataCopyBackUpStartPnl"); }
    void Restore() { ClickPanel("EepDataCopyLoadStartPnl"); }
    std::string BackupFile() { return App().GetModules().eeprom.BackupFilePath(); }
    // An old main board whose every byte tells its address apart.
    void FillOldBoard() {
        ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
            for (size_t a = 0; a < eeprom.size(); ++a) {
                eeprom[a] = static_cast<uint8_t>(a ^ 0x5A);
            }
        });
    }
    static std::string BackupOf(const vprinter::Eeprom& eeprom) {
        std::string bytes;
        for (const uint8_t address : eeprom::BackupAddresses) {
            bytes.push_back(static_cast<char>(eeprom[address]));
        }
        return bytes;
    }
};

TEST_F(EepromDataCopyPage, TheDataMovesToANewMainBoard) {
    Open();
    FillOldBoard();
    const vprinter::Eeprom old = Eeprom();
    Backup();
    EXPECT_EQ(StatusText(), QString(kBackedUp));
    EXPECT_EQ(Reads(),
              std::vector<int>(eeprom::BackupAddresses.begin(), eeprom::BackupAddresses.end()));
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(ReadFile(BackupFile()), BackupOf(old));
    TPEeprom& module = App().GetModules().eeprom;
    ASSERT_EQ(module.ListBackups().size(), 1u);
    EXPECT_EQ(module.ListBackups()[0].modelCode, TPEeprom::ModelCodeK31)
        << "the backup is recorded with the model the window was opened for";

    // The technician replaces the main board, here with the control tool.
    const testing_support::ProcessResult swap =
        testing_support::RunProcess({testing_support::OutputFolder() + "/orvane-vprinter", "--dir",
                                     StateFolder(), "new-board", "VTUSB001"},
                                    StateFolder());
    ASSERT_EQ(swap.exitCode, 0) << swap.err;
    ASSERT_EQ(Eeprom(), vprinter::Store::FreshBoard());
    ClearTrace();
    Restore();
    EXPECT_EQ(StatusText(), QString(kRestored));
    std::vector<AddressValue> expected;
    for (const uint8_t address : eeprom::BackupAddresses) {
        expected.emplace_back(address, old[address]);
    }
    // The market setting of the chosen model follows.
    const std::vector<AddressValue> market = {
        {0x30, 0x04}, {0x31, 0x00}, {0x59, 0x18}, {0x6E, 0x04}, {0x5B, 0xF2}};
    expected.insert(expected.end(), market.begin(), market.end());
    EXPECT_EQ(Writes(), expected);

    const vprinter::Eeprom board = Eeprom();
    for (const uint8_t address : eeprom::BackupAddresses) {
        EXPECT_EQ(board[address], address == 0x59 ? 0x18 : old[address]) << int{address};
    }
    EXPECT_TRUE(ReadFile(BackupFile()).empty());
    ASSERT_EQ(module.ListBackups().size(), 1u);
    EXPECT_FALSE(module.ListBackups()[0].current);
    EXPECT_EQ(module.ListBackups()[0].modelCode, TPEeprom::ModelCodeK31);

    // The file served once: a second restore finds none.
    ClearTrace();
    Restore();
    EXPECT_EQ(StatusText(), QString(kCannotRead));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(EepromDataCopyPage, ABackupFileOfTheWrongLengthIsRefusedBeforeAnyWrite) {
    Open();
    Backup();
    const std::string backup = ReadFile(BackupFile());
    ASSERT_EQ(backup.size(), 64u);
    for (const std::string& file : {backup.substr(0, 63), backup + '\0', std::string()}) {
        WriteFile(BackupFile(), file);
        ClearTrace();
        Restore();
        EXPECT_EQ(StatusText(), QString(kCannotRead)) << file.size();
        EXPECT_TRUE(Writes().empty()) << file.size();
        // The file stays for another try.
        EXPECT_EQ(ReadFile(BackupFile()), file);
    }
}

TEST_F(EepromDataCopyPage, ABackupFailingPartWayLeavesTheOldBackupWhole) {
    Open();
    FillOldBoard();
    Backup();
    const std::string previous = ReadFile(BackupFile());
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) { eeprom.fill(0x11); });
    ChangePrinter("VTUSB001",
                  [](vprinter::PrinterConfig& config) { config.readFaults[0x42] = 0x2000; });
    Backup();
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(ReadFile(BackupFile()), previous);
}

TEST_F(EepromDataCopyPage, ABackupFolderThatCannotBeMadeIsReported) {
    // The data folder is a file, so no folder can be made inside it.
    WriteFile(Data() / "data", "not a folder");
    Open();
    Backup();
    EXPECT_EQ(StatusText(), QStringLiteral("Cannot file open."));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
}

TEST_F(EepromDataCopyPage, ARestoreFailingPartWayKeepsTheFileForAnotherTry) {
    Open();
    Backup();
    const std::string backup = ReadFile(BackupFile());
    ChangePrinter("VTUSB001",
                  [](vprinter::PrinterConfig& config) { config.writeFaults[0x6E] = 0x2000; });
    ClearTrace();
    Restore();
    EXPECT_EQ(Writes().size(), 64u + 4u);
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(ReadFile(BackupFile()), backup);
}

TEST_F(EepromDataCopyPage, BothStepsStopOnAPrinterInItsErrorState) {
    Open();
    Backup();
    SetPrinterState(0, 5);  // ink out
    ClearTrace();
    Backup();
    EXPECT_TRUE(StatusText().startsWith("Ink out error."));
    Restore();
    EXPECT_TRUE(StatusText().startsWith("Ink out error."));
    EXPECT_TRUE(Reads().empty());
    EXPECT_TRUE(Writes().empty());
}

TEST_F(EepromDataCopyPage, ThePanelsActAsButtons) {
    Open();
    for (const char* name : {"EepDataCopyBackUpStartPnl", "EepDataCopyLoadStartPnl"}) {
        EXPECT_EQ(Find<QLabel>(Adjust(), name)->cursor().shape(), Qt::PointingHandCursor);
    }
    // A press that is released outside the panel is no click.
    auto* panel = Find<QLabel>(Adjust(), "EepDataCopyBackUpStartPnl");
    QTest::mousePress(panel, Qt::LeftButton);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(-5, -5));
    // Nor is one of the right button.
    QTest::mouseClick(panel, Qt::RightButton);
    EXPECT_TRUE(Reads().empty());
    EXPECT_TRUE(ReadFile(BackupFile()).empty());
}

}  // namespace
