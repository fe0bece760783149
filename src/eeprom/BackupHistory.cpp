#include "eeprom/BackupHistory.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "eeprom/EepromMap.h"
#include "eeprom/Rk7eeprom.h"
#include "eeprom/Rk7usbid.h"
#include "platform/Files.h"

namespace backup_history {

namespace {

// Where the USB ID's first character stands in the backup list.
constexpr size_t UsbIdPlace() {
    for (size_t i = 0; i < eeprom::BackupAddresses.size(); ++i) {
        if (eeprom::BackupAddresses[i] == eeprom::UsbIdSerialFirst) {
            return i;
        }
    }
    return eeprom::BackupAddresses.size();
}

constexpr size_t kUsbIdPlace = UsbIdPlace();
static_assert(kUsbIdPlace + eeprom::UsbIdLength <= eeprom::BackupAddresses.size());
// The USB ID's 18 addresses follow each other in the list as in the EEPROM.
static_assert(eeprom::BackupAddresses[kUsbIdPlace + eeprom::UsbIdLength - 1] ==
              eeprom::UsbIdSerialFirst + eeprom::UsbIdLength - 1);

constexpr int kSequences = 100;

bool ReadBackup(const std::string& path, std::vector<uint8_t>& bytes) {
    return orvane::ReadFileStart(path, TPEeprom::kBackupFileSize + 1, bytes);
}

// "YYYYMMDD-HHMMSS-NN-": what two names of the same second and number share.
std::string Stamp(const orvane::LocalDateTime& taken, int sequence) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d-%02d-", taken.year, taken.month,
                  taken.day, taken.hour, taken.minute, taken.second, sequence);
    return text;
}

bool StampTaken(const std::vector<std::string>& names, const std::string& stamp) {
    for (const std::string& name : names) {
        if (name.compare(0, stamp.size(), stamp) == 0) {
            return true;
        }
    }
    return false;
}

BackupEntry Describe(const std::string& path, bool current) {
    BackupEntry entry;
    entry.path = path;
    entry.current = current;
    entry.modelCode = TPEeprom::ModelCodeUnknown;
    if (orvane::LocalDateTime taken; orvane::FileModified(path, taken)) {
        entry.time = orvane::IsoTime(taken);
    }
    std::vector<uint8_t> bytes;
    if (ReadBackup(path, bytes) && bytes.size() == TPEeprom::kBackupFileSize) {
        entry.whole = true;
        entry.usbId = UsbIdOf(bytes);
        entry.modelCode = TPEeprom::ModelOfBackup(bytes);
    }
    return entry;
}

}  // namespace

std::string UsbIdOf(std::span<const uint8_t> bytes) {
    if (bytes.size() != eeprom::BackupAddresses.size()) {
        return {};
    }
    const std::string id(bytes.begin() + kUsbIdPlace,
                         bytes.begin() + kUsbIdPlace + eeprom::UsbIdLength);
    return TPUsbId::IsUsbId(id) ? id : std::string();
}

std::string FileName(const orvane::LocalDateTime& taken, int sequence, const std::string& usbId) {
    return Stamp(taken, sequence) + (usbId.empty() ? kNoUsbId : usbId) + ".eep";
}

bool Keep(const std::string& file, const std::string& folder, bool move) {
    orvane::LocalDateTime taken;
    if (!orvane::CreateFolders(folder) || !orvane::FileModified(file, taken)) {
        return false;
    }
    std::vector<uint8_t> bytes;
    const std::string usbId = ReadBackup(file, bytes) ? UsbIdOf(bytes) : std::string();
    const std::vector<std::string> names = orvane::FilesIn(folder);
    // Kept already (by a backup whose replace then failed): the same file.
    for (const std::string& name : names) {
        std::error_code error;
        if (std::filesystem::equivalent(file, folder + "/" + name, error)) {
            if (move) {
                orvane::RemoveFile(file);
            }
            return true;
        }
    }
    for (int sequence = 0; sequence < kSequences; ++sequence) {
        if (StampTaken(names, Stamp(taken, sequence))) {
            continue;
        }
        const std::string kept = folder + "/" + FileName(taken, sequence, usbId);
        if (!orvane::KeepCopy(file, kept)) {
            // Another process took the name meanwhile: the next number.
            if (orvane::Exists(kept)) {
                continue;
            }
            return false;
        }
        if (move) {
            // A file that cannot be removed is still kept; it does no harm.
            orvane::RemoveFile(file);
        }
        return true;
    }
    return false;
}

std::vector<BackupEntry> List(const std::string& currentFile, const std::string& folder) {
    std::vector<BackupEntry> entries;
    for (const std::string& name : orvane::FilesIn(folder)) {
        // A copy that was being written when its writer ended is no backup.
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) {
            continue;
        }
        entries.push_back(Describe(folder + "/" + name, false));
    }
    if (orvane::Exists(currentFile)) {
        entries.push_back(Describe(currentFile, true));
    }
    return entries;
}

}  // namespace backup_history
