// The Bi-D page: five combs in a cross, each a reference comb of three bars
// printed left to right and a test comb of two bars printed on the way back
// at a test value, which falls into the reference comb's gaps only where the
// test value is the printer's error. The cross holds the stored value v in
// the middle, v - 1 above, v + 1 below, v - 2 left and v + 2 right.
#include <algorithm>
#include <cmath>
#include <optional>

#include "reader/Sheet.h"

namespace reader {

namespace {

constexpr double kBarDots = 16;       // a bar of either comb
constexpr double kDotsPerStep = 3;    // a test comb lands off by this a step
constexpr double kStepTolerance = 1;  // dots a comb may stand off a whole step
constexpr int kTestOnlyRows = 9;      // the test comb's top rows, above the reference comb
constexpr int kBothFrom = 45;         // rows below the top holding both combs, below
constexpr int kBothTo = 66;           // the row's caption
constexpr int kNearDots = 10;         // the reference comb's edge moves less with the rows
constexpr int kMiddleRows = 8;        // rows each way of the comb's middle
constexpr int kLowest = 2;            // the page's choices: stored -2 .. +2
constexpr double kLargeCover = 0.85;  // a bar of large dots on every row covers more
constexpr double kEcoRipple = 0.03;   // of the bar's mean ink, row to row: ECO's blank rows
constexpr double kEvenRipple = 0.02;  // and an even bar's, noise and all

struct Comb {
    const Mark* mark;
    int testValue;
};

// The dot size and passes of the page, from the first reference bar: large
// dots on every row (VSD3), or bars as light as medium dots, which ECO's two
// passes of large dots make by leaving every third row blank (a ripple down
// the bar that even a soft scan keeps) and VSD1 and VSD2 by medium dots on
// every row. Empty when the bar leaves it open.
std::string Mode(const Sheet& sheet, const Mark& mark, std::string& note) {
    const int top = mark.box.y + kBothFrom;
    const auto left = RisingEdge(ColumnProfile(sheet, mark.box.x - 32, mark.box.x + mark.box.width,
                                               top, top + kBothTo - kBothFrom));
    const int from = mark.box.x - 32 + static_cast<int>(std::lround(left.value_or(32)));
    const auto rows = RowProfile(sheet, from + 3, from + 13, top, top + kBothTo - kBothFrom);
    if (rows.size() < 3) {
        return {};
    }
    double mean = 0;
    for (const double row : rows) {
        mean += row;
    }
    mean /= static_cast<double>(rows.size());
    if (mean <= 0) {
        return {};
    }
    double ripple = 0;
    for (size_t at = 1; at + 1 < rows.size(); ++at) {
        ripple += std::abs(rows[at] - (rows[at - 1] + rows[at + 1]) / 2);
    }
    ripple /= static_cast<double>(rows.size() - 2) * mean;
    if (mean / 255 >= kLargeCover) {
        return "vsd3";
    }
    if (ripple >= kEcoRipple) {
        return "eco";
    }
    if (ripple <= kEvenRipple) {
        note = "VSD1 and VSD2 print the Bi-D page alike; the page alone does not tell which";
        return "vsd1-or-vsd2";
    }
    return {};
}

}  // namespace

std::optional<double> CombOffset(const Sheet& sheet, const Mark& mark) {
    const int top = mark.box.y;
    const int bottom = mark.box.y + mark.box.height;
    const int left = mark.box.x;
    const int right = mark.box.x + mark.box.width;
    // The test comb reaches above and below the reference comb, as far each
    // way: its top and bottom rows hold it alone. A tilted head moves each
    // nozzle across by its place, so the test comb is taken halfway between
    // them, where the nozzles print that print the reference comb's middle.
    const auto testTop =
        RisingEdge(ColumnProfile(sheet, left - 8, right + 8, top, top + kTestOnlyRows));
    const auto testBottom =
        RisingEdge(ColumnProfile(sheet, left - 8, right + 8, bottom - kTestOnlyRows, bottom));
    // The reference comb's first bar, first below the row's caption, then
    // in its middle rows, looked for only near it: the caption stands left.
    const auto near =
        RisingEdge(ColumnProfile(sheet, left - 32, right, top + kBothFrom, top + kBothTo));
    if (!testTop || !testBottom || !near) {
        return std::nullopt;
    }
    const int from = left - 32 + static_cast<int>(std::lround(*near)) - kNearDots;
    const int middle = (top + bottom) / 2;
    const auto reference = RisingEdge(ColumnProfile(sheet, from, from + 3 * kNearDots,
                                                    middle - kMiddleRows, middle + kMiddleRows));
    if (!reference) {
        return std::nullopt;
    }
    return (left - 8 + (*testTop + *testBottom) / 2) - (from + *reference) - kBarDots;
}

std::vector<Reading> ReadBid(const Sheet& sheet, const std::vector<Mark>& combs) {
    Reading reading;
    const bool black = !combs.empty() && combs.front().ink == Ink::Black;
    const std::string ink = black ? "black" : "color";
    reading.name = "bid-" + ink;
    if (combs.size() != 5) {
        reading.note = "the page does not hold five combs";
        return {reading};
    }
    // The cross: the highest and lowest comb, and three in the middle row.
    std::vector<const Mark*> byHeight;
    for (const Mark& mark : combs) {
        byHeight.push_back(&mark);
    }
    std::sort(byHeight.begin(), byHeight.end(),
              [](const Mark* a, const Mark* b) { return a->CentreY() < b->CentreY(); });
    std::vector<const Mark*> middle(byHeight.begin() + 1, byHeight.end() - 1);
    std::sort(middle.begin(), middle.end(),
              [](const Mark* a, const Mark* b) { return a->CentreX() < b->CentreX(); });
    const std::vector<Comb> cross = {{byHeight.front(), -1},
                                     {middle[0], -2},
                                     {middle[1], 0},
                                     {middle[2], 2},
                                     {byHeight.back(), 1}};
    std::string note;
    const std::string mode = Mode(sheet, *middle[1], note);
    reading.name = "bid-" + (mode.empty() ? "unknown" : mode) + "-" + ink;
    reading.note = mode.empty() ? "the bars do not show which dots printed them" : note;

    const auto lined = [](const Mark* a, const Mark* b, bool across) {
        return std::abs(across ? a->CentreX() - b->CentreX() : a->CentreY() - b->CentreY()) < 24;
    };
    if (!lined(byHeight.front(), middle[1], true) || !lined(byHeight.back(), middle[1], true) ||
        !lined(middle[0], middle[1], false) || !lined(middle[2], middle[1], false)) {
        reading.note = "the combs do not stand in a cross";
        return {reading};
    }

    // Each comb tells the error: its test value and how many steps it is off.
    std::optional<int> error;
    bool agree = true;
    bool whole = true;
    for (const Comb& comb : cross) {
        const auto offset = CombOffset(sheet, *comb.mark);
        if (!offset) {
            reading.note = "a comb could not be measured";
            return {reading};
        }
        const double steps = *offset / kDotsPerStep;
        whole = whole && std::abs(*offset - kDotsPerStep * std::round(steps)) <= kStepTolerance;
        const int estimate = comb.testValue + static_cast<int>(std::lround(steps));
        agree = agree && (!error || *error == estimate);
        error = error.value_or(estimate);
    }
    reading.value = *error;
    if (!agree || !whole) {
        reading.note = "the combs do not agree on one value";
    } else if (std::abs(*error) > kLowest) {
        reading.note = "no comb lines up: the value lies beyond the page's choices";
    } else if (!mode.empty()) {
        reading.sure = true;
    }
    return {reading};
}

}  // namespace reader
