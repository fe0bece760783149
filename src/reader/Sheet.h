#pragma once

// The picture of a sheet brought to page dots (360 dpi) and the marks found
// on it: what every page reader measures on.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <opencv2/core.hpp>
#include <optional>
#include <string>
#include <vector>

#include "reader/PageReading.h"

namespace reader {

inline constexpr double kDotsPerInch = 360;
inline constexpr int kSheetDots = 2880;  // the printable width, 8 inches
// The largest picture taken as a sheet from its corner, in page dots: the
// longest paper the printer feeds, 44 inches, and across the widest, Letter's
// 8.5 inches, with the scanner glass's margins beyond (a scan on a white lid).
inline constexpr int kWidestSheetDots = 10 * 360;
inline constexpr int kLongestSheetDots = 44 * 360;

enum class Ink { Black, Cyan, Magenta, Yellow };

// A sheet in page dots: how much ink covers each dot, 0 (paper) to 255 (a
// large dot of any ink), and the picture's colours at the same scale.
struct Sheet {
    cv::Mat colour;        // CV_8UC3, BGR
    cv::Mat ink;           // CV_8UC1
    double pixelDots = 1;  // page dots one pixel of the picture spans: 1.2 at 300 dpi
    // The sheet's top left corner is the paper's: the scan showed the
    // paper's edges, or the picture is the printer's own (2880 dots across,
    // 8 inches at a stated resolution).
    // Else the picture's corner may be anywhere on the paper, and what is
    // measured from the paper's edges is not sure.
    bool edgesSeen = true;
    // A scan on a dark lid: the lid's dark may linger in the sheet's outer
    // rows.
    bool onDarkLid = false;
};

// Brings a picture to page dots. A scan that shows the paper's edges is
// turned upright and cut to the sheet; else the picture is taken as the
// sheet from its corner, and 0 dpiHint takes its width as the sheet's 8
// inches. Empty, with the problem, for a picture that is no sheet, or one
// that makes a sheet larger than any the printer takes.
std::optional<Sheet> MakeSheet(const cv::Mat& picture, double dpiHint, std::string& problem);

// A patch of ink taller or wider than a character: a mark of a pattern, a
// line, or a line of text (these are low).
struct Mark {
    cv::Rect box;  // the ink's own extent, in page dots
    Ink ink = Ink::Black;
    double cover = 0;  // mean cover of its inked dots, 0..1

    int CentreX() const { return box.x + box.width / 2; }
    int CentreY() const { return box.y + box.height / 2; }
};

std::vector<Mark> FindMarks(const Sheet& sheet);

// The box around the marks; empty for none.
inline cv::Rect Around(const std::vector<Mark>& marks) {
    cv::Rect box;
    for (const Mark& mark : marks) {
        box = box.empty() ? mark.box : (box | mark.box);
    }
    return box;
}
// Gives the readings without a place of their own the area.
inline void PlaceAt(std::vector<Reading>& readings, const cv::Rect& area) {
    for (Reading& reading : readings) {
        if (reading.area.empty()) {
            reading.area = area;
        }
    }
}

// Mean ink per column of rows [top, bottom) and columns [left, right), and
// per row of the same area; areas are clipped to the sheet.
std::vector<double> ColumnProfile(const Sheet& sheet, int left, int right, int top, int bottom);
std::vector<double> RowProfile(const Sheet& sheet, int left, int right, int top, int bottom);

// Where a profile first rises to half its peak, with the fraction between
// the two samples that cross it; nullopt when it holds no ink.
std::optional<double> RisingEdge(const std::vector<double>& profile);

// Runs of a profile at or above half its peak: [first, last] indices; runs
// parted by fewer than gap samples below it are joined, runs shorter than
// minLength left out.
struct Run {
    int first = 0;
    int last = 0;
};
std::vector<Run> Runs(const std::vector<double>& profile, int gap, int minLength);

// The indices of a page's choices, the one that is off least first (by the
// size of how far each is off; as they stand on the page among equals).
template <typename Off>
std::vector<size_t> LeastOffFirst(const std::vector<Off>& offs) {
    std::vector<size_t> order(offs.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return std::abs(offs[a]) < std::abs(offs[b]); });
    return order;
}

