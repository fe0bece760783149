#include "tools/service/Session.h"

#include <cstdio>

#include "adjust/StoredValues.h"
#include "link/OpenLink.h"
#include "link/ResultCodes.h"
#include "link/ResultMessages.h"

namespace orvane::service {

namespace {

// How often a long wait shows that it goes on: every this many polls.
constexpr int kProgressPolls = 5;

std::string Hex(uint16_t code) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", code);
    return text;
}

std::string Joined(const ResultMessage& message) {
    std::string text = message.error != nullptr ? message.error : "";
    if (message.line != nullptr) {
        // Appended piece by piece: GCC 12 at -O3 warns falsely (restrict) on
        // a literal joined to a temporary string with operator+.
        if (!text.empty()) {
            text += ' ';
        }
        text += message.line;
    }
    return text;
}

std::string FamilyText(uint16_t code, int detail) {
    const char* text = FamilyErrorText(code, detail);
    return text != nullptr ? text : "";
}

}  // namespace

// ---------------------------------------------------------------------------
// ConsoleStatus

void ConsoleStatus::Line(const std::string& text) {
    Flush();
    pending_ = text;
}

void ConsoleStatus::Flush() {
    // The texts a wait repeats at every poll are shown once a wait.
    if (!pending_.empty() && !shownInWait_.contains(pending_)) {
        // In a dry run the pages' texts ("...has written properly.") tell
        // what the command would have done: nothing was sent.
        err_ << (session_.link.IsDryRun() ? "(dry run) " : "") << pending_ << '\n';
        if (waiting_) {
            shownInWait_.insert(pending_);
        }
    }
    pending_.clear();
}

uint16_t ConsoleStatus::ShowStatus(int kind, const std::string& text) {
    switch (kind) {
        case StatusBusy:
        case StatusDone: {
            polls_ = 0;
            waiting_ = true;
            const uint16_t result =
                session_.status.WaitUntilReady(session_.status.Record(), kind == StatusBusy, *this,
                                               session_.raster, session_.Clock());
            Flush();
            waiting_ = false;
            shownInWait_.clear();
            if (result != ResultOk) {
                return result;
            }
            Line(text);
            break;
        }
        case StatusAppend:
            pending_ += text;
            break;
        default:
            Line(text);
            break;
    }
    return ResultOk;
}

void ConsoleStatus::Repaint() {
    // Called once a poll of a wait that goes on.
    if (++polls_ % kProgressPolls != 0) {
        return;
    }
    const char* state = TPStatusControl::WaitingText(session_.status.Record().State());
    const uint64_t seconds =
        static_cast<uint64_t>(polls_) * TPStatusControl::kPollMilliseconds / 1000;
    Line(std::string(state != nullptr ? state : "Waiting for the printer.") + " (" +
         std::to_string(seconds) + " s)");
    Flush();
}

// ---------------------------------------------------------------------------
// Session

Session::Session(const ServiceSeams& seams, const ServiceOptions& options, std::ostream& err)
    : ModuleSet({.loader = seams.loader,
                 .programFolder = seams.programFolder,
                 .clock = seams.clock,
                 .random = seams.random,
                 .messageBox = messages_,
                 .reporter = console_}),
      options_(options),
      clock_(seams.clock),
      random_(seams.random),
      err_(err),
      serviceLog_(seams.serviceLogPath.empty() ? ServiceLogFile::DefaultPath()
                                               : seams.serviceLogPath),
      messages_(err),
      console_(*this, err),
      paperWait_({.port = options.port,
                  .folder = options.folder,
                  .limitSeconds = options.paperWait,
                  .tool = "orvane-service",
                  .err = &err},
                 seams.clock, status) {
    messages_.onPaperOut = [this] { return paperWait_.Wait(); };
    link.AttachServiceLog(&serviceLog_, &seams.clock);
}

Session::~Session() {
    LogFailure();
    if (link.IsLoaded()) {
        link.PortCloseByPway();
    }
}

const std::string& Session::LogFailure() {
    console_.Flush();
    // A log that cannot be written stops nothing; it is told once.
    if (std::string reason; link.TakeServiceLogFailure(reason)) {
        logFailure_ = reason;
        err_ << "orvane-service: the service log cannot be written: " << reason << '\n';
    }
    return logFailure_;
}

