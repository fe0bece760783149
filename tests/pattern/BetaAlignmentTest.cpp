// The solid and alignment patterns of the normal-paper sheet.
#include <gtest/gtest.h>

#include "PatternFixture.h"
#include "link/ResultCodes.h"

namespace {

using testing_support::Blocks;
using testing_support::PatternTest;
using testing_support::Slice;
using testing_support::StreamItem;
using Bytes = std::vector<uint8_t>;

std::vector<int> Colours(const std::vector<const StreamItem*>& blocks) {
    std::vector<int> colours;
    for (const auto* block : blocks) {
        colours.push_back(block->colour);
    }
    return colours;
}

// The dot sizes selected, in order.
std::vector<int> DotSizes(const testing_support::Stream& stream) {
    std::vector<int> sizes;
    for (const auto& item : stream.items) {
        if (item.IsCommand({0x1B, 0x28, 0x65})) {
            sizes.push_back(item.bytes[6]);
        }
    }
    return sizes;
}

Bytes Filled(int count, uint8_t value) {
    return Bytes(static_cast<size_t>(count), value);
}

class BetaAlignment : public PatternTest {};

TEST_F(BetaAlignment, BetaPrintsBlackLeftAndEachColourRightInThreePasses) {
    ASSERT_EQ(pattern_.PrintBetaPattern(), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    EXPECT_EQ(stream.Texts().front(), std::string(" BETA(VSD1)\r\n\0", 14));

    const auto blocks = Blocks(stream);
    EXPECT_EQ(Colours(blocks), (std::vector<int>{0, 4, 1, 2, 0, 4, 1, 2, 0, 4, 1, 2}));
    Bytes blackLine = Filled(356, 0xFF);
    blackLine.resize(720, 0x00);
    Bytes colourLine = Filled(364, 0x00);
    colourLine.resize(720, 0xFF);
    for (const auto* block : blocks) {
        const bool black = block->colour == 0;
        ASSERT_EQ(block->lines, black ? 90 : 29);
        for (int line = 0; line < block->lines; ++line) {
            EXPECT_EQ(block->Line(line), black ? blackLine : colourLine) << line;
        }
        // Seven units, 14 bytes, per line.
        EXPECT_EQ(block->units.size(), static_cast<size_t>(7 * block->lines));
    }
    EXPECT_EQ(DotSizes(stream), (std::vector<int>{16}));
}

TEST_F(BetaAlignment, VerticalAlignmentPrintsItsSectionTwiceAtVsd1AndOnceAtVsd3) {
    ASSERT_EQ(pattern_.PrintVerticalAlignmentPattern(), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    EXPECT_EQ(stream.Texts().front(), std::string(" Vertical Alignment (VSD1 / VSD3)\r\n\0", 36));
    EXPECT_EQ(DotSizes(stream), (std::vector<int>{16, 18}));

    const auto blocks = Blocks(stream);
    const std::vector<int> section = {0, 2, 1, 4, 2, 1, 4};
    std::vector<int> expected;
    for (int i = 0; i < 3; ++i) {
        expected.insert(expected.end(), section.begin(), section.end());
    }
    ASSERT_EQ(Colours(blocks), expected);

    // After the 3/360-inch move only each colour's last nozzle prints.
    Bytes rightHalf = Filled(364, 0x00);
    rightHalf.resize(720, 0xFF);
    for (size_t i = 4; i < blocks.size(); i += 7) {
        for (size_t c = 0; c < 3; ++c) {
            const auto* block = blocks[i + c];
            for (int line = 0; line < 28; ++line) {
                EXPECT_EQ(block->Line(line), Filled(720, 0x00)) << i << " line " << line;
            }
            EXPECT_EQ(block->Line(28), rightHalf);
            // One run per blank line.
            EXPECT_EQ(block->units.size(), 28u * 6 + 7);
        }
    }
}

TEST_F(BetaAlignment, HorizontalAlignmentPrintsNineLinesPerGroupFortyDotsApart) {
    ASSERT_EQ(pattern_.PrintHorizontalAlignmentPattern(), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    EXPECT_EQ(stream.Texts().front(),
              std::string(" HORIZONTAL ALLIGNMENT / BEND LINE  VSD1 - VSD3\r\n\0", 50));
    EXPECT_EQ(DotSizes(stream), (std::vector<int>{16, 16, 18, 18, 16, 16, 18, 18, 16, 16, 18, 18}));

    const auto blocks = Blocks(stream);
    ASSERT_EQ(blocks.size(), 24u);
    // Groups: black VSD1 at byte 0, colour VSD1 at 100, black VSD3 at 230,
    // colour VSD3 at 330.
    struct Group {
        int start;
        uint8_t dots;
    };
    const Group groups[] = {{0, 0xFC},   {100, 0xFC}, {100, 0xFC}, {100, 0xFC},
                            {230, 0x54}, {330, 0x54}, {330, 0x54}, {330, 0x54}};
    for (size_t i = 0; i < blocks.size(); ++i) {
        const Group& group = groups[i % 8];
        Bytes line(720, 0x00);
        for (int k = 0; k < 9; ++k) {
            line[static_cast<size_t>(group.start + 10 * k)] = group.dots;
        }
        for (int n = 0; n < blocks[i]->lines; ++n) {
            ASSERT_EQ(blocks[i]->Line(n), line) << "block " << i << " line " << n;
        }
    }

    // The runs of a line as listed: the 9-byte gaps and the tail stay apart.
    const auto& units = blocks[0]->units;
    using Units = std::vector<std::pair<int, uint8_t>>;
    Units firstLine;
    for (int k = 0; k < 9; ++k) {
        firstLine.emplace_back(1, 0xFC);
        firstLine.emplace_back(9, 0x00);
    }
    for (int k = 0; k < 5; ++k) {
        firstLine.emplace_back(120, 0x00);
    }
    firstLine.emplace_back(30, 0x00);
    EXPECT_EQ(Units(units.begin(), units.begin() + 24), firstLine);
}

TEST_F(BetaAlignment, AFailedSendEndsThePatternWithItsCode) {
    FailSend(2);
    EXPECT_EQ(pattern_.PrintBetaPattern(), ResultChannelError);
    // The first 1000 bytes went out; the second send failed and nothing followed.
    EXPECT_EQ(AcceptedSends().size(), 1u);
    EXPECT_EQ(Calls("SendDataChannel").size(), 2u);
    EXPECT_EQ(raster_.FillCount(), 1000);
}

}  // namespace
