// The two A4 check sheets against the virtual printer: the values read
// before anything is sent, the report's fixed fields byte for byte, the
// patterns at the stored values, where a failure ends a sheet, and the
// printed pages kept as pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CheckSheetFixture.h"
#include "link/ResultCodes.h"

namespace {

using namespace std::string_literals;
using testing_support::Append;
using testing_support::Bytes;
using testing_support::BytesOf;
using testing_support::CheckSheetTest;

const std::string kCrLf = "\r\n";

// The report of the fixture's printer, from the two new lines after the
// patterns to the form feed.
std::string FixtureReport() {
    return kCrLf + kCrLf + "Waste Ink Pad counter\r\n\0"s +  //
           "  Maximun value = \0"s + "12500\0"s + kCrLf +    //
           "  Present value = \0"s + "300\0\0\0"s + kCrLf +  //
           "     Usage Rate = \0"s + "2 %\0\0\0"s + kCrLf + kCrLf + "Head ID = \0"s + "10203040PK" +
           kCrLf + kCrLf +  //
           "USB ID = \0"s + "A1B2C3D4E5435E7F30" + kCrLf + kCrLf + "Market Destination is \0"s +
           "Soutn America / East Euro / Asia " + kCrLf + kCrLf + "Remaining ink amount\r\n\0"s +  //
           "  Black = \0"s + "80\0\0"s + "%" +                                                    //
           "  Cyan = \0"s + "70\0\0"s + "%" +                                                     //
           "  Magenta = \0"s + "60\0\0"s + "%" +                                                  //
           "  Yellow = \0"s + "50\0\0"s + "%" + "\x0C";
}

class NormalSheet : public CheckSheetTest {};

TEST_F(NormalSheet, ReadsEverythingFirstThenPrintsThePatternsTheReportAndEjects) {
    ASSERT_EQ(sheet_.PrintNormalPaperSheet(), ResultOk);

    EXPECT_EQ(ReadAddresses(),
              (std::vector<int>{0x0D, 0x0C, 0x2B, 0x3E, 0x3F, 0x42, 0x43, 0x44, 0x45, 0x49,
                                0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x61, 0x62, 0x63, 0x64, 0x65,
                                0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x5B}));
    EXPECT_TRUE(NothingReadAfterTheFirstSend());
    const Bytes printed = AcceptedBytes();
    // The eject's send ends with the form feed; a last, empty flush follows.
    const auto sends = AcceptedSends();
    ASSERT_GE(sends.size(), 2u);
    EXPECT_TRUE(sends.back().empty());
    ASSERT_FALSE(sends[sends.size() - 2].empty());
    EXPECT_EQ(sends[sends.size() - 2].back(), 0x0C);

    Bytes expected = Alone([this] { return pattern_.PrintBetaPattern(); });
    Append(expected, Alone([this] { return pattern_.PrintVerticalAlignmentPattern(); }));
    Append(expected, Alone([this] { return pattern_.PrintHorizontalAlignmentPattern(); }));
    Append(expected, BytesOf(FixtureReport()));
    EXPECT_EQ(printed, expected);
}

TEST_F(NormalSheet, ThePrinterPrintsOnePageWithEveryCaptionAndKeepsItsEeprom) {
    const vprinter::Eeprom before = Eeprom();
    ASSERT_EQ(sheet_.PrintNormalPaperSheet(), ResultOk);
    EXPECT_TRUE(Calls("fault").empty()) << Calls("fault").front().note;
    ASSERT_EQ(PageCount(), 1u);
    const std::string text = Printers().PrintedPages("VTUSB001")->front().AllText();
    for (const char* caption :
         {"BETA(VSD1)", "Vertical Alignment (VSD1 / VSD3)", "Waste Ink Pad counter",
          "Maximun value = 12500", "Present value = 300", "Usage Rate = 2 %",
          "Head ID = 10203040PK", "USB ID = A1B2C3D4E5435E7F30",
          "Market Destination is Soutn America / East Euro / Asia", "Remaining ink amount",
          "Black = 80%"}) {
        EXPECT_NE(text.find(caption), std::string::npos) << caption << " in\n" << text;
    }
    EXPECT_EQ(Eeprom(), before);
}

TEST_F(NormalSheet, EachDestinationCodePrintsItsNameWithoutAZeroByte) {
    struct Case {
        uint8_t first;
        uint8_t second;
        std::string name;
    };
    const Case cases[] = {{0x06, 0x32, "Japan"},
                          {0x04, 0xF2, "Soutn America / East Euro / Asia "},
                          {0x00, 0xB2, "North America / West Euro"},
                          {0xFF, 0xFF, "unknown"},
                          {0x04, 0xB2, "unknown"}};
    for (const Case& c : cases) {
        StoreBytes({{0x6E, c.first}, {0x5B, c.second}});
        ASSERT_EQ(sheet_.PrintNormalPaperSheet(), ResultOk);
        EXPECT_EQ(After(Printed(), "Market Destination is \0"s, c.name.size() + 4),
                  c.name + kCrLf + kCrLf)
            << c.name;
    }
    EXPECT_EQ(TPCheckPattern::DestinationText(255), std::string("unknown"));
}

TEST_F(NormalSheet, CounterFieldsAreSixBytesWithTheirZeroBytes) {
    // A = 25 gives the highest maximum; 30000 is past it.
    StoreBytes({{0x2B, 25}, {0x0C, 30000 / 256}, {0x0D, 30000 % 256}});
    ASSERT_EQ(sheet_.PrintNormalPaperSheet(), ResultOk);
    EXPECT_EQ(After(Printed(), "  Maximun value = \0"s, 6), "25000\0"s);
    EXPECT_EQ(After(Printed(), "  Present value = \0"s, 6), "30000\0"s);
    EXPECT_EQ(After(Printed(), "     Usage Rate = \0"s, 6), "120 %\0"s);

    // The fullest counter over the lowest maximum is the widest rate there
    // is: it still keeps its zero byte.
    StoreBytes({{0x2B, 0}, {0x0C, 0xFF}, {0x0D, 0xFF}});
    ASSERT_EQ(sheet_.PrintNormalPaperSheet(), ResultOk);
    EXPECT_EQ(After(Printed(), "  Present value = \0"s, 6), "65535\0"s);
    EXPECT_EQ(After(Printed(), "     Usage Rate = \0"s, 6), "524 %\0"s);
}

TEST_F(NormalSheet, InkAmountsAreFourByteFieldsCutWhenLonger) {
    struct Case {
        std::array<int16_t, 4> ink;
        std::string fields;  // the four fields, each with its "%"
    };
    const Case cases[] = {
        {{5, -99, 999, 0}, "5\0\0\0%"s + "-99\0%"s + "999\0%"s + "0\0\0\0%"s},
        {{1000, -100, 32767, -32768}, "100\0%"s + "-10\0%"s + "327\0%"s + "-32\0%"s},
    };
    for (const Case& c : cases) {
        SetInk(c.ink);
        ASSERT_EQ(sheet_.PrintNormalPaperSheet(), ResultOk);
        const std::string printed = Printed();
        std::string fields;
        for (const std::string& caption :
             {"  Black = \0"s, "  Cyan = \0"s, "  Magenta = \0"s, "  Yellow = \0"s}) {
            fields += After(printed, caption, 5);
        }
        EXPECT_EQ(fields, c.fields);
        // The four amounts stand on one line, right before the form feed.
        EXPECT_EQ(printed.substr(printed.size() - 6), After(printed, "  Yellow = \0"s, 5) + "\x0C");
    }
}

TEST_F(NormalSheet, AMarkerInkValueLeavesTheInkPartOutButThePageIsEjected) {
    SetInk({80, 0x4E41, 60, 50});
    ASSERT_EQ(sheet_.PrintNormalPaperSheet(), ResultOk);
    const std::string printed = Printed();
    EXPECT_EQ(printed.find("Remaining ink amount"), std::string::npos);
    EXPECT_EQ(printed.find("  Black = "), std::string::npos);
    EXPECT_EQ(printed.substr(printed.size() - 5), kCrLf + kCrLf + "\x0C");
    EXPECT_EQ(PageCount(), 1u);
}

TEST_F(NormalSheet, AFailedReadSendsNothingAtAll) {
    // One address of each read: counter, Head ID, USB ID, market setting.
    for (const int address : {0x0D, 0x3F, 0x42, 0x49, 0x5C, 0x6D, 0x6E, 0x5B}) {
        ChangePrinter("VTUSB001", [=](vprinter::PrinterConfig& config) {
            config.readFaults = {{static_cast<uint8_t>(address), 0x2000}};
        });
        ClearTrace();
        EXPECT_EQ(sheet_.PrintNormalPaperSheet(), 0x2000) << address;
        EXPECT_TRUE(Calls("SendDataChannel").empty()) << address;
        EXPECT_EQ(ReadAddresses().back(), address);
    }
    // A USB ID that no printer holds is a failed read too.
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.readFaults = {}; });
    StoreBytes({{0x60, 'a'}});
    EXPECT_EQ(sheet_.PrintNormalPaperSheet(), ResultUsbIdError);
    EXPECT_TRUE(Calls("SendDataChannel").empty());
    EXPECT_EQ(raster_.FillCount(), 0);
}

