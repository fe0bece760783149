// The head angular patterns: where the marks are and how far each is shifted.
#include <gtest/gtest.h>

#include "PatternFixture.h"
#include "link/ResultCodes.h"

namespace {

using testing_support::Blocks;
using testing_support::PatternTest;
using testing_support::Slice;
using testing_support::StreamItem;
using Bytes = std::vector<uint8_t>;

const Bytes kMark = {0xFF, 0x0F, 0xF0};

// A line with the angular mark at each of the given bytes.
Bytes LineWithMarks(std::initializer_list<int> at) {
    Bytes line(720, 0x00);
    for (const int byte : at) {
        std::copy(kMark.begin(), kMark.end(), line.begin() + byte);
    }
    return line;
}
Bytes FirstLine(Bytes line) {
    line.front() = 0x40;
    return line;
}
Bytes LastLine(Bytes line) {
    line.back() = 0x01;
    return line;
}
Bytes BothMarkers(Bytes line) {
    return LastLine(FirstLine(std::move(line)));
}

// The horizontal shifts, each after SendUnitExtended.
std::vector<int> Shifts(const testing_support::Stream& stream) {
    std::vector<int> shifts;
    const StreamItem* previous = nullptr;
    for (const auto& item : stream.items) {
        if (item.IsCommand({0x1B, 0x5C})) {
            EXPECT_TRUE(previous != nullptr &&
                        previous->bytes == Bytes({0x1B, 0x3C, 0x0D}));  // CR before the shift
            shifts.push_back(item.bytes[2] | (item.bytes[3] << 8));
        }
        previous = &item;
    }
    return shifts;
}

class AngularPattern : public PatternTest {};

TEST_F(AngularPattern, PageMarksTheReferenceBandFullyAndEachTestSubPassOnce) {
    ASSERT_EQ(pattern_.PrintHeadAngularPattern(), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    EXPECT_EQ(stream.Texts().front(), std::string("Head Angular\r\n\0", 15));

    const auto blocks = Blocks(stream);
    ASSERT_EQ(blocks.size(), 3u + 3u * 5u);
    const Bytes reference = LineWithMarks({270, 306, 342, 378, 414});
    for (size_t pass = 0; pass < 3; ++pass) {
        ASSERT_EQ(blocks[pass]->lines, 90);
        // The reference line's markers share line 0: the block is one band.
        EXPECT_EQ(blocks[pass]->Line(0), BothMarkers(reference));
        for (int line = 1; line < 90; ++line) {
            ASSERT_EQ(blocks[pass]->Line(line), reference) << line;
        }
    }
    for (size_t i = 3; i < blocks.size(); ++i) {
        const int s = static_cast<int>((i - 3) % 5);
        const Bytes test = LineWithMarks({270 + 36 * s});
        EXPECT_EQ(blocks[i]->Line(0), BothMarkers(test)) << s;
        for (int line = 1; line < 90; ++line) {
            ASSERT_EQ(blocks[i]->Line(line), test) << s << " line " << line;
        }
    }

    // Reference shifted by 6/2880 inch, test mark s by 3s.
    EXPECT_EQ(Shifts(stream),
              (std::vector<int>{6, 6, 6, 0, 3, 6, 9, 12, 0, 3, 6, 9, 12, 0, 3, 6, 9, 12}));
    // Half an inch down first, in 1/180 inch.
    const Bytes start = {0x1B, 0x28, 0x55, 0x01, 0x00, 0x14, 0x1B,
                         0x28, 0x76, 0x02, 0x00, 0x5A, 0x00};
    const Bytes received = AcceptedBytes();
    EXPECT_NE(std::search(received.begin(), received.end(), start.begin(), start.end()),
              received.end());
}

TEST_F(AngularPattern, SheetBeginsWithoutInitializeAndSetsItsPageFirst) {
    ASSERT_EQ(pattern_.PrintSheetHeadAngularPattern(), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    ASSERT_GE(stream.items.size(), 7u);
    const std::vector<Bytes> first = {
        {0x1B, 0x28, 0x47, 0x01, 0x00, 0x01},
        {0x1B, 0x55, 0x01},
        {0x1B, 0x28, 0x65, 0x02, 0x00, 0x00, 0x10},
        {0x1B, 0x28, 0x53, 0x08, 0x00, 0xF4, 0x0B, 0x00, 0x00, 0x78, 0x0F, 0x00, 0x00},
        {0x1B, 0x28, 0x63, 0x08, 0x00, 0x2A, 0x00, 0x00, 0x00, 0x4D, 0x0F, 0x00, 0x00},
        {0x1B, 0x28, 0x43, 0x04, 0x00, 0x00, 0x00, 0x00, 0x17},
        {0x1B, 0x28, 0x4B, 0x02, 0x00, 0x00, 0x01}};
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(stream.items[i].bytes, first[i]) << i;
    }
}

TEST_F(AngularPattern, SheetPairsSitAt351And459And513WithShiftsOfZeroPlusAndMinusThree) {
    ASSERT_EQ(pattern_.PrintSheetHeadAngularPattern(), ResultOk);
    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    const auto blocks = Blocks(stream);
    ASSERT_EQ(blocks.size(), 3u + 3u * 3u);

    const std::initializer_list<int> pairs = {351, 369, 459, 477, 513, 531};
    const Bytes reference = LineWithMarks(pairs);
    for (size_t pass = 0; pass < 3; ++pass) {
        const auto* block = blocks[pass];
        ASSERT_EQ(block->lines, 90);
        // The lower 45 nozzles only: lines 0-44 stay blank, one run.
        EXPECT_EQ(Slice(block->decoded, 0, 45 * 720), Bytes(45 * 720, 0x00));
        // Both markers on the first printed line.
        EXPECT_EQ(block->Line(45), BothMarkers(reference));
        for (int line = 46; line < 90; ++line) {
            ASSERT_EQ(block->Line(line), reference) << line;
        }
    }
    const int pairAt[] = {351, 459, 513};
    for (size_t i = 3; i < blocks.size(); ++i) {
        const int at = pairAt[(i - 3) % 3];
        const Bytes test = LineWithMarks({at, at + 18});
        ASSERT_EQ(blocks[i]->lines, 45);
        EXPECT_EQ(blocks[i]->Line(0), BothMarkers(test));
        for (int line = 1; line < 45; ++line) {
            ASSERT_EQ(blocks[i]->Line(line), test) << line;
        }
    }
    EXPECT_EQ(Shifts(stream), (std::vector<int>{6, 6, 6, 6, 9, 3, 6, 9, 3, 6, 9, 3}));
}

}  // namespace
