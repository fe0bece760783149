#pragma once

// Lines one dot thin, which the search for marks passes over: the long lines
// of the top margin pages and the dotted edge line of the first dot pages.
#include <optional>
#include <vector>

#include "reader/Sheet.h"

namespace reader {

// Lines across at least a third of the sheet and a few rows high, top down.
std::vector<Mark> FindLongLines(const Sheet& sheet);
// The dotted line of the first dot pages: where its first nozzle's dot
// stands across, to a fraction of a dot, and the rows it spans; spread: how
// far its rows' ink centres stand off a straight line through them (root
// mean square, dots), which a soft or noisy picture widens.
struct EdgeLine {
    double column = 0;
    int top = 0;
    int rows = 0;
    double spread = 0;
};
// The leftmost line down rows [top, bottom) that is longer than a character
// is high; nullopt without one.
std::optional<EdgeLine> FindEdgeLine(const Sheet& sheet, int top, int bottom);

// The least-squares line y = offset + slope * x through the points, and how
// far they stand off it (root mean square); nullopt for fewer than 3 points
// or all at one x.
struct StraightFit {
    double offset = 0;
    double slope = 0;
    double spread = 0;
};
std::optional<StraightFit> FitStraight(const std::vector<cv::Point2d>& points);

std::vector<Reading> ReadFirstDot(const Sheet& sheet, const EdgeLine& line);
std::vector<Reading> ReadPhotoSheetSecond(const Sheet& sheet, const std::vector<Mark>& lines);

}  // namespace reader
