#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/Clock.h"

// One EEPROM backup file: the one the data copy page restores (bkupdata.eep)
// or one kept in the history beside it.
struct BackupEntry {
    std::string path;
    // When the backup was taken (the file's modification time), ISO 8601.
    std::string time;
    // The USB ID of the board it was taken from; empty when it holds none.
    std::string usbId;
    // The model its market bytes name; TPEeprom::ModelCodeUnknown when they
    // do not name one (a backup does not hold them: see TPEeprom::ModelOfBackup).
    uint8_t modelCode = 0;
    bool current = false;  // bkupdata.eep itself
    bool whole = false;    // exactly 64 bytes: a backup that can be restored
};

// The history of backups: before a backup replaces bkupdata.eep, and after a
// restore has written it to a board, the file is kept in the folder
// "history" beside it as "YYYYMMDD-HHMMSS-NN-<USB ID>.eep", by the local time
// the backup was taken, a number that tells apart backups of one second, and
// the USB ID it holds ("no-usb-id" for a file without one). The names sort
// by time.
namespace backup_history {

inline constexpr const char* kFolderName = "history";
inline constexpr const char* kNoUsbId = "no-usb-id";

// The USB ID the 64 bytes of a backup hold, at the places of 0x5C-0x6D in
// the backup list; empty when the bytes are no USB ID (or not 64).
std::string UsbIdOf(std::span<const uint8_t> bytes);

// The history's name of a backup taken at taken, the sequence-th of its second.
std::string FileName(const orvane::LocalDateTime& taken, int sequence, const std::string& usbId);

// Keeps file in folder (created as needed) under a name of its own. With
// move the file then leaves its place; it is never gone from both. False when
// no copy could be kept: the file is then as it was.
bool Keep(const std::string& file, const std::string& folder, bool move);

// The files of folder, by name (so by time), then currentFile when it exists.
std::vector<BackupEntry> List(const std::string& currentFile, const std::string& folder);

}  // namespace backup_history
