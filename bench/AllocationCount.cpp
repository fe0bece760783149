#include "AllocationCount.h"

#include <cstdlib>
#include <new>

namespace bench {
bool countAllocations = false;
uint64_t allocationCount = 0;
}  // namespace bench

void* operator new(std::size_t size) {
    if (bench::countAllocations) {
        ++bench::allocationCount;
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
