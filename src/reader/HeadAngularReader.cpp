// The head angular page: five vertical marks, each printed in two bands one
// above the other, the lower band stepped across against the upper one by
// -6, -3, 0, 3 and 6 units of the tilt. A tilted head slants each band; the
// mark whose step matches the tilt goes on straight where the bands meet.
// The marks read "NG", -3, 0, 3, "NG".
#include <algorithm>
#include <cmath>
#include <optional>

#include "reader/Sheet.h"

namespace reader {

namespace {

constexpr int kBandRows = 270;  // 90 nozzles at 3 rows
// Rows of a band fitted, counted from its far end, clear of where a feed
// that is off lets the bands overlap (two rows a unit of the feed, 15 units).
constexpr int kFitFrom = 160;
constexpr int kFitTo = 240;
constexpr double kStraight = 1;  // dots a straight mark may bend
constexpr int kMarks = 5;

}  // namespace

std::vector<Mark> JoinBands(const std::vector<Mark>& marks) {
    constexpr int kNarrow = 40;
    constexpr int kBandLeast = 200;  // rows of a band, its ends faint as they may be
    constexpr int kApartMost = 64;   // rows between the bands: a feed 15 units off, or more
    constexpr int kAcross = 24;      // dots the lower band may stand across: a tilt and a step
    if (marks.size() != 2 * kMarks) {
        return {};
    }
    for (const Mark& mark : marks) {
        if (mark.box.width > kNarrow || mark.box.height < kBandLeast) {
            return {};
        }
    }
    std::vector<Mark> byRow = marks;
    std::sort(byRow.begin(), byRow.end(),
              [](const Mark& a, const Mark& b) { return a.box.y < b.box.y; });
    std::vector<Mark> joined;
    std::vector<bool> used(byRow.size(), false);
    for (size_t at = 0; at < byRow.size(); ++at) {
        if (used[at]) {
            continue;
        }
        const Mark& top = byRow[at];
        for (size_t below = at + 1; below < byRow.size(); ++below) {
            const Mark& bottom = byRow[below];
            const int apart = bottom.box.y - (top.box.y + top.box.height);
            if (!used[below] && apart >= 0 && apart <= kApartMost &&
                std::abs(bottom.CentreX() - top.CentreX()) <= kAcross) {
                Mark mark = top;
                mark.box |= bottom.box;
                joined.push_back(mark);
                used[at] = used[below] = true;
                break;
            }
        }
        if (!used[at]) {
            return {};
        }
    }
    return joined;
}

std::optional<double> FittedColumn(const Sheet& sheet, const Mark& mark, int from, int to, int at) {
    double n = 0, sy = 0, sx = 0, syy = 0, sxy = 0;
    for (int row = from; row < to; ++row) {
        const auto x = InkCentre(sheet, row, mark.box.x - 6, mark.box.x + mark.box.width + 6);
        if (!x) {
            continue;
        }
        n += 1;
        sy += row;
        sx += *x;
        syy += static_cast<double>(row) * row;
        sxy += row * *x;
    }
    if (n < (to - from) / 2.0) {
        return std::nullopt;
    }
    const double slope = (n * sxy - sy * sx) / (n * syy - sy * sy);
    return (sx - slope * sy) / n + slope * at;
}

std::vector<Reading> ReadHeadAngular(const Sheet& sheet, const std::vector<Mark>& marks) {
    Reading reading;
    reading.name = "head-angular";
    if (marks.size() != kMarks) {
        reading.note = "the page does not hold five marks";
        return {reading};
    }
    std::vector<Mark> row = marks;
    std::sort(row.begin(), row.end(),
              [](const Mark& a, const Mark& b) { return a.box.x < b.box.x; });
    std::vector<double> bends;
    for (const Mark& mark : row) {
        const int top = mark.box.y;
        const int bottom = mark.box.y + mark.box.height;  // one past the last row
        // The upper band's last row and the lower band's first.
        const int upperLast = top + kBandRows - 1;
        const int lowerFirst = bottom - kBandRows;
        const auto upper = FittedColumn(sheet, mark, top + kFitFrom, top + kFitTo, upperLast);
        const auto lower =
            FittedColumn(sheet, mark, bottom - kFitTo, bottom - kFitFrom, lowerFirst);
        if (!upper || !lower) {
            reading.note = "a mark could not be measured";
            return {reading};
        }
        bends.push_back(*lower - *upper);
    }
    // Mark s is stepped 3 s - 6: each mark tells the tilt.
    std::optional<long> tilt;
    bool agree = true;
    double sum = 0;
    for (int s = 0; s < kMarks; ++s) {
        const double exact = (3 * s - 6) - bends[static_cast<size_t>(s)];
        const long estimate = std::lround(exact);
        agree = agree && (!tilt || std::abs(*tilt - estimate) <= 1);
        tilt = tilt.value_or(estimate);
        sum += exact;
    }
    const double mean = sum / kMarks;
    const std::vector<size_t> order = LeastOffFirst(bends);
    const size_t best = order[0];
    const RowOfChoices choices{
        .count = kMarks,
        .first = -6,
        .step = 3,
        .best = best,
        .second = order[1],
        .tie = std::abs(bends[order[1]]) - std::abs(bends[best]) < kStraight,
        .inPlace = std::abs(bends[best]) <= kStraight,
        .way = mean > 3 * static_cast<double>(best) - 6 ? 1 : -1,
        .choice = "mark",
        .asGood = "are as straight",
        .none = "no mark is straight",
        .endIs = "is straight",
        .beyond = "the head is tilted beyond what -3, 0 or 3 corrects",
        .unfit = agree ? nullptr : "the marks do not agree on the head's tilt",
    };
    JudgeRow(reading, choices);
    return {reading};
}

}  // namespace reader
