#include "reader/Orientation.h"

#include <opencv2/core.hpp>
#include <optional>
#include <utility>

namespace reader {

namespace {

constexpr int kBorder = 16;    // dots along the sheet's edges, where a scan's dark may linger
constexpr int kInked = 64;     // a dot with this much ink is printed
constexpr int kInkedDots = 3;  // a row with fewer inked dots holds no print, specks aside
// Every check page's first print stands within this many rows of the sheet's
// top, a top margin set as far down as it goes included (the printer's top
// margin and the rows the patterns leave blank above their first dots); the
// lowest page ends further than this above the sheet's foot.
constexpr int kNearEnd = 360;
constexpr int kWideDots = 300;   // a PF block
constexpr int kNarrowDots = 40;  // a head angular mark
constexpr int kTallRows = 200;

// The first and the last row that hold print, or nothing on a blank sheet.
std::optional<std::pair<int, int>> PrintedRows(const Sheet& sheet) {
    const cv::Rect inside(kBorder, kBorder, sheet.ink.cols - 2 * kBorder,
                          sheet.ink.rows - 2 * kBorder);
    if (inside.width <= 0 || inside.height <= 0) {
        return std::nullopt;
    }
    cv::Mat counts;
    cv::reduce(sheet.ink(inside) > kInked, counts, 1, cv::REDUCE_SUM, CV_32S);
    std::optional<std::pair<int, int>> rows;
    for (int row = 0; row < counts.rows; ++row) {
        if (counts.at<int>(row) < kInkedDots * 255) {
            continue;
        }
        if (!rows) {
            rows = std::pair(row + kBorder, row + kBorder);
        }
        rows->second = row + kBorder;
    }
    return rows;
}

// The photo-paper sheet's first page reaches near both ends of the sheet,
// and the sheet it is printed on may be longer than its page: its head
// angular marks (narrow and tall) lead at the top, its PF blocks (wide)
// close at the foot. Empty for a page without both.
std::optional<bool> BlocksAboveMarks(const Sheet& sheet) {
    double narrow = 0;
    double wide = 0;
    int narrows = 0;
    int wides = 0;
    for (const Mark& mark : FindMarks(sheet)) {
        if (mark.box.width >= kWideDots) {
            wide += mark.CentreY();
            ++wides;
        } else if (mark.box.width <= kNarrowDots && mark.box.height >= kTallRows) {
            narrow += mark.CentreY();
            ++narrows;
        }
    }
    if (narrows == 0 || wides == 0) {
        return std::nullopt;
    }
    return narrow / narrows > wide / wides;
}

}  // namespace

void TurnUpright(Sheet& sheet) {
    const auto rows = PrintedRows(sheet);
    if (!rows) {
        return;
    }
    const bool fromTop = rows->first <= kNearEnd;
    const bool toFoot = sheet.ink.rows - 1 - rows->second <= kNearEnd;
    if (!BlocksAboveMarks(sheet).value_or(!fromTop && toFoot)) {
        return;
    }
    cv::Mat colour;
    cv::Mat ink;
    cv::rotate(sheet.colour, colour, cv::ROTATE_180);
    cv::rotate(sheet.ink, ink, cv::ROTATE_180);
    sheet.colour = colour;
    sheet.ink = ink;
}

}  // namespace reader
