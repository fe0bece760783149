#include "eeprom/EepromImage.h"

namespace eeprom {

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
