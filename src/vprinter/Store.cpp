#include "vprinter/Store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace vprinter {

namespace fs = std::filesystem;

namespace {

const char* const kConfigFile = "printer.conf";
const char* const kEepromFile = "eeprom.bin";
const char* const kLibraryFile = "library.conf";

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// Reads the decimal digits after a prefix; a ':' may follow them.
bool DigitsAfter(const std::string& port, size_t prefixLength, long& number) {
    std::string rest = port.substr(prefixLength);
    if (!rest.empty() && rest.back() == ':') {
        rest.pop_back();
    }
    if (rest.empty() || rest.size() > 6 ||
        !std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    number = std::strtol(rest.c_str(), nullptr, 10);
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
    if (!fs::create_directories(folder_, error) && error) {
        return false;
    }
    std::string reason;
    return CreatePrinter("VTUSB001", "Orvane K31", reason) &&
           CreatePrinter("VTUSB002", "Orvane K32", reason);
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
    if (Exists(port)) {
        reason = "a printer on port " + port + " exists already";
        return false;
    }
    if (model.empty() || model.size() > 29 || model.find('\n') != std::string::npos) {
        reason = "a model name is 1 to 29 characters on one line";
        return false;
    }
    const uint16_t number = PortNumber(port);
    if (number != 0) {
        for (const auto& other : Ports()) {
            if (PortNumber(other) == number) {
                reason =
                    "port " + other + " already answers to port number " + std::to_string(number);
                return false;
            }
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
    if (!Exists(port)) {
        return false;
    }
    std::error_code error;
    fs::remove_all(PrinterFolder(port), error);
    return !error;
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

bool Store::LoadEeprom(const std::string& port, Eeprom& eeprom, FileStamp* stamp) const {
    const std::string path = PrinterFolder(port) + "/" + kEepromFile;
    if (stamp != nullptr) {
        *stamp = StampOf(path);
    }
    std::string data;
    if (!IsValidPortName(port) || !ReadWholeFile(path, data) || data.size() != eeprom.size()) {
        return false;
    }
    std::copy(data.begin(), data.end(), eeprom.begin());
    return true;
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
    long number = 0;
    if (StartsWith(port, "VTUSB") && DigitsAfter(port, 5, number)) {
        return static_cast<uint16_t>(number + 1024);
    }
    if (StartsWith(port, "USB") && DigitsAfter(port, 3, number)) {
        return static_cast<uint16_t>(number + 1024);
    }
    if (StartsWith(port, "LPT") && DigitsAfter(port, 3, number)) {
        return static_cast<uint16_t>(number + 1151);
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
