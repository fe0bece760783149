// The EEPROM data copy: backup from the old main board into the backup file,
// restore to the new board, and the file's life in between.
#include "BackupFixture.h"
#include "platform/Paths.h"
#include "support/LinuxOnly.h"

namespace {

using namespace eeprom_tests;

TEST_F(BackupRestore, TheBoardDataMovesToANewMainBoardWithTheModelsMarketSetting) {
    ASSERT_EQ(module_.BackupEeprom(), ResultOk);
    std::vector<int> listed(eeprom::BackupAddresses.begin(), eeprom::BackupAddresses.end());
    EXPECT_EQ(AddressesOf(Calls("D4ReadEeprom")), listed);
    EXPECT_TRUE(Calls("D4WriteEeprom").empty());
    EXPECT_EQ(ReadFile(module_.BackupFilePath()), OldBoardFile()) << "64 raw bytes in list order";

    ReplaceMainBoard();
    ASSERT_EQ(module_.RestoreEeprom(TPEeprom::ModelCodeK32), ResultOk);

    std::vector<AddressValue> expected;
    for (const uint8_t address : eeprom::BackupAddresses) {
        expected.emplace_back(address, OldBoardValue(address));
    }
    expected.insert(expected.end(),
                    {{0x30, 0x04}, {0x31, 0x00}, {0x59, 0x18}, {0x6E, 0x00}, {0x5B, 0xB2}});
    EXPECT_EQ(WritesOf(Calls("D4WriteEeprom")), expected);

    const auto board = Eeprom(kPort);
    const auto fresh = vprinter::Store::FreshBoard();
    for (size_t a = 0; a < board.size(); ++a) {
        const bool copied =
            std::find(eeprom::BackupAddresses.begin(), eeprom::BackupAddresses.end(), a) !=
            eeprom::BackupAddresses.end();
        if (a == 0x59) {
            EXPECT_EQ(board[a], 0x18) << "the market setting has the last word on the first dot";
        } else if (copied) {
            EXPECT_EQ(board[a], OldBoardValue(a)) << std::hex << a;
        } else if (a != 0x30 && a != 0x31 && a != 0x5B && a != 0x6E) {
            EXPECT_EQ(board[a], fresh[a]) << "not copied: " << std::hex << a;
        }
    }
    EXPECT_FALSE(Exists(module_.BackupFilePath())) << "a finished restore removes the file";

    // The file is gone, so a second restore is refused before any write.
    ClearTrace();
    EXPECT_EQ(module_.RestoreEeprom(TPEeprom::ModelCodeK32), ResultEepromFileError);
    EXPECT_EQ(module_.ErrorIndex(), TPEeprom::ErrorCannotReadFile);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(BackupRestore, TheRestoreWritesTheDestinationOfTheChosenModel) {
    ASSERT_EQ(module_.BackupEeprom(), ResultOk);
    ReplaceMainBoard();
    ASSERT_EQ(module_.RestoreEeprom(TPEeprom::ModelCodeK31), ResultOk);
    EXPECT_EQ(Eeprom(kPort)[0x6E], 0x04);
    EXPECT_EQ(Eeprom(kPort)[0x5B], 0xF2);
}

TEST_F(BackupRestore, AFileThatIsNotExactlySixtyFourBytesIsRefusedBeforeAnyWrite) {
    ASSERT_TRUE(std::filesystem::create_directories(module_.BackupFolder()));
    for (const size_t size : {0, 1, 63, 65, 1024}) {
        WriteFile(module_.BackupFilePath(), std::string(size, '\x11'));
        EXPECT_EQ(module_.RestoreEeprom(TPEeprom::ModelCodeK32), ResultEepromFileError) << size;
        EXPECT_EQ(module_.ErrorIndex(), TPEeprom::ErrorCannotReadFile) << size;
        EXPECT_EQ(ReadFile(module_.BackupFilePath()).size(), size) << "a refused file stays";
    }
    // A folder where the file should be cannot be read either.
    std::filesystem::remove(module_.BackupFilePath());
    std::filesystem::create_directory(module_.BackupFilePath());
    EXPECT_EQ(module_.RestoreEeprom(TPEeprom::ModelCodeK32), ResultEepromFileError);
    EXPECT_EQ(module_.ErrorIndex(), TPEeprom::ErrorCannotReadFile);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(BackupRestore, ARestoreThatFailsPartWayKeepsTheFileForAnotherTry) {
    ASSERT_EQ(module_.BackupEeprom(), ResultOk);
    ReplaceMainBoard();
    ChangePrinter(kPort, [](vprinter::PrinterConfig& config) {
        config.writeFaults[0x42] = ResultChannelError;
    });
    ClearTrace();
    EXPECT_EQ(module_.RestoreEeprom(TPEeprom::ModelCodeK32), ResultChannelError);
    const auto writes = WritesOf(Calls("D4WriteEeprom"));
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.back().first, 0x42) << "nothing after the failing write";
    EXPECT_EQ(Eeprom(kPort)[0x30], 0xFF) << "no market setting";
    EXPECT_EQ(Eeprom(kPort)[0x2B], OldBoardValue(0x2B)) << "what was written stays";
    EXPECT_EQ(ReadFile(module_.BackupFilePath()), OldBoardFile());

    ChangePrinter(kPort, [](vprinter::PrinterConfig& config) { config.writeFaults.clear(); });
    EXPECT_EQ(module_.RestoreEeprom(TPEeprom::ModelCodeK32), ResultOk);
    EXPECT_EQ(Eeprom(kPort)[0x42], OldBoardValue(0x42));
}

// A backup that fails keeps the previous, good backup file whole: the bytes
// go to a temporary file that replaces the old one only once all are written.
class FailingBackup : public BackupRestore {
  protected:
    void SetUp() override {
        BackupRestore::SetUp();
        ASSERT_EQ(module_.BackupEeprom(), ResultOk);
        ChangeEeprom(kPort, [](vprinter::Eeprom& bytes) { bytes.fill(0x5A); });
        ClearTrace();
    }

    void ExpectOldBackupWhole() {
        EXPECT_EQ(ReadFile(module_.BackupFilePath()), OldBoardFile());
        EXPECT_EQ(TemporariesLeft(), std::vector<std::string>{})
            << "the temporary file is cleared away";
    }
};

TEST_F(FailingBackup, AReadFailurePartWayReturnsItsCodeAndLeavesTheFile) {
    ChangePrinter(kPort, [](vprinter::PrinterConfig& config) {
        config.readFaults[0x42] = ResultPortNoResponse;
    });
    EXPECT_EQ(module_.BackupEeprom(), ResultPortNoResponse);
    EXPECT_EQ(AddressesOf(Calls("D4ReadEeprom")).back(), 0x42);
    ExpectOldBackupWhole();
}

TEST_F(FailingBackup, AFileThatCannotBeCreatedGivesTheFileOpenCode) {
    // Not in a folder that cannot be made: a file stands where it belongs.
    TPEeprom blocked(Link(), module_.BackupFilePath() + "/inside");
    EXPECT_EQ(blocked.BackupEeprom(), ResultFileOpenError);
    ExpectOldBackupWhole();
}

TEST_F(FailingBackup, AWriteFailureGivesIndexTwoAndLeavesTheOldBackup) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("a full disk is a file size limit (setrlimit)");
#else
    {
        const FullDisk full;
        EXPECT_EQ(module_.BackupEeprom(), ResultEepromFileError);
    }
    EXPECT_EQ(module_.ErrorIndex(), TPEeprom::ErrorCannotCreateFile);
    ExpectOldBackupWhole();

    // Once the disk has room again, the next backup replaces the file; the
    // old one is kept in the history once, however often it was tried.
    {
        const FullDisk full;
        EXPECT_EQ(module_.BackupEeprom(), ResultEepromFileError);
    }
    EXPECT_EQ(module_.BackupEeprom(), ResultOk);
    EXPECT_EQ(ReadFile(module_.BackupFilePath()), std::string(64, '\x5A'));
    EXPECT_EQ(TemporariesLeft(), std::vector<std::string>{});
    const std::vector<BackupEntry> backups = module_.ListBackups();
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(ReadFile(backups[0].path), OldBoardFile());
#endif
}

TEST(BackupFolder, LiesUnderTheUsersDataFolder) {
#ifdef _WIN32
    // No HOME on Windows: the local application data folder.
    const std::string home = orvane::Utf8Of(std::filesystem::path(_wgetenv(L"LOCALAPPDATA"))) + "/";
    const std::string absolute = "C:/srv/data";
#else
    ScopedEnvironment homeVariable("HOME", "/home/tech");
    const std::string home = "/home/tech/.local/share/";
    const std::string absolute = "/srv/data";
#endif
    {
        ScopedEnvironment data("XDG_DATA_HOME", absolute.c_str());
        EXPECT_EQ(orvane::BackupFolder(), absolute + "/Adjustment Program/OrvaneK51_52");
    }
    {
        ScopedEnvironment data("XDG_DATA_HOME", "relative/data");  // not absolute: ignored
        EXPECT_EQ(orvane::BackupFolder(), home + "Adjustment Program/OrvaneK51_52");
    }
    {
        ScopedEnvironment data("XDG_DATA_HOME", nullptr);
        EXPECT_EQ(orvane::BackupFolder(), home + "Adjustment Program/OrvaneK51_52");
    }
}

TEST_F(BackupRestore, TheModuleKeepsItsFileInTheBackupFolderUnlessToldOtherwise) {
    testing_support::TempFolder data;
    ScopedEnvironment environment("XDG_DATA_HOME", data.Path().c_str());
    TPEeprom module(Link());
    EXPECT_EQ(module.BackupFilePath(),
              data.Path() + "/Adjustment Program/OrvaneK51_52/bkupdata.eep");
    ASSERT_EQ(module.BackupEeprom(), ResultOk);
    EXPECT_EQ(ReadFile(module.BackupFilePath()), OldBoardFile());
}

}  // namespace
