#pragma once

// The long randomized and simulated-scan tests go through every one of their
// cases in the long set (ctest's label "long", `ctest --preset long`, whose
// tests run with ORVANE_LONG_TESTS=1) and through a sample of the same cases
// in the default set, so that the default run stays short and drops no case.
#include <cstdint>
#include <vector>

namespace testing_support {

// Whether this run is the long set's: ORVANE_LONG_TESTS set, and not to 0.
bool LongTests();

// The cases of a test, numbered 0 to count - 1: all of them in the long set,
// else `sample` of them drawn at random by a fixed seed, the same at every
// run (ORVANE_SAMPLE_SEED=N draws another sample). In increasing order.
std::vector<uint32_t> Cases(uint32_t count, uint32_t sample);

// Whether case `at` of `count` is among Cases(count, sample): a test of a
// single case skips itself when it is not.
bool Sampled(uint32_t at, uint32_t count, uint32_t sample);

// Of the cases, those of one shard: every `shards`-th from the `shard`-th.
std::vector<uint32_t> Shard(const std::vector<uint32_t>& cases, uint32_t shard, uint32_t shards);

}  // namespace testing_support
