#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <iostream>
#include <optional>
#include <ostream>
#include <string>

#include "link/StatusReporter.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"

class TPStatusControl;

namespace orvane::tools {

// Message boxes and status texts of a program without windows: each goes to
// err as one line; a box is answered with OK. The paper-out box goes to
// onPaperOut instead, which answers it.
class ConsoleMessages final : public IMessageBox, public IStatusReporter {
  public:
    explicit ConsoleMessages(std::ostream& err = std::cerr) : err_(err) {}

    std::function<MessageAnswer()> onPaperOut;

    MessageAnswer Show(const MessageRequest& request) override;
    uint16_t ShowStatus(int kind, const std::string& text) override;
    void Repaint() override {}

  private:
    std::ostream& err_;
};

// Ctrl-C: the first asks the run to end (every wait ends at its next check;
// what the printer got so far is still written), a second ends the process at
// once.
void CatchInterrupts();
bool Interrupted();

// The exit code of a run that an interrupt ended.
inline constexpr int kExitInterrupted = 130;

// The tool's clock. With ORVANE_MANUAL_CLOCK=1 in the environment it never
// sleeps: a sleep moves its own time and the virtual printers' clock on at
// once, so a run that waits (for paper, for a page to come out) takes no real
// time. Otherwise it sleeps for real, and an interrupt cuts the sleep it
// arrives in short. Once interrupted, it ends every wait of the modules.
class ToolClock final : public IClock {
  public:
    ToolClock();

    void Sleep(uint32_t milliseconds) override;
    LocalDateTime Now() override { return system_.Now(); }
    bool WaitsEnd() override { return Interrupted(); }

    bool IsManual() const { return manual_; }
    // Milliseconds since the clock was made.
    uint64_t Elapsed() const;

  private:
    SystemClock system_;
    bool manual_ = false;
    uint64_t manualNow_ = 0;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// What a tool does with the paper-out box: one line saying that the printer
// is out of paper and how to load some, then a wait until its status shows
// paper again, asked every 500 ms. The wait is given up (the box is answered
// with Cancel, which ends the send) after the time limit (counted in the
// clock's sleeps) or when the clock ends waits (an interrupt); once given up,
// every later paper-out box is answered so at once.
class PaperWait {
  public:
    struct Setup {
        std::string port;
        std::string folder;               // --dir as given, empty when not
        std::optional<int> limitSeconds;  // nothing: wait for as long as it takes
        std::string tool = "orvane-pattern";
        std::ostream* err = &std::cerr;
    };

    PaperWait(Setup setup, IClock& clock, TPStatusControl& status);

    MessageAnswer Wait();
    // Why the wait was given up, empty while it has not been.
    const std::string& GaveUp() const { return gaveUp_; }

  private:
    bool HasPaper();

    Setup setup_;
    IClock& clock_;
    TPStatusControl& status_;
    std::string gaveUp_;
};

}  // namespace orvane::tools
