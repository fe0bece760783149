#pragma once

// The golden pictures in tests/golden: printed pages compared pixel for pixel
// with the pictures stored for them. ORVANE_UPDATE_GOLDEN=1 makes the tests
// write the pages printed now over the stored pictures instead.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "vprinter/Png.h"

namespace golden_pictures {

inline bool Updating() {
    const char* update = std::getenv("ORVANE_UPDATE_GOLDEN");
    return update != nullptr && *update != '\0' && std::string(update) != "0";
}

// The stored picture of a name.
inline std::string PathOf(const std::string& name) {
    // Built by appending: GCC 12 at -O2 warns falsely (array-bounds) on a
    // short temporary string moved through operator+.
    std::string path = ORVANE_GOLDEN_DIR;
    path.append("/").append(name).append(".png");
    return path;
}

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;
};

inline bool Decode(const std::string& file, Picture& picture) {
    const std::vector<uint8_t> png(file.begin(), file.end());
    return vprinter::DecodePng(png, picture.width, picture.height, picture.pixels);
}

// Whether a printed page (its PNG file's bytes) shows the same pixels as the
// picture stored at path.
inline void ExpectSamePicture(const std::string& page, const std::string& path) {
    const std::string stored = testing_support::ReadFile(path);
    ASSERT_FALSE(stored.empty()) << "no picture " << path << " (ORVANE_UPDATE_GOLDEN=1 writes it)";
    Picture now;
    Picture before;
    ASSERT_TRUE(Decode(page, now));
    ASSERT_TRUE(Decode(stored, before));
    ASSERT_EQ(now.width, before.width) << path;
    ASSERT_EQ(now.height, before.height) << path;
    size_t differing = 0;
    size_t first = 0;
    for (size_t i = 0; i < now.pixels.size(); ++i) {
        if (now.pixels[i] != before.pixels[i]) {
            first = differing++ == 0 ? i : first;
        }
    }
    EXPECT_EQ(differing, 0u) << "first at row " << first / now.width << ", column "
                             << first % now.width << " (ORVANE_UPDATE_GOLDEN=1 rewrites " << path
                             << ")";
}

}  // namespace golden_pictures
