// The CR motor drive dispersion sequence.
#include <gtest/gtest.h>

#include "adjust/Rk7heatprotectoffset.h"
#include "eeprom/EepromTrace.h"
#include "link/ResultCodes.h"
#include "support/LinkFixture.h"

namespace {

using eeprom_tests::AddressValue;
using eeprom_tests::WritesOf;

class HeatProtect : public testing_support::VirtualPrinterTest {
  protected:
    void SetUp() override { ASSERT_EQ(OpenLink(), ResultOk); }

    TPHeatProtect module_{Link()};
};

TEST_F(HeatProtect, AlwaysWritesTheFixedOffsetWhateverTheAddressHeld) {
    for (const uint8_t before : {0x00, 0x36, 0x37, 0xFF}) {
        ChangeEeprom("VTUSB001", [&](vprinter::Eeprom& bytes) { bytes[0x56] = before; });
        ClearTrace();
        ASSERT_EQ(module_.WriteHeatProtectOffset(), ResultOk);
        EXPECT_EQ(WritesOf(Calls("D4WriteEeprom")), (std::vector<AddressValue>{{0x56, 0x36}}));
        EXPECT_EQ(CallNames(), std::vector<std::string>{"D4WriteEeprom"});
        EXPECT_EQ(Eeprom()[0x56], 0x36) << int(before);
    }
}

TEST_F(HeatProtect, AFailedWriteReturnsItsCode) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.writeFaults[0x56] = ResultChannelError;
    });
    EXPECT_EQ(module_.WriteHeatProtectOffset(), ResultChannelError);
    EXPECT_NE(Eeprom()[0x56], 0x36);
}

}  // namespace