// A page whose choices stand in a row, evenly stepped, with an end choice
// (NG) at each end: the head angular marks, the PF steps. What the reader
// measured of the row, and the words the page's verdict is said in.
struct RowOfChoices {
    size_t count = 0;             // the choices, both ends among them
    int first = 0;                // the value of the first choice (an end)
    int step = 1;                 // from one choice's value to the next
    size_t best = 0;              // the choice off least
    size_t second = 0;            // the one off next least
    bool tie = false;             // the second as good as the best
    bool inPlace = false;         // the best in place
    int way = 0;                  // which way the value lies from the best's (+1, -1)
    const char* choice = "";      // "mark"
    const char* asGood = "";      // of two: "are as straight"
    const char* none = "";        // "no mark is straight"
    const char* endIs = "";       // of an end choice in place: "is straight"
    const char* beyond = "";      // what an end choice means: "the head is tilted beyond ..."
    const char* unfit = nullptr;  // why the row cannot be judged, when it cannot
};
// Sets the reading's value or NG and whether it is sure, with its note: an
// unfit row is not sure, with why; an end choice best is a sure verdict, not
// a value; two as good, or none in
// place, are not sure, with the way to go (an end choice never advised).
// These pages print the same whatever is stored: nothing says print again.
void JudgeRow(Reading& reading, const RowOfChoices& row);

// Ink-weighted mean column of a row of [left, right); nullopt without ink.
std::optional<double> InkCentre(const Sheet& sheet, int row, int left, int right);

// A Bi-D comb: how far its test comb stands off the place between the
// reference comb's bars, in dots (3 a step of the value).
std::optional<double> CombOffset(const Sheet& sheet, const Mark& comb);
// A vertical mark: its ink centre along rows [from, to), fitted by a line,
// at row at.
std::optional<double> FittedColumn(const Sheet& sheet, const Mark& mark, int from, int to, int at);
// Two blocks of a PF step: rows [first, last] of the first blocks, alone in
// columns [left, left + 144), and of the second blocks, alone at the right
// end, within rows [top, bottom). A picture turned by a little moves the
// right end's rows against the left end's: lean is how many rows, as the
// blocks' own level edges tell it (the first blocks' tops, the second
// blocks' feet, each at both its ends); level is false when the steps do not
// agree on it within a row.
struct PfSteps {
    std::vector<Run> firsts;
    std::vector<Run> seconds;
    double lean = 0;
    bool level = true;

    // The rows between a step's first block and its second (less than 0:
    // they overlap), the lean taken off.
    int Gap(size_t step) const {
        return seconds[step].first - firsts[step].last - 1 - static_cast<int>(std::lround(lean));
    }
};
// The note of PF readings whose steps do not agree on the lean.
inline constexpr const char* kPfNotLevel =
    "the blocks' edges are not level: the picture is turned and its turn could not be measured: "
    "scan it on a dark lid";
PfSteps FindPfSteps(const Sheet& sheet, const std::vector<Mark>& blocks);

// The reader of each page kind: the marks found, of the kind's layout.
std::vector<Reading> ReadBid(const Sheet& sheet, const std::vector<Mark>& combs);
std::vector<Reading> ReadHeadAngular(const Sheet& sheet, const std::vector<Mark>& marks);
// The head angular marks whose two bands a feed that is far off parted, each
// band found as a mark of its own, joined again: narrow marks, one under the
// other within a few rows. Empty when the marks hold no such pairs, or any
// other mark.
std::vector<Mark> JoinBands(const std::vector<Mark>& marks);
std::vector<Reading> ReadPf(const Sheet& sheet, const std::vector<Mark>& blocks, bool black);
std::vector<Reading> ReadTopMargin(const Sheet& sheet, const Mark& line);

}  // namespace reader
