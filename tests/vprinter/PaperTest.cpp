// Sheets from the tray, paper out, the busy time of a printed page and the
// maintenance sequences, on the virtual clock.
#include "PrintFixture.h"

namespace {

using vprinter::Host;
using vprinter_test::PrintTest;
using vprinter_test::SamePixels;
using vprinter_test::Stream;

class Paper : public PrintTest {
  protected:
    void Tray(int sheets) {
        ChangePrinter("VTUSB001",
                      [sheets](vprinter::PrinterConfig& config) { config.paper = sheets; });
    }
    // A page whose dots, text and packet all show whether the call was used.
    static Stream Page(const std::string& caption) {
        Stream s;
        s.Init().SmallPage(200).Text(caption).Raw({0x0D, 0x0A}).Graphics().Resolution();
        s.Block(2, 3, 2).Run(6, 0xE4).CarriageReturn();
        s.Packet(0x00, 0x00, {1, 1, 7, 0});  // Bi-D VSD1 black 7
        return s.FormFeed();
    }
};

TEST_F(Paper, ASheetIsTakenOnlyWhenAPageMarksOrMovesThePaper) {
    Tray(3);
    ASSERT_EQ(Send(Stream().Init().SmallPage(100).Graphics().Unit(10).CarriageReturn().FormFeed()),
              ResultOk);
    EXPECT_EQ(Config().paper, 3);
    EXPECT_EQ(PagesPrinted(), 0u) << "a form feed without a sheet ejects nothing";
    for (const auto& start : {Stream().Text("t"), Stream().Raw({0x0A}), Stream().Down(1)}) {
        ASSERT_EQ(Send(Stream().Init().SmallPage(100)), ResultOk);
        ASSERT_EQ(Send(start), ResultOk);
        ASSERT_EQ(Send(Stream().Text("more").Raw({0x0D, 0x0A})), ResultOk);
        ASSERT_EQ(Send(Stream().FormFeed()), ResultOk);
        WaitPrinted();
    }
    EXPECT_EQ(Config().paper, 0);
    EXPECT_EQ(PagesPrinted(), 3u);
}

TEST_F(Paper, AnEmptyTrayRefusesTheWholeCallAndTheSameCallPrintsOnceLoaded) {
    // The page as a printer with paper prints it.
    ASSERT_EQ(OpenLink("VTUSB002"), ResultOk);
    ASSERT_EQ(Send(Page("second")), ResultOk);
    const vprinter::Page reference = LastPage("VTUSB002");

    ASSERT_EQ(OpenLink("VTUSB001"), ResultOk);
    Tray(1);
    ASSERT_EQ(Send(Page("first")), ResultOk);
    WaitPrinted();
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) { eeprom[0x34] = 0; });

    const Stream second = Page("second");
    EXPECT_EQ(Send(second), ResultChannelError);
    EXPECT_EQ(ChannelError(), ChannelErrorBusy);
    const PrinterStatus status = Status();
    EXPECT_EQ(status.State(), PrinterStatus::StateError);
    EXPECT_EQ(status.ErrorCode(), 6);
    EXPECT_EQ(Eeprom()[0x34], 0) << "the packet in the refused call was not applied";
    EXPECT_EQ(Printers().SheetInPrinter("VTUSB001"), nullptr);
    EXPECT_EQ(Send(second), ResultChannelError) << "still out of paper";

    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.paper = 5;
        config.state = 4;
        config.error = 0;
    });
    ASSERT_EQ(Send(second), ResultOk);
    EXPECT_EQ(Eeprom()[0x34], 7);
    EXPECT_EQ(Config().paper, 4);
    EXPECT_EQ(LastPage().AllText(), "second\n");
    EXPECT_TRUE(SamePixels(LastPage(), reference)) << "no byte lost or doubled";
}

TEST_F(Paper, WhileAPageComesOutThePrinterIsPrintingAndRefusesData) {
    ASSERT_EQ(Send(Page("one")), ResultOk);
    EXPECT_EQ(Status().State(), PrinterStatus::StatePrinting);
    EXPECT_EQ(Send(Stream().Init()), ResultChannelError);
    EXPECT_EQ(ChannelError(), ChannelErrorBusy);
    Clock().Sleep(Host::kPagePrintMilliseconds - 1);
    EXPECT_EQ(Status().State(), PrinterStatus::StatePrinting);
    Clock().Sleep(1);
    EXPECT_EQ(Status().State(), PrinterStatus::StateReady);
    EXPECT_EQ(Send(Stream().Init()), ResultOk);

    // Two pages in one call take twice as long.
    Stream two = Page("a");
    const Stream b = Page("b");
    two.bytes.insert(two.bytes.end(), b.bytes.begin(), b.bytes.end());
    ASSERT_EQ(Send(two), ResultOk);
    Clock().Sleep(2 * Host::kPagePrintMilliseconds - 1);
    EXPECT_EQ(Status().State(), PrinterStatus::StatePrinting);
    Clock().Sleep(1);
    EXPECT_EQ(Status().State(), PrinterStatus::StateReady);
}

TEST_F(Paper, HeadCleaningTakesAHundredSecondsInkAndAPlaceInTheWasteInkPad) {
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
        eeprom[0x0C] = 0x01;  // 300
        eeprom[0x0D] = 0x2C;
    });
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.ink = {50, 2, 0x4E41, 60};
    });
    ASSERT_EQ(Send(Stream().Packet(0x84, 0x42, {2})), ResultOk);
    EXPECT_EQ(Status().State(), PrinterStatus::StateCleaning);
    const auto eeprom = Eeprom();
    EXPECT_EQ(eeprom[0x0C] << 8 | eeprom[0x0D], 300 + static_cast<int>(Host::kCleaningWasteInk));
    EXPECT_EQ(Config().ink, (std::array<int16_t, 4>{42, 0, 0x4E41, 57}));

    ASSERT_EQ(Send(Stream().Packet(0x84, 0x42, {2})), ResultOk);
    ASSERT_EQ(Faults().size(), 1u) << "one sequence at a time";
    EXPECT_EQ(Eeprom(), eeprom);
    Clock().Sleep(Host::kCleaningMilliseconds - 1);
    EXPECT_EQ(Status().State(), PrinterStatus::StateCleaning);
    Clock().Sleep(1);
    EXPECT_EQ(Status().State(), PrinterStatus::StateReady);
}

TEST_F(Paper, AnInkChargeReadiesAPrinterThatWaitedForItsFirstCharge) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.state = 8; });
    EXPECT_EQ(Status().State(), PrinterStatus::StateBeforeInkCharge);
    ASSERT_EQ(Send(Stream().Packet(0x84, 0x42, {7})), ResultOk);
    EXPECT_EQ(Status().State(), PrinterStatus::StateCleaning);
    EXPECT_EQ(Eeprom()[0x0D], Host::kInkChargeWasteInk & 0xFF);
    Clock().Sleep(Host::kInkChargeMilliseconds - 1);
    EXPECT_EQ(Status().State(), PrinterStatus::StateCleaning);
    Clock().Sleep(1);
    EXPECT_EQ(Status().State(), PrinterStatus::StateReady);
    Printers().Forget();  // ready for good, not only in this process
    ASSERT_EQ(OpenLink(), ResultOk);
    EXPECT_EQ(Status().State(), PrinterStatus::StateReady);
    EXPECT_EQ(Config().ink, (std::array<int16_t, 4>{57, 72, 72, 72}));
}

}  // namespace
