// The pictures technicians make: a scan on a white lid (no paper's edge), a
// soft 300 dpi scan, a JPEG of low quality, a sheet turned 3 degrees, uneven
// light, a fine scan. Whatever the picture spoils is read right or not sure:
// no condition gives a wrong sure reading, and on a white lid at 600 dpi
// nearly every reading that is not measured from the paper's edges is right
// and sure. Each condition prints its count of sure and of wrong sure
// readings. The scans are read with their resolution, as a picture without
// the paper's edges must be. The default set scans a few pages under the first conditions,
// the long set every page of two mechanisms under each.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "PrintedPages.h"
#include "reader/PageReading.h"
#include "support/Sample.h"
#include "support/SimulatedScan.h"

namespace {

using reader_testing::AdjustmentPages;

struct ScanCondition {
    const char* what;
    double dpi;
    std::function<void(scan_testing::ScanSettings&)> change;
    bool inDefault;
    int leastRightPercent;  // of the readings not measured from the paper's edges; 0: none asked
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

void CountReading(ConditionCounts& counts, const reader::Reading& reading, int expected, const std::string& where) {
    ++counts.readings;
    const bool right = !reading.ng && reading.value == expected;
    if (reading.sure) {
        ++counts.sure;
        if (!right) {
            ++counts.wrongSure;
            ADD_FAILURE() << where << " " << reading.name << ": read " << reading.ValueText()
                          << " sure, true " << expected;
        }
    }
    if (!MeasuredFromEdges(reading.name)) {
        ++counts.apartFromEdges;
        counts.rightApartFromEdges += reading.sure && right ? 1 : 0;
    }
}

void ScanUnderConditions(bool all) {
    const ScanCondition conditions[] = {
        {"white lid, 600 dpi", 600, [](auto& s) { s.whiteLid = true; }, false, 95},
        {"blur 2 px, 300 dpi", 300, [](auto& s) { s.blurAt600 = 4; }, true, 0},
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
    };
    // The pages of each mechanism: the 13 adjustment pages, then the sheet's
    // two; the default set a PF page, the top margin page and the sheet's
    // second page.
    const size_t pages = AdjustmentPages().size() + 2;
    const std::vector<size_t> sample = {10, 11, AdjustmentPages().size() + 1};
    for (const ScanCondition& condition : conditions) {
        if (!condition.inDefault && !all) {
            continue;
        }
        ConditionCounts counts;
        for (uint32_t seed = 0; seed < (all ? 2u : 1u); ++seed) {
            const vprinter::Mechanism mechanism = vprinter::RandomMechanism(2000 + seed);
            const auto sheet = reader_testing::PrintOn(mechanism, reader_testing::PhotoSheet());
            ASSERT_EQ(sheet.size(), 2u);
            std::vector<size_t> chosen = sample;
            if (all) {
                chosen.clear();
                for (size_t page = 0; page < pages; ++page) {
                    chosen.push_back(page);
                }
            }
            for (const size_t page : chosen) {
                auto settings = scan_testing::RandomScanSettings(condition.dpi, seed * 100 + page);
                condition.change(settings);
                const std::string where =
                    std::string(condition.what) + ", seed " + std::to_string(seed) + ", page " +
                    std::to_string(page);
                if (page < AdjustmentPages().size()) {
                    const auto& stream = AdjustmentPages()[page];
                    const vprinter::Mechanism printer = reader_testing::ForPage(mechanism, stream);
                    const auto printed = reader_testing::PrintOn(printer, stream.bytes);
                    const auto read = reader::ReadPage(
                        scan_testing::Scan(reader_testing::Picture(printed.at(0)), settings),
                        condition.dpi);
                    if (read.readings.empty()) {
                        ++counts.readings;
                        counts.apartFromEdges += MeasuredFromEdges(stream.name) ? 0 : 1;
                        continue;
                    }
                    for (const auto& reading : read.readings) {
                        if (reading.name != stream.name) {
                            CountReading(counts, reading, 1000, where);  // any sure one is wrong
                            continue;
                        }
                        CountReading(counts, reading,
                              reader_testing::TrueValue(printer, stream.quantity, false), where);
                    }
                    continue;
                }
                const size_t at = page - AdjustmentPages().size();
                const auto read = reader::ReadPage(
                    scan_testing::Scan(reader_testing::Picture(sheet[at]), settings), condition.dpi);
                if (read.readings.empty()) {
                    counts.readings += at == 0 ? 11 : 2;
                    counts.apartFromEdges += at == 0 ? 11 : 0;
                }
                for (const auto& reading : read.readings) {
                    CountReading(counts, reading, reader_testing::TrueValue(mechanism, reading.name, true),
                          where);
                }
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
