#pragma once

#include <cstdint>
#include <string>

// Kinds of ShowStatus, by the values callers pass.
enum StatusKind : int {
    StatusInfo = 1,         // black text, replaces the line
    StatusDone = 2,         // waits silently until ready, black, unlocks after 100 ms
    StatusBusy = 3,         // waits with texts until ready, blue, hourglass, locks
    StatusError = 4,        // red, unlocks at once
    StatusAppend = 5,       // appended to the last line
    StatusAddLine = 6,      // added as a new line
    StatusDoneNoWait = 18,  // as StatusDone without the wait
    StatusBusyNoWait = 19,  // as StatusBusy without the wait
};

// The status line and window lock as the core modules reach them: the
// adjustment window implements this, tests fake it.
class IStatusReporter {
  public:
    virtual ~IStatusReporter() = default;
    // Returns 1, or for StatusDone and StatusBusy the failing result of the
    // readiness wait.
    virtual uint16_t ShowStatus(int kind, const std::string& text) = 0;
    // Repaints the window at once, so that the status line is seen while the
    // window thread is busy.
    virtual void Repaint() = 0;
};
