// Command packets: what each does to the EEPROM, and the packets the printer
// refuses.
#include "PrintFixture.h"

namespace {

using vprinter_test::PrintTest;
using vprinter_test::Stream;

class Packets : public PrintTest {};

TEST_F(Packets, ABiDPacketStoresItsValueAtTheAddressOfItsModeAndColourAtOnce) {
    const struct {
        int mode;
        int colour;
        int value;
        uint8_t address;
    } cases[] = {{0, 1, 5, 0x32}, {0, 2, -5, 0x33}, {1, 1, 36, 0x34},  {1, 2, -36, 0x35},
                 {2, 1, 1, 0x36}, {2, 2, -3, 0x37}, {3, 1, 127, 0x38}, {3, 2, -128, 0x39}};
    for (const auto& c : cases) {
        Stream s;
        s.Packet(0x00, 0x00, {c.mode, c.colour, c.value & 0xFF, c.value < 0 ? 0xFF : 0x00});
        ASSERT_EQ(Send(s), ResultOk);
    }
    const auto eeprom = Eeprom();
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<int8_t>(eeprom[c.address]), c.value) << std::hex << int(c.address);
    }
    EXPECT_EQ(Faults(), std::vector<std::string>{});
}

TEST_F(Packets, AdjustmentValuesWaitForTheStorePacketAndARestartForgetsThem) {
    Stream values;
    values
        .Packet(0x04, 0x02, {0xFE, 1})  // PF black -2
        .Packet(0x04, 0x02, {0x03, 2})  // PF colour 3
        .Packet(0x05, 0x82, {0xFD})     // head angular -3
        .Packet(0x07, 0x83, {0x28})     // top margin 40
        .Packet(0x06, 0x03, {0x81});    // first dot -127
    ASSERT_EQ(Send(values), ResultOk);
    EXPECT_EQ(Eeprom(), vprinter::Store::FreshBoard()) << "nothing is written before the store";

    ASSERT_EQ(Send(Stream().Packet(0x50, 0x28, {})), ResultOk);
    auto eeprom = Eeprom();
    EXPECT_EQ(eeprom[0x2C], 0xFE);
    EXPECT_EQ(eeprom[0x2D], 0x03);
    EXPECT_EQ(eeprom[0x75], 0xFD);
    EXPECT_EQ(eeprom[0x5A], 0x28);
    EXPECT_EQ(eeprom[0x59], 0x81);

    // A test value sent while printing and the stored value sent back: the
    // EEPROM keeps the stored one until a store.
    ASSERT_EQ(Send(Stream().Packet(0x04, 0x02, {0x05, 1})), ResultOk);
    ASSERT_EQ(Link().D4Reset(), ResultOk);
    Clock().Sleep(vprinter::Host::kRestartMilliseconds);
    ASSERT_EQ(Send(Stream().Packet(0x50, 0x28, {})), ResultOk);
    EXPECT_EQ(Eeprom()[0x2C], 0xFE);
    EXPECT_EQ(Faults(), std::vector<std::string>{});
}

TEST_F(Packets, MalformedPacketsAreFaultsAndChangeNothing) {
    const std::vector<std::vector<int>> bad = {
        {0x1B, 0x7C, 0x00, 0x09, 0x00, 0x0B, 0x55, 0x00, 0xFF, 0x00, 1, 1, 5, 0},     // code byte
        {0x1B, 0x7C, 0x00, 0x09, 0x00, 0x0B, 0x54, 0x00, 0xFE, 0x00, 1, 1, 5, 0},     // complement
        {0x1B, 0x7C, 0x01, 0x09, 0x00, 0x0B, 0x54, 0x00, 0xFF, 0x00, 1, 1, 5, 0},     // fixed byte
        {0x1B, 0x7C, 0x00, 0x08, 0x00, 0x0B, 0x54, 0x00, 0xFF, 0x00, 1, 1, 5},        // too short
        {0x1B, 0x7C, 0x00, 0x09, 0x00, 0x0B, 0x54, 0x00, 0xFF, 0x00, 1, 1, 5, 0xFF},  // 16 bits
        {0x1B, 0x7C, 0x00, 0x09, 0x00, 0x0B, 0x54, 0x00, 0xFF, 0x00, 4, 1, 5, 0},     // mode
        {0x1B, 0x7C, 0x00, 0x07, 0x00, 0x0B, 0x54, 0x04, 0xFB, 0x02, 5, 3},           // PF colour
        {0x1B, 0x7C, 0x00, 0x06, 0x00, 0x0B, 0x54, 0x84, 0x7B, 0x42, 5},              // sequence
        {0x1B, 0x7C, 0x00, 0x06, 0x00, 0x0B, 0x54, 0x05, 0xFA, 0x83, 1},              // function
        {0x1B, 0x7C, 0x00, 0x06, 0x00, 0x0B, 0x54, 0x09, 0xF6, 0x00, 1},              // command
        {0x1B, 0x7C, 0x00, 0x02, 0x00, 0x0B, 0x54},                                   // no command
    };
    for (const auto& packet : bad) {
        ClearTrace();
        std::vector<uint8_t> bytes(packet.begin(), packet.end());
        bytes.push_back('x');  // read on after the packet, whatever its content
        ASSERT_EQ(Send(bytes), ResultOk);
        EXPECT_EQ(Faults().size(), 1u) << "packet " << &packet - bad.data();
    }
    ASSERT_EQ(Send(Stream().Packet(0x50, 0x28, {})), ResultOk);
    EXPECT_EQ(Eeprom(), vprinter::Store::FreshBoard());
    EXPECT_EQ(Status().State(), PrinterStatus::StateReady) << "no maintenance started";
    ASSERT_NE(Printers().SheetInPrinter("VTUSB001"), nullptr);
    EXPECT_EQ(Printers().SheetInPrinter("VTUSB001")->AllText(),
              std::string(bad.size(), 'x') + "\n");
}

TEST_F(Packets, TheCodeBytesAreThePairTheChannelWasGiven) {
    Link().SetD4CommandRCode(0x21, 0x43);
    Stream ours;
    ours.Raw({0x1B, 0x7C, 0x00, 0x06, 0x00, 0x21, 0x43, 0x05, 0xFA, 0x82, 0x07});
    ASSERT_EQ(Send(ours), ResultOk);
    ASSERT_EQ(Send(Stream().Packet(0x05, 0x82, {0x09})), ResultOk);  // 0B 54
    ASSERT_EQ(Send(Stream().Raw({0x1B, 0x7C, 0x00, 0x05, 0x00, 0x21, 0x43, 0x50, 0xAF, 0x28})),
              ResultOk);
    EXPECT_EQ(Eeprom()[0x75], 0x07);
    ASSERT_EQ(Faults().size(), 1u);
    EXPECT_NE(Faults()[0].find("code bytes 0B 54, the channel expects 21 43"), std::string::npos)
        << Faults()[0];
}

TEST_F(Packets, APacketSplitOverCallsIsAppliedOnceWhenItIsWhole) {
    Stream s;
    s.Packet(0x00, 0x00, {2, 2, 0xFD, 0xFF}).Text("A");
    ASSERT_EQ(SendInPieces(s, 3), ResultOk);
    EXPECT_EQ(Eeprom()[0x37], 0xFD);
    EXPECT_EQ(Faults(), std::vector<std::string>{});
    ASSERT_NE(Printers().SheetInPrinter("VTUSB001"), nullptr);
}

}  // namespace
