// The first-dot, top-margin and accumulated-pitch patterns.
#include <gtest/gtest.h>

#include "PatternFixture.h"
#include "link/ResultCodes.h"

namespace {

using testing_support::Blocks;
using testing_support::PatternTest;
using Bytes = std::vector<uint8_t>;

Bytes LeftDotLine() {
    Bytes line(720, 0x00);
    line[0] = 0xC0;
    return line;
}

class MarginPattern : public PatternTest {};

TEST_F(MarginPattern, FirstDotIsAColumnOf45DotsUnderItsCaptionAndEjectsItself) {
    ASSERT_EQ(pattern_.PrintFirstDotPattern(), ResultOk);
    const Bytes expected = {
        0x1B, 0x40, 0x1B, 0x40,                                // I; I
        0x1B, 0x28, 0x47, 0x01, 0x00, 0x01,                    // G
        0x1B, 0x55, 0x01,                                      // D(1)
        0x1B, 0x28, 0x55, 0x01, 0x00, 0x0A,                    // U(10)
        0x1B, 0x28, 0x65, 0x02, 0x00, 0x00, 0x10,              // E(16)
        0x1B, 0x28, 0x4B, 0x02, 0x00, 0x00, 0x01,              // K(1)
        0x1B, 0x28, 0x44, 0x04, 0x00, 0x68, 0x01, 0x03, 0x01,  // R
        0x1B, 0x69, 0x00, 0x01, 0x02, 0x01, 0x00, 0x2D, 0x00,  // 1 byte x 45 lines
        0xD4, 0xC0,                                            // 45 x C0, one unit
        0x1B, 0x40,                                            // I
        ' ',  ' ',  ' ',  'F',  'i',  'r',  's',  't',  ' ',  'd',  'o',  't',  ' ',
        'p',  'o',  's',  'i',  't',  'i',  'o',  'n',  ' ',  '\r', '\n', 0x00,  // caption
        0x0C};                                                                   // EJ
    EXPECT_EQ(AcceptedBytes(), expected);
    EXPECT_EQ(raster_.FillCount(), 0);
}

TEST_F(MarginPattern, TopMarginDrawsA1400DotLineAndAShortEdgeLine) {
    ASSERT_EQ(pattern_.PrintTopMarginPattern(0), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    // A4 page and its margins before the block.
    EXPECT_EQ(stream.items[2].bytes, Bytes({0x1B, 0x28, 0x53, 0x08, 0x00, 0xA0, 0x0B, 0x00, 0x00,
                                            0x70, 0x10, 0x00, 0x00}));
    EXPECT_EQ(stream.items[3].bytes, Bytes({0x1B, 0x28, 0x63, 0x08, 0x00, 0x2A, 0x00, 0x00, 0x00,
                                            0x1E, 0x1F, 0x00, 0x00}));
    const auto blocks = Blocks(stream);
    ASSERT_EQ(blocks.size(), 1u);
    Bytes top(350, 0xFF);
    top.resize(720, 0x00);
    EXPECT_EQ(blocks[0]->Line(0), top);
    for (int line = 1; line < 90; ++line) {
        ASSERT_EQ(blocks[0]->Line(line), line <= 29 ? LeftDotLine() : Bytes(720, 0x00)) << line;
    }
    // The block is the last thing sent: no carriage return follows it.
    EXPECT_EQ(stream.items.back().kind, testing_support::StreamItem::Kind::Raster);
}

TEST_F(MarginPattern, TopMarginWithSkipCaptionLeavesNothingBehindAfterItsFlush) {
    ASSERT_EQ(pattern_.PrintTopMarginPattern(0x80), ResultOk);
    EXPECT_EQ(raster_.FillCount(), 0);
    const Bytes withoutCaption = AcceptedBytes();

    ClearTrace();
    ASSERT_EQ(pattern_.PrintTopMarginPattern(0), ResultOk);
    // The same pattern, the caption waits for the page's eject.
    EXPECT_EQ(AcceptedBytes(), withoutCaption);
    EXPECT_EQ(raster_.FillCount(), 26);
}

TEST_F(MarginPattern, SheetTopMarginDrawsTheFullWidthAndFiftyNineEdgeDots) {
    ASSERT_EQ(pattern_.PrintSheetTopMarginPattern(), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    const auto blocks = Blocks(stream);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0]->Line(0), Bytes(720, 0xFF));
    for (int line = 1; line < 90; ++line) {
        ASSERT_EQ(blocks[0]->Line(line), line <= 59 ? LeftDotLine() : Bytes(720, 0x00)) << line;
    }
}

TEST_F(MarginPattern, AccumulatedPitchDrawsTheLastNozzlesLineAfterTheLongFeed) {
    ASSERT_EQ(pattern_.PrintAccumulatedPitchPattern(), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    // 3231/360 inch before the block.
    const auto blockAt = std::find_if(
        stream.items.begin(), stream.items.end(),
        [](const auto& item) { return item.kind == testing_support::StreamItem::Kind::Raster; });
    ASSERT_NE(blockAt, stream.items.end());
    EXPECT_EQ((blockAt - 2)->bytes, Bytes({0x1B, 0x28, 0x76, 0x02, 0x00, 0x9F, 0x0C}));
    for (int line = 0; line < 89; ++line) {
        ASSERT_EQ(blockAt->Line(line), Bytes(720, 0x00)) << line;
    }
    EXPECT_EQ(blockAt->Line(89), Bytes(720, 0xFF));
    // One run per blank line: 89 lines of six units, and six for the line.
    EXPECT_EQ(blockAt->units.size(), 90u * 6u);
}

}  // namespace
