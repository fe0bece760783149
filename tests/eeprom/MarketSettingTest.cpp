// The market destination: what the setting writes for each model and what
// the pair of destination bytes reads as.
#include <gtest/gtest.h>

#include "EepromTrace.h"
#include "eeprom/EepromMap.h"
#include "eeprom/Rk7eeprom.h"
#include "link/ResultCodes.h"
#include "support/LinkFixture.h"

namespace {

using eeprom_tests::AddressesOf;
using eeprom_tests::AddressValue;
using eeprom_tests::WritesOf;

class MarketSetting : public testing_support::VirtualPrinterTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(OpenLink("VTUSB002"), ResultOk);
        ClearTrace();
    }

    void StoreDestination(uint8_t first, uint8_t second) {
        ChangeEeprom("VTUSB002", [&](vprinter::Eeprom& bytes) {
            bytes[eeprom::MarketFirstCode] = first;
            bytes[eeprom::MarketSecondCode] = second;
        });
    }

    TPEeprom module_{Link(), "/nonexistent"};
};

TEST_F(MarketSetting, TheK32WritesTheFixedBytesThenItsDestinationInThisOrder) {
    ASSERT_EQ(module_.WriteMarketSetting(TPEeprom::ModelCodeK32), ResultOk);
    const std::vector<AddressValue> expected = {
        {0x30, 0x04}, {0x31, 0x00}, {0x59, 0x18}, {0x6E, 0x00}, {0x5B, 0xB2}};
    EXPECT_EQ(WritesOf(Calls("D4WriteEeprom")), expected);
    uint8_t destination = 0;
    ASSERT_EQ(module_.ReadMarketSetting(destination), ResultOk);
    EXPECT_EQ(destination, TPEeprom::DestinationNorthAmericaWestEuro);
}

TEST_F(MarketSetting, EveryOtherModelCodeWritesItsOwnPairAndReadsBackAsItsDestination) {
    struct Case {
        uint8_t model;
        AddressValue first;
        AddressValue second;
        uint8_t destination;
    };
    for (const Case& c :
         {Case{TPEeprom::ModelCodeK31, {0x6E, 0x04}, {0x5B, 0xF2}, 1},
          Case{0, {0x6E, 0x06}, {0x5B, 0x32}, 0}, Case{255, {0x6E, 0x06}, {0x5B, 0x32}, 0}}) {
        ClearTrace();
        ASSERT_EQ(module_.WriteMarketSetting(c.model), ResultOk);
        const std::vector<AddressValue> expected = {
            {0x30, 0x04}, {0x31, 0x00}, {0x59, 0x18}, c.first, c.second};
        EXPECT_EQ(WritesOf(Calls("D4WriteEeprom")), expected) << int(c.model);
        uint8_t destination = 99;
        ASSERT_EQ(module_.ReadMarketSetting(destination), ResultOk);
        EXPECT_EQ(destination, c.destination) << int(c.model);
    }
}

TEST_F(MarketSetting, APairThatNoDestinationUsesReadsAs255) {
    // Mixed halves of two destinations, and an unwritten board.
    for (const auto& [first, second] : std::vector<std::pair<uint8_t, uint8_t>>{
             {0x00, 0xF2}, {0x04, 0xB2}, {0x06, 0xB2}, {0x00, 0x32}, {0xFF, 0xFF}}) {
        StoreDestination(first, second);
        ClearTrace();
        uint8_t destination = 0;
        ASSERT_EQ(module_.ReadMarketSetting(destination), ResultOk);
        EXPECT_EQ(destination, TPEeprom::DestinationUnknown) << int(first) << " " << int(second);
        EXPECT_EQ(AddressesOf(Calls("D4ReadEeprom")), (std::vector<int>{0x6E, 0x5B}));
    }
}

TEST_F(MarketSetting, AFailingWriteEndsTheSettingWithItsCodeAndKeepsWhatWasWritten) {
    ChangePrinter("VTUSB002", [](vprinter::PrinterConfig& config) {
        config.writeFaults[eeprom::FirstDot] = ResultChannelError;
    });
    ChangeEeprom("VTUSB002", [](vprinter::Eeprom& bytes) { bytes[0x30] = 0x77; });
    ClearTrace();
    EXPECT_EQ(module_.WriteMarketSetting(TPEeprom::ModelCodeK32), ResultChannelError);
    EXPECT_EQ(Calls("D4WriteEeprom").size(), 3u) << "nothing after the failing write";
    EXPECT_EQ(Eeprom("VTUSB002")[0x30], 0x04);
    EXPECT_EQ(Eeprom("VTUSB002")[eeprom::MarketFirstCode], 0xFF);
}

TEST_F(MarketSetting, AFailingReadLeavesTheDestinationAlone) {
    StoreDestination(0x00, 0xB2);
    ChangePrinter("VTUSB002", [](vprinter::PrinterConfig& config) {
        config.readFaults[eeprom::MarketSecondCode] = ResultPortNoResponse;
    });
    uint8_t destination = 42;
    EXPECT_EQ(module_.ReadMarketSetting(destination), ResultPortNoResponse);
    EXPECT_EQ(destination, 42);
}

}  // namespace
