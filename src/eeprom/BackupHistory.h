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
    // The model the link was opened for when the backup was taken (from the
    // model file for bkupdata.eep, from the name for a file of the history);
    // TPEeprom::ModelCodeUnknown when it was not recorded.
    uint8_t modelCode = 0;
    bool current = false;  // bkupdata.eep itself
    bool whole = false;    // exactly 64 bytes: a backup that can be restored
};

// The history of backups: before a backup replaces bkupdata.eep, and after a
// restore has written it to a board, the file is kept in the folder
// "history" beside it as "YYYYMMDD-HHMMSS-NN-<model>-<USB ID>.eep", by the
// local time the backup was taken, a number that tells apart backups of one
// second, the model it was taken for ("K31", "K32" or "unknown") and the USB
// ID it holds ("no-usb-id" for a file without one). The names sort by time.
// Names written before the model was part of them
// ("YYYYMMDD-HHMMSS-NN-<USB ID>.eep") stand for an unknown model.
//
// The 64 bytes hold no market bytes, so the model of bkupdata.eep is recorded
// beside it in a model file ("K31\n" or "K32\n"); no model file means an
// unknown model.
namespace backup_history {

inline constexpr const char* kFolderName = "history";
inline constexpr const char* kNoUsbId = "no-usb-id";
inline constexpr const char* kUnknownModel = "unknown";

// "K31", "K32", or "unknown" for any other code.
std::string ModelName(uint8_t modelCode);
// The code of a model name; TPEeprom::ModelCodeUnknown for any other text.
uint8_t ModelCodeOfName(const std::string& name);

// The model a model file records; unknown when there is none or it names none.
uint8_t ReadModel(const std::string& modelFile);
// Records modelCode in modelFile through a temporary file and a rename; an
// unknown model removes the file. False when the record could not be made
// (an old record then may still stand).
bool WriteModel(const std::string& modelFile, uint8_t modelCode);

// The USB ID the 64 bytes of a backup hold, at the places of 0x5C-0x6D in
// the backup list; empty when the bytes are no USB ID (or not 64).
std::string UsbIdOf(std::span<const uint8_t> bytes);

// The history's name of a backup taken at taken, the sequence-th of its second.
std::string FileName(const orvane::LocalDateTime& taken, int sequence, uint8_t modelCode,
                     const std::string& usbId);
// The model a name of the history names; unknown for the older names.
uint8_t ModelOfFileName(const std::string& name);

// Keeps file, a backup taken for modelCode, in folder (created as needed)
// under a name of its own. With move the file then leaves its place; it is
// never gone from both. False when no copy could be kept: the file is then as
// it was. keptPath, when given, learns where the copy is.
bool Keep(const std::string& file, uint8_t modelCode, const std::string& folder, bool move,
          std::string* keptPath = nullptr);
// Where Keep would keep file now, with nothing changed on disk; empty when it
// could not.
std::string KeepPath(const std::string& file, uint8_t modelCode, const std::string& folder);

// The files of folder, by name (so by time), then currentFile, with the model
// modelFile records, when it exists.
std::vector<BackupEntry> List(const std::string& currentFile, const std::string& modelFile,
                              const std::string& folder);

}  // namespace backup_history
