// The reader on chosen pages: the golden pictures read from their files,
// pages it must not be sure of, and the command line tool's output.
#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "PrintedPages.h"
#include "pattern/GoldenPictures.h"
#include "reader/PageReading.h"
#include "support/Process.h"
#include "support/TempFolder.h"

namespace {

using reader::PageKind;
using reader_testing::AdjustmentPages;
using reader_testing::Named;

// "name=value" for each reading, "?" after a reading not sure; the photo
// sheet's readings by their best choice.
std::string CaseSummary(const reader::PageReading& page) {
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
        {"BidBlackVsd1", "bid bid-vsd1-or-vsd2-black=0?"},
        {"BidColorEco", "bid bid-eco-color=0"},
        {"HeadAngular", "head-angular head-angular=0"},
        {"PfBlack", "pf-black pf-black=0"},
        {"PfColor", "pf-color pf-color=0"},
        {"TopMargin", "top-margin top-margin=0"},
        {"FirstDot", "first-dot first-dot=0"},
        {"PhotoPaperSheet1",
         "photo-sheet-1 head-angular=X bid-vsd1-black=X-1 bid-vsd2-black=X bid-vsd3-black=X "
         "bid-eco-black=X bid-vsd1-color=X+1 bid-vsd2-color=X bid-vsd3-color=X bid-eco-color=X "
         // PF stored 2 and -3 with the feed in place: beyond X-1 and X+1.
         "pf-black=X-1? pf-color=X+1?"},
        {"PhotoPaperSheet2", "photo-sheet-2 top-margin=X first-dot=X"},
        // Pages that adjust nothing are no check pages.
        {"NozzleCheck", "unknown"},
        {"Beta", "unknown"},
        {"AccumulatedPitch", "unknown"},
    };
    for (const auto& c : cases) {
        const auto page = reader::ReadPageFile(golden_pictures::PathOf(c.file));
        EXPECT_EQ(CaseSummary(page), c.summary) << c.file;
        // Each reading tells where its pattern stands (the tray looks there),
        // each pattern of the photo sheet its own.
        std::set<std::tuple<int, int, int, int>> areas;
        for (const auto& reading : page.readings) {
            const cv::Rect& area = reading.area;
            EXPECT_TRUE(!area.empty() && area.x >= 0 && area.y >= 0 && area.br().x <= 2880)
                << c.file << " " << reading.name;
            areas.emplace(area.x, area.y, area.width, area.height);
        }
        if (page.kind == PageKind::PhotoSheet1) {
            EXPECT_EQ(areas.size(), page.readings.size());
        }
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
        {"head-angular", 9, "head-angular head-angular=NG"},
        {"pf-black", 5, "pf-black pf-black=NG"},
        {"pf-color", -7, "pf-color pf-color=NG"},
        // Stored -4: the page shows -6 .. -2. Stored -7: -9 .. -5.
        {"bid-vsd3-black", -1, "bid bid-vsd3-black=-1?"},
        {"bid-eco-color", -11, "bid bid-eco-color=-11?"},
        {"top-margin", 20, "top-margin top-margin=0?"},
        {"first-dot", 126, "first-dot first-dot=126"},
    };
    for (const auto& c : cases) {
        const reader::PageReading page = PrintedWith(c.quantity, c.error, StreamOf(c.quantity));
        EXPECT_EQ(CaseSummary(page), c.summary) << c.quantity << " = " << c.error;
        // An end mark's verdict says what it means.
        if (page.readings.size() == 1 && page.readings[0].ng) {
            EXPECT_NE(page.readings[0].note.find("beyond what"), std::string::npos)
                << c.quantity << " = " << c.error << ": " << page.readings[0].note;
            EXPECT_EQ(reader::ReadingLine(page.readings[0]),
                      std::string(c.quantity) + ": NG (" + page.readings[0].note + ")");
        }
    }
}

