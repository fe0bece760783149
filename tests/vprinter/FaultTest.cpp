// Every fault of the virtual printer, as the program sees it through the
// wrappers of the link object.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>

#include "StreamBuilder.h"
#include "link/PrinterStatus.h"
#include "link/ResultCodes.h"
#include "support/FullDisk.h"
#include "support/LinkFixture.h"
#include "support/LinuxOnly.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::VirtualPrinterTest;
using vprinter_test::Stream;

class Fault : public VirtualPrinterTest {
  protected:
    uint8_t State() {
        PrinterStatus record;
        EXPECT_EQ(Link().InquireStatus(record.Bytes()), ResultOk);
        return record.State();
    }
    uint16_t Send() {
        const uint8_t data[] = {0x1B, 0x40};
        return Link().SendDataChannel(data, 2);
    }
    uint16_t ChannelError() {
        uint16_t code = 0;
        Link().GetD4ErrorCode(code);
        return code;
    }
    int16_t IoError() {
        int16_t code = 0;
        Link().GetIoErrorCodeByPway(code);
        return code;
    }
    uint16_t Send(const Stream& stream) {
        return Link().SendDataChannel(stream.bytes.data(),
                                      static_cast<uint32_t>(stream.bytes.size()));
    }
    // The notes of the faults the printer recorded since the trace was cleared.
    std::string FaultNotes() const {
        std::string notes;
        for (const auto& entry : Calls("fault")) {
            notes += entry.note + "\n";
        }
        return notes;
    }
};

TEST_F(Fault, APoweredOffPrinterDoesNotAnswerTheOpenNorTheChannel) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.powered = false; });
    EXPECT_EQ(Link().PortOpenByPway(1025), ResultPortNoResponse);
    EXPECT_EQ(IoError(), -82);

    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.powered = true; });
    ASSERT_EQ(OpenLink(), ResultOk);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.powered = false; });
    uint8_t value = 0;
    EXPECT_EQ(Link().D4ReadEeprom(0x42, value), ResultChannelError);
    EXPECT_NE(ChannelError(), ChannelErrorBusy);
    EXPECT_EQ(Link().CheckDeviceIDByPway(), ResultPortNoResponse);
}

TEST_F(Fault, AnUnknownPortNumberIsAnIoError) {
    EXPECT_EQ(Link().PortOpenByPway(1099), ResultPortIoError);
    EXPECT_EQ(IoError(), -1);
    EXPECT_EQ(Link().D4Negotiation(), ResultChannelError);
}

TEST_F(Fault, ChannelFunctionsNeedANegotiatedChannel) {
    EXPECT_EQ(Link().PortOpenByPway(1025), ResultOk);
    uint8_t value = 0;
    EXPECT_EQ(Link().D4ReadEeprom(0, value), ResultChannelError);
    EXPECT_EQ(Link().D4Negotiation(), ResultOk);
    EXPECT_EQ(Link().D4ReadEeprom(0, value), ResultOk);
    EXPECT_EQ(Link().D4Termination(), ResultOk);
    EXPECT_EQ(Link().D4ReadEeprom(0, value), ResultChannelError);
}

TEST_F(Fault, BusyForNStatusPollsThenReadyWhileDataIsAccepted) {
    ASSERT_EQ(OpenLink(), ResultOk);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.busyPolls = 3; });
    for (int poll = 0; poll < 3; ++poll) {
        EXPECT_EQ(State(), PrinterStatus::StateBusy) << poll;
        EXPECT_EQ(Send(), ResultOk);
    }
    EXPECT_EQ(State(), PrinterStatus::StateReady);
}

TEST_F(Fault, BusyForNSendsRefusesDataWithChannelErrorFiftyOne) {
    ASSERT_EQ(OpenLink(), ResultOk);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.busySends = 2; });
    EXPECT_EQ(Send(), ResultChannelError);
    EXPECT_EQ(ChannelError(), ChannelErrorBusy);
    EXPECT_EQ(State(), PrinterStatus::StateBusy) << "busy while refusals remain";
    EXPECT_EQ(Send(), ResultChannelError);
    EXPECT_EQ(ChannelError(), ChannelErrorBusy);
    EXPECT_EQ(State(), PrinterStatus::StateReady);
    EXPECT_EQ(Send(), ResultOk);
    EXPECT_EQ(AcceptedBytes(), (std::vector<uint8_t>{0x1B, 0x40}));
}

