// Pages laid upside down on the scanner, or their pictures turned half
// round: the reader turns them back and reads what it reads upright, or
// refuses them; it is never sure of another value. The long set turns every
// page, the default set a sample of three.
#include <gtest/gtest.h>

#include <algorithm>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "PrintedPages.h"
#include "reader/PageReading.h"
#include "support/Sample.h"
#include "support/SimulatedScan.h"

namespace {

using reader_testing::AdjustmentPages;

// Errors that make every value on the pages other than 0, so that a sign
// turned over would show.
vprinter::Mechanism Mechanism() {
    vprinter::Mechanism mechanism;
    for (const auto& [name, error] :
         std::vector<std::pair<const char*, int>>{{"bid-eco-black", 1},
                                                  {"bid-eco-color", -2},
                                                  {"bid-vsd1-black", 2},
                                                  {"bid-vsd1-color", -1},
                                                  {"bid-vsd2-black", 1},
                                                  {"bid-vsd2-color", 1},
                                                  {"bid-vsd3-black", -1},
                                                  {"bid-vsd3-color", 2},
                                                  {"head-angular", 3},
                                                  {"pf-black", -2},
                                                  {"pf-color", 3},
                                                  {"top-margin", 40},
                                                  {"first-dot", 20}}) {
        mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex(name))] =
            static_cast<int8_t>(error);
    }
    return mechanism;
}

// Every reading sure, but on the photo-paper sheet those whose error lies
// beyond the item's choices, which say which way.
bool SureWhereItCanBe(const reader::PageReading& page, const std::string& what) {
    const bool sheet = what.starts_with("sheet");
    return page.kind != reader::PageKind::Unknown && !page.readings.empty() &&
           std::all_of(page.readings.begin(), page.readings.end(), [&](const reader::Reading& r) {
               const int beyond = sheet ? reader_testing::BeyondSheet(Mechanism(), r.name) : 0;
               return r.sure == (beyond == 0) && (r.sure || r.direction == beyond);
           });
}

void ExpectSameOrRefused(const reader::PageReading& upright, const reader::PageReading& turned,
                         const std::string& what) {
    ASSERT_TRUE(SureWhereItCanBe(upright, what)) << what << ": " << upright.problem;
    if (turned.kind == reader::PageKind::Unknown) {
        EXPECT_FALSE(turned.problem.empty()) << what;
        return;
    }
    EXPECT_EQ(turned.kind, upright.kind) << what;
    ASSERT_EQ(turned.readings.size(), upright.readings.size()) << what;
    for (size_t at = 0; at < turned.readings.size(); ++at) {
        const auto& reading = turned.readings[at];
        if (!reading.sure) {
            continue;
        }
        EXPECT_TRUE(upright.readings[at].sure) << what << ", " << reading.name;
        EXPECT_EQ(reading.name, upright.readings[at].name) << what;
        EXPECT_EQ(reading.ValueText(), upright.readings[at].ValueText())
            << what << ", " << reading.name;
    }
}

// The pages by number, each with what it is: the thirteen adjustment pages,
// then the sheet's two; every one in the long set, a sample in the default set.
struct Printed {
    uint32_t number;
    std::string what;
    vprinter::Page page;
};

std::vector<Printed> SampledPages() {
    const auto& streams = AdjustmentPages();
    const auto count = static_cast<uint32_t>(streams.size()) + 2;
    std::vector<Printed> pages;
    std::vector<vprinter::Page> sheet;
    for (const uint32_t at : testing_support::Cases(count, 3)) {
        if (at < streams.size()) {
            auto printed = reader_testing::PrintOn(
                reader_testing::ForPage(Mechanism(), streams[at]), streams[at].bytes);
            pages.push_back({at, streams[at].quantity, std::move(printed.at(0))});
            continue;
        }
        if (sheet.empty()) {
            sheet = reader_testing::PrintOn(Mechanism(), reader_testing::PhotoSheet());
        }
        const size_t page = at - streams.size();
        pages.push_back({at, "sheet page " + std::to_string(page + 1), std::move(sheet.at(page))});
    }
    return pages;
}

TEST(TurnedPages, PicturesTurnedHalfRoundReadAsUpright) {
    for (const auto& [number, what, printed] : SampledPages()) {
        const cv::Mat picture = reader_testing::Picture(printed).clone();
        cv::Mat turned;
        cv::rotate(picture, turned, cv::ROTATE_180);
        const auto upright = reader::ReadPage(picture);
        const auto read = reader::ReadPage(turned);
        ExpectSameOrRefused(upright, read, what);
        // The virtual printer's pictures are whole sheets: they are turned back.
        EXPECT_TRUE(SureWhereItCanBe(read, what)) << what << ": " << read.problem;
    }
}

TEST(TurnedPages, ScansOfSheetsLaidUpsideDownReadAsUpright) {
    for (const auto& [number, what, printed] : SampledPages()) {
        const cv::Mat picture = reader_testing::Picture(printed).clone();
        cv::Mat turned;
        cv::rotate(picture, turned, cv::ROTATE_180);
        // Each page's scanner settings of its own, whichever pages are read.
        const auto settings = scan_testing::RandomScanSettings(300, 77 + number + 1);
        const auto upright = reader::ReadPage(scan_testing::Scan(picture, settings), 300);
        const auto read = reader::ReadPage(scan_testing::Scan(turned, settings), 300);
        ExpectSameOrRefused(upright, read, what);
    }
}

}  // namespace
