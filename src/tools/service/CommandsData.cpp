// The commands of the check patterns and the EEPROM data: print, backup,
// restore, dump.
#include <filesystem>
#include <system_error>

#include "adjust/StoredValues.h"
#include "eeprom/BackupHistory.h"
#include "eeprom/EepromImage.h"
#include "link/ResultCodes.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "tools/service/Commands.h"
#include "tools/service/Written.h"

namespace orvane::service {

namespace {

// In a dry run, the file a command would write, in place of writing it.
void WouldWrite(Session& session, const std::string& path, size_t bytes) {
    session.Console().ShowStatus(StatusAddLine,
                                 "Would write " + path + " (" + std::to_string(bytes) + " bytes).");
}

}  // namespace

const std::vector<PrintName>& PrintNames() {
    static const std::vector<PrintName> names = {
        {"head-angular", PrintItem::HeadAngular,
         "head angular page (remote setting 0, the pattern, eject)"},
        {"pf-black", PrintItem::PfBlack,
         "PF page, black: steps at test values -5 to 5 (eject), the stored value sent again"},
        {"pf-color", PrintItem::PfColour,
         "PF page, colour: steps at test values -5 to 5 (eject), the stored value sent again"},
        {"top-margin", PrintItem::TopMargin,
         "top margin line (remote setting 6, the pattern with its caption, eject)"},
        {"first-dot", PrintItem::FirstDot, "first dot position (ejects its page)"},
        {"bid", PrintItem::Bid, "Bi-D check page of the chosen values (--items; default all)"},
        {"normal-sheet", PrintItem::NormalSheet, "the A3+ check pattern (normal-paper sheet)"},
        {"photo-sheet", PrintItem::PhotoSheet, "the A4 check pattern (photo-paper sheet)"},
        {"nozzle-check", PrintItem::NozzleCheck, "the printer's nozzle check (eject)"},
    };
    return names;
}

Outcome Print(Session& session, PrintItem item, const TPBid::Flags& bidItems, Json& out) {
    const ServiceStep* step = nullptr;
    uint16_t (*print)(Session&, const TPBid::Flags&) = nullptr;
    switch (item) {
        case PrintItem::HeadAngular:
            step = &steps::HeadAngularPrint;
            print = [](Session& s, const TPBid::Flags&) {
                return adjust::PrintHeadAngularPage(s.remote, s.pattern, s.raster);
            };
            break;
        case PrintItem::PfBlack:
            step = &steps::PfPrint;
            print = [](Session& s, const TPBid::Flags&) {
                return adjust::PrintPfPage(s.pattern, s.raster, adjust::PfColour::Black);
            };
            break;
        case PrintItem::PfColour:
            step = &steps::PfPrint;
            print = [](Session& s, const TPBid::Flags&) {
                return adjust::PrintPfPage(s.pattern, s.raster, adjust::PfColour::Colour);
            };
            break;
        case PrintItem::TopMargin:
            step = &steps::TopMarginPrint;
            print = [](Session& s, const TPBid::Flags&) {
                return adjust::PrintTopMarginPage(s.remote, s.pattern, s.raster);
            };
            break;
        case PrintItem::FirstDot:
            step = &steps::FirstDotPrint;
            print = [](Session& s, const TPBid::Flags&) {
                return s.pattern.PrintFirstDotPattern();
            };
            break;
        case PrintItem::Bid:
            step = &steps::BidPrint;
            print = [](Session& s, const TPBid::Flags& flags) {
                return s.bid.PrintBidPattern(flags);
            };
            break;
        case PrintItem::NormalSheet:
            step = &steps::A3CheckPrint;
            print = [](Session& s, const TPBid::Flags&) {
                return s.checkPattern.PrintNormalPaperSheet();
            };
            break;
        case PrintItem::PhotoSheet:
            step = &steps::A4CheckPrint;
            print = [](Session& s, const TPBid::Flags&) {
                return s.checkPattern.PrintPhotoPaperSheet();
            };
            break;
        case PrintItem::NozzleCheck:
            step = &steps::NozzleCheckPrint;
            print = [](Session& s, const TPBid::Flags&) {
                return adjust::PrintNozzleCheckPage(s.remote, s.raster);
            };
            break;
    }
    uint16_t result = session.Start(*step);
    if (result == ResultOk) {
        result = print(session, bidItems);
    }
    if (result == ResultOk) {
        result = session.End(*step);
    }
    if (result != ResultOk) {
        Outcome outcome = session.Failed(result);
        if (!session.PaperGaveUp().empty()) {
            outcome.message += " (" + session.PaperGaveUp() + ")";
        }
        return outcome;
    }
    out["printed"] = true;
    return Outcome::Done();
}

Outcome Backup(Session& session, Json& out) {
    // The backup records the model it was taken for, as the page does.
    uint8_t modelCode = 0;
    if (Outcome outcome = session.Model(modelCode); outcome.exit != kExitDone) {
        return outcome;
    }
    // A dry run reads as the backup does and tells what it would write.
    const bool dryRun = session.link.IsDryRun();
    std::string kept;
    uint16_t result = session.Start(steps::Backup);
    if (result == ResultOk) {
        result = dryRun ? session.eeprom.PlanBackup(modelCode, kept)
                        : session.eeprom.BackupEeprom(modelCode, &kept);
    }
    if (result == ResultOk) {
        result = session.End(steps::Backup);
    }
    if (result != ResultOk) {
        return session.Failed(result);
    }
    const std::string file = session.eeprom.BackupFilePath();
    if (dryRun) {
        WouldWrite(session, file, TPEeprom::kBackupFileSize);
        if (!kept.empty()) {
            session.Console().ShowStatus(StatusAddLine,
                                         "The backup there now would be kept as " + kept + ".");
        }
    } else {
        session.Console().ShowStatus(StatusAddLine, "Replace the main board with new one.");
    }
    session.Console().Flush();
    out["file"] = file;
    out["bytes"] = TPEeprom::kBackupFileSize;
    out["kept_as"] = kept.empty() ? Json(nullptr) : Json(kept);
    return Outcome::Done();
}

Outcome ReadBackup(Session& session, const std::string& path, TPEeprom::BackupRead& read) {
    const uint16_t result = session.eeprom.ReadBackupFile(path, read);
    return result == ResultOk ? Outcome::Done() : session.Failed(result);
}

Outcome RestoreRead(Session& session, const TPEeprom::BackupRead& read, uint8_t modelCode,
                    Json& out) {
    const char* model = modelCode == TPEeprom::ModelCodeK31 ? "K31" : "K32";
    Written written(session, out, false);
    written.Begin({"restore", "restore bytes", TPEeprom::kRestoreWrites});
    uint16_t result = session.Start(steps::Restore);
    if (result == ResultOk) {
        result = session.eeprom.WriteBackup(read, modelCode);
    }
    if (result == ResultOk) {
        written.Whole({{"file", read.path}, {"model", model}});
        result = session.End(steps::Restore);
    }
    if (result != ResultOk) {
        // The backup file stays where it is, for the restore to be repeated.
        return written.End(session.Failed(result));
    }
    session.eeprom.RetireBackup(read);
    session.Console().ShowStatus(
        StatusAddLine, "Perform the A3+ check pattern print and the A4 check pattern print.");
    session.Console().Flush();
    out["file"] = read.path;
    out["model"] = model;
    return written.End(Outcome::Done());
}

Outcome Restore(Session& session, bool force, Json& out) {
    uint8_t modelCode = 0;
    if (Outcome outcome = session.Model(modelCode); outcome.exit != kExitDone) {
        return outcome;
    }
    // The page restores whatever its file holds. Here a backup recorded for
    // the other model (pressed on the wrong printer, say) goes to this one
    // only when asked for twice, as with --from; a backup of unknown model
    // (from an earlier version) is restored as the page restores it. The
    // model is the one recorded with the bytes read.
    TPEeprom::BackupRead read;
    if (Outcome outcome = ReadBackup(session, session.eeprom.BackupFilePath(), read);
        outcome.exit != kExitDone) {
        return outcome;
    }
    if (Outcome outcome = CheckBackupModel(read.path, read.model, modelCode, force);
        outcome.exit != kExitDone) {
        return outcome;
    }
    return RestoreRead(session, read, modelCode, out);
}

// A dump's file: a new file in a folder that exists, or with --force an
// existing regular file, which is replaced whole. A FIFO or a device is never
// replaced.
Outcome CheckDumpFile(const std::string& path, bool force) {
    if (path.empty()) {
        return Outcome::Usage("the dump file's name is empty");
    }
    switch (KindOf(path)) {
        case FileKind::Folder:
            return Outcome::Usage(path + " is a folder");
        case FileKind::Special:
            return Outcome::Usage(path + " is not a regular file");
        case FileKind::Regular:
            if (!force) {
                return Outcome::Usage(path + " exists: give --force to replace it");
            }
            break;
        case FileKind::Missing:
            break;
    }
    const std::filesystem::path folder = orvane::PathOf(path).parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        return Outcome::Usage("no folder " + folder.string());
    }
    return Outcome::Done();
}

