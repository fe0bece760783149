#pragma once

#include <array>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/service/Session.h"

namespace orvane::service {

using Json = nlohmann::ordered_json;

// The stored adjustment values by name, in the order `adjust` lists them.
enum class ValueGroup { Bid, HeadAngular, PfBlack, PfColour, TopMargin, FirstDot, HeatProtect };
struct NamedValue {
    const char* name;
    ValueGroup group;
    int bidItem;  // index into TPBid::kItems, for the Bi-D values
};
const std::vector<NamedValue>& NamedValues();
const NamedValue* FindNamedValue(const std::string& name);

// `identity set`: what is to be written.
struct IdentityChanges {
    bool market = false;
    std::optional<std::string> headId;
    std::optional<std::string> usbId;
};

// `adjust set`: one NAME=VALUE (cr-heat-protect takes no value).
struct Assignment {
    const NamedValue* value;
    std::string text;
};

// The printable items of the pages, by name.
enum class PrintItem {
    HeadAngular,
    PfBlack,
    PfColour,
    TopMargin,
    FirstDot,
    Bid,
    NormalSheet,
    PhotoSheet,
    NozzleCheck
};
struct PrintName {
    const char* name;
    PrintItem item;
    const char* summary;
};
const std::vector<PrintName>& PrintNames();

// Reads.
Outcome Status(Session& session, Json& out);
Outcome Identity(Session& session, Json& out);
Outcome Adjust(Session& session, const std::vector<const NamedValue*>& names, Json& out);
Outcome Waste(Session& session, Json& out);

// The checks of the writes, before the link is opened: exit 3 and nothing
// sent when one refuses its input.
Outcome CheckIdentity(Session& session, const IdentityChanges& changes);
Outcome CheckAssignments(Session& session, const std::vector<Assignment>& assignments);

// Writes.
Outcome IdentitySet(Session& session, const IdentityChanges& changes, Json& out);
Outcome AdjustSet(Session& session, const std::vector<Assignment>& assignments, Json& out);
Outcome WasteReset(Session& session, Json& out);
Outcome Clean(Session& session, Json& out);
Outcome InkCharge(Session& session, Json& out);
Outcome Print(Session& session, PrintItem item, const TPBid::Flags& bidItems, Json& out);
Outcome Backup(Session& session, Json& out);
Outcome Restore(Session& session, bool force, Json& out);
// A restore's two steps: the backup file at path read (under the backups'
// lock: refused with exit 3 when it is no backup), then written to the
// printer as the data copy page's restore does, with modelCode's market
// setting. The backup file leaves its place only when the restore is done,
// the printer ready again.
Outcome ReadBackup(Session& session, const std::string& path, TPEeprom::BackupRead& read);
Outcome RestoreRead(Session& session, const TPEeprom::BackupRead& read, uint8_t modelCode,
                    Json& out);

// The backup history: the backups kept (no printer needed), a restore of
// one of them (--from), and the service log.
Outcome BackupList(Session& session, Json& out);
Outcome CheckRestoreFrom(Session& session, const std::string& path);
Outcome RestoreFrom(Session& session, const std::string& path, bool force, Json& out);
// A restore of the backup at path, taken for backupModel, to a printer of
// modelCode: refused (exit 3) for the other model until --force is given; a
// backup of unknown model passes here.
Outcome CheckBackupModel(const std::string& path, uint8_t backupModel, uint8_t modelCode,
                         bool force);
// The service log, written to out (as JSON with json) while it is read, so
// that memory does not grow with the log; its damaged lines are skipped and
// counted on err. Nothing is written to out when it fails before the listing.
// kinds: the kinds of record listed (servicelog::kKinds), none for all.
Outcome Log(const std::string& path, const std::string& port, const std::string& since,
            const std::vector<std::string>& kinds, bool json, std::ostream& out,
            std::ostream& err);
// Refuses a dump's file before the printer is asked: an empty name, a
// folder, a FIFO or a device, an existing file without force, a missing
// folder.
Outcome CheckDumpFile(const std::string& path, bool force);
Outcome Dump(Session& session, const std::string& path, Json& out);

}  // namespace orvane::service
