// The first-dot and top-margin patterns: a few dots at the left edge and at
// the top margin of the page.
#include "pattern/Rk7pattern.h"

#include <array>

#include "link/Dllfunction.h"

using namespace pattern;

namespace {

constexpr char kFirstDotCaption[] = "   First dot position \r\n";
constexpr char kTopMarginCaption[] = " Top Margin adjustment\r";
static_assert(sizeof kFirstDotCaption == 25 && sizeof kTopMarginCaption == 24);

// The first-dot block: one byte per raster line, 45 lines.
constexpr uint16_t kFirstDotLineBytes = 1;
constexpr uint16_t kFirstDotLines = 45;

// A4 in 1/360 inch: width 2976, length 4208; margins top 42, bottom 7966.
constexpr std::array<uint8_t, 8> kA4PaperSize = {0xA0, 0x0B, 0x00, 0x00, 0x70, 0x10, 0x00, 0x00};
constexpr std::array<uint8_t, 8> kTopMarginFormat = {0x2A, 0x00, 0x00, 0x00,
                                                     0x1E, 0x1F, 0x00, 0x00};

}  // namespace

uint16_t TPPattern::PrintFirstDotPattern() {
    // The first-dot page prints this generator alone, and ejects here.
    TPDLLFunction::PatternPrint print(link_, "first-dot");
    PatternSteps s = Steps();
    s.I();
    s.I();
    s.G();
    s.D(kOneWay);
    s.U(kUnit360);
    s.E(16);
    s.K(kModeBlack);
    s.R();
    s.RasterHeader(kBlack, kFirstDotLineBytes, kFirstDotLines);
    s.Run(kFirstDotLines, kLeftDot);  // one dot in the first column of each line
    s.I();
    s.Caption(kFirstDotCaption);
    s.EJ();
    return print.Done(s.Finish());
}

uint16_t TPPattern::PrintTopMarginPattern(uint8_t skipCaption) {
    return PrintTopMargin(false, skipCaption != 0);
}

uint16_t TPPattern::PrintSheetTopMarginPattern() {
    return PrintTopMargin(true, false);
}

// The page draws a 1400-dot line with the first nozzle and a short vertical
// line with nozzles 2-30; the sheet a full-width line and nozzles 2-60.
uint16_t TPPattern::PrintTopMargin(bool sheet, bool skipCaption) {
    PatternSteps s = Steps();
    s.I();
    s.G();
    s.PaperSize(kA4PaperSize);
    s.PageFormat(kTopMarginFormat);
    s.U(kUnit360);
    s.D(kOneWay);
    s.E(16);
    s.K(kModeBlack);
    s.R();
    s.H(kBlack, kBlackLines);

    if (sheet) {
        s.Run(kLineBytes, kSolid);
    } else {
        s.Run(350, kSolid);
        s.Run(370, kBlank);
    }
    const int edgeLines = sheet ? 59 : 29;
    for (int line = 1; line <= edgeLines; ++line) {
        s.Run(1, kLeftDot);
        s.Run(719, kBlank);
    }
    s.BlankLines(kBlackLines - 1 - edgeLines);
    s.F();
    if (skipCaption) {
        return s.Finish();
    }

    // The caption stays in the job for the page's eject.
    s.I();
    s.Caption(kTopMarginCaption);
    if (sheet) {
        s.L(3);
    }
    return s.Finish();
}
