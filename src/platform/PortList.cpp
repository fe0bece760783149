#include "platform/PortList.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/PortTable.h"

#include "platform/Paths.h"
#include "platform/PortFolder.h"

namespace orvane {

namespace fs = std::filesystem;

VirtualPrinterPortList::VirtualPrinterPortList() : stateFolder_(VirtualPrinterStateFolder()) {}

VirtualPrinterPortList::VirtualPrinterPortList(std::string stateFolder)
    : stateFolder_(std::move(stateFolder)) {}

bool VirtualPrinterPortList::EnumeratePorts(std::vector<std::string>& names) {
    std::error_code error;
    fs::directory_iterator it(PathOf(stateFolder_), error);
    if (error) {
        return false;
    }
    std::vector<std::string> found;
    for (const auto& entry : it) {
        std::error_code entryError;
        if (entry.is_directory(entryError) &&
            fs::exists(entry.path() / "printer.conf", entryError)) {
            if (auto port = PortOfFolderName(Utf8Of(entry.path().filename()))) {
                found.push_back(std::move(*port));
            }
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
