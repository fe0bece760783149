// The print-data job's buffer and send path: when bytes go out, how a busy
// or paper-less printer is waited for, and that no byte is lost or doubled.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/ResultCodes.h"
#include "support/PrintJobFixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Bytes that differ from their neighbours, so a lost or doubled byte shows.
// Letters in a sequence that shows a lost, doubled or shifted byte; the
// printer reads them as plain text, so they never eject a page or make it busy.
Bytes Counting(size_t count, uint8_t first = 0) {
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>('A' + (first + i * 7) % 26);
    }
    return bytes;
}

class RasterSend : public testing_support::PrintJobTest {
  protected:
    uint16_t Append(const Bytes& bytes) {
        return raster_.SendBytes(bytes.data(), static_cast<int>(bytes.size()));
    }
    Bytes Pending() const {
        return Bytes(raster_.Buffer(), raster_.Buffer() + raster_.FillCount());
    }
    void SetPowered(bool powered) {
        ChangePrinter("VTUSB001",
                      [=](vprinter::PrinterConfig& config) { config.powered = powered; });
    }
    void LoadPaperWhenAsked() {
        messageBox_.onShow = [this](const orvane::MessageRequest&) { SetPrinterState(4, 0); };
    }
};

TEST_F(RasterSend, BytesWaitInTheBufferUntil1000HaveGathered) {
    const Bytes first = Counting(999);
    ASSERT_EQ(Append(first), ResultOk);
    EXPECT_TRUE(Sends().empty());
    EXPECT_EQ(raster_.FillCount(), 999);

    const uint8_t last = 0xEE;
    ASSERT_EQ(raster_.SendBytes(&last, 1), ResultOk);
    Bytes all = first;
    all.push_back(last);
    EXPECT_EQ(Sends(), (std::vector<Bytes>{all}));
    EXPECT_EQ(raster_.FillCount(), 0);
    EXPECT_TRUE(std::all_of(raster_.Buffer(), raster_.Buffer() + TPRaster::kBufferSize,
                            [](uint8_t byte) { return byte == 0; }))
        << "a sent buffer is zeroed";
}

TEST_F(RasterSend, ManySmallPiecesGoOutInSendsOf1000) {
    const Bytes data = Counting(2530);
    for (size_t offset = 0; offset < data.size(); offset += 81) {
        const size_t length = std::min<size_t>(81, data.size() - offset);
        ASSERT_EQ(raster_.SendBytes(data.data() + offset, static_cast<int>(length)), ResultOk);
    }
    EXPECT_EQ(raster_.FillCount(), 530);
    ASSERT_EQ(raster_.Flush(), ResultOk);
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), 3u);
    EXPECT_EQ(sends[0].size(), 1000u);
    EXPECT_EQ(sends[1].size(), 1000u);
    EXPECT_EQ(sends[2].size(), 530u);
    EXPECT_EQ(AcceptedBytes(), data);
}

TEST_F(RasterSend, CallerFaultsOfLengthStoreNothing) {
    ASSERT_EQ(Append({0x41, 0x42}), ResultOk);
    const Bytes tooLong = Counting(1001);
    EXPECT_EQ(raster_.SendBytes(tooLong.data(), 1001), ResultCommandError);
    EXPECT_EQ(raster_.SendBytes(tooLong.data(), 0), ResultOk);
    EXPECT_EQ(raster_.SendBytes(tooLong.data(), -4), ResultOk);
    EXPECT_EQ(Pending(), (Bytes{0x41, 0x42}));
    EXPECT_TRUE(Sends().empty());

    // 1000 bytes at most in one call, which fill the buffer at once here.
    ASSERT_EQ(raster_.Flush(), ResultOk);
    ClearTrace();
    ASSERT_EQ(raster_.SendBytes(tooLong.data(), 1000), ResultOk);
    EXPECT_EQ(Sends(), (std::vector<Bytes>{Bytes(tooLong.begin(), tooLong.end() - 1)}));
}

TEST_F(RasterSend, FlushSendsWhatIsThereEvenNothing) {
    ASSERT_EQ(raster_.Flush(), ResultOk);
    const auto calls = Calls("SendDataChannel");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args[1], 0);
    EXPECT_EQ(calls[0].result, ResultOk);

    ClearTrace();
    ASSERT_EQ(raster_.EjectPage(), ResultOk);
    EXPECT_EQ(Sends(), (std::vector<Bytes>{{0x0C}}));
}

