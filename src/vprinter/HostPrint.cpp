// The host's side of printing: the data calls read by each printer's print
// engine, the packets and maintenance sequences they start, sheets, paper out
// and the pictures of the printed pages.
#include <algorithm>

#include "vprinter/Host.h"
#include "vprinter/Misregistration.h"
#include "vprinter/PageFiles.h"

namespace vprinter {

namespace {

constexpr uint16_t kOk = 0x0001;
constexpr uint16_t kChannelError = 0x2000;
constexpr uint16_t kChannelBusy = 51;
constexpr uint16_t kChannelStorage = 3;
constexpr uint8_t kPaperOut = 6;
constexpr uint8_t kWasteHigh = 0x0C;
constexpr uint8_t kWasteLow = 0x0D;

}  // namespace

// What the engine of one printer asks of the printer while it reads a call.
class Host::EngineOwner final : public PrintEngine::Owner {
  public:
    EngineOwner(Host& host, Printer& printer, std::vector<Noticed>& faults)
        : host_(host), printer_(printer), faults_(faults) {}

    void Fault(uint64_t offset, const std::string& note) override {
        faults_.push_back({offset, note});
    }
    void Packet(uint64_t offset, const PacketCommand& command) override {
        if (!host_.ApplyPacket(printer_, command, offset, faults_)) {
            writeLost_ = true;
        }
    }
    void RemoteSetting(uint64_t /*offset*/, const uint8_t* table) override {
        printer_.tiltCheck = IsHeadAngularCheck(table);
        host_.UpdateMisregistration(printer_);
    }
    void SheetTaken(Page& sheet) override {
        // The page's picture keeps the values it was printed with.
        sheet.stored = ValuesInForce(printer_.eeprom, printer_.kept, printer_.tiltCheck);
        host_.ChangeConfig(
            printer_, [](PrinterConfig& config) { config.paper = std::max(config.paper - 1, 0); });
    }
    void PagePrinted(Page& page) override {
        // The head angular check ends with its page.
        if (printer_.tiltCheck) {
            printer_.tiltCheck = false;
            host_.UpdateMisregistration(printer_);
        }
        if (!host_.PagePrinted(printer_, page, faults_)) {
            pageLost_ = true;
        }
    }
    // A page came out whose picture could not be saved.
    bool PageLost() const { return pageLost_; }
    // A packet's write to the EEPROM could not be made.
    bool WriteLost() const { return writeLost_; }

