#include "PhotoSheetReading.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace photo_sheet {

using namespace page_measure;

namespace {

constexpr int64_t kMarkRows = 75;  // taller than a line of text

// The columns of a byte of the sheet's raster lines, with the whole page
// moved across by shift dots.
constexpr int64_t Dot(int byte, int64_t shift) {
    return 4 * int64_t{byte} + shift;
}

// How far the page landed across: the head angular caption starts the page
// at the left edge of the raster lines.
int64_t PageShift(const Page& page) {
    for (const Page::Text& text : page.Texts()) {
        if (text.text.starts_with("Head angular adjustment")) {
            return text.column;
        }
    }
    return 0;
}

// Head angular: each pair printed by the lower half of the nozzle row (the
// upper part of the mark, 45 nozzles, 135 rows), and one band lower by the
// upper half shifted 0, +3 and -3 against it (the lower part). The bend is
// the lower part's first row against the upper part's last row. A feed that
// is off leaves rows blank between the parts or prints rows with both; then
// the rows next to those, where only one part prints, are compared.
ItemReading HeadAngular(const Page& page, int64_t shift) {
    constexpr int64_t kPartRows = 135;
    ItemReading reading{"head-angular", {}};
    for (const auto& [label, byte] :
         {std::pair{"X", 351}, std::pair{"X+3", 459}, std::pair{"X-3", 513}}) {
        const int64_t from = Dot(byte, shift) - 12;
        const int64_t to = from + 72;  // short of the pair's second mark
        const auto runs = InkedRows(page, from, to, kMarkRows, Ink::Black);
        std::optional<int64_t> bend;
        if (!runs.empty()) {
            const Rows& mark = runs.front();
            const int64_t upperLast =
                std::min(mark.first + kPartRows, mark.last - kPartRows + 1) - 1;
            const int64_t lowerFirst =
                std::max(mark.last - kPartRows, mark.first + kPartRows - 1) + 1;
            const int64_t upper = FirstColumn(page, upperLast, from, to);
            const int64_t lower = FirstColumn(page, lowerFirst, from, to);
            if (upper >= 0 && lower >= 0) {
                bend = lower - upper;
            }
        }
        reading.choices.emplace_back(label, bend);
    }
    return reading;
}

// Bi-D: a row of three combs for each mode, black then colour, in the
// order VSD1, VSD2, VSD3, ECO; slots at bytes 293 (X), 396 (X+1), 437.
std::vector<ItemReading> Bid(const Page& page, int64_t shift) {
    constexpr std::array<const char*, 4> kModes = {"vsd1", "vsd2", "vsd3", "eco"};
    std::vector<ItemReading> readings(8);
    for (size_t mode = 0; mode < kModes.size(); ++mode) {
        for (const bool black : {true, false}) {
            // The file's order starts with ECO.
            ItemReading& reading = readings[2 * ((mode + 1) % 4) + (black ? 0 : 1)];
            reading.item = std::string("bid-") + kModes[mode] + (black ? "-black" : "-color");
            for (const auto& [label, byte] :
                 {std::pair{"X", 293}, std::pair{"X+1", 396}, std::pair{"X-1", 437}}) {
                // The 20-byte slot and a little on each side for a tilted head.
                const int64_t from = Dot(byte, shift) - 12;
                const int64_t to = Dot(byte + 20, shift) + 12;
                const auto runs =
                    InkedRows(page, from, to, kMarkRows, black ? Ink::Black : Ink::Magenta);
                std::optional<int64_t> offset;
                if (runs.size() > mode) {
                    offset = CombOffset(page, runs[mode], from, to);
                }
                reading.choices.emplace_back(label, offset);
            }
        }
    }
    return readings;
}

// PF: three steps X-1, X, X+1, each a block alone in dots 720-863 and a
// second block alone in dots 1200-1343 below it; the columns looked in keep
// clear of the other block's edge on a tilted head.
ItemReading Pf(const Page& page, int64_t shift, bool black) {
    ItemReading reading{black ? "pf-black" : "pf-color", {}};
    const Ink ink = black ? Ink::Black : Ink::Cyan;
    const auto firsts = InkedRows(page, 728 + shift, 856 + shift, kMarkRows, ink);
    auto seconds = InkedRows(page, 1208 + shift, 1336 + shift, kMarkRows, ink);
    // The Bi-D combs above share the second blocks' columns.
    if (!firsts.empty()) {
        std::erase_if(seconds, [&](const Rows& run) { return run.first < firsts.front().first; });
    }
    const std::array<const char*, 3> labels = {"X-1", "X", "X+1"};
    for (size_t step = 0; step < labels.size(); ++step) {
        std::optional<int64_t> gap;
        if (step < firsts.size() && step < seconds.size()) {
            gap = Gap(firsts[step], seconds[step]);
        }
        reading.choices.emplace_back(labels[step], gap);
    }
    return reading;
}

// Page 2: the first nozzle's full-width line at the top margin (row 42 of
// the sheet), and the next nozzles' vertical line below it from the left
// edge. The first dot is where the vertical line stands; when the page
// landed left of the paper's edge that line is lost, and the full-width
// line's right end tells by how much.
std::pair<ItemReading, ItemReading> TopMarginAndFirstDot(const Page& page) {
    constexpr int64_t kTop = 42;
    const int64_t top = FirstRow(page, 2000);  // right of the caption
    ItemReading topMargin{"top-margin", {}};
    ItemReading firstDot{"first-dot", {}};
    std::optional<int64_t> below;
    std::optional<int64_t> across;
    if (top >= 0) {
        below = top - kTop;
        int64_t right = Page::kColumns - 1;
        while (right > 0 && !Inked(page, top, right)) {
            --right;
        }
        if (right < Page::kColumns - 1) {
            across = right - (Page::kColumns - 1);
        } else if (const int64_t line = FirstColumn(page, top + 3, 0, Page::kColumns); line >= 0) {
            across = line;
        }
    }
    topMargin.choices.emplace_back("X", below);
    firstDot.choices.emplace_back("X", across);
    return {topMargin, firstDot};
}

}  // namespace

std::string ItemReading::Best() const {
    const auto distance = [](const std::optional<int64_t>& off) {
        return off ? std::llabs(*off) : std::numeric_limits<int64_t>::max();
    };
    const auto best = std::min_element(choices.begin(), choices.end(), [&](auto& a, auto& b) {
        return distance(a.second) < distance(b.second);
    });
    if (best == choices.end() || !best->second || (choices.size() == 1 && *best->second != 0)) {
        return "off";
    }
    const auto alike = std::count_if(choices.begin(), choices.end(), [&](auto& choice) {
        return distance(choice.second) == distance(best->second);
    });
    return alike == 1 ? best->first : "none of them";
}

std::ostream& operator<<(std::ostream& out, const ItemReading& reading) {
    out << reading.item << ":";
    for (const auto& [label, off] : reading.choices) {
        out << ' ' << label << '=';
        if (off) {
            out << *off;
        } else {
            out << "none";
        }
    }
    return out << " -> " << reading.Best();
}

std::vector<ItemReading> ReadPhotoSheet(const Page& first, const Page& second) {
    const int64_t shift = PageShift(first);
    std::vector<ItemReading> readings = Bid(first, shift);
    readings.push_back(HeadAngular(first, shift));
    readings.push_back(Pf(first, shift, true));
    readings.push_back(Pf(first, shift, false));
    auto [topMargin, firstDot] = TopMarginAndFirstDot(second);
    readings.push_back(topMargin);
    readings.push_back(firstDot);
    return readings;
}

}  // namespace photo_sheet
