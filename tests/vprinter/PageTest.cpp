// Text, the nozzle check, the sheet's size and the page pictures.
#include <algorithm>
#include <set>

#include "PrintFixture.h"
#include "support/TempFolder.h"
#include "vprinter/Font.h"
#include "vprinter/PageFiles.h"
#include "vprinter/Png.h"

namespace {

using vprinter::Ink;
using vprinter::Page;
using vprinter_test::PrintTest;
using vprinter_test::SamePixels;
using vprinter_test::Stream;

// A character as its glyph says it is drawn: each glyph dot a 5 x 5 square,
// the glyph 5 dots in from the cell's left and 8 down from its top.
void DrawGlyph(Page& page, int64_t row, int64_t column, char character) {
    const vprinter::Glyph& glyph = vprinter::GlyphOf(character);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 5; ++x) {
            if ((glyph.rows[y] >> (4 - x) & 1) != 0) {
                for (int d = 0; d < 25; ++d) {
                    page.Mark(Ink::Black, row + 8 + 5 * y + d / 5, column + 5 + 5 * x + d % 5, 3);
                }
            }
        }
    }
}

class Pages : public PrintTest {};

TEST_F(Pages, TextIsPrintedInCellsOfTenCharactersAnInchAndSixLinesAnInch) {
    Stream s;
    s.Init().PaperSize(2880, 200).PageFormat(20, 200).Text("Ab").Raw({0x0D, 0x0A}).Draft();
    s.Text("c?").Raw({0x0D, 0x00}).Text("9").FormFeed();
    ASSERT_EQ(Send(s), ResultOk);

    Page expected(200);
    DrawGlyph(expected, 20, 0, 'A');
    DrawGlyph(expected, 20, 36, 'b');
    DrawGlyph(expected, 80, 0, 'c');
    DrawGlyph(expected, 80, 36, '?');
    DrawGlyph(expected, 80, 0, '9');  // CR without LF prints over the line
    const Page& page = LastPage();
    EXPECT_TRUE(SamePixels(page, expected));
    ASSERT_EQ(page.Texts().size(), 3u);
    EXPECT_EQ(page.Texts()[0].text, "Ab");
    EXPECT_EQ(page.Texts()[1].row, 80);
    EXPECT_EQ(page.Texts()[1].text, "c?");
    EXPECT_EQ(page.AllText(), "Ab\nc?\n9\n");
}

// Characters are drawn a glyph row at a time: wherever the cell lies, what
// falls on the sheet is exactly the glyph's dots, over the inks already there,
// and a row that none of it reaches stays unmarked.
TEST(PageText, ACharacterCutByTheSheetsEdgesKeepsWhatFallsOnTheSheet) {
    const struct {
        int64_t row;
        int64_t column;
    } places[] = {{50, 1000}, {-20, -20},       {-8, 2860},       {170, 2850},
                  {0, -5},    {100, 2880 - 36}, {100, 2880 - 41}, {3, 2880 - 12},
                  {-100, 0},  {0, 2880},        {0, -40},         {200, 0}};
    for (const auto& place : places) {
        for (const char character : {'W', '#', '.', '\x01'}) {
            Page actual(200);
            Page expected(200);
            for (Page* page : {&actual, &expected}) {
                for (int64_t column = 0; column < Page::kColumns; column += 3) {
                    page->Mark(Ink::Cyan, place.row + 20, column, 2);
                    page->Mark(Ink::Black, place.row + 12, column, 1);
                    page->Mark(Ink::Yellow, 199, column, 1);
                }
            }
            actual.Print(place.row, place.column, character);
            DrawGlyph(expected, place.row, place.column, character);
            const std::string where = std::to_string(place.row) + ", " +
                                      std::to_string(place.column) + " '" + character + "'";
            EXPECT_TRUE(SamePixels(actual, expected)) << where;
            for (int64_t row = 0; row < 200; ++row) {
                ASSERT_EQ(actual.Row(row) == nullptr, expected.Row(row) == nullptr)
                    << where << ", row " << row;
            }
        }
    }
}

