#include "tools/service/PrinterFolder.h"

#include <vector>

#include "vprinter/StateFolder.h"
#include "vprinter/Store.h"

namespace orvane::service {

namespace {

// The virtual printers' ports, after the state folder is made on first use.
class CreatingPortList final : public IPortList {
  public:
    explicit CreatingPortList(std::string folder) : folder_(std::move(folder)), ports_(folder_) {}

    bool EnumeratePorts(std::vector<std::string>& names) override {
        if (!vprinter::Store(folder_).EnsureCreated()) {
            return false;
        }
        return ports_.EnumeratePorts(names);
    }

  private:
    std::string folder_;
    VirtualPrinterPortList ports_;
};

// Those and the spooler's printer ports (on Windows).
class ToolPortList final : public IPortList {
  public:
    explicit ToolPortList(std::string folder)
        : virtualPrinters_(std::move(folder)), ports_(virtualPrinters_, SpoolerPortList()) {}

    bool EnumeratePorts(std::vector<std::string>& names) override {
        return ports_.EnumeratePorts(names);
    }

  private:
    CreatingPortList virtualPrinters_;
    PrinterPortList ports_;
};

}  // namespace

Outcome CheckStateFolder(const std::string& folder) {
    if (const std::string problem = vprinter::StateFolderProblem(folder); !problem.empty()) {
        return Outcome::Usage(problem);
    }
    return Outcome::Done();
}

std::unique_ptr<IPortList> StateFolderPorts(const std::string& folder) {
    return std::make_unique<ToolPortList>(folder.empty() ? VirtualPrinterStateFolder() : folder);
}

}  // namespace orvane::service
