#include <gtest/gtest.h>

#include "link/ResultCodes.h"
#include "link/Rk7statuscontrol.h"
#include "support/LinkFixture.h"

namespace {

using testing_support::VirtualPrinterTest;

class StatusControl : public VirtualPrinterTest {
  protected:
    void SetInk(int16_t black, int16_t cyan, int16_t magenta, int16_t yellow) {
        ChangePrinter("VTUSB001", [=](vprinter::PrinterConfig& config) {
            config.ink = {black, cyan, magenta, yellow};
        });
    }
    TPStatusControl status_{Link()};
};

TEST_F(StatusControl, AMarkerKeepsThePreviousAmountAndClearsTheValidFlag) {
    ASSERT_EQ(OpenLink(), ResultOk);
    SetInk(70, 65, 40, 30);
    ASSERT_EQ(status_.InquirePrinterStatus(), ResultOk);
    EXPECT_EQ(status_.Record().InkValid(), 1);

    SetInk(80, 0x4E41, 60, 50);
    ASSERT_EQ(status_.InquirePrinterStatus(), ResultOk);
    const PrinterStatus& record = status_.Record();
    EXPECT_EQ(record.InkValid(), 0);
    EXPECT_EQ(record.AcceptedInk(PrinterStatus::Black), 80);
    EXPECT_EQ(record.AcceptedInk(PrinterStatus::Cyan), 65);
    EXPECT_EQ(record.AcceptedInk(PrinterStatus::Magenta), 60);
    EXPECT_EQ(record.AcceptedInk(PrinterStatus::Yellow), 50);
    EXPECT_EQ(record.RawInk(PrinterStatus::Cyan), 0x4E41);
}

TEST_F(StatusControl, AColourThatNeverHadAValidAmountShowsZero) {
    ASSERT_EQ(OpenLink(), ResultOk);
    SetInk(80, 0x4E41, 60, 50);
    ASSERT_EQ(status_.InquirePrinterStatus(), ResultOk);
    EXPECT_EQ(status_.Record().AcceptedInk(PrinterStatus::Cyan), 0);
    EXPECT_EQ(status_.Record().AcceptedInk(PrinterStatus::Black), 80);
    for (const int16_t marker : {0x4349, 0x5245, 0x5745}) {
        SetInk(marker, 20, 20, 20);
        ASSERT_EQ(status_.InquirePrinterStatus(), ResultOk);
        EXPECT_EQ(status_.Record().InkValid(), 0) << marker;
        EXPECT_EQ(status_.Record().AcceptedInk(PrinterStatus::Black), 80) << marker;
    }
}

TEST_F(StatusControl, AFailedInquiryLeavesTheAcceptedAmountsAndTheFlag) {
    ASSERT_EQ(OpenLink(), ResultOk);
    SetInk(70, 65, 40, 30);
    ASSERT_EQ(status_.InquirePrinterStatus(), ResultOk);
    SetInk(10, 10, 10, 10);
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["InquireStatus"] = {1, 0x2000, std::nullopt};
    });
    EXPECT_EQ(status_.InquirePrinterStatus(), ResultChannelError);
    EXPECT_EQ(status_.Record().InkValid(), 1);
    EXPECT_EQ(status_.Record().AcceptedInk(PrinterStatus::Black), 70);
    EXPECT_EQ(status_.Record().AcceptedInk(PrinterStatus::Yellow), 30);
}

TEST_F(StatusControl, TheLibraryFillsOnlyItsPartOfTheRecord) {
    ASSERT_EQ(OpenLink(), ResultOk);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.state = 0;
        config.error = 6;
        config.ink = {-3, 0x4E41, 999, 0};
    });
    PrinterStatus record;
    for (size_t i = 0; i < PrinterStatus::kSize; ++i) {
        record.Bytes()[i] = 0xEE;
    }
    ASSERT_EQ(Link().InquireStatus(record.Bytes()), ResultOk);
    EXPECT_EQ(record.State(), 0);
    EXPECT_EQ(record.ErrorCode(), 6);
    EXPECT_EQ(record.Bytes()[14], 0xFD);
    EXPECT_EQ(record.Bytes()[15], 0xFF);
    EXPECT_EQ(record.RawInk(PrinterStatus::Cyan), 0x4E41);
    EXPECT_EQ(record.Bytes()[16], 0x41) << "the marker lies in memory as 'A' 'N'";
    EXPECT_EQ(record.Bytes()[17], 0x4E);
    EXPECT_EQ(record.RawInk(PrinterStatus::Magenta), 999);
    for (size_t i = PrinterStatus::kLibrarySize; i < PrinterStatus::kSize; ++i) {
        EXPECT_EQ(record.Bytes()[i], 0xEE) << "byte " << i;
    }
}

}  // namespace
