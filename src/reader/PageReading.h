#pragma once

// Reads a picture of a printed check page: finds its patterns from the ink on
// it, measures them and tells, for each adjustable value the page shows,
// which choice is best and whether that is sure. The picture is the virtual
// printer's page picture (360 dots an inch, 2880 across), a picture of the
// sheet from its corner at another resolution, or a scan of the sheet on a
// dark lid, turned and placed anywhere; each is brought upright to 360 dpi
// first.
#include <opencv2/core.hpp>
#include <optional>
#include <string>
#include <vector>

namespace reader {

enum class PageKind {
    Unknown,
    Bid,
    HeadAngular,
    PfBlack,
    PfColor,
    TopMargin,
    FirstDot,
    PhotoSheet1,
    PhotoSheet2,
};

// The page's name as the command line tool prints it: "bid", "pf-black", ...
const char* KindName(PageKind kind);
// The page's name in words for a person: "Bi-D check", "Photo-paper sheet, page 1".
const char* KindTitle(PageKind kind);

// One adjustable value read from the page; "NG" when the page's end mark is
// best. On the pages that set test values themselves (Bi-D, PF) the value is
// what the technician enters with the page's input. The head angular, top
// margin and first dot pages and the photo-paper sheet's second page show
// the error less the value stored when they were printed: ReadPage gives
// what the page shows, which is the value to enter only when 0 was stored;
// ApplyStored (reader/Stored.h) adds the stored value. Not sure: two choices
// are as good, the pattern was not found whole, or its marks disagree.
struct Reading {
    std::string name;  // the mechanism quantity: "bid-vsd3-black", "pf-color", ...
    int value = 0;
    bool ng = false;
    bool sure = false;
    std::string best;  // photo-paper sheet: "X", "X+1", "X-3", ...
    std::string note;  // why it is not sure, or what the page leaves open
    // Where the page shows it, for a reading that is not sure: which way the
    // value lies from what the page shows (+1 above, -1 below, 0 not known)
    // and the value to write and print the page with next.
    int direction = 0;
    std::optional<int> next;
    // With next: the other of the two values the page leaves the reading
    // between.
    std::optional<int> other;
    // Whether printing the page again after the write shows the new value:
    // not on the head angular and PF pages, which print the same whatever
    // is stored.
    bool printAgain = true;
    // The photo-paper sheets: the best choice's step from the stored value X
    // (value is X plus it once the stored value is applied).
    std::optional<int> step;
    // Where the pattern read stands on the upright page, in page dots (360
    // an inch from the sheet's corner): on the printer's own picture, its
    // pixels. Empty when not known.
    cv::Rect area;

    std::string ValueText() const { return ng ? "NG" : std::to_string(value); }
};

// One line for a person: "pf-color: 2", "pf-color: not sure (NOTE)",
// "pf-color: NG (NOTE)".
std::string ReadingLine(const Reading& reading);

// Which way the reading's value lies, as its note's end says it: "the value
// lies above 2: write 2 and print again", "the value lies between 3 and 4:
// write either and print again" ("and print again" left out where printing
// again shows nothing new); empty without next.
std::string WayText(const Reading& reading);
// Sets a reading that is not sure: its note (why, then the way), direction,
// next and other.
void NotSure(Reading& reading, const std::string& why, int direction = 0,
             std::optional<int> next = {}, std::optional<int> other = {});

// The problem of a page that shows no pattern: a blank page, or one of
// text and lines of no check page.
inline constexpr const char* kNoPattern = "no pattern found on the page";

struct PageReading {
    PageKind kind = PageKind::Unknown;
    std::vector<Reading> readings;
    std::string problem;  // why the page was not read

    bool AllSure() const;
};

// picture: 8-bit, 1 (grey) or 3 (BGR) channels. dpiHint: the picture's
// resolution when known, else 0: then a scan's resolution follows from the
// sheet's size (A4 or Letter), and a picture without the paper's edges is
// taken as the sheet's printable width (8 inches).
PageReading ReadPage(const cv::Mat& picture, double dpiHint = 0);
// Decodes a PNG or JPEG file (reader/PictureFile.h: a large picture at a
// fraction of its size); a file that cannot be decoded gives an Unknown page
// with the problem. decoded, when given, gets the picture read: 8-bit BGR,
// empty when none was decoded.
PageReading ReadPageFile(const std::string& path, double dpiHint = 0, cv::Mat* decoded = nullptr);
// The file's picture as ReadPageFile decodes it, not read; empty with the
// problem when it cannot be decoded.
cv::Mat DecodePictureFile(const std::string& path, std::string& problem);

}  // namespace reader