TEST(ReadPage, NotSureOfWhatItCannotTellApart) {
    // A blank sheet, and a first dot page whose line fell left of the paper.
    EXPECT_EQ(CaseSummary(reader::ReadPage(cv::Mat(4208, 2880, CV_8UC3, cv::Scalar::all(255)))),
              "unknown");
    EXPECT_EQ(CaseSummary(PrintedWith("first-dot", -3, StreamOf("first-dot"))), "unknown");

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
    // Why, and what to print with next, on stderr; in the JSON as well.
    EXPECT_NE(result.err.find("top-margin: not sure (the line lands between the page's choices: "
                              "the value lies between 0 and 40: write either and print again"),
              std::string::npos)
        << result.err;
    result = run({folder / "unsure.png", "--json", "--stored", "top-margin=40"});
    const auto unsure = nlohmann::json::parse(result.out);
    // With 40 stored it lies between 40 and 80, past what the input takes:
    // only 40 is advised, and which way the rest lies.
    EXPECT_EQ(unsure["readings"][0]["next"], 40) << result.out;
    EXPECT_EQ(unsure["readings"][0]["direction"], 1) << result.out;
    EXPECT_NE(unsure["readings"][0]["note"].get<std::string>().find(
                  "between 40 and 80, and the input takes only -40, 0 or 40"),
              std::string::npos)
        << result.out;

    // The golden picture keeps no stored values: the page was printed at 0.
    result = run({golden + "HeadAngular.png", "--json", "--stored", "head-angular=0"});
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
    EXPECT_EQ(sheet["readings"][1]["step"], -1);
    // Printed with VSD1 black 1 stored, which the picture keeps: 1 - 1.
    EXPECT_EQ(sheet["readings"][1]["value"], 0);
    EXPECT_EQ(sheet["readings"][1]["sure"], true);

    for (const std::string& unreadable : {folder / "missing.png", golden + "NozzleCheck.png"}) {
        result = run({unreadable});
        EXPECT_EQ(result.exitCode, 2) << unreadable;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
    }
}

}  // namespace

namespace {

// A picture moved across and down by a fraction of a dot, then brought to
// dpi as a scanner samples it.
cv::Mat Moved(const cv::Mat& picture, double across, double down, double dpi) {
    cv::Mat moved;
    const cv::Matx23d shift(1, 0, across, 0, 1, down);
    cv::warpAffine(picture, moved, shift, picture.size(), cv::INTER_LINEAR, cv::BORDER_CONSTANT,
                   cv::Scalar::all(255));
    if (dpi == 360) {
        return moved;
    }
    cv::Mat sampled;
    cv::resize(moved, sampled, cv::Size(), dpi / 360, dpi / 360, cv::INTER_AREA);
    return sampled;
}

// The photo-paper sheet's second page or the first dot page, printed with
// this first dot and top margin error.
cv::Mat MarginPage(bool sheet, int firstDot, int topMargin) {
    vprinter::Mechanism mechanism;
    mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex("first-dot"))] =
        static_cast<int8_t>(firstDot);
    mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex("top-margin"))] =
        static_cast<int8_t>(topMargin);
    const auto pages =
        reader_testing::PrintOn(mechanism, sheet ? reader_testing::PhotoSheet()
                                                 : AdjustmentPages()[StreamOf("first-dot")].bytes);
    return reader_testing::Picture(pages.at(sheet ? 1 : 0)).clone();
}

// A line that stands between two values, or nearer one than the picture can
// tell, is not sure; one on a value is, at every resolution.
TEST(ReadPage, LinesBetweenTwoValuesAreNotSure) {
    const cv::Mat sheet = MarginPage(true, 10, 0);
    const cv::Mat firstDot = MarginPage(false, 10, 0);
    const struct {
        const char* what;
        bool onSheet;
        const char* name;
        double across;  // dots
        double down;    // rows
        double dpi;
        bool sure;
        int value;  // when sure
    } cases[] = {
        // The sheet's top margin: a unit a row.
        {"on the row", true, "top-margin", 0, 0, 360, true, 0},
        {"a row down", true, "top-margin", 0, 1, 360, true, 1},
        {"half a row down", true, "top-margin", 0, 0.5, 360, false, 0},
        {"0.4 row down", true, "top-margin", 0, 0.4, 360, false, 0},
        {"0.6 row up", true, "top-margin", 0, -0.6, 360, false, 0},
        // The first dot: a unit three dots; at 300 dpi a pixel spans 1.2.
        {"on the unit", false, "first-dot", 0, 0, 300, true, 10},
        {"0.3 dot right", false, "first-dot", 0.3, 0, 300, true, 10},
        {"a unit right", false, "first-dot", 3, 0, 300, true, 11},
        {"0.8 dot right at 300 dpi", false, "first-dot", 0.8, 0, 300, false, 0},
        {"a dot right at 300 dpi", false, "first-dot", 1, 0, 300, false, 0},
        {"a dot left at 300 dpi", false, "first-dot", -1, 0, 300, false, 0},
        {"1.4 dots right", false, "first-dot", 1.4, 0, 600, false, 0},
        {"0.8 dot left on the sheet", true, "first-dot", -0.8, 0, 300, false, 0},
        {"on the unit on the sheet", true, "first-dot", 0, 0, 300, true, 10},
    };
    for (const auto& c : cases) {
        const auto page =
            reader::ReadPage(Moved(c.onSheet ? sheet : firstDot, c.across, c.down, c.dpi), c.dpi);
        const reader::Reading* reading = Named(page, c.name);
        ASSERT_NE(reading, nullptr) << c.what << ": " << page.problem;
        EXPECT_EQ(reading->sure, c.sure)
            << c.what << ": " << reading->ValueText() << ", " << reading->note;
        if (c.sure && reading->sure) {
            EXPECT_EQ(reading->value, c.value) << c.what;
        }
    }
}

