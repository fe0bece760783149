#include "platform/PortList.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace orvane {

namespace fs = std::filesystem;

std::string VirtualPrinterStateFolder() {
    if (const char* dir = std::getenv("ORVANE_VPRINTER_DIR"); dir != nullptr && *dir != '\0') {
        return dir;
    }
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
        return std::string(state) + "/orvane-vprinter";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/state/orvane-vprinter";
}

VirtualPrinterPortList::VirtualPrinterPortList() : stateFolder_(VirtualPrinterStateFolder()) {}

VirtualPrinterPortList::VirtualPrinterPortList(std::string stateFolder)
    : stateFolder_(std::move(stateFolder)) {}

bool VirtualPrinterPortList::EnumeratePorts(std::vector<std::string>& names) {
    std::error_code error;
    fs::directory_iterator it(stateFolder_, error);
    if (error) {
        return false;
    }
    std::vector<std::string> found;
    for (const auto& entry : it) {
        std::error_code entryError;
        if (entry.is_directory(entryError) &&
            fs::exists(entry.path() / "printer.conf", entryError)) {
            found.push_back(entry.path().filename().string());
        }
    }
    // The spooler's own order: by creation; the folder order is arbitrary, so
    // name order stands in for it.
    std::sort(found.begin(), found.end());
    names = std::move(found);
    return true;
}

}  // namespace orvane