Outcome Dump(Session& session, const std::string& path, Json& out) {
    uint16_t result = session.Start(steps::Dump);
    if (result != ResultOk) {
        return session.Failed(result);
    }
    eeprom::Bytes bytes{};
    for (int address = 0; address < eeprom::kSize; ++address) {
        result = session.link.D4ReadEeprom(static_cast<uint8_t>(address), bytes[address]);
        if (result != ResultOk) {
            return session.Failed(result);
        }
        // The progress at every tenth of the addresses read, the last at 100%.
        const int tenths = (address + 1) * 10 / eeprom::kSize;
        if (tenths > address * 10 / eeprom::kSize) {
            session.Console().ShowStatus(StatusAddLine, std::to_string(tenths * 10) + "%");
        }
    }
    if (session.link.IsDryRun()) {
        WouldWrite(session, path, eeprom::kImageSize);
    } else {
        session.Clock().Sleep(eeprom::kDumpSaveDelayMilliseconds);
        session.Console().ShowStatus(StatusBusyNoWait, "Saving now...");
        session.Random().Seed(eeprom::DumpSeedOf(session.Clock().Now()));
        const eeprom::Image image = eeprom::BuildImage(bytes, session.Random());
        // The dump lands whole or not at all.
        if (ReplaceFile(path, image) != FileWrite::Done) {
            return {kExitFailed, "Cannot access to file. (" + path + ")", std::nullopt};
        }
    }
    session.End(steps::Dump);
    out["file"] = path;
    out["bytes"] = eeprom::kImageSize;
    return Outcome::Done();
}

}  // namespace orvane::service
