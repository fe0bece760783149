// The reader on chosen pages: the golden pictures read from their files,
// pages it must not be sure of, and the command line tool's output.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

#include "PrintedPages.h"
#include "reader/PageReading.h"
#include "support/Process.h"
#include "support/TempFolder.h"

namespace {

using reader::PageKind;
using reader_testing::AdjustmentPages;

// "name=value" for each reading, "?" after a reading not sure; the photo
// sheet's readings by their best choice.
std::string Summary(const reader::PageReading& page) {
    std::string text = reader::KindName(page.kind);
    for (const auto& reading : page.readings) {
        text +=
            " " + reading.name + "=" + (reading.best.empty() ? reading.ValueText() : reading.best);
        text += reading.sure ? "" : "?";
    }
    return text;
}

// The golden pictures were printed by a perfect mechanism; the check sheet
// with stored values VSD1 black 1, VSD1 colour -1, PF black 2, PF colour -3.
TEST(ReadPageFile, ReadsTheGoldenPictures) {
    const struct {
        const char* file;
        const char* summary;
    } cases[] = {
        {"BidBlackVsd1", "bid bid-vsd1-or-vsd2-black=0"},
        {"BidColorEco", "bid bid-eco-color=0"},
        {"HeadAngular", "head-angular head-angular=0"},
        {"PfBlack", "pf-black pf-black=0"},
        {"PfColor", "pf-color pf-color=0"},
        {"TopMargin", "top-margin top-margin=0"},
        {"FirstDot", "first-dot first-dot=0"},
        {"PhotoPaperSheet1",
         "photo-sheet-1 head-angular=X bid-vsd1-black=X-1 bid-vsd2-black=X bid-vsd3-black=X "
         "bid-eco-black=X bid-vsd1-color=X+1 bid-vsd2-color=X bid-vsd3-color=X bid-eco-color=X "
         "pf-black=X-1 pf-color=X+1"},
        {"PhotoPaperSheet2", "photo-sheet-2 top-margin=X first-dot=X"},
        // Pages that adjust nothing are no check pages.
        {"NozzleCheck", "unknown"},
        {"Beta", "unknown"},
        {"AccumulatedPitch", "unknown"},
    };
    for (const auto& c : cases) {
        const auto page =
            reader::ReadPageFile(std::string(ORVANE_GOLDEN_DIR) + "/" + c.file + ".png");
        EXPECT_EQ(Summary(page), c.summary) << c.file;
    }
}

// A page printed on a printer with new board and this one error.
reader::PageReading PrintedWith(const std::string& quantity, int error, size_t stream) {
    vprinter::Mechanism mechanism;
    mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex(quantity))] =
        static_cast<int8_t>(error);
    const auto pages = reader_testing::PrintOn(mechanism, AdjustmentPages().at(stream).bytes);
    return reader::ReadPage(reader_testing::Picture(pages.at(0)));
}

size_t StreamOf(const std::string& quantity) {
    for (size_t at = 0; at < AdjustmentPages().size(); ++at) {
        if (AdjustmentPages()[at].quantity == quantity) {
            return at;
        }
    }
    ADD_FAILURE() << "no page for " << quantity;
    return 0;
}

// Errors at and past the pages' ends: an end mark best reads "NG", sure; a
// value between the choices or beyond them is not sure.
TEST(ReadPage, EndMarksAndValuesOffThePage) {
    const struct {
        const char* quantity;
        int error;
        const char* summary;
    } cases[] = {
        {"head-angular", 6, "head-angular head-angular=NG"},
        {"head-angular", -6, "head-angular head-angular=NG"},
        {"pf-black", 5, "pf-black pf-black=NG"},
        {"pf-color", -7, "pf-color pf-color=NG"},
        // Stored -4: the page shows -6 .. -2. Stored -7: -9 .. -5.
        {"bid-vsd3-black", -1, "bid bid-vsd3-black=-1?"},
        {"bid-eco-color", -11, "bid bid-eco-color=-11?"},
        {"top-margin", 20, "top-margin top-margin=0?"},
        {"first-dot", 126, "first-dot first-dot=126"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Summary(PrintedWith(c.quantity, c.error, StreamOf(c.quantity))), c.summary)
            << c.quantity << " = " << c.error;
    }
}

