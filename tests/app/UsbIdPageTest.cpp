#include <gtest/gtest.h>

#include "PageFixture.h"
#include "link/ResultCodes.h"

namespace {

using eeprom_tests::AddressValue;
using testing_support::PageTest;

const char* const kUsbIdWritten = "The USB ID has been written in EEPROM properly.";

class UsbIdPage : public PageTest {
  protected:
    void SetUp() override { OpenPage("AdjustRdoGrp", 1); }
    void Input(const QString& serial) {
        Type("USBIDInputEdit", serial);
        Press("USBIDInputOKBtn");
    }
    void Store(const std::string& id) {
        ChangeEeprom("VTUSB001", [&id](vprinter::Eeprom& eeprom) {
            for (size_t i = 0; i < id.size(); ++i) {
                eeprom[0x5C + i] = static_cast<uint8_t>(id[i]);
            }
        });
    }
    QString ReadBack() {
        Press("USBIDReadOutBtn");
        return StatusText();
    }
    static std::vector<AddressValue> WritesOf(uint8_t first, const std::string& text) {
        std::vector<AddressValue> writes;
        for (size_t i = 0; i < text.size(); ++i) {
            writes.emplace_back(first + static_cast<int>(i), static_cast<uint8_t>(text[i]));
        }
        return writes;
    }
};

TEST_F(UsbIdPage, InputWritesTheSerialAndTheDateCodeOfTheClock) {
    Clock().SetNow({2004, 3, 5, 14, 37, 45});
    Input("A1B2C3D4E5");
    std::vector<AddressValue> expected = WritesOf(0x5C, "A1B2C3D4E5");
    const std::vector<AddressValue> date = WritesOf(0x66, "435E7F30");
    expected.insert(expected.end(), date.begin(), date.end());
    EXPECT_EQ(Writes(), expected);
    EXPECT_EQ(StatusText(), QString(kUsbIdWritten));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    EXPECT_EQ(Adjust().AdjustedValue("ShowUSBIDPnl"), QStringLiteral("A1B2C3D4E5435E7F30"));
    EXPECT_EQ(ReadBack(), QStringLiteral("USB ID = A1B2C3D4E5435E7F30"));

    Clock().SetNow({2034, 1, 1, 0, 0, 0});
    Input("0000000000");
    EXPECT_EQ(Adjust().AdjustedValue("ShowUSBIDPnl"), QStringLiteral("0000000000Z1100000"));
}

TEST_F(UsbIdPage, RefusedInputNeverReachesThePrinter) {
    const std::pair<const char*, const char*> cases[] = {
        {"ABC123", "The Number of digit is wrong."},
        {"", "The Number of digit is wrong."},
        {"ABCD-12345", "Parameter is only number & alphabet."},
        {"ABCD 12345", "Parameter is only number & alphabet."},
        // The length counts the characters typed, not their bytes.
        {"ÄÖÜÉÈ", "The Number of digit is wrong."},
        {"ÄBCDE12345", "Parameter is only number & alphabet."},
        {"ABCDE1234Ü", "Parameter is only number & alphabet."},
    };
    for (const auto& [serial, message] : cases) {
        Input(serial);
        EXPECT_EQ(StatusText(), QString(message)) << serial;
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
        EXPECT_TRUE(Adjust().isEnabled());
    }
    // A PC clock whose year has no character in the date code.
    for (const int year : {1998, 2035}) {
        Clock().SetNow({year, 6, 1, 12, 0, 0});
        Input("A1B2C3D4E5");
        EXPECT_EQ(StatusText(), QStringLiteral("The year of the PC clock must be 1999 to 2034."));
    }
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Adjust().AdjustedValue("ShowUSBIDPnl"), QString());
}

TEST_F(UsbIdPage, TheEditTakesTenUpperCaseCharacters) {
    Type("USBIDInputEdit", "a1b2c3d4e5f6");
    EXPECT_EQ(EditText("USBIDInputEdit"), QStringLiteral("A1B2C3D4E5"));
}

TEST_F(UsbIdPage, AStoredLowerCaseCharacterReadsAsAWrongIdAfterFiveReads) {
    Store("ABCDeFGHIJ435E7F30");
    EXPECT_EQ(ReadBack(), QStringLiteral("The USB ID is wrong."));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_EQ(Reads(), (std::vector<int>{0x5C, 0x5D, 0x5E, 0x5F, 0x60}));

    // An unwritten EEPROM reads as wrong at its first character.
    ClearTrace();
    Store(std::string(18, '\xFF'));
    EXPECT_EQ(ReadBack(), QStringLiteral("The USB ID is wrong."));
    EXPECT_EQ(Reads().size(), 1u);
}

TEST_F(UsbIdPage, BothButtonsStopOnAPrinterInItsErrorState) {
    const QString paperOut =
        QStringLiteral("Paper out error.\nClear the error and click the [Get Status] button.");
    SetPrinterState(0, 6);
    Input("A1B2C3D4E5");
    EXPECT_EQ(StatusText(), paperOut);
    Adjust().ShowStatus(StatusInfo, "");
    EXPECT_EQ(ReadBack(), paperOut);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(Reads().empty());
}

TEST_F(UsbIdPage, TheAdjustedValueWaitsForThePrinterToBeReadyAgain) {
    // The second status inquiry is the wait before the completion text.
    FailNextCall("InquireStatus", ResultChannelError, 2);
    Input("A1B2C3D4E5");
    EXPECT_EQ(Writes().size(), 18u);
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(Adjust().AdjustedValue("ShowUSBIDPnl"), QString());

    Store("A1B2C3D4E5435E7F30");
    FailNextCall("InquireStatus", ResultChannelError, 2);
    EXPECT_TRUE(ReadBack().startsWith("Communication error occurred."));
    EXPECT_FALSE(StatusText().contains("USB ID = "));
}

TEST_F(UsbIdPage, AWriteFailingPartWayKeepsTheCharactersWritten) {
    ChangePrinter("VTUSB001",
                  [](vprinter::PrinterConfig& config) { config.writeFaults[0x67] = 0x2000; });
    Input("A1B2C3D4E5");
    EXPECT_EQ(Writes().size(), 12u);  // the serial and one date character
    EXPECT_EQ(Eeprom()[0x65], '5');
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(Adjust().AdjustedValue("ShowUSBIDPnl"), QString());
}

}  // namespace
