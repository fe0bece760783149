// The PF page: eleven steps at test values -5 .. 5, each a first block and,
// one feed lower and further right, a second block. The feed is right only at
// the step of the printer's error: there the blocks meet, elsewhere a white
// gap or a dark overlap of two rows a step parts them. The ends read "NG".
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "reader/Sheet.h"

namespace reader {

namespace {

constexpr int kSteps = 11;
constexpr int kAloneDots = 144;  // the columns where each block is alone
constexpr int kMargin = 8;       // kept clear of a block's end, for a tilted head
constexpr double kRowsPerStep = 2;
constexpr int kJoinGap = 12;  // blank rows inside a block (nozzle pitch) are fewer
constexpr int kBlockRows = 40;
constexpr int kBlockDots = 480;    // a block across
constexpr int kEdgeRows = 12;      // rows each side of a block's edge looked at
constexpr double kLeanSpread = 1;  // rows the steps' leans may differ by

}  // namespace

PfSteps FindPfSteps(const Sheet& sheet, const std::vector<Mark>& blocks) {
    if (blocks.empty()) {
        return {};
    }
    int left = blocks.front().box.x;
    int right = left;
    int top = blocks.front().box.y;
    int bottom = top;
    for (const Mark& block : blocks) {
        left = std::min(left, block.box.x);
        right = std::max(right, block.box.x + block.box.width);
        top = std::min(top, block.box.y);
        bottom = std::max(bottom, block.box.y + block.box.height);
    }
    PfSteps steps;
    steps.firsts = Runs(RowProfile(sheet, left + kMargin, left + kAloneDots - kMargin, top, bottom),
                        kJoinGap, kBlockRows);
    steps.seconds =
        Runs(RowProfile(sheet, right - kAloneDots + kMargin, right - kMargin, top, bottom),
             kJoinGap, kBlockRows);
    for (std::vector<Run>* runs : {&steps.firsts, &steps.seconds}) {
        for (Run& run : *runs) {
            run.first += top;
            run.last += top;
        }
    }
    if (steps.firsts.size() != steps.seconds.size()) {
        return steps;
    }
    // Each step's lean: its first block's top at the left end and at the
    // block's right end, its second block's foot at the block's left end and
    // at the right end, the same distance apart; then over the distance of
    // the two ends the gaps are measured at.
    std::vector<double> leans;
    for (size_t step = 0; step < steps.firsts.size(); ++step) {
        const Run& first = steps.firsts[step];
        const Run& second = steps.seconds[step];
        const auto topAt = [&](int from, int row) {
            return RisingEdge(RowProfile(sheet, from + kMargin, from + kAloneDots - kMargin,
                                         row - kEdgeRows, row + kEdgeRows));
        };
        const auto footAt = [&](int from, int row) {
            auto rows = RowProfile(sheet, from + kMargin, from + kAloneDots - kMargin,
                                   row - kEdgeRows + 1, row + kEdgeRows + 1);
            std::reverse(rows.begin(), rows.end());
            const auto edge = RisingEdge(rows);
            return edge ? std::optional<double>(-*edge) : std::nullopt;
        };
        const int firstRight = left + kBlockDots - kAloneDots;
        const int secondLeft = right - kBlockDots;
        const auto topLeft = topAt(left, first.first);
        const auto topRight = topAt(firstRight, first.first);
        const auto footLeft = footAt(secondLeft, second.last);
        const auto footRight = footAt(right - kAloneDots, second.last);
        if (!topLeft || !topRight || !footLeft || !footRight) {
            steps.level = false;
            return steps;
        }
        const double perDot =
            (*topRight - *topLeft + *footRight - *footLeft) / (2.0 * (kBlockDots - kAloneDots));
        leans.push_back(perDot * (right - left - kAloneDots));
    }
    if (leans.empty()) {
        return steps;
    }
    const auto [low, high] = std::minmax_element(leans.begin(), leans.end());
    double sum = 0;
    for (const double lean : leans) {
        sum += lean;
    }
    steps.lean = sum / static_cast<double>(leans.size());
    steps.level = *high - *low <= kLeanSpread;
    return steps;
}

std::vector<Reading> ReadPf(const Sheet& sheet, const std::vector<Mark>& blocks, bool black) {
    Reading reading;
    reading.name = black ? "pf-black" : "pf-color";
    if (blocks.empty()) {
        reading.note = "no blocks found";
        return {reading};
    }
    const PfSteps steps = FindPfSteps(sheet, blocks);
    const auto& [firsts, seconds, lean, level] = steps;
    if (firsts.size() != kSteps || seconds.size() != kSteps) {
        reading.note = "the page does not hold eleven steps of two blocks (found " +
                       std::to_string(firsts.size()) + " first and " +
                       std::to_string(seconds.size()) + " second blocks)";
        return {reading};
    }
    std::vector<int> gaps;
    std::optional<double> error;
    bool agree = true;
    double sum = 0;
    for (size_t step = 0; step < kSteps; ++step) {
        const int gap = steps.Gap(step);
        gaps.push_back(gap);
        const double estimate = (static_cast<double>(step) - 5) + gap / kRowsPerStep;
        agree = agree && (!error || std::abs(*error - estimate) <= 0.5);
        error = error.value_or(estimate);
        sum += estimate;
    }
    const double mean = sum / kSteps;
    const std::vector<size_t> order = LeastOffFirst(gaps);
    const size_t best = order[0];
    const RowOfChoices row{
        .count = kSteps,
        .first = -5,
        .step = 1,
        .best = best,
        .second = order[1],
        .tie = std::abs(gaps[order[1]]) == std::abs(gaps[best]),
        .inPlace = std::abs(gaps[best]) <= 1,
        .way = mean > static_cast<double>(best) - 5 ? 1 : -1,
        .choice = "step",
        .asGood = "meet as well",
        .none = "no step meets",
        .endIs = "meets",
        .beyond = "the feed is off beyond what -4 to 4 corrects",
        .unfit = !level   ? kPfNotLevel
                 : !agree ? "the steps do not agree on the feed"
                          : nullptr,
    };
    JudgeRow(reading, row);
    return {reading};
}

}  // namespace reader
