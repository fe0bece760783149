// The tray's window: the list it shows, the page it shows, zoom and panning.
#include <fcntl.h>
#include <unistd.h>
#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "TrayFixture.h"
#include "pattern/GoldenPictures.h"
#include "platform/Files.h"
#include "reader/PageReading.h"
#include "support/HostilePictures.h"
#include "support/PlantedFifo.h"
#include "support/Process.h"
#include "tray/PageFacts.h"
#include "tray/TrayWatcher.h"
#include "tray/TrayWindow.h"
#include "vprinter/Png.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;
using tray::PageView;
using tray::TrayWindow;
using tray_test::TrayTest;

class Window : public TrayTest {
  protected:
    void SetUp() override { AddPrinter("VTUSB001"); }

    std::unique_ptr<TrayWindow> Open(const std::string& port = {}) {
        auto window = std::make_unique<TrayWindow>(folder_.Path(), port);
        window->resize(900, 700);
        window->show();
        QCoreApplication::processEvents();
        return window;
    }

    // A golden page picture as the printer would have printed it.
    static vprinter::Page PageOf(const char* golden) {
        const std::string bytes = ReadFile(golden_pictures::PathOf(golden));
        uint32_t width = 0;
        uint32_t height = 0;
        std::vector<uint8_t> pixels;
        EXPECT_TRUE(vprinter::DecodePng(std::vector<uint8_t>(bytes.begin(), bytes.end()), width,
                                        height, pixels));
        vprinter::Page page(height);
        for (uint32_t row = 0; row < height; ++row) {
            for (uint32_t column = 0; column < width; ++column) {
                const uint8_t dots = pixels[static_cast<size_t>(row) * width + column];
                for (int ink = 0; ink < 4 && dots != 0; ++ink) {
                    if (const int level = dots >> (6 - 2 * ink) & 3; level != 0) {
                        page.Mark(static_cast<vprinter::Ink>(ink), row, column, level);
                    }
                }
            }
        }
        return page;
    }

    void PrintPage(const std::string& port, vprinter::Page page) {
        std::string error;
        ASSERT_TRUE(vprinter::SavePage(PagesFolder(port), page, error)) << error;
    }

    static QStringList Rows(TrayWindow& window) {
        QStringList rows;
        for (int i = 0; i < window.List().count(); ++i) {
            rows << window.List().item(i)->text();
        }
        return rows;
    }

    QString PathOf(const std::string& name) const {
        return QString::fromStdString(PagesFolder("VTUSB001") + "/" + name);
    }

    // A window small enough to pan a short page at 100%, its scroll bars
    // always there so that the view's size stays while the zoom changes.
    std::unique_ptr<TrayWindow> OpenSmall() {
        auto window = Open();
        window->resize(700, 320);
        window->View().setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        window->View().setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        window->activateWindow();
        QCoreApplication::processEvents();
        return window;
    }

    // The picture point a view of that size can have in its middle when
    // asked for `wanted`: the page's middle across a side the page does not
    // fill, else the nearest point that keeps the view on the page.
    static QPointF Reachable(QPointF wanted, QSize page, double scale, QSize area) {
        const auto along = [scale](double at, int length, int shown) {
            const double half = shown / scale / 2.0;
            return length * scale <= shown ? length / 2.0 : std::clamp(at, half, length - half);
        };
        return {along(wanted.x(), page.width(), area.width()),
                along(wanted.y(), page.height(), area.height())};
    }
};

TEST_F(Window, NewPageGoesOnTopAndIsShownUnlessAnOlderOneIsChosen) {
    auto window = Open();
    EXPECT_TRUE(Rows(*window).isEmpty());
    EXPECT_FALSE(window->View().HasPicture());

    Print("VTUSB001");
    Print("VTUSB001");
    window->Watcher().CheckNow();
    EXPECT_EQ(Rows(*window), (QStringList{"VTUSB001  page-0002.png", "VTUSB001  page-0001.png"}));
    EXPECT_EQ(window->ShownPath(), PathOf("page-0002.png"));
    EXPECT_TRUE(window->View().HasPicture());

    Print("VTUSB001");
    window->Watcher().CheckNow();
    EXPECT_EQ(window->ShownPath(), PathOf("page-0003.png"));

    // Looking at an older page: the new one is listed on top, the view stays.
    window->List().setCurrentRow(2);
    EXPECT_EQ(window->ShownPath(), PathOf("page-0001.png"));
    Print("VTUSB001");
    window->Watcher().CheckNow();
    EXPECT_EQ(Rows(*window).front(), "VTUSB001  page-0004.png");
    EXPECT_EQ(window->ShownPath(), PathOf("page-0001.png"));
    EXPECT_EQ(window->List().currentRow(), 3);
}

