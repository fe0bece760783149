// The remote-mode sequences: their bytes as the printer receives them.
#include <gtest/gtest.h>

#include <numeric>

#include "link/ResultCodes.h"
#include "link/Rk7remotecomm.h"
#include "support/PrintJobFixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kEnter = {0x1B, 0x28, 0x52, 0x08, 0x00, 0x00, 0x52, 0x45, 0x4D, 0x4F, 0x54, 0x45, 0x31};
const Bytes kExit = {0x1B, 0x00, 0x00, 0x00};
const Bytes kSettingHead = {0x53, 0x4E, 0x4C, 0x00, 0x00, 0x09};

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const auto& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

Bytes TableOf(uint8_t setting) {
    const auto& table = TPRemoteComm::SettingTable(setting);
    return Bytes(table.begin(), table.end());
}

class RemoteComm : public testing_support::PrintJobTest {
  protected:
    TPRemoteComm remote_{raster_};
};

TEST(RemoteCommTables, EachSettingSelectsItsTableWithTheKnownSum) {
    const std::vector<std::pair<uint8_t, uint16_t>> sums = {
        {0, 0x0897}, {1, 0x0848}, {2, 0x0897}, {3, 0x089B}, {4, 0x0820},
        {5, 0x0766}, {6, 0x070D}, {7, 0x07F1}, {8, 0x0897}, {255, 0x0897}};
    for (const auto& [setting, sum] : sums) {
        const auto& table = TPRemoteComm::SettingTable(setting);
        const int total = std::accumulate(table.begin(), table.end(), 0);
        EXPECT_EQ(total, sum) << "setting " << int{setting};
        EXPECT_EQ(TPRemoteComm::TableSum(table), sum) << "setting " << int{setting};
    }
}

TEST_F(RemoteComm, SettingSixSendsEntryHeadTableSumAndExitInOneFlush) {
    EXPECT_EQ(remote_.SendRemoteSetting(6), ResultOk);
    const Bytes expected = Join({kEnter, kSettingHead, TableOf(6), {0x0D, 0x07}, kExit});
    ASSERT_EQ(expected.size(), 13u + 6u + 72u + 2u + 4u);
    EXPECT_EQ(Sends(), (std::vector<Bytes>{expected}));
    EXPECT_EQ(raster_.FillCount(), 0);
}

TEST_F(RemoteComm, SettingNineSendsTableAAsSettingZeroDoes) {
    ASSERT_EQ(remote_.SendRemoteSetting(9), ResultOk);
    ASSERT_EQ(remote_.SendRemoteSetting(0), ResultOk);
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), 2u);
    EXPECT_EQ(sends[0], sends[1]);
    EXPECT_EQ(sends[0], Join({kEnter, kSettingHead, TableOf(2), {0x97, 0x08}, kExit}));
}

TEST_F(RemoteComm, NozzleCheckSendsCaptionWithItsZeroCommandAndTwoNewLines) {
    EXPECT_EQ(remote_.PrintNozzleCheck(), ResultOk);
    const std::string caption = "Nozzle check pattern";
    Bytes captionBytes(caption.begin(), caption.end());
    captionBytes.push_back(0x0D);
    captionBytes.push_back(0x00);
    ASSERT_EQ(captionBytes.size(), 22u);
    EXPECT_EQ(Sends(), (std::vector<Bytes>{Join({captionBytes,
                                                 kEnter,
                                                 {0x4E, 0x43, 0x02, 0x00, 0x00, 0x00},
                                                 kExit,
                                                 {0x0D, 0x0A, 0x0D, 0x0A}})}));
}

TEST_F(RemoteComm, EntryAndExitOnlyAppendToTheJob) {
    ASSERT_EQ(remote_.EnterRemoteMode(), ResultOk);
    ASSERT_EQ(remote_.ExitRemoteMode(), ResultOk);
    EXPECT_TRUE(Sends().empty());
    EXPECT_EQ(raster_.FillCount(), 17);
    EXPECT_EQ(Bytes(raster_.Buffer(), raster_.Buffer() + 17), Join({kEnter, kExit}));
}

TEST_F(RemoteComm, TheSettingSharesTheBufferWithBytesAlreadyWaiting) {
    // 950 bytes of an earlier caller: the setting's 97 bytes fill the buffer
    // to 1000 in the middle of the table, which goes out then; the rest
    // follows with the flush.
    const Bytes earlier(950, 0x20);
    ASSERT_EQ(raster_.SendBytes(earlier.data(), 950), ResultOk);
    ASSERT_EQ(remote_.SendRemoteSetting(5), ResultOk);
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), 2u);
    EXPECT_EQ(sends[0].size(), 1000u);
    EXPECT_EQ(sends[1].size(), 47u);
    EXPECT_EQ(AcceptedBytes(),
              Join({earlier, kEnter, kSettingHead, TableOf(5), {0x66, 0x07}, kExit}));
}

TEST_F(RemoteComm, AFailedFlushIsPassedOnAndTheBytesStayForTheNextSend) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.powered = false; });
    EXPECT_EQ(remote_.SendRemoteSetting(3), ResultChannelError);
    EXPECT_EQ(raster_.FillCount(), 97);

    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.powered = true; });
    ASSERT_EQ(raster_.Flush(), ResultOk);
    EXPECT_EQ(AcceptedBytes(), Join({kEnter, kSettingHead, TableOf(3), {0x9B, 0x08}, kExit}));
}

}  // namespace