// A run of dots is what marking them one by one gives: cut at both edges,
// over other inks, smaller dots never replacing larger ones.
TEST(PageDots, ARunMarksWhatItsDotsWouldOneByOne) {
    const uint8_t twoBits[4] = {3, 0, 1, 2};
    const uint8_t oneBit[8] = {3, 0, 0, 3, 3, 0, 3, 0};
    const struct {
        int64_t row;
        int64_t column;
        const uint8_t* pattern;
        int dots;
        uint64_t repeats;
    } runs[] = {{5, 100, twoBits, 4, 30},     {5, -7, twoBits, 4, 5},   {9, 2870, oneBit, 8, 4},
                {0, -4000, twoBits, 4, 2000}, {9, 2880, twoBits, 4, 1}, {-1, 0, twoBits, 4, 3},
                {10, 0, oneBit, 8, 1u << 20}};
    for (const auto& run : runs) {
        Page actual(10);
        Page expected(10);
        for (Page* page : {&actual, &expected}) {
            for (int64_t column = 0; column < Page::kColumns; column += 5) {
                page->Mark(Ink::Black, 5, column, 2);
                page->Mark(Ink::Cyan, 9, column, 1);
            }
        }
        actual.MarkRun(Ink::Black, run.row, run.column, run.pattern, run.dots, run.repeats);
        for (uint64_t k = 0; k < std::min<uint64_t>(run.repeats, 4000); ++k) {
            for (int d = 0; d < run.dots; ++d) {
                expected.Mark(Ink::Black, run.row,
                              run.column + static_cast<int64_t>(k) * run.dots + d, run.pattern[d]);
            }
        }
        EXPECT_TRUE(SamePixels(actual, expected)) << run.row << ", " << run.column;
    }
}

TEST_F(Pages, EveryPrintableCharacterHasAGlyphOfItsOwn) {
    std::set<std::vector<uint8_t>> seen;
    for (char c = ' '; c <= '~'; ++c) {
        const auto& glyph = vprinter::GlyphOf(c);
        const std::vector<uint8_t> rows(glyph.rows, glyph.rows + 9);
        EXPECT_TRUE(seen.insert(rows).second) << "'" << c << "' looks like another character";
        if (c != ' ') {
            EXPECT_NE(rows, std::vector<uint8_t>(9, 0)) << "'" << c << "' prints nothing";
        }
    }
}

TEST_F(Pages, ThePageLengthParameterInTheLastByteKeepsTheLengthOfThePaperSize) {
    Stream s;
    s.Init().SmallPage(300).Raw({0x1B, 0x28, 0x43, 0x04, 0x00, 0x00, 0x00, 0x00, 0x17});
    s.Text("x").FormFeed();
    ASSERT_EQ(Send(s), ResultOk);
    EXPECT_TRUE(Faults().empty()) << Faults()[0];
    EXPECT_EQ(LastPage().Rows(), 300);
}

TEST_F(Pages, TextInRasterGraphicsModeIsNotPrintedAndTakesNoSheet) {
    Stream s;
    s.Init().SmallPage(100).Graphics().Text("lost").FormFeed();
    ASSERT_EQ(Send(s), ResultOk);
    EXPECT_EQ(PagesPrinted(), 0u);
    EXPECT_EQ(Config().paper, 100);
    ASSERT_EQ(Faults().size(), 1u);
    EXPECT_NE(Faults()[0].find("4 bytes of text in raster graphics mode"), std::string::npos);
}

TEST_F(Pages, ANozzleCheckPrintsADashForEveryNozzleBelowItsCaption) {
    Stream s;
    s.Init().SmallPage(400).Text("NC").Raw({0x0D, 0x00}).RemoteEntry();
    s.Raw({'N', 'C', 2, 0, 0, 0}).RemoteExit().Raw({0x0D, 0x0A, 0x0D, 0x0A}).FormFeed();
    ASSERT_EQ(Send(s), ResultOk);

    Page expected(400);
    DrawGlyph(expected, 0, 0, 'N');
    DrawGlyph(expected, 0, 36, 'C');
    const struct {
        Ink ink;
        int nozzles;
        int top;
        int left;
    } groups[] = {{Ink::Black, 90, 60, 180},
                  {Ink::Cyan, 29, 240, 900},
                  {Ink::Magenta, 29, 150, 1260},
                  {Ink::Yellow, 29, 60, 1620}};
    for (const auto& group : groups) {
        for (int nozzle = 0; nozzle < group.nozzles; ++nozzle) {
            for (int dot = 0; dot < 32; ++dot) {
                expected.Mark(group.ink, group.top + 3 * nozzle, group.left + nozzle % 6 * 40 + dot,
                              3);
            }
        }
    }
    EXPECT_TRUE(SamePixels(LastPage(), expected));
    EXPECT_EQ(Faults(), std::vector<std::string>{});
}

