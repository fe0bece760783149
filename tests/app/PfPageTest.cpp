// The PF adjustment page on the virtual printer: the colour choice, Input's
// range check before any traffic, the packets, Read and the printed pattern.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>

#include "AdjustPageFixture.h"
#include "adjust/PacketTrace.h"
#include "app/widgets/RadioGroup.h"
#include "link/ResultCodes.h"

namespace {

using adjust_tests::Bytes;
using adjust_tests::kStorePacket;
using adjust_tests::SentData;
using testing_support::AdjustPageTest;

const char* const kPfWritten = "The PF adjustment value has written properly.";
const char* const kPfRead = "The PF adjustment value has read properly.";
const char* const kPfPrinted = "The PF adjustment pattern print has completed.";
const char* const kPfWrong = "The input value is wrong.";

constexpr uint8_t kBlackAddress = 0x2C;
constexpr uint8_t kColourAddress = 0x2D;

// The PF packet: the value, then 1 for black or 2 for colour.
Bytes PfPacket(uint8_t value, uint8_t colourByte) {
    return {0x1B, 0x7C, 0x00, 0x07, 0x00, 0x0B, 0x54, 0x04, 0xFB, 0x02, value, colourByte};
}

class PfPage : public AdjustPageTest {
  protected:
    void SetUp() override { OpenPage("AdjustRdoGrp", 5); }
    void Store(uint8_t black, uint8_t colour) {
        ChangeEeprom("VTUSB001", [=](vprinter::Eeprom& eeprom) {
            eeprom[kBlackAddress] = black;
            eeprom[kColourAddress] = colour;
        });
        ClearTrace();
    }
    void ChooseColour(int item) { ClickItem("PFColorSelectRadioGroup", item); }
    void Input(const QString& text) {
        Type("PFAdjustDataEdit", text);
        Press("PFAdjustInputBtn");
    }
    QLineEdit* Edit() { return Find<QLineEdit>(Adjust(), "PFAdjustDataEdit"); }
    QString Value() { return Edit()->text(); }
    void Up() { Step("UpDown2", true); }
    void Down() { Step("UpDown2", false); }
    QString Title(const char* group) { return Find<QGroupBox>(Adjust(), group)->title(); }
};

TEST_F(PfPage, InputSendsTheValueForTheChosenColourThenTheStorePacket) {
    Store(0x00, 0x00);
    ChooseColour(1);
    Input("-4");
    EXPECT_EQ(SentData(Calls()), (std::vector<Bytes>{PfPacket(0xFC, 2), kStorePacket}));
    EXPECT_EQ(Eeprom()[kColourAddress], 0xFC);
    EXPECT_EQ(Eeprom()[kBlackAddress], 0x00);
    EXPECT_EQ(StatusText(), QString(kPfWritten));
    EXPECT_EQ(Adjust().AdjustedValue("ShowPFAdjustValueCLPnl"), QStringLiteral("-4"));
    EXPECT_EQ(Adjust().AdjustedValue("ShowPFAdjustValueBKPnl"), QString());

    ChooseColour(0);
    ClearTrace();
    Input("4");
    EXPECT_EQ(SentData(Calls()), (std::vector<Bytes>{PfPacket(0x04, 1), kStorePacket}));
    EXPECT_EQ(Eeprom()[kBlackAddress], 0x04);
    EXPECT_EQ(Adjust().AdjustedValue("ShowPFAdjustValueBKPnl"), QStringLiteral("4"));
    EXPECT_EQ(Adjust().AdjustedValue("ShowPFAdjustValueCLPnl"), QStringLiteral("-4"));
}

TEST_F(PfPage, RefusedValuesGetTheMessageWithoutAnyPrinterTraffic) {
    // Right after opening the edit is empty.
    ASSERT_EQ(Value(), QString());
    for (const char* text : {"", "5", "-5", "99", "-", "+", "x", "1x", " "}) {
        Input(text);
        EXPECT_EQ(StatusText(), QString(kPfWrong)) << text;
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
        EXPECT_EQ(Adjust().focusWidget(), Edit()) << text;
        EXPECT_TRUE(Adjust().isEnabled()) << text;
    }
    EXPECT_TRUE(Calls().empty()) << "a refused value reached the printer";
    EXPECT_EQ(Adjust().AdjustedValue("ShowPFAdjustValueBKPnl"), QString());
}

TEST_F(PfPage, ReadShowsTheStoredValueOfTheChosenColourAsSignedText) {
    Store(0xFE, 0x03);
    Press("PFAdjustCheckBtn");
    EXPECT_EQ(Value(), QStringLiteral("-2"));
    EXPECT_EQ(Reads(), std::vector<int>{kBlackAddress});
    EXPECT_EQ(StatusText(), QString(kPfRead));

    ChooseColour(1);
    ClearTrace();
    Press("PFAdjustCheckBtn");
    EXPECT_EQ(Value(), QStringLiteral("3"));
    EXPECT_EQ(Reads(), std::vector<int>{kColourAddress});
    // Reading is no adjustment.
    EXPECT_EQ(Adjust().AdjustedValue("ShowPFAdjustValueCLPnl"), QString());

    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.readFaults[kColourAddress] = ResultChannelError;
    });
    Press("PFAdjustCheckBtn");
    EXPECT_EQ(Value(), QString());
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
}

