// Single-byte EEPROM access through the link object, as every module uses it.
#include <gtest/gtest.h>

#include <set>

#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "support/LinkFixture.h"

namespace {

using testing_support::VirtualPrinterTest;

class EepromAccess : public VirtualPrinterTest {};

TEST_F(EepromAccess, SignedValuesAndTheWasteCounterReadAsTheMapSays) {
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& bytes) {
        bytes[eeprom::BidVsd1Black] = 0xD8;
        bytes[eeprom::WasteCounterHigh] = 0x01;
        bytes[eeprom::WasteCounterLow] = 0x2C;
    });
    ASSERT_EQ(OpenLink(), ResultOk);
    uint8_t value = 0;
    ASSERT_EQ(Link().D4ReadEeprom(eeprom::BidVsd1Black, value), ResultOk);
    EXPECT_EQ(static_cast<int8_t>(value), -40);
    uint8_t high = 0;
    uint8_t low = 0;
    ASSERT_EQ(Link().D4ReadEeprom(eeprom::WasteCounterLow, low), ResultOk);
    ASSERT_EQ(Link().D4ReadEeprom(eeprom::WasteCounterHigh, high), ResultOk);
    EXPECT_EQ(high * 256 + low, 300);
    ASSERT_EQ(Link().D4ReadEeprom(eeprom::kLastAddress, value), ResultOk);
}

TEST_F(EepromAccess, AFailedReadPassesTheLibrarysCodeOnAndLeavesTheByte) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.readFaults[0x42] = 0x1100;
        config.writeFaults[0x43] = 0x2000;
    });
    ASSERT_EQ(OpenLink(), ResultOk);
    uint8_t value = 0x99;
    EXPECT_EQ(Link().D4ReadEeprom(0x42, value), ResultPortNoResponse);
    EXPECT_EQ(value, 0x99);
    EXPECT_EQ(Link().D4WriteEeprom(0x43, 0x10), ResultChannelError);
    EXPECT_EQ(Eeprom()[0x43], 0xFF) << "a refused write must leave the byte";
    EXPECT_EQ(Link().D4WriteEeprom(0x44, 0x10), ResultOk);
    EXPECT_EQ(Eeprom()[0x44], 0x10);
}

TEST(EepromMap, TheBackupListHoldsSixtyFourDistinctAddressesOfTheMap) {
    const std::set<uint8_t> distinct(eeprom::BackupAddresses.begin(),
                                     eeprom::BackupAddresses.end());
    EXPECT_EQ(distinct.size(), 64u);
    for (const uint8_t address :
         {eeprom::WasteCounterHigh, eeprom::WasteCounterLow, eeprom::WasteLimitA, eeprom::PfBlack,
          eeprom::PfColour, eeprom::BidEcoBlack, eeprom::BidVsd3Colour, eeprom::WasteLimitB,
          eeprom::WasteLimitC, eeprom::HeadIdNinth, eeprom::HeatProtectOffset, eeprom::FirstDot,
          eeprom::TopMargin, eeprom::HeadAngular}) {
        EXPECT_EQ(distinct.count(address), 1u) << std::hex << int(address);
    }
    for (const uint8_t address : {eeprom::MarketFixed30, eeprom::MarketFixed31,
                                  eeprom::MarketSecondCode, eeprom::MarketFirstCode}) {
        EXPECT_EQ(distinct.count(address), 0u) << "the destination is written anew, not copied";
    }
    EXPECT_EQ(eeprom::BackupAddresses.back(), eeprom::HeadAngular);
}

}  // namespace
