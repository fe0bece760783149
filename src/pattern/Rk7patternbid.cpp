// The Bi-D patterns: reference combs printed left to right at the stored
// value, and test combs printed in both directions at test values into the
// reference combs' gaps. The technician picks the mark whose bars meet.
#include "pattern/Rk7pattern.h"

#include <array>
#include <cstdio>

#include "link/PrintModes.h"

using namespace pattern;

// What one Bi-D generator prints: nozzle group, block and where in the block
// the combs go. Above the combs the block's first line carries the start
// marker, below them its last line the end marker.
struct TPPattern::BidVersion {
    uint8_t selector;    // colour selector of SendBidValue
    uint8_t colourMode;  // K
    uint8_t colour;      // raster colour: black, or magenta for the colour nozzles
    uint16_t lines;
    int referenceAbove, referenceCombs, referenceBelow;  // lines of the reference block
    int testAbove, testCombs, testBelow;                 // lines of a test block
};

namespace {

constexpr TPPattern::BidVersion kBlackVersion = {.selector = SelectBlack,
                                                 .colourMode = kModeBlack,
                                                 .colour = kBlack,
                                                 .lines = kBlackLines,
                                                 .referenceAbove = 31,
                                                 .referenceCombs = 28,
                                                 .referenceBelow = 31,
                                                 .testAbove = 26,
                                                 .testCombs = 38,
                                                 .testBelow = 26};
constexpr TPPattern::BidVersion kColourVersion = {.selector = SelectColour,
                                                  .colourMode = kModeColour,
                                                  .colour = kMagenta,
                                                  .lines = kColourLines,
                                                  .referenceAbove = 5,
                                                  .referenceCombs = 19,
                                                  .referenceBelow = 5,
                                                  .testAbove = 1,
                                                  .testCombs = 27,
                                                  .testBelow = 1};
static_assert(31 + 28 + 31 == kBlackLines && 26 + 38 + 26 == kBlackLines);
static_assert(5 + 19 + 5 == kColourLines && 1 + 27 + 1 == kColourLines);

// The page's reference line begins and ends with runs of these lengths.
constexpr int kLeadIn = 128;
constexpr int kTail = 214;

// A comb and the 34 blank bytes after it.
constexpr int kCombBlank = 34;
constexpr int kMarkBytes = kCombBytes + kCombBlank;

// The rows of the page versions. The reference line is a lead-in of
// kLeadIn bytes and leadIn more, one comb per mark, and a tail of kTail bytes
// and tail more. Test pass m prints its comb at testAt[m], at the stored value
// plus testOffset[m].
struct BidRow {
    int marks;
    int leadIn;
    int tail;
    std::array<int, 3> testAt;
    std::array<int, 3> testOffset;
};
constexpr std::array<BidRow, 3> kBidRows = {{
    {1, 162, 162, {290, 0, 0}, {-1, 0, 0}},
    {3, 108, 108, {344, 290, 236}, {+2, 0, -2}},
    {1, 162, 162, {290, 0, 0}, {+1, 0, 0}},
}};
static_assert(kLeadIn + 108 + 3 * kMarkBytes + kTail + 108 == kLineBytes &&
              kLeadIn + 162 + kMarkBytes + kTail + 162 == kLineBytes);

// The sheet versions' test passes: value, value+1, value-1 in slots 4, 6, 7.
constexpr std::array<int, 3> kSheetTestOffset = {0, +1, -1};

// A block with the start marker on its first line, count comb lines, and the
// end marker on its last line.
template <typename CombLine>
void MarkedBlock(PatternSteps& s, int above, int combs, int below, CombLine combLine) {
    s.Run(1, kStartMarker);
    s.Run(above * kLineBytes - 1, kBlank);
    for (int line = 0; line < combs; ++line) {
        combLine();
    }
    s.Run(below * kLineBytes - 1, kBlank);
    s.Run(1, kEndMarker);
}

void Comb(PatternSteps& s, const std::array<Run, 5>& comb) {
    s.Runs(comb);
    s.Run(kCombBlank, kBlank);
}

// A line of the sheet's slot table with comb in the given slots.
template <size_t N>
void SlotLine(PatternSteps& s, const std::array<Run, 5>& comb, const std::array<int, N>& slots) {
    s.Run(kSlotLead, kBlank);
    for (int slot = 0; slot < static_cast<int>(kSlotGaps.size()); ++slot) {
        bool marked = false;
        for (const int markSlot : slots) {
            marked = marked || markSlot == slot;
        }
        if (marked) {
            s.Runs(comb);
        } else {
            s.Run(kSlotBytes, kBlank);
        }
        s.Run(kSlotGaps[static_cast<size_t>(slot)], kBlank);
    }
}

void RowLabel(PatternSteps& s, int row, int value) {
    char label[64];
    if (row == 1) {
        s.Label(label,
                std::snprintf(label, sizeof label, "                       %3d   %3d   %3d\r\n",
                              value - 2, value, value + 2));
    } else {
        const int shown = row == 0 ? value - 1 : value + 1;
        s.Label(label,
                std::snprintf(label, sizeof label, "                             %3d\r\n", shown));
    }
}

}  // namespace

