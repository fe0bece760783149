// The PF patterns: test values, labels, the dithered blocks and the wait
// before the stored value goes back.
#include <gtest/gtest.h>

#include "PatternFixture.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"

namespace {

using testing_support::Blocks;
using testing_support::PatternTest;
using testing_support::Slice;
using testing_support::Stream;
using testing_support::StreamItem;
using Bytes = std::vector<uint8_t>;

// What the dither rule makes of testing_support::kDitherSequence.
const Bytes kExpectedDither = {0xF7, 0xF7, 0xBD, 0xBD, 0xEF, 0xEF, 0x7B, 0x7B, 0xDE, 0xBD};

// Labels: texts that follow an initialize (the captions come before it),
// without the line feeds (CR LF) that follow them.
std::vector<std::string> Labels(const Stream& stream) {
    std::vector<std::string> labels;
    bool afterInitialize = false;
    for (const auto& item : stream.items) {
        std::string text = item.Text();
        if (item.kind == StreamItem::Kind::Text && afterInitialize &&
            text.find_first_not_of("\r\n") != std::string::npos) {
            while (text.size() > 2 && text.ends_with("\r\n")) {
                text.resize(text.size() - 2);
            }
            labels.push_back(text);
        }
        if (item.kind != StreamItem::Kind::Text) {
            afterInitialize = item.bytes == Bytes({0x1B, 0x40});
        }
    }
    return labels;
}

// Checks every line of a dithered block: blank, or the dither bytes at
// [lead, lead + 120) and blank around them. Returns the dither bytes in order.
Bytes DitherOf(const StreamItem& block, int lead, int firstDitherLine, int ditherLines) {
    Bytes dither;
    for (int line = 0; line < block.lines; ++line) {
        const Bytes bytes = block.Line(line);
        if (line < firstDitherLine || line >= firstDitherLine + ditherLines) {
            EXPECT_EQ(bytes, Bytes(720, 0x00)) << line;
            continue;
        }
        EXPECT_EQ(Slice(bytes, 0, lead), Bytes(static_cast<size_t>(lead), 0x00)) << line;
        EXPECT_EQ(Slice(bytes, lead + 120, 600 - lead), Bytes(static_cast<size_t>(600 - lead), 0))
            << line;
        dither.insert(dither.end(), bytes.begin() + lead, bytes.begin() + lead + 120);
    }
    return dither;
}

class PfPattern : public PatternTest {};

TEST_F(PfPattern, BlackPageTestsMinusFiveToFiveThenSendsTheStoredValue) {
    Store(eeprom::PfBlack, 2);
    ClearTrace();
    ASSERT_EQ(pattern_.PrintPfBlackPattern(), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    EXPECT_EQ(stream.PfValues(), (std::vector<int>{-5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 2}));
    EXPECT_EQ(stream.Texts().front(), std::string("PF adjustment(Black)\r\0", 22));
    const std::string spaces(15, ' ');
    EXPECT_EQ(Labels(stream),
              (std::vector<std::string>{spaces + "NG\r", spaces + "-4\r", spaces + "-3\r",
                                        spaces + "-2\r", spaces + "-1\r", spaces + "0\r",
                                        spaces + "1\r", spaces + "2\r", spaces + "3\r",
                                        spaces + "4\r", spaces + "NG\r"}));
    // Every packet goes out on its own, black flag 1, after the job was flushed.
    for (const auto& send : AcceptedSends()) {
        if (send.size() >= 2 && send[0] == 0x1B && send[1] == 0x7C) {
            ASSERT_EQ(send.size(), 12u);
            EXPECT_EQ(send[11], 1);
        }
    }
}

TEST_F(PfPattern, BlackBlocksDitherDots720To1199ThenDots864To1343WithEveryByteDrawnAnew) {
    ASSERT_EQ(pattern_.PrintSheetPfBlackPattern(0), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    const auto blocks = Blocks(stream);
    ASSERT_EQ(blocks.size(), 3u * 6u);
    Bytes dither;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const bool first = i % 6 < 3;
        EXPECT_EQ(blocks[i]->colour, first ? 0 : 6);
        ASSERT_EQ(blocks[i]->lines, 90);
        const Bytes part =
            first ? DitherOf(*blocks[i], 180, 60, 30) : DitherOf(*blocks[i], 216, 0, 30);
        dither.insert(dither.end(), part.begin(), part.end());
    }
    ASSERT_EQ(dither.size(), 18u * 30u * 120u);
    EXPECT_EQ(random_.Drawn(), dither.size());
    for (size_t i = 0; i < dither.size(); ++i) {
        ASSERT_EQ(dither[i], kExpectedDither[i % kExpectedDither.size()]) << i;
    }
    // Each dither byte is a unit of its own, even where two neighbours match.
    const auto& units = blocks[0]->units;
    const size_t blankUnits = 60 * 6;
    EXPECT_EQ(units[blankUnits], (std::pair<int, uint8_t>{120, 0x00}));
    EXPECT_EQ(units[blankUnits + 2], (std::pair<int, uint8_t>{1, 0xF7}));
    EXPECT_EQ(units[blankUnits + 3], (std::pair<int, uint8_t>{1, 0xF7}));
}

TEST_F(PfPattern, ColourPageUsesTheCyanNozzlesAndFeedsTwoLinesBeforeEachLabel) {
    Store(eeprom::PfColour, -1);
    ClearTrace();
    ASSERT_EQ(pattern_.PrintPfColorPattern(), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    EXPECT_EQ(stream.Texts().front(), std::string("PF adjustment(color)\r\0", 22));
    EXPECT_EQ(stream.PfValues(), (std::vector<int>{-5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, -1}));
    const auto blocks = Blocks(stream);
    ASSERT_EQ(blocks.size(), 11u * 6u);
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(blocks[i]->colour, 2);
        ASSERT_EQ(blocks[i]->lines, 29);
        DitherOf(*blocks[i], i % 6 < 3 ? 180 : 216, 0, 29);
    }
    // The feed between the blocks is 84/360 inch; two lines before each label.
    const Bytes received = AcceptedBytes();
    const Bytes feed = {0x1B, 0x28, 0x76, 0x02, 0x00, 0x54, 0x00};
    const Bytes beforeLabel = {0x1B, 0x40, 0x0D, 0x0A, 0x0D, 0x0A, ' '};
    size_t feeds = 0;
    size_t labels = 0;
    for (auto it = received.begin(); it != received.end(); ++it) {
        feeds += std::equal(feed.begin(), feed.end(), it, std::min(it + 7, received.end()));
        labels += std::equal(beforeLabel.begin(), beforeLabel.end(), it,
                             std::min(it + 7, received.end()));
    }
    EXPECT_EQ(feeds, 11u);
    EXPECT_EQ(labels, 11u);
    for (const auto& send : AcceptedSends()) {
        if (send.size() == 12 && send[1] == 0x7C) {
            EXPECT_EQ(send[11], 2);
        }
    }
}

TEST_F(PfPattern, SheetTestsAroundTheGivenValueWithoutReadingTheEeprom) {
    ASSERT_EQ(pattern_.PrintSheetPfBlackPattern(0), ResultOk);
    auto stream = Received();
    EXPECT_EQ(stream.PfValues(), (std::vector<int>{-1, 0, 1, 0}));
    EXPECT_EQ(Labels(stream),
              (std::vector<std::string>{"               X-1\r", "                X\r",
                                        "               X+1\r"}));
    EXPECT_TRUE(Calls("D4ReadEeprom").empty());

    ClearTrace();
    ASSERT_EQ(pattern_.PrintSheetPfColorPattern(-128), ResultOk);
    stream = Received();
    // One byte: below -128 comes 127.
    EXPECT_EQ(stream.PfValues(), (std::vector<int>{127, -128, -127, -128}));
    EXPECT_EQ(Blocks(stream).size(), 3u * 6u);
}

TEST_F(PfPattern, AFailedReadOfTheStoredValueSendsNothing) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.readFaults[eeprom::PfColour] = 0x2000;
    });
    ClearTrace();
    EXPECT_EQ(pattern_.PrintPfColorPattern(), ResultChannelError);
    EXPECT_TRUE(Calls("SendDataChannel").empty());
    EXPECT_EQ(raster_.FillCount(), 0);
    EXPECT_EQ(random_.Drawn(), 0u);
}