TEST_F(NormalSheet, AFailedSendEndsTheSheetWithoutAnEject) {
    FailSend(3);
    EXPECT_EQ(sheet_.PrintNormalPaperSheet(), ResultChannelError);
    EXPECT_EQ(Calls("SendDataChannel").size(), 3u) << "nothing is sent after the failure";
    EXPECT_EQ(Calls("InquireStatus").size(), 0u);
    EXPECT_EQ(PageCount(), 0u);
}

TEST_F(NormalSheet, AFailedEjectEndsTheSheetWithItsCode) {
    ASSERT_EQ(sheet_.PrintNormalPaperSheet(), ResultOk);
    // The send that carries the form feed, counted from the sheet's first.
    const auto first = Calls("SendDataChannel");
    const auto eject = std::find_if(first.begin(), first.end(), [](const auto& call) {
        return !call.data.empty() && call.data.back() == 0x0C;
    });
    ASSERT_NE(eject, first.end());
    const int ejectSend = static_cast<int>(eject - first.begin()) + 1;

    LetThePrinterFinish();
    ClearTrace();
    FailSend(ejectSend);
    EXPECT_EQ(sheet_.PrintNormalPaperSheet(), ResultChannelError);
    const auto calls = Calls("SendDataChannel");
    ASSERT_EQ(calls.size(), static_cast<size_t>(ejectSend)) << "no flush after the failed eject";
    EXPECT_EQ(calls.back().data.back(), 0x0C);
    EXPECT_EQ(PageCount(), 1u) << "only the first sheet's page";
    // The form feed stays in the job for the next send.
    ASSERT_GT(raster_.FillCount(), 0);
    EXPECT_EQ(raster_.Buffer()[raster_.FillCount() - 1], 0x0C);
}

