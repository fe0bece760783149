#include <gtest/gtest.h>

#include <algorithm>

#include "PageFixture.h"
#include "link/ResultCodes.h"

namespace {

using eeprom_tests::AddressValue;
using testing_support::PageTest;

const char* const kWritten = "The market destination setting value has written properly.";
const char* const kAfterRestart =
    "After a printer finished the initialize operation of printer, click the [Check] button.";
const char* const kWrong =
    "The present market destination setting value is wrong.\nClick the [OK] button to write the "
    "market destination setting value in EEPROM.";

class MarketSettingPage : public PageTest {
  protected:
    // model 0 chooses the Orvane K31, 1 the Orvane K32.
    void Open(int model, const std::string& port = "VTUSB001") {
        OpenPage("AdjustRdoGrp", 0, model, port);
    }
    void StoreDestination(uint8_t first, uint8_t second, const std::string& port = "VTUSB001") {
        ChangeEeprom(port, [first, second](vprinter::Eeprom& eeprom) {
            eeprom[0x6E] = first;
            eeprom[0x5B] = second;
        });
    }
    size_t PositionOf(const std::string& function) {
        const auto names = CallNames();
        return static_cast<size_t>(std::find(names.begin(), names.end(), function) - names.begin());
    }
};

TEST_F(MarketSettingPage, OkWritesTheK32DestinationRestartsAndCheckConfirmsIt) {
    Open(1, "VTUSB002");
    size_t resetsWhileBoxUp = 99;
    Boxes().onShow = [&](const orvane::MessageRequest&) {
        resetsWhileBoxUp = Calls("D4Reset").size();
    };
    Press("DefaultSetOKBtn");

    EXPECT_EQ(Writes(), (std::vector<AddressValue>{
                            {0x30, 0x04}, {0x31, 0x00}, {0x59, 0x18}, {0x6E, 0x00}, {0x5B, 0xB2}}));
    ASSERT_EQ(Boxes().shown.size(), 1u);
    const orvane::MessageRequest& box = Boxes().shown[0];
    EXPECT_EQ(box.text, "Click the [OK] button to restart the printer.");
    EXPECT_EQ(box.caption, "Information");
    EXPECT_EQ(box.icon, orvane::MessageIcon::Information);
    EXPECT_EQ(box.buttons, orvane::MessageButtons::Ok);
    EXPECT_EQ(box.owner, orvane::MessageOwner::AdjustmentWindow);
    // The printer restarts only once the box is closed, after the writes.
    EXPECT_EQ(resetsWhileBoxUp, 0u);
    ASSERT_EQ(Calls("D4Reset").size(), 1u);
    EXPECT_GT(PositionOf("D4Reset"), PositionOf("D4WriteEeprom"));
    EXPECT_EQ(StatusText(), QString(kWritten) + "\n" + kAfterRestart);
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);

    // Check waits for the restart to end, then names the destination on the
    // line of its text.
    ClearTrace();
    Press("DestCheckBtn");
    EXPECT_EQ(Reads(), (std::vector<int>{0x6E, 0x5B}));
    EXPECT_EQ(StatusText(), QStringLiteral("The market destination is North America / West Euro.\n"
                                           "The present model name is Orvane K32"));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(MarketSettingPage, TheK31DestinationReadsAsSouthAmericaEastEuroAsia) {
    Open(0);
    Press("DefaultSetOKBtn");
    EXPECT_EQ(Writes(), (std::vector<AddressValue>{
                            {0x30, 0x04}, {0x31, 0x00}, {0x59, 0x18}, {0x6E, 0x04}, {0x5B, 0xF2}}));
    Press("DestCheckBtn");
    EXPECT_EQ(StatusText(),
              QStringLiteral("The market destination is South America / East Euro / Asia.\n"
                             "The present model name is Orvane K31"));
}

TEST_F(MarketSettingPage, CheckWithTheK31ChosenOnABoardWithTheK32Bytes) {
    Open(0);
    StoreDestination(0x00, 0xB2);
    Press("DestCheckBtn");
    EXPECT_EQ(StatusText(), QString(kWrong) + "\nThe present model name is Orvane K31");
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(MarketSettingPage, TheJapaneseBytesAndUnknownPairsAreWrongForEitherModel) {
    const std::pair<uint8_t, uint8_t> pairs[] = {{0x06, 0x32}, {0xFF, 0xFF}, {0x00, 0xF2}};
    for (const int model : {0, 1}) {
        Open(model);
        for (const auto& [first, second] : pairs) {
            StoreDestination(first, second);
            Press("DestCheckBtn");
            EXPECT_TRUE(StatusText().startsWith(kWrong)) << model << " " << int{first};
        }
    }
}

TEST_F(MarketSettingPage, AFailedRestartKeepsTheDataAndReportsTheFailure) {
    Open(1);
    FailNextCall("D4Reset", ResultChannelError);
    Press("DefaultSetOKBtn");
    EXPECT_EQ(Writes().size(), 5u);
    EXPECT_EQ(Eeprom()[0x6E], 0x00);
    EXPECT_EQ(Eeprom()[0x5B], 0xB2);
    EXPECT_EQ(StatusText(), QStringLiteral("Communication error occurred.\n"
                                           "Restart the printer and click the [Get Status] "
                                           "button."));
    EXPECT_FALSE(StatusText().contains(kAfterRestart));
    EXPECT_TRUE(Adjust().isEnabled());
}

TEST_F(MarketSettingPage, AFailedWriteStopsBeforeTheRestartBox) {
    Open(1);
    ChangePrinter("VTUSB001",
                  [](vprinter::PrinterConfig& config) { config.writeFaults[0x59] = 0x2000; });
    Press("DefaultSetOKBtn");
    EXPECT_EQ(Writes().size(), 3u);  // the third one failed
    EXPECT_TRUE(Boxes().shown.empty());
    EXPECT_TRUE(Calls("D4Reset").empty());
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
}

TEST_F(MarketSettingPage, APrinterInItsErrorStateStillGetsItsDestination) {
    Open(1);
    SetPrinterState(0, 6);  // paper out
    Press("DefaultSetOKBtn");
    EXPECT_EQ(Writes().size(), 5u);
    EXPECT_EQ(Calls("D4Reset").size(), 1u);
    // The wait gave up at once: no sleep, no initialize command.
    EXPECT_TRUE(Calls("SendDataChannel").empty());

    SetPrinterState(8);  // before initial ink charge
    ClearTrace();
    Press("DestCheckBtn");
    EXPECT_EQ(Reads(), (std::vector<int>{0x6E, 0x5B}));
    EXPECT_TRUE(StatusText().startsWith("The market destination is North America"));
}

TEST_F(MarketSettingPage, ALinkFailureOfTheWaitEndsTheHandler) {
    Open(1);
    FailNextCall("InquireStatus", ResultChannelError);
    Press("DefaultSetOKBtn");
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
}

TEST_F(MarketSettingPage, TheModelNameIsReadWithinItsBuffer) {
    Open(0);
    Press("DefaultSetOKBtn");
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.model = "Orvane K31 with a name longer than the buffer";
    });
    Press("DestCheckBtn");
    const QStringList lines = StatusText().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1],
              QStringLiteral("The present model name is ") +
                  QStringLiteral("Orvane K31 with a name longer than the buffer").left(29));

    FailNextCall("GetModelNameByPway", ResultPortNoResponse);
    Press("DestCheckBtn");
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred.\nCheck the I/F cable"));
}

}  // namespace
