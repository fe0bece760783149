// Every generator into the virtual printer: its raster blocks decode to
// exactly their size, and it ends as its pattern ends, with the bytes it
// leaves in the job for the page's eject.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "PatternFixture.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"

namespace {

using testing_support::Blocks;
using testing_support::PatternTest;
using Bytes = std::vector<uint8_t>;

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}
Bytes Text(const std::string& text, bool zero) {
    Bytes bytes(text.begin(), text.end());
    if (zero) {
        bytes.push_back(0);
    }
    return bytes;
}

const Bytes kInitialize = {0x1B, 0x40};
const Bytes kUnit360 = {0x1B, 0x28, 0x55, 0x01, 0x00, 0x0A};
const Bytes kUnit120 = {0x1B, 0x28, 0x55, 0x01, 0x00, 0x1E};
Bytes Move(uint16_t units) {
    Bytes bytes = {0x1B, 0x28, 0x76, 0x02, 0x00};
    bytes.push_back(static_cast<uint8_t>(units & 0xFF));
    bytes.push_back(static_cast<uint8_t>(units >> 8));
    return bytes;
}
Bytes Lines(int count) {
    Bytes bytes;
    for (int i = 0; i < count; ++i) {
        bytes.insert(bytes.end(), {0x0D, 0x0A});
    }
    return bytes;
}
Bytes PfPacket(uint8_t value, uint8_t black) {
    return {0x1B, 0x7C, 0x00, 0x07, 0x00, 0x0B, 0x54, 0x04, 0xFB, 0x02, value, black};
}
Bytes BidPacket(uint8_t mode, uint8_t group, int value) {
    Bytes bytes = {0x1B, 0x7C, 0x00, 0x09, 0x00, 0x0B, 0x54, 0x00, 0xFF, 0x00, mode, group};
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes.push_back(value < 0 ? 0xFF : 0x00);
    return bytes;
}
const Bytes kBlankUnits = {0x89, 0x00, 0x89, 0x00, 0x89, 0x00, 0x89, 0x00, 0x89, 0x00, 0x89, 0x00};
const Bytes kSolidUnits = {0x89, 0xFF, 0x89, 0xFF, 0x89, 0xFF, 0x89, 0xFF, 0x89, 0xFF, 0x89, 0xFF};

struct Ending {
    std::string name;
    std::function<uint16_t(TPPattern&)> print;
    Bytes lastSent;  // the end of what the printer received
    Bytes buffered;  // what stays in the job
};

// Shown by the test's name only.
void PrintTo(const Ending& generator, std::ostream* os) {
    *os << generator.name;
}