TEST_F(Window, TheReaderReadsThePageShown) {
    // A PF page printed at test values -5..5 on a perfect mechanism: the 0
    // step is the one whose blocks meet.
    Print("VTUSB001");
    WriteFile(PagesFolder("VTUSB001") + "/page-0002.png",
              ReadFile(golden_pictures::PathOf("PfBlack")));
    auto window = Open();
    EXPECT_EQ(window->ShownPath(), PathOf("page-0002.png"));
    EXPECT_EQ(window->Readings().toStdString(),
              "PF check (black)\npf-black: 0\nStored when printed: not recorded in the picture");
    EXPECT_EQ(Rows(*window).front(), "VTUSB001  page-0002.png  PF check (black)");
    window->List().setCurrentRow(1);
    EXPECT_EQ(window->Readings().toStdString(), "Not a check page the reader knows.");
}

// A click on a reading, or on one of its pattern's marks, shows the pattern
// whole at a zoom where its marks can be judged.
TEST_F(Window, ClickOnAReadingOrOnItsMarksShowsThePatternWhole) {
    PrintPage("VTUSB001", PageOf("PfBlack"));
    auto window = Open();
    auto& view = window->View();
    QListWidget& readings = window->ReadingList();
    ASSERT_EQ(readings.count(), 3);  // kind, reading, stored values
    QListWidgetItem* reading = readings.item(1);
    ASSERT_EQ(reading->text(), "pf-black: 0");
    const cv::Rect marks =
        reader::ReadPageFile(PathOf("page-0001.png").toStdString()).readings.at(0).area;
    ASSERT_GT(marks.height, 1000);  // the eleven steps' blocks, one under the other
    const QPointF middle(marks.x + marks.width / 2.0, marks.y + marks.height / 2.0);
    QTest::mouseClick(readings.viewport(), Qt::LeftButton, {},
                      readings.visualItemRect(reading).center());
    EXPECT_EQ(view.CurrentZoom(), PageView::Zoom::Full);  // too tall for more
    EXPECT_NEAR(view.Centre().x(), middle.x(), 1.0);
    EXPECT_NEAR(view.Centre().y(), middle.y(), 1.0);

    window->SetZoom(PageView::Zoom::Fit);
    const QPointF mark(marks.x + 20, marks.y + 20);
    const QPointF screenMiddle(view.viewport()->width() / 2.0, view.viewport()->height() / 2.0);
    const QPoint at = ((mark - view.Centre()) * view.Scale() + screenMiddle).toPoint();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(view.CurrentZoom(), PageView::Zoom::Full);
    EXPECT_NEAR(view.Centre().y(), middle.y(), 1.0);
    // A click off the pattern leaves the view as it is.
    window->SetZoom(PageView::Zoom::Fit);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(view.CurrentZoom(), PageView::Zoom::Fit);
}

// The top margin page of a mechanism in place, saved as the printer saves
// it, once with the values stored when it was printed and once without them.
// (The head angular page, printed without the stored tilt correction, needs
// none, and says so instead.)
TEST_F(Window, TheReaderAddsTheValueStoredWhenThePageWasPrinted) {
    vprinter::Page page = PageOf("TopMargin");
    std::string error;
    ASSERT_TRUE(vprinter::SavePage(PagesFolder("VTUSB001"), page, error)) << error;
    page.stored.emplace();
    (*page.stored)[static_cast<size_t>(vprinter::MechanismIndex("top-margin"))] = -40;
    ASSERT_TRUE(vprinter::SavePage(PagesFolder("VTUSB001"), page, error)) << error;

    auto window = Open();
    EXPECT_EQ(window->ShownPath(), PathOf("page-0002.png"));
    EXPECT_EQ(window->Readings().toStdString(),
              "Top margin check\ntop-margin: -40\nStored when printed: top-margin=-40");
    // Without them the page cannot tell the value to write, and says why.
    window->List().setCurrentRow(1);
    const QStringList lines = window->Readings().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3) << window->Readings().toStdString();
    EXPECT_TRUE(lines[1].startsWith("top-margin: not sure (")) << lines[1].toStdString();
    EXPECT_EQ(lines[2], "Stored when printed: not recorded in the picture");

    reader::PageReading angular;
    angular.kind = reader::PageKind::HeadAngular;
    EXPECT_EQ(tray::FactsOf(angular, {{"head-angular", 0}}).stored.toStdString(),
              "Printed without a tilt correction");
}

