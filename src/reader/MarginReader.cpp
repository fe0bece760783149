// The top margin and first dot pages, and the photo-paper sheet's second
// page: lines printed by the first nozzle at the top margin (row 42 of the
// sheet) and by one dot of each nozzle at the left edge. The mechanism moves
// them down one row a unit of the top margin and right three dots a unit of
// the first dot.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "reader/Lines.h"
#include "reader/Sheet.h"

namespace reader {

namespace {

constexpr double kTopRow = 42;
constexpr double kRowsPerUnit = 1;
constexpr double kDotsPerUnit = 3;
constexpr std::array<int, 3> kTopChoices = {-40, 0, 40};
constexpr double kTopTolerance = 10;  // rows from a choice still read as it
// Of a unit the line may stand off a whole one where each unit is a value
// of its own (the photo-paper sheet's top margin): half would be between two.
constexpr double kRowTolerance = 0.3;
// Rows the ink centres of a long line's stretches may stand off a straight
// line through them (root mean square): more, and the line is bent, smudged
// or not one line.
constexpr double kRowSpreadMost = 0.25;
constexpr int kLineRows = 6;      // rows each side of a line that its blur may reach
constexpr int kStretchDots = 64;  // the stretches of a long line measured one by one

struct LineRowFit {
    double row = 0;     // at the middle of the stretch measured
    double spread = 0;  // rows, root mean square off the fitted line
};

// The ink centre of a stretch of a long line down rows [top, bottom).
std::optional<double> RowCentre(const Sheet& sheet, int left, int right, int top, int bottom) {
    const auto rows = RowProfile(sheet, left, right, top, bottom);
    double total = 0;
    double moment = 0;
    for (size_t at = 0; at < rows.size(); ++at) {
        total += rows[at];
        moment += rows[at] * static_cast<double>(at);
    }
    if (total <= 0) {
        return std::nullopt;
    }
    return std::max(top, 0) + moment / total;
}

// The row of a long line: the middle of its ink down the line's right half,
// clear of the edge line (a blurred line spreads over rows either way),
// fitted by a straight line through the ink centres of its stretches, which
// tells how well they agree.
std::optional<LineRowFit> LineRow(const Sheet& sheet, const Mark& line) {
    const int top = line.box.y - kLineRows;
    const int bottom = line.box.y + line.box.height + kLineRows;
    const int left = line.box.x + line.box.width / 2;
    const int right = line.box.x + line.box.width - 8;
    std::vector<cv::Point2d> centres;  // column, row
    for (int from = left; from + kStretchDots <= right; from += kStretchDots) {
        if (const auto row = RowCentre(sheet, from, from + kStretchDots, top, bottom)) {
            centres.emplace_back(from + kStretchDots / 2.0, *row);
        }
    }
    const auto fit = FitStraight(centres);
    if (!fit) {
        return std::nullopt;
    }
    return LineRowFit{fit->offset + fit->slope * (left + right) / 2.0, fit->spread};
}

// How far the measure of a line's column may be off, in dots: a pixel of the
// picture spans pixelDots of them; the spread of the line's rows, over the few
// rows its first dots are measured on, adds.
double ColumnUncertainty(double pixelDots, double spread) {
    return std::max(0.5, 0.5 * pixelDots) + spread;
}

// A line's column, in whole units of three dots: sure only where no column
// within the measure's uncertainty lies nearer another value.
Reading Column(const std::string& name, double column, double uncertainty) {
    Reading reading;
    reading.name = name;
    reading.value = static_cast<int>(std::lround(column / kDotsPerUnit));
    if (std::abs(column - kDotsPerUnit * reading.value) + uncertainty > kDotsPerUnit / 2) {
        const int way = column > kDotsPerUnit * reading.value ? 1 : -1;
        NotSure(reading, "the line stands between two values", 0, reading.value,
                reading.value + way);
    } else {
        reading.sure = true;
    }
    return reading;
}

// The column of a long line's last dot, to a fraction of a dot: where its
// ink falls to half, counted from the right.
std::optional<double> LineEnd(const Sheet& sheet, const Mark& line) {
    const int from = line.box.x + line.box.width - kStretchDots;
    auto columns = ColumnProfile(sheet, from, from + 2 * kStretchDots, line.box.y - kLineRows,
                                 line.box.y + line.box.height + kLineRows);
    std::reverse(columns.begin(), columns.end());
    const auto edge = RisingEdge(columns);
    if (!edge) {
        return std::nullopt;
    }
    return from + static_cast<double>(columns.size()) - 1 - *edge;
}

std::string Step(long steps) {
    return steps == 0 ? "X" : (steps > 0 ? "X+" : "X-") + std::to_string(std::labs(steps));
}

}  // namespace

std::vector<Reading> ReadTopMargin(const Sheet& sheet, const Mark& line) {
    Reading reading;
    reading.name = "top-margin";
    const auto fit = LineRow(sheet, line);
    if (!fit) {
        reading.note = "the top margin line could not be measured";
        return {reading};
    }
    const double units = (fit->row - kTopRow) / kRowsPerUnit;
    const int nearest =
        *std::min_element(kTopChoices.begin(), kTopChoices.end(),
                          [&](int a, int b) { return std::abs(units - a) < std::abs(units - b); });
    reading.value = nearest;
    if (std::abs(units - nearest) > kTopTolerance) {
        const int way = units > nearest ? 1 : -1;
        const int other = nearest + way * (kTopChoices[1] - kTopChoices[0]);
        if (other >= kTopChoices.front() && other <= kTopChoices.back()) {
            NotSure(reading, "the line lands between the page's choices", 0, nearest, other);
        } else {
            NotSure(reading, "the line lands beyond the page's choices", way, nearest);
        }
    } else if (fit->spread > kRowSpreadMost) {
        reading.note = "the top margin line is not straight";
    } else {
        reading.sure = true;
    }
    return {reading};
}

std::vector<Reading> ReadFirstDot(const Sheet& sheet, const EdgeLine& line) {
    // A line further right than a value can bring back is read all the
    // same: with the value stored when it was printed added (ApplyStored),
    // the value to write may be one that can be written.
    Reading reading =
        Column("first-dot", line.column, ColumnUncertainty(sheet.pixelDots, line.spread));
    return {reading};
}

std::vector<Reading> ReadPhotoSheetSecond(const Sheet& sheet, const std::vector<Mark>& lines) {
    Reading top;
    top.name = "top-margin";
    const Mark& line = lines.front();
    if (const auto fit = LineRow(sheet, line)) {
        const double units = (fit->row - kTopRow) / kRowsPerUnit;
        top.value = static_cast<int>(std::lround(units));
        top.best = Step(top.value);
        top.step = top.value;
        if (std::abs(units - top.value) > kRowTolerance) {
            NotSure(top, "the line stands between two values", 0, top.value,
                    top.value + (units > top.value ? 1 : -1));
        } else if (fit->spread > kRowSpreadMost) {
            top.note = "the top margin line is not straight";
        } else {
            top.sure = true;
        }
    } else {
        top.note = "the top margin line could not be measured";
    }
    // The line reaches the sheet's right edge unless the page landed left of
    // the paper's edge: then its end tells how far; else the edge line stands
    // where the first dot is.
    const int right = line.box.x + line.box.width;
    Reading first;
    if (right < sheet.ink.cols - 1) {
        const auto end = LineEnd(sheet, line);
        if (!end) {
            first.name = "first-dot";
            first.note = "the end of the top margin line could not be measured";
            return {top, first};
        }
        first =
            Column("first-dot", *end + 1 - sheet.ink.cols, ColumnUncertainty(sheet.pixelDots, 0));
    } else if (const auto edge =
                   FindEdgeLine(sheet, line.box.y + line.box.height + 1, line.box.y + 400)) {
        first = Column("first-dot", edge->column, ColumnUncertainty(sheet.pixelDots, edge->spread));
    } else {
        first.name = "first-dot";
        first.note = "the edge line was not found";
        return {top, first};
    }
    first.best = Step(first.value);
    first.step = first.value;
    return {top, first};
}

}  // namespace reader
