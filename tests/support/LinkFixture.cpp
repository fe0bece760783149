#include "support/LinkFixture.h"

#include <optional>

#include "link/ResultCodes.h"
#include "platform/ExecutableFolder.h"

namespace testing_support {

VirtualPrinterTest::VirtualPrinterTest()
    : stateFolder_(folder_ / "printers"),
      host_(&vprinter::ResetHost(stateFolder_)),
      link_(loader_, orvane::ExecutableFolder()) {
    if (!link_.Load()) {
        ADD_FAILURE() << "the link libraries do not load from " << orvane::ExecutableFolder();
    }
}

uint16_t VirtualPrinterTest::OpenLink(const std::string& port) {
    link_.SetD4CommandRCode(11, 84);
    link_.PortCloseByPway();
    uint16_t result = link_.PortOpenByPway(vprinter::Store::PortNumber(port));
    if (result != ResultOk) {
        return result;
    }
    result = link_.CheckDeviceIDByPway();
    if (result != ResultOk && result != ResultPortDeviceId) {
        return result;
    }
    return link_.D4Negotiation();
}

void VirtualPrinterTest::ChangePrinter(
    const std::string& port, const std::function<void(vprinter::PrinterConfig&)>& change) {
    vprinter::PrinterConfig config;
    ASSERT_TRUE(host_->GetStore().LoadConfig(port, config)) << port;
    change(config);
    ASSERT_TRUE(host_->GetStore().SaveConfig(port, config));
    host_->Invalidate();
}

void VirtualPrinterTest::ChangeEeprom(const std::string& port,
                                      const std::function<void(vprinter::Eeprom&)>& change) {
    vprinter::Eeprom eeprom{};
    ASSERT_TRUE(host_->GetStore().LoadEeprom(port, eeprom)) << port;
    change(eeprom);
    ASSERT_TRUE(host_->GetStore().SaveEeprom(port, eeprom));
    host_->Invalidate();
}

void VirtualPrinterTest::ChangeLibrary(
    const std::function<void(vprinter::LibraryConfig&)>& change) {
    vprinter::LibraryConfig config = host_->GetStore().LoadLibraryConfig();
    change(config);
    ASSERT_TRUE(host_->GetStore().SaveLibraryConfig(config));
    host_->Invalidate();
}

void VirtualPrinterTest::FailNextCall(const std::string& function, uint16_t code, int nth) {
    ChangeLibrary([&](vprinter::LibraryConfig& config) {
        config.callFaults[function] = {nth, code, std::nullopt};
    });
}

void VirtualPrinterTest::SetPrinterState(uint8_t state, uint8_t error, const std::string& port) {
    ChangePrinter(port, [state, error](vprinter::PrinterConfig& config) {
        config.state = state;
        config.error = error;
    });
}

vprinter::PrinterConfig VirtualPrinterTest::Config(const std::string& port) {
    vprinter::PrinterConfig config;
    EXPECT_TRUE(host_->GetStore().LoadConfig(port, config)) << port;
    return config;
}

vprinter::Eeprom VirtualPrinterTest::Eeprom(const std::string& port) {
    vprinter::Eeprom eeprom{};
    EXPECT_TRUE(host_->GetStore().LoadEeprom(port, eeprom)) << port;
    return eeprom;
}

std::vector<vprinter::TraceEntry> VirtualPrinterTest::Calls(const std::string& function) const {
    std::vector<vprinter::TraceEntry> calls;
    for (const auto& entry : host_->Trace()) {
        if (function.empty() || entry.function == function) {
            calls.push_back(entry);
        }
    }
    return calls;
}

std::vector<std::string> VirtualPrinterTest::CallNames() const {
    std::vector<std::string> names;
    for (const auto& entry : host_->Trace()) {
        names.push_back(entry.function);
    }
    return names;
}

std::vector<uint8_t> VirtualPrinterTest::AcceptedBytes() const {
    std::vector<uint8_t> bytes;
    for (const auto& entry : host_->Trace()) {
        if (entry.function == "SendDataChannel" && entry.result == ResultOk) {
            bytes.insert(bytes.end(), entry.data.begin(), entry.data.end());
        }
    }
    return bytes;
}

}  // namespace testing_support
