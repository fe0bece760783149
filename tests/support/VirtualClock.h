#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Clock.h"

namespace testing_support {

// A clock that never sleeps: it records every sleep, moves its own time on,
// and tells the virtual printers that the time has passed.
class VirtualClock final : public orvane::IClock {
  public:
    VirtualClock();

    void Sleep(uint32_t milliseconds) override;
    orvane::LocalDateTime Now() override { return now_; }

    void SetNow(const orvane::LocalDateTime& now) { now_ = now; }
    const std::vector<uint32_t>& Sleeps() const { return sleeps_; }
    uint64_t TotalSlept() const;
    void ClearSleeps() { sleeps_.clear(); }
    // Called after each recorded sleep, e.g. to change the printer meanwhile.
    std::function<void(uint32_t)> onSleep;
    // Whether the waits end now, as a tool's clock says after Ctrl-C; none:
    // never, as the program's clocks.
    std::function<bool()> waitsEnd;
    bool WaitsEnd() override { return waitsEnd && waitsEnd(); }

  private:
    std::vector<uint32_t> sleeps_;
    orvane::LocalDateTime now_{2026, 12, 7, 10, 0, 0};
};

}  // namespace testing_support