// The top margin line bent half way along (its right half a row lower on
// one stretch): its stretches disagree, whichever row their mean gives.
TEST(ReadPage, TopMarginLineBentIsNotSure) {
    for (const bool onSheet : {true, false}) {
        cv::Mat picture =
            onSheet
                ? MarginPage(true, 0, 0)
                : reader_testing::Picture(
                      reader_testing::PrintOn({}, AdjustmentPages()[StreamOf("top-margin")].bytes)
                          .at(0))
                      .clone();
        // The line: row 42, from the left edge; a stretch of its right half
        // moved two rows down.
        const int width = onSheet ? 2880 : 1400;
        const cv::Rect stretch(width * 9 / 16, 40, width / 4, 5);
        cv::Mat moved = picture(stretch).clone();
        picture(stretch).setTo(cv::Scalar::all(255));
        moved.copyTo(picture(stretch + cv::Point(0, 2)));
        const auto page = reader::ReadPage(picture);
        const reader::Reading* reading = Named(page, "top-margin");
        ASSERT_NE(reading, nullptr) << page.problem;
        EXPECT_FALSE(reading->sure) << (onSheet ? "sheet" : "page") << " " << reading->ValueText();
    }
}

// The photo-paper sheet's PF items: a block missed leaves the steps
// unpaired, which is not sure.
TEST(ReadPage, PhotoSheetPfStepsThatDoNotPairAreNotSure) {
    vprinter::Mechanism mechanism;
    mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex("pf-black"))] = 1;
    mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex("pf-color"))] = -1;
    const cv::Mat printed =
        reader_testing::Picture(
            reader_testing::PrintOn(mechanism, reader_testing::PhotoSheet()).at(0))
            .clone();
    // The first blocks stand alone in dots 720-863, the second ones in
    // 1200-1343 (the Bi-D combs reach 1251): the rows of each, black steps
    // then colour.
    const auto blocks = [&](int left) {
        cv::Mat grey;
        cv::cvtColor(printed(cv::Rect(left + 70, 0, 60, printed.rows)), grey, cv::COLOR_BGR2GRAY);
        cv::Mat rows;
        cv::reduce(grey < 200, rows, 1, cv::REDUCE_MAX);
        std::vector<std::pair<int, int>> runs;
        for (int row = 0; row < rows.rows; ++row) {
            if (rows.at<uint8_t>(row) == 0) {
                continue;
            }
            if (runs.empty() || row - runs.back().second > 12) {
                runs.emplace_back(row, row);
            }
            runs.back().second = row;
        }
        std::erase_if(runs, [](const auto& run) { return run.second - run.first < 40; });
        return runs;
    };
    const auto firsts = blocks(720);
    const auto seconds = blocks(1200);
    ASSERT_EQ(firsts.size(), 6u);
    ASSERT_EQ(seconds.size(), 6u);
    const auto erase = [](cv::Mat& picture, int left, std::pair<int, int> rows) {
        picture(cv::Rect(left, rows.first - 2, 144, rows.second - rows.first + 5))
            .setTo(cv::Scalar::all(255));
    };
    const struct {
        const char* what;
        const char* item;
        std::function<void(cv::Mat&)> change;
    } cases[] = {
        {"black X-1 second block missed", "pf-black",
         [&](cv::Mat& p) { erase(p, 1200, seconds[0]); }},
        {"black X first block missed", "pf-black", [&](cv::Mat& p) { erase(p, 720, firsts[1]); }},
        {"colour X+1 second block missed", "pf-color",
         [&](cv::Mat& p) { erase(p, 1200, seconds[5]); }},
    };
    for (const auto& c : cases) {
        cv::Mat picture = printed.clone();
        c.change(picture);
        const auto page = reader::ReadPage(picture);
        const reader::Reading* reading = Named(page, c.item);
        ASSERT_NE(reading, nullptr) << c.what << ": " << page.problem;
        EXPECT_FALSE(reading->sure) << c.what << ": " << reading->best;
    }
    // Untouched, both items read sure.
    const auto page = reader::ReadPage(printed);
    EXPECT_TRUE(Named(page, "pf-black")->sure);
    EXPECT_TRUE(Named(page, "pf-color")->sure);
}

}  // namespace
