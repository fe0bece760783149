// Raster blocks as the printer places them: each test prints a small page
// and compares it pixel for pixel with the dots the stream stands for.
#include "PrintFixture.h"

namespace {

using vprinter::Ink;
using vprinter::Page;
using vprinter_test::PrintTest;
using vprinter_test::SamePixels;
using vprinter_test::Stream;

class Raster : public PrintTest {
  protected:
    // Each dot of a 2-bit raster byte at the given row, from column left on.
    static void Byte(Page& page, Ink ink, int64_t row, int64_t left, uint8_t value) {
        for (int dot = 0; dot < 4; ++dot) {
            page.Mark(ink, row, left + dot, (value >> (6 - 2 * dot)) & 3);
        }
    }
};

TEST_F(Raster, ThreePassesOfABlackBlockFillABandOf270Rows) {
    Stream s;
    s.Init().SmallPage(300).Graphics().Unit(10).Direction(1).DotSize(16);
    for (int pass = 0; pass < 3; ++pass) {
        s.ColourMode(1).Resolution().Block(0, 4, 90);
        for (int line = 0; line < 90; ++line) {
            s.Run(1, 0xFF).Run(1, 0xAA).Run(2, 0x00);
        }
        s.CarriageReturn().Unit(10).Down(1);
    }
    s.FormFeed();
    ASSERT_EQ(Send(s), ResultOk);

    Page expected(300);
    for (int pass = 0; pass < 3; ++pass) {
        for (int line = 0; line < 90; ++line) {
            Byte(expected, Ink::Black, 3 * line + pass, 0, 0xFF);
            Byte(expected, Ink::Black, 3 * line + pass, 4, 0xAA);
        }
    }
    EXPECT_TRUE(SamePixels(LastPage(), expected));
    EXPECT_EQ(Faults(), std::vector<std::string>{});
}

// The colour row holds yellow, magenta and cyan, top down: blocks sent at one
// place land a colour group (30 nozzle places, 90 rows) apart.
TEST_F(Raster, ColourNozzlesOfYellowMagentaAndCyanSitOneAboveTheOther) {
    Stream s;
    s.Init().SmallPage(300).Graphics().Unit(10).ColourMode(2).Resolution();
    for (const int colour : {2, 1, 4}) {  // cyan, magenta, yellow
        s.Block(colour, 1, 29);
        for (int line = 0; line < 29; ++line) {
            s.Run(1, 0x1B);  // dots of sizes 0 1 2 3
        }
        s.CarriageReturn();
    }
    s.Block(0, 1, 90).Run(90, 0xC0).CarriageReturn().FormFeed();
    ASSERT_EQ(Send(s), ResultOk);

    Page expected(300);
    for (int line = 0; line < 29; ++line) {
        Byte(expected, Ink::Yellow, 3 * line, 0, 0x1B);
        Byte(expected, Ink::Magenta, 90 + 3 * line, 0, 0x1B);
        Byte(expected, Ink::Cyan, 180 + 3 * line, 0, 0x1B);
    }
    for (int line = 0; line < 90; ++line) {
        Byte(expected, Ink::Black, 3 * line, 0, 0xC0);
    }
    EXPECT_TRUE(SamePixels(LastPage(), expected));
    EXPECT_EQ(Faults(), std::vector<std::string>{});
}

TEST_F(Raster, UnitsRunOverLineEndsAndDataMaySplitAnywhereBetweenCalls) {
    Stream s;
    s.Init().SmallPage(60).Graphics().Unit(10).Resolution().Block(0, 3, 5);
    s.Run(7, 0xFF).Run(8, 0x40).CarriageReturn().FormFeed();

    Page expected(60);
    for (int byte = 0; byte < 15; ++byte) {
        Byte(expected, Ink::Black, 3 * (byte / 3), 4 * (byte % 3), byte < 7 ? 0xFF : 0x40);
    }
    ASSERT_EQ(Send(s), ResultOk);
    EXPECT_TRUE(SamePixels(LastPage(), expected));
    WaitPrinted();
    ASSERT_EQ(SendInPieces(s, 1), ResultOk);  // every byte a call of its own
    EXPECT_TRUE(SamePixels(LastPage(), expected));
    EXPECT_EQ(Faults(), std::vector<std::string>{});
}

TEST_F(Raster, MovesInUnitsFinerThanADotStepTheHeadADotAUnit) {
    const std::vector<int> shifts = {0, 1, 3, 4, 5, 6, 8, 11, 12, 2000};
    Stream s;
    s.Init().SmallPage(100).Graphics().UnitExtended().ColourMode(1).Resolution();
    for (const int shift : shifts) {
        s.CarriageReturn().Right(shift).Block(0, 1, 1).Run(1, 0xC0).Down(24);  // 3 rows
    }
    // A block leaves the head at its right end.
    s.CarriageReturn().Block(0, 1, 1).Run(1, 0xC0).Block(0, 1, 1).Run(1, 0x30).FormFeed();
    ASSERT_EQ(Send(s), ResultOk);

    Page expected(100);
    for (size_t k = 0; k < shifts.size(); ++k) {
        const int column = shifts[k];  // 1/2880 inch moves the head a whole dot
        expected.Mark(Ink::Black, static_cast<int64_t>(3 * k), column, 3);
    }
    const int64_t last = static_cast<int64_t>(3 * shifts.size());
    expected.Mark(Ink::Black, last, 0, 3);
    expected.Mark(Ink::Black, last, 5, 3);
    EXPECT_TRUE(SamePixels(LastPage(), expected));
}

TEST_F(Raster, VerticalMovesCountInTheUnitSetLast) {
    Stream s;
    s.Init().SmallPage(40).Graphics().Resolution().Block(0, 1, 1).Run(1, 0xC0);
    s.Unit(30).Down(2).CarriageReturn().Block(0, 1, 1).Run(1, 0xC0);  // 6 rows down
    s.Unit(10).Down(5).CarriageReturn().Block(0, 1, 1).Run(1, 0xC0);  // 5 more
    s.Unit(20).Down(3).CarriageReturn().Block(0, 1, 1).Run(1, 0xC0);  // 6 more
    s.FormFeed();
    ASSERT_EQ(Send(s), ResultOk);

    Page expected(40);
    for (const int row : {0, 6, 11, 17}) {
        expected.Mark(Ink::Black, row, 0, 3);
    }
    EXPECT_TRUE(SamePixels(LastPage(), expected));
}

TEST_F(Raster, UncompressedAndOneBitBlocksArePrintedToo) {
    Stream s;
    s.Init().SmallPage(20).Graphics().Resolution();
    s.Raw({0x1B, 0x69, 0, 0, 2, 2, 0, 2, 0}).Raw({0xFF, 0x00, 0x00, 0xC0}).CarriageReturn();
    s.Down(1).Raw({0x1B, 0x69, 0, 1, 1, 1, 0, 1, 0}).Run(1, 0x81).FormFeed();
    ASSERT_EQ(Send(s), ResultOk);

    Page expected(20);
    Byte(expected, Ink::Black, 0, 0, 0xFF);
    Byte(expected, Ink::Black, 3, 4, 0xC0);
    expected.Mark(Ink::Black, 1, 0, 3);
    expected.Mark(Ink::Black, 1, 7, 3);
    EXPECT_TRUE(SamePixels(LastPage(), expected));
    EXPECT_EQ(Faults(), std::vector<std::string>{});
}

TEST_F(Raster, ABlockLeftOutsideGraphicsModeOrItsColourModeIsReadButNotPrinted) {
    Stream s;
    s.Init().SmallPage(300).Resolution().Block(0, 1, 1).Run(1, 0xFF);  // no ESC ( G
    s.Graphics().ColourMode(1).Block(2, 1, 1).Run(1, 0xFF);            // cyan, black only
    s.Block(0, 1, 92).Run(92, 0xC0);                                   // more lines than nozzles
    s.FormFeed();
    ASSERT_EQ(Send(s), ResultOk);

    const auto faults = Faults();
    ASSERT_EQ(faults.size(), 3u);
    EXPECT_NE(faults[0].find("outside raster graphics mode"), std::string::npos) << faults[0];
    EXPECT_NE(faults[1].find("black-only mode"), std::string::npos) << faults[1];
    EXPECT_NE(faults[2].find("92 lines for 90 nozzles"), std::string::npos) << faults[2];
    Page expected(300);
    for (int line = 0; line < 90; ++line) {
        expected.Mark(Ink::Black, 3 * line, 8, 3);  // the head moved on over the unprinted blocks
    }
    EXPECT_TRUE(SamePixels(LastPage(), expected));
}

}  // namespace
