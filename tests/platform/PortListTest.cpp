// The ports the program and the tools offer: the virtual printers' and the
// print spooler's, merged.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/PortList.h"

namespace {

// A list that gives its ports, or fails when it has none to give.
class GivenPorts final : public orvane::IPortList {
  public:
    explicit GivenPorts(std::optional<std::vector<std::string>> ports) : ports_(std::move(ports)) {}
    bool EnumeratePorts(std::vector<std::string>& names) override {
        if (!ports_) {
            return false;
        }
        names = *ports_;
        return true;
    }

  private:
    std::optional<std::vector<std::string>> ports_;
};

using Ports = std::optional<std::vector<std::string>>;

TEST(PrinterPortList, AddsTheSpoolersPrinterPortsToTheVirtualPrintersOnce) {
    const Ports virtualPrinters = std::vector<std::string>{"VTUSB001", "VTUSB002"};
    const Ports spooler = std::vector<std::string>{
        "LPT1:", "COM1:", "FILE:", "USB001", "VTUSB002", "usb003", "XPSPort:", "nul:", "LPT2:"};
    struct Case {
        const char* what;
        Ports virtualPrinters;
        Ports spooler;
        bool hasSpooler;
        Ports expected;  // nullopt: the listing fails
    };
    const Case cases[] = {
        {"no spooler", virtualPrinters, std::nullopt, false, virtualPrinters},
        {"both", virtualPrinters, spooler, true,
         std::vector<std::string>{"VTUSB001", "VTUSB002", "LPT1:", "USB001", "LPT2:"}},
        {"the spooler fails", virtualPrinters, std::nullopt, true, virtualPrinters},
        {"the state folder fails", std::nullopt, spooler, true,
         std::vector<std::string>{"LPT1:", "USB001", "VTUSB002", "LPT2:"}},
        {"both fail", std::nullopt, std::nullopt, true, std::nullopt},
        {"no spooler, the state folder fails", std::nullopt, std::nullopt, false, std::nullopt},
        {"a spooler without ports", std::vector<std::string>{}, std::vector<std::string>{}, true,
         std::vector<std::string>{}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GivenPorts virtualList(c.virtualPrinters);
        orvane::PrinterPortList list(
            virtualList, c.hasSpooler ? std::make_unique<GivenPorts>(c.spooler) : nullptr);
        std::vector<std::string> names{"untouched"};
        const bool listed = list.EnumeratePorts(names);
        EXPECT_EQ(listed, c.expected.has_value());
        EXPECT_EQ(names, c.expected.value_or(std::vector<std::string>{"untouched"}));
    }
}

// The real spooler: Windows lists its ports (wine has a few, LPT1: among
// them), other systems have none.
TEST(SpoolerPortList, ListsTheSystemsPortsOnWindowsOnly) {
    const std::unique_ptr<orvane::IPortList> spooler = orvane::SpoolerPortList();
#ifdef _WIN32
    ASSERT_NE(spooler, nullptr);
    std::vector<std::string> names;
    ASSERT_TRUE(spooler->EnumeratePorts(names));
    EXPECT_FALSE(names.empty());
    for (const std::string& name : names) {
        EXPECT_FALSE(name.empty());
    }
#else
    EXPECT_EQ(spooler, nullptr);
#endif
}

}  // namespace
