#include "tools/common/Waiting.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "link/PrinterStatus.h"
#include "link/ResultCodes.h"
#include "link/Rk7statuscontrol.h"
#include "pattern/Rk7raster.h"
#include "vprinter/Host.h"

namespace orvane::tools {

namespace {

volatile std::sig_atomic_t interrupted = 0;

#ifdef _WIN32
// Set once by the first Ctrl-C: it wakes the sleep that is going on (and only
// that one: the event resets as it wakes it).
HANDLE InterruptEvent() {
    static const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    return event;
}

// Runs on a thread of its own. The second Ctrl-C (or Ctrl-Break, or the
// console closing) goes on to the default handler, which ends the process.
BOOL WINAPI OnConsoleControl(DWORD kind) {
    if (kind != CTRL_C_EVENT || interrupted != 0) {
        return FALSE;
    }
    interrupted = 1;
    SetEvent(InterruptEvent());
    return TRUE;
}
#else
void OnInterrupt(int) {
    interrupted = 1;
}
#endif

constexpr uint32_t kPollMilliseconds = 500;
constexpr uint8_t kPaperOutError = 6;

}  // namespace

void CatchInterrupts() {
#ifdef _WIN32
    InterruptEvent();
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a sleep comes back at once. The second Ctrl-C finds the
    // default action again and ends the process.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
#endif
}

bool Interrupted() {
    return interrupted != 0;
}

ToolClock::ToolClock() {
    const char* manual = std::getenv("ORVANE_MANUAL_CLOCK");
    manual_ = manual != nullptr && std::string(manual) == "1";
}

void ToolClock::Sleep(uint32_t milliseconds) {
    if (manual_) {
        manualNow_ += milliseconds;
        // The printers' clock follows this one from the first sleep on: by
        // then the libraries have made the host on the tool's state folder.
        vprinter::Clock& printers = vprinter::TheHost().GetClock();
        printers.UseManual(true);
        printers.Advance(milliseconds);
        return;
    }
    // A signal cuts only the sleep it arrives in short; later sleeps are
    // whole, so a run that goes on after Ctrl-C keeps its pace.
#ifdef _WIN32
    WaitForSingleObject(InterruptEvent(), milliseconds);
#else
    timespec left{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1000000L};
    nanosleep(&left, &left);
#endif
}

uint64_t ToolClock::Elapsed() const {
    if (manual_) {
        return manualNow_;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

MessageAnswer ConsoleMessages::Show(const MessageRequest& request) {
    if (onPaperOut && request.text == TPRaster::kPaperOutText) {
        return onPaperOut();
    }
    std::string text = request.text;
    for (char& c : text) {
        c = c == '\n' ? ' ' : c;
    }
    err_ << (request.caption.empty() ? "Message" : request.caption) << ": " << text << '\n';
    return MessageAnswer::Ok;
}

uint16_t ConsoleMessages::ShowStatus(int, const std::string& text) {
    err_ << text << '\n';
    return ResultOk;
}

PaperWait::PaperWait(Setup setup, IClock& clock, TPStatusControl& status)
    : setup_(std::move(setup)), clock_(clock), status_(status) {}

MessageAnswer PaperWait::Wait() {
    if (!gaveUp_.empty()) {
        return MessageAnswer::Cancel;
    }
    const std::string dir = setup_.folder.empty() ? "" : " --dir " + setup_.folder;
    *setup_.err << setup_.tool << ": " << setup_.port
                << " is out of paper; load paper into the virtual printer with 'orvane-vprinter"
                << dir << " paper " << setup_.port << " N' (waiting for it)\n";
    uint64_t waited = 0;
    for (;;) {
        if (clock_.WaitsEnd()) {
            gaveUp_ = "interrupted while waiting for paper";
            return MessageAnswer::Cancel;
        }
        if (HasPaper()) {
            return MessageAnswer::Ok;
        }
        if (setup_.limitSeconds && waited >= static_cast<uint64_t>(*setup_.limitSeconds) * 1000) {
            gaveUp_ = "no paper after " + std::to_string(*setup_.limitSeconds) + " s";
            return MessageAnswer::Cancel;
        }
        clock_.Sleep(kPollMilliseconds);
        waited += kPollMilliseconds;
    }
}

bool PaperWait::HasPaper() {
    // A failed inquiry ends the wait too: the send that follows meets the
    // same failure and reports it.
    if (status_.InquirePrinterStatus() != ResultOk) {
        return true;
    }
    const PrinterStatus& record = status_.Record();
    return record.State() != PrinterStatus::StateError || record.ErrorCode() != kPaperOutError;
}

}  // namespace orvane::tools
