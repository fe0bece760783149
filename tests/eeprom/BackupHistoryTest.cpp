// The backup history: a backup never destroys an earlier one, and each
// keeps the model it was taken for.
#include <functional>
#include <utility>

#include "BackupFixture.h"

#include <functional>

#include "support/LinuxOnly.h"
#include "support/PlantedFifo.h"

namespace {

using namespace eeprom_tests;

// The backup history: a backup never destroys an earlier one.
class BackupHistory : public BackupRestore {
  protected:
    static constexpr const char* kOldId = "A1B2C3D4E5435E7F30";

    void SetUp() override {
        BackupRestore::SetUp();
        ChangeEeprom(kPort, [](vprinter::Eeprom& bytes) {
            for (size_t i = 0; i < 18; ++i) {
                bytes[0x5C + i] = static_cast<uint8_t>(kOldId[i]);
            }
        });
        ClearTrace();
    }

    std::string OldBoardWithIdFile() const {
        std::string file = OldBoardFile();
        // The USB ID's 18 bytes stand at 45-62 of the list.
        file.replace(45, 18, kOldId);
        return file;
    }

    std::vector<std::string> History() const {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(module_.HistoryFolder(), error)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    void SetTaken(const std::string& path, std::filesystem::file_time_type time) {
        std::filesystem::last_write_time(path, time);
    }
};

TEST_F(BackupHistory, ABackupOnTheNewBoardByMistakeKeepsTheOldBoardsDataForTheRestore) {
    ASSERT_EQ(module_.BackupEeprom(TPEeprom::ModelCodeK31), ResultOk);
    EXPECT_TRUE(History().empty()) << "nothing to keep yet";
    ReplaceMainBoard();
    // The technician presses Backup on the new board instead of Restore, in a
    // window opened for the other model.
    ASSERT_EQ(module_.BackupEeprom(TPEeprom::ModelCodeK32), ResultOk);
    std::string freshFile;
    for (const uint8_t address : eeprom::BackupAddresses) {
        freshFile.push_back(static_cast<char>(vprinter::Store::FreshBoard()[address]));
    }
    EXPECT_EQ(ReadFile(module_.BackupFilePath()), freshFile) << "the file itself is as it was";

    const std::vector<std::string> history = History();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_TRUE(history[0].ends_with(std::string("-00-K31-") + kOldId + ".eep")) << history[0];
    const std::string kept = module_.HistoryFolder() + "/" + history[0];
    EXPECT_EQ(ReadFile(kept), OldBoardWithIdFile());

    const std::vector<BackupEntry> backups = module_.ListBackups();
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(backups[0].path, kept);
    EXPECT_EQ(backups[0].usbId, kOldId);
    EXPECT_EQ(backups[0].modelCode, TPEeprom::ModelCodeK31);
    EXPECT_FALSE(backups[0].current);
    EXPECT_EQ(backups[1].path, module_.BackupFilePath());
    EXPECT_EQ(backups[1].usbId, "") << "a fresh board holds no USB ID";
    EXPECT_TRUE(backups[1].current);
    EXPECT_EQ(backups[1].modelCode, TPEeprom::ModelCodeK32);
    EXPECT_EQ(ReadFile(module_.ModelFilePath()), "K32\n");
    for (const BackupEntry& entry : backups) {
        EXPECT_TRUE(entry.whole);
        EXPECT_EQ(entry.time.size(), 25u) << entry.time;
    }

    ClearTrace();
    ASSERT_EQ(module_.RestoreEepromFrom(kept, TPEeprom::ModelCodeK32), ResultOk);
    std::vector<AddressValue> expected;
    for (size_t i = 0; i < eeprom::BackupAddresses.size(); ++i) {
        expected.emplace_back(eeprom::BackupAddresses[i],
                              static_cast<uint8_t>(OldBoardWithIdFile()[i]));
    }
    expected.insert(expected.end(),
                    {{0x30, 0x04}, {0x31, 0x00}, {0x59, 0x18}, {0x6E, 0x00}, {0x5B, 0xB2}});
    EXPECT_EQ(WritesOf(Calls("D4WriteEeprom")), expected) << "the writes of the page's restore";
    EXPECT_EQ(Eeprom(kPort)[0x42], OldBoardValue(0x42)) << "the old board's data is back";
    EXPECT_EQ(ReadFile(kept), OldBoardWithIdFile()) << "a file of the history stays";
    EXPECT_EQ(ReadFile(module_.BackupFilePath()), freshFile);
}

TEST_F(BackupHistory, ARestoreKeepsTheDataItWroteInTheHistoryWithItsModel) {
    ASSERT_EQ(module_.BackupEeprom(TPEeprom::ModelCodeK32), ResultOk);
    ReplaceMainBoard();
    ASSERT_EQ(module_.RestoreEeprom(TPEeprom::ModelCodeK32), ResultOk);
    EXPECT_FALSE(Exists(module_.BackupFilePath())) << "the page's file leaves its place";
    EXPECT_FALSE(Exists(module_.ModelFilePath())) << "and its model with it";
    const std::vector<std::string> history = History();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(ReadFile(module_.HistoryFolder() + "/" + history[0]), OldBoardWithIdFile());
    const std::vector<BackupEntry> backups = module_.ListBackups();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0].modelCode, TPEeprom::ModelCodeK32);

