// The host's bookkeeping of the printers: their files, the faults of the
// libraries, activities and the state that the status inquiry reports.
#include <algorithm>
#include <cstdio>

#include "vprinter/Host.h"

namespace vprinter {

namespace {

constexpr uint16_t kChannelError = 0x2000;

// Channel error codes of GetD4ErrorCode.
constexpr uint16_t kChannelNoResponse = 1;
constexpr uint16_t kChannelNotOpen = 2;

// I/O error codes of GetIoErrorCodeByPway.
constexpr int16_t kIoNoSuchPort = -1;

}  // namespace

void Host::Forget() {
    printers_.clear();
    libraryLoaded_ = false;
    openPort_.clear();
    negotiated_ = false;
    ioError_ = 0;
    channelError_ = 0;
    commandCodeA_ = 0;
    commandCodeB_ = 0;
}

void Host::Invalidate() {
    forceReload_ = true;
}

const LibraryConfig& Host::Library() {
    const FileStamp stamp = store_.LibraryStamp();
    if (!libraryLoaded_ || forceReload_ || !(stamp == libraryStamp_)) {
        library_ = store_.LoadLibraryConfig(&libraryStamp_);
        libraryLoaded_ = true;
    }
    return library_;
}

bool Host::ExportAvailable(const char* name) {
    return Library().missingExports.count(name) == 0;
}

std::optional<uint16_t> Host::TakeCallFault(const std::string& function, bool channel) {
    if (Library().callFaults.count(function) == 0) {
        return std::nullopt;
    }
    // Counting down is a change of library.conf: read it again under its lock.
    const FileLock lock = store_.LockFolder();
    library_ = store_.LoadLibraryConfig(&libraryStamp_);
    const auto it = library_.callFaults.find(function);
    if (it == library_.callFaults.end()) {
        return std::nullopt;
    }
    CallFault& fault = it->second;
    if (--fault.remaining > 0) {
        store_.SaveLibraryConfig(library_, &libraryStamp_);
        return std::nullopt;
    }
    const CallFault fired = fault;
    library_.callFaults.erase(it);
    store_.SaveLibraryConfig(library_, &libraryStamp_);
    if (channel) {
        channelError_ = static_cast<uint16_t>(fired.detail.value_or(kChannelNoResponse));
    } else {
        ioError_ = static_cast<int16_t>(fired.detail.value_or(kIoNoSuchPort));
    }
    return fired.code;
}

Host::Printer* Host::FindPrinter(const std::string& port) {
    if (port.empty() || !store_.Exists(port)) {
        printers_.erase(port);
        return nullptr;
    }
    Printer& printer = printers_[port];
    printer.port = port;
    const FileStamp configStamp = store_.ConfigStamp(port);
    if (forceReload_ || !(configStamp == printer.configStamp)) {
        std::string problem;
        store_.LoadConfig(port, printer.config, &printer.configStamp, &problem);
        // A printer.conf that is there but cannot be read (no regular file,
        // too large) leaves no printer to answer, rather than one with the
        // defaults: the model, power and faults it holds are unknown.
        if (!problem.empty()) {
            printers_.erase(port);
            return nullptr;
        }
    }
    const FileStamp eepromStamp = store_.EepromStamp(port);
    if (forceReload_ || !(eepromStamp == printer.eepromStamp) || printer.eepromStamp.size < 0) {
        LoadEeprom(printer);
    }
    const FileStamp mechanismStamp = store_.MechanismStamp(port);
    if (forceReload_ || !(mechanismStamp == printer.mechanismStamp)) {
        LoadMechanism(printer);
    }
    return &printer;
}

void Host::LoadMechanism(Printer& printer) {
    std::string problem;
    if (store_.LoadMechanism(printer.port, printer.mechanism, &problem, &printer.mechanismStamp)) {
        printer.mechanismProblem.clear();
    } else {
        printer.mechanism = Mechanism{};
        if (problem != printer.mechanismProblem) {
            printer.mechanismProblem = problem;
            printer.mechanismProblemTold = false;
        }
    }
}

void Host::LoadEeprom(Printer& printer) {
    if (store_.LoadEeprom(printer.port, printer.eeprom, &printer.eepromStamp,
                          &printer.eepromProblem)) {
        printer.eepromProblem.clear();
    }
}

Host::Printer* Host::Open() {
    if (forceReload_) {
        Library();
    }
    Printer* printer = FindPrinter(openPort_);
    forceReload_ = false;
    return printer;
}

void Host::ChangeConfig(Printer& printer, const std::function<void(PrinterConfig&)>& change) {
    const FileLock lock = store_.LockPrinter(printer.port);
    std::string problem;
    store_.LoadConfig(printer.port, printer.config, &printer.configStamp, &problem);
    if (!problem.empty()) {
        return;  // never written over a file that could not be read
    }
    change(printer.config);
    store_.SaveConfig(printer.port, printer.config, &printer.configStamp);
}

bool Host::WriteBytes(Printer& printer, const std::map<uint8_t, uint8_t>& bytes,
                      bool applyWriteFaults, std::string& reason) {
    const FileLock lock = store_.LockPrinter(printer.port);
    LoadEeprom(printer);
    if (!printer.eepromProblem.empty()) {
        reason = printer.eepromProblem;
        return false;
    }
    Eeprom changed = printer.eeprom;
    for (const auto& [address, value] : bytes) {
        if (applyWriteFaults && printer.config.writeFaults.count(address) != 0) {
            char text[48];
            std::snprintf(text, sizeof text, "the write of address 0x%02X fails", address);
            reason = text;
            return false;
        }
        changed[address] = value;
    }
    if (!store_.SaveEeprom(printer.port, changed, &printer.eepromStamp)) {
        reason = "cannot write " + store_.PrinterFolder(printer.port) + "/eeprom.bin";
        return false;
    }
    printer.eeprom = changed;
    return true;
}

bool Host::ActivityRunning(Printer& printer) {
    if (printer.activity != Activity::None && clock_.NowMilliseconds() >= printer.activityUntil) {
        ActivityEnded(printer);
        printer.activity = Activity::None;
    }
    return printer.activity != Activity::None;
}

void Host::ActivityEnded(Printer& printer) {
    // An ink charge makes a printer that waited for its first charge ready.
    if (printer.activity == Activity::Maintenance && printer.sequence == 7 &&
        printer.config.state == 8) {
        ChangeConfig(printer, [](PrinterConfig& config) {
            if (config.state == 8) {
                config.state = 4;
            }
        });
    }
}

void Host::EffectiveState(Printer& printer, bool consumePoll, uint8_t& state, uint8_t& error) {
    error = 0;
    if (ActivityRunning(printer)) {
        switch (printer.activity) {
            case Activity::Printing:
                state = 3;
                break;
            case Activity::Maintenance:
                state = 7;
                break;
            default:
                state = 2;
                break;  // restarting
        }
        return;
    }
    if (printer.config.busyPolls > 0) {
        if (consumePoll) {
            ChangeConfig(printer, [](PrinterConfig& config) {
                config.busyPolls = std::max(config.busyPolls - 1, 0);
            });
        }
        state = 2;
        return;
    }
    if (printer.config.busySends > 0) {
        state = 2;
        return;
    }
    state = printer.config.state;
    error = printer.config.error;
}

bool Host::RefusesData(Printer& printer) {
    if (printer.config.busySends > 0) {
        ChangeConfig(printer, [](PrinterConfig& config) {
            config.busySends = std::max(config.busySends - 1, 0);
        });
        return true;
    }
    if (ActivityRunning(printer) && printer.activity == Activity::Printing) {
        return true;
    }
    // A printer in its error state takes no data; the program then asks for
    // the status and finds the error.
    return !ActivityRunning(printer) && printer.config.busyPolls == 0 && printer.config.state == 0;
}

std::optional<uint16_t> Host::ChannelUnavailable(Printer*& printer) {
    printer = Open();
    if (printer == nullptr) {
        channelError_ = kChannelNotOpen;
        return kChannelError;
    }
    if (!printer->config.powered) {
        channelError_ = kChannelNoResponse;
        return kChannelError;
    }
    if (!negotiated_) {
        channelError_ = kChannelNotOpen;
        return kChannelError;
    }
    return std::nullopt;
}

}  // namespace vprinter
