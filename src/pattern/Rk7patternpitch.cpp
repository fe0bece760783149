// The accumulated pitch line: after a long feed the last black nozzle draws
// one full-width line, whose position shows the feed error summed over the page.
#include "pattern/Rk7pattern.h"

using namespace pattern;

namespace {

constexpr char kPitchCaption[] = "Accumulated pitch line\r\n";
static_assert(sizeof kPitchCaption == 25);

constexpr uint16_t kPitchFeed = 3231;  // in 1/360 inch

}  // namespace

uint16_t TPPattern::PrintAccumulatedPitchPattern() {
    PatternSteps s = Steps();
    s.I();
    s.G();
    s.U(kUnit360);
    s.D(kOneWay);
    s.E(16);
    s.K(kModeBlack);
    s.V(kPitchFeed);
    s.R();
    s.H(kBlack, kBlackLines);
    s.BlankLines(kBlackLines - 1);
    s.Run(kLineBytes, kSolid);
    s.I();
    s.L(3);
    s.Caption(kPitchCaption);
    s.F();
    return s.Finish();
}
