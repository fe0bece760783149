#pragma once

#include <cstdint>

// The global operator new of a benchmark program, replaced to count the heap
// allocations made while countAllocations is set.
namespace bench {
extern bool countAllocations;
extern uint64_t allocationCount;
}  // namespace bench
