// The Bi-D page as the adjustment window prints it: several items on one
// page, each around its stored value, read by their titles and labels.
#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>
#include <random>
#include <string>
#include <vector>

#include "PrintedPages.h"
#include "reader/PageReading.h"
#include "reader/Text.h"
#include "support/SimulatedScan.h"

namespace {

using reader_testing::BidFlags;
using reader_testing::BidItems;
using reader_testing::BidStored;

// Stored values drawn from the seed, none 0, and a random mechanism off by
// up to the page's two steps from each.
struct Printer {
    BidStored stored{};
    vprinter::Mechanism mechanism;
};

Printer RandomPrinter(uint32_t seed) {
    Printer printer;
    printer.mechanism = vprinter::RandomMechanism(seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(-30, 30);
    for (size_t i = 0; i < BidItems().size(); ++i) {
        do {
            printer.stored[i] = value(random);
        } while (printer.stored[i] == 0);
        auto& error =
            printer.mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex(BidItems()[i]))];
        error = static_cast<int8_t>(error + printer.stored[i]);
    }
    return printer;
}

cv::Mat PrintedPicture(const BidFlags& flags, const Printer& printer) {
    const auto pages =
        reader_testing::PrintOn(printer.mechanism, reader_testing::BidPage(flags, printer.stored));
    EXPECT_EQ(pages.size(), 1u);
    return pages.empty() ? cv::Mat() : reader_testing::Picture(pages[0]).clone();
}

TEST(BidPage, EveryChosenItemReadsItsTrueValue) {
    constexpr bool o = true;
    constexpr bool _ = false;
    const struct {
        const char* what;
        BidFlags flags;
        uint32_t seed;
    } cases[] = {
        {"all eight", {o, o, o, o, o, o, o, o}, 11},
        {"VSD2 colour alone", {_, _, _, o, _, _, _, _}, 12},
        {"VSD1 black and VSD3 colour", {o, _, _, _, _, o, _, _}, 13},
    };
    for (const auto& c : cases) {
        const Printer printer = RandomPrinter(c.seed);
        const cv::Mat picture = PrintedPicture(c.flags, printer);
        std::vector<std::string> chosen;
        for (size_t i = 0; i < BidItems().size(); ++i) {
            if (c.flags[i]) {
                chosen.push_back(BidItems()[i]);
            }
        }
        for (const int dpi : {0, 300}) {
            SCOPED_TRACE(testing::Message() << c.what << (dpi == 0 ? ", printed" : ", scanned"));
            const reader::PageReading page =
                dpi == 0
                    ? reader::ReadPage(picture)
                    : reader::ReadPage(scan_testing::Scan(
                                           picture, scan_testing::RandomScanSettings(dpi, c.seed)),
                                       dpi);
            EXPECT_EQ(page.kind, reader::PageKind::Bid) << page.problem;
            ASSERT_EQ(page.readings.size(), chosen.size());
            for (size_t at = 0; at < chosen.size(); ++at) {
                const reader::Reading& reading = page.readings[at];
                EXPECT_EQ(reading.name, chosen[at]);
                EXPECT_TRUE(reading.sure) << reading.name << ": " << reading.note;
                EXPECT_EQ(reading.value,
                          reader_testing::TrueValue(printer.mechanism, chosen[at], false))
                    << reading.name;
            }
        }
    }
}

