#include "eeprom/EepromImage.h"

namespace eeprom {

namespace {

// Days from 1 January 1970 to a date of the proleptic Gregorian calendar.
int64_t DaysSinceEpoch(int year, int month, int day) {
    const int64_t y = year - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

uint32_t DumpSeedOf(const orvane::LocalDateTime& now) {
    const int64_t seconds = DaysSinceEpoch(now.year, now.month, now.day) * 86400 +
                            int64_t{now.hour} * 3600 + int64_t{now.minute} * 60 + now.second;
    return static_cast<uint32_t>(seconds);
}

Image BuildImage(const Bytes& bytes, orvane::IRandom& random) {
    Image image{};
    size_t filler = 0;
    for (size_t j = 0; j < image.size(); ++j) {
        const uint8_t value = bytes[j / 4];
        switch (j % 4) {
            case 0:
                image[j] = static_cast<uint8_t>(random.Next() & 0xFF);
                break;
            case 1:
                image[j] = static_cast<uint8_t>(value >> 4);
                image[j + 1] = static_cast<uint8_t>(value << 4);
                break;
            case 2:
                break;  // the low nibble, set with the high one
            default:
                image[j] = static_cast<uint8_t>(kImageFiller[filler]);
                filler = (filler + 1) % kImageFiller.size();
                break;
        }
    }
    for (size_t k = 0; k < image.size(); ++k) {
        image[k] = static_cast<uint8_t>(image[k] + 7 * k + 3);
    }
    return image;
}

}  // namespace eeprom
