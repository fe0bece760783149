// The solid and alignment patterns of the normal-paper sheet.
#include "pattern/Rk7pattern.h"

#include <array>

using namespace pattern;

namespace {

constexpr char kBetaCaption[] = " BETA(VSD1)\r\n";
constexpr char kVerticalCaption[] = " Vertical Alignment (VSD1 / VSD3)\r\n";
constexpr char kHorizontalCaption[] = " HORIZONTAL ALLIGNMENT / BEND LINE  VSD1 - VSD3\r\n";
static_assert(sizeof kBetaCaption == 14 && sizeof kVerticalCaption == 36 &&
              sizeof kHorizontalCaption == 50);

// Colour areas in the order the BETA pattern prints them, and in the order of
// the alignment patterns.
constexpr std::array<uint8_t, 3> kBetaColours = {kYellow, kMagenta, kCyan};
constexpr std::array<uint8_t, 3> kAlignmentColours = {kCyan, kMagenta, kYellow};

// A line of the solid pattern: black on the left half (dots 0-1423), a
// colour on the right half (dots 1456-2879).
void BlackAreaLine(PatternSteps& s) {
    s.Run(356, kSolid);
    s.Run(364, kBlank);
}
void ColourAreaLine(PatternSteps& s) {
    s.Run(364, kBlank);
    s.Run(356, kSolid);
}

void BlackArea(PatternSteps& s) {
    for (int line = 0; line < kBlackLines; ++line) {
        BlackAreaLine(s);
    }
}
void ColourArea(PatternSteps& s) {
    for (int line = 0; line < kColourLines; ++line) {
        ColourAreaLine(s);
    }
}

// Nine vertical lines 40 dots apart, each one byte of lineByte, after lead
// blank bytes and before tail blank bytes.
void AlignmentLine(PatternSteps& s, int lead, uint8_t lineByte, int tail) {
    if (lead > 0) {
        s.Run(lead, kBlank);
    }
    for (int group = 0; group < 9; ++group) {
        s.Run(1, lineByte);
        s.Run(9, kBlank);
    }
    s.Run(tail, kBlank);
}

// The section of the vertical-alignment pattern, printed at one dot size.
void VerticalAlignmentSection(PatternSteps& s) {
    s.K(kModeBlack);
    s.R();
    s.H(kBlack, kBlackLines);
    BlackArea(s);
    s.CR();

    s.K(kModeColour);
    for (const uint8_t colour : kAlignmentColours) {
        s.R();
        s.H(colour, kColourLines);
        ColourArea(s);
        s.CR();
    }
    s.U(kUnit360);
    s.V(3);

    // Each colour's last nozzle prints one line beside the areas before.
    for (const uint8_t colour : kAlignmentColours) {
        s.R();
        s.H(colour, kColourLines);
        s.BlankLines(kColourLines - 1);
        ColourAreaLine(s);
        s.CR();
    }
    s.U(kUnit120);
    s.V(89);
}

}  // namespace

uint16_t TPPattern::PrintBetaPattern() {
    PatternSteps s = Steps();
    s.I();
    s.Caption(kBetaCaption);
    s.G();
    s.U(kUnit360);
    s.D(kOneWay);
    s.E(16);

    for (int pass = 0; pass < kPasses; ++pass) {
        s.K(kModeBlack);
        s.R();
        s.H(kBlack, kBlackLines);
        BlackArea(s);
        s.CR();
        s.K(kModeColour);
        for (const uint8_t colour : kBetaColours) {
            s.R();
            s.H(colour, kColourLines);
            ColourArea(s);
            s.CR();
        }
        s.U(kUnit360);
        s.V(1);
    }

    s.U(kUnit120);
    s.V(89);
    s.U(kUnit360);
    s.V(60);
    s.I();
    s.F();
    return s.Finish();
}

uint16_t TPPattern::PrintVerticalAlignmentPattern() {
    PatternSteps s = Steps();
    s.I();
    s.Caption(kVerticalCaption);
    s.I();
    s.G();
    s.D(kOneWay);
    s.U(kUnit360);
    s.E(16);
    VerticalAlignmentSection(s);
    VerticalAlignmentSection(s);

    s.U(kUnit360);
    s.V(15);
    s.I();
    s.G();
    s.D(kOneWay);
    s.U(kUnit360);
    s.E(18);
    VerticalAlignmentSection(s);

    s.U(kUnit360);
    s.V(15);
    s.F();
    return s.Finish();
}

uint16_t TPPattern::PrintHorizontalAlignmentPattern() {
    PatternSteps s = Steps();
    s.I();
    s.Caption(kHorizontalCaption);
    s.I();
    s.G();
    s.U(kUnit360);
    s.D(kOneWay);

    // Four groups: black VSD1 at byte 0, colour VSD1 at 100, black VSD3 at
    // 230, colour VSD3 at 330.
    for (int pass = 0; pass < kPasses; ++pass) {
        s.K(kModeBlack);
        s.E(16);
        s.R();
        s.H(kBlack, kBlackLines);
        for (int line = 0; line < kBlackLines; ++line) {
            AlignmentLine(s, 0, kLineDots, 630);
        }
        s.CR();

        s.K(kModeColour);
        s.E(16);
        for (const uint8_t colour : kAlignmentColours) {
            s.R();
            s.H(colour, kColourLines);
            for (int line = 0; line < kColourLines; ++line) {
                AlignmentLine(s, 100, kLineDots, 530);
            }
            s.CR();
        }

        s.K(kModeBlack);
        s.E(18);
        s.R();
        s.H(kBlack, kBlackLines);
        for (int line = 0; line < kBlackLines; ++line) {
            AlignmentLine(s, 230, kSmallDots, 400);
        }
        s.CR();

        s.K(kModeColour);
        s.E(18);
        for (const uint8_t colour : kAlignmentColours) {
            s.R();
            s.H(colour, kColourLines);
            for (int line = 0; line < kColourLines; ++line) {
                AlignmentLine(s, 330, kSmallDots, 300);
            }
            s.CR();
        }

        s.V(1);  // the unit is still 1/360 inch
    }

    s.U(kUnit120);
    s.V(89);
    s.I();
    s.F();
    return s.Finish();
}