    // The next backup starts without a model of the board restored before.
    ASSERT_EQ(module_.BackupEeprom(), ResultOk);
    EXPECT_EQ(module_.ListBackups().back().modelCode, TPEeprom::ModelCodeUnknown);
}

// The bytes are what a restore needs: a backup whose model cannot be
// recorded is good, and lists with an unknown model, never the model of the
// backup it replaced.
TEST_F(BackupHistory, AModelThatCannotBeRecordedLeavesAGoodBackupOfUnknownModel) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("a full disk (setrlimit) and a FIFO");
#else
    ASSERT_EQ(module_.BackupEeprom(TPEeprom::ModelCodeK31), ResultOk);
    ChangeEeprom(kPort, [](vprinter::Eeprom& bytes) { bytes.fill(0x5A); });
    // A backup that failed on a full disk has kept the K31 backup in the
    // history; then something that is no file stands where the record goes.
    {
        const FullDisk full;
        ASSERT_EQ(module_.BackupEeprom(TPEeprom::ModelCodeK32), ResultEepromFileError);
    }
    ASSERT_TRUE(std::filesystem::remove(module_.ModelFilePath()));
    testing_support::PlantedFifo fifo(module_.ModelFilePath());
    ASSERT_TRUE(fifo.Made());
    ASSERT_EQ(module_.BackupEeprom(TPEeprom::ModelCodeK32), ResultOk);
    EXPECT_FALSE(fifo.WasOpened());
    EXPECT_EQ(ReadFile(module_.BackupFilePath()), std::string(64, '\x5A'));
    EXPECT_EQ(TemporariesLeft(), std::vector<std::string>{});
    std::vector<BackupEntry> backups = module_.ListBackups();
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(backups[0].modelCode, TPEeprom::ModelCodeK31);
    EXPECT_EQ(backups[1].modelCode, TPEeprom::ModelCodeUnknown);
    ASSERT_TRUE(std::filesystem::remove(module_.ModelFilePath()));

    // A backup that fails leaves the record of the file it did not replace.
    ASSERT_EQ(module_.BackupEeprom(TPEeprom::ModelCodeK32), ResultOk);
    ChangeEeprom(kPort, [](vprinter::Eeprom& bytes) { bytes.fill(0x33); });
    {
        const FullDisk full;
        ASSERT_EQ(module_.BackupEeprom(TPEeprom::ModelCodeK31), ResultEepromFileError);
    }
    backups = module_.ListBackups();
    ASSERT_FALSE(backups.empty());
    EXPECT_EQ(ReadFile(backups.back().path), std::string(64, '\x5A'));
    EXPECT_EQ(backups.back().modelCode, TPEeprom::ModelCodeK32);
#endif
}

TEST_F(BackupHistory, TheSameBytesUnderAnotherModelKeepTheEarlierRecord) {
    ASSERT_EQ(module_.BackupEeprom(), ResultOk);
    ASSERT_EQ(module_.BackupEeprom(TPEeprom::ModelCodeK31), ResultOk);
    ASSERT_EQ(module_.BackupEeprom(TPEeprom::ModelCodeK31), ResultOk);
    EXPECT_TRUE(History().empty()) << "an unknown or the same model adds nothing";
    ASSERT_EQ(module_.BackupEeprom(TPEeprom::ModelCodeK32), ResultOk);
    const std::vector<BackupEntry> backups = module_.ListBackups();
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(backups[0].modelCode, TPEeprom::ModelCodeK31);
    EXPECT_EQ(backups[1].modelCode, TPEeprom::ModelCodeK32);
    EXPECT_EQ(ReadFile(backups[0].path), ReadFile(backups[1].path));
}

