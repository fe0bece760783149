// The wrappers against the real libraries: what reaches the library, what
// the wrapper makes of the library's answer.
#include <gtest/gtest.h>

#include <cstring>

#include "link/ResultCodes.h"
#include "support/LinkFixture.h"

namespace {

using testing_support::VirtualPrinterTest;

int64_t Address(const void* pointer) {
    return static_cast<int64_t>(reinterpret_cast<uintptr_t>(pointer));
}

class DllfunctionCall : public VirtualPrinterTest {};

TEST_F(DllfunctionCall, ChannelFunctionsReceiveTheirArgumentsInOrderWithTheLinkObjectLast) {
    ASSERT_EQ(OpenLink(), ResultOk);
    ClearTrace();
    uint8_t value = 0;
    const uint8_t data[] = {0x1B, 0x40, 0x0C};
    uint8_t record[48] = {};

    EXPECT_EQ(Link().D4WriteEeprom(0x30, 0x04), ResultOk);
    EXPECT_EQ(Link().D4ReadEeprom(0x30, value), ResultOk);
    EXPECT_EQ(Link().SendDataChannel(data, 3), ResultOk);
    EXPECT_EQ(Link().InquireStatus(record), ResultOk);
    EXPECT_EQ(Link().SetD4CommandRCode(11, 84), ResultOk);
    EXPECT_EQ(Link().D4Termination(), ResultOk);

    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 6u);
    const int64_t context = Address(&Link());
    EXPECT_EQ(calls[0].args, (std::vector<int64_t>{0x30, 0x04, context}));
    EXPECT_EQ(calls[1].args, (std::vector<int64_t>{0x30, Address(&value), context}));
    EXPECT_EQ(value, 0x04);
    EXPECT_EQ(calls[2].args, (std::vector<int64_t>{Address(data), 3, context}));
    EXPECT_EQ(calls[2].data, (std::vector<uint8_t>{0x1B, 0x40, 0x0C}));
    EXPECT_EQ(calls[3].args, (std::vector<int64_t>{Address(record), context}));
    EXPECT_EQ(calls[4].args, (std::vector<int64_t>{11, 84}));
    EXPECT_EQ(calls[5].args, (std::vector<int64_t>{context}));
}

TEST_F(DllfunctionCall, PortOpenAsksForTheIoErrorOnceAndReturnsTheOpenResult) {
    ClearTrace();
    EXPECT_EQ(Link().PortOpenByPway(1026), ResultOk);
    EXPECT_EQ(Printers().OpenPort(), "VTUSB002");
    EXPECT_EQ(Link().PortOpenByPway(1090), ResultPortIoError);
    EXPECT_EQ(CallNames(), (std::vector<std::string>{"PortOpenByPway", "GetIoErrorCodeByPway",
                                                     "PortOpenByPway", "GetIoErrorCodeByPway"}));
    EXPECT_EQ(Calls("PortOpenByPway")[1].args, (std::vector<int64_t>{1090}));
}

TEST_F(DllfunctionCall, CloseAndCommandCodeYieldOneWhateverTheLibrarySays) {
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["PortCloseByPway"] = {1, 0x1000, std::nullopt};
        config.callFaults["SetD4CommandRCode"] = {1, 0x2000, std::nullopt};
    });
    EXPECT_EQ(Link().PortCloseByPway(), ResultOk);
    EXPECT_EQ(Link().SetD4CommandRCode(11, 84), ResultOk);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].result, ResultPortIoError);
    EXPECT_EQ(calls[1].result, ResultChannelError);
}

TEST_F(DllfunctionCall, GetD4ErrorCodeYieldsOneAndLeavesTheChannelErrorInTheCallersVariable) {
    ASSERT_EQ(OpenLink(), ResultOk);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.busySends = 1; });
    const uint8_t data[] = {0x1B, 0x40};
    EXPECT_EQ(Link().SendDataChannel(data, 2), ResultChannelError);
    uint16_t code = 0;
    EXPECT_EQ(Link().GetD4ErrorCode(code), ResultOk);
    EXPECT_EQ(code, ChannelErrorBusy);
}

TEST_F(DllfunctionCall, TheModelNameComesZeroTerminatedInTheCallersBuffer) {
    ChangePrinter("VTUSB002",
                  [](vprinter::PrinterConfig& config) { config.model = std::string(29, 'M'); });
    ASSERT_EQ(OpenLink("VTUSB002"), ResultOk);
    char name[31];
    std::memset(name, '#', sizeof name);
    EXPECT_EQ(Link().GetModelNameByPway(name), ResultOk);
    EXPECT_EQ(std::string(name), std::string(29, 'M'));
    EXPECT_EQ(name[30], '#') << "the library wrote past the 30-byte buffer";
}

TEST_F(DllfunctionCall, AMissingExportFailsOnlyItsOwnWrapperOnEveryCallUntilItIsBack) {
    ASSERT_EQ(OpenLink(), ResultOk);
    ChangeLibrary(
        [](vprinter::LibraryConfig& config) { config.missingExports.insert("D4ReadEeprom"); });
    ClearTrace();
    uint8_t value = 0x77;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Link().D4ReadEeprom(0x42, value), ResultDllMissing);
    }
    EXPECT_EQ(value, 0x77);
    EXPECT_TRUE(Calls().empty()) << "a missing function must not be reached";
    EXPECT_EQ(Link().D4WriteEeprom(0x42, 0x10), ResultOk);
    uint8_t record[48] = {};
    EXPECT_EQ(Link().InquireStatus(record), ResultOk);

    ChangeLibrary([](vprinter::LibraryConfig& config) { config.missingExports.clear(); });
    EXPECT_EQ(Link().D4ReadEeprom(0x42, value), ResultOk);
    EXPECT_EQ(value, 0x10);
}

TEST_F(DllfunctionCall, EveryPortAndChannelExportCanGoMissing) {
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        for (const auto& name : vprinter::PortFunctionNames()) {
            config.missingExports.insert(name);
        }
        for (const auto& name : vprinter::ChannelFunctionNames()) {
            config.missingExports.insert(name);
        }
    });
    int16_t io = 0;
    uint16_t channel = 0;
    uint8_t byte = 0;
    char name[30] = {};
    uint8_t record[48] = {};
    EXPECT_EQ(Link().PortOpenByPway(1025), ResultDllMissing);
    EXPECT_EQ(Link().PortCloseByPway(), ResultDllMissing);
    EXPECT_EQ(Link().CheckDeviceIDByPway(), ResultDllMissing);
    EXPECT_EQ(Link().GetIoErrorCodeByPway(io), ResultDllMissing);
    EXPECT_EQ(Link().GetModelNameByPway(name), ResultDllMissing);
    EXPECT_EQ(Link().D4Negotiation(), ResultDllMissing);
    EXPECT_EQ(Link().D4Termination(), ResultDllMissing);
    EXPECT_EQ(Link().SetD4CommandRCode(11, 84), ResultDllMissing);
    EXPECT_EQ(Link().SendDataChannel(&byte, 1), ResultDllMissing);
    EXPECT_EQ(Link().D4ReadEeprom(0, byte), ResultDllMissing);
    EXPECT_EQ(Link().D4WriteEeprom(0, 0), ResultDllMissing);
    EXPECT_EQ(Link().GetD4ErrorCode(channel), ResultDllMissing);
    EXPECT_EQ(Link().InquireStatus(record), ResultDllMissing);
    EXPECT_EQ(Link().D4Reset(), ResultDllMissing);
    EXPECT_TRUE(Calls().empty());
}

}  // namespace
