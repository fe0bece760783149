#include "eeprom/BackupHistory.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "eeprom/EepromMap.h"
#include "eeprom/Rk7eeprom.h"
#include "eeprom/Rk7usbid.h"
#include "platform/Files.h"
#include "platform/Paths.h"

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
// "YYYYMMDD-HHMMSS-NN-"
constexpr size_t kStampLength = 19;
// A model file holds a model's name and a newline; anything longer is no
// model file of ours.
constexpr size_t kModelFileLimit = 16;

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

BackupEntry Describe(const std::string& path, bool current, uint8_t modelCode) {
    BackupEntry entry;
    entry.path = path;
    entry.current = current;
    entry.modelCode = modelCode;
    if (orvane::LocalDateTime taken; orvane::FileModified(path, taken)) {
        entry.time = orvane::IsoTime(taken);
    }
    std::vector<uint8_t> bytes;
    if (ReadBackup(path, bytes) && bytes.size() == TPEeprom::kBackupFileSize) {
        entry.whole = true;
        entry.usbId = UsbIdOf(bytes);
    }
    return entry;
}

// Where file goes in folder: the copy of it the folder holds already (kept
// by a backup whose replace then failed), else its name with the first
// number from "from" on that no file of its second has; no path when it has
// no time or every number is taken.
struct Place {
    std::string path;
    bool keptAlready = false;
    int sequence = 0;
};

Place PlaceOf(const std::string& file, uint8_t modelCode, const std::string& folder, int from) {
    orvane::LocalDateTime taken;
    if (!orvane::FileModified(file, taken)) {
        return {};
    }
    const std::vector<std::string> names = orvane::FilesIn(folder);
    for (const std::string& name : names) {
        std::error_code error;
        if (std::filesystem::equivalent(orvane::PathOf(file), orvane::PathOf(folder + "/" + name),
                                        error)) {
            return {folder + "/" + name, true, 0};
        }
    }
    std::vector<uint8_t> bytes;
    const std::string usbId = ReadBackup(file, bytes) ? UsbIdOf(bytes) : std::string();
    for (int sequence = from; sequence < kSequences; ++sequence) {
        if (!StampTaken(names, Stamp(taken, sequence))) {
            return {folder + "/" + FileName(taken, sequence, modelCode, usbId), false, sequence};
        }
    }
    return {};
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

std::string ModelName(uint8_t modelCode) {
    switch (modelCode) {
        case TPEeprom::ModelCodeK31:
            return "K31";
        case TPEeprom::ModelCodeK32:
            return "K32";
        default:
            return kUnknownModel;
    }
}

uint8_t ModelCodeOfName(const std::string& name) {
    for (const uint8_t model : {TPEeprom::ModelCodeK31, TPEeprom::ModelCodeK32}) {
        if (name == ModelName(model)) {
            return model;
        }
    }
    return TPEeprom::ModelCodeUnknown;
}

uint8_t ReadModel(const std::string& modelFile) {
    std::vector<uint8_t> bytes;
    if (!orvane::ReadFileStart(modelFile, kModelFileLimit, bytes)) {
        return TPEeprom::ModelCodeUnknown;
    }
    std::string text(bytes.begin(), bytes.end());
    if (text.ends_with('\n')) {
        text.pop_back();
    }
    return ModelCodeOfName(text);
}

bool WriteModel(const std::string& modelFile, uint8_t modelCode) {
    if (ModelCodeOfName(ModelName(modelCode)) == TPEeprom::ModelCodeUnknown) {
        orvane::RemoveFile(modelFile);
        return !orvane::Exists(modelFile);
    }
    const std::string text = ModelName(modelCode) + "\n";
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    return orvane::ReplaceFile(modelFile, bytes) == orvane::FileWrite::Done;
}

std::string FileName(const orvane::LocalDateTime& taken, int sequence, uint8_t modelCode,
                     const std::string& usbId) {
    return Stamp(taken, sequence) + ModelName(modelCode) + "-" +
           (usbId.empty() ? kNoUsbId : usbId) + ".eep";
}

uint8_t ModelOfFileName(const std::string& name) {
    // The older names go on with the USB ID, which holds no '-', or with
    // "no-usb-id", whose "no" is no model.
    const size_t end = name.find('-', kStampLength);
    if (name.size() <= kStampLength || end == std::string::npos) {
        return TPEeprom::ModelCodeUnknown;
    }
    return ModelCodeOfName(name.substr(kStampLength, end - kStampLength));
}

std::string KeepPath(const std::string& file, uint8_t modelCode, const std::string& folder) {
    return PlaceOf(file, modelCode, folder, 0).path;
}

bool Keep(const std::string& file, uint8_t modelCode, const std::string& folder, bool move,
          std::string* keptPath) {
    if (!orvane::CreateFolders(folder)) {
        return false;
    }
    for (int from = 0; from < kSequences;) {
        const Place place = PlaceOf(file, modelCode, folder, from);
        if (place.path.empty()) {
            return false;
        }
        if (!place.keptAlready && !orvane::KeepCopy(file, place.path)) {
            // Another process took the name meanwhile: the next number.
            if (orvane::Exists(place.path)) {
                from = place.sequence + 1;
                continue;
            }
            return false;
        }
        if (move) {
            // A file that cannot be removed is still kept; it does no harm.
            orvane::RemoveFile(file);
        }
        if (keptPath != nullptr) {
            *keptPath = place.path;
        }
        return true;
    }
    return false;
}

std::vector<BackupEntry> List(const std::string& currentFile, const std::string& modelFile,
                              const std::string& folder) {
    std::vector<BackupEntry> entries;
    for (const std::string& name : orvane::FilesIn(folder)) {
        // A copy that was being written when its writer ended is no backup.
        if (orvane::IsTemporaryName(name)) {
            continue;
        }
        entries.push_back(Describe(folder + "/" + name, false, ModelOfFileName(name)));
    }
    if (orvane::Exists(currentFile)) {
        entries.push_back(Describe(currentFile, true, ReadModel(modelFile)));
    }
    return entries;
}

}  // namespace backup_history
