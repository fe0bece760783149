#pragma once

#include <string>
#include <vector>

namespace orvane {

// The printer ports of this machine, as the print spooler would list them.
class IPortList {
  public:
    virtual ~IPortList() = default;
    // Fills names with every port, in the system's order, and returns true.
    // Returns false, leaving names untouched, when the ports cannot be listed.
    virtual bool EnumeratePorts(std::vector<std::string>& names) = 0;
};

// On this platform the printers are the virtual printers: each lives in a
// folder of the virtual printers' state folder, named by its port.
class VirtualPrinterPortList final : public IPortList {
  public:
    VirtualPrinterPortList();
    explicit VirtualPrinterPortList(std::string stateFolder);
    bool EnumeratePorts(std::vector<std::string>& names) override;

  private:
    std::string stateFolder_;
};

// ORVANE_VPRINTER_DIR, else UserStateFolder()/orvane-vprinter:
// $XDG_STATE_HOME/orvane-vprinter, else ~/.local/state/orvane-vprinter; on
// Windows %LOCALAPPDATA%\orvane-vprinter (BackupFolder.cpp).
std::string VirtualPrinterStateFolder();

}  // namespace orvane
