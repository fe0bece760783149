// The Head ID: the checks of the input, the five bytes written, and the text
// rebuilt from them.
#include <gtest/gtest.h>

#include "EepromTrace.h"
#include "eeprom/Datamanu.h"
#include "eeprom/EepromMap.h"
#include "eeprom/Rk7headid.h"
#include "link/ResultCodes.h"
#include "support/LinkFixture.h"

namespace {

using eeprom_tests::AddressesOf;
using eeprom_tests::AddressValue;
using eeprom_tests::WritesOf;

class HeadId : public testing_support::VirtualPrinterTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(OpenLink(), ResultOk);
        ClearTrace();
    }

    void StoreId(uint8_t p1, uint8_t p2, uint8_t p3, uint8_t p4, uint8_t n) {
        ChangeEeprom("VTUSB001", [&](vprinter::Eeprom& bytes) {
            bytes[0x42] = p1;
            bytes[0x43] = p2;
            bytes[0x44] = p3;
            bytes[0x45] = p4;
            bytes[0x49] = n;
        });
        ClearTrace();
    }

    std::string Read() {
        std::string id = "left over";
        EXPECT_EQ(module_.ReadHeadId(id), ResultOk);
        return id;
    }

    TPDataManu manu_;
    TPHeadID module_{Link(), manu_};
};

TEST_F(HeadId, AValidIdWritesItsFourPairsAndItsNinthValueInOrderAndReadsBack) {
    struct Case {
        const char* id;
        std::vector<AddressValue> writes;
    };
    const Case cases[] = {
        {"00000000B7", {{0x42, 0x00}, {0x43, 0x00}, {0x44, 0x00}, {0x45, 0x00}, {0x49, 1}}},
        // Every pair at the input's limit, the highest 9th value, k = 37.
        {"65656565W+", {{0x42, 0x65}, {0x43, 0x65}, {0x44, 0x65}, {0x45, 0x65}, {0x49, 20}}},
        {"12345601F%", {{0x42, 0x12}, {0x43, 0x34}, {0x44, 0x56}, {0x45, 0x01}, {0x49, 5}}},
        {"10203040PK", {{0x42, 0x10}, {0x43, 0x20}, {0x44, 0x30}, {0x45, 0x40}, {0x49, 13}}},
    };
    for (const Case& c : cases) {
        ClearTrace();
        ASSERT_EQ(module_.WriteHeadId(c.id), ResultOk) << c.id;
        EXPECT_EQ(WritesOf(Calls("D4WriteEeprom")), c.writes) << c.id;
        EXPECT_EQ(Read(), c.id);
    }
}

TEST_F(HeadId, EachRejectedInputNamesTheFirstFailingCheckAndNeverReachesThePrinter) {
    struct Case {
        const char* id;
        int16_t index;
    };
    const Case cases[] = {
        {"000000000", TPHeadID::ErrorLength},
        {"00000000B77", TPHeadID::ErrorLength},
        {"", TPHeadID::ErrorLength},
        {"00000000B7\x80", TPHeadID::ErrorLength},  // a stray byte is a character of its own
        {"6600000000", 17},                         // above the input limit 0x65
        {"G000000000", 17},                         // not a hex pair
        {"0f00000000", 17},                         // lower case
        {"G0000000AX", 17},                         // the first failing check decides
        {"0066000000", 18},
        {"00003f0000", 19},
        {"000000A0B7", 20},
        {"00000000AX", TPHeadID::ErrorNinth},  // 'A' is 0, which the input refuses
        {"0000000000", TPHeadID::ErrorNinth},  // a digit has no 9th value
        {"00000000I7", TPHeadID::ErrorNinth},
        {"00000000XA", TPHeadID::ErrorNinth},
        {"00000000BX", TPHeadID::ErrorCheck},
        {"00000000BI", TPHeadID::ErrorCheck},  // no value at all
        {"00000000B8", TPHeadID::ErrorCheck},
        {"12345601F*", TPHeadID::ErrorCheck},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(module_.WriteHeadId(c.id), ResultHeadIdError) << c.id;
        EXPECT_EQ(module_.ErrorIndex(), c.index) << c.id;
    }
    EXPECT_TRUE(Calls().empty()) << "rejected input reached the printer";
    EXPECT_EQ(Eeprom(), vprinter::Store::FreshBoard());
}

TEST_F(HeadId, ReadRebuildsTheNinthAndCheckCharactersUpToTheReadLimits) {
    StoreId(0x10, 0x20, 0x30, 0x40, 13);
    EXPECT_EQ(Read(), "10203040PK");
    EXPECT_EQ(AddressesOf(Calls("D4ReadEeprom")), (std::vector<int>{0x42, 0x43, 0x44, 0x45, 0x49}));

    // The read shows pairs up to 0x83 although the input stops at 0x65;
    // 5 * 131 * 2 = 1310, 1310 mod 37 = 15, k = 22 -> 'X'.
    StoreId(0x83, 0x83, 0x83, 0x83, 0);
    EXPECT_EQ(Read(), "83838383AX");
    StoreId(0x00, 0x00, 0x00, 0x00, 20);  // sum 100, k = 11 -> 'L'
    EXPECT_EQ(Read(), "00000000WL");
}

TEST_F(HeadId, BytesNoHeadIdHoldsReadAsSuccessWithAnEmptyId) {
    for (const auto& bytes : std::vector<std::array<uint8_t, 5>>{{0x84, 0x00, 0x00, 0x00, 1},
                                                                 {0x00, 0x00, 0x00, 0x84, 1},
                                                                 {0x00, 0x00, 0x00, 0x00, 21},
                                                                 {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}) {
        StoreId(bytes[0], bytes[1], bytes[2], bytes[3], bytes[4]);
        EXPECT_EQ(Read(), "") << int(bytes[0]) << " " << int(bytes[3]) << " " << int(bytes[4]);
        EXPECT_EQ(Calls("D4ReadEeprom").size(), 5u);
    }
}

TEST_F(HeadId, ALinkFailureEndsTheReadOrWriteAtOnceWithItsCode) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.readFaults[0x44] = ResultPortNoResponse;
        config.writeFaults[0x44] = ResultChannelError;
    });
    ClearTrace();
    std::string id = "left over";
    EXPECT_EQ(module_.ReadHeadId(id), ResultPortNoResponse);
    EXPECT_EQ(id, "");
    EXPECT_EQ(AddressesOf(Calls("D4ReadEeprom")), (std::vector<int>{0x42, 0x43, 0x44}));

    EXPECT_EQ(module_.WriteHeadId("10203040PK"), ResultChannelError);
    EXPECT_EQ(Calls("D4WriteEeprom").size(), 3u);
    const auto bytes = Eeprom();
    EXPECT_EQ(bytes[0x42], 0x10) << "bytes written before the failure stay";
    EXPECT_EQ(bytes[0x43], 0x20);
    EXPECT_EQ(bytes[0x45], 0xFF);
    EXPECT_EQ(bytes[0x49], 0xFF);
}

}  // namespace
