#pragma once

#include <chrono>
#include <cstdint>

namespace vprinter {

// The virtual printers' sense of time: the real monotonic clock, or a manual
// clock that tests advance together with the program's virtual clock.
class Clock {
  public:
    uint64_t NowMilliseconds() const;
    void UseManual(bool manual);
    bool IsManual() const { return manual_; }
    void Advance(uint64_t milliseconds) { manualNow_ += milliseconds; }

  private:
    bool manual_ = false;
    uint64_t manualNow_ = 0;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace vprinter
