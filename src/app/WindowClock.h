#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace orvane_app {

// The clock of the window thread. Its sleep keeps every window painted (and
// so the status line current) but takes no input: clicks and keys that
// arrive meanwhile are dropped, and no timer of the windows fires, so the
// unlock timer waits until the operation returns to the event loop. A close
// of the adjustment window that arrives meanwhile is held by the window
// until its operation has returned (TFormAdjust::RunOperation).
//
// With a base clock (tests) a sleep is handed to it in one piece instead.
class WindowClock final : public orvane::IClock {
  public:
    // base: none for the real clock, or the clock that tests advance.
    explicit WindowClock(orvane::IClock* base = nullptr) : base_(base) {}

    void Sleep(uint32_t milliseconds) override;
    orvane::LocalDateTime Now() override;

    // True while a sleep runs: an operation is under way.
    bool Waiting() const { return depth_ > 0; }

    // How often the windows are painted during a sleep.
    static constexpr uint32_t kSliceMilliseconds = 10;

  private:
    void SleepPainting(uint32_t milliseconds);

    orvane::IClock* base_ = nullptr;
    orvane::SystemClock system_;
    int depth_ = 0;
};

}  // namespace orvane_app
