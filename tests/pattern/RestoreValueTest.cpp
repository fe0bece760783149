// A pattern that fails after it set a test value sends the stored value once
// more before it returns its failure, so that a failed print never leaves a
// test value in the printer.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "PatternFixture.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"

namespace {

using testing_support::PatternTest;
using testing_support::ReadStream;
using Bytes = std::vector<uint8_t>;

bool IsPacket(const Bytes& bytes) {
    return bytes.size() >= 12 && bytes[0] == 0x1B && bytes[1] == 0x7C;
}

class RestoreValue : public PatternTest {
  protected:
    // The SendDataChannel calls of one undisturbed run, to aim faults with.
    std::vector<Bytes> Sends(const std::function<uint16_t()>& print) {
        ClearTrace();
        EXPECT_EQ(print(), ResultOk);
        std::vector<Bytes> sends = AcceptedSends();
        ClearTrace();
        return sends;
    }
    // The number (from 1) of the send that follows the n-th packet (from 1).
    static int SendAfterPacket(const std::vector<Bytes>& sends, int n) {
        for (size_t i = 0; i < sends.size(); ++i) {
            if (IsPacket(sends[i]) && --n == 0) {
                return static_cast<int>(i) + 2;
            }
        }
        ADD_FAILURE() << "no such packet";
        return 0;
    }
    std::vector<vprinter::TraceEntry> SendCalls() const { return Calls("SendDataChannel"); }
    // The values of the packets the printer accepted. Each packet is a send
    // of its own, also where it follows a raster block cut short.
    std::vector<int> PacketValues() const {
        std::vector<int> values;
        for (const auto& send : AcceptedSends()) {
            if (IsPacket(send)) {
                const auto stream = ReadStream(send);
                const auto pf = stream.PfValues();
                const auto bid = stream.BidValues();
                values.insert(values.end(), pf.begin(), pf.end());
                values.insert(values.end(), bid.begin(), bid.end());
            }
        }
        return values;
    }
};

TEST_F(RestoreValue, PfPageSendsTheStoredValueAfterAFailedDataSend) {
    Store(eeprom::PfBlack, 3);
    const auto sends = Sends([this] { return pattern_.PrintPfBlackPattern(); });
    // Fail the first data send after the third test value (-3).
    FailSend(SendAfterPacket(sends, 3));
    EXPECT_EQ(pattern_.PrintPfBlackPattern(), ResultChannelError);

    const auto calls = SendCalls();
    ASSERT_GE(calls.size(), 4u);
    // This send's 1000 bytes end with the count byte of a run-length unit.
    const auto& failed = calls[calls.size() - 4];
    EXPECT_EQ(failed.result, ResultChannelError);
    // What the failed send carried goes out once more, then the rest of the
    // unit it cut (its value byte), then the stored value.
    EXPECT_EQ(calls[calls.size() - 3].data, failed.data);
    Bytes clean;
    for (const auto& send : sends) {
        clean.insert(clean.end(), send.begin(), send.end());
    }
    Bytes resent = failed.data;
    resent.insert(resent.end(), calls[calls.size() - 2].data.begin(),
                  calls[calls.size() - 2].data.end());
    EXPECT_NE(std::search(clean.begin(), clean.end(), resent.begin(), resent.end()), clean.end())
        << "the resent bytes and the rest of the cut unit are not the clean run's";
    EXPECT_EQ(calls[calls.size() - 2].data.size(), 1u);
    EXPECT_EQ(calls.back().data,
              Bytes({0x1B, 0x7C, 0x00, 0x07, 0x00, 0x0B, 0x54, 0x04, 0xFB, 0x02, 0x03, 0x01}));
    EXPECT_EQ(PacketValues(), (std::vector<int>{-5, -4, -3, 3}));
    // No wait for ready on this road.
    EXPECT_TRUE(Calls("InquireStatus").empty());
}

TEST_F(RestoreValue, AFailedTestValuePacketIsFollowedByTheStoredValue) {
    const auto sends = Sends([this] { return pattern_.PrintSheetPfColorPattern(-2); });
    // The first packet, the test value -3, fails.
    FailSend(SendAfterPacket(sends, 1) - 1);
    EXPECT_EQ(pattern_.PrintSheetPfColorPattern(-2), ResultChannelError);
    const auto calls = SendCalls();
    ASSERT_EQ(calls.size(), 3u);  // flush, failed -3, restoring -2
    EXPECT_TRUE(IsPacket(calls[1].data));
    EXPECT_EQ(calls[1].result, ResultChannelError);
    EXPECT_EQ(PacketValues(), (std::vector<int>{-2}));
}

TEST_F(RestoreValue, NothingIsRestoredBeforeATestValueWasSent) {
    FailSend(1);
    EXPECT_EQ(pattern_.PrintPfColorPattern(), ResultChannelError);
    EXPECT_EQ(SendCalls().size(), 1u);

    // A Bi-D pattern whose first packet (the stored value) fails.
    ClearTrace();
    raster_.Flush();
    ClearTrace();
    FailSend(2);
    EXPECT_EQ(pattern_.PrintBidBlackPattern(16, 4), ResultChannelError);
    EXPECT_EQ(SendCalls().size(), 2u);
}

TEST_F(RestoreValue, BidPageRestoresAfterAFailureInATestPass) {
    const auto print = [this] { return pattern_.PrintBidColorPattern(17, -6); };
    const auto sends = Sends(print);
    // The data after the second packet: the first test pass, at -7.
    FailSend(SendAfterPacket(sends, 2));
    EXPECT_EQ(print(), ResultChannelError);
    const auto calls = SendCalls();
    EXPECT_EQ(calls.back().data, Bytes({0x1B, 0x7C, 0x00, 0x09, 0x00, 0x0B, 0x54, 0x00, 0xFF, 0x00,
                                        0x02, 0x02, 0xFA, 0xFF}));
    EXPECT_EQ(PacketValues(), (std::vector<int>{-6, -7, -6}));
    // The printer took the stored value although the test block was cut short.
    EXPECT_EQ(static_cast<int8_t>(Eeprom()[eeprom::BidVsd2Colour]), -6);
}

TEST_F(RestoreValue, BidSendsNothingExtraWhenTheStoredValueWasSetLast) {
    const auto print = [this] { return pattern_.PrintSheetBidBlackPattern(16, 1); };
    const auto sends = Sends(print);
    // The data after the fifth packet: the second pass's reference, at 1.
    FailSend(SendAfterPacket(sends, 5));
    EXPECT_EQ(print(), ResultChannelError);
    EXPECT_EQ(PacketValues(), (std::vector<int>{1, 1, 2, 0, 1}));
    EXPECT_EQ(Eeprom()[eeprom::BidVsd1Black], 1);
    EXPECT_FALSE(IsPacket(SendCalls().back().data));
}

TEST_F(RestoreValue, NoValueIsSentWhenTheChannelRefusesThePendingDataToo) {
    Store(eeprom::PfBlack, 0);
    const auto sends = Sends([this] { return pattern_.PrintPfBlackPattern(); });
    // The send after the second test value answers busy; while the job waits
    // the printer goes off.
    ChangeLibrary([&](vprinter::LibraryConfig& config) {
        config.callFaults["SendDataChannel"] = {SendAfterPacket(sends, 2), 0x2000, 51};
    });
    Clock().onSleep = [this](uint32_t) {
        ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.powered = false; });
    };
    EXPECT_EQ(pattern_.PrintPfBlackPattern(), ResultChannelError);
    const auto calls = SendCalls();
    // Busy, off, and the one try to send the pending data: no packet after.
    ASSERT_GE(calls.size(), 3u);
    for (size_t i = calls.size() - 3; i < calls.size(); ++i) {
        EXPECT_FALSE(IsPacket(calls[i].data)) << i;
        EXPECT_NE(calls[i].result, ResultOk);
    }
}

TEST_F(RestoreValue, AFailedWaitForReadyStillTriesTheStoredValueAndReturnsTheWaitsCode) {
    Store(eeprom::PfColour, 2);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.busyPolls = 1; });
    // The printer goes into its error state during the wait.
    Clock().onSleep = [this](uint32_t milliseconds) {
        if (milliseconds == 1000) {
            ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
                config.state = 0;
                config.error = 0x10;
            });
        }
    };
    ClearTrace();
    EXPECT_EQ(pattern_.PrintPfColorPattern(), ResultPrinterError);
    const auto calls = SendCalls();
    EXPECT_EQ(calls.back().data,
              Bytes({0x1B, 0x7C, 0x00, 0x07, 0x00, 0x0B, 0x54, 0x04, 0xFB, 0x02, 0x02, 0x02}));
}

}  // namespace
