// The stream file that keeps the data calls a printer received.
#include "PrintFixture.h"
#include "support/TempFolder.h"
#include "vprinter/Capture.h"

namespace {

using vprinter::ParseStream;
using vprinter::StreamRecord;
using vprinter_test::PrintTest;
using vprinter_test::Stream;

struct Record {
    char kind;
    uint16_t result;
    std::string data;
    bool operator==(const Record&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Record& record) {
    return out << record.kind << " " << record.result << " [" << record.data << "]";
}

std::vector<Record> Records(const std::string& file) {
    std::vector<StreamRecord> records;
    std::string error;
    EXPECT_TRUE(ParseStream(file, records, error)) << error;
    std::vector<Record> read;
    for (const auto& record : records) {
        read.push_back({record.kind, record.result, file.substr(record.offset, record.length)});
    }
    return read;
}

class StreamFile : public PrintTest {};

TEST_F(StreamFile, KeepsEveryDataCallInOrderWithWhatItReturned) {
    ASSERT_EQ(Send(Stream().Text("A")), ResultOk);
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.busySends = 1; });
    ASSERT_EQ(Send(Stream().Text("BB")), ResultChannelError);
    ASSERT_EQ(Send(Stream().Text("BB")), ResultOk);
    ASSERT_EQ(Link().D4Reset(), ResultOk);
    Link().SetD4CommandRCode(1, 2);
    ASSERT_EQ(Send(Stream().Packet(0x50, 0x28, {})), ResultOk);

    const std::string file = testing_support::ReadFile(Printers().StreamFile("VTUSB001"));
    ASSERT_EQ(file.compare(0, 8, "ORVSTRM1"), 0);
    const std::string store("\x1B\x7C\x00\x05\x00\x0B\x54\x50\xAF\x28", 10);
    EXPECT_EQ(Records(file), (std::vector<Record>{{'R', 1, ""},
                                                  {'C', 1, "\x0B\x54"},
                                                  {'D', 1, "A"},
                                                  {'D', 0x2000, "BB"},
                                                  {'D', 1, "BB"},
                                                  {'R', 1, ""},
                                                  {'C', 1, "\x0B\x54"},
                                                  {'C', 1, "\x01\x02"},
                                                  {'D', 1, store}}));
    // The new code pair turned the same store packet into a fault.
    EXPECT_EQ(Faults().size(), 1u);
}

TEST_F(StreamFile, ReadsWholeRecordsOfACutFileAndTakesOtherFilesAsRawData) {
    const std::string file =
        std::string("ORVSTRM1") +
        vprinter::StreamRecordBytes('D', 1, reinterpret_cast<const uint8_t*>("xy"), 2) +
        vprinter::StreamRecordBytes('D', 1, reinterpret_cast<const uint8_t*>("abc"), 3);
    std::vector<StreamRecord> records;
    std::string error;
    EXPECT_FALSE(ParseStream(file.substr(0, file.size() - 1), records, error));
    EXPECT_EQ(records.size(), 1u);
    EXPECT_NE(error.find("announces 3 bytes, but only 2 follow"), std::string::npos) << error;

    EXPECT_TRUE(ParseStream("\x1B@plain data", records, error));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].offset, 0u);
    EXPECT_EQ(records[0].length, 12u);
}

TEST(StreamFileBound, DropsTheOldestRecordsAtAPlaceBetweenPages) {
    testing_support::TempFolder folder;
    const std::string path = folder / "received.stream";
    vprinter::CaptureFile capture(path, 4096);
    capture.Started(0x0B, 0x54);
    std::vector<uint8_t> data(100);
    for (int call = 0; call < 200; ++call) {
        data[0] = static_cast<uint8_t>(call);
        capture.Call(data.data(), data.size(), 1, call % 7 == 0, 0x0B, 0x54);
        ASSERT_LE(capture.Size(), 4096u + 108u);
    }
    const auto records = Records(testing_support::ReadFile(path));
    ASSERT_GE(records.size(), 3u);
    EXPECT_EQ(records[0], (Record{'T', 1, ""}));
    EXPECT_EQ(records[1], (Record{'C', 1, "\x0B\x54"}));
    ASSERT_EQ(records[2].kind, 'D');
    EXPECT_EQ(static_cast<uint8_t>(records[2].data[0]) % 7, 0) << "cut between pages";
    EXPECT_EQ(static_cast<uint8_t>(records.back().data[0]), 199);
    for (size_t i = 3; i < records.size(); ++i) {
        EXPECT_EQ(static_cast<uint8_t>(records[i].data[0]),
                  static_cast<uint8_t>(records[i - 1].data[0] + 1))
            << "no call lost after the cut";
    }
}

}  // namespace
