// The head angular page on the virtual printer: the value read when the page
// opens, the up-down's three values, Input's packets and its refusals, the
// printed pattern and the paper feed.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "AdjustPageFixture.h"
#include "adjust/PacketTrace.h"
#include "link/ResultCodes.h"
#include "link/Rk7remotecomm.h"

namespace {

using adjust_tests::Bytes;
using adjust_tests::HeadAngularPacket;
using adjust_tests::kStorePacket;
using adjust_tests::SentData;
using testing_support::AdjustPageTest;

const char* const kRead = "The head angular adjustment value has read properly.";
const char* const kWritten = "The head angular adjustment value has written properly.";
const char* const kWrong = "Head angular value is wrong.";
const char* const kPrinted = "The head angular pattern print has completed.";

constexpr int kHeadAngularItem = 3;
constexpr uint8_t kHeadAngularAddress = 0x75;

class HeadAngularPage : public AdjustPageTest {
  protected:
    // Stores value, then chooses the page, which reads it; the trace then
    // starts empty.
    void OpenWith(uint8_t value) {
        OpenAdjustmentWindow();
        Store(value);
        Choose();
        ClearTrace();
    }
    void Choose() {
        ClickItem("AdjustRdoGrp", kHeadAngularItem);
        Adjust().DisableTimerTimer();
    }
    void Store(uint8_t value) {
        ChangeEeprom("VTUSB001",
                     [value](vprinter::Eeprom& eeprom) { eeprom[kHeadAngularAddress] = value; });
        ClearTrace();
    }
    QLineEdit* Edit() { return Find<QLineEdit>(Adjust(), "HeadAngularInputEdit"); }
    QString Value() { return Edit()->text(); }
    void Up() { Step("HeadAngularAdjustUpDown", true); }
    void Down() { Step("HeadAngularAdjustUpDown", false); }
    // Every byte the printer accepted, as text, to find commands in.
    std::string Accepted() {
        const std::vector<uint8_t> bytes = AcceptedBytes();
        return std::string(bytes.begin(), bytes.end());
    }
};

TEST_F(HeadAngularPage, OpeningThePageReadsTheStoredValueAsSignedText) {
    OpenAdjustmentWindow();
    Store(0xFD);
    Choose();
    EXPECT_EQ(Reads(), std::vector<int>{kHeadAngularAddress});
    EXPECT_EQ(Value(), QStringLiteral("-3"));
    EXPECT_EQ(StatusText(), QString(kRead));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    EXPECT_TRUE(SentData(Calls()).empty());
}

TEST_F(HeadAngularPage, AStoredValueOutsideTheRangeIsShownWholeAndInputRefusesIt) {
    // Longer stored values than the edit takes are shown uncut: "-1" for
    // -128 would be a value Input accepts.
    const std::pair<uint8_t, const char*> cases[] = {{0x05, "5"}, {0x80, "-128"}, {0xF6, "-10"}};
    OpenWith(0x00);
    for (const auto& [stored, shown] : cases) {
        Store(stored);
        Press("HeadAngularReadBtn");
        ASSERT_EQ(Value(), QString(shown)) << shown;
        ClearTrace();
        Press("HeadAngularInputBtn");
        EXPECT_EQ(StatusText(), QString(kWrong)) << shown;
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
        EXPECT_EQ(Adjust().focusWidget(), Edit()) << shown;
        EXPECT_TRUE(SentData(Calls()).empty()) << shown;
    }
    EXPECT_EQ(Adjust().AdjustedValue("ShowHeadAngularAdjustValuePnl"), QString());
    EXPECT_EQ(Eeprom()[kHeadAngularAddress], 0xF6);
}

TEST_F(HeadAngularPage, InputSendsTheValueThenTheStorePacketAndThePrinterKeepsIt) {
    OpenWith(0x00);
    struct Case {
        bool up;
        const char* text;
        uint8_t byte;
    };
    const Case cases[] = {{true, "3", 0x03}, {false, "0", 0x00}, {false, "-3", 0xFD}};
    for (const Case& c : cases) {
        c.up ? Up() : Down();
        ASSERT_EQ(Value(), QString(c.text));
        ClearTrace();
        Press("HeadAngularInputBtn");
        EXPECT_EQ(SentData(Calls()), (std::vector<Bytes>{HeadAngularPacket(c.byte), kStorePacket}))
            << c.text;
        EXPECT_EQ(Eeprom()[kHeadAngularAddress], c.byte) << c.text;
        EXPECT_EQ(StatusText(), QString(kWritten));
        EXPECT_EQ(Adjust().AdjustedValue("ShowHeadAngularAdjustValuePnl"), QString(c.text));
    }
}

TEST_F(HeadAngularPage, TheUpDownStepsFromZeroToThreeAndMinusThreeOnly) {
    OpenWith(0x00);
    ASSERT_EQ(Value(), QStringLiteral("0"));
    const std::pair<bool, const char*> steps[] = {
        {true, "3"}, {true, "3"}, {false, "0"}, {false, "-3"}, {false, "-3"}};
    for (const auto& [up, value] : steps) {
        up ? Up() : Down();
        EXPECT_EQ(Value(), QString(value));
    }

    // A stored value between the steps is stepped from; one outside the
    // range leaves the up-down where it was (-3).
    Store(0x01);
    Press("HeadAngularReadBtn");
    Up();
    EXPECT_EQ(Value(), QStringLiteral("3"));
    Store(0x05);
    Press("HeadAngularReadBtn");
    Down();
    EXPECT_EQ(Value(), QStringLiteral("0"));
    EXPECT_TRUE(SentData(Calls()).empty()) << "stepping reached the printer";
}

TEST_F(HeadAngularPage, AStoredValueBetweenTheThreeIsShownAndSteppedFromTheNearest) {
    struct Case {
        uint8_t stored;
        const char* shown;
        bool up;
        const char* stepped;
        uint8_t written;
    };
    const Case cases[] = {
        {0x01, "1", false, "-3", 0xFD},  {0x01, "1", true, "3", 0x03},
        {0xFF, "-1", false, "-3", 0xFD}, {0xFF, "-1", true, "3", 0x03},
        {0x02, "2", false, "0", 0x00},   {0x02, "2", true, "3", 0x03},
        {0xFE, "-2", true, "0", 0x00},   {0xFE, "-2", false, "-3", 0xFD},
    };
    OpenWith(0x00);
    for (const Case& c : cases) {
        Store(c.stored);
        Press("HeadAngularReadBtn");
        ASSERT_EQ(Value(), QString(c.shown));
        c.up ? Up() : Down();
        EXPECT_EQ(Value(), QString(c.stepped)) << c.shown << (c.up ? " up" : " down");
        ClearTrace();
        Press("HeadAngularInputBtn");
        EXPECT_EQ(SentData(Calls()),
                  (std::vector<Bytes>{HeadAngularPacket(c.written), kStorePacket}))
            << c.shown << (c.up ? " up" : " down");
    }
}

TEST_F(HeadAngularPage, AFailedReadLeavesTheEditEmptyAndInputThenSendsNothing) {
    OpenAdjustmentWindow();
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.readFaults[kHeadAngularAddress] = ResultChannelError;
    });
    Choose();
    EXPECT_EQ(Value(), QString());
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));

    // The link is up again; the empty edit is still no value.
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.readFaults.clear(); });
    ClearTrace();
    Press("HeadAngularInputBtn");
    EXPECT_EQ(StatusText(), QString(kWrong));
    EXPECT_EQ(Adjust().focusWidget(), Edit());
    EXPECT_TRUE(SentData(Calls()).empty());
}

