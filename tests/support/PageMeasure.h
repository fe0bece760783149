#pragma once

// Measures on a printed page what a technician looks for on a check pattern:
// where a Bi-D comb's passes meet, the bend of a head-angular mark, the gap
// between PF blocks, the first printed row and column. Everything is found
// from the ink on the page; the pattern's geometry gives only the columns to
// look in.
#include <cstdint>
#include <optional>
#include <vector>

#include "vprinter/Page.h"

namespace page_measure {

using vprinter::Ink;
using vprinter::Page;

// Ink of any colour at a dot; with ink given, only that ink.
inline bool Inked(const Page& page, int64_t row, int64_t column, std::optional<Ink> ink = {}) {
    return ink ? page.Level(*ink, row, column) != 0 : page.Pixel(row, column) != 0;
}

// The first inked column of a row in [from, to), or -1.
inline int64_t FirstColumn(const Page& page, int64_t row, int64_t from, int64_t to,
                           std::optional<Ink> ink = {}) {
    for (int64_t column = from; column < to; ++column) {
        if (Inked(page, row, column, ink)) {
            return column;
        }
    }
    return -1;
}

// A run of rows with ink in a band of columns.
struct Rows {
    int64_t first = 0;
    int64_t last = 0;
    int64_t Height() const { return last - first + 1; }
};

// The runs of inked rows in the columns [from, to), top to bottom; rows with
// no ink for more than gap rows part two runs. Runs lower than minHeight
// (printed text among the marks) are left out.
inline std::vector<Rows> InkedRows(const Page& page, int64_t from, int64_t to, int64_t minHeight,
                                   std::optional<Ink> ink = {}, int64_t gap = 12) {
    std::vector<Rows> runs;
    for (int64_t row = 0; row < page.Rows(); ++row) {
        if (FirstColumn(page, row, from, to, ink) < 0) {
            continue;
        }
        if (!runs.empty() && row - runs.back().last <= gap) {
            runs.back().last = row;
        } else {
            runs.push_back({row, row});
        }
    }
    std::vector<Rows> tall;
    for (const Rows& run : runs) {
        if (run.Height() >= minHeight) {
            tall.push_back(run);
        }
    }
    return tall;
}

// A Bi-D comb in the columns [from, to), rows in mark. On a row where both
// passes print (from the middle of the mark down), the reference comb's first
// bar (barDots wide) begins the ink, and the test comb's first bar belongs
// right after it; the result is how far the test bar lands off that place.
// Both bars on one row come from the same nozzle, so a tilted head moves
// them alike. Left of its place the test bar lengthens the reference bar;
// at its place the bars close into one; right of it a gap opens.
inline int64_t CombOffset(const Page& page, const Rows& mark, int64_t from, int64_t to,
                          int64_t barDots = 16) {
    for (int64_t row = (mark.first + mark.last) / 2; row <= mark.last; ++row) {
        const int64_t start = FirstColumn(page, row, from, to);
        if (start < 0) {
            continue;  // passes leave rows between the nozzles' lines blank
        }
        int64_t end = start;
        while (end < to && Inked(page, row, end)) {
            ++end;
        }
        const int64_t length = end - start;
        if (length == barDots) {
            return FirstColumn(page, row, end, to) - start - barDots;
        }
        return length < 2 * barDots ? length - 2 * barDots : 0;
    }
    return -1000;  // no row where both print
}

// The bend of a vertical mark printed in two parts, one above the other,
// meeting at row join: how far the lower part's first row lands across
// against the upper part's last row.
inline int64_t Bend(const Page& page, int64_t join, int64_t from, int64_t to) {
    return FirstColumn(page, join, from, to) - FirstColumn(page, join - 1, from, to);
}

// The white rows between a block and the one below it (negative: the rows
// where they overlap).
inline int64_t Gap(const Rows& upper, const Rows& lower) {
    return lower.first - upper.last - 1;
}

// The first row with ink in a column, or -1.
inline int64_t FirstRow(const Page& page, int64_t column) {
    for (int64_t row = 0; row < page.Rows(); ++row) {
        if (Inked(page, row, column)) {
            return row;
        }
    }
    return -1;
}

}  // namespace page_measure
