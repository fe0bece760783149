// The command packets: their exact bytes and the busy retry of the send.
#include <gtest/gtest.h>

#include <functional>

#include "link/PrintModes.h"
#include "link/ResultCodes.h"
#include "link/Rk7factory.h"
#include "support/PrintJobFixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

class Factory : public testing_support::PrintJobTest {
  protected:
    // Sends one packet and returns the one thing that reached the library.
    Bytes SentBy(const std::function<uint16_t()>& send) {
        ClearTrace();
        EXPECT_EQ(send(), ResultOk);
        const auto sends = Sends();
        EXPECT_EQ(sends.size(), 1u);
        return sends.empty() ? Bytes{} : sends.front();
    }

    TPFactory factory_{Link(), status_, Clock()};
};

TEST_F(Factory, BidPacketsCarryModeColourAndTheValueAsSixteenBits) {
    EXPECT_EQ(SentBy([&] { return factory_.SendBidValue(SelectColour, ModeVsd2, -3); }),
              (Bytes{0x1B, 0x7C, 0x00, 0x09, 0x00, 0x0B, 0x54, 0x00, 0xFF, 0x00, 0x02, 0x02, 0xFD,
                     0xFF}));
    EXPECT_EQ(SentBy([&] { return factory_.SendBidValue(SelectBlack, ModeEco, 5); }),
              (Bytes{0x1B, 0x7C, 0x00, 0x09, 0x00, 0x0B, 0x54, 0x00, 0xFF, 0x00, 0x00, 0x01, 0x05,
                     0x00}));
    EXPECT_EQ(SentBy([&] { return factory_.SendBidValue(SelectBlack, ModeVsd1, -36); }),
              (Bytes{0x1B, 0x7C, 0x00, 0x09, 0x00, 0x0B, 0x54, 0x00, 0xFF, 0x00, 0x01, 0x01, 0xDC,
                     0xFF}));
    // Any selector but 1 is colour.
    EXPECT_EQ(SentBy([&] { return factory_.SendBidValue(7, ModeVsd3, 0); }),
              (Bytes{0x1B, 0x7C, 0x00, 0x09, 0x00, 0x0B, 0x54, 0x00, 0xFF, 0x00, 0x03, 0x02, 0x00,
                     0x00}));
}

TEST_F(Factory, BidValuesThePacketCannotCarryAndUnknownModesAreRefusedUnsent) {
    EXPECT_EQ(factory_.SendBidValue(SelectBlack, 0x14, 0), ResultCommandError);
    EXPECT_EQ(factory_.SendBidValue(SelectBlack, 0, 0), ResultCommandError);
    EXPECT_EQ(factory_.SendBidValue(SelectBlack, ModeVsd1, 128), ResultCommandError);
    EXPECT_EQ(factory_.SendBidValue(SelectBlack, ModeVsd1, -129), ResultCommandError);
    EXPECT_TRUE(Sends().empty());
    EXPECT_EQ(SentBy([&] { return factory_.SendBidValue(SelectBlack, ModeVsd1, -128); }),
              (Bytes{0x1B, 0x7C, 0x00, 0x09, 0x00, 0x0B, 0x54, 0x00, 0xFF, 0x00, 0x01, 0x01, 0x80,
                     0xFF}));
}

TEST_F(Factory, OneByteCommandsCopyTheirValue) {
    EXPECT_EQ(SentBy([&] { return factory_.SendHeadAngularValue(0xFE); }),
              (Bytes{0x1B, 0x7C, 0x00, 0x06, 0x00, 0x0B, 0x54, 0x05, 0xFA, 0x82, 0xFE}));
    EXPECT_EQ(
        SentBy([&] { return factory_.StartMaintenanceSequence(TPFactory::SequenceCleaning); }),
        (Bytes{0x1B, 0x7C, 0x00, 0x06, 0x00, 0x0B, 0x54, 0x84, 0x7B, 0x42, 0x02}));
    EXPECT_EQ(
        SentBy([&] { return factory_.StartMaintenanceSequence(TPFactory::SequenceInkCharge); }),
        (Bytes{0x1B, 0x7C, 0x00, 0x06, 0x00, 0x0B, 0x54, 0x84, 0x7B, 0x42, 0x07}));
    EXPECT_EQ(SentBy([&] { return factory_.SendTopMarginValue(0xD8); }),
              (Bytes{0x1B, 0x7C, 0x00, 0x06, 0x00, 0x0B, 0x54, 0x07, 0xF8, 0x83, 0xD8}));
}

TEST_F(Factory, StoreAndPfPacketsAfterALongerPacketSendOnlyTheirOwnBytes) {
    ASSERT_EQ(factory_.SendBidValue(SelectColour, ModeVsd2, -3), ResultOk);
    EXPECT_EQ(SentBy([&] { return factory_.SendStoreCommand(); }),
              (Bytes{0x1B, 0x7C, 0x00, 0x05, 0x00, 0x0B, 0x54, 0x50, 0xAF, 0x28}));
    EXPECT_EQ(SentBy([&] { return factory_.SendPfValue(1, 0x03); }),
              (Bytes{0x1B, 0x7C, 0x00, 0x07, 0x00, 0x0B, 0x54, 0x04, 0xFB, 0x02, 0x03, 0x01}));
    EXPECT_EQ(SentBy([&] { return factory_.SendPfValue(0, 0xFB); }),
              (Bytes{0x1B, 0x7C, 0x00, 0x07, 0x00, 0x0B, 0x54, 0x04, 0xFB, 0x02, 0xFB, 0x02}));
    EXPECT_EQ(SentBy([&] { return factory_.SendPfValue(0x80, 0x00); }).back(), 0x01)
        << "any nonzero flag is black";
}