TEST_F(BackupHistory, NamesAndModelFilesThatTellNoModelListAsUnknown) {
    ASSERT_TRUE(std::filesystem::create_directories(module_.HistoryFolder()));
    const struct {
        const char* name;
        uint8_t model;
    } kNames[] = {
        // Written before the model was part of the name.
        {"20250301-101500-00-A1B2C3D4E5435E7F30.eep", TPEeprom::ModelCodeUnknown},
        {"20250301-101500-01-no-usb-id.eep", TPEeprom::ModelCodeUnknown},
        {"20250301-101500-02-K31-A1B2C3D4E5435E7F30.eep", TPEeprom::ModelCodeK31},
        {"20250301-101500-03-K32-no-usb-id.eep", TPEeprom::ModelCodeK32},
        {"20250301-101500-04-unknown-no-usb-id.eep", TPEeprom::ModelCodeUnknown},
        {"20250301-101500-05-K33-no-usb-id.eep", TPEeprom::ModelCodeUnknown},
        {"20250301-101500-06-k31-no-usb-id.eep", TPEeprom::ModelCodeUnknown},
        {"K31-bkupdata.eep", TPEeprom::ModelCodeUnknown},
    };
    for (const auto& [name, model] : kNames) {
        WriteFile(module_.HistoryFolder() + "/" + name, OldBoardWithIdFile());
    }
    WriteFile(module_.BackupFilePath(), OldBoardWithIdFile());
    for (const char* record : {"", "K3", "K31 K32\n", "K32\n\n", "unknown\n"}) {
        WriteFile(module_.ModelFilePath(), record);
        const std::vector<BackupEntry> backups = module_.ListBackups();
        ASSERT_EQ(backups.size(), std::size(kNames) + 1);
        for (size_t i = 0; i < std::size(kNames); ++i) {
            EXPECT_EQ(backups[i].path, module_.HistoryFolder() + "/" + kNames[i].name);
            EXPECT_EQ(backups[i].modelCode, kNames[i].model) << kNames[i].name;
            EXPECT_EQ(backups[i].usbId, kOldId) << "from the bytes, whatever the name";
        }
        EXPECT_EQ(backups.back().modelCode, TPEeprom::ModelCodeUnknown) << record;
    }
}

TEST_F(BackupHistory, BackupsOfOneSecondGetNamesOfTheirOwnInTheirOrderAndTheSameBytesNone) {
    const auto second = std::filesystem::file_time_type::clock::now();
    ASSERT_EQ(module_.BackupEeprom(), ResultOk);
    // Pressed twice on the same board: the file holds the same bytes.
    std::string planned = "?";
    ASSERT_EQ(module_.PlanBackup(TPEeprom::ModelCodeUnknown, planned), ResultOk);
    EXPECT_EQ(planned, "");
    ASSERT_EQ(module_.BackupEeprom(), ResultOk);
    EXPECT_TRUE(History().empty());

    std::vector<std::string> boards;
    for (const uint8_t fill : {0x11, 0x22, 0x33}) {
        SetTaken(module_.BackupFilePath(), second);
        boards.push_back(ReadFile(module_.BackupFilePath()));
        ChangeEeprom(kPort, [fill](vprinter::Eeprom& bytes) { bytes.fill(fill); });
        // The plan names the file the backup then keeps, and keeps nothing.
        const std::vector<std::string> before = History();
        ASSERT_EQ(module_.PlanBackup(TPEeprom::ModelCodeUnknown, planned), ResultOk);
        EXPECT_EQ(History(), before);
        std::string kept;
        ASSERT_EQ(module_.BackupEeprom(TPEeprom::ModelCodeUnknown, &kept), ResultOk);
        EXPECT_EQ(kept, planned);
        EXPECT_TRUE(Exists(kept)) << kept;
    }
    const std::vector<std::string> history = History();
    ASSERT_EQ(history.size(), 3u);
    for (size_t i = 0; i < history.size(); ++i) {
        EXPECT_EQ(history[i].substr(15, 4), "-0" + std::to_string(i) + "-") << history[i];
        EXPECT_EQ(history[i].substr(0, 15), history[0].substr(0, 15)) << "one second";
        EXPECT_EQ(ReadFile(module_.HistoryFolder() + "/" + history[i]), boards[i])
            << "in the order they were taken";
    }
    EXPECT_TRUE(history[1].ends_with("-no-usb-id.eep")) << history[1];
}