TEST_F(Pages, WithoutAPaperSizeTheSheetIsA4AndPrintingStartsAtTheTopMargin) {
    Stream s;
    s.Init().Text("x").FormFeed();
    ASSERT_EQ(Send(s), ResultOk);
    const Page& page = LastPage();
    EXPECT_EQ(page.Rows(), 4208);
    ASSERT_EQ(page.Texts().size(), 1u);
    EXPECT_EQ(page.Texts()[0].row, 42);
}

TEST_F(Pages, EachEjectedPageBecomesAPictureThatReadsBackAsThePage) {
    Stream s;
    s.Init().SmallPage(120).Text("Hi").Graphics().Resolution().ColourMode(2);
    s.Down(60).CarriageReturn().Block(4, 2, 3).Run(6, 0x6C).CarriageReturn().FormFeed();
    ASSERT_EQ(Send(s), ResultOk);
    WaitPrinted();
    ASSERT_EQ(Send(s), ResultOk);

    const std::string folder = StateFolder() + "/VTUSB001/pages";
    ASSERT_EQ(vprinter::ListPages(folder),
              (std::vector<std::string>{"page-0001.png", "page-0002.png"}));
    const std::string first = testing_support::ReadFile(folder + "/page-0001.png");
    EXPECT_EQ(first, testing_support::ReadFile(folder + "/page-0002.png"))
        << "the same page gives the same bytes";
    EXPECT_EQ(LastPage().name, "page-0002.png");

    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;
    ASSERT_TRUE(vprinter::DecodePng(std::vector<uint8_t>(first.begin(), first.end()), width, height,
                                    pixels));
    ASSERT_EQ(width, 2880u);
    ASSERT_EQ(height, 120u);
    size_t differences = 0;
    for (uint32_t row = 0; row < height; ++row) {
        for (uint32_t column = 0; column < width; ++column) {
            differences += pixels[row * width + column] != LastPage().Pixel(row, column);
        }
    }
    EXPECT_EQ(differences, 0u);
    EXPECT_EQ(LastPage().Level(Ink::Yellow, 66, 4 + 1), 2);  // 0x6C: dots of sizes 1 2 3 0
    EXPECT_EQ(LastPage().Level(Ink::Yellow, 66, 4 + 3), 0);
}

// The picture keeps the values in force when its sheet was taken (stored, or
// a test value a packet set before), as text beside the pixels: a value set
// while the page prints is not the page's, and a picture that does not know
// them has no text.
TEST_F(Pages, ThePictureKeepsTheValuesInForceWhenItsSheetWasTaken) {
    ChangeEeprom("VTUSB001", [](vprinter::Eeprom& eeprom) {
        eeprom[0x75] = 0x03;  // head angular 3
        eeprom[0x59] = 0x0C;  // first dot 12
        eeprom[0x5A] = 0x00;
    });
    Stream s;
    s.Init().SmallPage(120).Packet(0x07, 0x83, {0xD8});  // top margin -40, not stored
    s.Text("A").Packet(0x05, 0x82, {0xFD}).Text("B").FormFeed();
    ASSERT_EQ(Send(s), ResultOk);
    const std::string picture =
        testing_support::ReadFile(StateFolder() + "/VTUSB001/pages/" + LastPage().name);
    EXPECT_NE(picture.find(std::string("tEXtOrvane stored values") + '\0' + "bid-eco-black="),
              std::string::npos);
    EXPECT_NE(
        picture.find("\nhead-angular=3\npf-black=0\npf-color=0\ntop-margin=-40\nfirst-dot=12\n"),
        std::string::npos);
    EXPECT_LT(picture.find("tEXt"), picture.find("IDAT")) << "read before the pixels";

    Page unknown(8);
    std::vector<uint8_t> png;
    ASSERT_TRUE(vprinter::EncodePng(unknown, png));
    EXPECT_EQ(std::string(png.begin(), png.end()).find("tEXt"), std::string::npos);
}

TEST_F(Pages, ThePaletteShowsEachInkAndDotSizeAsItsOwnShade) {
    const auto& palette = vprinter::PagePalette();
    EXPECT_EQ(palette[0], (std::array<uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(palette[0xC0], (std::array<uint8_t, 3>{0, 0, 0}));
    std::set<std::array<uint8_t, 3>> shades;
    for (const int single :
         {0x40, 0x80, 0xC0, 0x10, 0x20, 0x30, 0x04, 0x08, 0x0C, 0x01, 0x02, 0x03}) {
        shades.insert(palette[static_cast<size_t>(single)]);
    }
    EXPECT_EQ(shades.size(), 12u);
    EXPECT_GT(palette[0x01][0] + palette[0x01][1], palette[0x03][0] + palette[0x03][1])
        << "a small yellow dot is lighter than a large one";
}

}  // namespace