TEST_F(PfPattern, TheStoredValueGoesBackOnlyOnceThePrinterIsReady) {
    Store(eeprom::PfBlack, 1);
    // The printer answers busy to the first three polls of the wait.
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) { config.busyPolls = 3; });
    ClearTrace();
    ASSERT_EQ(pattern_.PrintPfBlackPattern(), ResultOk);
    EXPECT_EQ(Calls("InquireStatus").size(), 4u);
    // The wait comes after the last pattern bytes, the stored value last.
    const auto names = CallNames();
    const auto firstPoll = std::find(names.begin(), names.end(), "InquireStatus");
    const auto sends = Calls("SendDataChannel");
    EXPECT_EQ(sends.back().data,
              Bytes({0x1B, 0x7C, 0x00, 0x07, 0x00, 0x0B, 0x54, 0x04, 0xFB, 0x02, 0x01, 0x01}));
    EXPECT_EQ(names.back(), "SendDataChannel");
    EXPECT_EQ(std::count(firstPoll, names.end(), "SendDataChannel"), 1 + 3 * 1);
    EXPECT_EQ(std::count(Clock().Sleeps().begin(), Clock().Sleeps().end(), 1000u), 3);
    // Without messages: the window is only repainted while the wait polls.
    EXPECT_TRUE(reporter_.shown.empty());
    EXPECT_EQ(reporter_.repaints, 3);
}

}  // namespace
