// The readiness wait: polls once a second, with or without waiting texts,
// until the printer is ready, in an error state or the link fails.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "link/ResultCodes.h"
#include "link/StatusReporter.h"
#include "support/PrintJobFixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The status line as the wait reaches it: every text in order, and repaints.
class RecordingReporter final : public IStatusReporter {
  public:
    uint16_t ShowStatus(int kind, const std::string& text) override {
        shown.emplace_back(kind, text);
        return ResultOk;
    }
    void Repaint() override { ++repaints; }

    std::vector<std::pair<int, std::string>> shown;
    int repaints = 0;
};

class ReadinessWait : public testing_support::PrintJobTest {
  protected:
    uint16_t Wait(bool showMessages) {
        return status_.WaitUntilReady(status_.Record(), showMessages, reporter_, raster_, Clock());
    }
    void BusyFor(int polls) {
        ChangePrinter("VTUSB001",
                      [=](vprinter::PrinterConfig& config) { config.busyPolls = polls; });
    }

    RecordingReporter reporter_;
};

TEST_F(ReadinessWait, ThreeBusyPollsShowTheTextsSendTheInitializeAndSleepThreeSeconds) {
    BusyFor(3);
    EXPECT_EQ(Wait(true), ResultOk);
    const std::pair<int, std::string> busy{StatusBusyNoWait, "Printer is busy."};
    const std::pair<int, std::string> wait{StatusAddLine, "Please wait.."};
    EXPECT_EQ(reporter_.shown,
              (std::vector<std::pair<int, std::string>>{busy, wait, busy, wait, busy, wait}));
    EXPECT_EQ(reporter_.repaints, 3);
    EXPECT_EQ(Sends(), (std::vector<Bytes>(3, Bytes{0x1B, 0x40})));
    EXPECT_EQ(Clock().Sleeps(), (std::vector<uint32_t>{1000, 1000, 1000}));
    EXPECT_EQ(Calls("InquireStatus").size(), 4u);
    EXPECT_EQ(raster_.FillCount(), 0);
}

TEST_F(ReadinessWait, WithoutMessagesItWaitsSilently) {
    BusyFor(2);
    EXPECT_EQ(Wait(false), ResultOk);
    EXPECT_TRUE(reporter_.shown.empty());
    EXPECT_EQ(reporter_.repaints, 2);
    EXPECT_EQ(Clock().Sleeps(), (std::vector<uint32_t>{1000, 1000}));
}

TEST_F(ReadinessWait, PrintingAndCleaningHaveTheirOwnTexts) {
    for (const auto& [state, text] : {std::pair<uint8_t, std::string>{3, "Printer is printing."},
                                      std::pair<uint8_t, std::string>{7, "Printer is cleaning."}}) {
        SetPrinterState(state, 0);
        reporter_.shown.clear();
        Clock().onSleep = [this](uint32_t) { SetPrinterState(4, 0); };
        EXPECT_EQ(Wait(true), ResultOk);
        ASSERT_EQ(reporter_.shown.size(), 2u);
        EXPECT_EQ(reporter_.shown[0], (std::pair<int, std::string>{StatusBusyNoWait, text}));
        EXPECT_EQ(reporter_.shown[1],
                  (std::pair<int, std::string>{StatusAddLine, "Please wait.."}));
    }
}

TEST_F(ReadinessWait, AStateWithoutMeaningWaitsWithoutAText) {
    for (const uint8_t state : {uint8_t{1}, uint8_t{5}, uint8_t{6}, uint8_t{9}, uint8_t{255}}) {
        SetPrinterState(state, 0);
        reporter_.shown.clear();
        Clock().ClearSleeps();
        Clock().onSleep = [this](uint32_t) { SetPrinterState(4, 0); };
        EXPECT_EQ(Wait(true), ResultOk) << int{state};
        EXPECT_TRUE(reporter_.shown.empty()) << int{state};
        EXPECT_EQ(Clock().Sleeps().size(), 1u) << int{state};
    }
}

TEST_F(ReadinessWait, AnErrorStateOrNoInkChargeEndsAtOnceWithPrinterError) {
    for (const uint8_t state : {uint8_t{0}, uint8_t{8}}) {
        SetPrinterState(state, 6);
        ClearTrace();
        EXPECT_EQ(Wait(true), ResultPrinterError) << int{state};
        EXPECT_TRUE(Sends().empty());
        EXPECT_TRUE(Clock().Sleeps().empty());
        EXPECT_TRUE(reporter_.shown.empty());
        EXPECT_EQ(status_.Record().State(), state);
    }
}

TEST_F(ReadinessWait, ReadsTheRecordWithoutAcceptingTheInk) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.ink = {70, 60, 50, 40};
    });
    EXPECT_EQ(Wait(false), ResultOk);
    EXPECT_EQ(status_.Record().RawInk(PrinterStatus::Black), 70);
    EXPECT_EQ(status_.Record().AcceptedInk(PrinterStatus::Black), 0);
    EXPECT_EQ(status_.Record().InkValid(), 0);
}

TEST_F(ReadinessWait, AFailingInquiryOrSendIsReturned) {
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["InquireStatus"] = {2, ResultChannelError, std::nullopt};
    });
    BusyFor(5);
    EXPECT_EQ(Wait(true), ResultChannelError);
    EXPECT_EQ(Clock().Sleeps().size(), 1u);

    Clock().ClearSleeps();
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["SendDataChannel"] = {1, ResultPortNoResponse, std::nullopt};
    });
    EXPECT_EQ(Wait(true), ResultPortNoResponse);
    EXPECT_TRUE(Clock().Sleeps().empty());
    // The initialize command waits in the job for the next send.
    EXPECT_EQ(raster_.FillCount(), 2);
}

}  // namespace
