// The program's service log: what the pages write, with the printer it went
// to, and a log that cannot be written told once without stopping the work.
#include <gtest/gtest.h>

#include <filesystem>

#include "BidPagesFixture.h"
#include "platform/ServiceLogFile.h"

namespace {

constexpr const char* kUsbId = "A1B2C3D4E5435E7F30";

class ServiceLogPages : public bid_page_tests::BidPages {
  protected:
    void InputBid(const char* edit, const char* text) {
        bid_page_tests::BidPages::GoToInput();
        for (const bid_page_tests::BidItem& item : bid_page_tests::kItems) {
            Check(item.check)->setChecked(false);
        }
        Type(edit, text);
        Press("BidInputOKBtn");
    }

    std::vector<ServiceLogRecord> LogRecords() {
        std::vector<ServiceLogRecord> records;
        std::string reason;
        size_t damaged = 0;
        EXPECT_TRUE(orvane::ServiceLogFile(ServiceLogPath()).ReadAll(records, reason, damaged))
            << reason;
        EXPECT_EQ(damaged, 0u);
        return records;
    }

    size_t ServiceLogBoxes() {
        size_t boxes = 0;
        for (const orvane::MessageRequest& request : Boxes().shown) {
            boxes += request.caption == "Service log" ? 1 : 0;
        }
        return boxes;
    }
};

TEST_F(ServiceLogPages, ThePagesWritesAreLoggedWithThePrinterAndItsUsbIdOnceRead) {
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
        for (size_t i = 0; i < 18; ++i) {
            eeprom[0x5C + i] = static_cast<uint8_t>(kUsbId[i]);
        }
    });
    InputBid("BidVSD2CLInputEdit", "-5");
    ClickItem("AdjustRdoGrp", 1);
    Press("USBIDReadOutBtn");
    ClickItem("AdjustRdoGrp", 4);
    InputBid("BidVSD1BkInputEdit", "3");

    const std::vector<ServiceLogRecord> records = LogRecords();
    ASSERT_EQ(records.size(), 2u) << "reads are not logged";
    EXPECT_EQ(records[0].operation + " " + records[0].target + " " + records[0].value,
              "bid bid-vsd2-color -5");
    EXPECT_EQ(records[0].usbId, "") << "not read yet";
    EXPECT_EQ(records[1].operation + " " + records[1].target + " " + records[1].value,
              "bid bid-vsd1-black 3");
    EXPECT_EQ(records[1].usbId, kUsbId);
    for (const ServiceLogRecord& record : records) {
        EXPECT_EQ(record.port, "VTUSB001");
        EXPECT_EQ(record.model, "Orvane K31");
        EXPECT_EQ(record.time, "2026-12-07T10:00:00+00:00") << "the program's clock";
        EXPECT_EQ(record.result, "ok");
    }
    EXPECT_EQ(ServiceLogBoxes(), 0u);
}

TEST_F(ServiceLogPages, ALogThatCannotBeWrittenIsToldOnceAndThePrinterIsWrittenAllTheSame) {
    // A folder stands where the log file belongs.
    std::filesystem::create_directories(ServiceLogPath());
    InputBid("BidVSD2CLInputEdit", "-5");
    EXPECT_EQ(Eeprom()[0x37], 0xFB);
    EXPECT_EQ(StatusText(), QString(bid_page_tests::kWritten));
    ASSERT_EQ(ServiceLogBoxes(), 1u);
    EXPECT_NE(Boxes().shown.back().text.find(ServiceLogPath()), std::string::npos)
        << Boxes().shown.back().text;

    InputBid("BidVSD1BkInputEdit", "3");
    EXPECT_EQ(Eeprom()[0x34], 3);
    EXPECT_EQ(ServiceLogBoxes(), 1u) << "told once";
}

}  // namespace
