#include "vprinter/Store.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/PortFolder.h"
#include "platform/PortList.h"
#include "platform/PortTable.h"

namespace vprinter {

namespace fs = std::filesystem;

namespace {

const char* const kConfigFile = "printer.conf";
const char* const kEepromFile = "eeprom.bin";
const char* const kLibraryFile = "library.conf";
const char* const kMechanismFile = "mechanism.conf";

// The state files are a few lines of text; a file far larger is no state
// file of ours, and is not read.
constexpr size_t kStateFileLimit = size_t{1} << 20;

bool ReadStateFile(const std::string& path, std::string& text) {
    return orvane::ReadWholeFile(path, kStateFileLimit, text) == orvane::FileRead::Done;
}

bool WriteStateFile(const std::string& path, const std::string& text) {
    return orvane::ReplaceFile(path, text) == orvane::FileWrite::Done;
}

}  // namespace

FileStamp StampOf(const std::string& path) {
    orvane::FileIdentity identity;
    if (!orvane::FileIdentityOf(path, identity)) {
        return {};
    }
    FileStamp stamp;
    stamp.device = identity.device;
    stamp.inode = identity.inode;
    stamp.size = identity.size;
    stamp.modified = identity.modifiedNanoseconds;
    return stamp;
}

Store::Store(std::string folder) : folder_(std::move(folder)) {}

std::string Store::DefaultFolder() {
    return orvane::VirtualPrinterStateFolder();
}

bool Store::EnsureCreated() {
    std::error_code error;
    if (fs::exists(orvane::PathOf(folder_), error)) {
        return true;
    }
    // Another process may be making its first use at the same time, and a
    // third may look in meanwhile: the folder is made whole in a new folder
    // beside it and renamed into its place, so that nobody sees it half made.
    // The rename takes the place of nothing but an empty folder; when another
    // process was first, its folder stays and this one goes.
    fs::path target = orvane::PathOf(folder_);
    if (!target.has_filename()) {
        target = target.parent_path();  // a name that ends in '/'
    }
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), error);
    }
    // A name of this process's own, new (a folder left by a crash of an
    // earlier process is not taken).
    std::string building;
    std::random_device random;
    for (int attempt = 0; building.empty() && attempt < 8; ++attempt) {
        const std::string name = orvane::Utf8Of(target) + ".new-" + std::to_string(random()) + "-" +
                                 std::to_string(random());
        if (fs::create_directory(orvane::PathOf(name), error)) {
            building = name;
        } else if (error) {
            return false;
        }
    }
    if (building.empty()) {
        return false;
    }
    Store fresh(building);
    std::string reason;
    bool made = true;
    for (const auto& [port, model] :
         {std::pair{"VTUSB001", "Orvane K31"}, std::pair{"VTUSB002", "Orvane K32"}}) {
        made = made && fresh.CreatePrinter(port, model, reason);
    }
    if (made) {
        fs::rename(orvane::PathOf(building), target, error);
        if (!error) {
            return true;
        }
    }
    fs::remove_all(orvane::PathOf(building), error);
    return made && fs::is_directory(orvane::PathOf(folder_), error);
}

std::vector<std::string> Store::Ports() const {
    std::vector<std::string> ports;
    std::error_code error;
    for (fs::directory_iterator it(orvane::PathOf(folder_), error), end; !error && it != end;
         it.increment(error)) {
        std::error_code entryError;
        if (it->is_directory(entryError) && fs::exists(it->path() / kConfigFile, entryError)) {
            if (auto port = orvane::PortOfFolderName(orvane::Utf8Of(it->path().filename()))) {
                ports.push_back(std::move(*port));
            }
        }
    }
    std::sort(ports.begin(), ports.end());
    return ports;
}

bool Store::Exists(const std::string& port) const {
    std::error_code error;
    return IsValidPortName(port) &&
           fs::exists(orvane::PathOf(PrinterFolder(port) + "/" + kConfigFile), error);
}

bool Store::CreatePrinter(const std::string& port, const std::string& model, std::string& reason) {
    if (!IsValidPortName(port)) {
        reason =
            "a port name is 1 to 32 letters, digits or ':' '_' '-' and does not start with '-'";
        return false;
    }
    // The boot window lists only the names that begin with USB, VTUSB or
    // LPT: a printer of another name could not be chosen.
    const uint16_t number = PortNumber(port);
    if (number == 0 || orvane::PrinterPorts({port}).empty()) {
        reason = "port " + port +
                 " gives no port number: a port name begins with USB, VTUSB or LPT, a decimal "
                 "number follows its first USB (else LPT), and the port number (USB + 1024, "
                 "LPT + 1151) is at most 65535";
        return false;
    }
    reason = ModelNameProblem(model);
    if (!reason.empty()) {
        return false;
    }
    const FileLock lock = LockFolder();
    if (Exists(port)) {
        reason = "a printer on port " + port + " exists already";
        return false;
    }
    // A folder that lost its printer.conf still holds the printer's EEPROM:
    // a new board must not be written over it.
    std::error_code present;
    if (fs::exists(orvane::PathOf(PrinterFolder(port) + "/eeprom.bin"), present)) {
        reason = PrinterFolder(port) + " holds an eeprom.bin without a printer.conf: move the " +
                 "folder away, or write a printer.conf back";
        return false;
    }
    for (const auto& other : Ports()) {
        if (PortNumber(other) == number) {
            reason = "port " + other + " already answers to port number " + std::to_string(number);
            return false;
        }
    }
    std::error_code error;
    fs::create_directories(orvane::PathOf(PrinterFolder(port)), error);
    if (error) {
        reason = "cannot create " + PrinterFolder(port) + ": " + error.message();
        return false;
    }
    PrinterConfig config;
    config.model = model;
    if (!SaveEeprom(port, FreshBoard()) || !SaveConfig(port, config)) {
        reason = "cannot write the printer's files in " + PrinterFolder(port);
        return false;
    }
    return true;
}

