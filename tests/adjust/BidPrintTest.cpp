// The Bi-D check pattern page: the stored values read first, the heading,
// the titles and pieces of the flagged modes, the generators' rows around the
// stored values, and the form feed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "BidFixture.h"
#include "PacketTrace.h"
#include "link/ResultCodes.h"

namespace {

using adjust_tests::Bytes;
using adjust_tests::SentData;

// The eight stored values, VSD1 black ... ECO colour, all different.
const std::map<int, uint8_t> kStored = {{0x34, 0x01}, {0x35, 0x02}, {0x36, 0x03}, {0x37, 0x04},
                                        {0x38, 0xFE}, {0x39, 0xFD}, {0x32, 0x05}, {0x33, 0xFB}};
const std::vector<int> kReadOrder = {0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x32, 0x33};

Bytes TextBytes(const char* text, size_t size) {
    return Bytes(reinterpret_cast<const uint8_t*>(text),
                 reinterpret_cast<const uint8_t*>(text) + size);
}

// A Bi-D packet's (mode byte, colour byte, value).
struct BidSetting {
    int mode;
    int colour;
    int value;
    bool operator==(const BidSetting&) const = default;
};

std::vector<BidSetting> BidSettings(const std::vector<Bytes>& sends) {
    std::vector<BidSetting> settings;
    for (const Bytes& send : sends) {
        if (send.size() == 14 && send[0] == 0x1B && send[1] == 0x7C && send[7] == 0x00) {
            settings.push_back(
                {send[10], send[11], static_cast<int16_t>(send[12] | send[13] << 8)});
        }
    }
    return settings;
}

class BidPrint : public adjust_tests::BidTest {
  protected:
    void SetUp() override {
        BidTest::SetUp();
        StoreBytes(kStored);
    }

    std::vector<int> ReadAddresses() const {
        std::vector<int> addresses;
        for (const auto& call : Calls("D4ReadEeprom")) {
            addresses.push_back(static_cast<int>(call.args.at(0)));
        }
        return addresses;
    }

    // The bytes a generator alone hands to the printer, flushed.
    Bytes GeneratorBytes(bool black, uint8_t mode, int value) {
        ClearTrace();
        EXPECT_EQ(black ? pattern_.PrintBidBlackPattern(mode, value)
                        : pattern_.PrintBidColorPattern(mode, value),
                  ResultOk);
        EXPECT_EQ(raster_.Flush(), ResultOk);
        return AcceptedBytes();
    }