TEST_F(HeadAngularPage, APrinterInItsErrorStateStopsReadInputAndPrint) {
    OpenWith(0x03);
    SetPrinterState(0, 6);  // paper out
    for (const char* button :
         {"HeadAngularReadBtn", "HeadAngularInputBtn", "HeadAngularPrintBtn"}) {
        ClearTrace();
        Press(button);
        EXPECT_TRUE(StatusText().startsWith("Paper out error.")) << button;
        EXPECT_TRUE(SentData(Calls()).empty()) << button;
        EXPECT_TRUE(Reads().empty()) << button;
    }
    // Read empties the edit before it waits.
    EXPECT_EQ(Value(), QString());
}

TEST_F(HeadAngularPage, PrintSendsRemoteSettingZeroBeforeThePatternAndEjectsThePage) {
    OpenWith(0x00);
    Press("HeadAngularPrintBtn");
    EXPECT_EQ(StatusText(), QString(kPrinted));
    EXPECT_EQ(PagesPrinted(), 1u);
    const std::string accepted = Accepted();
    // The remote block comes first, with the table of setting 0 after "SN"
    // and its four length bytes; the page is ejected at the end.
    EXPECT_EQ(accepted.find("REMOTE1"), 6u);
    const size_t setting = accepted.find("SN");
    const size_t graphics = accepted.find("\x1B(G");
    ASSERT_NE(graphics, std::string::npos);
    ASSERT_LT(setting, graphics);
    const auto& table = TPRemoteComm::SettingTable(0);
    EXPECT_EQ(accepted.substr(setting + 6, table.size()), std::string(table.begin(), table.end()));
    EXPECT_TRUE(EndsWithEject());

    // The first failing send ends the print with its message.
    ClearTrace();
    FailNextCall("SendDataChannel", ResultChannelError);
    Press("HeadAngularPrintBtn");
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(PagesPrinted(), 1u);
}

TEST_F(HeadAngularPage, PaperFeedSendsFourteenLineFeedsWithoutWaitingForThePrinter) {
    OpenWith(0x00);
    Press("HeadAngularPaperFeedBtn");
    Bytes lines;
    for (int i = 0; i < 14; ++i) {
        lines.insert(lines.end(), {0x0D, 0x0A});
    }
    EXPECT_EQ(AcceptedBytes(), lines);
    EXPECT_TRUE(Calls("InquireStatus").empty()) << "the paper feed waited for ready";
    EXPECT_EQ(StatusText(), QString(kRead)) << "the paper feed reported a status";

    ClearTrace();
    FailNextCall("SendDataChannel", ResultChannelError);
    Press("HeadAngularPaperFeedBtn");
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(Calls("SendDataChannel").size(), 1u);
}

}  // namespace