TEST_F(Fault, AnyStateAndErrorCodeIsReportedAndAnErrorStateRefusesData) {
    ASSERT_EQ(OpenLink(), ResultOk);
    for (const uint8_t state : {1, 2, 3, 5, 6, 7, 8, 9, 200}) {
        ChangePrinter("VTUSB001",
                      [state](vprinter::PrinterConfig& config) { config.state = state; });
        EXPECT_EQ(State(), state);
    }
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.state = 0;
        config.error = 6;
    });
    PrinterStatus record;
    ASSERT_EQ(Link().InquireStatus(record.Bytes()), ResultOk);
    EXPECT_EQ(record.State(), 0);
    EXPECT_EQ(record.ErrorCode(), 6);
    EXPECT_EQ(Send(), ResultChannelError);
    EXPECT_EQ(ChannelError(), ChannelErrorBusy);
}

TEST_F(Fault, TheNthCallOfAFunctionFailsWithTheGivenCodeAndLeavesItsError) {
    ASSERT_EQ(OpenLink(), ResultOk);
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["D4ReadEeprom"] = {3, 0x2000, 7};
    });
    uint8_t value = 0;
    EXPECT_EQ(Link().D4ReadEeprom(0, value), ResultOk);
    EXPECT_EQ(Link().D4ReadEeprom(0, value), ResultOk);
    EXPECT_EQ(Link().D4ReadEeprom(0, value), ResultChannelError);
    EXPECT_EQ(ChannelError(), 7);
    EXPECT_EQ(Link().D4ReadEeprom(0, value), ResultOk) << "the fault fires once";

    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["PortOpenByPway"] = {1, 0x1000, -104};
    });
    EXPECT_EQ(Link().PortOpenByPway(1025), ResultPortIoError);
    EXPECT_EQ(IoError(), -104);
}

TEST_F(Fault, EepromReadsAndWritesFailAtTheirAddressOnly) {
    ASSERT_EQ(OpenLink(), ResultOk);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.readFaults[0x5C] = 0x2000;
        config.writeFaults[0x6E] = 0x1100;
    });
    uint8_t value = 0;
    EXPECT_EQ(Link().D4ReadEeprom(0x5C, value), ResultChannelError);
    EXPECT_EQ(Link().D4ReadEeprom(0x5D, value), ResultOk);
    EXPECT_EQ(Link().D4WriteEeprom(0x6E, 0), ResultPortNoResponse);
    EXPECT_EQ(Link().D4WriteEeprom(0x5B, 0xB2), ResultOk);
}

// A write the printer makes itself for a packet fails the packet's data call
// (as a storage error, which is not "busy": nothing is sent again), so that
// the program does not take the value for kept.
TEST_F(Fault, AnEepromWriteFaultAlsoFailsTheWritesThePrinterMakesItself) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("a full disk is a file size limit (setrlimit)");
#else
    ASSERT_EQ(OpenLink(), ResultOk);
    const struct {
        const char* what;
        uint8_t address;
        Stream stream;
    } cases[] = {
        {"Bi-D packet", 0x36, Stream().Packet(0x00, 0x00, {2, 1, 5, 0})},
        {"store packet", 0x2D,
         Stream()
             .Packet(0x04, 0x02, {0xFE, 1})
             .Packet(0x04, 0x02, {0x03, 2})
             .Packet(0x50, 0x28, {})},
        {"cleaning", 0x0D, Stream().Packet(0x84, 0x42, {2})},
    };
    for (const auto& c : cases) {
        ChangePrinter("VTUSB001", [&c](vprinter::PrinterConfig& config) {
            config.writeFaults = {{c.address, 0x2000}};
        });
        ClearTrace();
        EXPECT_EQ(Send(c.stream), ResultChannelError) << c.what;
        EXPECT_EQ(ChannelError(), 3) << c.what;
        EXPECT_EQ(Eeprom(), vprinter::Store::FreshBoard())
            << c.what << ": no byte of the write is made";
        char address[8];
        std::snprintf(address, sizeof address, "0x%02X", c.address);
        EXPECT_NE(FaultNotes().find(address), std::string::npos) << c.what << ": " << FaultNotes();
    }

    // The same when eeprom.bin cannot be replaced, as on a full disk (which
    // stops root too).
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.writeFaults = {}; });
    Clock().Sleep(vprinter::Host::kCleaningMilliseconds);  // the cleaning started above ends
    for (const auto& c : cases) {
        ClearTrace();
        uint16_t sent = 0;
        {
            const testing_support::FullDisk full;
            sent = Send(c.stream);
        }
        EXPECT_EQ(sent, ResultChannelError) << c.what;
        EXPECT_EQ(ChannelError(), 3) << c.what;
        EXPECT_NE(FaultNotes().find("cannot write"), std::string::npos) << c.what;
    }
    ClearTrace();
    EXPECT_EQ(Send(cases[0].stream), ResultOk) << "mended";
    EXPECT_EQ(Eeprom()[cases[0].address], 5);
