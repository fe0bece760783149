#include "eeprom/Rk7eeprom.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "eeprom/EepromMap.h"
#include "link/Dllfunction.h"
#include "link/ResultCodes.h"
#include "platform/BackupFolder.h"
#include "platform/Files.h"

namespace {

struct DestinationBytes {
    uint8_t destination;
    uint8_t first;   // at 0x6E
    uint8_t second;  // at 0x5B
};

constexpr std::array<DestinationBytes, 3> kDestinations = {{
    {TPEeprom::DestinationNorthAmericaWestEuro, 0x00, 0xB2},
    {TPEeprom::DestinationSouthAmericaEastEuroAsia, 0x04, 0xF2},
    {TPEeprom::DestinationJapan, 0x06, 0x32},
}};

const DestinationBytes& DestinationOfModel(uint8_t modelCode) {
    switch (modelCode) {
        case TPEeprom::ModelCodeK32:
            return kDestinations[0];
        case TPEeprom::ModelCodeK31:
            return kDestinations[1];
        default:
            return kDestinations[2];
    }
}

bool SameBytes(const std::string& path,
               const std::array<uint8_t, TPEeprom::kBackupFileSize>& bytes) {
    std::vector<uint8_t> old;
    return orvane::ReadFileStart(path, bytes.size() + 1, old) &&
           std::equal(old.begin(), old.end(), bytes.begin(), bytes.end());
}

}  // namespace

TPEeprom::TPEeprom(TPDLLFunction& link) : TPEeprom(link, orvane::BackupFolder()) {}

TPEeprom::TPEeprom(TPDLLFunction& link, std::string backupFolder)
    : link_(link), backupFolder_(std::move(backupFolder)) {}

std::string TPEeprom::BackupFilePath() const {
    return backupFolder_ + "/" + kBackupFileName;
}

std::string TPEeprom::ModelFilePath() const {
    return backupFolder_ + "/" + kModelFileName;
}

std::string TPEeprom::LockFilePath() const {
    return backupFolder_ + "/" + kLockFileName;
}

std::string TPEeprom::HistoryFolder() const {
    return backupFolder_ + "/" + backup_history::kFolderName;
}

std::vector<BackupEntry> TPEeprom::ListBackups() const {
    return backup_history::List(BackupFilePath(), ModelFilePath(), HistoryFolder());
}

uint16_t TPEeprom::Fail(int16_t index) {
    errorIndex_ = index;
    return ResultEepromFileError;
}

uint16_t TPEeprom::WriteMarketSetting(uint8_t modelCode) {
    const TPDLLFunction::ServiceOperation operation(link_, servicelog::Market);
    const DestinationBytes& bytes = DestinationOfModel(modelCode);
    const std::array<std::array<uint8_t, 2>, kMarketWrites> writes = {{
        {eeprom::MarketFixed30, 0x04},
        {eeprom::MarketFixed31, 0x00},
        {eeprom::FirstDot, 0x18},
        {eeprom::MarketFirstCode, bytes.first},
        {eeprom::MarketSecondCode, bytes.second},
    }};
    for (const auto& [address, value] : writes) {
        const uint16_t result = link_.D4WriteEeprom(address, value);
        if (result != ResultOk) {
            return result;
        }
    }
    return ResultOk;
}

uint16_t TPEeprom::ReadMarketSetting(uint8_t& destination) {
    uint8_t first = 0;
    uint8_t second = 0;
    uint16_t result = link_.D4ReadEeprom(eeprom::MarketFirstCode, first);
    if (result != ResultOk) {
        return result;
    }
    result = link_.D4ReadEeprom(eeprom::MarketSecondCode, second);
    if (result != ResultOk) {
        return result;
    }
    destination = DestinationUnknown;
    for (const auto& known : kDestinations) {
        if (known.first == first && known.second == second) {
            destination = known.destination;
        }
    }
    return ResultOk;
}

uint16_t TPEeprom::ReadBackupList(BackupBytes& bytes) {
    static_assert(eeprom::BackupAddresses.size() == kBackupFileSize);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const uint16_t result = link_.D4ReadEeprom(eeprom::BackupAddresses[i], bytes[i]);
        if (result != ResultOk) {
            return result;
        }
    }
    link_.NoteUsbId(backup_history::UsbIdOf(bytes));
    return ResultOk;
}

bool TPEeprom::KeepsPrevious(const BackupBytes& bytes, uint8_t modelCode) const {
    // The previous backup may be the only copy of another board's data: it is
    // kept before it is replaced, unless it holds these very bytes and tells
    // no other model.
    const std::string path = BackupFilePath();
    const uint8_t oldModel = backup_history::ReadModel(ModelFilePath());
    const bool sameBackup =
        SameBytes(path, bytes) && (oldModel == modelCode || oldModel == ModelCodeUnknown);
    return orvane::Exists(path) && !sameBackup;
}

