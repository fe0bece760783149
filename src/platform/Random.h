#pragma once

#include <cstdint>
#include <random>

namespace orvane {

// The pseudo-random numbers behind the PF dither bytes and the full dump's
// filler: values 0 to 32767. The program uses the standard library's
// generator; tests give a fixed sequence.
class IRandom {
  public:
    virtual ~IRandom() = default;
    virtual void Seed(uint32_t seed) = 0;
    virtual int Next() = 0;  // 0..32767
};

// The standard library's minimal-standard linear congruential generator;
// each value is the top 15 of its 31 bits.
class StdRandom final : public IRandom {
  public:
    void Seed(uint32_t seed) override { engine_.seed(seed); }
    int Next() override { return static_cast<int>(engine_() >> 16); }

  private:
    std::minstd_rand engine_;
};

}  // namespace orvane
