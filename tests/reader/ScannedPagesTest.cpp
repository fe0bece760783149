// Every adjustment page and the photo-paper sheet, printed by printers with
// random mechanisms and scanned at 300 and 600 dpi, turned, softened, noisy
// and saved as JPEG: the reader finds nearly every true value, and a value
// it reports as sure is right. Every other scan is read without its
// resolution, which then follows from the sheet's size. The long set scans
// every page of four mechanisms at each resolution, the default set a sample
// of 4 of those pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <opencv2/imgcodecs.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "PrintedPages.h"
#include "pattern/GoldenPictures.h"
#include "reader/PageReading.h"
#include "support/Sample.h"
#include "support/SimulatedScan.h"

namespace {

using reader_testing::AdjustmentPages;

constexpr uint32_t kScanShards = 4;     // per resolution
constexpr uint32_t kScannedPages = 15;  // of a mechanism: the 13 adjustment pages, the sheet's two
constexpr uint32_t kScannedSample = 4;  // pages of both resolutions' shards, in the default set

// One mechanism a shard, or ORVANE_SCANNED_MECHANISMS for a longer run.
uint32_t Mechanisms() {
    const char* wanted = std::getenv("ORVANE_SCANNED_MECHANISMS");
    return wanted != nullptr ? static_cast<uint32_t>(std::strtoul(wanted, nullptr, 10))
                             : kScanShards;
}

// The pages a shard scans, by mechanism: every page of each of its mechanisms
// in the long set, else those of the default set's sample (drawn from both
// resolutions' pages at once, so that the two differ).
std::map<uint32_t, std::vector<uint32_t>> PagesOfShard(uint32_t resolution, uint32_t shard) {
    const uint32_t perResolution = Mechanisms() * kScannedPages;
    std::map<uint32_t, std::vector<uint32_t>> pages;
    for (const uint32_t scanned : testing_support::Cases(2 * perResolution, kScannedSample)) {
        const uint32_t seed = scanned % perResolution / kScannedPages;
        if (scanned / perResolution == resolution && seed % kScanShards == shard) {
            pages[seed].push_back(scanned % kScannedPages);
        }
    }
    return pages;
}

struct Tally {
    int readings = 0;
    int exact = 0;
    std::vector<std::string> misses;  // what was not read sure and right
};

// beyond: on the photo-paper sheet, which way the error lies beyond the
// item's choices (reader_testing::BeyondSheet).
void Count(Tally& tally, const reader::Reading& reading, const std::string& name, int expected,
           const std::string& where, int beyond = 0) {
    ++tally.readings;
    if (reading.name == name && reader_testing::ReadsRight(reading, expected, beyond)) {
        ++tally.exact;
        return;
    }
    const std::string what = where + " " + name + ": read " + reading.name + " " +
                             reading.ValueText() +
                             (reading.sure ? " sure" : " not sure (" + reading.note + ")") +
                             ", true " + std::to_string(expected);
    tally.misses.push_back(what);
    // A sure reading must be right.
    EXPECT_FALSE(reading.sure) << what;
}

class ScannedPages : public ::testing::TestWithParam<std::tuple<int, uint32_t>> {};

TEST_P(ScannedPages, NearlyEveryValueIsReadAndNoneWrongly) {
    const int dpi = std::get<0>(GetParam());
    const uint32_t shard = std::get<1>(GetParam());
    ASSERT_EQ(AdjustmentPages().size() + 2, kScannedPages);
    Tally tally;
    for (const auto& [seed, pages] : PagesOfShard(dpi == 300 ? 0 : 1, shard)) {
        const vprinter::Mechanism mechanism = vprinter::RandomMechanism(1000 + seed);
        // Each page is scanned by settings of its own, and every other one is
        // read without its resolution.
        // A structured binding is not captured by a lambda in C++20 (clang).
        const auto sheetSeed = seed;
        const auto read = [&](const vprinter::Page& printed, uint32_t page) {
            const uint64_t scan = page + 1;
            const auto settings = scan_testing::RandomScanSettings(dpi, sheetSeed * 100 + scan);
            return reader::ReadPage(scan_testing::Scan(reader_testing::Picture(printed), settings),
                                    scan % 2 == 0 ? dpi : 0);
        };
        std::vector<vprinter::Page> sheet;
        for (const uint32_t page : pages) {
            if (page < AdjustmentPages().size()) {
                const auto& stream = AdjustmentPages()[page];
                const vprinter::Mechanism printer = reader_testing::ForPage(mechanism, stream);
                const auto printed = reader_testing::PrintOn(printer, stream.bytes);
                ASSERT_EQ(printed.size(), 1u);
                const std::string where = "seed " + std::to_string(seed) + " " + stream.quantity;
                const reader::PageReading reading = read(printed[0], page);
                if (reading.kind == reader::PageKind::Unknown) {
                    ++tally.readings;
                    tally.misses.push_back(where + ": " + reading.problem);
                    continue;
                }
                EXPECT_EQ(reader::KindName(reading.kind), stream.page) << where;
                ASSERT_EQ(reading.readings.size(), 1u) << where;
                Count(tally, reading.readings.front(), stream.name,
                      reader_testing::TrueValue(printer, stream.quantity, false), where);
                continue;
            }
            if (sheet.empty()) {
                sheet = reader_testing::PrintOn(mechanism, reader_testing::PhotoSheet());
                ASSERT_EQ(sheet.size(), 2u);
            }
            const size_t at = page - AdjustmentPages().size();
            const std::string where = "seed " + std::to_string(seed) + " sheet";
            const reader::PageReading reading = read(sheet[at], page);
            if (reading.readings.empty()) {
                tally.readings += at == 0 ? 11 : 2;  // the items on each page
                tally.misses.push_back(where + ": " + reading.problem);
            }
            for (const auto& item : reading.readings) {
                Count(tally, item, item.name, reader_testing::TrueValue(mechanism, item.name, true),
                      where, reader_testing::BeyondSheet(mechanism, item.name));
            }
        }
    }
    std::string misses;
    for (const auto& miss : tally.misses) {
        misses += miss + "\n";
    }
    EXPECT_GE(tally.exact * 100, tally.readings * 99)
        << tally.exact << " of " << tally.readings << " exact; missed:\n"
        << misses;
}

INSTANTIATE_TEST_SUITE_P(Resolutions, ScannedPages,
                         ::testing::Combine(::testing::Values(300, 600),
                                            ::testing::Range(0u, kScanShards)));

}  // namespace