TEST(ReadPage, NotSureOfWhatItCannotTellApart) {
    // A blank sheet, and a first dot page whose line fell left of the paper.
    EXPECT_EQ(Summary(reader::ReadPage(cv::Mat(4208, 2880, CV_8UC3, cv::Scalar::all(255)))),
              "unknown");
    EXPECT_EQ(Summary(PrintedWith("first-dot", -3, StreamOf("first-dot"))), "unknown");

    // The head angular page of a straight head with the lower band of the 3
    // mark moved back by its step: the 0 and the 3 mark are as straight.
    const size_t stream = StreamOf("head-angular");
    const auto pages = reader_testing::PrintOn({}, AdjustmentPages()[stream].bytes);
    cv::Mat picture = reader_testing::Picture(pages.at(0)).clone();
    // Mark s stands at dot 1080 + 144 s of the page.
    const cv::Rect column(1080 + 3 * 144 - 12, 0, 60, picture.rows);
    cv::Mat ink;
    cv::cvtColor(picture(column), ink, cv::COLOR_BGR2GRAY);
    std::vector<cv::Point> dots;
    cv::findNonZero(ink < 128, dots);
    const cv::Rect mark = cv::boundingRect(dots) + column.tl();
    ASSERT_GE(mark.height, 540) << "the mark and its caption below";
    const cv::Rect lower(column.x, mark.y + 270, column.width, 270);
    cv::Mat moved(lower.size(), picture.type(), cv::Scalar::all(255));
    picture(lower - cv::Point(-3, 0)).copyTo(moved);
    moved.copyTo(picture(lower));
    const auto page = reader::ReadPage(picture);
    EXPECT_EQ(page.kind, PageKind::HeadAngular);
    ASSERT_EQ(page.readings.size(), 1u);
    EXPECT_FALSE(page.readings[0].sure);
}

// The command line: readings one a line, or JSON; exit 0 sure, 1 not sure,
// 2 no page.
TEST(ReadPageTool, PrintsTheReadingsAndTellsBySureness) {
    testing_support::TempFolder folder;
    const std::string tool = testing_support::OutputFolder() + "/orvane-read-page";
    const std::string golden = std::string(ORVANE_GOLDEN_DIR) + "/";
    cv::imwrite(folder / "unsure.png",
                reader_testing::Picture(
                    reader_testing::PrintOn(
                        vprinter::Mechanism{.errors = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 0}},
                        AdjustmentPages()[StreamOf("top-margin")].bytes)
                        .at(0)));
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), tool);
        return testing_support::RunProcess(args, folder.Path());
    };

    auto result = run({golden + "PfColor.png"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "pf-color: 0\n");

    result = run({folder / "unsure.png"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "top-margin: not sure\n");

    result = run({golden + "HeadAngular.png", "--json"});
    EXPECT_EQ(result.exitCode, 0);
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["page"], "head-angular");
    EXPECT_EQ(json["readings"][0]["name"], "head-angular");
    EXPECT_EQ(json["readings"][0]["value"], 0);
    EXPECT_EQ(json["readings"][0]["sure"], true);

    result = run({golden + "PhotoPaperSheet1.png", "--json"});
    const auto sheet = nlohmann::json::parse(result.out);
    EXPECT_EQ(sheet["readings"][1]["name"], "bid-vsd1-black");
    EXPECT_EQ(sheet["readings"][1]["best"], "X-1");
    EXPECT_EQ(sheet["readings"][1]["value"], -1);

    for (const std::string& unreadable : {folder / "missing.png", golden + "NozzleCheck.png"}) {
        result = run({unreadable});
        EXPECT_EQ(result.exitCode, 2) << unreadable;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
    }
}

}  // namespace