TEST_F(NormalSheet, AFailedInquiryEndsTheSheetBeforeTheInkPartAndTheEject) {
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["InquireStatus"] = {1, ResultPortNoResponse, std::nullopt};
    });
    EXPECT_EQ(sheet_.PrintNormalPaperSheet(), ResultPortNoResponse);
    const std::string printed = Printed();
    EXPECT_EQ(printed.find("Remaining ink amount"), std::string::npos);
    EXPECT_EQ(printed.find('\x0C'), std::string::npos);
    EXPECT_EQ(PageCount(), 0u);
    // The end of the report is still in the job, unsent.
    const std::string buffered(reinterpret_cast<const char*>(raster_.Buffer()),
                               static_cast<size_t>(raster_.FillCount()));
    const std::string tail = "Soutn America / East Euro / Asia " + kCrLf + kCrLf;
    ASSERT_GE(buffered.size(), tail.size());
    EXPECT_EQ(buffered.substr(buffered.size() - tail.size()), tail);
}

TEST_F(NormalSheet, AnUnreadableHeadIdFillsItsFieldWithZeroBytes) {
    StoreBytes({{0x43, 0x84}});
    ASSERT_EQ(sheet_.PrintNormalPaperSheet(), ResultOk);
    EXPECT_EQ(After(Printed(), "Head ID = \0"s, 12), std::string(10, '\0') + kCrLf);
}

// The stored adjustment values, all different.
const std::map<int, uint8_t> kStored = {{0x34, 1},    {0x36, 2},    {0x38, 3},    {0x32, 4},
                                        {0x35, 0xFF}, {0x37, 0xFE}, {0x39, 0xFD}, {0x33, 0xFC},
                                        {0x2C, 2},    {0x2D, 0xFD}, {0x75, 5},    {0x5A, 0xFE}};
const std::vector<int> kPhotoReads = {0x34, 0x36, 0x38, 0x32, 0x35, 0x37, 0x39, 0x33, 0x2C, 0x2D};

size_t Occurrences(const std::string& stream, const std::string& piece) {
    size_t count = 0;
    for (size_t at = stream.find(piece); at != std::string::npos; at = stream.find(piece, at + 1)) {
        ++count;
    }
    return count;
}

class PhotoSheet : public CheckSheetTest {
  protected:
    void SetUp() override {
        CheckSheetTest::SetUp();
        StoreBytes(kStored);
    }
};

