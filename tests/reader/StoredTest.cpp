// The values stored when a page was printed: kept in the page picture's text
// chunk, given by hand to the tool, and added to the readings of the pages
// that show the error less the stored value.
#include <gtest/gtest.h>

#include <algorithm>

#include <opencv2/imgcodecs.hpp>
#include <string>
#include <vector>

#include "PrintedPages.h"
#include "reader/Stored.h"
#include "support/PlantedFifo.h"
#include "support/Process.h"
#include "support/Sample.h"
#include "support/TempFolder.h"
#include "vprinter/Png.h"

namespace {

using reader::PageKind;
using reader::StoredValues;

reader::Reading Read(const std::string& name, int value, bool sure = true, bool ng = false) {
    reader::Reading reading;
    reading.name = name;
    reading.value = value;
    reading.sure = sure;
    reading.ng = ng;
    return reading;
}

TEST(ApplyStored, AddsTheStoredValueWhereThePageShowsTheErrorLessIt) {
    const struct {
        PageKind kind;
        reader::Reading reading;
        StoredValues stored;
        int value;
        bool sure;
        const char* note;  // a part of the note, "" for none
    } cases[] = {
        {PageKind::HeadAngular, Read("head-angular", 0), {{"head-angular", 3}}, 3, true, ""},
        {PageKind::HeadAngular, Read("head-angular", -3), {{"head-angular", 3}}, 0, true, ""},
        {PageKind::HeadAngular,
         Read("head-angular", 3),
         {{"head-angular", 3}},
         6,
         false,
         "6 is not a value to write"},
        {PageKind::HeadAngular,
         Read("head-angular", 0),
         {{"head-angular", 1}},
         1,
         false,
         "-3, 0 or 3"},
        {PageKind::HeadAngular,
         Read("head-angular", 0, true, true),
         {{"head-angular", 3}},
         0,
         false,
         "end mark"},
        {PageKind::HeadAngular,
         Read("head-angular", 0, true, true),
         {{"head-angular", 0}},
         0,
         true,
         ""},
        // Printed without the stored tilt correction: as read.
        {PageKind::HeadAngular, Read("head-angular", 3), {{"top-margin", 40}}, 3, true, ""},
        {PageKind::TopMargin, Read("top-margin", 40), {{"first-dot", 4}}, 40, false, "not known"},
        {PageKind::TopMargin, Read("top-margin", 40), {{"top-margin", -40}}, 0, true, ""},
        {PageKind::TopMargin,
         Read("top-margin", 40),
         {{"top-margin", 40}},
         80,
         false,
         "-40, 0 or 40"},
        {PageKind::TopMargin, Read("top-margin", 0, false), {{"top-margin", 40}}, 40, false, ""},
        {PageKind::FirstDot, Read("first-dot", 100), {{"first-dot", 27}}, 127, true, ""},
        {PageKind::FirstDot,
         Read("first-dot", 100),
         {{"first-dot", 28}},
         128,
         false,
         "-127 to 127"},
        {PageKind::FirstDot, Read("first-dot", 10), {{"first-dot", -20}}, -10, true, ""},
        {PageKind::PhotoSheet2, Read("first-dot", 2), {{"first-dot", 5}}, 7, true, ""},
        {PageKind::PhotoSheet2, Read("top-margin", -40), {{"top-margin", 40}}, 0, true, ""},
        // The photo-paper sheet's first page: steps from the stored X.
        {PageKind::PhotoSheet1, Read("head-angular", 3), {{"head-angular", -3}}, 0, true, ""},
        {PageKind::PhotoSheet1, Read("pf-black", -1), {{"pf-black", 4}}, 3, true, ""},
        {PageKind::PhotoSheet1, Read("pf-black", -1), {}, -1, false, "is not known"},
        {PageKind::PhotoSheet1, Read("pf-black", 1), {{"pf-black", 4}}, 5, false, "-4 to 4"},
        // Test values the page sets itself: as read, whatever is stored.
        {PageKind::PfBlack, Read("pf-black", 2), {{"pf-black", 1}}, 2, true, ""},
        {PageKind::Bid, Read("bid-vsd3-black", -1), {}, -1, true, ""},
    };
    for (const auto& c : cases) {
        reader::PageReading page;
        page.kind = c.kind;
        page.readings = {c.reading};
        reader::ApplyStored(page, c.stored);
        const reader::Reading& reading = page.readings.at(0);
        SCOPED_TRACE(testing::Message() << reader::KindName(c.kind) << " " << c.reading.name << " "
                                        << c.reading.ValueText());
        EXPECT_EQ(reading.value, c.value);
        EXPECT_EQ(reading.sure, c.sure);
        EXPECT_EQ(reading.ng, c.reading.ng);
        if (*c.note == '\0') {
            EXPECT_EQ(reading.note, "");
        } else {
            EXPECT_NE(reading.note.find(c.note), std::string::npos) << reading.note;
        }
    }
}

// Every quantity's value, 0 and the ends of a signed byte among them, comes
// back by its name from the PNG's bytes and from its file; a picture without
// the chunk, a JPEG and a broken file have none.
TEST(StoredValues, ThePicturesTextChunkReadsBackByName) {
    vprinter::Page page(16);
    page.Mark(vprinter::Ink::Black, 3, 3, 3);
    page.stored.emplace();
    StoredValues expected;
    for (size_t i = 0; i < vprinter::kMechanismQuantities; ++i) {
        const int value = i == 0 ? -128 : i == 1 ? 127 : static_cast<int>(i) * 7 - 60;
        (*page.stored)[i] = static_cast<int8_t>(value);
        expected[vprinter::MechanismQuantities()[i].name] = value;
    }
    std::vector<uint8_t> png;
    ASSERT_TRUE(vprinter::EncodePng(page, png));
    EXPECT_EQ(reader::StoredValuesOfPng(png), expected);

    testing_support::TempFolder folder;
    const std::string file = folder / "page.png";
    testing_support::WriteFile(file, std::string(png.begin(), png.end()));
    EXPECT_EQ(reader::StoredValuesOfFile(file), expected);

    std::vector<uint8_t> again;
    ASSERT_TRUE(vprinter::EncodePng(page, again));
    EXPECT_EQ(again, png) << "the same page and values give the same bytes";

    page.stored.reset();
    ASSERT_TRUE(vprinter::EncodePng(page, png));
    EXPECT_EQ(reader::StoredValuesOfPng(png), StoredValues{});
    const cv::Mat picture(16, 16, CV_8UC3, cv::Scalar::all(255));
    ASSERT_TRUE(cv::imwrite(folder / "scan.jpg", picture));
    EXPECT_EQ(reader::StoredValuesOfFile(folder / "scan.jpg"), StoredValues{});
    testing_support::WriteFile(folder / "broken.png", std::string(png.begin(), png.begin() + 20));
    EXPECT_EQ(reader::StoredValuesOfFile(folder / "broken.png"), StoredValues{});
    EXPECT_EQ(reader::StoredValuesOfFile(folder / "missing.png"), StoredValues{});
}

TEST(StoredValues, AValueGivenByHandIsAQuantityAndASignedByte) {
    const struct {
        const char* text;
        bool good;
        const char* name;
        int value;
    } cases[] = {
        {"head-angular=3", true, "head-angular", 3},
        {"first-dot=-128", true, "first-dot", -128},
        {"bid-vsd3-color=+5", true, "bid-vsd3-color", 5},
        {"top-margin=127", true, "top-margin", 127},
        {"top-margin=128", false, "", 0},
        {"head-angle=3", false, "", 0},
        {"head-angular", false, "", 0},
        {"head-angular=", false, "", 0},
        {"head-angular=3x", false, "", 0},
        {"head-angular= 3", false, "", 0},
        {"head-angular=+-3", false, "", 0},
        {"=3", false, "", 0},
    };
    for (const auto& c : cases) {
        std::string name;
        int value = 0;
        std::string problem;
        EXPECT_EQ(reader::ParseStoredValue(c.text, name, value, problem), c.good) << c.text;
        if (c.good) {
            EXPECT_EQ(name, c.name);
            EXPECT_EQ(value, c.value);
        } else {
            EXPECT_NE(problem, "") << c.text;
        }
    }
}

// The stored values that a pattern can show on the page: the true value (the
// page printed again after writing it) and, where the page has room, one
// that is off.
std::vector<int> StoredToTry(const std::string& quantity, int error, uint32_t seed) {
    std::vector<int> values = {error};
    if (quantity == "first-dot" && error >= 2) {
        values.push_back(error / 2);
    } else if (error == 0) {
        const int choice = quantity == "head-angular" ? 3 : 40;
        values.push_back(seed % 2 == 0 ? choice : -choice);
    }
    return values;
}

reader::PageReading ReadWithItsStoredValues(const vprinter::Page& printed) {
    reader::PageReading page = reader::ReadPage(reader_testing::Picture(printed));
    std::vector<uint8_t> png;
    EXPECT_TRUE(vprinter::EncodePng(printed, png));
    reader::ApplyStored(page, reader::StoredValuesOfPng(png));
    return page;
}

// Pages printed with a stored value not 0 read the value to write: the true
// value, sure, also when it is the value stored. Eight random mechanisms in
// the long set, two of them in the default set.
TEST(ApplyStored, PagesPrintedWithStoredValuesReadTheTrueValue) {
    for (const uint32_t seed : testing_support::Cases(8, 2)) {
        const vprinter::Mechanism mechanism = vprinter::RandomMechanism(seed);
        for (const auto& stream : reader_testing::AdjustmentPages()) {
            if (stream.quantity != "head-angular" && stream.quantity != "top-margin" &&
                stream.quantity != "first-dot") {
                continue;
            }
            const auto quantity = static_cast<size_t>(vprinter::MechanismIndex(stream.quantity));
            const int error = mechanism.errors[quantity];
            for (const int stored : StoredToTry(stream.quantity, error, seed)) {
                SCOPED_TRACE(testing::Message() << "seed " << seed << ", " << stream.quantity << " "
                                                << error << ", stored " << stored);
                vprinter::Eeprom eeprom{};
                eeprom[vprinter::MechanismQuantities()[quantity].address] =
                    static_cast<uint8_t>(stored);
                const auto pages = reader_testing::PrintOn(mechanism, stream.bytes, eeprom);
                ASSERT_EQ(pages.size(), 1u);
                const reader::PageReading page = ReadWithItsStoredValues(pages[0]);
                ASSERT_EQ(page.readings.size(), 1u) << page.problem;
                EXPECT_TRUE(page.readings[0].sure) << page.readings[0].note;
                EXPECT_EQ(page.readings[0].value, error);
            }
        }
        // The photo-paper sheet's second page, printed after the true values
        // are written: in place at X, and the value to write is the stored one.
        vprinter::Eeprom eeprom{};
        for (const char* name : {"top-margin", "first-dot"}) {
            const auto quantity = static_cast<size_t>(vprinter::MechanismIndex(name));
            eeprom[vprinter::MechanismQuantities()[quantity].address] =
                static_cast<uint8_t>(mechanism.errors[quantity]);
        }
        const auto pages = reader_testing::PrintOn(mechanism, reader_testing::PhotoSheet(), eeprom);
        ASSERT_EQ(pages.size(), 2u);
        const reader::PageReading second = ReadWithItsStoredValues(pages[1]);
        ASSERT_EQ(second.readings.size(), 2u);
        for (const auto& reading : second.readings) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << ", sheet, " << reading.name);
            EXPECT_TRUE(reading.sure) << reading.note;
            EXPECT_EQ(reading.best, "X");
            EXPECT_EQ(reading.value, reader_testing::TrueValue(mechanism, reading.name, true));
        }
    }
}