  private:
    bool pageLost_ = false;
    bool writeLost_ = false;
    Host& host_;
    Printer& printer_;
    std::vector<Noticed>& faults_;
};

PrintEngine& Host::EngineOf(Printer& printer) {
    if (!printer.engine) {
        printer.engine = std::make_unique<PrintEngine>();
        printer.capture =
            std::make_unique<CaptureFile>(StreamFile(printer.port), CaptureFile::kDefaultLimit,
                                          store_.PrinterFolder(printer.port) + "/.lock");
        printer.capture->Started(commandCodeA_, commandCodeB_);
    }
    printer.engine->SetCommandCode(commandCodeA_, commandCodeB_);
    return *printer.engine;
}

std::string Host::StreamFile(const std::string& port) const {
    return store_.PrinterFolder(port) + "/received.stream";
}

uint16_t Host::Print(Printer& printer, const uint8_t* data, size_t length,
                     std::vector<Noticed>& faults) {
    PrintEngine& engine = EngineOf(printer);
    const bool atRest = engine.AtRest();
    uint16_t result = kOk;
    if (RefusesData(printer)) {
        result = kChannelError;
    } else if (engine.SheetsNeeded(data, length) > printer.config.paper) {
        // The tray is empty: paper out, and none of the call's bytes are
        // used, so that the same call sent again after loading goes on
        // exactly where this one would have.
        ChangeConfig(printer, [](PrinterConfig& config) {
            config.state = 0;
            config.error = kPaperOut;
        });
        result = kChannelError;
    }
    printer.capture->Call(data, length, result, atRest, commandCodeA_, commandCodeB_);
    if (result != kOk) {
        channelError_ = kChannelBusy;
        return result;
    }
    if (!printer.mechanismProblem.empty() && !printer.mechanismProblemTold) {
        printer.mechanismProblemTold = true;
        faults.push_back({engine.Offset(), "the printer prints as if it had no mechanism errors: " +
                                               printer.mechanismProblem});
    }
    UpdateMisregistration(printer);
    EngineOwner owner(*this, printer, faults);
    engine.Feed(data, length, owner);
    if (owner.PageLost() || owner.WriteLost()) {
        // The printer took the bytes, but the page it printed is lost, or a
        // value a packet set did not reach its EEPROM: the call fails, as a
        // printer reports a jam or a storage error, and is not sent again.
        channelError_ = kChannelStorage;
        return kChannelError;
    }
    return kOk;
}

void Host::Restart(Printer& printer, std::vector<Noticed>& faults) {
    printer.kept.clear();
    printer.tiltCheck = false;
    if (!printer.engine) {
        return;
    }
    EngineOwner owner(*this, printer, faults);
    printer.engine->Restart(owner);
    printer.capture->Started(commandCodeA_, commandCodeB_);
}

void Host::UpdateMisregistration(Printer& printer) {
    if (printer.engine) {
        printer.engine->SetMisregistration(
            MisregistrationOf(printer.mechanism, printer.eeprom, printer.kept, printer.tiltCheck));
    }
}

bool Host::ApplyPacket(Printer& printer, const PacketCommand& command, uint64_t offset,
                       std::vector<Noticed>& faults) {
    const bool written = ApplyPacketValues(printer, command, offset, faults);
    // The passes that follow print with the values now in force.
    UpdateMisregistration(printer);
    return written;
}

bool Host::ApplyPacketValues(Printer& printer, const PacketCommand& command, uint64_t offset,
                             std::vector<Noticed>& faults) {
    switch (command.kind) {
        case PacketCommand::Kind::Bid: {
            std::string reason;
            if (!WriteBytes(printer, {{command.Address(), static_cast<uint8_t>(command.value)}},
                            true, reason)) {
                faults.push_back(
                    {offset, "the Bi-D value could not be written to the EEPROM: " + reason});
                return false;
            }
            return true;
        }
        case PacketCommand::Kind::PaperFeed:
        case PacketCommand::Kind::HeadAngular:
        case PacketCommand::Kind::FirstDot:
        case PacketCommand::Kind::TopMargin:
            printer.kept[command.Address()] = static_cast<uint8_t>(command.value);
            return true;
        case PacketCommand::Kind::Store: {
            std::string reason;
            if (!printer.kept.empty() && !WriteBytes(printer, printer.kept, true, reason)) {
                faults.push_back(
                    {offset, "the stored values could not be written to the EEPROM: " + reason});
                return false;
            }
            printer.kept.clear();
            return true;
        }
        case PacketCommand::Kind::Maintenance:
            return StartMaintenance(printer, command.sequence, offset, faults);
    }
    return true;
}

bool Host::StartMaintenance(Printer& printer, uint8_t sequence, uint64_t offset,
                            std::vector<Noticed>& faults) {
    if (ActivityRunning(printer) && printer.activity == Activity::Maintenance) {
        faults.push_back({offset, "a maintenance sequence runs already; this one is not started"});
        return true;
    }
    const bool cleaning = sequence == 2;
    printer.activity = Activity::Maintenance;
    printer.sequence = sequence;
    printer.activityUntil =
        clock_.NowMilliseconds() + (cleaning ? kCleaningMilliseconds : kInkChargeMilliseconds);
    ChangeConfig(printer, [cleaning](PrinterConfig& config) {
        for (size_t colour = 0; colour < config.ink.size(); ++colour) {
            int16_t& amount = config.ink[colour];
            if (amount >= 0 && amount <= 100) {  // marker values stay as they are
                const int used = cleaning ? kCleaningInk[colour] : kInkChargeInk[colour];
                amount = static_cast<int16_t>(std::max(amount - used, 0));
            }
        }
    });
    // The counter is raised from what the file holds now.
    const FileLock lock = store_.LockPrinter(printer.port);
    LoadEeprom(printer);
    const unsigned present =
        static_cast<unsigned>(printer.eeprom[kWasteHigh]) << 8 | printer.eeprom[kWasteLow];
    const unsigned raised =
        std::min(present + (cleaning ? kCleaningWasteInk : kInkChargeWasteInk), 0xFFFFu);
    std::string reason;
    if (!WriteBytes(printer,
                    {{kWasteHigh, static_cast<uint8_t>(raised >> 8)},
                     {kWasteLow, static_cast<uint8_t>(raised & 0xFF)}},
                    true, reason)) {
        faults.push_back({offset, "the waste ink pad counter could not be written: " + reason});
        return false;
    }
    return true;
}

bool Host::PagePrinted(Printer& printer, Page& page, std::vector<Noticed>& faults) {
    std::string error;
    const bool saved = SavePage(store_.PagesFolder(printer.port), page, error);
    if (!saved) {
        faults.push_back({printer.engine ? printer.engine->Offset() : 0,
                          "the page's picture is lost: " + error});
    }
    // The page takes its time to come out; data waits meanwhile.
    const uint64_t now = clock_.NowMilliseconds();
    if (printer.activity == Activity::None || !ActivityRunning(printer)) {
        printer.activity = Activity::Printing;
        printer.activityUntil = now + kPagePrintMilliseconds;
    } else if (printer.activity == Activity::Printing) {
        printer.activityUntil += kPagePrintMilliseconds;
    }
    return saved;
}

const std::deque<Page>* Host::PrintedPages(const std::string& port) const {
    const auto it = printers_.find(port);
    return it != printers_.end() && it->second.engine ? &it->second.engine->Printed() : nullptr;
}

const Page* Host::SheetInPrinter(const std::string& port) const {
    const auto it = printers_.find(port);
    return it != printers_.end() && it->second.engine ? it->second.engine->Sheet() : nullptr;
}

}  // namespace vprinter
