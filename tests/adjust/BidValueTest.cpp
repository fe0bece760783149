// The Bi-D values: the read of each item's byte, the range check of the typed
// text with its error item, and the packet of each item.
#include <gtest/gtest.h>

#include <map>

#include "BidFixture.h"
#include "PacketTrace.h"
#include "link/PrintModes.h"
#include "link/ResultCodes.h"

namespace {

using adjust_tests::BidPacket;
using adjust_tests::Bytes;
using adjust_tests::SentData;

struct ItemCase {
    const char* name;
    uint8_t selector;
    uint8_t mode;
    int address;
    uint8_t modeByte;
    uint8_t colourByte;
    int16_t errorItem;
};

// The eight items in item order.
const ItemCase kItems[] = {
    {"VSD1 Black", SelectBlack, ModeVsd1, 0x34, 1, 1, 1},
    {"VSD1 Color", SelectColour, ModeVsd1, 0x35, 1, 2, 6},
    {"VSD2 Black", SelectBlack, ModeVsd2, 0x36, 2, 1, 2},
    {"VSD2 Color", SelectColour, ModeVsd2, 0x37, 2, 2, 7},
    {"VSD3 Black", SelectBlack, ModeVsd3, 0x38, 3, 1, 3},
    {"VSD3 Color", SelectColour, ModeVsd3, 0x39, 3, 2, 8},
    {"ECO Black", SelectBlack, ModeEco, 0x32, 0, 1, 5},
    {"ECO Color", SelectColour, ModeEco, 0x33, 0, 2, 10},
};

using BidValue = adjust_tests::BidTest;

TEST_F(BidValue, EachItemReadsItsOwnByteAsSignedText) {
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& bytes) {
        const uint8_t stored[] = {0x01, 0x02, 0xDC, 0x24, 0x80, 0x7F, 0xFF, 0x00};
        for (size_t i = 0; i < 8; ++i) {
            bytes[0x32 + i] = stored[i];  // 0x32 ECO black ... 0x39 VSD3 colour
        }
    });
    ClearTrace();
    const std::map<int, std::string> expected = {{0x32, "1"},  {0x33, "2"},    {0x34, "-36"},
                                                 {0x35, "36"}, {0x36, "-128"}, {0x37, "127"},
                                                 {0x38, "-1"}, {0x39, "0"}};
    for (const ItemCase& item : kItems) {
        ClearTrace();
        std::string text = "left over";
        ASSERT_EQ(bid_.ReadBidValue(item.selector, item.mode, text), ResultOk) << item.name;
        EXPECT_EQ(text, expected.at(item.address)) << item.name;
        const auto reads = Calls("D4ReadEeprom");
        ASSERT_EQ(reads.size(), 1u);
        EXPECT_EQ(reads[0].args.at(0), item.address) << item.name;
    }
    // Any selector other than 1 is colour.
    std::string text;
    ASSERT_EQ(bid_.ReadBidValue(9, ModeVsd1, text), ResultOk);
    EXPECT_EQ(text, "36");
}

TEST_F(BidValue, TheRangeEndsAreAcceptedAndSentAsTheItemsPacket) {
    for (const ItemCase& item : kItems) {
        for (const int value : {36, -36, 0}) {
            ClearTrace();
            const std::string text = std::to_string(value);
            ASSERT_EQ(bid_.WriteBidValue(item.selector, item.mode, text), ResultOk) << item.name;
            EXPECT_EQ(SentData(Calls()),
                      std::vector<Bytes>{BidPacket(item.modeByte, item.colourByte, value)})
                << item.name << " " << value;
        }
    }
    EXPECT_EQ(bid_.ErrorItem(), 0);
}

TEST_F(BidValue, OutOfRangeValuesAndTextsThatAreNoNumberAreRefusedWithTheItemsErrorItem) {
    for (const ItemCase& item : kItems) {
        for (const char* text : {"37", "-37", "72", "-72", "abc", "", "12a", "$10", "0x1"}) {
            EXPECT_EQ(bid_.WriteBidValue(item.selector, item.mode, text), ResultBidValueError)
                << item.name << " \"" << text << '"';
            EXPECT_EQ(bid_.ErrorItem(), item.errorItem) << item.name;
        }
    }
    EXPECT_TRUE(Calls().empty()) << "a refused value reached the printer";
}

TEST_F(BidValue, TheVsd1ColourValueIsRangeCheckedLikeTheOthers) {
    EXPECT_EQ(bid_.WriteBidValue(SelectColour, ModeVsd1, "37"), ResultBidValueError);
    EXPECT_EQ(bid_.ErrorItem(), TPBid::ErrorVsd1Colour);
    EXPECT_EQ(bid_.WriteBidValue(SelectColour, ModeVsd1, "five"), ResultBidValueError);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(BidValue, TheErrorItemKeepsTheLastRefusalUntilTheNextOne) {
    EXPECT_EQ(bid_.WriteBidValue(SelectBlack, ModeVsd2, "40"), ResultBidValueError);
    ASSERT_EQ(bid_.WriteBidValue(SelectBlack, ModeVsd3, "5"), ResultOk);
    EXPECT_EQ(bid_.ErrorItem(), TPBid::ErrorVsd2Black);
    EXPECT_EQ(bid_.WriteBidValue(SelectColour, ModeEco, "-40"), ResultBidValueError);
    EXPECT_EQ(bid_.ErrorItem(), TPBid::ErrorEcoColour);
}

TEST_F(BidValue, ReadAndSendFailuresReturnTheirCode) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.readFaults[0x36] = ResultChannelError;
    });
    std::string text = "left over";
    EXPECT_EQ(bid_.ReadBidValue(SelectBlack, ModeVsd2, text), ResultChannelError);
    EXPECT_EQ(text, "left over");

    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["SendDataChannel"] = vprinter::CallFault{1, ResultPortNoResponse, {}};
    });
    EXPECT_EQ(bid_.WriteBidValue(SelectBlack, ModeVsd2, "3"), ResultPortNoResponse);
    EXPECT_EQ(bid_.ErrorItem(), 0) << "a send failure is not a refused value";
}

TEST_F(BidValue, AModeThatIsNoneOfTheFourIsRefusedWithoutTouchingThePrinter) {
    std::string text = "left over";
    EXPECT_EQ(bid_.ReadBidValue(SelectBlack, 0, text), ResultCommandError);
    EXPECT_EQ(bid_.WriteBidValue(SelectBlack, 20, "0"), ResultCommandError);
    EXPECT_EQ(text, "left over");
    EXPECT_TRUE(Calls().empty());
}

}  // namespace
