// The control tool reads a full dump file back, and compares it with a
// virtual printer's EEPROM.
#include <gtest/gtest.h>

#include <algorithm>

#include "eeprom/EepromImage.h"
#include "support/LinkFixture.h"
#include "support/LinuxOnly.h"
#include "support/PlantedFifo.h"
#include "support/Process.h"

namespace {

using testing_support::ProcessResult;

class DumpTool : public testing_support::VirtualPrinterTest {
  protected:
    // Bounded: a tool that waited on a FIFO or read a device without end
    // would be ended, and fail the test, instead of holding it up.
    ProcessResult Tool(std::vector<std::string> args) {
        args.insert(args.begin(),
                    {testing_support::OutputFolder() + "/orvane-vprinter", "--dir", StateFolder()});
        return testing_support::RunProcessBounded(args, StateFolder(), std::chrono::seconds(60));
    }

    // Writes the dump of the printer's present EEPROM to a file.
    std::string DumpOf(const std::string& port) {
        eeprom::Bytes bytes{};
        const auto board = Eeprom(port);
        std::copy(board.begin(), board.end(), bytes.begin());
        orvane::StdRandom random;
        random.Seed(12345);
        const eeprom::Image image = eeprom::BuildImage(bytes, random);
        const std::string path = files_ / "dump.eep";
        testing_support::WriteFile(path, std::string(image.begin(), image.end()));
        return path;
    }

    testing_support::TempFolder files_;
};

TEST_F(DumpTool, ShowsTheBytesOfADumpAsTheEepromCommandShowsThePrinters) {
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& bytes) {
        for (size_t a = 0; a < bytes.size(); ++a) {
            bytes[a] = static_cast<uint8_t>(a * 7);
        }
    });
    const auto decoded = Tool({"decode-dump", DumpOf("VTUSB001")});
    ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
    const auto shown = Tool({"eeprom", "VTUSB001"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(decoded.out, shown.out);
    EXPECT_NE(decoded.out.find("10: 70 77 7E 85 "), std::string::npos) << decoded.out;
}

TEST_F(DumpTool, ComparesADumpWithAPrinterAndListsEveryDifference) {
    const std::string path = DumpOf("VTUSB002");
    auto same = Tool({"decode-dump", path, "--compare", "VTUSB002"});
    ASSERT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "no differences\n");

    ChangeEeprom("VTUSB002", [](vprinter::Eeprom& bytes) {
        bytes[0x42] = 0x10;
        bytes[0xFF] = 0x00;
    });
    const auto differ = Tool({"decode-dump", path, "--compare", "VTUSB002"});
    ASSERT_EQ(differ.exitCode, 0) << differ.err;
    EXPECT_EQ(differ.out, "42: dump FF, VTUSB002 10\nFF: dump FF, VTUSB002 00\n2 differences\n");
}

TEST_F(DumpTool, EveryBadArgumentGetsOneLineAndExitCodeTwo) {
#ifdef _WIN32
    ORVANE_LINUX_ONLY("a FIFO and a device node among the bad arguments");
#else
    const std::string good = DumpOf("VTUSB001");
    const std::string shorter = files_ / "short.eep";
    testing_support::WriteFile(shorter, testing_support::ReadFile(good).substr(1));
    const std::string plain = files_ / "plain.eep";
    testing_support::WriteFile(plain, std::string(1024, '\0'));
    const std::string longer = files_ / "long.eep";
    testing_support::WriteFile(longer, std::string(1025, '\0'));
    // Neither is read: the FIFO would keep the tool waiting, the device give
    // bytes without end.
    testing_support::PlantedFifo fifo(files_ / "fifo.eep");
    ASSERT_TRUE(fifo.Made());
    const std::string zero = files_ / "zero.eep";
    const bool zeroMade = testing_support::MakeCharacterDevice(zero, 5);

    const std::vector<std::vector<std::string>> bad = {
        {"decode-dump"},
        {"decode-dump", files_ / "missing.eep"},
        {"decode-dump", files_.Path()},
        {"decode-dump", shorter},
        {"decode-dump", plain},
        {"decode-dump", longer},
        {"decode-dump", files_ / "fifo.eep"},
        {"decode-dump", zeroMade ? zero : files_ / "fifo.eep"},
        {"decode-dump", good, "--compare", "VTUSB009"},
        {"decode-dump", good, "--compare"},
        {"decode-dump", good, "extra"},
    };
    for (const auto& args : bad) {
        const auto result = Tool(args);
        std::string shown;
        for (const auto& arg : args) {
            shown += arg + " ";
        }
        EXPECT_FALSE(result.timedOut) << shown;
        EXPECT_EQ(result.exitCode, 2) << shown;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << shown << result.err;
        EXPECT_EQ(result.err.rfind("orvane-vprinter: ", 0), 0u) << shown << result.err;
        EXPECT_EQ(result.out, "") << shown;
    }
    EXPECT_FALSE(fifo.WasOpened());
#endif
}

}  // namespace