Outcome Session::Open(const std::string& port, uint16_t portNumber) {
    port_ = port;
    if (!link.Load()) {
        return Failed(ResultDllMissing);
    }
    link.SetD4CommandRCode(kLinkCommandCodeA, kLinkCommandCodeB);
    LinkOpenFailure failure = LinkOpenFailure::None;
    if (const uint16_t result = OpenPrinterLink(link, portNumber, failure); result != ResultOk) {
        Outcome outcome = Failed(result);
        outcome.message = "cannot open the link to " + port + ": " + outcome.message;
        return outcome;
    }
    // The service log names the printer: the model given, else the one the
    // printer names.
    std::string model;
    if (options_.modelCode) {
        model = *options_.modelCode == TPEeprom::ModelCodeK31 ? "Orvane K31" : "Orvane K32";
    } else if (adjust::ReadModelName(link, model) == ResultOk) {
        printerModel_ = adjust::ModelCodeOfName(model);
        printerModelName_ = model;
    }
    link.SetLogSubject(port, model);
    if (options_.dryRun) {
        link.StartDryRun();
    }
    return Outcome::Done();
}

uint16_t Session::End(const ServiceStep& step, const std::string& append) {
    const uint16_t result = console_.ShowStatus(step.doneKind, step.doneText);
    if (result == ResultOk && !append.empty()) {
        console_.ShowStatus(StatusAppend, append);
    }
    console_.Flush();
    return result;
}

std::string ResultText(Session& session, uint16_t code) {
    switch (code) {
        case ResultPortIoError: {
            int16_t ioError = 0;
            session.link.GetIoErrorCodeByPway(ioError);
            return Joined(LinkResultMessage(code, ioError));
        }
        case ResultChannelError: {
            // Read as the library expects, though every channel failure reads
            // the same.
            uint16_t channelError = 0;
            session.link.GetD4ErrorCode(channelError);
            return Joined(LinkResultMessage(code, 0));
        }
        case ResultPrinterError:
            return Joined(PrinterErrorMessage(session.status.Record().ErrorCode()));
        case ResultHeadIdError:
            return FamilyText(code, session.headId.ErrorIndex());
        case ResultBidValueError:
            return FamilyText(code, session.bid.ErrorItem());
        case ResultUsbIdError:
            return FamilyText(code, session.usbId.ErrorIndex());
        case ResultHeadAngularError:
            return FamilyText(code, session.headAngular.ErrorItem());
        case ResultEepromFileError:
            return FamilyText(code, session.eeprom.ErrorIndex());
        default:
            return Joined(LinkResultMessage(code, 0));
    }
}

Outcome Session::Failed(uint16_t code) {
    console_.Flush();
    if (code == ResultInterrupted) {
        return {kExitInterrupted, "interrupted", code};
    }
    std::string text = ResultText(*this, code);
    if (text.empty()) {
        text = "failed with " + Hex(code);
    }
    // A backup file that cannot be read is refused before anything is
    // written. (The inputs the modules check are checked before the link is
    // opened; see Refused.)
    const bool refused =
        code == ResultEepromFileError && eeprom.ErrorIndex() == TPEeprom::ErrorCannotReadFile;
    if (clock_.WaitsEnd()) {
        // The interrupt ended the wait for paper, which ends the send so.
        return {kExitInterrupted, text, code};
    }
    return {refused ? kExitRefused : kExitFailed, text, code};
}

Outcome Session::Refused(uint16_t code, const std::string& what) {
    Outcome outcome = Failed(code);
    outcome.exit = kExitRefused;
    outcome.message = what + ": " + outcome.message;
    return outcome;
}

Outcome Session::Model(uint8_t& modelCode) {
    if (options_.modelCode) {
        modelCode = *options_.modelCode;
        return Outcome::Done();
    }
    std::string name;
    if (printerModel_) {
        modelCode = *printerModel_;
        name = printerModelName_;
    } else {
        const uint16_t result = adjust::ReadModelName(link, name);
        if (result != ResultOk) {
            return Failed(result);
        }
        modelCode = adjust::ModelCodeOfName(name);
    }
    if (modelCode != TPEeprom::ModelCodeK31 && modelCode != TPEeprom::ModelCodeK32) {
        return {
            kExitFailed,
            "the printer's model name \"" + name + "\" is none of Orvane K31 and K32; give --model",
            std::nullopt};
    }
    return Outcome::Done();
}

}  // namespace orvane::service