    const std::deque<vprinter::Page>* Pages() { return Printers().PrintedPages("VTUSB001"); }
};

TEST_F(BidPrint, WithoutAFlagNothingIsReadOrSent) {
    EXPECT_EQ(bid_.PrintBidPattern({}), ResultOk);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(BidPrint, OnlyEcoColourReadsAllEightThenPrintsTheHeadingTitleAndColourRows) {
    TPBid::Flags flags{};
    flags[7] = true;
    ASSERT_EQ(bid_.PrintBidPattern(flags), ResultOk);

    EXPECT_EQ(ReadAddresses(), kReadOrder);
    const auto names = CallNames();
    const auto firstSend = std::find(names.begin(), names.end(), "SendDataChannel");
    ASSERT_NE(firstSend, names.end());
    EXPECT_EQ(std::count(firstSend, names.end(), "D4ReadEeprom"), 0)
        << "every stored value is read before anything is sent";

    // Every value set belongs to ECO colour, starting and ending with the
    // stored -5.
    const auto settings = BidSettings(SentData(Calls()));
    ASSERT_FALSE(settings.empty());
    for (const BidSetting& setting : settings) {
        EXPECT_EQ(setting.mode, 0);
        EXPECT_EQ(setting.colour, 2);
        EXPECT_GE(setting.value, -7);
        EXPECT_LE(setting.value, -3);
    }
    EXPECT_EQ(settings.front().value, -5);
    EXPECT_EQ(settings.back().value, -5);

    // The stream is the heading, the title and piece with their zero bytes,
    // the generator's rows, and the form feed.
    const Bytes printed = AcceptedBytes();
    Bytes expected = TextBytes("Bi-D Check pattern\r\n", 21);
    const Bytes title = TextBytes("ECO Bi-D", 9);
    const Bytes piece = TextBytes(" COLOR\r", 8);
    expected.insert(expected.end(), title.begin(), title.end());
    expected.insert(expected.end(), piece.begin(), piece.end());
    const Bytes rows = GeneratorBytes(false, ModeEco, -5);
    expected.insert(expected.end(), rows.begin(), rows.end());
    expected.push_back(0x0C);
    EXPECT_EQ(printed, expected);
}

TEST_F(BidPrint, ThePrintedPageCarriesTheTextsAndOnlyTheFlaggedInk) {
    TPBid::Flags flags{};
    flags[7] = true;
    ASSERT_EQ(bid_.PrintBidPattern(flags), ResultOk);
    EXPECT_TRUE(Calls("fault").empty()) << Calls("fault").front().note;
    const auto* pages = Pages();
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->size(), 1u);
    const vprinter::Page& page = pages->front();
    const std::string text = page.AllText();
    EXPECT_NE(text.find("Bi-D Check pattern"), std::string::npos) << text;
    EXPECT_NE(text.find("ECO Bi-D"), std::string::npos) << text;
    EXPECT_NE(text.find("COLOR"), std::string::npos) << text;
    EXPECT_EQ(text.find("BLACK"), std::string::npos) << text;
    // Characters are printed in black, in cells 60 dots high; outside the
    // text lines only the magenta rows may be.
    auto inText = [&](int64_t row) {
        return std::any_of(page.Texts().begin(), page.Texts().end(),
                           [&](const auto& t) { return row >= t.row && row < t.row + 60; });
    };
    bool magenta = false;
    bool black = false;
    for (int64_t row = 0; row < page.Rows(); ++row) {
        if (page.Row(row) == nullptr) {
            continue;
        }
        for (int64_t column = 0; column < vprinter::Page::kColumns; ++column) {
            magenta = magenta || page.Level(vprinter::Ink::Magenta, row, column) > 0;
            black = black || (!inText(row) && page.Level(vprinter::Ink::Black, row, column) > 0);
        }
    }
    EXPECT_TRUE(magenta) << "the colour rows are printed with the magenta nozzles";
    EXPECT_FALSE(black) << "no black rows beside the texts";
}

TEST_F(BidPrint, AllFlagsVisitTheModesInOrderBlackBeforeColourAtTheStoredValues) {
    TPBid::Flags flags;
    flags.fill(true);
    ASSERT_EQ(bid_.PrintBidPattern(flags), ResultOk);

    // The runs of packets of one item, in order, each starting at the item's
    // stored value.
    std::vector<BidSetting> firsts;
    for (const BidSetting& setting : BidSettings(SentData(Calls()))) {
        if (firsts.empty() || firsts.back().mode != setting.mode ||
            firsts.back().colour != setting.colour) {
            firsts.push_back(setting);
        }
    }
    EXPECT_EQ(firsts, (std::vector<BidSetting>{{1, 1, 1},
                                               {1, 2, 2},
                                               {2, 1, 3},
                                               {2, 2, 4},
                                               {3, 1, -2},
                                               {3, 2, -3},
                                               {0, 1, 5},
                                               {0, 2, -5}}));

    const Bytes printed = AcceptedBytes();
    const std::string stream(printed.begin(), printed.end());
    size_t from = 0;
    for (const char* title : {"VSD1 Bi-D", "VSD2 Bi-D", "VSD3 Bi-D", "ECO Bi-D"}) {
        const std::string piece = std::string(title) + '\0' + " BLACK/COLOR\r" + '\0';
        const size_t at = stream.find(piece, from);
        ASSERT_NE(at, std::string::npos) << title;
        from = at + piece.size();
    }
    EXPECT_EQ(printed.back(), 0x0C);
    ASSERT_NE(Pages(), nullptr);
    EXPECT_EQ(Pages()->size(), 1u) << "one page for all eight items";
}

TEST_F(BidPrint, OneBlackItemSendsItsTitleWithTheBlackPieceAndBlackRowsOnly) {
    TPBid::Flags flags{};
    flags[2] = true;  // VSD2 black
    ASSERT_EQ(bid_.PrintBidPattern(flags), ResultOk);
    const Bytes printed = AcceptedBytes();
    const std::string stream(printed.begin(), printed.end());
    EXPECT_EQ(stream.find(std::string("Bi-D Check pattern\r\n") + '\0' + "VSD2 Bi-D" + '\0' +
                          " BLACK\r" + '\0'),
              0u);
    for (const BidSetting& setting : BidSettings(SentData(Calls()))) {
        EXPECT_EQ(setting.mode, 2);
        EXPECT_EQ(setting.colour, 1);
    }
    EXPECT_EQ(stream.find("VSD1"), std::string::npos);
}

TEST_F(BidPrint, AFailedReadEndsThePrintBeforeAnythingIsSent) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.readFaults[0x38] = ResultPortNoResponse;
    });
    ClearTrace();
    TPBid::Flags flags{};
    flags[0] = true;  // VSD1 black, whose own value reads fine
    EXPECT_EQ(bid_.PrintBidPattern(flags), ResultPortNoResponse);
    EXPECT_EQ(ReadAddresses(), (std::vector<int>{0x34, 0x35, 0x36, 0x37, 0x38}));
    EXPECT_TRUE(Calls("SendDataChannel").empty());
    EXPECT_EQ(raster_.FillCount(), 0) << "nothing is left buffered either";
}

TEST_F(BidPrint, ASendFailureEndsThePrintWithItsCodeAndNoPageIsEjected) {
    ChangeLibrary([](vprinter::LibraryConfig& config) {
        config.callFaults["SendDataChannel"] = vprinter::CallFault{3, ResultPortNoResponse, {}};
    });
    ClearTrace();
    TPBid::Flags flags;
    flags.fill(true);
    EXPECT_EQ(bid_.PrintBidPattern(flags), ResultPortNoResponse);
    const auto* pages = Pages();
    EXPECT_TRUE(pages == nullptr || pages->empty());
    const auto settings = BidSettings(SentData(Calls()));
    for (const BidSetting& setting : settings) {
        EXPECT_EQ(setting.mode, 1) << "nothing after the failing VSD1 rows";
        EXPECT_EQ(setting.colour, 1);
    }
}

}  // namespace