// Before and after: the chosen page beside the page of the same kind printed
// before it on the same printer, at one zoom and place whichever is moved.
TEST_F(Window, SideBySideShowsTheSameKindPrintedBeforeAtTheSameZoomAndPlace) {
    const vprinter::Page pf = PageOf("PfBlack");
    AddPrinter("VTUSB002");
    PrintPage("VTUSB001", pf);
    Print("VTUSB001");  // page-0002: no check page
    Print("VTUSB002");  // another printer's page comes between
    PrintPage("VTUSB001", pf);
    auto window = Open();
    const auto choose = [&](const std::string& name) {
        const auto rows = window->List().findItems(QString::fromStdString("VTUSB001  " + name),
                                                   Qt::MatchStartsWith);
        ASSERT_EQ(rows.size(), 1);
        window->List().setCurrentItem(rows.front());
        QCoreApplication::processEvents();
    };
    choose("page-0001.png");
    window->SetSideBySide(true);
    EXPECT_EQ(window->BeforePath(), QString());  // nothing printed before the first page
    EXPECT_FALSE(window->BeforeView().HasPicture());

    choose("page-0003.png");
    ASSERT_EQ(window->ShownPath(), PathOf("page-0003.png"));
    EXPECT_EQ(window->BeforePath(), PathOf("page-0001.png"));
    window->SetZoom(PageView::Zoom::Double);
    window->View().CentreOn(QPointF(900, 700));
    auto& before = window->BeforeView();
    EXPECT_EQ(before.CurrentZoom(), PageView::Zoom::Double);
    EXPECT_NEAR(before.Centre().x(), window->View().Centre().x(), 1.0);
    EXPECT_NEAR(before.Centre().y(), window->View().Centre().y(), 1.0);
    // Panning the page before moves the chosen one along.
    before.horizontalScrollBar()->setValue(before.horizontalScrollBar()->value() + 300);
    EXPECT_NEAR(window->View().Centre().x(), before.Centre().x(), 1.0);

    // Of another kind, the page just before is taken.
    choose("page-0002.png");
    ASSERT_EQ(window->ShownPath(), PathOf("page-0002.png"));
    EXPECT_EQ(window->BeforePath(), PathOf("page-0001.png"));
    window->SetSideBySide(false);
    EXPECT_FALSE(window->BeforeView().isVisibleTo(window.get()));
}

TEST_F(Window, PictureThatDoesNotLoadIsLeftOutUntilItIsWrittenAgain) {
    const std::string good = ReadFile(PagesFolder("VTUSB001") + "/" + Print("VTUSB001"));
    auto window = Open();
    // Whole to look at (signature and end), damaged inside.
    std::string damaged = good;
    std::fill(damaged.begin() + 40, damaged.end() - 20, 'x');
    WriteFile(PagesFolder("VTUSB001") + "/page-0002.png", damaged);
    window->Watcher().CheckNow();
    QCoreApplication::processEvents();
    EXPECT_EQ(Rows(*window), QStringList{"VTUSB001  page-0001.png"});
    EXPECT_EQ(window->ShownPath(), PathOf("page-0001.png"));

    ASSERT_EQ(orvane::ReplaceFile(PagesFolder("VTUSB001") + "/page-0002.png", good),
              orvane::FileWrite::Done);
    window->Watcher().CheckNow();
    QCoreApplication::processEvents();
    EXPECT_EQ(Rows(*window).front(), "VTUSB001  page-0002.png");
    EXPECT_EQ(window->ShownPath(), PathOf("page-0002.png"));
}

// What the process writes to its standard error meanwhile (Qt's messages
// included), into a file of the test's own.
class ErrorOutput {
  public:
    explicit ErrorOutput(const std::string& path) : path_(path) {
        std::fflush(stderr);
        saved_ = dup(2);
        const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        dup2(file, 2);
        close(file);
    }
    ~ErrorOutput() { Take(); }
    std::string Take() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            dup2(saved_, 2);
            close(saved_);
            saved_ = -1;
        }
        return ReadFile(path_);
    }

  private:
    std::string path_;
    int saved_ = -1;
};

