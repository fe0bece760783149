// A reading that is not sure says why and, where the page shows it, which
// way the value lies and what to write and print the page with next; the
// photo-paper sheet's first page gives the value to enter; pages whose
// values lie far off are still read.
#include <gtest/gtest.h>

#include <functional>
#include <opencv2/imgproc.hpp>
#include <optional>
#include <string>
#include <vector>

#include "PrintedPages.h"
#include "reader/PageReading.h"
#include "reader/Stored.h"

namespace {

using reader::PageKind;
using reader_testing::AdjustmentPages;
using reader_testing::Named;

size_t StreamOf(const std::string& quantity) {
    for (size_t at = 0; at < AdjustmentPages().size(); ++at) {
        if (AdjustmentPages()[at].quantity == quantity) {
            return at;
        }
    }
    ADD_FAILURE() << "no page for " << quantity;
    return 0;
}

vprinter::Mechanism With(std::initializer_list<std::pair<const char*, int>> errors) {
    vprinter::Mechanism mechanism;
    for (const auto& [quantity, error] : errors) {
        mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex(quantity))] =
            static_cast<int8_t>(error);
    }
    return mechanism;
}

// The page of a quantity (or the photo-paper sheet's page 1 or 2) printed by
// the mechanism, its picture moved right by across dots.
cv::Mat Printed(const std::string& page, const vprinter::Mechanism& mechanism, int across = 0) {
    const bool sheet = page == "sheet-1" || page == "sheet-2";
    const auto pages = reader_testing::PrintOn(
        mechanism, sheet ? reader_testing::PhotoSheet() : AdjustmentPages()[StreamOf(page)].bytes);
    cv::Mat picture = reader_testing::Picture(pages.at(page == "sheet-2" ? 1 : 0)).clone();
    if (across != 0) {
        cv::Mat moved(picture.size(), picture.type(), cv::Scalar::all(255));
        picture(cv::Rect(0, 0, picture.cols - across, picture.rows))
            .copyTo(moved(cv::Rect(across, 0, picture.cols - across, picture.rows)));
        picture = moved;
    }
    return picture;
}

// Each page kind's readings that are not sure: the note says why and, where
// the page shows it, which way and the value to print with next, moved by
// the stored value where the page shows the error less it.
TEST(ReadingNotes, SayWhyAndWhichWayOnEveryPageKind) {
    const struct {
        const char* what;
        const char* page;
        vprinter::Mechanism mechanism;
        reader::StoredValues stored;
        const char* name;
        int direction;
        std::optional<int> next;
        const char* note;  // a part of the note
    } cases[] = {
        // The Bi-D pages: stored -4 shows -6 .. -2, stored -7 shows -9 .. -5.
        {"Bi-D above its choices",
         "bid-vsd3-black",
         With({{"bid-vsd3-black", -1}}),
         {},
         "bid-vsd3-black",
         1,
         -2,
         "no comb lines up: the value lies above -2: write -2"},
        {"Bi-D below its choices",
         "bid-eco-color",
         With({{"bid-eco-color", -11}}),
         {},
         "bid-eco-color",
         -1,
         -9,
         "the value lies below -9: write -9 and print again"},
        // The top margin: choices -40, 0 and 40.
        {"top margin between 0 and 40",
         "top-margin",
         With({{"top-margin", 20}}),
         {{"top-margin", 0}},
         "top-margin",
         0,
         0,
         "the value lies between 0 and 40"},
        {"top margin between, 40 stored",
         "top-margin",
         With({{"top-margin", -15}}),
         {{"top-margin", 40}},
         "top-margin",
         0,
         40,
         "the value lies between 0 and 40"},
        {"top margin past 40",
         "top-margin",
         With({{"top-margin", 70}}),
         {{"top-margin", 0}},
         "top-margin",
         1,
         40,
         "beyond the page's choices: the value lies above 40"},
        // The line moved a dot and a half right: between two units.
        {"first dot between two units",
         "first-dot",
         With({{"first-dot", 10}}),
         {{"first-dot", 5}},
         "first-dot",
         0,
         std::nullopt,
         "the value lies between 15 and 16"},
        // A scan without the stored value.
        {"sheet page 2, stored not known",
         "sheet-2",
         With({}),
         {},
         "top-margin",
         0,
         std::nullopt,
         "stored when the page was printed is not known"},
        {"sheet page 1, stored not known",
         "sheet-1",
         With({}),
         {},
         "pf-black",
         0,
         std::nullopt,
         "stored when the page was printed is not known"},
        // Past the sheet's choices X-1 .. X+1, at X = 0.
        {"sheet page 1 past X+1",
         "sheet-1",
         With({{"pf-color", 3}}),
         {{"pf-color", 0}},
         "pf-color",
         1,
         1,
         "the value lies above 1: write 1 and print again"},
        {"sheet page 1 past X+1, past what the input takes",
         "sheet-1",
         With({{"pf-color", 3}}),
         {{"pf-color", 4}},
         "pf-color",
         1,
         std::nullopt,
         "the value lies above 5, and the input takes only -4 to 4"},
        {"sheet page 1 past X-1",
         "sheet-1",
         With({{"bid-vsd1-black", -2}}),
         {{"bid-vsd1-black", 0}},
         "bid-vsd1-black",
         -1,
         -1,
         "X-1, is the sheet's last that way and not aligned: the value lies below -1"},
    };
    for (const auto& c : cases) {
        const int across = std::string(c.what) == "first dot between two units" ? 1 : 0;
        cv::Mat picture = Printed(c.page, c.mechanism, across);
        if (across != 0) {
            // Half a dot further: a shift of a dot and a half in all.
            cv::Mat half;
            cv::warpAffine(picture, half, cv::Matx23d(1, 0, 0.5, 0, 1, 0), picture.size(),
                           cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar::all(255));
            picture = half;
        }
        reader::PageReading page = reader::ReadPage(picture);
        reader::ApplyStored(page, c.stored);
        const reader::Reading* reading = Named(page, c.name);
        ASSERT_NE(reading, nullptr) << c.what << ": " << page.problem;
        EXPECT_FALSE(reading->sure) << c.what << ": " << reading->ValueText();
        EXPECT_NE(reading->note.find(c.note), std::string::npos) << c.what << ": " << reading->note;
        EXPECT_EQ(reading->direction, c.direction) << c.what << ": " << reading->note;
        if (c.next) {
            EXPECT_EQ(reading->next, c.next) << c.what << ": " << reading->note;
        }
        EXPECT_EQ(reader::ReadingLine(*reading),
                  reading->name + ": not sure (" + reading->note + ")")
            << c.what;
    }
}