namespace {

// Without a stated resolution the A4 sheet's size gives it; a stated one that
// makes the sheet larger than any paper is refused, not read.
TEST(ScannedPage, ResolutionFromTheSheetsSizeAndNoSheetTooLarge) {
    const cv::Mat page = cv::imread(golden_pictures::PathOf("PfBlack"), cv::IMREAD_COLOR);
    ASSERT_FALSE(page.empty());
    const cv::Mat scan = scan_testing::Scan(page, scan_testing::RandomScanSettings(300, 5));
    const reader::PageReading stated = reader::ReadPage(scan, 300);
    const reader::PageReading found = reader::ReadPage(scan);
    ASSERT_TRUE(stated.AllSure()) << stated.problem;
    ASSERT_TRUE(found.AllSure()) << found.problem;
    EXPECT_EQ(found.readings[0].name, stated.readings[0].name);
    EXPECT_EQ(found.readings[0].value, stated.readings[0].value);

    const reader::PageReading tooLarge = reader::ReadPage(scan, 20);
    EXPECT_EQ(tooLarge.kind, reader::PageKind::Unknown);
    EXPECT_EQ(tooLarge.problem, "the sheet is larger than any the printer takes");
}

}  // namespace

namespace {

// A fine scan: the photo-paper sheet's second page, whose readings are
// measured from the paper's edges, at 1200 dpi without its resolution. In
// the long set only: the scan alone takes several seconds.
TEST(ScannedPage, At1200Dpi) {
    if (!testing_support::LongTests()) {
        GTEST_SKIP() << "in the long set only (ORVANE_LONG_TESTS=1)";
    }
    const cv::Mat page = cv::imread(golden_pictures::PathOf("PhotoPaperSheet2"), cv::IMREAD_COLOR);
    ASSERT_FALSE(page.empty());
    const reader::PageReading read =
        reader::ReadPage(scan_testing::Scan(page, scan_testing::RandomScanSettings(1200, 12)));
    ASSERT_EQ(read.kind, reader::PageKind::PhotoSheet2) << read.problem;
    ASSERT_EQ(read.readings.size(), 2u);
    for (const auto& reading : read.readings) {
        EXPECT_TRUE(reading.sure) << reading.name << ": " << reading.note;
        EXPECT_EQ(reading.best, "X") << reading.name;
    }
}

}  // namespace