TEST_F(PfPage, AStoredValueLongerThanTheEditTakesIsShownWholeAndRefused) {
    // Cut to the edit's two characters, -12 would show as -1 and be written.
    const std::pair<uint8_t, const char*> cases[] = {{0xF4, "-12"}, {0x80, "-128"}, {0x7F, "127"}};
    for (const auto& [stored, shown] : cases) {
        Store(stored, 0x00);
        Press("PFAdjustCheckBtn");
        ASSERT_EQ(Value(), QString(shown));
        ClearTrace();
        Press("PFAdjustInputBtn");
        EXPECT_EQ(StatusText(), QString(kPfWrong)) << shown;
        EXPECT_TRUE(Calls().empty()) << shown;
    }
    // The technician still types two characters at most.
    Type("PFAdjustDataEdit", "-123");
    EXPECT_EQ(Value(), QStringLiteral("-1"));
    // A long value may be shortened but not grown.
    Press("PFAdjustCheckBtn");
    ASSERT_EQ(Value(), QStringLiteral("127"));
    Edit()->setFocus();
    Edit()->end(false);
    QTest::keyClick(Edit(), Qt::Key_Backspace);
    QTest::keyClick(Edit(), Qt::Key_5);
    EXPECT_EQ(Value(), QStringLiteral("12"));
}

TEST_F(PfPage, SwitchingTheColourEmptiesTheEditAndSwitchesTheCaptions) {
    auto& group = *Find<orvane_app::RadioGroup>(Adjust(), "PFColorSelectRadioGroup");
    EXPECT_EQ(group.ItemIndex(), 0);
    EXPECT_EQ(Title("PFPrintGroupBox"), QStringLiteral("Print (Black)"));
    EXPECT_EQ(Title("PFInputGroupBox"), QStringLiteral("Input (Black)"));

    Type("PFAdjustDataEdit", "3");
    ChooseColour(1);
    EXPECT_EQ(Title("PFPrintGroupBox"), QStringLiteral("Print (Color)"));
    EXPECT_EQ(Title("PFInputGroupBox"), QStringLiteral("Input (Color)"));
    EXPECT_EQ(Value(), QString());
    // The value typed for black is not written for colour.
    Press("PFAdjustInputBtn");
    EXPECT_EQ(StatusText(), QString(kPfWrong));

    Type("PFAdjustDataEdit", "2");
    ChooseColour(0);
    EXPECT_EQ(Title("PFPrintGroupBox"), QStringLiteral("Print (Black)"));
    EXPECT_EQ(Title("PFInputGroupBox"), QStringLiteral("Input (Black)"));
    EXPECT_EQ(Value(), QString());
    EXPECT_TRUE(Calls().empty());
}

TEST_F(PfPage, PrintPrintsThePatternOfTheChosenColourAndEjectsThePage) {
    Store(0x01, 0xFF);
    Press("PFAdjustPrintBKBtn");
    EXPECT_EQ(StatusText(), QString(kPfPrinted));
    EXPECT_EQ(PagesPrinted(), 1u);
    // The pattern starts from the stored value of its colour.
    EXPECT_EQ(Reads(), std::vector<int>{kBlackAddress});
    EXPECT_TRUE(EndsWithEject());

    ChooseColour(1);
    ClearTrace();
    Press("PFAdjustPrintBKBtn");
    EXPECT_EQ(StatusText(), QString(kPfPrinted));
    EXPECT_EQ(PagesPrinted(), 2u);
    EXPECT_EQ(Reads(), std::vector<int>{kColourAddress});
    EXPECT_TRUE(EndsWithEject());

    ClearTrace();
    FailNextCall("SendDataChannel", ResultChannelError);
    Press("PFAdjustPrintBKBtn");
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(PagesPrinted(), 2u);
}

TEST_F(PfPage, TheUpDownStepsTheValueWithinMinusFourToFour) {
    // From the typed value, brought into the range first, or from where the
    // up-down is for a text that is no number.
    struct Case {
        const char* typed;
        bool up;
        const char* value;
    };
    const Case cases[] = {{"3", true, "4"},    {"4", true, "4"}, {"-3", false, "-4"},
                          {"-4", false, "-4"}, {"9", true, "4"}, {"", false, "3"}};
    for (const Case& c : cases) {
        Type("PFAdjustDataEdit", c.typed);
        c.up ? Up() : Down();
        EXPECT_EQ(Value(), QString(c.value)) << c.typed;
    }
    EXPECT_TRUE(Calls().empty());
}

TEST_F(PfPage, AFailedValuePacketIsNotStoredAndNotShownAsAdjusted) {
    FailNextCall("SendDataChannel", ResultChannelError);
    Input("2");
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(Calls("SendDataChannel").size(), 1u) << "the store packet followed a failed value";
    EXPECT_EQ(Adjust().AdjustedValue("ShowPFAdjustValueBKPnl"), QString());
}

}  // namespace
