// The PF (paper feed) patterns: at each test value, a dithered block by the
// lower nozzles, one band of feed, and a second block by the upper nozzles
// on the lines that follow the first block's last line.
#include "pattern/Rk7pattern.h"

#include <cstdio>

#include "eeprom/EepromMap.h"
#include "link/Dllfunction.h"
#include "link/ResultCodes.h"

using namespace pattern;

// What one PF generator prints; the four differ only in these.
struct TPPattern::PfVersion {
    uint8_t blackFlag;    // SendPfValue: 1 black, 0 colour
    uint8_t colourMode;   // K
    bool black;           // caption "(Black)" or "(color)"
    bool page;            // 11 steps -5..+5 labelled "NG", -4..4; else 3 steps value-1..value+1
    uint8_t firstColour;  // raster colour of the first block
    uint8_t secondColour;
    uint16_t lines;        // lines of a block
    int blankLines;        // blank lines before the first block's dither, after the second's
    uint16_t feed;         // feed between the blocks, in 1/360 inch
    bool feedBeforeLabel;  // L(2) before each label
    bool feedAtEnd;        // L(3) before the final flush
};

namespace {

constexpr char kBlackCaption[] = "PF adjustment(Black)\r";
constexpr char kColourCaption[] = "PF adjustment(color)\r";
static_assert(sizeof kBlackCaption == 22 && sizeof kColourCaption == 22);

// Labels of the sheet's three steps.
constexpr char kSheetLabelBelow[] = "               X-1\r";
constexpr char kSheetLabelAt[] = "                X\r";
constexpr char kSheetLabelAbove[] = "               X+1\r";

// The dithered blocks: 120 dither bytes (480 dots), at byte 180 (dots
// 720-1199) in the first block and at byte 216 (dots 864-1343) in the second.
constexpr int kDitherBytes = 120;
constexpr int kFirstLead = 180;
constexpr int kFirstTail = 420;
constexpr int kSecondLead = 216;
constexpr int kSecondTail = 384;
static_assert(kFirstLead + kDitherBytes + kFirstTail == kLineBytes &&
              kSecondLead + kDitherBytes + kSecondTail == kLineBytes);

// Page versions: test values -5..+5, the outermost labelled "NG".
constexpr int kPageSteps = 11;
constexpr int kPageLowest = -5;

void DitherLine(PatternSteps& s, int lead, int tail) {
    s.Run(lead, kBlank);
    s.Dither(kDitherBytes);
    s.Run(tail, kBlank);
}

}  // namespace

namespace pf {

constexpr TPPattern::PfVersion kBlackPage = {.blackFlag = 1,
                                             .colourMode = kModeBlack,
                                             .black = true,
                                             .page = true,
                                             .firstColour = kBlack,
                                             .secondColour = kBlackSecondBlock,
                                             .lines = kBlackLines,
                                             .blankLines = 60,
                                             .feed = 267,
                                             .feedBeforeLabel = false,
                                             .feedAtEnd = false};
constexpr TPPattern::PfVersion kColourPage = {.blackFlag = 0,
                                              .colourMode = kModeColour,
                                              .black = false,
                                              .page = true,
                                              .firstColour = kCyan,
                                              .secondColour = kCyan,
                                              .lines = kColourLines,
                                              .blankLines = 0,
                                              .feed = 84,
                                              .feedBeforeLabel = true,
                                              .feedAtEnd = false};
constexpr TPPattern::PfVersion kBlackSheet = {.blackFlag = 1,
                                              .colourMode = kModeBlack,
                                              .black = true,
                                              .page = false,
                                              .firstColour = kBlack,
                                              .secondColour = kBlackSecondBlock,
                                              .lines = kBlackLines,
                                              .blankLines = 60,
                                              .feed = 267,
                                              .feedBeforeLabel = false,
                                              .feedAtEnd = true};
constexpr TPPattern::PfVersion kColourSheet = {.blackFlag = 0,
                                               .colourMode = kModeColour,
                                               .black = false,
                                               .page = false,
                                               .firstColour = kCyan,
                                               .secondColour = kCyan,
                                               .lines = kColourLines,
                                               .blankLines = 0,
                                               .feed = 84,
                                               .feedBeforeLabel = true,
                                               .feedAtEnd = true};

// The feed between the blocks and the three pass moves make one block.
static_assert(267 + 3 == 3 * kBlackLines && 84 + 3 == 3 * kColourLines);

}  // namespace pf

uint16_t TPPattern::PrintPfBlackPattern() {
    return PrintPfPage(pf::kBlackPage, eeprom::PfBlack);
}

uint16_t TPPattern::PrintPfColorPattern() {
    return PrintPfPage(pf::kColourPage, eeprom::PfColour);
}

uint16_t TPPattern::PrintSheetPfBlackPattern(int8_t value) {
    return PrintPf(pf::kBlackSheet, value);
}

uint16_t TPPattern::PrintSheetPfColorPattern(int8_t value) {
    return PrintPf(pf::kColourSheet, value);
}

uint16_t TPPattern::PrintPfPage(const PfVersion& version, uint8_t address) {
    // The stored value first: when it cannot be read, nothing is printed or changed.
    uint8_t stored = 0;
    const uint16_t read = link_.D4ReadEeprom(address, stored);
    if (read != ResultOk) {
        return read;
    }
    return PrintPf(version, static_cast<int8_t>(stored));
}

uint16_t TPPattern::PrintPf(const PfVersion& version, int stored) {
    PatternSteps s = Steps();
    s.ChangesPfValue(version.blackFlag, stored);
    s.Caption(version.black ? kBlackCaption : kColourCaption);

    const int steps = version.page ? kPageSteps : 3;
    const int lowest = version.page ? kPageLowest : stored - 1;
    for (int i = 0; i < steps; ++i) {
        const int test = lowest + i;
        s.I();
        s.F();
        s.SetValue(test);

        s.I();
        s.G();
        s.D(kOneWay);
        s.U(kUnit360);
        s.K(version.colourMode);
        s.E(17);

        for (int pass = 0; pass < kPasses; ++pass) {
            s.R();
            s.H(version.firstColour, version.lines);
            s.BlankLines(version.blankLines);
            for (int line = version.blankLines; line < version.lines; ++line) {
                DitherLine(s, kFirstLead, kFirstTail);
            }
            s.CR();
            s.V(1);
        }

        s.V(version.feed);

        for (int pass = 0; pass < kPasses; ++pass) {
            s.R();
            s.H(version.secondColour, version.lines);
            for (int line = version.blankLines; line < version.lines; ++line) {
                DitherLine(s, kSecondLead, kSecondTail);
            }
            s.BlankLines(version.blankLines);
            s.CR();
            s.V(1);
        }

        s.I();
        if (version.feedBeforeLabel) {
            s.L(2);
        }
        if (!version.page) {
            if (i == 0) {
                s.Label(kSheetLabelBelow);
            } else if (i == 1) {
                s.Label(kSheetLabelAt);
            } else {
                s.Label(kSheetLabelAbove);
            }
        } else if (i == 0 || i == kPageSteps - 1) {
            s.Label("               NG\r");
        } else {
            char label[32];
            s.Label(label, std::snprintf(label, sizeof label, "               %d\r", test));
        }
    }

    if (version.feedAtEnd) {
        s.L(3);
    }
    s.F();
    s.WaitReady();
    s.SetValue(stored);
    return s.Finish();
}