const std::vector<Ending>& Endings() {
    static const std::vector<Ending> endings = {
        {"Beta",
         [](TPPattern& p) { return p.PrintBetaPattern(); },
         Join({kUnit360, Move(60), kInitialize}),
         {}},
        {"VerticalAlignment",
         [](TPPattern& p) { return p.PrintVerticalAlignmentPattern(); },
         Join({{0x1B, 0x3C, 0x0D}, kUnit120, Move(89), kUnit360, Move(15)}),
         {}},
        {"HorizontalAlignment",
         [](TPPattern& p) { return p.PrintHorizontalAlignmentPattern(); },
         Join({Move(1), kUnit120, Move(89), kInitialize}),
         {}},
        {"HeadAngular",
         [](TPPattern& p) { return p.PrintHeadAngularPattern(); },
         Join({kUnit120, Move(100), kInitialize,
               Text(std::string(29, ' ') + "NG  -3   0   3  NG", true)}),
         {}},
        {"SheetHeadAngular",
         [](TPPattern& p) { return p.PrintSheetHeadAngularPattern(); },
         Join({Move(1), kInitialize, Text("Head angular adjustment\r\n", true), Lines(2),
               Text(std::string(40, ' ') + "X          X+3   X-3   X:current value\r\n", true)}),
         {}},
        {"PfBlack",
         [](TPPattern& p) { return p.PrintPfBlackPattern(); },
         Join({kInitialize, Text("               NG\r", false), PfPacket(0xFE, 1)}),
         {}},
        {"PfColor",
         [](TPPattern& p) { return p.PrintPfColorPattern(); },
         Join({kInitialize, Lines(2), Text("               NG\r", false), PfPacket(0x03, 2)}),
         {}},
        {"SheetPfBlack",
         [](TPPattern& p) { return p.PrintSheetPfBlackPattern(2); },
         Join({kInitialize, Text("               X+1\r", false), Lines(3), PfPacket(0x02, 1)}),
         {}},
        {"SheetPfColor",
         [](TPPattern& p) { return p.PrintSheetPfColorPattern(-3); },
         Join({kInitialize, Lines(2), Text("               X+1\r", false), Lines(3),
               PfPacket(0xFD, 2)}),
         {}},
        {"FirstDot",
         [](TPPattern& p) { return p.PrintFirstDotPattern(); },
         Join({{0xD4, 0xC0}, kInitialize, Text("   First dot position \r\n", true), {0x0C}}),
         {}},
        {"TopMargin", [](TPPattern& p) { return p.PrintTopMarginPattern(0); }, kBlankUnits,
         Join({kInitialize, Text(" Top Margin adjustment\r", true)})},
        {"TopMarginSkippingCaption",
         [](TPPattern& p) { return p.PrintTopMarginPattern(1); },
         kBlankUnits,
         {}},
        {"SheetTopMargin", [](TPPattern& p) { return p.PrintSheetTopMarginPattern(); }, kBlankUnits,
         Join({kInitialize, Text(" Top Margin adjustment\r", true), Lines(3)})},
        {"AccumulatedPitch",
         [](TPPattern& p) { return p.PrintAccumulatedPitchPattern(); },
         Join({kSolidUnits, kInitialize, Lines(3), Text("Accumulated pitch line\r\n", true)}),
         {}},
        {"BidBlack",
         [](TPPattern& p) { return p.PrintBidBlackPattern(16, 0); },
         Join({Move(48), kInitialize, BidPacket(1, 1, 0)}),
         {}},
        {"BidColor",
         [](TPPattern& p) { return p.PrintBidColorPattern(19, -3); },
         Join({Move(48), kInitialize, BidPacket(0, 2, -3)}),
         {}},
        {"SheetBidBlack",
         [](TPPattern& p) { return p.PrintSheetBidBlackPattern(18, 5); },
         Join({Move(150), kInitialize, BidPacket(3, 1, 5)}),
         {}},
        {"SheetBidColor",
         [](TPPattern& p) { return p.PrintSheetBidColorPattern(17, -1); },
         Join({Move(150), kInitialize, BidPacket(2, 2, -1)}),
         {}},
    };
    return endings;
}

class PatternEnding : public PatternTest, public ::testing::WithParamInterface<Ending> {
  protected:
    void SetUp() override {
        PatternTest::SetUp();
        Store(eeprom::PfBlack, -2);
        Store(eeprom::PfColour, 3);
        ClearTrace();
    }
};

TEST_P(PatternEnding, BlocksDecodeExactlyAndThePatternEndsAsItsListSays) {
    const Ending& ending = GetParam();
    ASSERT_EQ(ending.print(pattern_), ResultOk);

    const auto stream = Received();
    ASSERT_EQ(stream.error, "");
    const auto blocks = Blocks(stream);
    ASSERT_FALSE(blocks.empty());
    for (const auto* block : blocks) {
        // One byte per line only in the first-dot block.
        EXPECT_EQ(block->bytesPerLine, ending.name == "FirstDot" ? 1 : 720);
        EXPECT_EQ(block->decoded.size(), static_cast<size_t>(block->bytesPerLine * block->lines));
    }

    const Bytes received = AcceptedBytes();
    ASSERT_GE(received.size(), ending.lastSent.size());
    EXPECT_EQ(
        Bytes(received.end() - static_cast<std::ptrdiff_t>(ending.lastSent.size()), received.end()),
        ending.lastSent);
    EXPECT_EQ(Bytes(raster_.Buffer(), raster_.Buffer() + raster_.FillCount()), ending.buffered);
    // The printer found nothing in the stream it could not use.
    for (const auto& fault : Calls("fault")) {
        ADD_FAILURE() << fault.note;
    }
    // Nothing is sent in pieces larger than the job's 1000 bytes.
    for (const auto& send : AcceptedSends()) {
        EXPECT_LE(send.size(), 1000u);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryGenerator, PatternEnding, ::testing::ValuesIn(Endings()),
                         [](const auto& generator) { return generator.param.name; });

}  // namespace