// The all-eight page with its text damaged where it names or values one
// pattern: that pattern's reading is not sure, every other is read sure and
// right. The mechanism lines up each item's middle comb, whose label tells
// the value.
TEST(BidPage, DamagedTextIsNotReadSure) {
    Printer printer;
    printer.stored = {3, -2, 12, -9, -4, 8, 5, -7};
    for (size_t i = 0; i < BidItems().size(); ++i) {
        printer.mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex(BidItems()[i]))] =
            static_cast<int8_t>(printer.stored[i]);
    }
    const BidFlags all = {true, true, true, true, true, true, true, true};
    const cv::Mat clean = PrintedPicture(all, printer);
    // The page's text: the heading, and per mode its title and the labels of
    // its black rows, then of its colour rows, 60 dots a line. VSD2's title
    // is the 9th line; its black pattern's middle row (labels "10 12 14")
    // the 11th, the "12" in cells 30 and 31.
    const auto pages =
        reader_testing::PrintOn(printer.mechanism, reader_testing::BidPage(all, printer.stored));
    ASSERT_EQ(pages.size(), 1u);
    const auto& texts = pages[0].Texts();
    ASSERT_GE(texts.size(), 11u);
    ASSERT_EQ(texts[8].text, "VSD2 Bi-D BLACK/COLOR");
    ASSERT_EQ(texts[10].text, "                        10    12    14");
    const auto glyph = [&](size_t line, int cell) {
        return cv::Rect(cell * reader::kCellDots + 5, static_cast<int>(texts[line].row) + 8, 25,
                        35);
    };
    const cv::Rect label = glyph(10, 31);
    const cv::Scalar ink = cv::Scalar::all(0);
    const cv::Scalar paper = cv::Scalar::all(255);
    const struct {
        const char* what;
        std::vector<cv::Rect> areas;
        cv::Scalar colour;
        std::vector<std::string> notSure;
    } cases[] = {
        {"the label's last digit blotted",
         {{label.x, label.y + 18, 25, 17}},
         ink,
         {"bid-vsd2-black"}},
        {"the label's last digit half gone",
         {{label.x + 12, label.y, 13, 35}},
         paper,
         {"bid-vsd2-black"}},
        {"the title's mode blotted",
         {glyph(8, 3)},
         ink,
         {"bid-unknown-black", "bid-unknown-color"}},
        // One label alone, even the right one, could be misread unseen.
        {"all labels but the lining-up comb's erased",
         {glyph(9, 30) | glyph(9, 31), glyph(11, 30) | glyph(11, 31), glyph(10, 24) | glyph(10, 25),
          glyph(10, 36) | glyph(10, 37)},
         paper,
         {"bid-vsd2-black"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        cv::Mat picture = clean.clone();
        for (const cv::Rect& area : c.areas) {
            cv::rectangle(picture, area, c.colour, cv::FILLED);
        }
        const reader::PageReading page = reader::ReadPage(picture);
        ASSERT_EQ(page.readings.size(), BidItems().size());
        std::vector<std::string> notSure;
        for (size_t at = 0; at < page.readings.size(); ++at) {
            const reader::Reading& reading = page.readings[at];
            if (!reading.sure) {
                notSure.push_back(reading.name);
                continue;
            }
            EXPECT_EQ(reading.name, BidItems()[at]);
            EXPECT_EQ(reading.value, printer.stored[at]) << reading.name;
        }
        EXPECT_EQ(notSure, c.notSure);
    }

    // The text reader itself: the label read sure from the clean page, not
    // from the damaged one.
    std::string problem;
    const auto sheet = reader::MakeSheet(clean, 0, problem);
    ASSERT_TRUE(sheet.has_value()) << problem;
    const cv::Rect band(glyph(10, 29).x - 8, label.y - 20, 3 * reader::kCellDots, 80);
    const reader::TextLine read = reader::ReadTextLine(*sheet, band, "-0123456789");
    EXPECT_TRUE(read.sure);
    EXPECT_EQ(read.text, "12");
    EXPECT_GE(read.confidence, reader::kSureGlyph);
    cv::Mat damaged = clean.clone();
    cv::rectangle(damaged, cases[0].areas.front(), ink, cv::FILLED);
    const auto damagedSheet = reader::MakeSheet(damaged, 0, problem);
    ASSERT_TRUE(damagedSheet.has_value()) << problem;
    EXPECT_FALSE(reader::ReadTextLine(*damagedSheet, band, "-0123456789").sure);
}

}  // namespace
