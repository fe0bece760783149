// The head angular patterns: marks printed once by the whole black nozzle row
// (reference band) and again one band lower, shifted (test band).
#include "pattern/Rk7pattern.h"

#include <array>

using namespace pattern;

namespace {

constexpr char kPageCaption[] = "Head Angular\r\n";
// The scale under the page's test marks; no line end: the page's eject prints it.
constexpr char kPageScale[] = "                             NG  -3   0   3  NG";
constexpr char kSheetCaption[] = "Head angular adjustment\r\n";
constexpr char kSheetScale[] =
    "                                        X          X+3   X-3   X:current value\r\n";
static_assert(sizeof kPageCaption == 15 && sizeof kPageScale == 48 && sizeof kSheetCaption == 26 &&
              sizeof kSheetScale == 81);

// Page: five marks, mark s at byte 270 + 36s, each mark followed by 33 blank
// bytes.
constexpr int kPageMarks = 5;
constexpr int kPageLead = 270;
constexpr int kPageMarkPitch = kAngularMarkBytes + 33;
static_assert(kPageLead + kPageMarks * kPageMarkPitch + 270 == kLineBytes);

// Sheet: M is a mark and 15 blank bytes; the marks come in pairs M M.
constexpr int kSheetLead = 279;
constexpr int kSheetTail = 171;
constexpr int kSheetMarkPiece = kAngularMarkBytes + 15;
constexpr int kSheetReferenceLine = 32400;  // lines 0-44 of the reference band, one run
constexpr int kSheetHalf = 45;              // nozzles of each half of the row
static_assert(kSheetReferenceLine == kSheetHalf * kLineBytes);

// Shifts of the page's reference band and of each test mark, in 1/2880 inch.
constexpr uint16_t kPageReferenceShift = 6;
constexpr uint16_t kPageShiftStep = 3;

// The sheet's test sub-passes: shift, blank bytes before the pair and after it.
struct SheetTest {
    uint16_t shift;
    int before;
    int after;  // 0: none
};
constexpr std::array<SheetTest, 3> kSheetTests = {{{6, 72, 162}, {9, 180, 54}, {3, 234, 0}}};
static_assert(72 + 2 * kSheetMarkPiece + 162 == 270 && 180 + 2 * kSheetMarkPiece + 54 == 270 &&
              234 + 2 * kSheetMarkPiece == 270);

void Mark(PatternSteps& s, int blankAfter) {
    s.Runs(kAngularMark);
    s.Run(blankAfter, kBlank);
}

void SheetPair(PatternSteps& s) {
    Mark(s, 15);
    Mark(s, 15);
}

// Starts a line of a block: the start marker on its first line.
void LineStart(PatternSteps& s, int line, int lead) {
    if (line == 0) {
        s.Run(1, kStartMarker);
        s.Run(lead - 1, kBlank);
    } else {
        s.Run(lead, kBlank);
    }
}
// Ends a line of a block: the end marker on the line given.
void LineEnd(PatternSteps& s, bool marked, int tail) {
    if (marked) {
        s.Run(tail - 1, kBlank);
        s.Run(1, kEndMarker);
    } else {
        s.Run(tail, kBlank);
    }
}

}  // namespace

uint16_t TPPattern::PrintHeadAngularPattern() {
    PatternSteps s = Steps();
    s.I();
    s.Caption(kPageCaption);
    s.I();
    s.G();
    s.D(kOneWay);
    s.E(16);
    s.K(kModeBlack);
    s.U(kUnit180);
    s.V(90);  // half an inch down

    // Reference band: all five marks, shifted by 6/2880 inch.
    for (int pass = 0; pass < kPasses; ++pass) {
        s.UX();
        s.CR();
        s.X(kPageReferenceShift);
        s.R();
        s.H(kBlack, kBlackLines);
        for (int line = 0; line < kBlackLines; ++line) {
            LineStart(s, line, kPageLead);
            for (int mark = 0; mark < kPageMarks; ++mark) {
                Mark(s, 33);
            }
            LineEnd(s, line == 0, 270);
        }
        s.U(kUnit360);
        s.V(1);
    }

    s.U(kUnit120);
    s.V(89);

    // Test band: mark s alone in sub-pass s, shifted by 3s/2880 inch.
    for (int pass = 0; pass < kPasses; ++pass) {
        for (int sub = 0; sub < kPageMarks; ++sub) {
            s.UX();
            s.CR();
            s.X(static_cast<uint16_t>(kPageShiftStep * sub));
            s.R();
            s.H(kBlack, kBlackLines);
            const int before = kPageLead + kPageMarkPitch * sub;
            for (int line = 0; line < kBlackLines; ++line) {
                LineStart(s, line, before);
                Mark(s, 33);
                LineEnd(s, line == 0, kLineBytes - before - kPageMarkPitch);
            }
            s.CR();
        }
        s.U(kUnit360);
        s.V(1);
    }

    s.U(kUnit120);
    s.V(100);
    s.I();
    s.Caption(kPageScale);
    s.F();
    return s.Finish();
}

uint16_t TPPattern::PrintSheetHeadAngularPattern() {
    PatternSteps s = Steps();
    // No initialize first: the sheet's remote-mode sequence comes before.
    s.G();
    s.D(kOneWay);
    s.E(16);
    s.PaperSize({0xF4, 0x0B, 0x00, 0x00, 0x78, 0x0F, 0x00, 0x00});   // width 3060, length 3960
    s.PageFormat({0x2A, 0x00, 0x00, 0x00, 0x4D, 0x0F, 0x00, 0x00});  // top 42, bottom 3917
    s.PageLength(23);
    s.K(kModeBlack);

    // Reference band: the three pairs by the lower 45 nozzles.
    for (int pass = 0; pass < kPasses; ++pass) {
        s.UX();
        s.CR();
        s.X(6);
        s.R();
        s.H(kBlack, kBlackLines);
        s.Run(kSheetReferenceLine, kBlank);
        for (int line = kSheetHalf; line < kBlackLines; ++line) {
            LineStart(s, line - kSheetHalf, kSheetLead);
            s.Run(72, kBlank);
            SheetPair(s);
            s.Run(72, kBlank);
            SheetPair(s);
            s.Run(18, kBlank);
            SheetPair(s);
            LineEnd(s, line == kSheetHalf, kSheetTail);
        }
        s.U(kUnit360);
        s.V(1);
    }

    s.U(kUnit120);
    s.V(89);

    // Test band: one pair per sub-pass by the upper 45 nozzles, shifted by
    // 6, 9 and 3/2880 inch: 0, +3 and -3 against the reference.
    for (int pass = 0; pass < kPasses; ++pass) {
        for (const SheetTest& test : kSheetTests) {
            s.UX();
            s.CR();
            s.X(test.shift);
            s.R();
            s.H(kBlack, kSheetHalf);
            for (int line = 0; line < kSheetHalf; ++line) {
                LineStart(s, line, kSheetLead);
                s.Run(test.before, kBlank);
                SheetPair(s);
                if (test.after > 0) {
                    s.Run(test.after, kBlank);
                }
                LineEnd(s, line == 0, kSheetTail);
            }
            s.CR();
        }
        s.U(kUnit360);
        s.V(1);
    }

    s.I();
    s.Caption(kSheetCaption);
    s.L(2);
    s.Caption(kSheetScale);
    s.F();
    return s.Finish();
}
