#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "PageFixture.h"
#include "link/ResultCodes.h"

namespace {

using eeprom_tests::AddressValue;
using testing_support::PageTest;

const char* const kCompleted = "The head ID write function has completed.";

class HeadIdPage : public PageTest {
  protected:
    void SetUp() override { OpenPage("AdjustRdoGrp", 2); }
    void Input(const QString& id) {
        Type("HeadIDInputEdit", id);
        Press("HeadIDInputOKBtn");
    }
    void Store(uint8_t p1, uint8_t p2, uint8_t p3, uint8_t p4, uint8_t n) {
        ChangeEeprom("VTUSB001", [=](vprinter::Eeprom& eeprom) {
            eeprom[0x42] = p1;
            eeprom[0x43] = p2;
            eeprom[0x44] = p3;
            eeprom[0x45] = p4;
            eeprom[0x49] = n;
        });
    }
    QString ReadBack() {
        Press("HeadIDReadBtn");
        return StatusText();
    }
    QWidget* Edit() { return Find<QLineEdit>(Adjust(), "HeadIDInputEdit"); }
};

struct Accepted {
    const char* id;
    std::vector<AddressValue> writes;
};

TEST_F(HeadIdPage, ValidIdsAreWrittenAndShownAmongTheAdjustedItems) {
    const Accepted cases[] = {
        {"00000000B7", {{0x42, 0x00}, {0x43, 0x00}, {0x44, 0x00}, {0x45, 0x00}, {0x49, 1}}},
        {"65656565W+", {{0x42, 0x65}, {0x43, 0x65}, {0x44, 0x65}, {0x45, 0x65}, {0x49, 20}}},
        {"12345601F%", {{0x42, 0x12}, {0x43, 0x34}, {0x44, 0x56}, {0x45, 0x01}, {0x49, 5}}},
    };
    for (const Accepted& c : cases) {
        ClearTrace();
        Input(c.id);
        EXPECT_EQ(Writes(), c.writes) << c.id;
        EXPECT_EQ(StatusText(), QString(kCompleted)) << c.id;
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
        EXPECT_EQ(Adjust().AdjustedValue("ShowHeadIDPnl"), QString(c.id));
        // What was written reads back as the same text.
        EXPECT_EQ(ReadBack(), QStringLiteral("Head ID = ") + c.id);
    }
}

TEST_F(HeadIdPage, RefusedIdsNeverReachThePrinterAndTheCursorGoesBack) {
    const std::pair<const char*, const char*> cases[] = {
        {"00000000BX", "Check ID is wrong."},
        {"00000000AX", "9th digit are wrong."},
        {"0000000000", "9th digit are wrong."},
        {"6600000000", "1st and 2nd digit is wrong."},
        {"G000000000", "1st and 2nd digit is wrong."},
        {"00660000B7", "3rd and 4th digit are wrong."},
        {"000000000", "The number of digit is wrong."},
        {"", "The number of digit is wrong."},
        // The length counts the characters typed, not their bytes; a
        // character beyond ASCII is then refused where it stands.
        {"ÉÉÉÉÉ", "The number of digit is wrong."},
        {"00000000BÉ", "Check ID is wrong."},
        {"00000000ÉB", "9th digit are wrong."},
        {"0000É00000", "5th and 6th digit are wrong."},
    };
    Input("00000000B7");
    ClearTrace();
    for (const auto& [id, message] : cases) {
        Input(id);
        EXPECT_EQ(StatusText(), QString(message)) << id;
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
        EXPECT_EQ(Adjust().focusWidget(), Edit()) << id;
        EXPECT_TRUE(Adjust().isEnabled());
    }
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Adjust().AdjustedValue("ShowHeadIDPnl"), QStringLiteral("00000000B7"));
}

TEST_F(HeadIdPage, TheEditTakesTenUpperCaseCharacters) {
    Type("HeadIDInputEdit", "00000000b7");
    EXPECT_EQ(EditText("HeadIDInputEdit"), QStringLiteral("00000000B7"));
    Type("HeadIDInputEdit", "12345601f%99");
    EXPECT_EQ(EditText("HeadIDInputEdit"), QStringLiteral("12345601F%"));
    // Enter in the edit presses Input, the page's default button.
    QTest::keyClick(Edit(), Qt::Key_Return);
    Adjust().DisableTimerTimer();
    EXPECT_EQ(Writes().size(), 5u);
    EXPECT_EQ(StatusText(), QString(kCompleted));
}

TEST_F(HeadIdPage, ReadRebuildsTheTextAndShowsOutOfRangeBytesAsEmpty) {
    Store(0x10, 0x20, 0x30, 0x40, 13);
    EXPECT_EQ(ReadBack(), QStringLiteral("Head ID = 10203040PK"));
    EXPECT_EQ(Reads(), (std::vector<int>{0x42, 0x43, 0x44, 0x45, 0x49}));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);

    // 0x83 is the highest pair a read shows: sum 1310, k = 22 -> 'X'.
    Store(0x83, 0x83, 0x83, 0x83, 0);
    EXPECT_EQ(ReadBack(), QStringLiteral("Head ID = 83838383AX"));
    Store(0x10, 0x84, 0x30, 0x40, 13);
    EXPECT_EQ(ReadBack(), QStringLiteral("Head ID = "));
    Store(0x10, 0x20, 0x30, 0x40, 21);
    EXPECT_EQ(ReadBack(), QStringLiteral("Head ID = "));
    EXPECT_TRUE(Writes().empty());
}

TEST_F(HeadIdPage, APrinterInItsErrorStateStillTakesTheId) {
    SetPrinterState(0, 4);  // paper jam
    Input("00000000B7");
    EXPECT_EQ(Writes().size(), 5u);
    EXPECT_EQ(StatusText(), QString(kCompleted));
    SetPrinterState(8);
    Store(0x10, 0x20, 0x30, 0x40, 13);
    EXPECT_EQ(ReadBack(), QStringLiteral("Head ID = 10203040PK"));
}

TEST_F(HeadIdPage, LinkFailuresAreReportedAndLeaveWhatWasWritten) {
    ChangePrinter("VTUSB001",
                  [](vprinter::PrinterConfig& config) { config.writeFaults[0x44] = 0x2000; });
    Input("12345601F%");
    EXPECT_EQ(Writes().size(), 3u);
    EXPECT_EQ(Eeprom()[0x42], 0x12);
    EXPECT_EQ(Eeprom()[0x43], 0x34);
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(Adjust().focusWidget(), Edit());
    EXPECT_EQ(Adjust().AdjustedValue("ShowHeadIDPnl"), QString());

    ChangePrinter("VTUSB001",
                  [](vprinter::PrinterConfig& config) { config.readFaults[0x45] = 0x2000; });
    EXPECT_TRUE(ReadBack().startsWith("Communication error occurred."));

    // Any failure of the wait other than the printer's error state ends the
    // handler before the printer is touched.
    ClearTrace();
    FailNextCall("InquireStatus", ResultPortNoResponse);
    Input("00000000B7");
    EXPECT_TRUE(Writes().empty());
}

}  // namespace
