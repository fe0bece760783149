#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "BidPagesFixture.h"
#include "app/Rk7howtobidadjust.h"
#include "link/PrintModes.h"
#include "link/ResultCodes.h"

namespace {

using adjust_tests::Bytes;
using bid_page_tests::BidItem;
using bid_page_tests::kItems;

const std::map<int, uint8_t> kPrintPageStored = {{0x34, 0x01}, {0x35, 0x02}, {0x36, 0x03},
                                                 {0x37, 0x04}, {0x38, 0xFE}, {0x39, 0xFD},
                                                 {0x32, 0x05}, {0x33, 0xFB}};

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

class BidPrintPage : public bid_page_tests::BidPages {
  protected:
    void SetUp() override {
        BidPages::SetUp();
        Store(kPrintPageStored);
    }
    // Leaves only the print-request boxes of the given items checked.
    void Request(std::initializer_list<size_t> items) {
        for (size_t i = 0; i < std::size(kItems); ++i) {
            Check(kItems[i].request)
                ->setChecked(std::find(items.begin(), items.end(), i) != items.end());
        }
    }
    size_t PagesPrinted() {
        const auto* pages = Printers().PrintedPages("VTUSB001");
        return pages == nullptr ? 0 : pages->size();
    }
};

TEST_F(BidPrintPage, EveryItemStartsRequestedAndWithoutOneNothingIsSent) {
    EXPECT_EQ(Checked(&BidItem::request), std::vector<bool>(8, true));
    Request({});
    Press("BidPrintOKBtn");
    EXPECT_EQ(StatusText(), QString(bid_page_tests::kSelectItem));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(Adjust().isEnabled());
    EXPECT_TRUE(Calls().empty()) << "not even the printer's state is asked";
}

TEST_F(BidPrintPage, OnlyEcoColourPrintsItsTitleAndColourRowsAfterReadingAllEight) {
    Request({7});
    Press("BidPrintOKBtn");
    EXPECT_EQ(StatusText(), QString(bid_page_tests::kPrinted));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusBlack);
    EXPECT_TRUE(Adjust().isEnabled());
    EXPECT_EQ(PagesPrinted(), 1u);
    EXPECT_TRUE(Calls("fault").empty()) << Calls("fault").front().note;

    const auto names = CallNames();
    const auto firstSend = std::find(names.begin(), names.end(), "SendDataChannel");
    EXPECT_EQ(Reads(), (std::vector<int>{0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x32, 0x33}));
    EXPECT_EQ(std::count(firstSend, names.end(), "D4ReadEeprom"), 0);

    Bytes expected =
        Text(std::string("Bi-D Check pattern\r\n") + '\0' + "ECO Bi-D" + '\0' + " COLOR\r" + '\0');
    const Bytes printed = AcceptedBytes();
    // The colour rows of ECO around the stored -5, as the generator gives them.
    ClearTrace();
    orvane_app::Modules& modules = App().GetModules();
    ASSERT_EQ(modules.pattern.PrintBidColorPattern(ModeEco, -5), ResultOk);
    ASSERT_EQ(modules.raster.Flush(), ResultOk);
    const Bytes rows = AcceptedBytes();
    ASSERT_FALSE(rows.empty());
    expected.insert(expected.end(), rows.begin(), rows.end());
    expected.push_back(0x0C);
    // While the page comes out, the completion's wait asks the printer to
    // initialise itself between polls.
    ASSERT_GE(printed.size(), expected.size());
    EXPECT_EQ(Bytes(printed.begin(), printed.begin() + static_cast<long>(expected.size())),
              expected);
    for (size_t at = expected.size(); at < printed.size(); at += 2) {
        EXPECT_EQ(Bytes(printed.begin() + static_cast<long>(at),
                        printed.begin() + static_cast<long>(std::min(at + 2, printed.size()))),
                  (Bytes{0x1B, 0x40}));
    }
}

TEST_F(BidPrintPage, AFailedReadPrintsNothingAndIsReported) {
    ChangePrinter("VTUSB001", [](vprinter::PrinterConfig& config) {
        config.readFaults[0x39] = ResultPortNoResponse;
    });
    ClearTrace();
    Request({0});
    Press("BidPrintOKBtn");
    EXPECT_EQ(Reads(), (std::vector<int>{0x34, 0x35, 0x36, 0x37, 0x38, 0x39}));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(PagesPrinted(), 0u);
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
    EXPECT_TRUE(Adjust().isEnabled());
}

TEST_F(BidPrintPage, PaperFeedSendsSevenNewLinesWithoutWaitingForThePrinter) {
    Press("BidPrintPaperFeedBtn");
    Bytes sevenLines;
    for (int i = 0; i < 7; ++i) {
        sevenLines.push_back(0x0D);
        sevenLines.push_back(0x0A);
    }
    EXPECT_EQ(Sent(), std::vector<Bytes>{sevenLines}) << "one flush of the whole feed";
    EXPECT_TRUE(Calls("InquireStatus").empty());
    EXPECT_EQ(StatusText(), QString());

    FailNextCall("SendDataChannel", ResultChannelError);
    Press("BidPrintPaperFeedBtn");
    EXPECT_TRUE(StatusText().startsWith("Communication error occurred."));
    EXPECT_EQ(StatusColour(), TFormAdjust::kStatusRed);
}

TEST_F(BidPrintPage, HowToAdjustOnEitherPageShowsTheHelpBesideTheWindow) {
    THowToBidAdjustForm& howTo = App().HowToBidAdjust();
    Press("BidPrintHowToAdjustBtn");
    EXPECT_TRUE(howTo.isVisible());
    EXPECT_FALSE(howTo.isModal());
    EXPECT_TRUE(Adjust().isEnabled());
    howTo.close();
    Press("BidPrintShowInputBtn");
    Press("BidInputHowToAdjustBtn");
    EXPECT_TRUE(howTo.isVisible());
    // The page takes typing while the help stays open.
    Type("BidECOBkInputEdit", "9");
    EXPECT_TRUE(Check("BidECOBkInputCheckBox")->isChecked());
    EXPECT_TRUE(howTo.isVisible());
}

}  // namespace
