// The Bi-D patterns: which value each pass prints at, where the combs are,
// the bars of each dot size and the row labels.
#include <gtest/gtest.h>

#include "PatternFixture.h"
#include "link/ResultCodes.h"

namespace {

using testing_support::PatternTest;
using testing_support::Slice;
using testing_support::Stream;
using testing_support::StreamItem;
using Bytes = std::vector<uint8_t>;

// A raster block with the Bi-D value set and the print direction chosen
// before it.
struct Pass {
    int value;
    int direction;
    const StreamItem* block;
};

std::vector<Pass> Passes(const Stream& stream) {
    std::vector<Pass> passes;
    int value = 999;
    int direction = 0;
    for (const auto& item : stream.items) {
        if (item.kind == StreamItem::Kind::Packet && item.bytes.size() == 14) {
            value = static_cast<int16_t>(item.bytes[12] | (item.bytes[13] << 8));
        } else if (item.IsCommand({0x1B, 0x55})) {
            direction = item.bytes[2];
        } else if (item.kind == StreamItem::Kind::Raster) {
            passes.push_back({value, direction, &item});
        }
    }
    return passes;
}

Bytes Comb(uint8_t bar, bool reference) {
    Bytes comb;
    for (int k = 0; k < 5; ++k) {
        const bool filled = (k % 2 == 0) == reference;
        comb.insert(comb.end(), 4, filled ? bar : 0x00);
    }
    return comb;
}
// A line with combs at the given bytes.
Bytes CombLine(uint8_t bar, bool reference, std::initializer_list<int> at) {
    Bytes line(720, 0x00);
    const Bytes comb = Comb(bar, reference);
    for (const int byte : at) {
        std::copy(comb.begin(), comb.end(), line.begin() + byte);
    }
    return line;
}

// Checks a block: the start marker, lines [first, first + count) with the
// given line, blank elsewhere, and the end marker.
void ExpectCombBlock(const StreamItem& block, int lines, int first, int count, const Bytes& line) {
    ASSERT_EQ(block.lines, lines);
    for (int n = 0; n < lines; ++n) {
        Bytes expected = n >= first && n < first + count ? line : Bytes(720, 0x00);
        if (n == 0) {
            expected.front() = 0x40;
        }
        if (n == lines - 1) {
            expected.back() = 0x01;
        }
        ASSERT_EQ(block.Line(n), expected) << "line " << n;
    }
}

std::vector<int> Repeat(std::initializer_list<int> values, int times) {
    std::vector<int> repeated;
    for (int i = 0; i < times; ++i) {
        repeated.insert(repeated.end(), values);
    }
    return repeated;
}

class BidPattern : public PatternTest {};

TEST_F(BidPattern, BlackPageSetsTheStoredValueForEachReferenceAndTheTestValuesBetween) {
    ASSERT_EQ(pattern_.PrintBidBlackPattern(16, 0), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    std::vector<int> expected = Repeat({0, -1}, 3);
    const auto row1 = Repeat({0, 2, 0, -2}, 3);
    const auto row2 = Repeat({0, 1}, 3);
    expected.insert(expected.end(), row1.begin(), row1.end());
    expected.insert(expected.end(), row2.begin(), row2.end());
    expected.push_back(0);
    EXPECT_EQ(stream.BidValues(), expected);

    // Row 1: the test marks at bytes 344, 290 and 236 carry v+2, v and v-2.
    const auto passes = Passes(stream);
    ASSERT_EQ(passes.size(), 3u * 2u + 3u * 4u + 3u * 2u);
    for (size_t i = 6; i < 18; i += 4) {
        EXPECT_EQ(passes[i].direction, 1);
        EXPECT_EQ(passes[i].value, 0);
        ExpectCombBlock(*passes[i].block, 90, 31, 28, CombLine(0xAA, true, {236, 290, 344}));
        const int at[] = {344, 290, 236};
        for (size_t m = 0; m < 3; ++m) {
            const Pass& test = passes[i + 1 + m];
            EXPECT_EQ(test.direction, 3);
            EXPECT_EQ(test.value, 2 - 2 * static_cast<int>(m));
            ExpectCombBlock(*test.block, 90, 26, 38, CombLine(0xAA, false, {at[m]}));
        }
    }
    // Rows 0 and 2: one mark at byte 290.
    ExpectCombBlock(*passes[0].block, 90, 31, 28, CombLine(0xAA, true, {290}));
    ExpectCombBlock(*passes[1].block, 90, 26, 38, CombLine(0xAA, false, {290}));
    EXPECT_EQ(passes[1].value, -1);
    EXPECT_EQ(passes[19].value, 1);
}

TEST_F(BidPattern, RowsAreLabelledRightAlignedInDraftMode) {
    ASSERT_EQ(pattern_.PrintBidBlackPattern(17, 0), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    std::vector<std::string> labels;
    for (size_t i = 1; i < stream.items.size(); ++i) {
        if (stream.items[i].kind == StreamItem::Kind::Text) {
            EXPECT_EQ(stream.items[i - 1].bytes, Bytes({0x1B, 0x78, 0x30}));
            labels.push_back(stream.items[i].Text());
        }
    }
    const auto padded = [](size_t blanks, const char* text) {
        return std::string(blanks, ' ').append(text);
    };
    EXPECT_EQ(labels,
              (std::vector<std::string>{padded(29, " -1\r\n"), padded(23, " -2     0     2\r\n"),
                                        padded(29, "  1\r\n")}));
}

TEST_F(BidPattern, BarsAreAaForVsd1AndVsd2AndFfForVsd3AndEcoWhichPrintsTwoPasses) {
    const struct {
        uint8_t dotSize;
        uint8_t bar;
        size_t passes;
    } sizes[] = {{16, 0xAA, 3}, {17, 0xAA, 3}, {18, 0xFF, 3}, {19, 0xFF, 2}};
    for (const auto& size : sizes) {
        ClearTrace();
        ASSERT_EQ(pattern_.PrintBidBlackPattern(size.dotSize, 4), ResultOk);
        const auto stream = Received();
        ASSERT_EQ(stream.error, "") << int{size.dotSize};
        const auto passes = Passes(stream);
        const auto references = std::count_if(passes.begin(), passes.end(),
                                              [](const Pass& pass) { return pass.direction == 1; });
        EXPECT_EQ(static_cast<size_t>(references), 3 * size.passes) << int{size.dotSize};
        EXPECT_EQ(passes.size(), size.passes * (2 + 4 + 2)) << int{size.dotSize};
        EXPECT_EQ(Slice(passes[0].block->Line(31), 290, 20), Comb(size.bar, true));
        EXPECT_EQ(Slice(passes[1].block->Line(26), 290, 20), Comb(size.bar, false));
        // Every dot-size command names this size.
        for (const auto& item : stream.items) {
            if (item.IsCommand({0x1B, 0x28, 0x65})) {
                ASSERT_EQ(item.bytes[6], size.dotSize);
            }
        }
    }
}

TEST_F(BidPattern, ColourPagePrintsWithTheMagentaNozzlesAndTheColourSelector) {
    ASSERT_EQ(pattern_.PrintBidColorPattern(18, -3), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    for (const auto* packet : stream.Of(StreamItem::Kind::Packet)) {
        EXPECT_EQ(packet->bytes[10], 3);  // VSD3
        EXPECT_EQ(packet->bytes[11], 2);  // colour
    }
    const auto passes = Passes(stream);
    ASSERT_EQ(passes.size(), 24u);
    for (const Pass& pass : passes) {
        EXPECT_EQ(pass.block->colour, 1);
    }
    ExpectCombBlock(*passes[0].block, 29, 5, 19, CombLine(0xFF, true, {290}));
    ExpectCombBlock(*passes[1].block, 29, 1, 27, CombLine(0xFF, false, {290}));
    EXPECT_EQ(passes[1].value, -4);
    ExpectCombBlock(*passes[6].block, 29, 5, 19, CombLine(0xFF, true, {236, 290, 344}));
    ExpectCombBlock(*passes[7].block, 29, 1, 27, CombLine(0xFF, false, {344}));
    EXPECT_EQ(passes[7].value, -1);
}

// Sends of a lone initialize, and packets followed by an initialize.
struct Seams {
    long loneInitializes;
    long initializesAfterPackets;
};

TEST_F(BidPattern, PageFlushesAfterEachReferencePassAndTheSheetStartsEachTestPassAnew) {
    const Bytes initialize = {0x1B, 0x40};
    const auto seams = [&] {
        const auto sends = AcceptedSends();
        const auto stream = Received();
        long after = 0;
        for (size_t i = 0; i + 1 < stream.items.size(); ++i) {
            after += stream.items[i].kind == StreamItem::Kind::Packet &&
                     stream.items[i + 1].bytes == initialize;
        }
        return Seams{static_cast<long>(std::count(sends.begin(), sends.end(), initialize)), after};
    };
    // Page: CR; F after each of the nine reference passes leaves the I; F
    // before the first test value alone (and the job starts with one).
    ASSERT_EQ(pattern_.PrintBidBlackPattern(16, 0), ResultOk);
    auto found = seams();
    EXPECT_EQ(found.loneInitializes, 1 + 9);
    EXPECT_EQ(found.initializesAfterPackets, 0);

    // Sheet: CR only, and I; G after each test value.
    ClearTrace();
    ASSERT_EQ(pattern_.PrintSheetBidBlackPattern(16, 0), ResultOk);
    found = seams();
    EXPECT_EQ(found.loneInitializes, 1);
    EXPECT_EQ(found.initializesAfterPackets, 9);
}

TEST_F(BidPattern, SheetPutsValueAndValuePlusAndMinusOneSideBySideInSlots4And6And7) {
    ASSERT_EQ(pattern_.PrintSheetBidBlackPattern(18, 5), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    std::vector<int> expected = Repeat({5, 5, 6, 4}, 3);
    expected.push_back(5);
    EXPECT_EQ(stream.BidValues(), expected);
    EXPECT_TRUE(stream.Texts().empty());

    const auto passes = Passes(stream);
    ASSERT_EQ(passes.size(), 12u);
    const int slots[] = {293, 396, 437};
    for (size_t i = 0; i < passes.size(); i += 4) {
        EXPECT_EQ(passes[i].direction, 1);
        ExpectCombBlock(*passes[i].block, 90, 31, 28, CombLine(0xFF, true, {293, 396, 437}));
        for (size_t m = 0; m < 3; ++m) {
            EXPECT_EQ(passes[i + 1 + m].direction, 3);
            ExpectCombBlock(*passes[i + 1 + m].block, 90, 26, 38,
                            CombLine(0xFF, false, {slots[m]}));
        }
    }
}

TEST_F(BidPattern, SheetColourUsesTheColourModeBlockAndSelector) {
    ASSERT_EQ(pattern_.PrintSheetBidColorPattern(19, -2), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    std::vector<int> expected = Repeat({-2, -2, -1, -3}, 2);
    expected.push_back(-2);
    EXPECT_EQ(stream.BidValues(), expected);
    const auto passes = Passes(stream);
    ASSERT_EQ(passes.size(), 8u);
    ExpectCombBlock(*passes[0].block, 29, 5, 19, CombLine(0xFF, true, {293, 396, 437}));
    ExpectCombBlock(*passes[3].block, 29, 1, 27, CombLine(0xFF, false, {437}));
    for (const auto& item : stream.items) {
        if (item.IsCommand({0x1B, 0x28, 0x4B})) {
            EXPECT_EQ(item.bytes[6], 2);
        }
        if (item.kind == StreamItem::Kind::Packet) {
            EXPECT_EQ(item.bytes[11], 2);
        }
    }
}

}  // namespace
