// Read page on the adjustment pages: the page printed through the page's own
// Print, or a picture or scan of it, read into the page's controls; nothing
// written until Input; pages of another pattern, and pages older than the
// last Input, refused.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <map>
#include <opencv2/imgcodecs.hpp>
#include <string>
#include <utility>
#include <vector>

#include "PageFixture.h"
#include "support/SimulatedScan.h"
#include "vprinter/Mechanism.h"
#include "vprinter/PageFiles.h"
#include "vprinter/Store.h"

// A namespace of its own: the tests' files compile in unity groups.
namespace read_page_tests {
namespace {

using testing_support::PageTest;

constexpr const char* kPort = "VTUSB001";

// An adjustment page with a check pattern: how the technician gets there and
// prints it, and where its value shows.
struct AdjustPage {
    const char* name;
    int item;            // in the Adjust tab's navigation
    int colour;          // PF: the Black / Color item; -1 for the others
    const char* print;   // its Print button
    const char* prefix;  // of its Read page buttons' names
};

const AdjustPage kHeadAngular{"head angular", 3, -1, "HeadAngularPrintBtn", "HeadAngular"};
const AdjustPage kBid{"Bi-D", 4, -1, "BidPrintOKBtn", "Bid"};
const AdjustPage kPfBlack{"PF black", 5, 0, "PFAdjustPrintBKBtn", "PF"};
const AdjustPage kPfColour{"PF colour", 5, 1, "PFAdjustPrintBKBtn", "PF"};
const AdjustPage kTopMargin{"top margin", 6, -1, "TopMarginPrintBtn", "TopMargin"};
const AdjustPage kFirstDot{"first dot", 8, -1, "LandMarginPrintBtn", "FirstDot"};

class ReadPageControls : public PageTest {
  protected:
    // The printer's mechanism off by errors (quantity names), then the
    // adjustment window on it.
    void Open(const std::map<std::string, int>& errors, int model = 0) {
        vprinter::Mechanism mechanism;
        for (const auto& [name, error] : errors) {
            mechanism.errors[static_cast<size_t>(vprinter::MechanismIndex(name))] =
                static_cast<int8_t>(error);
        }
        ASSERT_TRUE(Printers().GetStore().SaveMechanism(kPort, mechanism));
        OpenAdjustmentWindow(model, kPort);
    }
    void GoTo(const AdjustPage& page) {
        ClickItem("AdjustRdoGrp", page.item);
        Adjust().DisableTimerTimer();
        if (page.colour >= 0) {
            ClickItem("PFColorSelectRadioGroup", page.colour);
        }
    }
    // Prints the page with its own Print; the Bi-D page is read on the input
    // page that its print page leads to.
    void Print(const AdjustPage& page) {
        GoTo(page);
        Press(page.print);
        if (page.item == kBid.item) {
            Press("BidPrintShowInputBtn");
        }
    }
    void PressRead(const AdjustPage& page) {
        Press((std::string(page.prefix) + "ReadPageBtn").c_str());
    }
    // Open picture... answered with path.
    void PressOpen(const AdjustPage& page, const std::string& path) {
        OpenDialogs().answers.push_back(path);
        Press((std::string(page.prefix) + "OpenPictureBtn").c_str());
    }
    std::string NewestPicture() {
        const std::string folder = Printers().GetStore().PagesFolder(kPort);
        const auto pages = vprinter::ListPages(folder);
        return pages.empty() ? std::string() : folder + "/" + pages.back();
    }
    QString Choice(const char* combo) { return Find<QComboBox>(Adjust(), combo)->currentText(); }
    bool Ticked(const char* box) { return Find<QCheckBox>(Adjust(), box)->isChecked(); }
    std::string Status() { return StatusText().toStdString(); }
};

// What a page's controls show after Read page, and what its status line says.
struct Filled {
    AdjustPage page;
    std::map<std::string, QString> edits;  // by edit name ("" for the top margin's list)
    std::vector<std::string> status;       // parts of the status line
};

// Every page printed on one printer whose mechanism is off; a first dot
// error to the left would print the pages' left ends off the sheet. The
// Bi-D ECO colour error lies beyond the page's choices (-2 to 2): not sure.
TEST_F(ReadPageControls, TheNewestPageFillsWhatItShowsSurelyAndNothingIsWrittenUntilInput) {
    Open({{"head-angular", 3},
          {"pf-black", 2},
          {"pf-color", -3},
          {"top-margin", 40},
          {"first-dot", 9},
          {"bid-vsd1-black", 2},
          {"bid-vsd2-color", -1},
          {"bid-eco-color", 5}});
    const Filled cases[] = {
        {kHeadAngular,
         {{"HeadAngularInputEdit", "3"}},
         {"Head angular check, page-0001.png: the value is filled in; press Input"}},
        {kPfBlack, {{"PFAdjustDataEdit", "2"}}, {"PF check (black), page-0002.png"}},
        {kPfColour, {{"PFAdjustDataEdit", "-3"}}, {"PF check (color), page-0003.png"}},
        {kTopMargin, {{"", "+"}}, {"Top margin check"}},
        {kFirstDot, {{"LandMarginInputEdit", "9"}}, {"First dot check"}},
        {kBid,
         {{"BidVSD1BkInputEdit", "2"},
          {"BidVSD1CLInputEdit", "0"},
          {"BidVSD2CLInputEdit", "-1"},
          {"BidVSD3BkInputEdit", "0"},
          {"BidECOBkInputEdit", "0"},
          {"BidECOCLInputEdit", ""}},
         {"7 of 8 values are filled in; the others are not sure.",
          "\nbid-eco-color: not sure (no comb lines up"}},
    };
    for (const Filled& each : cases) {
        SCOPED_TRACE(each.page.name);
        Print(each.page);
        if (each.page.item == kBid.item) {
            Type("BidECOCLInputEdit", "");
        }
        ClearTrace();
        PressRead(each.page);
        EXPECT_TRUE(Writes().empty());
        for (const std::string& part : each.status) {
            EXPECT_NE(Status().find(part), std::string::npos) << part << " in\n" << Status();
        }
        for (const auto& [edit, text] : each.edits) {
            EXPECT_EQ(edit.empty() ? Choice("TopMarginInputComboBox") : EditText(edit.c_str()),
                      text)
                << edit;
        }
    }
    // The items read surely are ticked for Input; the one not sure is not.
    for (const char* box :
         {"BidVSD1BkInputCheckBox", "BidVSD3CLInputCheckBox", "BidECOBkInputCheckBox"}) {
        EXPECT_TRUE(Ticked(box)) << box;
    }
    EXPECT_FALSE(Ticked("BidECOCLInputCheckBox"));
}

TEST_F(ReadPageControls, RefusesAnotherPatternAnOlderPageAndNoPageLeavingTheEditAsItWas) {
    Open({{"pf-black", 2}, {"head-angular", -3}});
    GoTo(kHeadAngular);
    PressRead(kHeadAngular);
    EXPECT_NE(Status().find("has printed no page yet"), std::string::npos) << Status();

    // The PF black page on the head angular page, and on PF with Color chosen.
    Print(kPfBlack);
    const std::string pfPage = NewestPicture();
    GoTo(kHeadAngular);
    PressRead(kHeadAngular);
    EXPECT_NE(Status().find("shows the PF check (black); this page reads the Head angular check"),
              std::string::npos)
        << Status();
    EXPECT_EQ(EditText("HeadAngularInputEdit"), "0");
    GoTo(kPfColour);
    PressRead(kPfColour);
    EXPECT_NE(Status().find("this page reads the PF check (color)"), std::string::npos) << Status();
    EXPECT_EQ(EditText("PFAdjustDataEdit"), "");

    // Read and written: the page printed before the Input, newest or opened,
    // is refused; a page printed after it is read again.
    GoTo(kPfBlack);
    PressRead(kPfBlack);
    ASSERT_EQ(EditText("PFAdjustDataEdit"), "2");
    Press("PFAdjustInputBtn");
    ASSERT_EQ(StatusText(), "The PF adjustment value has written properly.");
    Type("PFAdjustDataEdit", "1");
    PressRead(kPfBlack);
    EXPECT_NE(Status().find("was printed before the last Input"), std::string::npos) << Status();
    PressOpen(kPfBlack, pfPage);
    EXPECT_NE(Status().find("printed with pf-black=0 stored, before the last Input wrote 2"),
              std::string::npos)
        << Status();
    EXPECT_EQ(EditText("PFAdjustDataEdit"), "1");
    Press(kPfBlack.print);
    PressRead(kPfBlack);
    EXPECT_EQ(EditText("PFAdjustDataEdit"), "2") << Status();

    // What the technician chooses is read only when it is a picture: a FIFO
    // is not opened (it would keep the window waiting), a text file is no
    // picture; a cancelled dialog leaves the status line as it is.
    Type("PFAdjustDataEdit", "1");
    const std::string fifo = Data() / "fifo.png";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string text = Data() / "notes.png";
    std::ofstream(text) << "not a picture\n";
    for (const auto& [path, says] : {std::pair{fifo, "fifo.png was not read: not a regular file"},
                                     std::pair{text, "notes.png was not read: "}}) {
        PressOpen(kPfBlack, path);
        EXPECT_NE(Status().find(says), std::string::npos) << Status();
    }
    const std::string before = Status();
    Press("PFOpenPictureBtn");
    EXPECT_EQ(Status(), before);
    EXPECT_EQ(EditText("PFAdjustDataEdit"), "1");
}

// A first dot to the left prints its line off the sheet: the blank page
// says which way to go, and stored that far lower the line is read.
TEST_F(ReadPageControls, AFirstDotLineOffThePaperSaysWhichWayToGo) {
    Open({{"first-dot", -2}});
    Print(kFirstDot);
    PressRead(kFirstDot);
    EXPECT_NE(Status().find("write a value 10 lower than the one stored"), std::string::npos)
        << Status();
    // The edit is read-only: its buttons step it, here at once.
    Find<QLineEdit>(Adjust(), "LandMarginInputEdit")->setText("-10");
    Press("LandMarginInputBtn");
    ASSERT_EQ(Status(), "The first dot position adjustment value has written properly.");
    Print(kFirstDot);
    PressRead(kFirstDot);
    EXPECT_EQ(EditText("LandMarginInputEdit"), "-2") << Status();
}

TEST_F(ReadPageControls, RefusesThePagesOfAPrinterOfAnotherModel) {
    Open({{"head-angular", 3}}, 1);
    Print(kHeadAngular);
    PressRead(kHeadAngular);
    EXPECT_NE(Status().find("is an Orvane K31"), std::string::npos) << Status();
}

// A scan: the page laid a little askew on the scanner's dark lid, softened,
// saved as a JPEG, chosen with Open picture... A page that shows the error
// less the stored value cannot be read surely from a scan, which keeps no
// stored value: nothing is filled, and the status line says why.
TEST_F(ReadPageControls, AScanFillsWhatItShowsSurelyAndANotSureReadingFillsNothing) {
    struct Scanned {
        AdjustPage page;
        const char* edit;
        QString shown;  // the edit after reading the scan
        const char* status;
    };
    Open({{"pf-color", 3}, {"first-dot", 5}});
    const Scanned cases[] = {
        {kPfColour, "PFAdjustDataEdit", "3", "press Input"},
        {kFirstDot, "LandMarginInputEdit", "0", "first-dot: not sure ("},
    };
    for (const Scanned& each : cases) {
        SCOPED_TRACE(each.page.name);
        Print(each.page);
        const cv::Mat page = cv::imread(NewestPicture(), cv::IMREAD_COLOR);
        ASSERT_FALSE(page.empty());
        scan_testing::ScanSettings settings;
        settings.dpi = 300;
        settings.degrees = 0.7;
        settings.offset = {0.2, 0.3};
        const std::vector<uint8_t> jpeg = scan_testing::ScanFile(page, settings);
        const std::string path = Data() / "scan.jpg";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<long>(jpeg.size()));
        PressOpen(each.page, path);
        EXPECT_EQ(EditText(each.edit), each.shown);
        EXPECT_NE(Status().find(each.status), std::string::npos) << Status();
        ASSERT_EQ(OpenDialogs().shown.size(), 1u);
        EXPECT_NE(OpenDialogs().shown.back().filter.find("*.jpg"), std::string::npos);
        OpenDialogs().shown.clear();
    }
}

// The controls lie clear of the page's own: none of them is covered.
TEST_F(ReadPageControls, TheControlsCoverNoneOfThePagesOwn) {
    Start();
    Adjust().Build();
    for (const AdjustPage& page : {kHeadAngular, kBid, kPfBlack, kTopMargin, kFirstDot}) {
        for (const char* button : {"ReadPageBtn", "OpenPictureBtn"}) {
            const std::string name = std::string(page.prefix) + button;
            auto* control = Find<QPushButton>(Adjust(), name.c_str());
            ASSERT_NE(control, nullptr);
            for (QObject* other : control->parentWidget()->children()) {
                auto* widget = qobject_cast<QWidget*>(other);
                if (widget != nullptr && widget != control) {
                    EXPECT_FALSE(widget->geometry().intersects(control->geometry()))
                        << name << " covers " << widget->objectName().toStdString();
                }
            }
        }
    }
}

}  // namespace
}  // namespace read_page_tests