// The tool reads the picture's own stored values; --stored gives them for a
// scan or over the picture's; a wrong one is a usage error in one line.
TEST(ReadPageTool, TakesThePicturesStoredValuesOrThoseGiven) {
    testing_support::TempFolder folder;
    const std::string tool = testing_support::OutputFolder() + "/orvane-read-page";
    vprinter::Mechanism mechanism;
    const auto angular = static_cast<size_t>(vprinter::MechanismIndex("head-angular"));
    mechanism.errors[angular] = 3;
    vprinter::Eeprom eeprom{};
    eeprom[vprinter::MechanismQuantities()[angular].address] = 3;
    for (const auto& stream : reader_testing::AdjustmentPages()) {
        if (stream.quantity == "head-angular") {
            const auto pages = reader_testing::PrintOn(mechanism, stream.bytes, eeprom);
            std::vector<uint8_t> png;
            ASSERT_TRUE(vprinter::EncodePng(pages.at(0), png));
            testing_support::WriteFile(folder / "angular.png", std::string(png.begin(), png.end()));
            ASSERT_TRUE(cv::imwrite(folder / "scan.png", reader_testing::Picture(pages.at(0))));
        }
        if (stream.quantity == "top-margin") {
            const auto pages = reader_testing::PrintOn(mechanism, stream.bytes, eeprom);
            ASSERT_TRUE(cv::imwrite(folder / "margin.png", reader_testing::Picture(pages.at(0))));
        }
    }
    // The head angular page is printed without the stored tilt correction
    // (its picture keeps head-angular=0): with 3 stored and a tilt of 3 it
    // reads 3, also from a scan; a value given is taken as the correction
    // the page was printed with.
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* out;
    } cases[] = {
        {{"angular.png"}, 0, "head-angular: 3\n"},
        {{"scan.png"}, 0, "head-angular: 3\n"},
        {{"scan.png", "--stored", "head-angular=-3"}, 0, "head-angular: 0\n"},
        {{"--stored", "head-angular=-3", "angular.png", "--stored", "first-dot=4"},
         0,
         "head-angular: 0\n"},
        {{"scan.png", "--stored", "head-angular=1"}, 1, "head-angular: not sure\n"},
        {{"margin.png"}, 1, "top-margin: not sure\n"},
        {{"scan.png", "--stored", "head-angle=3"}, 2, ""},
        {{"scan.png", "--stored", "head-angular=three"}, 2, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), tool);
        const auto result = testing_support::RunProcess(args, folder.Path());
        SCOPED_TRACE(testing::Message() << c.args.back());
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.out, c.out);
        if (c.exitCode == 2) {
            EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        }
    }

    const auto result = testing_support::RunProcess({tool, "margin.png", "--json"}, folder.Path());
    EXPECT_NE(result.out.find("\"note\":\"the value stored when the page was printed is not known"),
              std::string::npos)
        << result.out;
    // Without --json, a person is told how to give it.
    EXPECT_NE(testing_support::RunProcess({tool, "margin.png"}, folder.Path())
                  .err.find("with --stored NAME=VALUE"),
              std::string::npos);
}

// A FIFO given for the picture is not opened, neither for its stored values
// nor for the picture: the tool does not wait on it, and refuses it in one
// line.
TEST(ReadPageTool, RefusesAFifoWithoutWaitingOnIt) {
    testing_support::TempFolder folder;
    testing_support::PlantedFifo fifo(folder / "page.png");
    ASSERT_TRUE(fifo.Made());
    const auto result = testing_support::RunProcessBounded(
        {testing_support::OutputFolder() + "/orvane-read-page", folder / "page.png"}, folder.Path(),
        std::chrono::seconds(60));
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_NE(result.err.find("not a regular file"), std::string::npos) << result.err;
    EXPECT_FALSE(fifo.WasOpened());
}

}  // namespace
