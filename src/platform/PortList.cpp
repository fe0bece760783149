#include "platform/PortList.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/PortTable.h"

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

PrinterPortList::PrinterPortList(IPortList& virtualPrinters, std::unique_ptr<IPortList> spooler)
    : virtualPrinters_(virtualPrinters), spooler_(std::move(spooler)) {}

bool PrinterPortList::EnumeratePorts(std::vector<std::string>& names) {
    std::vector<std::string> listed;
    const bool virtualListed = virtualPrinters_.EnumeratePorts(listed);
    std::vector<std::string> spooled;
    const bool spoolerListed = spooler_ != nullptr && spooler_->EnumeratePorts(spooled);
    if (!virtualListed && !spoolerListed) {
        return false;
    }
    if (!virtualListed) {
        listed.clear();
    }
    for (std::string& name : spooled) {
        if (IsPrinterPortName(name) &&
            std::find(listed.begin(), listed.end(), name) == listed.end()) {
            listed.push_back(std::move(name));
        }
    }
    names = std::move(listed);
    return true;
}

}  // namespace orvane
