#include <gtest/gtest.h>

#include <QComboBox>
#include <algorithm>

#include "PageFixture.h"
#include "adjust/PacketTrace.h"
#include "app/Rk7howtotopmarginadjust.h"
#include "link/ResultCodes.h"

namespace {

using adjust_tests::Bytes;
using adjust_tests::kStorePacket;
using adjust_tests::SentData;
using testing_support::PageTest;

const char* const kPanel = "ShowTopMarginPnl";

Bytes TopMarginPacket(uint8_t value) {
    return {0x1B, 0x7C, 0x00, 0x06, 0x00, 0x0B, 0x54, 0x07, 0xF8, 0x83, value};
}

bool StartsWith(const Bytes& bytes, const Bytes& head) {
    return bytes.size() >= head.size() && std::equal(head.begin(), head.end(), bytes.begin());
}
bool EndsWith(const Bytes& bytes, const Bytes& tail) {
    return bytes.size() >= tail.size() && std::equal(tail.rbegin(), tail.rend(), bytes.rbegin());
}

class TopMarginPage : public PageTest {
  protected:
    // Opens the page on a printer that stores value; opening reads it.
    void Open(uint8_t stored = 0) {
        Store(stored);
        OpenPage("AdjustRdoGrp", 6);
        // The read is over once the unlock timer has ticked.
        Adjust().DisableTimerTimer();
    }
    void Store(uint8_t value) {
        ChangeEeprom("VTUSB001", [value](vprinter::Eeprom& eeprom) { eeprom[0x5A] = value; });
    }
    QComboBox* List() { return Find<QComboBox>(Adjust(), "TopMarginInputComboBox"); }
    // The technician's choice in the list: "-", "0" or "+".
    void Select(const QString& text) {
        const int index = List()->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        List()->setCurrentIndex(index);
    }
    QString Chosen() { return List()->currentIndex() < 0 ? QString() : List()->currentText(); }
};

TEST_F(TopMarginPage, OpeningThePageReadsTheStoredValueAsAChoice) {
    Store(0x28);
    OpenAdjustmentWindow();
    ClearTrace();
    ClickItem("AdjustRdoGrp", 6);
    Adjust().DisableTimerTimer();
    EXPECT_EQ(Reads(), std::vector<int>{0x5A});
    EXPECT_EQ(Chosen(), QStringLiteral("+"));
    // The status line is cleared, the adjusted items stay as they are.
    EXPECT_EQ(StatusText(), QString());
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    EXPECT_EQ(Adjust().AdjustedValue(kPanel), QString());
    EXPECT_TRUE(Adjust().isEnabled());
}

TEST_F(TopMarginPage, ReadShowsTheNearestOfTheThreeChoices) {
    Open();
    const std::pair<uint8_t, const char*> cases[] = {
        {0x15, "+"}, {0x14, "0"}, {0x00, "0"}, {0xEC, "0"}, {0xEB, "-"},
        {0x7F, "+"}, {0x80, "-"}, {0xD8, "-"}, {0x28, "+"},
    };
    for (const auto& [stored, choice] : cases) {
        Store(stored);
        Press("TopMarginReadBtn");
        EXPECT_EQ(Chosen(), QString(choice)) << int{stored};
        EXPECT_EQ(StatusText(), QString());
    }
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(Calls("SendDataChannel").empty());
}

TEST_F(TopMarginPage, InputWritesTheChoiceAndNamesItInTheStatusLineAndAdjustedItems) {
    Open();
    const std::tuple<const char*, uint8_t, const char*> cases[] = {
        {"-", 0xD8, "\"-\""},
        {"+", 0x28, "\"+\""},
        {"0", 0x00, "\"0\""},
    };
    for (const auto& [choice, byte, quoted] : cases) {
        Select(choice);
        ClearTrace();
        Press("TopMarginInputBtn");
        EXPECT_EQ(SentData(Calls()), (std::vector<Bytes>{TopMarginPacket(byte), kStorePacket}))
            << choice;
        EXPECT_EQ(Eeprom()[0x5A], byte) << choice;
        EXPECT_EQ(StatusText(), QStringLiteral("As Top margin data, ") + quoted +
                                    QStringLiteral(" has been written in EEPROM."));
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
        EXPECT_EQ(Adjust().AdjustedValue(kPanel), QString(quoted));
        EXPECT_TRUE(Adjust().isEnabled());
    }
    // What was written reads back as the same choice.
    Select("+");
    Press("TopMarginReadBtn");
    EXPECT_EQ(Chosen(), QStringLiteral("0"));
}

TEST_F(TopMarginPage, InputWithNothingChosenSendsNothing) {
    // The read of the opening fails, so the list keeps its empty choice.
    Store(0x28);
    OpenAdjustmentWindow();
    FailNextCall("D4ReadEeprom", ResultChannelError);
    ClickItem("AdjustRdoGrp", 6);
    EXPECT_EQ(List()->currentIndex(), -1);
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));

    ClearTrace();
    Click(Adjust(), "TopMarginInputBtn");
    EXPECT_EQ(StatusText(), QStringLiteral("Please select the adjustemnt value."));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(Adjust().isEnabled());
    EXPECT_TRUE(CallNames().empty());
    EXPECT_EQ(Eeprom()[0x5A], 0x28);
    EXPECT_EQ(Adjust().AdjustedValue(kPanel), QString());
}