uint16_t TPEeprom::PlanBackup(uint8_t modelCode, std::string& kept) {
    kept.clear();
    BackupBytes bytes{};
    if (const uint16_t result = ReadBackupList(bytes); result != ResultOk) {
        return result;
    }
    if (KeepsPrevious(bytes, modelCode)) {
        kept = backup_history::KeepPath(
            BackupFilePath(), backup_history::ReadModel(ModelFilePath()), HistoryFolder());
    }
    return ResultOk;
}

uint16_t TPEeprom::BackupEeprom(uint8_t modelCode, std::string* kept) {
    BackupBytes bytes{};
    if (const uint16_t result = ReadBackupList(bytes); result != ResultOk) {
        return result;
    }
    orvane::CreateFolders(backupFolder_);  // a failure shows when the file is created
    // Another backup or restore, of this or another program, waits until
    // these steps are done: interleaved, one could keep the other's bytes
    // under its own name, or none.
    const orvane::FileLock lock(LockFilePath());
    const std::string path = BackupFilePath();
    const std::string modelPath = ModelFilePath();
    const uint8_t oldModel = backup_history::ReadModel(modelPath);
    if (KeepsPrevious(bytes, modelCode) &&
        !backup_history::Keep(path, oldModel, HistoryFolder(), false, kept)) {
        return Fail(ErrorCannotCreateFile);
    }
    // The old model's record goes before the bytes change, so that it never
    // stands beside another backup's bytes; it comes back when they do not.
    orvane::RemoveFile(modelPath);
    switch (orvane::ReplaceFile(path, bytes)) {
        case orvane::FileWrite::Done:
            // A record that cannot be written leaves the model unknown.
            backup_history::WriteModel(modelPath, modelCode);
            return ResultOk;
        case orvane::FileWrite::CannotCreate:
            backup_history::WriteModel(modelPath, oldModel);
            return ResultFileOpenError;
        case orvane::FileWrite::CannotWrite:
            break;
    }
    backup_history::WriteModel(modelPath, oldModel);
    return Fail(ErrorCannotCreateFile);
}

uint16_t TPEeprom::RestoreEeprom(uint8_t modelCode) {
    return RestoreEepromFrom(BackupFilePath(), modelCode);
}

uint16_t TPEeprom::RestoreEepromFrom(const std::string& path, uint8_t modelCode) {
    BackupRead read;
    uint16_t result = ReadBackupFile(path, read);
    if (result == ResultOk) {
        result = WriteBackup(read, modelCode);
    }
    if (result == ResultOk) {
        RetireBackup(read);
    }
    return result;
}

uint16_t TPEeprom::ReadBackupFile(const std::string& path, BackupRead& read) {
    // A backup of another program replaces the file and its model record
    // under the lock: read under it, the two belong together.
    const orvane::FileLock lock(LockFilePath());
    read = {};
    read.path = path;
    // One byte more than a backup holds, to notice a file that is too long.
    if (!orvane::ReadFileIdentified(path, kBackupFileSize + 1, read.bytes, read.identity) ||
        read.bytes.size() != kBackupFileSize) {
        return Fail(ErrorCannotReadFile);
    }
    if (orvane::IsSameFile(BackupFilePath(), read.identity)) {
        read.model = backup_history::ReadModel(ModelFilePath());
    }
    return ResultOk;
}

uint16_t TPEeprom::WriteBackup(const BackupRead& read, uint8_t modelCode) {
    if (read.bytes.size() != kBackupFileSize) {
        return Fail(ErrorCannotReadFile);
    }
    {
        const TPDLLFunction::ServiceOperation operation(link_, servicelog::Restore);
        for (size_t i = 0; i < kBackupFileSize; ++i) {
            const uint16_t result = link_.D4WriteEeprom(eeprom::BackupAddresses[i], read.bytes[i]);
            if (result != ResultOk) {
                return result;
            }
        }
        const uint16_t result = WriteMarketSetting(modelCode);
        if (result != ResultOk) {
            return result;
        }
    }
    link_.NoteUsbId(backup_history::UsbIdOf(read.bytes));
    return ResultOk;
}

void TPEeprom::RetireBackup(const BackupRead& read) {
    // The backup file has served its purpose and leaves its place, so that
    // it is not restored to another board by mistake; its data stays in the
    // history. Where it cannot be moved it stays: that does no harm to the
    // board just written. A dry run keeps it: nothing has been written.
    if (link_.IsDryRun()) {
        return;
    }
    // Only the very file that was read goes, and only while no backup can
    // put another one in its place.
    const orvane::FileLock lock(LockFilePath());
    const std::string path = BackupFilePath();
    if (orvane::IsSameFile(path, read.identity) &&
        backup_history::Keep(path, backup_history::ReadModel(ModelFilePath()), HistoryFolder(),
                             true) &&
        !orvane::Exists(path)) {
        orvane::RemoveFile(ModelFilePath());
    }
}
