// The USB ID: the serial checks, the date code of the PC clock, the 18 bytes
// written and the checked read.
#include <gtest/gtest.h>

#include "EepromTrace.h"
#include "eeprom/EepromMap.h"
#include "eeprom/Rk7usbid.h"
#include "link/ResultCodes.h"
#include "support/LinkFixture.h"

namespace {

using eeprom_tests::AddressesOf;
using eeprom_tests::AddressValue;
using eeprom_tests::WritesOf;
using orvane::LocalDateTime;

class UsbId : public testing_support::VirtualPrinterTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(OpenLink(), ResultOk);
        ClearTrace();
    }

    // Writes a serial at the given local time; returns the date code.
    std::string WriteAt(const LocalDateTime& time, const std::string& serial = "SN0123456Z") {
        Clock().SetNow(time);
        std::string code = "left over";
        EXPECT_EQ(module_.WriteUsbId(serial, code), ResultOk) << serial;
        return code;
    }

    TPUsbId module_{Link(), Clock()};
};

TEST_F(UsbId, TheDateCodeEncodesTheLocalTimeOfTheWrite) {
    EXPECT_EQ(WriteAt({2004, 3, 5, 14, 37, 45}), "435E7F30");
    EXPECT_EQ(WriteAt({2010, 12, 31, 23, 29, 29}), "BCVNTT00");
    EXPECT_EQ(WriteAt({2034, 1, 1, 0, 0, 0}), "Z1100000");
    // The years at the edges of the digits and letters, and the halves.
    EXPECT_EQ(WriteAt({1999, 9, 9, 9, 29, 30}), "9999T010");
    EXPECT_EQ(WriteAt({2000, 10, 10, 10, 30, 0}), "0AAA0020");
    EXPECT_EQ(WriteAt({2008, 11, 31, 23, 59, 59}), "8BVNTT30");
    EXPECT_EQ(WriteAt({2009, 1, 1, 0, 0, 30}), "A1100010");
}

TEST_F(UsbId, TheSerialThenTheDateCodeAreWrittenOneCharacterPerAddress) {
    const std::string code = WriteAt({2004, 3, 5, 14, 37, 45}, "AB12CD34EF");
    std::vector<AddressValue> expected;
    const std::string all = "AB12CD34EF" + code;
    for (size_t i = 0; i < all.size(); ++i) {
        expected.emplace_back(0x5C + static_cast<int>(i), all[i]);
    }
    EXPECT_EQ(WritesOf(Calls("D4WriteEeprom")), expected);

    ClearTrace();
    std::string id;
    ASSERT_EQ(module_.ReadUsbId(id), ResultOk);
    EXPECT_EQ(id, "AB12CD34EF435E7F30");
    EXPECT_EQ(Calls("D4ReadEeprom").size(), 18u);
}

TEST_F(UsbId, ARefusedSerialOrClockNeverReachesThePrinter) {
    struct Case {
        std::string serial;
        int16_t index;
    };
    const Case cases[] = {
        {"123456", TPUsbId::ErrorLength},
        {"", TPUsbId::ErrorLength},
        {"12345678901", TPUsbId::ErrorLength},
        {"12345-6789", TPUsbId::ErrorCharacter},
        {"abcdefghij", TPUsbId::ErrorCharacter},
        {"ABCDEFGHI ", TPUsbId::ErrorCharacter},
        {std::string("ABCDE\0GHIJ", 10), TPUsbId::ErrorCharacter},
        // The length counts characters: Ä is one, though two bytes.
        {"ABCDEFGH\xC3\x84", TPUsbId::ErrorLength},
        {"ABCDEFGHI\xC3\x84", TPUsbId::ErrorCharacter},
        {"\xC3\x84\xC3\x96\xC3\x9C\xC3\x89\xC3\x88", TPUsbId::ErrorLength},
    };
    for (const Case& c : cases) {
        std::string code = "untouched";
        EXPECT_EQ(module_.WriteUsbId(c.serial, code), ResultUsbIdError) << c.serial;
        EXPECT_EQ(module_.ErrorIndex(), c.index) << c.serial;
        EXPECT_EQ(code, "untouched");
    }
    // A clock whose year has no date-code character: refused, also when the
    // serial itself is good.
    for (const int year : {1998, 2035, 1900, 2100}) {
        Clock().SetNow({year, 6, 15, 12, 0, 0});
        std::string code = "untouched";
        EXPECT_EQ(module_.WriteUsbId("ABCDEFGHIJ", code), ResultUsbIdError) << year;
        EXPECT_EQ(module_.ErrorIndex(), TPUsbId::ErrorYear) << year;
        EXPECT_EQ(code, "untouched");
    }
    EXPECT_TRUE(Calls().empty()) << "refused input reached the printer";
    EXPECT_EQ(Eeprom(), vprinter::Store::FreshBoard());
}

TEST_F(UsbId, TheReadStopsAtTheFirstCharacterNoUsbIdHolds) {
    WriteAt({2004, 3, 5, 14, 37, 45}, "ABCDEFGHIJ");
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& bytes) { bytes[0x5C + 4] = 'e'; });
    ClearTrace();
    std::string id = "left over";
    EXPECT_EQ(module_.ReadUsbId(id), ResultUsbIdError);
    EXPECT_EQ(module_.ErrorIndex(), TPUsbId::ErrorStoredId);
    EXPECT_EQ(AddressesOf(Calls("D4ReadEeprom")), (std::vector<int>{0x5C, 0x5D, 0x5E, 0x5F, 0x60}));
    EXPECT_EQ(id, "");

    // The last character counts as well; an unwritten board fails at once.
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& bytes) {
        bytes[0x5C + 4] = 'E';
        bytes[0x6D] = '-';
    });
    EXPECT_EQ(module_.ReadUsbId(id), ResultUsbIdError);
    ChangeEeprom("VTUSB001",
                 [](vprinter::Eeprom& bytes) { bytes = vprinter::Store::FreshBoard(); });
    ClearTrace();
    EXPECT_EQ(module_.ReadUsbId(id), ResultUsbIdError);
    EXPECT_EQ(Calls("D4ReadEeprom").size(), 1u);
}

TEST_F(UsbId, ALinkFailureEndsTheWriteOrReadWithItsCode) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.writeFaults[0x67] = ResultChannelError;
        config.readFaults[0x60] = ResultPortNoResponse;
    });
    ClearTrace();
    Clock().SetNow({2004, 3, 5, 14, 37, 45});
    std::string code = "untouched";
    EXPECT_EQ(module_.WriteUsbId("ABCDEFGHIJ", code), ResultChannelError);
    EXPECT_EQ(code, "untouched") << "no date code is reported for a failed write";
    EXPECT_EQ(Calls("D4WriteEeprom").size(), 12u);
    const auto bytes = Eeprom();
    EXPECT_EQ(bytes[0x65], 'J') << "the serial stays written";
    EXPECT_EQ(bytes[0x66], '4');
    EXPECT_EQ(bytes[0x67], 0xFF);

    std::string id = "left over";
    EXPECT_EQ(module_.ReadUsbId(id), ResultPortNoResponse);
    EXPECT_EQ(id, "");
}

}  // namespace
