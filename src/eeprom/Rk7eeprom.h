#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "eeprom/BackupHistory.h"
#include "platform/Files.h"

class TPDLLFunction;

// The EEPROM module: the market setting, and the backup and restore of the
// bytes that belong to the mechanism and the head when a main board is
// replaced. Besides the link and the backup folder its only state is the error
// index that names a failed step of the backup file (result
// ResultEepromFileError).
class TPEeprom {
  public:
    // Error index values (result ResultEepromFileError).
    static constexpr int16_t ErrorCannotCreateFile = 2;
    static constexpr int16_t ErrorCannotReadFile = 3;

    // Model codes of the boot window that select a destination.
    static constexpr uint8_t ModelCodeK31 = 1;
    static constexpr uint8_t ModelCodeK32 = 2;
    // A backup whose model is not known.
    static constexpr uint8_t ModelCodeUnknown = 0;

    // Destination codes read back by ReadMarketSetting.
    static constexpr uint8_t DestinationJapan = 0;
    static constexpr uint8_t DestinationSouthAmericaEastEuroAsia = 1;
    static constexpr uint8_t DestinationNorthAmericaWestEuro = 2;
    static constexpr uint8_t DestinationUnknown = 255;

    // The backup file's name in its folder, and its exact length.
    static constexpr const char* kBackupFileName = "bkupdata.eep";
    static constexpr size_t kBackupFileSize = 64;
    // The EEPROM writes of the market setting, and of a restore: the backup's
    // bytes, then the market setting.
    static constexpr size_t kMarketWrites = 5;
    static constexpr size_t kRestoreWrites = kBackupFileSize + kMarketWrites;
    // Beside it, the model the backup file was taken for (BackupHistory.h).
    static constexpr const char* kModelFileName = "bkupdata.model";
    static constexpr const char* kLockFileName = "bkupdata.lock";

    // The backup file lives in the platform's backup folder.
    explicit TPEeprom(TPDLLFunction& link);
    // The backup file lives in backupFolder instead (tests).
    TPEeprom(TPDLLFunction& link, std::string backupFolder);

    // Writes the fixed bytes and the destination that the model code selects:
    // 0x30 <- 4, 0x31 <- 0, 0x59 <- 0x18, then 0x6E and 0x5B (K32: 00 B2,
    // K31: 04 F2, any other model: 06 32). Stops at the first failing write.
    uint16_t WriteMarketSetting(uint8_t modelCode);
    // Reads 0x6E, then 0x5B, and names the destination the pair stands for
    // (2, 1, 0, or 255 for any other pair). destination is left alone when a
    // read fails.
    uint16_t ReadMarketSetting(uint8_t& destination);

    // Reads the 64 bytes of the backup list and keeps them in the backup file
    // (0x2001 when the file cannot be created, index 2 when it cannot be
    // written). A backup that fails keeps the previous backup file whole.
    // A previous backup file with other bytes is first kept in the history
    // (BackupHistory.h); when that fails, the backup ends with index 2 after
    // the reads, and the previous file stays as it was. modelCode, the model
    // the link was opened for, is recorded in the model file beside the backup
    // file. A backup whose model cannot be recorded is still a good backup (a
    // restore needs only the 64 bytes) and lists with an unknown model.
    // kept, when given, learns where the previous file was kept (left alone
    // when none was).
    uint16_t BackupEeprom(uint8_t modelCode = ModelCodeUnknown, std::string* kept = nullptr);
    // What BackupEeprom would do, with its reads and nothing written: kept
    // is where the previous backup file would be kept, empty when it would
    // not be (none, or these very bytes).
    uint16_t PlanBackup(uint8_t modelCode, std::string& kept);
    // Writes the 64 bytes of the backup file back to their addresses, then
    // the market setting for modelCode, and takes the file away: it moves
    // into the history with the model it was taken for, and its model file
    // goes (where it cannot be moved both stay). A missing file,
    // or one that is not exactly 64 bytes long, is refused with index 3
    // before anything is written. The writes are logged as "restore".
    // The three steps below, one after the other.
    uint16_t RestoreEeprom(uint8_t modelCode);
    // The same with the backup in path: the same writes, checks and result
    // codes. The file stays where it is, unless it is the backup file itself.
    uint16_t RestoreEepromFrom(const std::string& path, uint8_t modelCode);

    // A backup file as a restore read it: its bytes, which file it was, and
    // the model recorded with it when it was the backup file.
    struct BackupRead {
        std::string path;
        std::vector<uint8_t> bytes;
        orvane::FileIdentity identity;
        uint8_t model = ModelCodeUnknown;
    };
    // The restore's steps. The first reads the file at path under the lock
    // of the backups, so that no backup replaces it half way (refused with
    // index 3 when it is missing, no regular file or not exactly 64 bytes).
    uint16_t ReadBackupFile(const std::string& path, BackupRead& read);
    // Writes what was read to the board, then the market setting.
    uint16_t WriteBackup(const BackupRead& read, uint8_t modelCode);
    // Then, once the restore is done, takes the backup file away into the
    // history, under the lock: only when the file read was the backup file
    // and still stands at its name, so that a backup taken since stays. A
    // dry run keeps it.
    void RetireBackup(const BackupRead& read);

    // The backups of the history, oldest first, then the backup file when
    // there is one.
    std::vector<BackupEntry> ListBackups() const;
    std::string HistoryFolder() const;

    int16_t ErrorIndex() const { return errorIndex_; }
    const std::string& BackupFolder() const { return backupFolder_; }
    std::string BackupFilePath() const;
    std::string ModelFilePath() const;
    // The lock file beside them that keeps two backups or restores apart.
    std::string LockFilePath() const;

  private:
    using BackupBytes = std::array<uint8_t, kBackupFileSize>;

    uint16_t Fail(int16_t index);
    // The 64 reads of the backup list.
    uint16_t ReadBackupList(BackupBytes& bytes);
    // Whether a backup of bytes keeps the previous backup file first.
    bool KeepsPrevious(const BackupBytes& bytes, uint8_t modelCode) const;

    TPDLLFunction& link_;
    std::string backupFolder_;
    int16_t errorIndex_ = 0;
};
