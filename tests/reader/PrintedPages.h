#pragma once

// The adjustment pages as a printer with a given mechanism prints them: each
// page generator's stream is taken once from the virtual printer, then fed to
// a print engine of its own for every mechanism, which is much faster than
// printing through the link each time.
#include <cstdint>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "vprinter/Config.h"
#include "vprinter/Mechanism.h"
#include "vprinter/Page.h"

namespace reader_testing {

// One adjustment page: the stream that prints it at the stored value 0, and
// what the reader must find on it for a mechanism.
struct PageStream {
    std::string page;      // the page kind's name as the reader gives it
    std::string quantity;  // the mechanism quantity the page adjusts
    std::string name;      // the reading's name
    std::vector<uint8_t> bytes;
};

// The thirteen adjustment pages: the eight Bi-D pages, head angular, PF
// black and colour, top margin, first dot. Printed once per test program.
const std::vector<PageStream>& AdjustmentPages();

// The photo-paper sheet's two pages at the stored values 0.
const std::vector<uint8_t>& PhotoSheet();

// The value a reading of this quantity must give for the mechanism: its
// error on an adjustment page; on the photo-paper sheet the nearest of an
// item's choices X-1, X, X+1, except for head angular (whose choices are
// three units apart) and the top margin and first dot, printed once.
int TrueValue(const vprinter::Mechanism& mechanism, const std::string& quantity, bool onSheet);

// Prints a stream on a printer with this mechanism and these stored values
// (by default a new board's: every adjustment value 0): the pages it ejects,
// each knowing the values in force when its sheet was taken.
std::vector<vprinter::Page> PrintOn(const vprinter::Mechanism& mechanism,
                                    const std::vector<uint8_t>& bytes,
                                    const vprinter::Eeprom& stored = {});

// The page's picture (BGR) as its PNG file shows it; valid until the next
// call.
cv::Mat Picture(const vprinter::Page& page);

}  // namespace reader_testing
