#include "vprinter/Store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace vprinter {

namespace fs = std::filesystem;

namespace {

const char* const kConfigFile = "printer.conf";
const char* const kEepromFile = "eeprom.bin";
const char* const kLibraryFile = "library.conf";
const char* const kMechanismFile = "mechanism.conf";

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The number after a prefix, its first ':' left out: false unless the rest
// is a run of decimal digits whose value with offset fits in 16 bits.
bool NumberAfter(const std::string& port, size_t prefixLength, unsigned offset, uint16_t& number) {
    std::string rest = port.substr(prefixLength);
    if (const auto colon = rest.find(':'); colon != std::string::npos) {
        rest.erase(colon, 1);
    }
    if (rest.empty() ||
        !std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    unsigned long value = 0;
    for (const char digit : rest) {
        value = value * 10 + static_cast<unsigned long>(digit - '0');
        if (value + offset > 0xFFFF) {
            return false;
        }
    }
    number = static_cast<uint16_t>(value + offset);
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& data) {
    const std::string temporary = path + ".tmp." + std::to_string(getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n <= 0) {
            ::close(fd);
            ::unlink(temporary.c_str());
            return false;
        }
        written += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    data = content.str();
    return true;
}

FileStamp StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    FileStamp stamp;
    stamp.inode = static_cast<uint64_t>(info.st_ino);
    stamp.size = static_cast<int64_t>(info.st_size);
    stamp.modified = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return stamp;
}

Store::Store(std::string folder) : folder_(std::move(folder)) {}

std::string Store::DefaultFolder() {
    if (const char* dir = std::getenv("ORVANE_VPRINTER_DIR"); dir != nullptr && *dir != '\0') {
        return dir;
    }
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
        return std::string(state) + "/orvane-vprinter";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/state/orvane-vprinter";
}

bool Store::EnsureCreated() {
    std::error_code error;
    if (fs::exists(folder_, error)) {
        return true;
    }
    // Another process may be making its first use at the same time, and a
    // third may look in meanwhile: the folder is made whole in a new folder
    // beside it and renamed into its place, so that nobody sees it half made.
    // The rename takes the place of nothing but an empty folder; when another
    // process was first, its folder stays and this one goes.
    fs::path target(folder_);
    if (!target.has_filename()) {
        target = target.parent_path();  // a name that ends in '/'
    }
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), error);
    }
    // A name of this process's own (a folder left by a crash of an earlier
    // process of the same number is not taken).
    std::string building;
    std::random_device random;
    for (int attempt = 0; building.empty() && attempt < 8; ++attempt) {
        const std::string name =
            target.string() + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(random());
        if (::mkdir(name.c_str(), 0777) == 0) {
            building = name;
        } else if (errno != EEXIST) {
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
    if (made && ::rename(building.c_str(), target.c_str()) == 0) {
        return true;
    }
    fs::remove_all(building, error);
    return made && fs::is_directory(folder_, error);
}

std::vector<std::string> Store::Ports() const {
    std::vector<std::string> ports;
    std::error_code error;
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        std::error_code entryError;
        if (it->is_directory(entryError) && fs::exists(it->path() / kConfigFile, entryError)) {
            ports.push_back(it->path().filename().string());
        }
    }
    std::sort(ports.begin(), ports.end());
    return ports;
}

bool Store::Exists(const std::string& port) const {
    std::error_code error;
    return IsValidPortName(port) && fs::exists(fs::path(PrinterFolder(port)) / kConfigFile, error);
}

bool Store::CreatePrinter(const std::string& port, const std::string& model, std::string& reason) {
    if (!IsValidPortName(port)) {
        reason =
            "a port name is 1 to 32 letters, digits or ':' '_' '-' and does not start with '-'";
        return false;
    }
    const uint16_t number = PortNumber(port);
    if (number == 0) {
        reason = "port " + port +
                 " gives no port number: a port name is USB, VTUSB or LPT and a decimal number, "
                 "and the port number (USB + 1024, LPT + 1151) is at most 65535";
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
    if (fs::exists(PrinterFolder(port) + "/eeprom.bin", present)) {
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
    fs::create_directories(PrinterFolder(port), error);
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
    const FileLock printerLock = LockPrinter(port);
    std::error_code error;
    fs::remove_all(PrinterFolder(port), error);
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

bool Store::LoadConfig(const std::string& port, PrinterConfig& config, FileStamp* stamp) const {
    const std::string path = PrinterFolder(port) + "/" + kConfigFile;
    if (stamp != nullptr) {
        *stamp = StampOf(path);
    }
    std::string text;
    if (!IsValidPortName(port) || !ReadWholeFile(path, text)) {
        return false;
    }
    config = ParsePrinterConfig(text);
    return true;
}

bool Store::SaveConfig(const std::string& port, const PrinterConfig& config, FileStamp* stamp) {
    const std::string path = PrinterFolder(port) + "/" + kConfigFile;
    const bool saved =
        IsValidPortName(port) && WriteFileAtomically(path, FormatPrinterConfig(config));
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
    struct stat info {};
    if (!IsValidPortName(port)) {
        what = "there is no printer on port '" + port + "'";
    } else if (::stat(path.c_str(), &info) != 0) {
        what = "the EEPROM file " + path + " is missing";
    } else if (!S_ISREG(info.st_mode) || !ReadWholeFile(path, data) ||
               static_cast<int64_t>(data.size()) != static_cast<int64_t>(info.st_size)) {
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
    const bool saved = IsValidPortName(port) &&
                       WriteFileAtomically(path, std::string(eeprom.begin(), eeprom.end()));
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
    struct stat info {};
    if (!IsValidPortName(port)) {
        what = "there is no printer on port '" + port + "'";
    } else if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) {
        mechanism = Mechanism{};
        return true;
    } else if (!S_ISREG(info.st_mode) || !ReadWholeFile(path, data) ||
               static_cast<int64_t>(data.size()) != static_cast<int64_t>(info.st_size)) {
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
    return IsValidPortName(port) && WriteFileAtomically(PrinterFolder(port) + "/" + kMechanismFile,
                                                        FormatMechanism(mechanism));
}

LibraryConfig Store::LoadLibraryConfig(FileStamp* stamp) const {
    const std::string path = folder_ + "/" + kLibraryFile;
    if (stamp != nullptr) {
        *stamp = StampOf(path);
    }
    std::string text;
    if (!ReadWholeFile(path, text)) {
        return {};
    }
    return ParseLibraryConfig(text);
}

bool Store::SaveLibraryConfig(const LibraryConfig& config, FileStamp* stamp) {
    const std::string path = folder_ + "/" + kLibraryFile;
    std::error_code error;
    fs::create_directories(folder_, error);
    const bool saved = WriteFileAtomically(path, FormatLibraryConfig(config));
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
    return folder_ + "/" + port;
}

std::string Store::PagesFolder(const std::string& port) const {
    return PrinterFolder(port) + "/pages";
}

uint16_t Store::PortNumber(const std::string& port) {
    uint16_t number = 0;
    if (StartsWith(port, "VTUSB") && NumberAfter(port, 5, 1024, number)) {
        return number;
    }
    if (StartsWith(port, "USB") && NumberAfter(port, 3, 1024, number)) {
        return number;
    }
    if (StartsWith(port, "LPT") && NumberAfter(port, 3, 1151, number)) {
        return number;
    }
    return 0;
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
