#include "support/Sample.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <random>

namespace testing_support {

namespace {

constexpr uint32_t kSampleSeed = 20261208;

uint32_t SampleSeed() {
    const char* seed = std::getenv("ORVANE_SAMPLE_SEED");
    return seed != nullptr && *seed != '\0' ? static_cast<uint32_t>(std::strtoul(seed, nullptr, 10))
                                            : kSampleSeed;
}

}  // namespace

bool LongTests() {
    const char* wanted = std::getenv("ORVANE_LONG_TESTS");
    return wanted != nullptr && *wanted != '\0' && std::strcmp(wanted, "0") != 0;
}

std::vector<uint32_t> Cases(uint32_t count, uint32_t sample) {
    std::vector<uint32_t> cases(count);
    std::iota(cases.begin(), cases.end(), 0u);
    if (LongTests() || sample >= count) {
        return cases;
    }
    // A partial Fisher-Yates shuffle by the seed's own generator, whose
    // numbers the standard fixes (unlike its distributions').
    std::mt19937 random(SampleSeed());
    for (uint32_t at = 0; at < sample; ++at) {
        const uint32_t pick = at + static_cast<uint32_t>(random() % (count - at));
        std::swap(cases[at], cases[pick]);
    }
    cases.resize(sample);
    std::sort(cases.begin(), cases.end());
    return cases;
}

bool Sampled(uint32_t at, uint32_t count, uint32_t sample) {
    const auto cases = Cases(count, sample);
    return std::binary_search(cases.begin(), cases.end(), at);
}

std::vector<uint32_t> Shard(const std::vector<uint32_t>& cases, uint32_t shard, uint32_t shards) {
    std::vector<uint32_t> mine;
    for (size_t at = shard; at < cases.size(); at += shards) {
        mine.push_back(cases[at]);
    }
    return mine;
}

}  // namespace testing_support