TEST_F(TopMarginPage, AFailedWriteIsReportedAndNotShownAmongTheAdjustedItems) {
    Open();
    Select("+");
    // The store packet is refused.
    FailNextCall("SendDataChannel", ResultChannelError, 2);
    Press("TopMarginInputBtn");
    EXPECT_EQ(StatusText(), QStringLiteral("Communication error occurred.\nRestart the printer and "
                                           "click the [Get Status] button."));
    EXPECT_EQ(Eeprom()[0x5A], 0x00);
    EXPECT_EQ(Adjust().AdjustedValue(kPanel), QString());
}

TEST_F(TopMarginPage, PrintSendsTheRemoteSettingThenThePatternWithItsCaption) {
    Open();
    const auto* before = Printers().PrintedPages("VTUSB001");
    const size_t printed = before == nullptr ? 0 : before->size();
    ClearTrace();
    Press("TopMarginPrintBtn");
    EXPECT_EQ(StatusText(), QStringLiteral("Completion the printing."));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);

    // The remote-mode block of setting 6 goes first, on its own: the entry,
    // "SN", the table, its sum 0x070D and the exit.
    const std::vector<Bytes> sends = SentData(Calls());
    ASSERT_GE(sends.size(), 2u);
    const Bytes entry = {0x1B, 0x28, 0x52, 0x08, 0x00, 0x00, 'R', 'E', 'M', 'O', 'T', 'E', '1'};
    EXPECT_TRUE(StartsWith(sends[0], entry));
    EXPECT_TRUE(EndsWith(sends[0], {0x0D, 0x07, 0x1B, 0x00, 0x00, 0x00}));
    EXPECT_EQ(sends[0].size(), 13u + 6u + 72u + 2u + 4u);
    // The page follows and ends with its form feed; while the printer prints
    // it, the wait for ready sends only its polls.
    const auto ejected = std::find_if(sends.begin() + 1, sends.end(), [](const Bytes& send) {
        return !send.empty() && send.back() == 0x0C;
    });
    ASSERT_NE(ejected, sends.end());
    for (auto poll = ejected + 1; poll != sends.end(); ++poll) {
        EXPECT_EQ(*poll, (Bytes{0x1B, 0x40}));
    }

    const auto* pages = Printers().PrintedPages("VTUSB001");
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->size(), printed + 1);
    EXPECT_NE(pages->back().AllText().find("Top Margin adjustment"), std::string::npos);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(TopMarginPage, APrintStopsAtItsFirstFailure) {
    Open();
    const auto* before = Printers().PrintedPages("VTUSB001");
    const size_t printed = before == nullptr ? 0 : before->size();
    ClearTrace();
    FailNextCall("SendDataChannel", ResultChannelError);
    Press("TopMarginPrintBtn");
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(Calls("SendDataChannel").size(), 1u);
    const auto* pages = Printers().PrintedPages("VTUSB001");
    EXPECT_EQ(pages == nullptr ? 0 : pages->size(), printed);
    EXPECT_TRUE(Adjust().isEnabled());
}

TEST_F(TopMarginPage, HowToAdjustShowsItsWindow) {
    Open();
    EXPECT_FALSE(App().HowToTopMarginAdjust().isVisible());
    Press("TopMarginHowToAdjustBtn");
    EXPECT_TRUE(App().HowToTopMarginAdjust().isVisible());
    EXPECT_TRUE(Adjust().isEnabled());
}

}  // namespace
