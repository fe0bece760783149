#include <gtest/gtest.h>

#include "AppFixture.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "app/widgets/RadioGroup.h"
#include "link/ResultCodes.h"

namespace {

using testing_support::AppTest;

class GetStatus : public AppTest {
  protected:
    void SetUp() override { OpenAdjustmentWindow(); }
    void SetPrinter(uint8_t state, uint8_t error = 0) {
        ChangePrinter("VTUSB001", [=](vprinter::PrinterConfig& config) {
            config.state = state;
            config.error = error;
        });
    }
    QString PressGetStatus() {
        Adjust().ShowStatus(StatusInfo, "before");
        Adjust().EnableItems(ItemsNoLink);
        ClearTrace();
        Click(Adjust(), "GetStatusBtn");
        return StatusText();
    }
    bool AllItems() {
        return ItemsEnabled("AdjustRdoGrp") == std::vector<bool>(9, true) &&
               ItemsEnabled("MainteRdoGrp") == std::vector<bool>(4, true) &&
               Group("CheckPatternPrnRdoGrp").isEnabled() &&
               ItemsEnabled("AppendixRdoGrp") == std::vector<bool>{true};
    }
};

TEST_F(GetStatus, ShowingTheWindowShowsTheReadyPrinterAndItsInk) {
    EXPECT_EQ(StatusText(),
              "Printer is ready.\nInk remaining amount;\n Black: 80%, Cyan: 80%, "
              "Magenta: 80% Yellow: 80%");
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    EXPECT_TRUE(AllItems());
}

TEST_F(GetStatus, ReopensTheLinkOnTheBootWindowsPort) {
    PressGetStatus();
    EXPECT_EQ(CallNames(),
              (std::vector<std::string>{"PortCloseByPway", "PortOpenByPway", "GetIoErrorCodeByPway",
                                        "CheckDeviceIDByPway", "D4Negotiation", "InquireStatus"}));
    EXPECT_EQ(Calls("PortOpenByPway")[0].args, (std::vector<int64_t>{Boot().PortNumber}));
}

TEST_F(GetStatus, ShowsTheAcceptedInkAmountsWhateverTheValidFlag) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.ink = {80, 0x4E41, 60, 50};
    });
    // Cyan keeps the amount of the inquiry before: 80 from the first Get Status.
    EXPECT_EQ(PressGetStatus(),
              "Printer is ready.\nInk remaining amount;\n Black: 80%, Cyan: "
              "80%, Magenta: 60% Yellow: 50%");
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.ink = {-3, 0, 999, 7};
    });
    EXPECT_EQ(PressGetStatus(),
              "Printer is ready.\nInk remaining amount;\n Black: -3%, Cyan: "
              "0%, Magenta: 999% Yellow: 7%");
}

class GetStatusAtStart : public AppTest {};

TEST_F(GetStatusAtStart, ShowsZeroForAColourThatNeverHadAValidAmount) {
    ChangePrinter("VTUSB002", [](vprinter::PrinterConfig& config) {
        config.ink = {80, 0x4E41, 60, 50};
    });
    OpenAdjustmentWindow(1, "VTUSB002");
    EXPECT_EQ(StatusText(),
              "Printer is ready.\nInk remaining amount;\n Black: 80%, Cyan: 0%, "
              "Magenta: 60% Yellow: 50%");
}

TEST_F(GetStatus, ShowsTheTextOfEachWorkingState) {
    const std::pair<uint8_t, const char*> states[] = {
        {2, "Printer is busy."}, {3, "Printer is printing."}, {7, "Printer is cleaning."}};
    for (const auto& [state, text] : states) {
        SetPrinter(state);
        EXPECT_EQ(PressGetStatus(), QString::fromUtf8(text)) << int{state};
        EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
        EXPECT_TRUE(AllItems()) << int{state};
    }
}

TEST_F(GetStatus, BeforeTheInitialInkChargeIsAnError) {
    SetPrinter(8);
    EXPECT_EQ(PressGetStatus(), QStringLiteral("Printer is before initial ink charge."));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(AllItems());
}

TEST_F(GetStatus, AStateWithoutMeaningShowsNothingButEnablesEverything) {
    for (const uint8_t state : {uint8_t{1}, uint8_t{5}, uint8_t{6}, uint8_t{9}}) {
        SetPrinter(state);
        EXPECT_EQ(PressGetStatus(),
                  "before\nRestart the printer and click the [Get Status] button.")
            << int{state};
        EXPECT_TRUE(AllItems()) << int{state};
    }
}

TEST_F(GetStatus, TheErrorStateShowsThePrinterError) {
    SetPrinter(0, 4);
    EXPECT_EQ(PressGetStatus(),
              "Paper jam error.\nClear the error and click the [Get Status] button.");
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(ItemsEnabled("AdjustRdoGrp")[0]);
    EXPECT_FALSE(ItemsEnabled("AdjustRdoGrp")[1]);
    EXPECT_FALSE(Group("CheckPatternPrnRdoGrp").isEnabled());
    EXPECT_EQ(ItemsEnabled("AppendixRdoGrp"), std::vector<bool>{true});
}

TEST_F(GetStatus, ASwitchedOffPrinterLeavesTheNavigationAsItWas) {
    Adjust().EnableItems(ItemsPrinterError);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.powered = false; });
    ClearTrace();
    Click(Adjust(), "GetStatusBtn");
    EXPECT_EQ(StatusText(),
              "Communication error occurred.\nCheck the I/F cable connection and "
              "power of printer.");
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(Calls("CheckDeviceIDByPway").empty());
    EXPECT_TRUE(ItemsEnabled("AdjustRdoGrp")[0]);
    EXPECT_FALSE(ItemsEnabled("AdjustRdoGrp")[1]);
    EXPECT_EQ(ItemsEnabled("AppendixRdoGrp"), std::vector<bool>{true});
}

TEST_F(GetStatus, OnlyAnExactDeviceCheckIsAccepted) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.supported = false; });
    Adjust().EnableItems(ItemsAll);
    ClearTrace();
    Click(Adjust(), "GetStatusBtn");
    EXPECT_EQ(StatusText(),
              "Communication error occurred.\nCheck the I/F cable connection and "
              "power of printer.");
    EXPECT_TRUE(Calls("D4Negotiation").empty());
    EXPECT_TRUE(AllItems());
}

TEST_F(GetStatus, AFailedNegotiationOrInquiryLeavesNoLink) {
    for (const char* function : {"D4Negotiation", "InquireStatus"}) {
        ChangeLibrary([function](vprinter::LibraryConfig& config) {
            config.callFaults[function] = {1, ResultChannelError, std::nullopt};
        });
        Adjust().EnableItems(ItemsAll);
        Click(Adjust(), "GetStatusBtn");
        EXPECT_EQ(StatusText(),
                  "Communication error occurred.\nRestart the printer and click the "
                  "[Get Status] button.")
            << function;
        EXPECT_EQ(ItemsEnabled("AdjustRdoGrp"), std::vector<bool>(9, false)) << function;
        EXPECT_EQ(ItemsEnabled("MainteRdoGrp"), (std::vector<bool>{false, false, false, true}));
    }
}

}  // namespace