TEST_F(RasterSend, ABusyPrinterIsAskedAndSentTheSameBytesEvery500Ms) {
    const Bytes data = Counting(300);
    ASSERT_EQ(Append(data), ResultOk);
    RefuseSendsAsBusy(2);
    EXPECT_EQ(raster_.Flush(), ResultOk);

    const auto sends = Calls("SendDataChannel");
    ASSERT_EQ(sends.size(), 3u);
    for (const auto& send : sends) {
        EXPECT_EQ(send.data, data);
    }
    EXPECT_EQ(sends[2].result, ResultOk);
    EXPECT_EQ(Calls("InquireStatus").size(), 2u);
    EXPECT_EQ(Clock().Sleeps(), (std::vector<uint32_t>{500, 500}));
    EXPECT_TRUE(messageBox_.shown.empty());
    EXPECT_EQ(AcceptedBytes(), data);
}

TEST_F(RasterSend, BusyInsideSendBytesResendsAndKeepsStoringAfterwards) {
    const Bytes first = Counting(990);
    const Bytes second = Counting(40, 3);
    ASSERT_EQ(Append(first), ResultOk);
    RefuseSendsAsBusy(1);
    ASSERT_EQ(Append(second), ResultOk);
    EXPECT_EQ(Clock().Sleeps(), (std::vector<uint32_t>{500}));
    EXPECT_EQ(raster_.FillCount(), 30);
    ASSERT_EQ(raster_.Flush(), ResultOk);
    Bytes all = first;
    all.insert(all.end(), second.begin(), second.end());
    EXPECT_EQ(AcceptedBytes(), all);
}

TEST_F(RasterSend, APrinterErrorOtherThanPaperOutEndsTheSendAndKeepsTheBytes) {
    const Bytes data = Counting(120);
    ASSERT_EQ(Append(data), ResultOk);
    SetPrinterState(0, 0x04);
    EXPECT_EQ(raster_.Flush(), ResultPrinterError);
    EXPECT_EQ(Calls("InquireStatus").size(), 1u);
    EXPECT_TRUE(Clock().Sleeps().empty());
    EXPECT_TRUE(messageBox_.shown.empty());
    EXPECT_EQ(Pending(), data);

    SetPrinterState(4, 0);
    ASSERT_EQ(raster_.Flush(), ResultOk);
    EXPECT_EQ(AcceptedBytes(), data);
}

TEST_F(RasterSend, PaperOutAsksForPaperThenSendsTheSameBytesAgain) {
    const Bytes data = Counting(64);
    ASSERT_EQ(Append(data), ResultOk);
    SetPrinterState(0, 6);
    LoadPaperWhenAsked();
    EXPECT_EQ(raster_.Flush(), ResultOk);

    ASSERT_EQ(messageBox_.shown.size(), 1u);
    const auto& box = messageBox_.shown.front();
    EXPECT_EQ(box.text,
              "Paper not loaded correctly.\nReload the paper and press the Paper button on the "
              "printer.\nThen click the [OK] button on the screen.");
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.icon, orvane::MessageIcon::Error);
    EXPECT_EQ(box.buttons, orvane::MessageButtons::Ok);
    EXPECT_EQ(box.owner, orvane::MessageOwner::AdjustmentWindow);
    EXPECT_EQ(Clock().Sleeps(), (std::vector<uint32_t>{500}));
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), 2u);
    EXPECT_EQ(sends[0], sends[1]);
    EXPECT_EQ(AcceptedBytes(), data);
}

TEST_F(RasterSend, OkBeforeThePaperIsLoadedShowsTheBoxAgain) {
    ASSERT_EQ(Append(Counting(10)), ResultOk);
    SetPrinterState(0, 6);
    messageBox_.onShow = [this](const orvane::MessageRequest&) {
        if (messageBox_.shown.size() == 3) {
            SetPrinterState(4, 0);
        }
    };
    EXPECT_EQ(raster_.Flush(), ResultOk);
    EXPECT_EQ(messageBox_.shown.size(), 3u);
    EXPECT_EQ(Clock().Sleeps(), (std::vector<uint32_t>{500, 500, 500}));
    EXPECT_EQ(Sends().size(), 4u);
    EXPECT_EQ(AcceptedBytes(), Counting(10));
}

