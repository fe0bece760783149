// Every adjustment page printed by printers with random mechanisms: the
// reader gives each page's true value, and is sure of it. The long set goes
// through all 200 mechanisms, the default set through a sample of 4.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "PrintedPages.h"
#include "reader/PageReading.h"
#include "support/Sample.h"

namespace {

using reader_testing::AdjustmentPages;

constexpr uint32_t kMechanisms = 200;
constexpr uint32_t kSample = 4;  // of them, in the default set
constexpr uint32_t kShards = 8;  // test cases, so that ctest spreads them over the cores

// The photo-paper sheet at the stored values 0: of each item's choices the
// one nearest the error is best, sure when the error is among them; page 2
// tells how far off the top margin and first dot are.
void ExpectSheetReadsTheBestChoices(const vprinter::Mechanism& mechanism) {
    const auto pages = reader_testing::PrintOn(mechanism, reader_testing::PhotoSheet());
    ASSERT_EQ(pages.size(), 2u);
    std::vector<reader::Reading> readings;
    for (const auto& printed : pages) {
        const auto page = reader::ReadPage(reader_testing::Picture(printed));
        readings.insert(readings.end(), page.readings.begin(), page.readings.end());
    }
    ASSERT_EQ(readings.size(), 13u);
    for (const auto& reading : readings) {
        SCOPED_TRACE(testing::Message() << "sheet, " << reading.name);
        EXPECT_TRUE(reader_testing::ReadsRight(
            reading, reader_testing::TrueValue(mechanism, reading.name, true),
            reader_testing::BeyondSheet(mechanism, reading.name)))
            << reading.value << (reading.sure ? " sure" : " not sure") << " (" << reading.note
            << ")";
    }
}

class RandomMechanisms : public ::testing::TestWithParam<uint32_t> {};

TEST_P(RandomMechanisms, EveryPageReadsTheTrueValue) {
    const auto seeds =
        testing_support::Shard(testing_support::Cases(kMechanisms, kSample), GetParam(), kShards);
    for (const uint32_t seed : seeds) {
        const vprinter::Mechanism mechanism = vprinter::RandomMechanism(seed);
        for (const auto& stream : AdjustmentPages()) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << ", " << stream.quantity);
            const vprinter::Mechanism printer = reader_testing::ForPage(mechanism, stream);
            const auto pages = reader_testing::PrintOn(printer, stream.bytes);
            ASSERT_EQ(pages.size(), 1u);
            const reader::PageReading page = reader::ReadPage(reader_testing::Picture(pages[0]));
            EXPECT_EQ(reader::KindName(page.kind), stream.page) << page.problem;
            ASSERT_EQ(page.readings.size(), 1u);
            const reader::Reading& reading = page.readings.front();
            EXPECT_EQ(reading.name, stream.name);
            EXPECT_TRUE(reading.sure) << reading.note;
            EXPECT_FALSE(reading.ng);
            EXPECT_EQ(reading.value, reader_testing::TrueValue(printer, stream.quantity, false));
        }
        ExpectSheetReadsTheBestChoices(mechanism);
    }
}

INSTANTIATE_TEST_SUITE_P(Shards, RandomMechanisms, ::testing::Range(0u, kShards));

}  // namespace
