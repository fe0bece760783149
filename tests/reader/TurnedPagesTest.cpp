// Pages laid upside down on the scanner, or their pictures turned half
// round: the reader turns them back and reads what it reads upright, or
// refuses them; it is never sure of another value.
#include <gtest/gtest.h>

#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "PrintedPages.h"
#include "reader/PageReading.h"
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

void ExpectSameOrRefused(const reader::PageReading& upright, const reader::PageReading& turned,
                         const std::string& what) {
    ASSERT_TRUE(upright.AllSure()) << what << ": " << upright.problem;
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
        EXPECT_EQ(reading.name, upright.readings[at].name) << what;
        EXPECT_EQ(reading.ValueText(), upright.readings[at].ValueText())
            << what << ", " << reading.name;
    }
}

std::vector<std::pair<std::string, vprinter::Page>> AllPages() {
    std::vector<std::pair<std::string, vprinter::Page>> pages;
    for (const auto& stream : AdjustmentPages()) {
        auto printed =
            reader_testing::PrintOn(reader_testing::ForPage(Mechanism(), stream), stream.bytes);
        pages.emplace_back(stream.quantity, std::move(printed.at(0)));
    }
    auto sheet = reader_testing::PrintOn(Mechanism(), reader_testing::PhotoSheet());
    pages.emplace_back("sheet page 1", std::move(sheet.at(0)));
    pages.emplace_back("sheet page 2", std::move(sheet.at(1)));
    return pages;
}

TEST(TurnedPages, PicturesTurnedHalfRoundReadAsUpright) {
    for (const auto& [what, printed] : AllPages()) {
        const cv::Mat picture = reader_testing::Picture(printed).clone();
        cv::Mat turned;
        cv::rotate(picture, turned, cv::ROTATE_180);
        const auto upright = reader::ReadPage(picture);
        const auto read = reader::ReadPage(turned);
        ExpectSameOrRefused(upright, read, what);
        // The virtual printer's pictures are whole sheets: they are turned back.
        EXPECT_TRUE(read.AllSure()) << what << ": " << read.problem;
    }
}

TEST(TurnedPages, ScansOfSheetsLaidUpsideDownReadAsUpright) {
    uint64_t seed = 0;
    for (const auto& [what, printed] : AllPages()) {
        const cv::Mat picture = reader_testing::Picture(printed).clone();
        cv::Mat turned;
        cv::rotate(picture, turned, cv::ROTATE_180);
        const auto settings = scan_testing::RandomScanSettings(300, 77 + ++seed);
        const auto upright = reader::ReadPage(scan_testing::Scan(picture, settings), 300);
        const auto read = reader::ReadPage(scan_testing::Scan(turned, settings), 300);
        ExpectSameOrRefused(upright, read, what);
    }
}

}  // namespace