#endif
}

TEST_F(Fault, ADamagedEepromFileIsABrokenEepromThatNothingReplaces) {
    const std::string file = StateFolder() + "/VTUSB001/eeprom.bin";
    const auto bytes = [](size_t n) { return std::string(n, '\x5A'); };
    const struct {
        const char* what;
        std::function<void()> damage;
    } cases[] = {
        {"missing", [&] { fs::remove(file); }},
        {"short", [&] { testing_support::WriteFile(file, bytes(255)); }},
        {"long", [&] { testing_support::WriteFile(file, bytes(257)); }},
        {"unreadable",
         [&] {
             fs::remove(file);
             fs::create_directory(file);
         }},
    };
    // What the file holds, to see that nothing touched it.
    const auto look = [&file] {
        std::error_code error;
        if (fs::is_directory(file, error)) {
            return std::string("a folder");
        }
        return fs::exists(file, error) ? testing_support::ReadFile(file) : std::string("none");
    };
    for (const auto& c : cases) {
        ASSERT_EQ(OpenLink(), ResultOk) << c.what;
        c.damage();
        const std::string before = look();
        ClearTrace();
        uint8_t value = 0;
        EXPECT_EQ(Link().D4ReadEeprom(0x42, value), ResultChannelError) << c.what;
        EXPECT_EQ(ChannelError(), 3) << c.what;
        EXPECT_EQ(Link().D4WriteEeprom(0x42, 0x10), ResultChannelError) << c.what;
        EXPECT_EQ(ChannelError(), 3) << c.what;
        EXPECT_EQ(Send(Stream().Packet(0x00, 0x00, {2, 1, 5, 0})), ResultChannelError) << c.what;
        EXPECT_NE(FaultNotes().find("Bi-D value could not be written"), std::string::npos)
            << c.what << ": " << FaultNotes();
        Printers().Forget();  // a restart of the program does not mend it either
        ASSERT_EQ(OpenLink(), ResultOk) << c.what;
        EXPECT_EQ(Link().D4ReadEeprom(0x42, value), ResultChannelError) << c.what;
        EXPECT_EQ(look(), before) << c.what << ": the file was replaced";

        fs::remove_all(file);
        ASSERT_TRUE(Printers().GetStore().SaveEeprom("VTUSB001", vprinter::Store::FreshBoard()));
        EXPECT_EQ(Link().D4ReadEeprom(0x42, value), ResultOk) << c.what << ": mended";
    }
}

TEST_F(Fault, APortOpensOnlyThePrinterThatAloneAnswersToItsNumber) {
    // Folders made by hand: two printers that answer to 1025, one to none.
    fs::copy(StateFolder() + "/VTUSB001", StateFolder() + "/USB1", fs::copy_options::recursive);
    fs::copy(StateFolder() + "/VTUSB002", StateFolder() + "/FOO", fs::copy_options::recursive);
    EXPECT_EQ(Link().PortOpenByPway(1025), ResultPortIoError);
    EXPECT_EQ(Link().PortOpenByPway(0), ResultPortIoError);
    EXPECT_EQ(Link().PortOpenByPway(1026), ResultOk);
    fs::remove_all(StateFolder() + "/USB1");
    EXPECT_EQ(Link().PortOpenByPway(1025), ResultOk);
    EXPECT_EQ(Printers().OpenPort(), "VTUSB001");
}