TEST_F(BackupHistory, ABackupThatCannotKeepTheOldFileReplacesNothing) {
    ASSERT_EQ(module_.BackupEeprom(), ResultOk);
    ChangeEeprom(kPort, [](vprinter::Eeprom& bytes) { bytes.fill(0x5A); });
    // A file stands where the history folder belongs.
    WriteFile(module_.HistoryFolder(), "in the way");
    ClearTrace();
    EXPECT_EQ(module_.BackupEeprom(), ResultEepromFileError);
    EXPECT_EQ(module_.ErrorIndex(), TPEeprom::ErrorCannotCreateFile);
    EXPECT_EQ(ReadFile(module_.BackupFilePath()), OldBoardWithIdFile());
    EXPECT_EQ(TemporariesLeft(), std::vector<std::string>{});
    EXPECT_TRUE(Calls("D4WriteEeprom").empty());

    // The restore of the page still works, and leaves the file where it is
    // when it cannot be kept: its data is never thrown away.
    ReplaceMainBoard();
    EXPECT_EQ(module_.RestoreEeprom(TPEeprom::ModelCodeK32), ResultOk);
    EXPECT_EQ(Eeprom(kPort)[0x42], OldBoardValue(0x42));
    EXPECT_EQ(ReadFile(module_.BackupFilePath()), OldBoardWithIdFile());
}

// A backup whose replace failed has kept the page's file in the history
// already: restoring that copy takes the page's file away, never the copy.
TEST_F(BackupHistory, RestoringTheHistorysCopyOfThePagesFileKeepsTheCopy) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("a full disk is a file size limit (setrlimit)");
#else
    ASSERT_EQ(module_.BackupEeprom(), ResultOk);
    ChangeEeprom(kPort, [](vprinter::Eeprom& bytes) { bytes.fill(0x5A); });
    {
        const FullDisk full;
        ASSERT_EQ(module_.BackupEeprom(), ResultEepromFileError);
    }
    const std::vector<std::string> history = History();
    ASSERT_EQ(history.size(), 1u);
    const std::string kept = module_.HistoryFolder() + "/" + history[0];

    ReplaceMainBoard();
    ASSERT_EQ(module_.RestoreEepromFrom(kept, TPEeprom::ModelCodeK32), ResultOk);
    EXPECT_EQ(ReadFile(kept), OldBoardWithIdFile());
    EXPECT_FALSE(Exists(module_.BackupFilePath()));
    EXPECT_EQ(History(), history);
#endif
}

// What may be planted in the backup folder: a link at a temporary file's
// name (as the older writers named them) is never written through, a folder
// there is passed over, and a FIFO where a file belongs is neither opened nor
// replaced, nor kept in the history.
TEST_F(BackupHistory, PlantedLinksAndFifosAreNeitherFollowedNorReplaced) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("symbolic links and FIFOs to plant");
#else
    struct Case {
        const char* what;
        std::string name;  // in the backup folder
        enum { Link, Folder, Fifo } planted;
        std::function<uint16_t()> run;
        uint16_t result;
    };
    const auto backup = [this] { return module_.BackupEeprom(TPEeprom::ModelCodeK32); };
    const std::vector<Case> cases = {
        {"a link at the backup's temporary name", "bkupdata.eep.tmp", Case::Link, backup, ResultOk},
        {"a link at the model's temporary name", "bkupdata.model.tmp", Case::Link, backup,
         ResultOk},
        {"a folder at the backup's temporary name", "bkupdata.eep.tmp", Case::Folder, backup,
         ResultOk},
        {"a FIFO as the backup, backed up over", "bkupdata.eep", Case::Fifo, backup,
         ResultEepromFileError},
        {"a FIFO as the model record", "bkupdata.model", Case::Fifo, backup, ResultOk},
        {"a FIFO as the backup, restored", "bkupdata.eep", Case::Fifo,
         [this] { return module_.RestoreEeprom(TPEeprom::ModelCodeK32); }, ResultEepromFileError},
    };
    testing_support::TempFolder elsewhere;
    const std::string victim = elsewhere / "victim";
    for (const Case& c : cases) {
        std::filesystem::remove_all(module_.BackupFolder());
        ASSERT_TRUE(std::filesystem::create_directories(module_.BackupFolder()));
        const std::string path = module_.BackupFolder() + "/" + c.name;
        WriteFile(victim, "not a backup");
        std::optional<testing_support::PlantedFifo> fifo;
        switch (c.planted) {
            case Case::Link:
                ASSERT_EQ(::symlink(victim.c_str(), path.c_str()), 0) << c.what;
                break;
            case Case::Folder:
                ASSERT_TRUE(std::filesystem::create_directory(path)) << c.what;
                break;
            case Case::Fifo:
                fifo.emplace(path);
                ASSERT_TRUE(fifo->Made()) << c.what;
                break;
        }
        const auto before = std::filesystem::symlink_status(path).type();
        ClearTrace();
        EXPECT_EQ(c.run(), c.result) << c.what;
        EXPECT_EQ(ReadFile(victim), "not a backup") << c.what << ": written through";
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), before) << c.what << ": replaced";
        EXPECT_TRUE(Calls("D4WriteEeprom").empty()) << c.what;
        if (fifo) {
            EXPECT_FALSE(fifo->WasOpened()) << c.what << ": opened";
        }
        if (c.result == ResultOk) {
            EXPECT_EQ(ReadFile(module_.BackupFilePath()), OldBoardWithIdFile()) << c.what;
        }
        for (const std::string& name : History()) {
            EXPECT_TRUE(std::filesystem::is_regular_file(module_.HistoryFolder() + "/" + name))
                << c.what << ": " << name;
        }
    }
