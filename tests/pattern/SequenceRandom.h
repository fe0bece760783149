#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "platform/Random.h"

namespace testing_support {

// Random numbers from a fixed list, over and over, so that a pattern with
// dither bytes comes out the same at every run.
class SequenceRandom final : public orvane::IRandom {
  public:
    explicit SequenceRandom(std::vector<int> values) : values_(std::move(values)) {}

    void Seed(uint32_t) override { next_ = 0; }
    int Next() override {
        const int value = values_[next_];
        next_ = (next_ + 1) % values_.size();
        ++drawn_;
        return value;
    }
    size_t Drawn() const { return drawn_; }

  private:
    std::vector<int> values_;
    size_t next_ = 0;
    size_t drawn_ = 0;
};

}  // namespace testing_support
