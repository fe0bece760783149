// Finding the sheet in a picture: pictures that are no sheet are refused
// before anything is scaled, a scan's edges are found whatever its
// resolution and whatever ink stands near them, and a picture that does not
// show the paper's edges reads nothing from them as sure.
#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

#include "PrintedPages.h"
#include "pattern/GoldenPictures.h"
#include "reader/PageReading.h"
#include "support/SimulatedScan.h"

namespace {

using reader_testing::AdjustmentPages;

cv::Mat Golden(const char* name) {
    return cv::imread(golden_pictures::PathOf(name), cv::IMREAD_COLOR);
}

cv::Mat White(int rows, int cols) {
    return cv::Mat(rows, cols, CV_8UC3, cv::Scalar::all(255));
}

// The page of this quantity printed by a printer with this one error.
cv::Mat PrintedWith(const std::string& quantity, int error) {
    vprinter::Mechanism mechanism;
    mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex(quantity))] =
        static_cast<int8_t>(error);
    for (const auto& stream : AdjustmentPages()) {
        if (stream.quantity == quantity) {
            return reader_testing::Picture(reader_testing::PrintOn(mechanism, stream.bytes).at(0))
                .clone();
        }
    }
    ADD_FAILURE() << "no page for " << quantity;
    return {};
}

// "name=value" for each reading, "?" after one not sure; else the problem.
std::string Summary(const reader::PageReading& page) {
    if (page.kind == reader::PageKind::Unknown) {
        return page.problem;
    }
    std::string text;
    for (const auto& reading : page.readings) {
        text += (text.empty() ? "" : " ") + reading.name + "=" +
                (reading.best.empty() ? reading.ValueText() : reading.best) +
                (reading.sure ? "" : "?");
    }
    return text;
}

TEST(FindPaper, RefusesPicturesNoSheetCanMake) {
    // A small scan: a sheet's light in a dark lid, a few pixels each.
    cv::Mat small(200, 150, CV_8UC3, cv::Scalar::all(50));
    small(cv::Rect(10, 10, 130, 180)) = cv::Scalar::all(240);
    const struct {
        const char* what;
        cv::Mat picture;
        double dpi;
        const char* problem;  // a part of it
    } cases[] = {
        // Strips either way, found before the picture is scaled.
        {"a row", White(1, 5000), 0, "strip"},
        {"wide", White(20, 5000), 0, "strip"},
        {"tall", White(1000, 100), 0, "strip"},
        // Taken as a sheet from its corner, larger than the longest paper.
        {"60 inches long", White(3000, 400), 0, "larger than any the printer takes"},
        {"30 inches across", White(3000, 3000), 100, "larger than any the printer takes"},
        {"a sheet of a few pixels", small, 0, ""},
    };
    for (const auto& c : cases) {
        const reader::PageReading page = reader::ReadPage(c.picture, c.dpi);
        EXPECT_EQ(page.kind, reader::PageKind::Unknown) << c.what;
        EXPECT_FALSE(page.problem.empty()) << c.what;
        EXPECT_NE(page.problem.find(c.problem), std::string::npos)
            << c.what << ": " << page.problem;
    }
}

// Scans a sheet cannot be read from say why: turned too far (at 45 degrees
// the corners' order was lost), lying sideways, cut by the picture's edge.
TEST(FindPaper, SaysWhyASheetLyingBadlyIsNotRead) {
    const cv::Mat page = Golden("PfBlack");
    ASSERT_FALSE(page.empty());
    const auto scan = [&](double degrees) {
        auto settings = scan_testing::RandomScanSettings(300, 3);
        settings.degrees = degrees;
        return scan_testing::Scan(page, settings);
    };
    const cv::Mat straight = scan(0.5);
    // Cut just inside the paper's left edge, which stands 0.1 to 0.4 inches
    // in.
    cv::Mat grey;
    cv::cvtColor(straight, grey, cv::COLOR_BGR2GRAY);
    const cv::Mat middle = grey.row(grey.rows / 2) > 128;
    std::vector<cv::Point> light;
    cv::findNonZero(middle, light);
    ASSERT_FALSE(light.empty());
    const int paperLeft = light.front().x;
    const cv::Mat touching = straight.colRange(paperLeft + 3, straight.cols).clone();
    const struct {
        const char* what;
        cv::Mat picture;
        const char* problem;
    } cases[] = {
        {"30 degrees", scan(30), "turned more than 20 degrees"},
        {"45 degrees", scan(45), "turned more than 20 degrees"},
        {"-45 degrees", scan(-45), "turned more than 20 degrees"},
        {"sideways", scan(90), "sideways"},
        {"touching the left edge", touching, "touches the picture's edge"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(Summary(reader::ReadPage(c.picture, 300)).find(c.problem), std::string::npos)
            << c.what << ": " << Summary(reader::ReadPage(c.picture, 300));
    }
    EXPECT_EQ(Summary(reader::ReadPage(straight, 300)), "pf-black=0");
}

// Lines printed at the paper's very edge are not taken for it: a top margin
// line two rows from the top, a first dot line in the first column.
TEST(FindPaper, InkAtThePapersEdgeIsNotTheEdge) {
    const struct {
        const char* quantity;
        int error;
        double dpi;
        const char* summary;
    } cases[] = {
        {"top-margin", -40, 600, "top-margin=-40"},
        {"first-dot", 0, 600, "first-dot=0"},
        {"first-dot", 1, 300, "first-dot=1"},
    };
    for (const auto& c : cases) {
        auto settings = scan_testing::RandomScanSettings(c.dpi, 11);
        const cv::Mat scanned = scan_testing::Scan(PrintedWith(c.quantity, c.error), settings);
        EXPECT_EQ(Summary(reader::ReadPage(scanned)), c.summary) << c.quantity << " " << c.error;
    }
}

// Each reading's name, "?" after one not sure.
std::string Sureness(const reader::PageReading& page) {
    std::string text = page.problem;
    for (const auto& reading : page.readings) {
        text += (text.empty() ? "" : " ") + reading.name + (reading.sure ? "" : "?");
    }
    return text;
}

// Without the paper's edges the picture's corner is taken for the sheet's
// (off by how the picture was cut): what is measured from the edges is not
// sure, the rest is read as before.
TEST(FindPaper, WithoutThePapersEdgesTheMarginsAreNotSure) {
    const auto cropped = [](const cv::Mat& page, int left, int top) {
        return page(cv::Rect(left, top, page.cols - left, page.rows - top)).clone();
    };
    const struct {
        const char* what;
        cv::Mat picture;
        double dpi;
        const char* summary;  // each reading's name and sureness
    } cases[] = {
        {"own top margin page", Golden("TopMargin"), 0, "top-margin"},
        {"own first dot page", PrintedWith("first-dot", 10), 360, "first-dot"},
        {"top margin cropped", cropped(Golden("TopMargin"), 10, 5), 0, "top-margin?"},
        {"first dot cropped", cropped(PrintedWith("first-dot", 10), 6, 0), 0, "first-dot?"},
        {"sheet's second page cropped", cropped(Golden("PhotoPaperSheet2"), 4, 4), 0,
         "top-margin? first-dot?"},
        {"PF cropped", cropped(Golden("PfBlack"), 10, 5), 0, "pf-black"},
    };
    for (const auto& c : cases) {
        const reader::PageReading page = reader::ReadPage(c.picture, c.dpi);
        EXPECT_EQ(Sureness(page), c.summary) << c.what << ": " << Summary(page);
        for (const auto& reading : page.readings) {
            if (!reading.sure) {
                EXPECT_NE(reading.note, "") << c.what;
            }
        }
    }
}

}  // namespace
