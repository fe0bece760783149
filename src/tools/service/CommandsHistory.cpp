// The backup history and the service log: backup list, restore --from, log.
#include <algorithm>
#include <filesystem>

#include "eeprom/BackupHistory.h"
#include "link/ResultCodes.h"
#include "link/ServiceLog.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "tools/service/Commands.h"
#include "tools/service/Output.h"

namespace orvane::service {

namespace {

Json EntryJson(const BackupEntry& entry) {
    return {{"path", entry.path},
            {"time", entry.time},
            {"usb_id", entry.usbId.empty() ? Json(nullptr) : Json(entry.usbId)},
            {"model", backup_history::ModelName(entry.modelCode)},
            {"current", entry.current},
            {"whole", entry.whole}};
}

// The model a backup file was taken for: the one recorded with it in the
// list of backups, else the one its history name names.
uint8_t ModelOfBackupFile(Session& session, const std::string& path) {
    std::error_code error;
    for (const BackupEntry& entry : session.eeprom.ListBackups()) {
        if (std::filesystem::equivalent(orvane::PathOf(entry.path), orvane::PathOf(path), error)) {
            return entry.modelCode;
        }
    }
    return backup_history::ModelOfFileName(orvane::Utf8Of(orvane::PathOf(path).filename()));
}

}  // namespace

Outcome BackupList(Session& session, Json& out) {
    Json list = Json::array();
    for (const BackupEntry& entry : session.eeprom.ListBackups()) {
        list.push_back(EntryJson(entry));
    }
    out["folder"] = session.eeprom.BackupFolder();
    out["backups"] = list;
    return Outcome::Done();
}

Outcome CheckRestoreFrom(Session&, const std::string& path) {
    std::error_code error;
    switch (orvane::KindOf(path)) {
        case orvane::FileKind::Missing:
            return Outcome::Usage("--from " + path + ": no such file");
        case orvane::FileKind::Folder:
        case orvane::FileKind::Special:
            return Outcome::Usage("--from " + path + ": not a regular file");
        case orvane::FileKind::Regular:
            break;
    }
    // Refused before the link is opened, as the restore itself refuses it
    // before it writes anything.
    const auto size = std::filesystem::file_size(orvane::PathOf(path), error);
    if (error || size != TPEeprom::kBackupFileSize) {
        return {kExitRefused,
                "--from " + path + ": Cannot read data from file. (a backup is " +
                    std::to_string(TPEeprom::kBackupFileSize) + " bytes)",
                ResultEepromFileError};
    }
    return Outcome::Done();
}

Outcome CheckBackupModel(const std::string& path, uint8_t backupModel, uint8_t modelCode,
                         bool force) {
    if (backupModel == TPEeprom::ModelCodeUnknown || backupModel == modelCode || force) {
        return Outcome::Done();
    }
    return {kExitRefused,
            "the backup " + path + " was taken for an Orvane " +
                backup_history::ModelName(backupModel) + ", the printer is an Orvane " +
                backup_history::ModelName(modelCode) + ": give --force to restore it all the same",
            std::nullopt};
}

Outcome RestoreFrom(Session& session, const std::string& path, bool force, Json& out) {
    uint8_t modelCode = 0;
    if (Outcome outcome = session.Model(modelCode); outcome.exit != kExitDone) {
        return outcome;
    }
    // A backup taken for another model goes to this printer only when asked
    // for twice.
    const uint8_t backupModel = ModelOfBackupFile(session, path);
    if (backupModel == TPEeprom::ModelCodeUnknown && !force) {
        return {kExitRefused,
                "the model the backup " + path +
                    " was taken for is not known (a copy, or a backup of an earlier version): "
                    "give --force to restore it to this Orvane " +
                    backup_history::ModelName(modelCode) + " all the same",
                std::nullopt};
    }
    if (Outcome outcome = CheckBackupModel(path, backupModel, modelCode, force);
        outcome.exit != kExitDone) {
        return outcome;
    }
    TPEeprom::BackupRead read;
    if (Outcome outcome = ReadBackup(session, path, read); outcome.exit != kExitDone) {
        return outcome;
    }
    Outcome outcome = RestoreRead(session, read, modelCode, out);
    if (outcome.exit == kExitDone) {
        out["backup_model"] = backup_history::ModelName(backupModel);
    }
    return outcome;
}

Outcome Log(const std::string& path, const std::string& port, const std::string& since,
            const std::vector<std::string>& kinds, bool json, std::ostream& out,
            std::ostream& err) {
    if (!since.empty() && !IsServiceLogSince(since)) {
        return Outcome::Usage("--since " + since + ": give YYYY-MM-DD[THH:MM[:SS]]");
    }
    for (const std::string& kind : kinds) {
        if (!servicelog::IsKind(kind)) {
            return Outcome::Usage("--kind " + kind +
                                  ": give write, identity, reset, restore, pattern or other");
        }
    }
    const auto kept = [&](const ServiceLogRecord& record) {
        return ServiceLogRecordKept(record, port, since) &&
               (kinds.empty() || std::find(kinds.begin(), kinds.end(),
                                           servicelog::KindOf(record.operation)) != kinds.end());
    };
    const auto failed = [](const std::string& reason) {
        return Outcome{kExitFailed, "the service log cannot be read: " + reason, std::nullopt};
    };
    // Read twice: first for what the head tells (the damaged lines, whether
    // any record is listed), then to write the records out as they come.
    ServiceLogReader reader(path);
    std::string reason;
    if (!reader.Open(reason)) {
        return failed(reason);
    }
    ServiceLogRecord record;
    size_t listed = 0;
    while (reader.Next(record)) {
        listed += kept(record) ? 1 : 0;
    }
    const size_t damaged = reader.Damaged();
    if (!reader.Failure().empty()) {
        return failed(reader.Failure());
    }
    if (!reader.Rewind(reason)) {
        return failed(reason);
    }
    if (damaged > 0) {
        err << "orvane-service: " << damaged << " damaged line(s) of the service log skipped\n";
    }
    StreamedResult result(out, json, {{"command", "log"}, {"file", path}, {"damaged", damaged}},
                          "records", listed == 0);
    while (reader.Next(record)) {
        if (kept(record)) {
            result.Add({{"time", record.time},
                        {"port", record.port},
                        {"model", record.model},
                        {"usb_id", record.usbId},
                        {"operation", record.operation},
                        {"target", record.target},
                        {"value", record.value},
                        {"result", record.result}});
        }
    }
    result.End();
    // What was listed stays listed; the failure follows it.
    return reader.Failure().empty() ? Outcome::Done() : failed(reader.Failure());
}

}  // namespace orvane::service
