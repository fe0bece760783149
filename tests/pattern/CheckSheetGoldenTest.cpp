// The pages of both check sheets and of the nozzle check as the virtual
// printer prints them, compared pixel for pixel with their pictures in
// tests/golden. A sheet that changes must change its pictures knowingly:
//
//   ORVANE_UPDATE_GOLDEN=1 build/dev/bin/pattern_generator_tests --gtest_filter='CheckSheetGolden*'
//
// writes the pages printed now over the pictures; look at them before
// committing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "CheckSheetFixture.h"
#include "link/ResultCodes.h"
#include "support/TempFolder.h"
#include "vprinter/PageFiles.h"
#include "vprinter/Png.h"
#include "vprinter/Store.h"

namespace {

bool Updating() {
    const char* update = std::getenv("ORVANE_UPDATE_GOLDEN");
    return update != nullptr && *update != '\0' && std::string(update) != "0";
}

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;
};

bool Decode(const std::string& file, Picture& picture) {
    const std::vector<uint8_t> png(file.begin(), file.end());
    return vprinter::DecodePng(png, picture.width, picture.height, picture.pixels);
}

class CheckSheetGolden : public testing_support::CheckSheetTest {
  protected:
    // The pages printed so far are the pictures of these names, in order.
    void ExpectPagesArePictures(const std::vector<std::string>& names) {
        EXPECT_TRUE(Calls("fault").empty()) << Calls("fault").front().note;
        const std::string folder = Printers().GetStore().PagesFolder("VTUSB001");
        const auto printed = vprinter::ListPages(folder);
        ASSERT_EQ(printed.size(), names.size()) << "pages in " << folder;
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string page = testing_support::ReadFile(folder + "/" + printed[i]);
            const std::string path = std::string(ORVANE_GOLDEN_DIR) + "/" + names[i] + ".png";
            if (Updating()) {
                testing_support::WriteFile(path, page);
                continue;
            }
            ExpectSamePicture(page, path);
        }
        if (Updating()) {
            GTEST_SKIP() << "wrote the pictures";
        }
    }

    static void ExpectSamePicture(const std::string& page, const std::string& path) {
        const std::string stored = testing_support::ReadFile(path);
        ASSERT_FALSE(stored.empty())
            << "no picture " << path << " (ORVANE_UPDATE_GOLDEN=1 writes it)";
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
                                 << first % now.width << " (ORVANE_UPDATE_GOLDEN=1 rewrites "
                                 << path << ")";
    }
};

TEST_F(CheckSheetGolden, NormalPaperSheet) {
    ASSERT_EQ(sheet_.PrintNormalPaperSheet(), ResultOk);
    ExpectPagesArePictures({"NormalPaperSheet"});
}

TEST_F(CheckSheetGolden, PhotoPaperSheet) {
    StoreBytes({{0x34, 1}, {0x35, 0xFF}, {0x2C, 2}, {0x2D, 0xFD}});
    random_.Seed(0);
    ASSERT_EQ(sheet_.PrintPhotoPaperSheet(), ResultOk);
    ExpectPagesArePictures({"PhotoPaperSheet1", "PhotoPaperSheet2"});
}

TEST_F(CheckSheetGolden, NozzleCheck) {
    ASSERT_EQ(remote_.PrintNozzleCheck(), ResultOk);
    ASSERT_EQ(raster_.EjectPage(), ResultOk);
    ExpectPagesArePictures({"NozzleCheck"});
}

}  // namespace
