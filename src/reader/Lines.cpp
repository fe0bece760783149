#include "reader/Lines.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>

namespace reader {

namespace {

constexpr int kInked = 48;  // a dot with this much ink is printed, blurred as it may be
constexpr int kLongLine = kSheetDots / 3;
constexpr int kLineRows = 8;  // a line is at most this high, blurred
// Rows from the sheet's top and foot that a soft scan's dark beyond the
// paper reaches (a blur of 2 pixels at 300 dpi).
constexpr int kEdgeShadowRows = 4;
// The edge line: a stroke this wide (a tilted head spreads its dots over a
// few columns), at least this many rows long (a head tilted left loses its
// lower dots past the paper's edge; a character is lower).
constexpr int kEdgeColumns = 5;
constexpr int kEdgeRows = 40;
constexpr int kEdgeRowsMost = 600;  // longer is no line of the nozzles' dots
constexpr float kStrokeInk = 6;     // a stroke's ink over its column's
constexpr int kFirstRows = 6;       // the line's top rows, printed by the first nozzles
constexpr int kSlantColumns = 10;   // the columns a slanted line may cross
constexpr int kDotSpread = 2;       // columns each side that a blurred dot reaches
constexpr int kLineGap = 12;        // blank rows between the dots of a line

std::vector<int> Counts(const cv::Mat& inked, int dimension) {
    cv::Mat sums;
    cv::reduce(inked, sums, dimension, cv::REDUCE_SUM, CV_32S);
    return std::vector<int>(sums.begin<int>(), sums.end<int>());
}

// A printed line, not a row of characters (a line of text whose letters
// stand on one row): ink in nearly every column from its first to its last,
// within a few rows of it (a bent line is a line, and not sure).
bool Unbroken(const cv::Mat& inked, const cv::Rect& box) {
    constexpr double kInkedColumns = 0.85;
    const cv::Rect around = cv::Rect(box.x, box.y - kLineRows, box.width,
                                     box.height + 2 * kLineRows) &
                            cv::Rect(0, 0, inked.cols, inked.rows);
    cv::Mat any;
    cv::reduce(inked(around), any, 0, cv::REDUCE_MAX);
    return cv::countNonZero(any) >= kInkedColumns * box.width;
}

// A line down, not a stack of dashes across (the nozzle check): its ink
// stays within a stroke's width on most rows.
bool Thin(const cv::Mat& inked, int x, Run rows) {
    int inkedRows = 0;
    int wideRows = 0;
    for (int y = rows.first; y <= rows.last; ++y) {
        const uint8_t* line = inked.ptr<uint8_t>(y);
        const int end = std::min(x + kSlantColumns, inked.cols);
        int at = x;
        while (at < end && line[at] == 0) {
            ++at;
        }
        if (at == end) {
            continue;
        }
        int width = 0;
        while (at + width < inked.cols && line[at + width] != 0) {
            ++width;
        }
        ++inkedRows;
        wideRows += width > kSlantColumns ? 1 : 0;
    }
    return wideRows * 4 < inkedRows;
}

// The ink centre of a row of dots around its darkest one, in its indices.
std::optional<double> Centre(const std::vector<double>& inks) {
    if (inks.empty()) {
        return std::nullopt;
    }
    const int peak = static_cast<int>(std::max_element(inks.begin(), inks.end()) - inks.begin());
    double total = 0;
    double moment = 0;
    for (int at = std::max(peak - kDotSpread, 0);
         at <= std::min(peak + kDotSpread, static_cast<int>(inks.size()) - 1); ++at) {
        total += inks[static_cast<size_t>(at)];
        moment += inks[static_cast<size_t>(at)] * at;
    }
    if (total <= 0) {
        return std::nullopt;
    }
    return moment / total;
}

// How far the ink centres of the line's rows [top, bottom), in the columns
// from on above their grounds, stand off the straight line fitted through
// them: rows between two nozzles' dots, with less than half the ink of the
// fullest row, are left out.
double Spread(const Sheet& sheet, int from, const std::vector<double>& grounds, int top,
              int bottom) {
    struct Dot {
        double row;
        double column;
        double ink;
    };
    std::vector<Dot> dots;
    std::vector<double> inks(grounds.size());
    for (int row = std::max(top, 0); row < std::min(bottom, sheet.ink.rows); ++row) {
        const uint8_t* line = sheet.ink.ptr<uint8_t>(row);
        for (size_t at = 0; at < grounds.size(); ++at) {
            inks[at] = std::max(line[from + static_cast<int>(at)] - grounds[at], 0.0);
        }
        if (const auto centre = Centre(inks)) {
            double ink = 0;
            for (const double dot : inks) {
                ink += dot;
            }
            dots.push_back({static_cast<double>(row), *centre, ink});
        }
    }
    double fullest = 0;
    for (const Dot& dot : dots) {
        fullest = std::max(fullest, dot.ink);
    }
    std::erase_if(dots, [&](const Dot& dot) { return dot.ink * 2 < fullest; });
    if (dots.size() < 3) {
        return 0;
    }
    std::vector<cv::Point2d> points;  // row, column
    points.reserve(dots.size());
    for (const Dot& dot : dots) {
        points.emplace_back(dot.row, dot.column);
    }
    const auto fit = FitStraight(points);
    return fit ? fit->spread : 0;
}

// A soft scan's blur draws the lid's dark beyond the paper's top and foot
// into the sheet's outer rows, across its whole width, fading inward: rows
// [first, last] at an edge whose ink never rises going inward are that, no
// line. A line printed near the edge rises above the fading dark.
bool EdgeShadow(const Sheet& sheet, int first, int last) {
    constexpr int kRise = 12;  // levels of ink a line adds over the fading dark
    const int rows = sheet.ink.rows;
    const bool top = first <= kEdgeShadowRows;
    const bool foot = last >= rows - 1 - kEdgeShadowRows;
    if (!sheet.onDarkLid || (!top && !foot)) {
        return false;
    }
    const int span = top ? last + kLineRows : rows - first + kLineRows;
    std::vector<double> inward =
        RowProfile(sheet, 0, sheet.ink.cols, top ? 0 : rows - span, top ? span : rows);
    if (!top) {
        std::reverse(inward.begin(), inward.end());
    }
    // The outermost row is lifted to the paper's light (Straightened); the
    // dark fades from the next one in.
    for (size_t at = 2; at < inward.size(); ++at) {
        if (inward[at] > inward[at - 1] + kRise) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<StraightFit> FitStraight(const std::vector<cv::Point2d>& points) {
    if (points.size() < 3) {
        return std::nullopt;
    }
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const cv::Point2d& p : points) {
        n += 1;
        sx += p.x;
        sy += p.y;
        sxx += p.x * p.x;
        sxy += p.x * p.y;
    }
    const double det = n * sxx - sx * sx;
    if (det <= 0) {
        return std::nullopt;
    }
    StraightFit fit;
    fit.slope = (n * sxy - sx * sy) / det;
    fit.offset = (sy - fit.slope * sx) / n;
    double squares = 0;
    for (const cv::Point2d& p : points) {
        const double off = p.y - fit.offset - fit.slope * p.x;
        squares += off * off;
    }
    fit.spread = std::sqrt(squares / n);
    return fit;
}

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
        if (last - row + 1 <= kLineRows && !EdgeShadow(sheet, row, last)) {
            const uint8_t* line = inked.ptr<uint8_t>(row + (last - row) / 2);
            const uint8_t* end = line + inked.cols;
            const auto from = std::find(line, end, 1);
            const auto to =
                std::find(std::make_reverse_iterator(end), std::make_reverse_iterator(line), 1);
            Mark mark;
            mark.box = cv::Rect(static_cast<int>(from - line), row,
                                static_cast<int>(to.base() - from), last - row + 1);
            if (Unbroken(inked, mark.box)) {
                lines.push_back(mark);
            }
        }
        row = last + 1;
    }
    return lines;
}

std::optional<EdgeLine> FindEdgeLine(const Sheet& sheet, int top, int bottom) {
    const cv::Rect area = cv::Rect(0, top, sheet.ink.cols, bottom - top) &
                          cv::Rect(0, 0, sheet.ink.cols, sheet.ink.rows);
    if (area.height < 2 * kEdgeRows) {
        return std::nullopt;
    }
    // The line's dots, blurred and faint in a coarse scan, merge into a
    // stroke; what each column holds all down (a scan's dark at the sheet's
    // edge) is left out.
    cv::Mat stroke;
    cv::boxFilter(sheet.ink(area), stroke, CV_32F, cv::Size(kEdgeColumns, kEdgeColumns));
    std::vector<float> column;
    cv::Mat inked(stroke.size(), CV_8U);
    for (int x = 0; x < stroke.cols; ++x) {
        const cv::Mat dots = stroke.col(x);
        column.assign(dots.begin<float>(), dots.end<float>());
        const auto middle = column.begin() + static_cast<long>(column.size() / 2);
        std::nth_element(column.begin(), middle, column.end());
        const float ground = *middle;
        for (int y = 0; y < stroke.rows; ++y) {
            inked.at<uint8_t>(y, x) = stroke.at<float>(y, x) - ground > kStrokeInk ? 1 : 0;
        }
    }
    for (int x = 0; x < inked.cols; ++x) {
        // The longest stretch of ink down the stroke, over gaps between its
        // dots; a tilted head slants the line over a few columns more.
        const cv::Rect slant(x, 0, std::min(kSlantColumns, inked.cols - x), inked.rows);
        cv::Mat any;
        cv::reduce(inked(slant), any, 1, cv::REDUCE_MAX);
        Run longest{0, -1};
        Run run{0, -2 * kLineGap};
        for (int y = 0; y < any.rows; ++y) {
            if (any.at<uint8_t>(y) == 0) {
                continue;
            }
            if (y - run.last > kLineGap) {
                run.first = y;
            }
            run.last = y;
            if (run.last - run.first > longest.last - longest.first) {
                longest = run;
            }
        }
        const int length = longest.last - longest.first + 1;
        if (length < kEdgeRows || length > kEdgeRowsMost ||
            cv::countNonZero(inked.col(x)) < kEdgeRows / 2 || !Thin(inked, x, longest)) {
            continue;
        }
        // The first nozzle's dots, at the line's top: a tilted head moves the
        // others across. Their centre over the stroke's width, above what
        // each column holds all down.
        const int first = area.y + longest.first + kEdgeColumns / 2;
        const int from = std::max(x - kEdgeColumns, 0);
        const int to = std::min(x + kSlantColumns + kEdgeColumns, sheet.ink.cols);
        std::vector<double> inks;
        std::vector<double> grounds;
        for (int at = from; at < to; ++at) {
            const auto head = RowProfile(sheet, at, at + 1, first, first + kFirstRows);
            std::vector<double> all = RowProfile(sheet, at, at + 1, area.y, area.y + area.height);
            const auto middle = all.begin() + static_cast<long>(all.size() / 2);
            std::nth_element(all.begin(), middle, all.end());
            grounds.push_back(*middle);
            double ink = 0;
            for (const double dot : head) {
                ink += std::max(dot - *middle, 0.0);
            }
            inks.push_back(ink);
        }
        // Around the darkest column only: a scan's specks aside.
        const auto centre = Centre(inks);
        if (!centre) {
            continue;
        }
        const int lineTop = area.y + longest.first;
        return EdgeLine{from + *centre, lineTop, length,
                        Spread(sheet, from, grounds, lineTop, lineTop + length)};
    }
    return std::nullopt;
}

}  // namespace reader
