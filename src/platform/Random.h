#pragma once

#include <cstdint>

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

class StdRandom final : public IRandom {
public:
    void Seed(uint32_t seed) override;
    int Next() override;
};

}  // namespace orvane