bool Store::RemovePrinter(const std::string& port) {
    const FileLock folderLock = LockFolder();
    if (!Exists(port)) {
        return false;
    }
    // Windows removes no file that is open, and the printer's lock file is in
    // its folder: the printer is taken away under its lock (its printer.conf
    // goes first, and with it the printer for everyone who looks under the
    // lock), then the lock is let go and the folder removed. The state
    // folder's lock is held throughout, so no printer of this port comes back
    // meanwhile.
    std::optional<FileLock> printerLock(LockPrinter(port));
    if (!orvane::RemoveFile(PrinterFolder(port) + "/" + kConfigFile)) {
        return false;
    }
    printerLock.reset();
    std::error_code error;
    fs::remove_all(orvane::PathOf(PrinterFolder(port)), error);
    return !error;
}

std::vector<std::string> Store::PortsAnswering(uint16_t number) const {
    std::vector<std::string> answering;
    if (number == 0) {
        return answering;
    }
    for (const auto& port : Ports()) {
        if (PortNumber(port) == number) {
            answering.push_back(port);
        }
    }
    return answering;
}

FileLock Store::LockPrinter(const std::string& port) const {
    return FileLock(PrinterFolder(port) + "/.lock");
}

FileLock Store::LockFolder() const {
    return FileLock(folder_ + "/.lock");
}

bool Store::LoadConfig(const std::string& port, PrinterConfig& config, FileStamp* stamp,
                       std::string* problem) const {
    const std::string path = PrinterFolder(port) + "/" + kConfigFile;
    if (stamp != nullptr) {
        *stamp = StampOf(path);
    }
    if (problem != nullptr) {
        problem->clear();
    }
    if (!IsValidPortName(port)) {
        return false;
    }
    std::string text;
    switch (orvane::ReadWholeFile(path, kStateFileLimit, text)) {
        case orvane::FileRead::Done:
            config = ParsePrinterConfig(text);
            return true;
        case orvane::FileRead::Missing:
            return false;
        case orvane::FileRead::NotAFile:
            if (problem != nullptr) {
                *problem = "cannot read printer.conf: not a regular file";
            }
            return false;
        case orvane::FileRead::TooLarge:
            if (problem != nullptr) {
                *problem = "cannot read printer.conf: too large";
            }
            return false;
        case orvane::FileRead::CannotRead:
            break;
    }
    if (problem != nullptr) {
        *problem = "cannot read printer.conf";
    }
    return false;
}

bool Store::SaveConfig(const std::string& port, const PrinterConfig& config, FileStamp* stamp) {
    const std::string path = PrinterFolder(port) + "/" + kConfigFile;
    const bool saved = IsValidPortName(port) && WriteStateFile(path, FormatPrinterConfig(config));
    if (stamp != nullptr) {
        *stamp = StampOf(path);
    }
    return saved;
}

bool Store::LoadEeprom(const std::string& port, Eeprom& eeprom, FileStamp* stamp,
                       std::string* problem) const {
    const std::string path = PrinterFolder(port) + "/" + kEepromFile;
    if (stamp != nullptr) {
        *stamp = StampOf(path);
    }
    std::string what;
    std::string data;
    const orvane::FileRead read = IsValidPortName(port)
                                      ? orvane::ReadWholeFile(path, eeprom.size(), data)
                                      : orvane::FileRead::Missing;
    if (!IsValidPortName(port)) {
        what = "there is no printer on port '" + port + "'";
    } else if (read == orvane::FileRead::Missing) {
        what = "the EEPROM file " + path + " is missing";
    } else if (read == orvane::FileRead::TooLarge) {
        what = "the EEPROM file " + path + " holds " + std::to_string(StampOf(path).size) +
               " bytes instead of 256";
    } else if (read != orvane::FileRead::Done) {
        what = "the EEPROM file " + path + " cannot be read";
    } else if (data.size() != eeprom.size()) {
        what = "the EEPROM file " + path + " holds " + std::to_string(data.size()) +
               " bytes instead of 256";
    } else {
        std::copy(data.begin(), data.end(), eeprom.begin());
        return true;
    }
    if (problem != nullptr) {
        *problem = what +
                   ": write a good 256-byte file back, or give the printer a new main "
                   "board with `orvane-vprinter " +
                   (folder_ == DefaultFolder() ? std::string() : "--dir '" + folder_ + "' ") +
                   "new-board " + port + "`";
    }
    return false;
}

