#include "vprinter/Clock.h"

namespace vprinter {

uint64_t Clock::NowMilliseconds() const {
    if (manual_) {
        return manualNow_;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void Clock::UseManual(bool manual) {
    if (manual && !manual_) {
        manualNow_ = NowMilliseconds();
    }
    manual_ = manual;
}

}  // namespace vprinter