TEST_F(Fault, APageWhosePictureCannotBeSavedFailsTheCallThatEjectsIt) {
    ASSERT_EQ(OpenLink(), ResultOk);
    testing_support::WriteFile(StateFolder() + "/VTUSB001/pages", "not a folder");
    ASSERT_EQ(Send(Stream().Init().SmallPage(100).Text("Hi")), ResultOk);
    EXPECT_EQ(Send(Stream().FormFeed()), ResultChannelError);
    EXPECT_EQ(ChannelError(), 3) << "not busy: the program must not send it again";
    EXPECT_NE(FaultNotes().find("the page's picture is lost"), std::string::npos) << FaultNotes();
    EXPECT_EQ(testing_support::ReadFile(StateFolder() + "/VTUSB001/pages"), "not a folder");
}

TEST_F(Fault, AnUnsupportedModelAnswersTheDeviceCheckWith0x1001) {
    ChangePrinter("VTUSB002", [](vprinter::PrinterConfig& config) { config.supported = false; });
    ASSERT_EQ(Link().PortOpenByPway(1026), ResultOk);
    EXPECT_EQ(Link().CheckDeviceIDByPway(), ResultPortDeviceId);
    EXPECT_EQ(Link().D4Negotiation(), ResultOk);
}

TEST_F(Fault, ANewMainBoardReadsAsAFreshBoard) {
    ASSERT_EQ(OpenLink(), ResultOk);
    for (uint8_t address = 0x42; address <= 0x45; ++address) {
        ASSERT_EQ(Link().D4WriteEeprom(address, 0x10), ResultOk);
    }
    ASSERT_EQ(Link().D4WriteEeprom(0x5C, 'A'), ResultOk);
    ASSERT_TRUE(Printers().GetStore().SaveEeprom("VTUSB001", vprinter::Store::FreshBoard()));
    uint8_t value = 0;
    for (const uint8_t address : {0x42, 0x43, 0x44, 0x45, 0x49, 0x5C, 0x6D, 0x6E, 0x5B}) {
        ASSERT_EQ(Link().D4ReadEeprom(address, value), ResultOk);
        EXPECT_EQ(value, 0xFF) << "identity bytes of a new board are unwritten: " << int(address);
    }
    for (const uint8_t address : {0x0C, 0x0D, 0x2C, 0x32, 0x59, 0x5A, 0x75}) {
        ASSERT_EQ(Link().D4ReadEeprom(address, value), ResultOk);
        EXPECT_EQ(value, 0x00) << int(address);
    }
}

TEST_F(Fault, AfterD4ResetThePrinterIsBusyUntilItHasRestarted) {
    ASSERT_EQ(OpenLink(), ResultOk);
    ASSERT_EQ(Link().D4Reset(), ResultOk);
    EXPECT_EQ(State(), PrinterStatus::StateBusy);
    Clock().Sleep(vprinter::Host::kRestartMilliseconds - 1);
    EXPECT_EQ(State(), PrinterStatus::StateBusy);
    Clock().Sleep(1);
    EXPECT_EQ(State(), PrinterStatus::StateReady);
}

TEST_F(Fault, TheTraceRecordsEveryCallWithItsResultInOrder) {
    ASSERT_EQ(OpenLink("VTUSB002"), ResultOk);
    EXPECT_EQ(CallNames(), (std::vector<std::string>{"SetD4CommandRCode", "PortCloseByPway",
                                                     "PortOpenByPway", "GetIoErrorCodeByPway",
                                                     "CheckDeviceIDByPway", "D4Negotiation"}));
    const auto calls = Calls();
    for (size_t i = 1; i < calls.size(); ++i) {
        EXPECT_GT(calls[i].sequence, calls[i - 1].sequence);
        EXPECT_EQ(calls[i].result, ResultOk);
    }
    EXPECT_EQ(calls.back().port, "VTUSB002");
}

}  // namespace