TEST_F(PhotoSheet, ReadsTheTenValuesFirstThenPrintsBothPagesAtThem) {
    random_.Seed(0);
    ASSERT_EQ(sheet_.PrintPhotoPaperSheet(), ResultOk);
    EXPECT_EQ(ReadAddresses(), kPhotoReads);
    EXPECT_TRUE(NothingReadAfterTheFirstSend());
    const Bytes printed = AcceptedBytes();

    // The same steps one by one, with the same random numbers.
    LetThePrinterFinish();
    random_.Seed(0);
    const std::string heading =
        "Bi-D adjustment" + std::string(18, ' ') + "X" + std::string(10, ' ') + "X+1 X-1\r\n\0"s;
    ASSERT_EQ(heading.size(), 54u);
    struct Mode {
        uint8_t dotSize;
        int black;
        int colour;
        std::string title;
    };
    // Each title goes out with its zero byte: 18 bytes, ECO's 17.
    const Mode modes[] = {{16, 1, -1, "VSD1 BLACK/COLOR\r\0"s},
                          {17, 2, -2, "VSD2 BLACK/COLOR\r\0"s},
                          {18, 3, -3, "VSD3 BLACK/COLOR\r\0"s},
                          {19, 4, -4, "ECO BLACK/COLOR\r\0"s}};
    Bytes expected = Alone([this] { return remote_.SendRemoteSetting(3); });
    Append(expected, Alone([this] { return pattern_.PrintSheetHeadAngularPattern(); }));
    Append(expected, BytesOf(kCrLf + kCrLf + heading));
    for (const Mode& mode : modes) {
        Append(expected,
               Alone([&] { return pattern_.PrintSheetBidBlackPattern(mode.dotSize, mode.black); }));
        Append(expected, BytesOf(mode.title));
        Append(expected, Alone([&] {
                   return pattern_.PrintSheetBidColorPattern(mode.dotSize, mode.colour);
               }));
    }
    Append(expected, Alone([this] { return pattern_.PrintSheetPfBlackPattern(2); }));
    Append(expected, Alone([this] { return pattern_.PrintSheetPfColorPattern(-3); }));
    expected.push_back(0x0C);
    Append(expected, Alone([this] { return remote_.SendRemoteSetting(3); }));
    Append(expected, Alone([this] { return pattern_.PrintSheetTopMarginPattern(); }));
    Append(expected, Alone([this] { return pattern_.PrintAccumulatedPitchPattern(); }));
    expected.push_back(0x0C);
    EXPECT_EQ(printed, expected);
}

TEST_F(PhotoSheet, PrintsTwoPagesAndLeavesTheStoredValuesInThePrinter) {
    const vprinter::Eeprom before = Eeprom();
    ASSERT_EQ(sheet_.PrintPhotoPaperSheet(), ResultOk);
    EXPECT_TRUE(Calls("fault").empty()) << Calls("fault").front().note;
    EXPECT_EQ(PageCount(), 2u);
    EXPECT_EQ(Eeprom(), before);
    EXPECT_EQ(Occurrences(Printed(), "REMOTE1"), 2u);
}

TEST_F(PhotoSheet, AFailedReadSendsNothingAtAll) {
    for (const int address : kPhotoReads) {
        ChangePrinter("VTUSB001", [=](vprinter::PrinterConfig& config) {
            config.readFaults = {{static_cast<uint8_t>(address), 0x2000}};
        });
        ClearTrace();
        EXPECT_EQ(sheet_.PrintPhotoPaperSheet(), 0x2000) << address;
        EXPECT_TRUE(Calls("SendDataChannel").empty()) << address;
        EXPECT_EQ(ReadAddresses().back(), address);
    }
    EXPECT_EQ(raster_.FillCount(), 0);
}

TEST_F(PhotoSheet, AFailedSendOnPageOneEndsTheSheetWithoutAnEject) {
    const vprinter::Eeprom before = Eeprom();
    FailSend(5);
    EXPECT_EQ(sheet_.PrintPhotoPaperSheet(), ResultChannelError);
    EXPECT_EQ(PageCount(), 0u);
    EXPECT_EQ(Occurrences(Printed(), "REMOTE1"), 1u) << "page 2 is never begun";
    EXPECT_EQ(Eeprom(), before);
}

TEST_F(PhotoSheet, AFailedSendOnPageTwoLeavesPageOneEjected) {
    ASSERT_EQ(sheet_.PrintPhotoPaperSheet(), ResultOk);
    const auto first = Calls("SendDataChannel");
    const auto eject = std::find_if(first.rbegin(), first.rend(), [](const auto& call) {
        return !call.data.empty() && call.data.back() == 0x0C;
    });
    ASSERT_NE(eject, first.rend());
    const int lastEject = static_cast<int>(first.rend() - eject);

    LetThePrinterFinish();
    const size_t pages = PageCount();
    ClearTrace();
    FailSend(lastEject);
    EXPECT_EQ(sheet_.PrintPhotoPaperSheet(), ResultChannelError);
    EXPECT_EQ(Calls("SendDataChannel").size(), static_cast<size_t>(lastEject));
    EXPECT_EQ(PageCount(), pages + 1) << "page 1 only";
}

}  // namespace
