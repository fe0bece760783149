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
#ifdef _WIN32
    // No tm_gmtoff: the offset is how far the local fields, read as UTC, are
    // from the moment.
    localtime_s(&parts, &moment);
    std::tm asUtc = parts;
    const long offsetSeconds = static_cast<long>(_mkgmtime(&asUtc) - moment);
#else
    localtime_r(&moment, &parts);
    const long offsetSeconds = parts.tm_gmtoff;
#endif
    return LocalDateTime{parts.tm_year + 1900,
                         parts.tm_mon + 1,
                         parts.tm_mday,
                         parts.tm_hour,
                         parts.tm_min,
                         parts.tm_sec,
                         static_cast<int>(offsetSeconds / 60)};
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
