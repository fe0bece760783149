// Every adjustment page printed by printers with random mechanisms: the
// reader gives each page's true value, and is sure of it.
#include <gtest/gtest.h>

#include "PrintedPages.h"
#include "reader/PageReading.h"

namespace {

using reader_testing::AdjustmentPages;

constexpr uint32_t kMechanisms = 200;
constexpr uint32_t kShards = 8;  // test cases, so that ctest spreads them over the cores

class RandomMechanisms : public ::testing::TestWithParam<uint32_t> {};

TEST_P(RandomMechanisms, EveryPageReadsTheTrueValue) {
    for (uint32_t seed = GetParam(); seed < kMechanisms; seed += kShards) {
        const vprinter::Mechanism mechanism = vprinter::RandomMechanism(seed);
        for (const auto& stream : AdjustmentPages()) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << ", " << stream.quantity);
            const auto pages = reader_testing::PrintOn(mechanism, stream.bytes);
            ASSERT_EQ(pages.size(), 1u);
            const reader::PageReading page = reader::ReadPage(reader_testing::Picture(pages[0]));
            EXPECT_EQ(reader::KindName(page.kind), stream.page) << page.problem;
            ASSERT_EQ(page.readings.size(), 1u);
            const reader::Reading& reading = page.readings.front();
            const int error =
                mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex(stream.quantity))];
            EXPECT_EQ(reading.name, stream.name);
            EXPECT_TRUE(reading.sure) << reading.note;
            EXPECT_FALSE(reading.ng);
            EXPECT_EQ(reading.value, error);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shards, RandomMechanisms, ::testing::Range(0u, kShards));

}  // namespace
