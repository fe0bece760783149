// The state folder: first use, port numbers, persistence across restarts.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <sstream>

#include "link/ResultCodes.h"
#include "platform/Files.h"
#include "platform/PortTable.h"
#include "support/LinkFixture.h"
#include "support/LinuxOnly.h"
#include "support/TempFolder.h"
#include "vprinter/Store.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;
using testing_support::VirtualPrinterTest;
using vprinter::Store;

TEST(Store, FirstUseCreatesAnOrvaneK31AndAnOrvaneK32) {
    TempFolder folder;
    Store store(folder / "state");
    ASSERT_TRUE(store.EnsureCreated());
    EXPECT_EQ(store.Ports(), (std::vector<std::string>{"VTUSB001", "VTUSB002"}));
    vprinter::PrinterConfig k31;
    vprinter::PrinterConfig k32;
    ASSERT_TRUE(store.LoadConfig("VTUSB001", k31));
    ASSERT_TRUE(store.LoadConfig("VTUSB002", k32));
    EXPECT_EQ(k31.model, "Orvane K31");
    EXPECT_EQ(k32.model, "Orvane K32");

    // A folder that exists is left as it is, even when empty.
    ASSERT_TRUE(store.RemovePrinter("VTUSB001"));
    ASSERT_TRUE(store.EnsureCreated());
    EXPECT_EQ(store.Ports(), std::vector<std::string>{"VTUSB002"});
}

// Two first uses at once, watched by a third process: whoever sees the folder
// sees it whole, with both printers, and nothing is left beside it.
TEST(Store, AFirstUseIsSeenWholeByWhoeverLooksMeanwhile) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("fork() starts the two makers");
#else
    TempFolder folder;
    constexpr int kRounds = 20;
    const auto state = [&](int round) { return folder / ("state" + std::to_string(round)); };
    std::vector<pid_t> makers;
    for (int maker = 0; maker < 2; ++maker) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool made = true;
            for (int round = 0; round < kRounds; ++round) {
                made = Store(state(round)).EnsureCreated() && made;
            }
            _exit(made ? 0 : 1);
        }
        makers.push_back(child);
    }
    std::vector<int> endings;
    const auto reap = [&](int options) {
        int status = 0;
        while (endings.size() < makers.size() && waitpid(-1, &status, options) > 0) {
            endings.push_back(status);
        }
    };
    for (int round = 0; round < kRounds; ++round) {
        std::error_code error;
        bool seen = false;
        // Looked at as soon as it is there; when both makers have ended
        // without making it, it never will be.
        while (!(seen = fs::exists(state(round), error)) && endings.size() < makers.size()) {
            reap(WNOHANG);
        }
        seen = seen || fs::exists(state(round), error);
        ASSERT_TRUE(seen) << "round " << round;
        EXPECT_EQ(Store(state(round)).Ports(), (std::vector<std::string>{"VTUSB001", "VTUSB002"}))
            << "round " << round;
    }
    reap(0);
    for (const int status : endings) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        EXPECT_EQ(entry.path().filename().string().find(".new-"), std::string::npos)
            << entry.path();
        ++entries;
    }
    EXPECT_EQ(entries, static_cast<size_t>(kRounds));
#endif
}

// A printer answers to the port number the program derives from its name:
// the program's own rule, called from both sides.
TEST(Store, PortNumbersAreThoseTheProgramDerives) {
    std::istringstream names(
        "USB001 VTUSB002 VTUSB001 LPT1: LPT2 USB000001 LPT000001: USB1:2 USB64511 LPT64384 FILE: "
        "USBX1 USB USB: USB64512 VTUSB64513 LPT64385 USB0000000000001025 "
        "USB99999999999999999999 usb001 LPTUSB1 USBLPT1 USB1:: XUSB001 VTLPT3 COM1:");
    for (std::string port; names >> port;) {
        const orvane::PortNumberResult derived = orvane::DerivePortNumber({port}, 0);
        const uint16_t expected =
            derived.status == orvane::PortNumberStatus::Ok ? derived.number : uint16_t{0};
        EXPECT_EQ(Store::PortNumber(port), expected) << port;
    }
}

