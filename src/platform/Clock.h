#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace orvane {

// Local calendar date and time, as the PC's clock shows it.
struct LocalDateTime {
    int year = 0;
    int month = 0;   // 1-12
    int day = 0;     // 1-31
    int hour = 0;    // 0-23
    int minute = 0;  // 0-59
    int second = 0;  // 0-59
    // How far the local time is ahead of UTC, in minutes (negative west of
    // Greenwich).
    int utcOffsetMinutes = 0;
};

// A moment of the system's clock in local time.
LocalDateTime LocalTimeOf(std::time_t moment);

// The time as ISO 8601 with its offset: "2026-12-07T10:00:00+01:00".
std::string IsoTime(const LocalDateTime& time);

// Sleeping on the calling thread and reading the local time. The program uses
// the system clock (or the window's clock that keeps painting while it waits);
// tests use a virtual clock that records every sleep and never sleeps.
class IClock {
  public:
    virtual ~IClock() = default;
    virtual void Sleep(uint32_t milliseconds) = 0;
    virtual LocalDateTime Now() = 0;
    // Whether the waits of the modules end at their next check instead of
    // going on: a tool's clock says so once the run is asked to end (Ctrl-C),
    // and the wait returns ResultInterrupted. The program's clocks never end
    // a wait.
    virtual bool WaitsEnd() { return false; }
};

// One pause of a wait: sleeps unless the wait is to end. False when it is,
// before the sleep or after it, so that nothing is sent again once the run is
// asked to end during the sleep.
inline bool PauseUnlessEnded(IClock& clock, uint32_t milliseconds) {
    if (clock.WaitsEnd()) {
        return false;
    }
    clock.Sleep(milliseconds);
    return !clock.WaitsEnd();
}

class SystemClock final : public IClock {
  public:
    void Sleep(uint32_t milliseconds) override;
    LocalDateTime Now() override;
};

}  // namespace orvane
