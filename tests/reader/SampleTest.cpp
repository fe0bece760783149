// The sample of a long test's cases that the default set goes through: the
// same at every run, a true subset, all of them in the long set.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "support/Sample.h"
#include "support/ScopedEnvironment.h"

namespace {

using testing_support::Cases;
using testing_support::ScopedEnvironment;

TEST(Sample, TheDefaultSetDrawsTheSameFewCasesTheLongSetAll) {
    const struct {
        const char* longTests;
        const char* seed;
        uint32_t count, sample, expected;
    } runs[] = {
        {nullptr, nullptr, 200, 8, 8}, {"0", nullptr, 200, 8, 8},   {"", "7", 200, 8, 8},
        {"1", nullptr, 200, 8, 200},   {nullptr, nullptr, 4, 8, 4}, {nullptr, nullptr, 15, 0, 0},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(testing::Message()
                     << "ORVANE_LONG_TESTS " << (run.longTests ? run.longTests : "unset") << ", "
                     << run.count << " cases, sample " << run.sample);
        ScopedEnvironment longTests("ORVANE_LONG_TESTS", run.longTests);
        ScopedEnvironment seed("ORVANE_SAMPLE_SEED", run.seed);
        const auto cases = Cases(run.count, run.sample);
        ASSERT_EQ(cases.size(), run.expected);
        EXPECT_TRUE(std::is_sorted(cases.begin(), cases.end()));
        EXPECT_EQ(std::set<uint32_t>(cases.begin(), cases.end()).size(), cases.size());
        EXPECT_TRUE(
            std::all_of(cases.begin(), cases.end(), [&](uint32_t at) { return at < run.count; }));
        EXPECT_EQ(Cases(run.count, run.sample), cases) << "drawn again";
        for (uint32_t at = 0; at < run.count; ++at) {
            EXPECT_EQ(testing_support::Sampled(at, run.count, run.sample),
                      std::binary_search(cases.begin(), cases.end(), at))
                << at;
        }
    }
}

TEST(Sample, AnotherSeedDrawsAnotherSampleAndTheShardsShareItOut) {
    ScopedEnvironment longTests("ORVANE_LONG_TESTS", nullptr);
    const auto fixed = Cases(200, 8);
    {
        ScopedEnvironment seed("ORVANE_SAMPLE_SEED", "1");
        EXPECT_NE(Cases(200, 8), fixed);
    }
    // Not the first cases: a sample, not a cut.
    EXPECT_NE(fixed, Cases(8, 8));
    std::vector<uint32_t> dealt;
    for (uint32_t shard = 0; shard < 3; ++shard) {
        const auto mine = testing_support::Shard(fixed, shard, 3);
        EXPECT_EQ(mine.size(), shard < 2 ? 3u : 2u);
        dealt.insert(dealt.end(), mine.begin(), mine.end());
    }
    std::sort(dealt.begin(), dealt.end());
    EXPECT_EQ(dealt, fixed);
}

}  // namespace
