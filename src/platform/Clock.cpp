#include "platform/Clock.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

namespace orvane {

void SystemClock::Sleep(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

LocalDateTime SystemClock::Now() {
    return LocalTimeOf(std::time(nullptr));
}

LocalDateTime LocalTimeOf(std::time_t moment) {
    std::tm parts{};
    localtime_r(&moment, &parts);
    return LocalDateTime{parts.tm_year + 1900,
                         parts.tm_mon + 1,
                         parts.tm_mday,
                         parts.tm_hour,
                         parts.tm_min,
                         parts.tm_sec,
                         static_cast<int>(parts.tm_gmtoff / 60)};
}

std::string IsoTime(const LocalDateTime& time) {
    const int offset = std::abs(time.utcOffsetMinutes);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", time.year,
                  time.month, time.day, time.hour, time.minute, time.second,
                  time.utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

}  // namespace orvane
