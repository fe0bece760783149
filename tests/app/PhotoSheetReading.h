#pragma once

// Reads the photo-paper check sheet as the technician does: for each item,
// how far each of its printed choices is off, and which choice prints
// aligned. Everything is measured from the ink on the two pages; the
// sheet's geometry gives only where to look.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "support/PageMeasure.h"

namespace photo_sheet {

using page_measure::Ink;
using page_measure::Page;

// One item of the sheet: its printed choices ("X", "X+1", ...) and how far
// each is off (0: aligned; none: not found on the page).
struct ItemReading {
    std::string item;  // the mechanism quantity it shows
    std::vector<std::pair<std::string, std::optional<int64_t>>> choices;

    // The choice closest to aligned, or "none of them" when two are as close;
    // for an item printed once (top margin, first dot) "X" only when it is in
    // place, else "off".
    std::string Best() const;
};

std::ostream& operator<<(std::ostream& out, const ItemReading& reading);

// The thirteen items in the mechanism's order (Bi-D ECO, VSD1, VSD2, VSD3 by
// black and colour, head angular, PF black, PF colour, top margin, first
// dot), from the sheet's first and second page.
std::vector<ItemReading> ReadPhotoSheet(const Page& first, const Page& second);

}  // namespace photo_sheet
