#pragma once

// The adjustment pages as a printer with a given mechanism prints them: each
// page generator's stream is taken once from the virtual printer, then fed to
// a print engine of its own for every mechanism, which is much faster than
// printing through the link each time.
#include <array>
#include <cstdint>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "reader/PageReading.h"
#include "vprinter/Config.h"
#include "vprinter/Mechanism.h"
#include "vprinter/Page.h"

namespace reader_testing {

// One adjustment page: the stream that prints it, and what the reader must
// find on it for a mechanism.
struct PageStream {
    std::string page;      // the page kind's name as the reader gives it
    std::string quantity;  // the mechanism quantity the page adjusts
    std::string name;      // the reading's name
    std::vector<uint8_t> bytes;
    int stored = 0;  // the stored value the page was printed around
};

// The thirteen adjustment pages: the eight Bi-D pages (one item each, as
// the window prints it, each around a stored value of its own, not 0), head
// angular, PF black and colour, top margin, first dot (at the stored values
// 0). Printed once per test program.
const std::vector<PageStream>& AdjustmentPages();

// The mechanism as far off from the page's stored value as the given one is
// from 0: the page then shows the same, labelled with values that much
// further on.
vprinter::Mechanism ForPage(const vprinter::Mechanism& mechanism, const PageStream& stream);

// The Bi-D page as the adjustment window prints it: the patterns of the
// flagged items (in the window's item order: VSD1 black, VSD1 colour, ...
// ECO colour) around these stored values. Captured through the link each
// call.
using BidFlags = std::array<bool, 8>;
using BidStored = std::array<int, 8>;
std::vector<uint8_t> BidPage(const BidFlags& flags, const BidStored& stored);
// The mechanism quantity of each item, in the window's item order.
const std::array<const char*, 8>& BidItems();

// The photo-paper sheet's two pages at the stored values 0.
const std::vector<uint8_t>& PhotoSheet();

// The value a reading of this quantity must give for the mechanism: its
// error on an adjustment page; on the photo-paper sheet the nearest of an
// item's choices X-1, X, X+1, except for head angular (whose choices are
// three units apart) and the top margin and first dot, printed once.
int TrueValue(const vprinter::Mechanism& mechanism, const std::string& quantity, bool onSheet);
// On the photo-paper sheet (stored values 0): which way the error lies
// beyond the item's choices (1 above X+1, -1 below X-1), whose reading must
// then be not sure and say so; 0 when it lies among them.
int BeyondSheet(const vprinter::Mechanism& mechanism, const std::string& quantity);
// Whether a reading says what it must of the true value: a sure reading
// gives it; on the sheet, beyond the choices, it is not sure and says which
// way.
bool ReadsRight(const reader::Reading& reading, int truth, int beyond);

// Prints a stream on a printer with this mechanism and these stored values
// (by default a new board's: every adjustment value 0): the pages it ejects,
// each knowing the values in force when its sheet was taken.
std::vector<vprinter::Page> PrintOn(const vprinter::Mechanism& mechanism,
                                    const std::vector<uint8_t>& bytes,
                                    const vprinter::Eeprom& stored = {});

// The page's picture (BGR) as its PNG file shows it; valid until the next
// call.
cv::Mat Picture(const vprinter::Page& page);

// A page of no check: lines of text across the sheet in the printer's font,
// from the top margin down (as a status page or a letter prints).
cv::Mat TextPage();

// The page's reading of that name; nullptr when it has none.
const reader::Reading* Named(const reader::PageReading& page, const std::string& name);

}  // namespace reader_testing