// The photo-paper sheet's first page gives the value to enter, X plus the
// best choice's step, with the step beside it; X not known, not sure.
TEST(ReadingNotes, ThePhotoSheetsFirstPageGivesTheValueToEnter) {
    reader::PageReading page =
        reader::ReadPage(Printed("sheet-1", With({{"bid-vsd2-black", 1}, {"pf-color", -1}})));
    ASSERT_EQ(page.kind, PageKind::PhotoSheet1) << page.problem;
    reader::StoredValues stored;
    for (const auto& reading : page.readings) {
        stored[reading.name] = 3;
    }
    stored["head-angular"] = 3;
    stored.erase("bid-eco-color");
    reader::ApplyStored(page, stored);
    const struct {
        const char* name;
        bool sure;
        int value;
        int step;
    } cases[] = {
        {"bid-vsd2-black", true, 4, 1}, {"pf-color", true, 2, -1},
        {"head-angular", true, 3, 0},   {"bid-vsd1-black", true, 3, 0},
        {"bid-eco-color", false, 0, 0},
    };
    for (const auto& c : cases) {
        const reader::Reading* reading = Named(page, c.name);
        ASSERT_NE(reading, nullptr) << c.name;
        EXPECT_EQ(reading->sure, c.sure) << c.name << ": " << reading->note;
        EXPECT_EQ(reading->value, c.value) << c.name;
        EXPECT_EQ(reading->step, c.step) << c.name;
    }
}

// A first dot line further right than 127 units, printed with a stored
// value that brings the sum back into range; and a head angular page printed
// by a feed far off, which parts each mark's two bands.
TEST(ReadingNotes, PagesOfValuesFarOffAreRead) {
    const struct {
        const char* what;
        cv::Mat picture;
        reader::StoredValues stored;
        PageKind kind;
        const char* name;
        int value;
    } cases[] = {
        {"first dot 130 units right, -10 stored",
         Printed("first-dot", With({{"first-dot", 127}}), 9),
         {{"first-dot", -10}},
         PageKind::FirstDot,
         "first-dot",
         120},
        {"head angular, PF black 6",
         Printed("head-angular", With({{"pf-black", 6}})),
         {},
         PageKind::HeadAngular,
         "head-angular",
         0},
        {"head angular, PF colour 7, tilt 3",
         Printed("head-angular", With({{"pf-color", 7}, {"head-angular", 3}})),
         {},
         PageKind::HeadAngular,
         "head-angular",
         3},
        {"head angular, PF black -7",
         Printed("head-angular", With({{"pf-black", -7}})),
         {},
         PageKind::HeadAngular,
         "head-angular",
         0},
    };
    for (const auto& c : cases) {
        reader::PageReading page = reader::ReadPage(c.picture);
        reader::ApplyStored(page, c.stored);
        EXPECT_EQ(page.kind, c.kind) << c.what << ": " << page.problem;
        const reader::Reading* reading = Named(page, c.name);
        ASSERT_NE(reading, nullptr) << c.what << ": " << page.problem;
        EXPECT_TRUE(reading->sure) << c.what << ": " << reading->note;
        EXPECT_EQ(reading->value, c.value) << c.what;
    }
}

}  // namespace