bool Store::SaveEeprom(const std::string& port, const Eeprom& eeprom, FileStamp* stamp) {
    const std::string path = PrinterFolder(port) + "/" + kEepromFile;
    const bool saved =
        IsValidPortName(port) && WriteStateFile(path, std::string(eeprom.begin(), eeprom.end()));
    if (stamp != nullptr) {
        *stamp = StampOf(path);
    }
    return saved;
}

bool Store::LoadMechanism(const std::string& port, Mechanism& mechanism, std::string* problem,
                          FileStamp* stamp) const {
    const std::string path = PrinterFolder(port) + "/" + kMechanismFile;
    if (stamp != nullptr) {
        *stamp = StampOf(path);
    }
    std::string what;
    std::string data;
    std::string wrong;
    const orvane::FileRead read = IsValidPortName(port)
                                      ? orvane::ReadWholeFile(path, kStateFileLimit, data)
                                      : orvane::FileRead::CannotRead;
    if (!IsValidPortName(port)) {
        what = "there is no printer on port '" + port + "'";
    } else if (read == orvane::FileRead::Missing) {
        mechanism = Mechanism{};
        return true;
    } else if (read != orvane::FileRead::Done) {
        what = "the mechanism file " + path + " cannot be read";
    } else if (!ParseMechanism(data, mechanism, wrong)) {
        what = "the mechanism file " + path + " is damaged: its " + wrong;
    } else {
        return true;
    }
    if (problem != nullptr) {
        *problem = what +
                   ": write a good file back, or set all its values to 0 with `orvane-vprinter " +
                   (folder_ == DefaultFolder() ? std::string() : "--dir '" + folder_ + "' ") +
                   "mechanism " + port + " clear`";
    }
    return false;
}

bool Store::SaveMechanism(const std::string& port, const Mechanism& mechanism) {
    return IsValidPortName(port) &&
           WriteStateFile(PrinterFolder(port) + "/" + kMechanismFile, FormatMechanism(mechanism));
}

LibraryConfig Store::LoadLibraryConfig(FileStamp* stamp) const {
    const std::string path = folder_ + "/" + kLibraryFile;
    if (stamp != nullptr) {
        *stamp = StampOf(path);
    }
    std::string text;
    if (!ReadStateFile(path, text)) {
        return {};
    }
    return ParseLibraryConfig(text);
}

bool Store::SaveLibraryConfig(const LibraryConfig& config, FileStamp* stamp) {
    const std::string path = folder_ + "/" + kLibraryFile;
    std::error_code error;
    fs::create_directories(orvane::PathOf(folder_), error);
    const bool saved = WriteStateFile(path, FormatLibraryConfig(config));
    if (stamp != nullptr) {
        *stamp = StampOf(path);
    }
    return saved;
}

FileStamp Store::ConfigStamp(const std::string& port) const {
    return StampOf(PrinterFolder(port) + "/" + kConfigFile);
}

FileStamp Store::EepromStamp(const std::string& port) const {
    return StampOf(PrinterFolder(port) + "/" + kEepromFile);
}

FileStamp Store::MechanismStamp(const std::string& port) const {
    return StampOf(PrinterFolder(port) + "/" + kMechanismFile);
}

FileStamp Store::LibraryStamp() const {
    return StampOf(folder_ + "/" + kLibraryFile);
}

std::string Store::PrinterFolder(const std::string& port) const {
    return folder_ + "/" + orvane::PortFolderName(port);
}

std::string Store::PagesFolder(const std::string& port) const {
    return PrinterFolder(port) + "/pages";
}

uint16_t Store::PortNumber(const std::string& port) {
    const orvane::PortNumberResult result = orvane::PortNumberOfName(port);
    return result.status == orvane::PortNumberStatus::Ok ? result.number : 0;
}

bool Store::IsValidPortName(const std::string& port) {
    if (port.empty() || port.size() > 32 || port.front() == '-') {
        return false;
    }
    return std::all_of(port.begin(), port.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == ':' || c == '_' || c == '-';
    });
}

std::string Store::ModelNameProblem(const std::string& model) {
    const bool printable = std::all_of(model.begin(), model.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
    });
    if (model.empty() || model.size() > 29 || !printable || model.front() == ' ' ||
        model.back() == ' ') {
        return "a model name is 1 to 29 characters on one line, without control characters "
               "or blanks at either end";
    }
    return {};
}

Eeprom Store::FreshBoard() {
    // A board from the factory: identity areas (Head ID, USB ID, destination)
    // unwritten as 0xFF, adjustment values and counters at 0.
    Eeprom eeprom;
    eeprom.fill(0xFF);
    for (const uint8_t address : {0x0C, 0x0D, 0x2B, 0x2C, 0x2D, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37,
                                  0x38, 0x39, 0x3E, 0x3F, 0x56, 0x59, 0x5A, 0x75}) {
        eeprom[address] = 0x00;
    }
    return eeprom;
}

}  // namespace vprinter