uint16_t TPPattern::PrintBidBlackPattern(uint8_t dotSize, int value) {
    return PrintBidPage(kBlackVersion, dotSize, value);
}

uint16_t TPPattern::PrintBidColorPattern(uint8_t dotSize, int value) {
    return PrintBidPage(kColourVersion, dotSize, value);
}

uint16_t TPPattern::PrintSheetBidBlackPattern(uint8_t dotSize, int value) {
    return PrintBidSheet(kBlackVersion, dotSize, value);
}

uint16_t TPPattern::PrintSheetBidColorPattern(uint8_t dotSize, int value) {
    return PrintBidSheet(kColourVersion, dotSize, value);
}

uint16_t TPPattern::PrintBidPage(const BidVersion& version, uint8_t dotSize, int value) {
    PatternSteps s = Steps();
    s.ChangesBidValue(version.selector, dotSize, value);
    const uint8_t bar = BidBarByte(dotSize);
    const auto referenceComb = ReferenceComb(bar);
    const auto testComb = TestComb(bar);

    for (int row = 0; row < static_cast<int>(kBidRows.size()); ++row) {
        const BidRow& r = kBidRows[static_cast<size_t>(row)];
        for (int pass = 0; pass < BidPasses(dotSize); ++pass) {
            // Reference pass: left to right at the stored value.
            s.I();
            s.F();
            s.SetValue(value);
            s.G();
            s.E(dotSize);
            s.U(kUnit360);
            s.K(version.colourMode);
            s.D(kOneWay);
            s.R();
            s.H(version.colour, version.lines);
            MarkedBlock(s, version.referenceAbove, version.referenceCombs, version.referenceBelow,
                        [&] {
                            s.Run(kLeadIn, kBlank);
                            s.Run(r.leadIn, kBlank);
                            for (int mark = 0; mark < r.marks; ++mark) {
                                Comb(s, referenceComb);
                            }
                            s.Run(kTail, kBlank);
                            s.Run(r.tail, kBlank);
                        });
            s.CR();
            s.F();

            // One test pass per mark, both directions, at its test value.
            for (int m = 0; m < r.marks; ++m) {
                const auto at = static_cast<size_t>(m);
                s.I();
                s.F();
                s.SetValue(value + r.testOffset[at]);
                s.G();
                s.E(dotSize);
                s.U(kUnit360);
                s.K(version.colourMode);
                s.D(kBidTestDirection);
                s.CR();
                s.R();
                s.H(version.colour, version.lines);
                MarkedBlock(s, version.testAbove, version.testCombs, version.testBelow, [&] {
                    s.Run(r.testAt[at], kBlank);
                    Comb(s, testComb);
                    s.Run(kLineBytes - r.testAt[at] - kMarkBytes, kBlank);
                });
                s.CR();
            }
            s.V(1);
        }
        s.V(70);
        s.I();
        s.DraftMode();
        RowLabel(s, row, value);
    }

    s.V(48);
    s.I();
    s.F();
    s.SetValue(value);
    return s.Finish();
}

uint16_t TPPattern::PrintBidSheet(const BidVersion& version, uint8_t dotSize, int value) {
    PatternSteps s = Steps();
    s.ChangesBidValue(version.selector, dotSize, value);
    const uint8_t bar = BidBarByte(dotSize);
    const auto referenceComb = ReferenceComb(bar);
    const auto testComb = TestComb(bar);

    for (int pass = 0; pass < BidPasses(dotSize); ++pass) {
        // Reference pass: combs in slots 4, 6 and 7 at the stored value.
        s.I();
        s.F();
        s.SetValue(value);
        s.G();
        s.E(dotSize);
        s.U(kUnit360);
        s.K(version.colourMode);
        s.D(kOneWay);
        s.R();
        s.H(version.colour, version.lines);
        MarkedBlock(s, version.referenceAbove, version.referenceCombs, version.referenceBelow,
                    [&] { SlotLine(s, referenceComb, kMarkSlots); });
        s.CR();

        // Test pass m: its comb only in slot 4, 6 or 7.
        for (size_t m = 0; m < kMarkSlots.size(); ++m) {
            s.I();
            s.F();
            s.SetValue(value + kSheetTestOffset[m]);
            s.I();
            s.G();
            s.E(dotSize);
            s.U(kUnit360);
            s.K(version.colourMode);
            s.D(kBidTestDirection);
            s.R();
            s.H(version.colour, version.lines);
            const std::array<int, 1> slot = {kMarkSlots[m]};
            MarkedBlock(s, version.testAbove, version.testCombs, version.testBelow,
                        [&] { SlotLine(s, testComb, slot); });
            s.CR();
        }
        s.V(1);
    }

    s.V(150);
    s.I();
    s.F();
    s.SetValue(value);
    return s.Finish();
}
