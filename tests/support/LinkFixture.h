#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link/Dllfunction.h"
#include "platform/LibraryLoader.h"
#include "support/TempFolder.h"
#include "support/VirtualClock.h"
#include "vprinter/Host.h"

namespace testing_support {

// Every test gets a state folder of its own with the two default printers
// (VTUSB001 an Orvane K31, VTUSB002 an Orvane K32), the virtual printers on
// the virtual clock, and the link object loaded with the real libraries from
// the output folder.
class VirtualPrinterTest : public ::testing::Test {
  protected:
    VirtualPrinterTest();

    vprinter::Host& Printers() { return *host_; }
    TPDLLFunction& Link() { return link_; }
    VirtualClock& Clock() { return clock_; }
    const std::string& StateFolder() const { return stateFolder_; }

    // The boot window's link open: SetD4CommandRCode (11, 84), close, open,
    // device-ID check, negotiation. Returns the first code other than 1.
    uint16_t OpenLink(const std::string& port = "VTUSB001");

    void ChangePrinter(const std::string& port,
                       const std::function<void(vprinter::PrinterConfig&)>& change);
    void ChangeEeprom(const std::string& port,
                      const std::function<void(vprinter::Eeprom&)>& change);
    void ChangeLibrary(const std::function<void(vprinter::LibraryConfig&)>& change);
    // Makes the nth next call of a library function fail with code.
    void FailNextCall(const std::string& function, uint16_t code, int nth = 1);
    // Sets a printer's standing state and error code.
    void SetPrinterState(uint8_t state, uint8_t error = 0, const std::string& port = "VTUSB001");
    vprinter::PrinterConfig Config(const std::string& port = "VTUSB001");
    vprinter::Eeprom Eeprom(const std::string& port = "VTUSB001");

    // The trace, or only the calls of one function.
    std::vector<vprinter::TraceEntry> Calls(const std::string& function = "") const;
    std::vector<std::string> CallNames() const;
    // Every byte that SendDataChannel accepted, in order.
    std::vector<uint8_t> AcceptedBytes() const;
    void ClearTrace() { host_->ClearTrace(); }

  private:
    TempFolder folder_;
    std::string stateFolder_;
    vprinter::Host* host_;
    orvane::SystemLibraryLoader loader_;
    TPDLLFunction link_;
    VirtualClock clock_;
};

}  // namespace testing_support
