#include "platform/PortList.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

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

}  // namespace orvane
