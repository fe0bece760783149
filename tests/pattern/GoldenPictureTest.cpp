// Every generator's page as the virtual printer prints it, compared pixel for
// pixel with its picture in tests/golden. A generator that changes must
// change its picture knowingly:
//
//   ORVANE_UPDATE_GOLDEN=1 build/dev/bin/pattern_tests --gtest_filter='Golden*'
//
// writes the pages printed now over the pictures in tests/golden; look at
// them before committing.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "GoldenPictures.h"
#include "PatternFixture.h"
#include "link/ResultCodes.h"
#include "support/TempFolder.h"
#include "vprinter/PageFiles.h"
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
    const std::string goldenPath = golden_pictures::PathOf(golden.name);

    if (golden_pictures::Updating()) {
        testing_support::WriteFile(goldenPath, page);
        GTEST_SKIP() << "wrote " << goldenPath;
    }
    golden_pictures::ExpectSamePicture(page, goldenPath);
}

INSTANTIATE_TEST_SUITE_P(EveryGenerator, GoldenPicture, ::testing::ValuesIn(Goldens()),
                         [](const auto& generator) { return generator.param.name; });

}  // namespace