TEST(Store, CreateRefusesBadNamesTakenNamesAndTakenPortNumbers) {
    TempFolder folder;
    Store store(folder / "state");
    ASSERT_TRUE(store.EnsureCreated());
    std::string reason;
    // XUSB1 has a port number, but the boot window lists no such name;
    // LPTUSB1 is port 1025, which VTUSB001 answers to.
    for (const char* refused :
         {"../escape", "", "VTUSB001", "FOO", "BAR", "VTUSB64513", "XUSB1", "LPTUSB1"}) {
        EXPECT_FALSE(store.CreatePrinter(refused, "Orvane K31", reason)) << refused;
    }
    EXPECT_FALSE(store.CreatePrinter("USB001", "Orvane K31", reason)) << "1025 is VTUSB001's";
    EXPECT_NE(reason.find("VTUSB001"), std::string::npos) << reason;
    EXPECT_FALSE(store.CreatePrinter("USB00000002", "Orvane K31", reason)) << "1026 is VTUSB002's";
    for (const std::string& model : {std::string(30, 'M'), std::string("K31\nstate=0"),
                                     std::string("K31\r"), std::string(" K31"), std::string()}) {
        EXPECT_FALSE(store.CreatePrinter("LPT1:", model, reason)) << model;
    }
    EXPECT_TRUE(store.CreatePrinter("LPT1:", "Orvane K32", reason)) << reason;
    EXPECT_EQ(store.Ports(), (std::vector<std::string>{"LPT1:", "VTUSB001", "VTUSB002"}));

    // A printer whose printer.conf was lost keeps its EEPROM: no new board
    // is written over it.
    const std::string eeprom = store.PrinterFolder("VTUSB002") + "/eeprom.bin";
    const std::string before = testing_support::ReadFile(eeprom);
    std::filesystem::remove(store.PrinterFolder("VTUSB002") + "/printer.conf");
    EXPECT_FALSE(store.CreatePrinter("VTUSB002", "Orvane K32", reason));
    EXPECT_NE(reason.find("eeprom.bin"), std::string::npos) << reason;
    EXPECT_EQ(testing_support::ReadFile(eeprom), before);
}

TEST(Store, ConfigurationSurvivesItsTextFormIncludingInkMarkers) {
    vprinter::PrinterConfig config;
    config.model = "Orvane K32";
    config.supported = false;
    config.powered = false;
    config.state = 0;
    config.error = 18;
    config.ink = {-5, 0x4E41, 0x5745, 100};
    config.paper = 0;
    config.busyPolls = 4;
    config.busySends = 2;
    config.readFaults = {{0x42, 0x2000}};
    config.writeFaults = {{0xFF, 0x1100}, {0x00, 0x2000}};
    const auto parsed = vprinter::ParsePrinterConfig(vprinter::FormatPrinterConfig(config));
    EXPECT_EQ(parsed.model, config.model);
    EXPECT_EQ(parsed.supported, false);
    EXPECT_EQ(parsed.powered, false);
    EXPECT_EQ(parsed.state, 0);
    EXPECT_EQ(parsed.error, 18);
    EXPECT_EQ(parsed.ink, config.ink);
    EXPECT_EQ(parsed.paper, 0);
    EXPECT_EQ(parsed.busyPolls, 4);
    EXPECT_EQ(parsed.busySends, 2);
    EXPECT_EQ(parsed.readFaults, config.readFaults);
    EXPECT_EQ(parsed.writeFaults, config.writeFaults);

    const auto garbled = vprinter::ParsePrinterConfig("state=900\nink=x,7\nunknown=1\nmodel=K\n");
    EXPECT_EQ(garbled.state, 4) << "an out-of-range value is skipped";
    EXPECT_EQ(garbled.ink[1], 7);
    EXPECT_EQ(garbled.model, "K");
}

class Persistence : public VirtualPrinterTest {};

TEST_F(Persistence, EepromWritesSurviveARestartOfTheVirtualPrinter) {
    ASSERT_EQ(OpenLink(), ResultOk);
    ASSERT_EQ(Link().D4WriteEeprom(0x42, 0x12), ResultOk);
    ASSERT_EQ(Link().D4WriteEeprom(0x75, 0xFD), ResultOk);

    Printers().Forget();  // the program ends; a new one starts
    ASSERT_EQ(OpenLink(), ResultOk);
    uint8_t value = 0;
    ASSERT_EQ(Link().D4ReadEeprom(0x42, value), ResultOk);
    EXPECT_EQ(value, 0x12);
    ASSERT_EQ(Link().D4ReadEeprom(0x75, value), ResultOk);
    EXPECT_EQ(value, 0xFD);

    const std::string file = StateFolder() + "/VTUSB001/eeprom.bin";
    EXPECT_EQ(fs::file_size(file), 256u);
    for (const auto& entry : fs::directory_iterator(StateFolder() + "/VTUSB001")) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
            << "a temporary file was left behind: " << entry.path();
    }
}

TEST_F(Persistence, ChangesInTheStateFolderReachTheLoadedLibraries) {
    ASSERT_EQ(OpenLink(), ResultOk);
    vprinter::Eeprom bytes = Eeprom();
    bytes[0x30] = 0x44;
    // Written behind the libraries' back, as the control tool does.
    ASSERT_EQ(orvane::ReplaceFile(StateFolder() + "/VTUSB001/eeprom.bin",
                                  std::string(bytes.begin(), bytes.end())),
              orvane::FileWrite::Done);
    uint8_t value = 0;
    ASSERT_EQ(Link().D4ReadEeprom(0x30, value), ResultOk);
    EXPECT_EQ(value, 0x44);
}

}  // namespace
