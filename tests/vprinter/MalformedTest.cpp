// Print data the printer cannot use: each fault is recorded with its offset
// and the printer reads on from where the stream makes sense again.
#include <random>

#include "PrintFixture.h"

namespace {

using vprinter::Ink;
using vprinter::Page;
using vprinter_test::PrintTest;
using vprinter_test::Stream;

class Malformed : public PrintTest {
  protected:
    // The text on the sheet in the printer.
    std::string SheetText() {
        const Page* sheet = Printers().SheetInPrinter("VTUSB001");
        return sheet == nullptr ? "(no sheet)" : sheet->AllText();
    }
    // Exactly one fault whose note holds the words.
    ::testing::AssertionResult OneFault(const std::string& words) {
        const auto faults = Faults();
        if (faults.size() == 1 && faults[0].find(words) != std::string::npos) {
            return ::testing::AssertionSuccess();
        }
        auto failure = ::testing::AssertionFailure() << faults.size() << " faults:";
        for (const auto& note : faults) {
            failure << " [" << note << "]";
        }
        return failure;
    }
};

TEST_F(Malformed, AnUnknownCommandIsDroppedWithItsCommandByte) {
    ASSERT_EQ(Send(Stream().Init().Raw({0x1B, 'Q'}).Text("ok")), ResultOk);
    EXPECT_TRUE(OneFault("offset 2: unknown command ESC 0x51"));
    EXPECT_EQ(SheetText(), "ok\n");
}

TEST_F(Malformed, ALengthGivesTheExtentOfAnUnknownOrMisshapenCommand) {
    Stream s;
    s.Init().Raw({0x1B, 0x28, 'Z', 3, 0}).Text("abc");  // unknown, skipped whole
    s.Raw({0x1B, 0x28, 'U', 2, 0}).Text("de");          // ESC ( U never has 2 bytes
    s.Text("seen");
    ASSERT_EQ(SendInPieces(s, 4), ResultOk);
    const auto faults = Faults();
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_NE(faults[0].find("ESC ( Z with 3 parameter bytes"), std::string::npos) << faults[0];
    EXPECT_NE(faults[1].find("ESC ( U with 2 parameter bytes"), std::string::npos) << faults[1];
    EXPECT_EQ(SheetText(), "seen\n");
}

TEST_F(Malformed, ABlockThatEndsShortLeavesTheRestBlankAndTheNextCommandIsRead) {
    Stream s;
    s.Init().SmallPage(30).Graphics().Resolution().Block(0, 2, 2).Run(3, 0xFF);
    s.CarriageReturn().Init().Text("T").FormFeed();
    ASSERT_EQ(Send(s), ResultOk);
    EXPECT_TRUE(OneFault("raster block ends short: 3 of 4 bytes; 0x1B begins no unit"));
    const Page& page = LastPage();
    EXPECT_EQ(page.Level(Ink::Black, 3, 3), 3);
    EXPECT_EQ(page.Level(Ink::Black, 3, 4), 0);
    EXPECT_EQ(page.AllText(), "T\n") << "the commands after the block were read";
}

TEST_F(Malformed, AUnitThatRunsPastTheBlockIsCutAtItsEnd) {
    Stream s;
    s.Init().SmallPage(30).Graphics().Resolution().Block(0, 2, 1).Run(5, 0xFF).FormFeed();
    ASSERT_EQ(Send(s), ResultOk);
    EXPECT_TRUE(OneFault("decodes long: a unit of 5 bytes where 2 were left"));
    const Page& page = LastPage();
    EXPECT_EQ(page.Level(Ink::Black, 0, 7), 3);
    EXPECT_EQ(page.Level(Ink::Black, 0, 8), 0);
}

TEST_F(Malformed, RemoteSettingsAreCheckedByTheirSum) {
    std::vector<int> table(72);
    for (int i = 0; i < 72; ++i) {
        table[static_cast<size_t>(i)] = (i * 37) & 0xFF;
    }
    int sum = 0;
    for (const int byte : table) {
        sum += byte;
    }
    const auto setting = [&table](int checkSum) {
        Stream s;
        s.RemoteEntry().Raw({'S', 'N', 0x4C, 0x00, 0x00, 0x09});
        for (const int byte : table) {
            s.Raw({byte});
        }
        return s.Raw({checkSum & 0xFF, (checkSum >> 8) & 0xFF}).RemoteExit();
    };
    ASSERT_EQ(Send(setting(sum)), ResultOk);
    EXPECT_EQ(Faults(), std::vector<std::string>{});
    ASSERT_EQ(Send(setting(sum + 1)), ResultOk);
    EXPECT_TRUE(OneFault("SN check sum"));
    ClearTrace();
    ASSERT_EQ(Send(Stream().RemoteEntry().Raw({'X', 'Y', 2, 0, 'a', 'b'}).RemoteExit().Text("z")),
              ResultOk);
    EXPECT_TRUE(OneFault("unknown remote command XY"));
    EXPECT_EQ(SheetText(), "z\n");
}

TEST_F(Malformed, RemoteModeWithoutItsExitEndsAtTheFirstByteThatIsNoRemoteCommand) {
    Stream s;
    s.Init().SmallPage(400).Text("a").RemoteEntry().Raw({'N', 'C', 2, 0, 0, 0}).FormFeed();
    ASSERT_EQ(Send(s), ResultOk);
    EXPECT_TRUE(OneFault("remote mode left without its exit"));
    EXPECT_EQ(PagesPrinted(), 1u) << "the form feed was read as one";
}

TEST_F(Malformed, StrayBytesAreOneFaultARun) {
    ASSERT_EQ(Send(Stream().Init().Raw({0x89, 0x00, 0x00, 0x80, 0x07, 0x7F}).Text("y")), ResultOk);
    const auto faults = Faults();
    ASSERT_EQ(faults.size(), 2u) << "zero bytes between stray bytes are fine";
    EXPECT_EQ(faults[0], "offset 2: 1 byte the printer has no use for (the first 0x89)");
    EXPECT_NE(faults[1].find("3 bytes the printer has no use for (the first 0x80)"),
              std::string::npos)
        << faults[1];
}

TEST_F(Malformed, FaultsOfOneCallAreBoundedAndAnyNoiseLeavesAPrinterThatRestartsClean) {
    Stream unknown;
    for (int i = 0; i < 100; ++i) {
        unknown.Raw({0x1B, 'Q'});
    }
    ASSERT_EQ(Send(unknown), ResultOk);
    const auto faults = Faults();
    ASSERT_EQ(faults.size(), vprinter::Host::kFaultsPerCall + 1);
    EXPECT_EQ(faults.back(), "68 further faults of this call are not recorded");

    std::mt19937 random(20261207);
    std::vector<uint8_t> noise(1000);
    for (int call = 0; call < 40; ++call) {
        for (auto& byte : noise) {
            byte = static_cast<uint8_t>(random());
        }
        const uint16_t result = Send(noise);
        ASSERT_TRUE(result == ResultOk || result == ResultChannelError);
        if (result == ResultChannelError) {  // a page is printing, or paper ran out
            ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
                config.paper = 100;
                config.state = 4;
                config.error = 0;
            });
            WaitPrinted();
        }
    }
    ASSERT_EQ(Link().D4Reset(), ResultOk);
    Clock().Sleep(vprinter::Host::kRestartMilliseconds + vprinter::Host::kPagePrintMilliseconds);
    ClearTrace();
    ASSERT_EQ(Send(Stream().Init().SmallPage(80).Text("clean").FormFeed()), ResultOk);
    EXPECT_EQ(Faults(), std::vector<std::string>{});
    EXPECT_EQ(LastPage().AllText(), "clean\n");
}

}  // namespace
