// The pictures technicians make: a scan on a white lid (no paper's edge), a
// soft 300 dpi scan, a JPEG of low quality, a sheet turned 3 degrees, uneven
// light, a fine scan, pen strokes across the patterns, a sheet printed with
// the black ink run out, a sheet laid head first, a picture cut tight round
// the print (with and without its resolution), and a page of text that is no
// check page. Whatever the picture spoils is read right or not sure:
// no condition gives a wrong sure reading, and on a white lid at 600 dpi
// nearly every reading that is not measured from the paper's edges is right
// and sure. Each condition prints its count of sure and of wrong sure
// readings. The scans are read with their resolution, as a picture without
// the paper's edges must be. The default set scans a few pages under the first conditions,
// the long set every page of two mechanisms under each.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "PrintedPages.h"
#include "reader/PageReading.h"
#include "support/Sample.h"
#include "support/SimulatedScan.h"

namespace {

using reader_testing::AdjustmentPages;

// The pages a condition scans: the mechanisms' pages (the default set a
// sample of them), or the page of text alone.
enum class Pages { Printed, Text, TopMarginOnly };

struct ScanCondition {
    const char* what;
    double dpi;
    std::function<void(scan_testing::ScanSettings&)> change;
    bool inDefault;
    int leastRightPercent;  // of the readings not measured from the paper's edges; 0: none asked
    Pages pages = Pages::Printed;
    uint32_t mechanisms = 1;  // in the long set
    bool dpiGiven = true;     // the scan read with its resolution
};

// Pen strokes across the photo-paper sheet's combs and PF blocks (and
// whatever the other pages print there), in page dots.
const std::vector<std::pair<cv::Point2d, cv::Point2d>> kPenStrokes = {
    {{1050, 880}, {1950, 960}},   // along the first row of combs
    {{1640, 760}, {1700, 2050}},  // down the right column of combs
    {{650, 2200}, {1500, 2600}},  // across the PF blocks
};

struct ConditionCounts {
    int readings = 0;
    int sure = 0;
    int wrongSure = 0;
    int apartFromEdges = 0;  // readings not measured from the paper's edges
    int rightApartFromEdges = 0;
};

bool MeasuredFromEdges(const std::string& name) {
    return name == "top-margin" || name == "first-dot";
}

// The true value of a reading and, on the photo-paper sheet, which way it
// lies beyond the item's choices (reader_testing::BeyondSheet).
struct Truth {
    int value;
    int beyond = 0;
};

void CountReading(ConditionCounts& counts, const reader::Reading& reading, Truth expected,
                  const std::string& where) {
    ++counts.readings;
    const bool right = reader_testing::ReadsRight(reading, expected.value, expected.beyond);
    if (reading.sure) {
        ++counts.sure;
        if (!right) {
            ++counts.wrongSure;
            ADD_FAILURE() << where << " " << reading.name << ": read " << reading.ValueText()
                          << " sure, true " << expected.value;
        }
    }
    if (!MeasuredFromEdges(reading.name)) {
        ++counts.apartFromEdges;
        counts.rightApartFromEdges += right ? 1 : 0;
        if (!right && expected.value != 1000) {
            std::printf("[ not sure  ] %s %s: %s\n", where.c_str(), reading.name.c_str(),
                        reading.note.c_str());
        }
    }
}

// Scans a page under the condition and counts its readings against the
// true values (expected, by the reading's name; a name not in it: any sure
// reading is wrong).
void ScanAndCount(ConditionCounts& counts, const ScanCondition& condition, const cv::Mat& page,
                  uint64_t seed, const std::function<Truth(const std::string&)>& expected,
                  size_t readingsIfNone, size_t apartIfNone, const std::string& where) {
    auto settings = scan_testing::RandomScanSettings(condition.dpi, seed);
    condition.change(settings);
    const auto read = reader::ReadPage(scan_testing::Scan(page, settings),
                                       condition.dpiGiven ? condition.dpi : 0);
    if (read.readings.empty()) {
        counts.readings += static_cast<int>(readingsIfNone);
        counts.apartFromEdges += static_cast<int>(apartIfNone);
    }
    for (const auto& reading : read.readings) {
        CountReading(counts, reading, expected(reading.name), where);
    }
}

void ScanUnderConditions(bool all) {
    const auto whiteLid = [](auto& s) { s.whiteLid = true; };
    const ScanCondition conditions[] = {
        {"white lid, 600 dpi", 600, whiteLid, false, 95, Pages::Printed, 2},
        {"blur 2 px, 300 dpi", 300, [](auto& s) { s.blurAt600 = 4; }, true, 0},
        {"a page of text, 300 dpi", 300, [](auto&) {}, true, 0, Pages::Text},
        {"upside down, 300 dpi", 300, [](auto& s) { s.upsideDown = true; }, true, 0,
         Pages::TopMarginOnly},
        {"blur 1.6 px, 300 dpi", 300, [](auto& s) { s.blurAt600 = 3.2; }, false, 0},
        {"JPEG quality 40", 600, [](auto& s) { s.jpegQuality = 40; }, false, 0},
        {"turned 3 degrees", 600, [](auto& s) { s.degrees = 3; }, false, 0},
        {"uneven light", 600, [](auto& s) { s.unevenLight = 0.3; }, false, 0},
        {"white lid, turned 1 degree, 300 dpi", 300,
         [](auto& s) {
             s.whiteLid = true;
             s.degrees = -1;
         },
         false, 0},
        {"1200 dpi", 1200, [](auto&) {}, false, 0},
        {"pen strokes, 600 dpi", 600, [](auto& s) { s.penStrokes = kPenStrokes; }, false, 0},
        {"black ink run out, 600 dpi", 600, [](auto& s) { s.noBlackInk = true; }, false, 0},
        {"upside down, 600 dpi", 600, [](auto& s) { s.upsideDown = true; }, false, 0},
        {"tight crop, 600 dpi", 600,
         [](auto& s) {
             s.whiteLid = true;
             s.tightCrop = true;
         },
         false, 0},
        {"tight crop, resolution not given", 600,
         [](auto& s) {
             s.whiteLid = true;
             s.tightCrop = true;
         },
         false, 0, Pages::Printed, 1, false},
        {"a page of text on a white lid, 600 dpi", 600, whiteLid, false, 0, Pages::Text},
    };
    // ORVANE_SCAN_CONDITION: only the conditions whose name holds it.
    const char* only = std::getenv("ORVANE_SCAN_CONDITION");
    // The pages of each mechanism: the 13 adjustment pages, then the sheet's
    // two; the default set a PF page, the top margin page and the sheet's
    // second page.
    const size_t adjustment = AdjustmentPages().size();
    const size_t topMargin = 11;
    ASSERT_EQ(AdjustmentPages()[topMargin].name, "top-margin");
    const std::vector<size_t> sample = {10, topMargin, adjustment + 1};
    const auto none = [](const std::string&) { return Truth{1000}; };  // any sure reading is wrong
    for (const ScanCondition& condition : conditions) {
        if ((!condition.inDefault && !all) ||
            (only != nullptr && std::string(condition.what).find(only) == std::string::npos)) {
            continue;
        }
        ConditionCounts counts;
        const uint32_t mechanisms = all ? condition.mechanisms : 1;
        for (uint32_t seed = 0; seed < mechanisms; ++seed) {
            const std::string what = std::string(condition.what) + ", seed " + std::to_string(seed);
            if (condition.pages == Pages::Text) {
                ScanAndCount(counts, condition, reader_testing::TextPage(), seed, none, 1, 1,
                             what + ", text");
                continue;
            }
            const vprinter::Mechanism mechanism = vprinter::RandomMechanism(2000 + seed);
            const auto sheet = reader_testing::PrintOn(mechanism, reader_testing::PhotoSheet());
            ASSERT_EQ(sheet.size(), 2u);
            std::vector<size_t> chosen = sample;
            if (condition.pages == Pages::TopMarginOnly) {
                chosen = {topMargin};
            } else if (all) {
                chosen.clear();
                for (size_t page = 0; page < adjustment + 2; ++page) {
                    chosen.push_back(page);
                }
            }
            for (const size_t page : chosen) {
                const std::string where = what + ", page " + std::to_string(page);
                const uint64_t scanSeed = seed * 100 + page;
                if (page < adjustment) {
                    const auto& stream = AdjustmentPages()[page];
                    const vprinter::Mechanism printer = reader_testing::ForPage(mechanism, stream);
                    const auto printed = reader_testing::PrintOn(printer, stream.bytes);
                    const int truth = reader_testing::TrueValue(printer, stream.quantity, false);
                    ScanAndCount(
                        counts, condition, reader_testing::Picture(printed.at(0)), scanSeed,
                        [&](const std::string& name) {
                            return Truth{name == stream.name ? truth : 1000};
                        },
                        1, MeasuredFromEdges(stream.name) ? 0 : 1, where);
                    continue;
                }
                const size_t at = page - adjustment;
                ScanAndCount(
                    counts, condition, reader_testing::Picture(sheet[at]), scanSeed,
                    [&](const std::string& name) {
                        return vprinter::MechanismIndex(name) < 0
                                   ? Truth{1000}
                                   : Truth{reader_testing::TrueValue(mechanism, name, true),
                                           reader_testing::BeyondSheet(mechanism, name)};
                    },
                    at == 0 ? 11 : 2, at == 0 ? 11 : 0, where);
            }
        }
        std::printf("[ condition ] %s: %d readings, %d sure, %d wrong and sure\n", condition.what,
                    counts.readings, counts.sure, counts.wrongSure);
        EXPECT_EQ(counts.wrongSure, 0) << condition.what;
        if (condition.leastRightPercent > 0) {
            EXPECT_GE(counts.rightApartFromEdges * 100,
                      counts.apartFromEdges * condition.leastRightPercent)
                << condition.what << ": " << counts.rightApartFromEdges << " of "
                << counts.apartFromEdges << " right and sure";
        }
    }
}

TEST(ScanConditions, AFewPagesUnderTheFirstConditions) {
    ScanUnderConditions(false);
}

TEST(ScanConditions, EveryPageUnderEveryCondition) {
    if (!testing_support::LongTests()) {
        GTEST_SKIP() << "in the long set only (ORVANE_LONG_TESTS=1)";
    }
    ScanUnderConditions(true);
}

}  // namespace
