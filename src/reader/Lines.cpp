#include "reader/Lines.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>

namespace reader {

namespace {

constexpr int kInked = 48;  // a dot with this much ink is printed, blurred as it may be
constexpr int kLongLine = kSheetDots / 3;
constexpr int kLineRows = 8;  // a line is at most this high, blurred
// The edge line: at least this many dots over this many rows (a head tilted
// left loses its lower dots past the paper's edge), spread over a few columns
// by a tilted head; a character is lower.
constexpr int kEdgeDots = 12;
constexpr int kEdgeColumns = 6;
constexpr int kEdgeRows = 40;
constexpr int kLineGap = 12;  // blank rows between the dots of a line

std::vector<int> Counts(const cv::Mat& inked, int dimension) {
    cv::Mat sums;
    cv::reduce(inked, sums, dimension, cv::REDUCE_SUM, CV_32S);
    return std::vector<int>(sums.begin<int>(), sums.end<int>());
}

}  // namespace

std::vector<Mark> FindLongLines(const Sheet& sheet) {
    cv::Mat inked;
    cv::threshold(sheet.ink, inked, kInked, 1, cv::THRESH_BINARY);
    const std::vector<int> counts = Counts(inked, 1);
    std::vector<Mark> lines;
    for (int row = 0; row < static_cast<int>(counts.size());) {
        if (counts[static_cast<size_t>(row)] < kLongLine) {
            ++row;
            continue;
        }
        int last = row;
        while (last + 1 < static_cast<int>(counts.size()) &&
               counts[static_cast<size_t>(last + 1)] >= kLongLine) {
            ++last;
        }
        if (last - row + 1 <= kLineRows) {
            const uint8_t* line = inked.ptr<uint8_t>(row + (last - row) / 2);
            const uint8_t* end = line + inked.cols;
            const auto from = std::find(line, end, 1);
            const auto to =
                std::find(std::make_reverse_iterator(end), std::make_reverse_iterator(line), 1);
            Mark mark;
            mark.box = cv::Rect(static_cast<int>(from - line), row,
                                static_cast<int>(to.base() - from), last - row + 1);
            lines.push_back(mark);
        }
        row = last + 1;
    }
    return lines;
}

std::optional<Mark> FindEdgeLine(const Sheet& sheet, int top, int bottom) {
    const cv::Rect area = cv::Rect(0, top, sheet.ink.cols, bottom - top) &
                          cv::Rect(0, 0, sheet.ink.cols, sheet.ink.rows);
    if (area.empty()) {
        return std::nullopt;
    }
    cv::Mat inked;
    cv::threshold(sheet.ink(area), inked, kInked, 1, cv::THRESH_BINARY);
    const std::vector<int> counts = Counts(inked, 0);
    // A tilted head spreads the line's dots over a few columns.
    int window = 0;
    for (int column = 0; column < static_cast<int>(counts.size()); ++column) {
        window += counts[static_cast<size_t>(column)];
        if (column >= kEdgeColumns) {
            window -= counts[static_cast<size_t>(column - kEdgeColumns)];
        }
        if (window < kEdgeDots) {
            continue;
        }
        const int left = std::max(column - kEdgeColumns + 1, 0);
        const auto runs =
            Runs(RowProfile(sheet, left, column + 1, area.y, area.y + area.height), kLineGap, 1);
        const auto longest = std::max_element(runs.begin(), runs.end(), [](Run a, Run b) {
            return a.last - a.first < b.last - b.first;
        });
        if (longest == runs.end() || longest->last - longest->first < kEdgeRows) {
            continue;
        }
        // The first nozzle's dot, at the line's top: a tilted head moves the
        // others across.
        const int first = area.y + longest->first;
        const auto at = InkCentre(sheet, first, left - 2, column + kEdgeColumns);
        Mark mark;
        mark.box = cv::Rect(static_cast<int>(std::lround(at.value_or(left))), first, 1,
                            longest->last - longest->first + 1);
        return mark;
    }
    return std::nullopt;
}

}  // namespace reader