TEST_F(RasterSend, APaperBoxAnsweredWithCancelEndsTheSendAndKeepsTheBytes) {
    const Bytes data = Counting(50);
    ASSERT_EQ(Append(data), ResultOk);
    SetPrinterState(0, 6);
    messageBox_.answers = {orvane::MessageAnswer::Ok, orvane::MessageAnswer::Cancel};
    // Paper arrives only with a third box, which a given-up wait never shows.
    messageBox_.onShow = [this](const orvane::MessageRequest&) {
        if (messageBox_.shown.size() == 3) {
            SetPrinterState(4, 0);
        }
    };
    EXPECT_EQ(raster_.Flush(), ResultPrinterError);
    EXPECT_EQ(messageBox_.shown.size(), 2u);
    EXPECT_EQ(Clock().Sleeps(), (std::vector<uint32_t>{500}));
    EXPECT_EQ(Pending(), data);

    SetPrinterState(4, 0);
    ASSERT_EQ(raster_.Flush(), ResultOk);
    EXPECT_EQ(AcceptedBytes(), data);
}

TEST_F(RasterSend, PaperOutInTheMiddleOfAJobLosesAndDoublesNothing) {
    const Bytes data = Counting(2345, 9);
    LoadPaperWhenAsked();
    for (size_t offset = 0; offset < data.size(); offset += 77) {
        if (offset == 77 * 20) {
            SetPrinterState(0, 6);  // the second send meets an empty tray
        }
        const size_t length = std::min<size_t>(77, data.size() - offset);
        ASSERT_EQ(raster_.SendBytes(data.data() + offset, static_cast<int>(length)), ResultOk);
    }
    ASSERT_EQ(raster_.Flush(), ResultOk);
    EXPECT_EQ(messageBox_.shown.size(), 1u);
    EXPECT_EQ(AcceptedBytes(), data);
}

TEST_F(RasterSend, AFullBufferLeftByAFailedSendGoesOutBeforeAnythingNew) {
    const Bytes first = Counting(1000);
    SetPowered(false);
    EXPECT_EQ(Append(first), ResultChannelError);
    EXPECT_EQ(raster_.FillCount(), 1000);

    // While the full buffer cannot go out, nothing more is taken.
    const Bytes second = Counting(50, 1);
    EXPECT_EQ(Append(second), ResultChannelError);
    EXPECT_EQ(raster_.FillCount(), 1000);
    EXPECT_EQ(Pending(), first);
    EXPECT_EQ(Sends().size(), 2u);

    // Once the printer answers, the old buffer goes first, then the new bytes.
    SetPowered(true);
    ClearTrace();
    ASSERT_EQ(Append(second), ResultOk);
    EXPECT_EQ(Sends(), (std::vector<Bytes>{first}));
    EXPECT_EQ(Pending(), second);
    ASSERT_EQ(raster_.Flush(), ResultOk);
    Bytes all = first;
    all.insert(all.end(), second.begin(), second.end());
    EXPECT_EQ(AcceptedBytes(), all);
}

TEST_F(RasterSend, AFailedSendInsideSendBytesStopsStoringTheRest) {
    const Bytes first = Counting(980);
    ASSERT_EQ(Append(first), ResultOk);
    SetPowered(false);
    // The 20th byte fills the buffer; the send fails and the other 30 bytes
    // are refused, for the caller to stop its job.
    const Bytes second = Counting(50, 2);
    EXPECT_EQ(Append(second), ResultChannelError);
    EXPECT_EQ(raster_.FillCount(), 1000);
    Bytes held = first;
    held.insert(held.end(), second.begin(), second.begin() + 20);
    EXPECT_EQ(Pending(), held);

    SetPowered(true);
    ASSERT_EQ(raster_.Flush(), ResultOk);
    EXPECT_EQ(AcceptedBytes(), held);
    EXPECT_EQ(raster_.FillCount(), 0);
}

TEST_F(RasterSend, FailuresOfTheLinkArePassedOnUnchanged) {
    ASSERT_EQ(Append(Counting(5)), ResultOk);
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["SendDataChannel"] = {1, 0x1100, std::nullopt};
    });
    EXPECT_EQ(raster_.Flush(), ResultPortNoResponse);
    EXPECT_EQ(CallNames(), (std::vector<std::string>{"SendDataChannel"}));

    RefuseSendsAsBusy(1);
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["InquireStatus"] = {1, 0x1100, std::nullopt};
    });
    EXPECT_EQ(raster_.Flush(), ResultPortNoResponse);
    EXPECT_EQ(Calls("InquireStatus").size(), 1u);

    ChangeLibrary(
        [](vprinter::LibraryConfig& config) { config.missingExports.insert("SendDataChannel"); });
    EXPECT_EQ(raster_.Flush(), ResultDllMissing);
    EXPECT_TRUE(Clock().Sleeps().empty());
    EXPECT_EQ(Pending(), Counting(5));
}

}  // namespace
