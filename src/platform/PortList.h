#pragma once

#include <memory>
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

// The ports of the print spooler (EnumPortsW, level 1) where there is one:
// Windows. nullptr elsewhere: there the printers are the virtual printers.
std::unique_ptr<IPortList> SpoolerPortList();

// The ports the program and the tools offer: the virtual printers', then
// those of the spooler (if any) whose names the boot window accepts (USB,
// VTUSB, LPT), in the spooler's order, leaving out a name already listed.
// Either list alone will do: false only when every list fails.
class PrinterPortList final : public IPortList {
  public:
    // spooler may be nullptr: no spooler.
    PrinterPortList(IPortList& virtualPrinters, std::unique_ptr<IPortList> spooler);
    bool EnumeratePorts(std::vector<std::string>& names) override;

  private:
    IPortList& virtualPrinters_;
    std::unique_ptr<IPortList> spooler_;
};

// ORVANE_VPRINTER_DIR, else UserStateFolder()/orvane-vprinter:
// $XDG_STATE_HOME/orvane-vprinter, else ~/.local/state/orvane-vprinter; on
// Windows %LOCALAPPDATA%\orvane-vprinter (BackupFolder.cpp).
std::string VirtualPrinterStateFolder();

}  // namespace orvane
