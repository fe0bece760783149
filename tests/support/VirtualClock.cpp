#include "support/VirtualClock.h"

#include <numeric>

#include "vprinter/Host.h"

namespace testing_support {

VirtualClock::VirtualClock() {
    vprinter::TheHost().GetClock().UseManual(true);
}

void VirtualClock::Sleep(uint32_t milliseconds) {
    sleeps_.push_back(milliseconds);
    vprinter::TheHost().GetClock().Advance(milliseconds);
    if (onSleep) {
        onSleep(milliseconds);
    }
}

uint64_t VirtualClock::TotalSlept() const {
    return std::accumulate(sleeps_.begin(), sleeps_.end(), uint64_t{0});
}

}  // namespace testing_support
