// The waste ink pad counter: the read order, the maximum worked out from the
// three usage bytes, the texts, and the reset.
#include <gtest/gtest.h>

#include "adjust/Rk7maintenance.h"
#include "eeprom/EepromTrace.h"
#include "link/ResultCodes.h"
#include "support/LinkFixture.h"

namespace {

using eeprom_tests::AddressesOf;
using eeprom_tests::AddressValue;
using eeprom_tests::WritesOf;

struct Counter {
    std::string maximum;
    std::string present;
    std::string rate;
};

class WasteInkCounter : public testing_support::VirtualPrinterTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(OpenLink(), ResultOk);
        ClearTrace();
    }

    void Store(int present, uint8_t a, uint8_t b, uint8_t c) {
        ChangeEeprom("VTUSB001", [&](vprinter::Eeprom& bytes) {
            bytes[0x0C] = static_cast<uint8_t>(present >> 8);
            bytes[0x0D] = static_cast<uint8_t>(present & 0xFF);
            bytes[0x2B] = a;
            bytes[0x3E] = b;
            bytes[0x3F] = c;
        });
        ClearTrace();
    }

    Counter Read() {
        Counter counter{"unset", "unset", "unset"};
        EXPECT_EQ(module_.ReadWasteInkCounter(counter.maximum, counter.present, counter.rate),
                  ResultOk);
        return counter;
    }

    TPMaintenance module_{Link()};
};

TEST_F(WasteInkCounter, ReadsThePresentCountThenTheUsageBytesAndFormatsTheThreeTexts) {
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& bytes) {
        bytes[0x0C] = 0x01;
        bytes[0x0D] = 0x2C;
        bytes[0x2B] = bytes[0x3E] = bytes[0x3F] = 0;
    });
    ClearTrace();
    const Counter counter = Read();
    EXPECT_EQ(counter.maximum, "12500");
    EXPECT_EQ(counter.present, "300");
    EXPECT_EQ(counter.rate, "2 %");
    EXPECT_EQ(AddressesOf(Calls("D4ReadEeprom")), (std::vector<int>{0x0D, 0x0C, 0x2B, 0x3E, 0x3F}));
    EXPECT_TRUE(Calls("D4WriteEeprom").empty());
}

TEST_F(WasteInkCounter, TheMaximumFollowsTheUsageBytes) {
    struct Case {
        uint8_t a, b, c;
        uint16_t maximum;
    };
    const Case cases[] = {
        {25, 0, 0, 25000},    // 12500 + 12500
        {10, 5, 2, 15800},    // 12500 + 5000 - 1000 - 700
        {50, 0, 0, 25000},    // last value of the first formula, clamped from 37500
        {51, 0, 30, 14700},   // first value of the second formula: 15000 + 10200 - 10500
        {60, 10, 10, 21500},  // 15000 + 12000 - 2000 - 3500
        {5, 0, 0, 15000},    {0, 1, 0, 12500},  // below the range: the lowest maximum
    };
    for (const Case& c : cases) {
        Store(0, c.a, c.b, c.c);
        uint16_t maximum = 0;
        ASSERT_EQ(module_.ComputeMaximumCount(maximum), ResultOk);
        EXPECT_EQ(maximum, c.maximum) << int(c.a) << " " << int(c.b) << " " << int(c.c);
        EXPECT_EQ(AddressesOf(Calls("D4ReadEeprom")), (std::vector<int>{0x2B, 0x3E, 0x3F}));
    }
}

TEST_F(WasteInkCounter, AMaximumFarOutsideTheRangeIsClampedNotWrapped) {
    // 12500 - 36 * 350 = -100: a 16-bit sum would wrap to 65436 and show the
    // highest maximum for a pad that is worn the most.
    EXPECT_EQ(TPMaintenance::MaximumCount(0, 0, 36), 12500);
    EXPECT_EQ(TPMaintenance::MaximumCount(0, 255, 255), 12500);
    // 15000 + 253 * 200 = 65600: a 16-bit sum would wrap to 64 and clamp low.
    EXPECT_EQ(TPMaintenance::MaximumCount(253, 0, 0), 25000);
    EXPECT_EQ(TPMaintenance::MaximumCount(255, 0, 0), 25000);
    EXPECT_EQ(TPMaintenance::MaximumCount(255, 255, 255), 12500);

    Store(0, 0, 0, 36);
    EXPECT_EQ(Read().maximum, "12500");
    Store(0, 253, 0, 0);
    EXPECT_EQ(Read().maximum, "25000");
}

TEST_F(WasteInkCounter, TheRatePassesOneHundredPercentWhenTheCountPassesTheMaximum) {
    Store(30000, 25, 0, 0);
    Counter counter = Read();
    EXPECT_EQ(counter.present, "30000");
    EXPECT_EQ(counter.rate, "120 %");
    Store(65535, 0, 0, 0);  // 6553500 / 12500, truncated
    counter = Read();
    EXPECT_EQ(counter.present, "65535");
    EXPECT_EQ(counter.rate, "524 %");
    Store(124, 0, 0, 0);  // 0.99 % shows as 0 %
    EXPECT_EQ(Read().rate, "0 %");
}

TEST_F(WasteInkCounter, ResetZeroesTheFiveBytesInOrderAndTheNextReadShowsTheLowestMaximum) {
    Store(30000, 60, 10, 10);
    ASSERT_EQ(module_.ResetWasteInkCounter(), ResultOk);
    EXPECT_EQ(WritesOf(Calls("D4WriteEeprom")),
              (std::vector<AddressValue>{{0x0D, 0}, {0x0C, 0}, {0x2B, 0}, {0x3E, 0}, {0x3F, 0}}));
    const auto bytes = Eeprom();
    for (const int address : {0x0C, 0x0D, 0x2B, 0x3E, 0x3F}) {
        EXPECT_EQ(bytes[address], 0) << address;
    }
    const Counter counter = Read();
    EXPECT_EQ(counter.maximum, "12500");
    EXPECT_EQ(counter.present, "0");
    EXPECT_EQ(counter.rate, "0 %");
}

TEST_F(WasteInkCounter, AFailedReadSetsNoTextAndAFailedWriteKeepsTheBytesBeforeIt) {
    Store(300, 10, 5, 2);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.readFaults[0x3E] = ResultChannelError;
        config.writeFaults[0x2B] = ResultPortNoResponse;
    });
    ClearTrace();
    Counter counter{"unset", "unset", "unset"};
    EXPECT_EQ(module_.ReadWasteInkCounter(counter.maximum, counter.present, counter.rate),
              ResultChannelError);
    EXPECT_EQ(counter.maximum, "unset");
    EXPECT_EQ(counter.present, "unset");
    EXPECT_EQ(counter.rate, "unset");
    EXPECT_EQ(AddressesOf(Calls("D4ReadEeprom")), (std::vector<int>{0x0D, 0x0C, 0x2B, 0x3E}));

    uint16_t present = 0;
    EXPECT_EQ(module_.ReadPresentCount(present), ResultOk);
    EXPECT_EQ(present, 300);

    ClearTrace();
    EXPECT_EQ(module_.ResetWasteInkCounter(), ResultPortNoResponse);
    EXPECT_EQ(Calls("D4WriteEeprom").size(), 3u);
    const auto bytes = Eeprom();
    EXPECT_EQ(bytes[0x0D], 0);
    EXPECT_EQ(bytes[0x0C], 0);
    EXPECT_EQ(bytes[0x2B], 10) << "the failed write left the byte as it was";
    EXPECT_EQ(bytes[0x3E], 5);
    EXPECT_EQ(bytes[0x3F], 2);
}

}  // namespace