// The hostile pictures as pages: the tray shows the picture the page reader
// decodes (a large one smaller), leaves out what the reader refuses, and
// writes nothing of the decoders' own. A JPEG is never a page.
TEST_F(Window, HostilePagesAreLeftOutOrShownSmallerAndQuietly) {
    std::filesystem::create_directories(PagesFolder("VTUSB001"));
    const std::string page = PagesFolder("VTUSB001") + "/page-0001.png";
    for (const auto& c : hostile_pictures::HostileCases()) {
        if (c.bytes.at(0) != 0x89) {
            continue;
        }
        WriteFile(page, std::string(c.bytes.begin(), c.bytes.end()));
        ErrorOutput errors(folder_ / "stderr");
        {
            auto window = Open();
            QCoreApplication::processEvents();
            if (c.problem != nullptr) {
                EXPECT_FALSE(window->View().HasPicture()) << c.what;
                EXPECT_TRUE(window->ShownPath().isEmpty()) << c.what;
            } else {
                EXPECT_EQ(window->ShownPath(), QString::fromStdString(page)) << c.what;
                EXPECT_EQ(window->View().PictureSize(), QSize(c.width, c.height)) << c.what;
            }
        }
        const std::string written = errors.Take();
        EXPECT_FALSE(hostile_pictures::HasDecoderText(written)) << c.what << ": " << written;
    }
}

TEST_F(Window, ZoomKeysSetTheScaleAndTheRangeToPanOver) {
    Print("VTUSB001");
    auto window = Open();
    window->activateWindow();
    QCoreApplication::processEvents();
    PageView& view = window->View();
    const QSize area = view.viewport()->size();
    const double fit = std::min(area.width() / 2880.0, area.height() / double(kRows));
    const struct {
        char key;
        double scale;
    } cases[] = {{'4', 4.0}, {'1', 1.0}, {'F', fit}};
    for (const auto& c : cases) {
        QTest::keyClick(&window->List(), c.key);
        EXPECT_DOUBLE_EQ(view.Scale(), c.scale) << c.key;
        EXPECT_EQ(view.horizontalScrollBar()->maximum(),
                  std::max(0, int(std::ceil(2880 * c.scale)) - area.width()));
        EXPECT_EQ(view.verticalScrollBar()->maximum(),
                  std::max(0, int(std::ceil(kRows * c.scale)) - area.height()));
    }
}

TEST_F(Window, DraggingPansAndZoomKeepsThePointInTheMiddle) {
    Print("VTUSB001");
    auto window = Open();
    PageView& view = window->View();
    window->SetZoom(PageView::Zoom::Close);
    QScrollBar& across = *view.horizontalScrollBar();
    QScrollBar& down = *view.verticalScrollBar();
    // From the whole page: its middle.
    EXPECT_NEAR(view.Centre().x(), 1440.0, 1.0);
    EXPECT_NEAR(view.Centre().y(), kRows / 2.0, 1.0);
    across.setValue(1000);
    down.setValue(200);
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, view.viewport()->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    };
    send(QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton);
    send(QEvent::MouseMove, {250, 280}, Qt::LeftButton);
    send(QEvent::MouseMove, {200, 260}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {200, 260}, Qt::NoButton);
    EXPECT_EQ(across.value(), 1100);  // the page follows the mouse
    EXPECT_EQ(down.value(), 240);

    const QPointF middle = view.Centre();
    window->SetZoom(PageView::Zoom::Full);
    EXPECT_NEAR(view.Centre().x(), middle.x(), 1.0);
}

// Every zoom step, by its own key or by + and -, keeps the picture point that
// was in the middle of the view there, as far as the page reaches; a whole
// page's middle is the point a closer look starts at.
TEST_F(Window, ZoomStepsKeepThePointInTheMiddle) {
    Print("VTUSB001");
    auto window = OpenSmall();
    PageView& view = window->View();
    const QSize page(2880, kRows);
    const QSize area = view.viewport()->size();
    const double fit = std::min(area.width() / 2880.0, area.height() / double(kRows));
    ASSERT_LT(area.height(), kRows);  // 100% pans down the page too
    using Z = PageView::Zoom;
    const QPointF asIs(-1.0, -1.0);
    const struct {
        QPointF put;  // where the view is put first
        char key;
        Z zoom;
        double scale;
    } steps[] = {
        {asIs, '1', Z::Full, 1.0},         {{2000, 150}, '+', Z::Double, 2.0},
        {asIs, '+', Z::Close, 4.0},        {asIs, '+', Z::Close, 4.0},
        {{600, 300}, '-', Z::Double, 2.0}, {asIs, '-', Z::Full, 1.0},
        {{2400, 120}, '-', Z::Half, 0.5},  {asIs, '-', Z::Quarter, 0.25},
        {asIs, '-', Z::Fit, fit},          {asIs, '-', Z::Fit, fit},
        {asIs, '+', Z::Quarter, 0.25},     {{1000, 60}, '2', Z::Double, 2.0},
        {{2700, 380}, '4', Z::Close, 4.0}, {asIs, '=', Z::Close, 4.0},
        {asIs, 'F', Z::Fit, fit},          {asIs, '4', Z::Close, 4.0},
    };
    for (const auto& s : steps) {
        if (s.put != asIs) {
            view.CentreOn(s.put);
        }
        const QPointF before = view.Centre();
        QTest::keyClick(&window->List(), s.key);
        QCoreApplication::processEvents();
        const std::string what = std::string(1, s.key) + " to " + std::to_string(s.scale);
        EXPECT_EQ(view.CurrentZoom(), s.zoom) << what;
        EXPECT_DOUBLE_EQ(view.Scale(), s.scale) << what;
        const QPointF expected = Reachable(before, page, s.scale, area);
        EXPECT_NEAR(view.Centre().x(), expected.x(), 1.0 / s.scale) << what;
        EXPECT_NEAR(view.Centre().y(), expected.y(), 1.0 / s.scale) << what;
    }
}