#endif
}

TEST_F(BackupHistory, RestoreFromRefusesAFileThatIsNoBackupBeforeAnyWrite) {
    testing_support::TempFolder elsewhere;
    for (const size_t size : {0, 1, 63, 65, 1024}) {
        const std::string path = elsewhere / ("backup-" + std::to_string(size));
        WriteFile(path, std::string(size, '\x11'));
        EXPECT_EQ(module_.RestoreEepromFrom(path, TPEeprom::ModelCodeK32), ResultEepromFileError)
            << size;
        EXPECT_EQ(module_.ErrorIndex(), TPEeprom::ErrorCannotReadFile) << size;
        EXPECT_EQ(ReadFile(path).size(), size);
    }
    EXPECT_EQ(module_.RestoreEepromFrom(elsewhere / "absent", TPEeprom::ModelCodeK32),
              ResultEepromFileError);
    EXPECT_TRUE(Calls().empty());

    // A good file elsewhere is restored and stays where it is.
    const std::string path = elsewhere / "good.eep";
    WriteFile(path, OldBoardWithIdFile());
    ReplaceMainBoard();
    EXPECT_EQ(module_.RestoreEepromFrom(path, TPEeprom::ModelCodeK31), ResultOk);
    EXPECT_EQ(ReadFile(path), OldBoardWithIdFile());
    EXPECT_EQ(Eeprom(kPort)[0x6E], 0x04);
    EXPECT_TRUE(History().empty());
}

// Another program's backup taken while a restore writes (run here from the
// restore's first service log record, between its read and its end) stays in
// place with its model: the restore takes away only the file it read, which
// that backup has kept in the history already.
TEST_F(BackupHistory, ABackupTakenWhileARestoreWritesStaysInPlace) {
    ASSERT_EQ(module_.BackupEeprom(TPEeprom::ModelCodeK32), ResultOk);
    ReplaceMainBoard();
    struct Hook final : IServiceLog {
        std::function<void()> once;
        bool Record(const ServiceLogRecord&, std::string&) override {
            if (once) {
                std::exchange(once, nullptr)();
            }
            return true;
        }
    } hook;
    TPEeprom other{Link(), module_.BackupFolder()};
    std::string between;
    hook.once = [&] {
        ASSERT_EQ(other.BackupEeprom(TPEeprom::ModelCodeK31), ResultOk);
        between = ReadFile(module_.BackupFilePath());
    };
    Link().AttachServiceLog(&hook, &Clock());
    ASSERT_EQ(module_.RestoreEeprom(TPEeprom::ModelCodeK32), ResultOk);
    Link().AttachServiceLog(nullptr);

    ASSERT_EQ(between.size(), TPEeprom::kBackupFileSize);
    EXPECT_NE(between, OldBoardWithIdFile());
    EXPECT_EQ(ReadFile(module_.BackupFilePath()), between) << "the new backup stays";
    EXPECT_EQ(ReadFile(module_.ModelFilePath()), "K31\n");
    const std::vector<std::string> history = History();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(ReadFile(module_.HistoryFolder() + "/" + history[0]), OldBoardWithIdFile())
        << "the file restored is kept once";
    EXPECT_EQ(Eeprom(kPort)[0x42], OldBoardValue(0x42));
}

}  // namespace