TEST_F(Factory, FirstDotAcceptsMinus127To127Only) {
    EXPECT_EQ(factory_.SendFirstDotValue(128), ResultCommandError);
    EXPECT_EQ(factory_.SendFirstDotValue(-128), ResultCommandError);
    EXPECT_TRUE(Sends().empty());
    EXPECT_EQ(SentBy([&] { return factory_.SendFirstDotValue(127); }),
              (Bytes{0x1B, 0x7C, 0x00, 0x06, 0x00, 0x0B, 0x54, 0x06, 0xF9, 0x03, 0x7F}));
    EXPECT_EQ(SentBy([&] { return factory_.SendFirstDotValue(-127); }).back(), 0x81);
}

TEST_F(Factory, AnyBytesCanBeSentAsAPacketWithoutDisturbingTheCodeBytes) {
    const uint8_t odd[] = {0x01, 0x02, 0x03};
    EXPECT_EQ(SentBy([&] { return factory_.SendPacket(odd, 3); }), (Bytes{0x01, 0x02, 0x03}));
    const Bytes store = SentBy([&] { return factory_.SendStoreCommand(); });
    ASSERT_EQ(store.size(), 10u);
    EXPECT_EQ(store[5], 0x0B);
    EXPECT_EQ(store[6], 0x54);
}

TEST_F(Factory, BusyAnswersAreRetriedEvery500MsWithTheSameBytes) {
    RefuseSendsAsBusy(2);
    EXPECT_EQ(factory_.SendHeadAngularValue(0x05), ResultOk);

    const auto sends = Calls("SendDataChannel");
    ASSERT_EQ(sends.size(), 3u);
    EXPECT_EQ(sends[0].result, ResultChannelError);
    EXPECT_EQ(sends[1].result, ResultChannelError);
    EXPECT_EQ(sends[2].result, ResultOk);
    EXPECT_EQ(sends[0].data, sends[2].data);
    EXPECT_EQ(sends[1].data, sends[2].data);
    EXPECT_EQ(Calls("InquireStatus").size(), 2u);
    EXPECT_EQ(Clock().Sleeps(), (std::vector<uint32_t>{500, 500}));
    EXPECT_EQ(CallNames(),
              (std::vector<std::string>{"SendDataChannel", "GetD4ErrorCode", "InquireStatus",
                                        "SendDataChannel", "GetD4ErrorCode", "InquireStatus",
                                        "SendDataChannel"}));
}

TEST_F(Factory, APrinterInItsErrorStateEndsTheRetryWithoutSleeping) {
    SetPrinterState(0, 0x04);
    EXPECT_EQ(factory_.SendStoreCommand(), ResultPrinterError);
    EXPECT_EQ(Calls("InquireStatus").size(), 1u);
    EXPECT_EQ(Calls("SendDataChannel").size(), 1u);
    EXPECT_TRUE(Clock().Sleeps().empty());
    EXPECT_EQ(status_.Record().ErrorCode(), 0x04) << "the error is left for the report";
}

TEST_F(Factory, FailuresOtherThanBusyEndTheSendAtOnce) {
    // A channel failure whose cause is not busy.
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["SendDataChannel"] = {1, 0x2000, 7};
    });
    EXPECT_EQ(factory_.SendStoreCommand(), ResultChannelError);
    EXPECT_EQ(CallNames(), (std::vector<std::string>{"SendDataChannel", "GetD4ErrorCode"}));

    // Any other result is passed on without asking for the cause.
    ClearTrace();
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["SendDataChannel"] = {1, 0x1100, std::nullopt};
    });
    EXPECT_EQ(factory_.SendStoreCommand(), ResultPortNoResponse);
    EXPECT_EQ(CallNames(), (std::vector<std::string>{"SendDataChannel"}));

    // A failed status inquiry while busy.
    ClearTrace();
    RefuseSendsAsBusy(1);
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["InquireStatus"] = {1, 0x1100, std::nullopt};
    });
    EXPECT_EQ(factory_.SendStoreCommand(), ResultPortNoResponse);
    EXPECT_EQ(Calls("SendDataChannel").size(), 1u);
    EXPECT_TRUE(Clock().Sleeps().empty());
}

TEST_F(Factory, APoweredOffPrinterOrAMissingExportFailsTheCommand) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.powered = false; });
    EXPECT_EQ(factory_.SendTopMarginValue(0x28), ResultChannelError);
    EXPECT_TRUE(Calls("InquireStatus").empty());

    ChangeLibrary(
        [](vprinter::LibraryConfig& config) { config.missingExports.insert("SendDataChannel"); });
    EXPECT_EQ(factory_.SendTopMarginValue(0x28), ResultDllMissing);
    EXPECT_TRUE(Clock().Sleeps().empty());
}

}  // namespace