// A page that comes out, and the next and previous page of the list (N, P,
// the list's own Down, from the list or the view), are shown at the zoom
// and the place of the page before, the place as far as the page reaches.
TEST_F(Window, NewAndNextPagesKeepTheZoomAndThePlace) {
    Print("VTUSB001");
    auto window = OpenSmall();
    PageView& view = window->View();
    window->SetZoom(PageView::Zoom::Double);
    view.CentreOn({2000, 150});
    QWidget* list = &window->List();
    QWidget* pageView = &view;
    const struct {
        int64_t print;  // rows of a page printed, else a key
        Qt::Key key;
        QWidget* to;
        const char* shown;
    } steps[] = {
        {kRows, {}, nullptr, "page-0002.png"},     {0, Qt::Key_N, list, "page-0001.png"},
        {0, Qt::Key_N, pageView, "page-0001.png"},  // the list's end
        {0, Qt::Key_P, pageView, "page-0002.png"}, {100, {}, nullptr, "page-0003.png"},
        {0, Qt::Key_Down, list, "page-0002.png"},  {0, Qt::Key_P, list, "page-0003.png"},
        {kRows, {}, nullptr, "page-0004.png"},
    };
    for (const auto& s : steps) {
        const QPointF before = view.Centre();
        if (s.print != 0) {
            Print("VTUSB001", s.print);
            window->Watcher().CheckNow();
        } else {
            QTest::keyClick(s.to, s.key);
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(window->ShownPath().toStdString(), PathOf(s.shown).toStdString());
        EXPECT_DOUBLE_EQ(view.Scale(), 2.0) << s.shown;
        const QPointF expected =
            Reachable(before, view.PictureSize(), 2.0, view.viewport()->size());
        EXPECT_NEAR(view.Centre().x(), expected.x(), 0.5) << s.shown;
        EXPECT_NEAR(view.Centre().y(), expected.y(), 0.5) << s.shown;
    }
}

// The tray's picture of itself goes where every file of the project goes:
// never through a link, never into a FIFO or over what is no regular file.
TEST_F(Window, TheScreenshotReplacesOnlyARegularFileAndNeverWritesThroughALink) {
    const std::filesystem::path out = folder_ / "out";
    std::filesystem::create_directory(out);
    const std::string victim = out / "victim";
    WriteFile(victim, "precious");
    ASSERT_EQ(::symlink(victim.c_str(), (out / "link.png").c_str()), 0);
    std::filesystem::create_directory(out / "folder.png");
    testing_support::PlantedFifo fifo(out / "fifo.png",
                                      testing_support::PlantedFifo::Side::ForWriters);
    ASSERT_TRUE(fifo.Made());
    const struct {
        const char* name;
        int exitCode;
    } cases[] = {{"new.png", 0}, {"link.png", 0}, {"folder.png", 2}, {"fifo.png", 2}};
    for (const auto& c : cases) {
        const auto run = testing_support::RunProcessBounded(
            {testing_support::OutputFolder() + "/orvane-tray", "--dir", folder_.Path(),
             "--screenshot", out / c.name},
            folder_.Path(), std::chrono::seconds(60), {"QT_QPA_PLATFORM=offscreen"});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.err;
        if (c.exitCode == 0) {
            EXPECT_EQ(ReadFile(out / c.name).substr(1, 3), "PNG") << c.name;
        }
    }
    EXPECT_EQ(ReadFile(victim), "precious");
    EXPECT_FALSE(fifo.WasOpened());
}

}  // namespace
