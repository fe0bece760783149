// The pages of both check sheets and of the nozzle check as the virtual
// printer prints them, compared pixel for pixel with their pictures in
// tests/golden. A sheet that changes must change its pictures knowingly:
//
//   ORVANE_UPDATE_GOLDEN=1 build/dev/bin/pattern_tests --gtest_filter='CheckSheetGolden*'
//
// writes the pages printed now over the pictures; look at them before
// committing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CheckSheetFixture.h"
#include "GoldenPictures.h"
#include "link/ResultCodes.h"
#include "support/TempFolder.h"
#include "vprinter/PageFiles.h"
#include "vprinter/Store.h"

namespace {

using golden_pictures::ExpectSamePicture;
using golden_pictures::Updating;

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
            const std::string path = golden_pictures::PathOf(names[i]);
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
