// Every generator's page as the virtual printer prints it, compared pixel for
// pixel with its picture in tests/golden. A generator that changes must
// change its picture knowingly:
//
//   ORVANE_UPDATE_GOLDEN=1 build/dev/bin/pattern_generator_tests --gtest_filter='Golden*'
//
// writes the pages printed now over the pictures in tests/golden; look at
// them before committing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>

#include "PatternFixture.h"
#include "link/ResultCodes.h"
#include "support/TempFolder.h"
#include "vprinter/PageFiles.h"
#include "vprinter/Png.h"
#include "vprinter/Store.h"

namespace {

using testing_support::PatternTest;

struct Golden {
    std::string name;
    std::function<uint16_t(TPPattern&)> print;
    bool ejects = false;  // the generator ejects its page itself
};

// Shown by the test's name only.
void PrintTo(const Golden& generator, std::ostream* os) {
    *os << generator.name;
}

const std::vector<Golden>& Goldens() {
    static const std::vector<Golden> goldens = {
        {"Beta", [](TPPattern& p) { return p.PrintBetaPattern(); }},
        {"VerticalAlignment", [](TPPattern& p) { return p.PrintVerticalAlignmentPattern(); }},
        {"HorizontalAlignment", [](TPPattern& p) { return p.PrintHorizontalAlignmentPattern(); }},
        {"HeadAngular", [](TPPattern& p) { return p.PrintHeadAngularPattern(); }},
        {"SheetHeadAngular", [](TPPattern& p) { return p.PrintSheetHeadAngularPattern(); }},
        {"PfBlack", [](TPPattern& p) { return p.PrintPfBlackPattern(); }},
        {"PfColor", [](TPPattern& p) { return p.PrintPfColorPattern(); }},
        {"SheetPfBlack", [](TPPattern& p) { return p.PrintSheetPfBlackPattern(0); }},
        {"SheetPfColor", [](TPPattern& p) { return p.PrintSheetPfColorPattern(0); }},
        {"FirstDot", [](TPPattern& p) { return p.PrintFirstDotPattern(); }, true},
        {"TopMargin", [](TPPattern& p) { return p.PrintTopMarginPattern(0); }},
        {"SheetTopMargin", [](TPPattern& p) { return p.PrintSheetTopMarginPattern(); }},
        {"AccumulatedPitch", [](TPPattern& p) { return p.PrintAccumulatedPitchPattern(); }},
        {"BidBlackVsd1", [](TPPattern& p) { return p.PrintBidBlackPattern(16, 0); }},
        {"BidColorEco", [](TPPattern& p) { return p.PrintBidColorPattern(19, 0); }},
        {"SheetBidBlackVsd3", [](TPPattern& p) { return p.PrintSheetBidBlackPattern(18, 0); }},
        {"SheetBidColorVsd2", [](TPPattern& p) { return p.PrintSheetBidColorPattern(17, 0); }},
    };
    return goldens;
}

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

class GoldenPicture : public PatternTest, public ::testing::WithParamInterface<Golden> {};

TEST_P(GoldenPicture, ThePrintedPageIsTheStoredPicture) {
    const Golden& golden = GetParam();
    ASSERT_EQ(golden.print(pattern_), ResultOk);
    if (!golden.ejects) {
        ASSERT_EQ(raster_.EjectPage(), ResultOk);
    }
    const std::string pages = Printers().GetStore().PagesFolder("VTUSB001");
    const auto printed = vprinter::ListPages(pages);
    ASSERT_EQ(printed.size(), 1u) << "one page, in " << pages;
    const std::string page = testing_support::ReadFile(pages + "/" + printed.front());
    const std::string goldenPath = std::string(ORVANE_GOLDEN_DIR) + "/" + golden.name + ".png";

    if (Updating()) {
        testing_support::WriteFile(goldenPath, page);
        GTEST_SKIP() << "wrote " << goldenPath;
    }
    const std::string stored = testing_support::ReadFile(goldenPath);
    ASSERT_FALSE(stored.empty()) << "no picture " << goldenPath
                                 << " (ORVANE_UPDATE_GOLDEN=1 writes it)";
    Picture now;
    Picture before;
    ASSERT_TRUE(Decode(page, now));
    ASSERT_TRUE(Decode(stored, before));
    ASSERT_EQ(now.width, before.width);
    ASSERT_EQ(now.height, before.height);
    size_t differing = 0;
    size_t first = 0;
    for (size_t i = 0; i < now.pixels.size(); ++i) {
        if (now.pixels[i] != before.pixels[i]) {
            first = differing++ == 0 ? i : first;
        }
    }
    EXPECT_EQ(differing, 0u) << "first at row " << first / now.width << ", column "
                             << first % now.width << " (ORVANE_UPDATE_GOLDEN=1 rewrites "
                             << goldenPath << ")";
}

INSTANTIATE_TEST_SUITE_P(EveryGenerator, GoldenPicture, ::testing::ValuesIn(Goldens()),
                         [](const auto& generator) { return generator.param.name; });

}  // namespace
