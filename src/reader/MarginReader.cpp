// The top margin and first dot pages, and the photo-paper sheet's second
// page: lines printed by the first nozzle at the top margin (row 42 of the
// sheet) and by one dot of each nozzle at the left edge. The mechanism moves
// them down one row a unit of the top margin and right three dots a unit of
// the first dot.
#include <algorithm>
#include <array>
#include <cmath>

#include "reader/Lines.h"
#include "reader/Sheet.h"

namespace reader {

namespace {

constexpr double kTopRow = 42;
constexpr double kRowsPerUnit = 1;
constexpr double kDotsPerUnit = 3;
constexpr std::array<int, 3> kTopChoices = {-40, 0, 40};
constexpr double kTopTolerance = 10;  // rows from a choice still read as it
constexpr double kDotTolerance = 1;   // dots from a whole unit
constexpr int kFirstDotHighest = 127;
constexpr int kLineRows = 6;  // rows each side of a line that its blur may reach

// The row of a long line: the middle of its ink down the line's right half,
// clear of the edge line (a blurred line spreads over rows either way).
std::optional<double> LineRow(const Sheet& sheet, const Mark& line) {
    const int top = std::max(line.box.y - kLineRows, 0);
    const auto rows =
        RowProfile(sheet, line.box.x + line.box.width / 2, line.box.x + line.box.width - 8, top,
                   line.box.y + line.box.height + kLineRows);
    double total = 0;
    double moment = 0;
    for (size_t at = 0; at < rows.size(); ++at) {
        total += rows[at];
        moment += rows[at] * static_cast<double>(at);
    }
    if (total <= 0) {
        return std::nullopt;
    }
    return top + moment / total;
}

std::string Step(long steps) {
    return steps == 0 ? "X" : (steps > 0 ? "X+" : "X-") + std::to_string(std::labs(steps));
}

}  // namespace

std::vector<Reading> ReadTopMargin(const Sheet& sheet, const Mark& line) {
    Reading reading;
    reading.name = "top-margin";
    const auto row = LineRow(sheet, line);
    if (!row) {
        reading.note = "the top margin line could not be measured";
        return {reading};
    }
    const double units = (*row - kTopRow) / kRowsPerUnit;
    const int nearest =
        *std::min_element(kTopChoices.begin(), kTopChoices.end(),
                          [&](int a, int b) { return std::abs(units - a) < std::abs(units - b); });
    reading.value = nearest;
    if (std::abs(units - nearest) > kTopTolerance) {
        reading.note = "the line lands between the page's choices";
    } else {
        reading.sure = true;
    }
    return {reading};
}

std::vector<Reading> ReadFirstDot(double lineColumn) {
    Reading reading;
    reading.name = "first-dot";
    reading.value = static_cast<int>(std::lround(lineColumn / kDotsPerUnit));
    if (std::abs(lineColumn - kDotsPerUnit * reading.value) > kDotTolerance) {
        reading.note = "the line stands between two values";
    } else if (reading.value > kFirstDotHighest) {
        reading.note = "the line stands further right than a value can bring back";
    } else {
        reading.sure = true;
    }
    return {reading};
}

std::vector<Reading> ReadPhotoSheetSecond(const Sheet& sheet, const std::vector<Mark>& lines) {
    Reading top;
    top.name = "top-margin";
    Reading first;
    first.name = "first-dot";
    const Mark& line = lines.front();
    if (const auto row = LineRow(sheet, line)) {
        top.value = static_cast<int>(std::lround((*row - kTopRow) / kRowsPerUnit));
        top.best = Step(top.value);
        top.sure = std::abs(*row - kTopRow - top.value * kRowsPerUnit) <= 0.5;
    }
    // The line reaches the sheet's right edge unless the page landed left of
    // the paper's edge; else the edge line stands where the first dot is.
    const int right = line.box.x + line.box.width;
    double across = 0;
    if (right < sheet.ink.cols - 1) {
        across = right - sheet.ink.cols;
    } else if (const auto edge =
                   FindEdgeLine(sheet, line.box.y + line.box.height + 1, line.box.y + 400)) {
        across = edge->column;
    } else {
        first.note = "the edge line was not found";
        return {top, first};
    }
    first.value = static_cast<int>(std::lround(across / kDotsPerUnit));
    first.best = Step(first.value);
    first.sure = std::abs(across - kDotsPerUnit * first.value) <= kDotTolerance;
    return {top, first};
}

}  // namespace reader
