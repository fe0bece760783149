#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace orvane {

// Where a module gets the memory it keeps for its whole life: the system's
// allocator, or in tests one that has none to give.
class IMemory {
  public:
    virtual ~IMemory() = default;
    // size zero-filled bytes, or none when the memory cannot be had.
    virtual std::unique_ptr<uint8_t[]> Allocate(size_t size) = 0;
};

class SystemMemory final : public IMemory {
  public:
    std::unique_ptr<uint8_t[]> Allocate(size_t size) override {
        return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size]());
    }
};

}  // namespace orvane
