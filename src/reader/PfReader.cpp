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
    return steps;
}

std::vector<Reading> ReadPf(const Sheet& sheet, const std::vector<Mark>& blocks, bool black) {
    Reading reading;
    reading.name = black ? "pf-black" : "pf-color";
    if (blocks.empty()) {
        reading.note = "no blocks found";
        return {reading};
    }
    const auto [firsts, seconds] = FindPfSteps(sheet, blocks);
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
        const int gap = seconds[step].first - firsts[step].last - 1;
        gaps.push_back(gap);
        const double estimate = (static_cast<double>(step) - 5) + gap / kRowsPerStep;
        agree = agree && (!error || std::abs(*error - estimate) <= 0.5);
        error = error.value_or(estimate);
        sum += estimate;
    }
    const double mean = sum / kSteps;
    const std::vector<size_t> order = LeastOffFirst(gaps);
    const size_t best = order[0];
    reading.ng = best == 0 || best == kSteps - 1;
    reading.value = reading.ng ? 0 : static_cast<int>(best) - 5;
    const int bestValue = static_cast<int>(best) - 5;
    if (!agree) {
        reading.note = "the steps do not agree on the feed";
    } else if (std::abs(gaps[order[1]]) == std::abs(gaps[best])) {
        const int second = static_cast<int>(order[1]) - 5;
        // Of the two, the one inside the page's choices is the one to print
        // with (an end step reads NG).
        const bool bestInside = !reading.ng;
        NotSure(reading, "two steps meet as well", 0, bestInside ? bestValue : second,
                bestInside ? second : bestValue);
    } else if (std::abs(gaps[best]) > 1 && !reading.ng) {
        const int way = mean > bestValue ? 1 : -1;
        NotSure(reading, "no step meets", 0, bestValue, bestValue + way);
    } else {
        reading.sure = true;
    }
    return {reading};
}

}  // namespace reader
