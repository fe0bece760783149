// The adjustment patterns printed on a virtual printer whose mechanism is
// off: each shows its marks lined up at the true value and off elsewhere,
// by as much as the distance from it, measured on the printed page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "PatternFixture.h"
#include "adjust/Rk7headangular.h"
#include "adjust/StoredValues.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "link/Rk7remotecomm.h"
#include "support/PageMeasure.h"
#include "vprinter/Mechanism.h"
#include "vprinter/Misregistration.h"
#include "vprinter/Store.h"

namespace {

using namespace page_measure;
using testing_support::PatternTest;
using vprinter::MechanismIndex;

constexpr int64_t kMarkRows = 75;  // taller than a line of text

class Misregistered : public PatternTest {
  protected:
    void SetError(const std::string& name, int error) {
        vprinter::Mechanism mechanism;
        mechanism.errors[static_cast<size_t>(MechanismIndex(name))] = static_cast<int8_t>(error);
        ASSERT_TRUE(Printers().GetStore().SaveMechanism("VTUSB001", mechanism));
    }
    const Page& Printed(uint16_t result, bool ejected = false) {
        EXPECT_EQ(result, ResultOk);
        if (!ejected) {
            EXPECT_EQ(raster_.EjectPage(), ResultOk);
        }
        const auto* pages = Printers().PrintedPages("VTUSB001");
        EXPECT_TRUE(pages != nullptr && !pages->empty());
        return pages->back();
    }
};

// Bi-D page: the rows of marks at test values stored - 2 .. stored + 2; a
// mark's comb lands across by its distance from the true error.
struct BidCase {
    const char* quantity;
    uint8_t dotSize;
    bool black;
};

// The marks of a Bi-D page: rows 0 and 2 one at byte 290, row 1 three at
// 236, 290 and 344 with v - 2, v and v + 2.
struct BidMark {
    int byte;
    size_t run;  // the mark's place among the marks at its byte, top down
    int value;
};

std::vector<BidMark> BidMarks(int stored) {
    return {{290, 0, stored - 1},
            {236, 0, stored - 2},
            {290, 1, stored},
            {344, 0, stored + 2},
            {290, 2, stored + 1}};
}

class BidMisregistration : public Misregistered, public ::testing::WithParamInterface<BidCase> {};

TEST_P(BidMisregistration, TheCombLinesUpOnlyAtTheTrueValue) {
    const BidCase& bid = GetParam();
    for (const int error : {-2, 0, 1}) {
        SCOPED_TRACE(testing::Message() << bid.quantity << " = " << error);
        SetError(bid.quantity, error);
        const int stored = 0;
        const Page& page = Printed(bid.black ? pattern_.PrintBidBlackPattern(bid.dotSize, stored)
                                             : pattern_.PrintBidColorPattern(bid.dotSize, stored));
        for (const BidMark& mark : BidMarks(stored)) {
            const int64_t from = 4 * mark.byte;
            const auto runs = InkedRows(page, from, from + 80, kMarkRows);
            ASSERT_GT(runs.size(), mark.run);
            EXPECT_EQ(CombOffset(page, runs[mark.run], from, from + 80),
                      vprinter::kBidDotsPerStep * (error - mark.value))
                << "mark of " << mark.value;
        }
    }
}

const std::vector<BidCase> kBidCases = {
    {"bid-eco-black", 19, true},   {"bid-eco-color", 19, false}, {"bid-vsd1-black", 16, true},
    {"bid-vsd1-color", 16, false}, {"bid-vsd2-black", 17, true}, {"bid-vsd2-color", 17, false},
    {"bid-vsd3-black", 18, true},  {"bid-vsd3-color", 18, false}};

INSTANTIATE_TEST_SUITE_P(EveryModeAndInk, BidMisregistration, ::testing::ValuesIn(kBidCases),
                         [](const auto& param) {
                             std::string name = param.param.quantity;
                             std::erase(name, '-');
                             return name;
                         });

TEST_F(Misregistered, HeadAngularMarkIsStraightOnlyAtTheTrueValue) {
    for (const int error : {-3, 0, 3, 6}) {
        SCOPED_TRACE(testing::Message() << "head angular " << error);
        SetError("head-angular", error);
        const Page& page = Printed(pattern_.PrintHeadAngularPattern());
        // Mark s at byte 270 + 36 s; the test band's mark is stepped 3 s - 6
        // against the reference band's: "NG", -3, 0, 3, "NG".
        for (int s = 0; s < 5; ++s) {
            const int64_t from = 4 * (270 + 36 * s) - 12;
            const auto runs = InkedRows(page, from, from + 60, kMarkRows);
            ASSERT_FALSE(runs.empty());
            const int64_t join = runs.front().first + 270;  // one band of 90 nozzles down
            EXPECT_EQ(Bend(page, join, from, from + 60), (3 * s - 6) - error) << "mark " << s;
        }
    }
}

// The head angular page as its page prints it (its remote setting first),
// printed again after each value the page writes: the page is printed without
// the stored tilt correction, so the one straight mark stands under the label
// of the true error whatever is stored, as on the first print.
TEST_F(Misregistered, HeadAngularPageShowsTheTrueErrorWhateverIsStored) {
    TPHeadAngular writer(Link(), factory_);
    TPRemoteComm remote(raster_);
    for (const int written : {-3, 0, 3}) {
        for (const int error : {-3, 0, 3}) {
            SCOPED_TRACE(testing::Message() << "written " << written << ", error " << error);
            SetError("head-angular", error);
            ASSERT_EQ(writer.WriteHeadAngularValue(std::to_string(written)), ResultOk);
            ASSERT_EQ(static_cast<int8_t>(Eeprom()[eeprom::HeadAngular]), written);
            const Page& page =
                Printed(adjust::PrintHeadAngularPage(remote, pattern_, raster_), true);
            // The scale's labels by where the printer put their text.
            const auto scale = std::find_if(page.Texts().begin(), page.Texts().end(),
                                            [](const auto& t) { return t.text.find("NG") == 29; });
            ASSERT_NE(scale, page.Texts().end()) << page.AllText();
            const size_t at = scale->text.find(" " + std::to_string(error) + " ") + 1;
            ASSERT_NE(at, 0u);
            const size_t length = std::to_string(error).size();
            const int64_t label = scale->column + static_cast<int64_t>(at) * 36 +
                                  static_cast<int64_t>(length) * 18;  // its middle
            int straight = 0;
            for (int s = 0; s < 5; ++s) {
                const int64_t from = 4 * (270 + 36 * s) - 12;
                const auto runs = InkedRows(page, from, from + 60, kMarkRows);
                ASSERT_FALSE(runs.empty());
                const int64_t middle = FirstColumn(page, runs.front().first, from, from + 60) + 6;
                const bool under = std::abs(middle - label) < 36;
                EXPECT_TRUE(runs.front().last < scale->row) << "the scale is under the marks";
                if (Bend(page, runs.front().first + 270, from, from + 60) == 0) {
                    ++straight;
                    EXPECT_TRUE(under) << "mark " << s << " is straight, not under " << error;
                }
            }
            EXPECT_EQ(straight, 1);
            ASSERT_TRUE(page.stored.has_value());
            EXPECT_EQ((*page.stored)[static_cast<size_t>(MechanismIndex("head-angular"))], 0)
                << "printed without the tilt correction";
        }
    }
}

// PF pages: eleven steps at test values -5 .. 5; the second block meets the
// first only where the test value is the true error.
class PfMisregistration : public Misregistered, public ::testing::WithParamInterface<bool> {};

TEST_P(PfMisregistration, BlocksMeetOnlyAtTheTrueValue) {
    const bool black = GetParam();
    for (const int error : {-4, 0, 3}) {
        SCOPED_TRACE(testing::Message() << (black ? "pf-black " : "pf-color ") << error);
        SetError(black ? "pf-black" : "pf-color", error);
        const Page& page =
            Printed(black ? pattern_.PrintPfBlackPattern() : pattern_.PrintPfColorPattern());
        // First blocks alone in dots 720-863, second blocks in 1200-1343.
        const auto firsts = InkedRows(page, 720, 864, kMarkRows);
        const auto seconds = InkedRows(page, 1200, 1344, kMarkRows);
        ASSERT_EQ(firsts.size(), 11u);
        ASSERT_EQ(seconds.size(), 11u);
        for (int step = 0; step < 11; ++step) {
            EXPECT_EQ(Gap(firsts[step], seconds[step]),
                      vprinter::kPfRowsPerStep * (error - (step - 5)))
                << "step of " << step - 5;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BlackAndColour, PfMisregistration, ::testing::Bool());

// Every adjustment page of printers whose mechanisms are drawn at random, all
// thirteen errors at once: each page lines up at its own true values wherever
// the others put the page (stored values 0: the first-dot error moves the page
// across, the top-margin error down, the tilt of the head each nozzle).
class RandomMechanism : public Misregistered, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(RandomMechanism, EveryPageLinesUpAtItsTrueValues) {
    const vprinter::Mechanism mechanism = vprinter::RandomMechanism(GetParam());
    ASSERT_TRUE(Printers().GetStore().SaveMechanism("VTUSB001", mechanism));
    const auto error = [&](const char* name) {
        return static_cast<int>(mechanism.errors[static_cast<size_t>(MechanismIndex(name))]);
    };
    const int64_t across = vprinter::kFirstDotDotsPerStep * error("first-dot");

    for (const BidCase& bid : kBidCases) {
        const Page& page = Printed(bid.black ? pattern_.PrintBidBlackPattern(bid.dotSize, 0)
                                             : pattern_.PrintBidColorPattern(bid.dotSize, 0));
        for (const BidMark& mark : BidMarks(0)) {
            const int64_t from = 4 * mark.byte + across - 12;
            const auto runs = InkedRows(page, from, from + 104, kMarkRows);
            ASSERT_GT(runs.size(), mark.run) << bid.quantity;
            EXPECT_EQ(CombOffset(page, runs[mark.run], from, from + 104),
                      vprinter::kBidDotsPerStep * (error(bid.quantity) - mark.value))
                << bid.quantity << ", mark of " << mark.value;
        }
    }

    // Head angular: the bands join 270 rows down, apart or over each other
    // by the PF black misregistration.
    const Page& angular = Printed(pattern_.PrintHeadAngularPattern());
    const int64_t apart = vprinter::kPfRowsPerStep * error("pf-black");
    for (int s = 0; s < 5; ++s) {
        const int64_t from = 4 * (270 + 36 * s) + across - 12;
        const auto runs = InkedRows(angular, from, from + 60, kMarkRows);
        ASSERT_FALSE(runs.empty());
        const int64_t upper = runs.front().first + 269 + std::min<int64_t>(apart, 0);
        const int64_t lower = runs.front().first + 270 + std::max<int64_t>(apart, 0);
        const int64_t bend = FirstColumn(angular, lower, from, from + 60) -
                             FirstColumn(angular, upper, from, from + 60);
        // Over each other, the rows compared come from nozzles a few places
        // apart, which the tilt may set a dot apart.
        EXPECT_NEAR(bend, (3 * s - 6) - error("head-angular"), apart < 0 ? 1 : 0) << "mark " << s;
    }

    for (const bool black : {true, false}) {
        const Page& page =
            Printed(black ? pattern_.PrintPfBlackPattern() : pattern_.PrintPfColorPattern());
        const auto firsts = InkedRows(page, 728 + across, 856 + across, kMarkRows);
        const auto seconds = InkedRows(page, 1208 + across, 1336 + across, kMarkRows);
        ASSERT_EQ(firsts.size(), 11u);
        ASSERT_EQ(seconds.size(), 11u);
        const int pf = error(black ? "pf-black" : "pf-color");
        for (int step = 0; step < 11; ++step) {
            EXPECT_EQ(Gap(firsts[step], seconds[step]),
                      vprinter::kPfRowsPerStep * (pf - (step - 5)))
                << (black ? "black" : "colour") << " step of " << step - 5;
        }
    }

    const Page& margin = Printed(pattern_.PrintTopMarginPattern(0));
    EXPECT_EQ(FirstRow(margin, 1300 + across), 42 + error("top-margin"));

    const Page& dot = Printed(pattern_.PrintFirstDotPattern(), true);
    const auto line = InkedRows(dot, 0, across + 50, 44);
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line.front().first, 42 + error("top-margin"));
    EXPECT_EQ(FirstColumn(dot, line.front().first, 0, across + 50), across);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomMechanism, ::testing::Values(1u, 2u, 3u, 4u));

TEST_F(Misregistered, DamagedMechanismPrintsAsAPerfectOneAndSaysSoOnceUntilMended) {
    const std::string file = Printers().GetStore().PrinterFolder("VTUSB001") + "/mechanism.conf";
    testing_support::WriteFile(file, "hidden=no\npf-black=3\npf-black=3\n");
    const auto gapOfStep = [this](int step) {
        const Page& page = Printed(pattern_.PrintPfBlackPattern());
        return Gap(InkedRows(page, 720, 864, kMarkRows).at(static_cast<size_t>(step)),
                   InkedRows(page, 1200, 1344, kMarkRows).at(static_cast<size_t>(step)));
    };
    const auto told = [this] {
        int count = 0;
        for (const auto& entry : Printers().Trace()) {
            count +=
                entry.note.find("prints as if it had no mechanism errors") != std::string::npos &&
                entry.note.find("mechanism VTUSB001 clear") != std::string::npos;
        }
        return count;
    };
    EXPECT_EQ(gapOfStep(5), 0) << "the 0 step of a perfect mechanism";
    EXPECT_EQ(gapOfStep(5), 0);
    EXPECT_EQ(told(), 1);

    SetError("pf-black", 3);
    EXPECT_EQ(gapOfStep(5), vprinter::kPfRowsPerStep * 3) << "mended, the mechanism counts";
    EXPECT_EQ(told(), 1);
}

// Top margin and first dot print at the stored value: the page lands by the
// distance of the stored value from the true error.
TEST_F(Misregistered, TopMarginLineLandsByTheStoredValuesDistanceFromTheError) {
    struct Case {
        int error;
        int stored;
    };
    for (const Case c : {Case{0, 0}, Case{40, 0}, Case{-40, 0}, Case{0, 40}, Case{40, 40}}) {
        SCOPED_TRACE(testing::Message() << "error " << c.error << ", stored " << c.stored);
        SetError("top-margin", c.error);
        Store(0x5A, static_cast<int8_t>(c.stored));
        const Page& page = Printed(pattern_.PrintTopMarginPattern(0));
        // The first nozzle's line reaches dot 1399; the caption ends far left of it.
        EXPECT_EQ(FirstRow(page, 1300), 42 + (c.error - c.stored) * 1);
    }
}

TEST_F(Misregistered, FirstDotLineLandsByTheStoredValuesDistanceFromTheError) {
    struct Case {
        int error;
        int stored;
    };
    for (const Case c : {Case{0, 0}, Case{10, 0}, Case{25, 0}, Case{0, -20}, Case{-5, 0}}) {
        SCOPED_TRACE(testing::Message() << "error " << c.error << ", stored " << c.stored);
        SetError("first-dot", c.error);
        Store(0x59, static_cast<int8_t>(c.stored));
        const Page& page = Printed(pattern_.PrintFirstDotPattern(), true);
        const int64_t at = vprinter::kFirstDotDotsPerStep * (c.error - c.stored);
        const auto line = InkedRows(page, 0, 100, 44);
        if (at >= 0) {
            ASSERT_EQ(line.size(), 1u);
            EXPECT_EQ(FirstColumn(page, line.front().last, 0, 100), at);
        } else {
            EXPECT_TRUE(line.empty()) << "left of the paper's edge, the line is lost";
        }
    }
}

}  // namespace
