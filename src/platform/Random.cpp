#include "platform/Random.h"

#include <cstdlib>

namespace orvane {

void StdRandom::Seed(uint32_t seed) { std::srand(seed); }

int StdRandom::Next() { return std::rand() & 0x7FFF; }

}  // namespace orvane
