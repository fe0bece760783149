// The tray's list of pages and how it follows the pages folders.
#include <sys/stat.h>

#include <QSignalSpy>

#include "TrayFixture.h"
#include "support/TempFolder.h"
#include "tray/TrayWatcher.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;
using tray::PageShelf;
using tray_test::TrayTest;
using Names = std::vector<std::string>;

class Shelf : public TrayTest {};

TEST_F(Shelf, ListsNewestFirstAcrossPrintersAndForOnePort) {
    AddPrinter("VTUSB001");
    AddPrinter("VTUSB002");
    Print("VTUSB001");
    Print("VTUSB001");
    Print("VTUSB002");
    PageShelf all(folder_.Path());
    PageShelf first(folder_.Path(), "VTUSB001");
    PageShelf second(folder_.Path(), "VTUSB002");
    PageShelf missing(folder_.Path(), "USB7");
    const auto refresh = [&] {
        for (PageShelf* shelf : {&all, &first, &second, &missing}) {
            shelf->Refresh();
        }
    };
    refresh();
    // Found together at start: by page number, then by port.
    EXPECT_EQ(Listed(all), (Names{"VTUSB001/page-0002.png", "VTUSB001/page-0001.png",
                                  "VTUSB002/page-0001.png"}));
    // Pages that come out later go on top in the order they came, whatever
    // their numbers.
    Print("VTUSB002");
    refresh();
    Print("VTUSB001");
    refresh();
    const struct {
        const PageShelf& shelf;
        Names expected;
    } cases[] = {
        {all,
         {"VTUSB001/page-0003.png", "VTUSB002/page-0002.png", "VTUSB001/page-0002.png",
          "VTUSB001/page-0001.png", "VTUSB002/page-0001.png"}},
        {first, {"VTUSB001/page-0003.png", "VTUSB001/page-0002.png", "VTUSB001/page-0001.png"}},
        {second, {"VTUSB002/page-0002.png", "VTUSB002/page-0001.png"}},
        {missing, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Listed(c.shelf), c.expected) << c.shelf.Port();
    }
    EXPECT_EQ(all.Pages().front().path, PagesFolder("VTUSB001") + "/page-0003.png");
}

TEST_F(Shelf, ShowsNoTemporaryOrUnfinishedPictureUntilItIsWhole) {
    AddPrinter("VTUSB001");
    const std::string folder = PagesFolder("VTUSB001");
    const std::string picture = ReadFile(folder + "/" + Print("VTUSB001"));
    ASSERT_TRUE(tray::IsWholePicture(folder + "/page-0001.png"));
    const struct {
        const char* name;
        std::string content;
    } files[] = {
        {".page-4242.part", picture},               // the page writer's own
        {".page-4242.part.tmp.4242", picture},      // ... on its way there
        {"page-0002.png.tmp.77", picture},          // someone else's temporary
        {"page-0003.png", picture.substr(0, 900)},  // still being copied in
        {"page-0004.png", "not a picture"},
        {"page-x.png", picture},
        {"notes.txt", picture},
    };
    for (const auto& file : files) {
        WriteFile(folder + "/" + file.name, file.content);
    }
    // A pipe named as a page would block a reader for ever.
    ASSERT_EQ(::mkfifo((folder + "/page-0005.png").c_str(), 0600), 0);
    PageShelf shelf(folder_.Path());
    shelf.Refresh();
    EXPECT_EQ(Listed(shelf), Names{"VTUSB001/page-0001.png"});

    // Finished later, it comes out as a page of its own.
    WriteFile(folder + "/page-0003.png", picture);
    EXPECT_TRUE(shelf.Refresh());
    EXPECT_EQ(Listed(shelf), (Names{"VTUSB001/page-0003.png", "VTUSB001/page-0001.png"}));
    EXPECT_FALSE(shelf.Refresh());
}

TEST_F(Shelf, WatcherPicksUpPagesAndPrintersThatComeLater) {
    AddPrinter("VTUSB001");
    PageShelf shelf(folder_.Path());
    tray::TrayWatcher watcher(shelf);
    QSignalSpy changed(&watcher, &tray::TrayWatcher::PagesChanged);
    EXPECT_TRUE(shelf.Pages().empty());
    EXPECT_TRUE(watcher.Watched().contains(QString::fromStdString(folder_.Path())));

    Print("VTUSB001");
    watcher.CheckNow();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(Listed(shelf), Names{"VTUSB001/page-0001.png"});
    watcher.CheckNow();
    EXPECT_EQ(changed.count(), 1);  // nothing new

    AddPrinter("USB3");
    watcher.CheckNow();
    EXPECT_TRUE(watcher.Watched().contains(QString::fromStdString(folder_ / "USB3")));
    Print("USB3");
    watcher.CheckNow();
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(Listed(shelf), (Names{"USB3/page-0001.png", "VTUSB001/page-0001.png"}));
    EXPECT_TRUE(watcher.Watched().contains(QString::fromStdString(PagesFolder("USB3"))));

    ASSERT_TRUE(store_.RemovePrinter("USB3"));
    watcher.CheckNow();
    EXPECT_EQ(Listed(shelf), Names{"VTUSB001/page-0001.png"});
    EXPECT_FALSE(watcher.Watched().contains(QString::fromStdString(folder_ / "USB3")));
}

TEST_F(Shelf, StateFolderThatAppearsLaterIsRead) {
    const std::string later = folder_ / "later";
    PageShelf shelf(later);
    tray::TrayWatcher watcher(shelf);
    EXPECT_TRUE(watcher.Watched().isEmpty());
    vprinter::Store store(later);
    ASSERT_TRUE(store.EnsureCreated());
    vprinter::Page page(10);
    std::string error;
    ASSERT_TRUE(vprinter::SavePage(store.PagesFolder("VTUSB002"), page, error)) << error;
    watcher.CheckNow();
    EXPECT_EQ(Listed(shelf), Names{"VTUSB002/page-0001.png"});
    EXPECT_TRUE(watcher.Watched().contains(QString::fromStdString(later)));
}

TEST_F(Shelf, FolderNamedOnTheCommandLineMustBeAReadableFolderOrNone) {
    WriteFile(folder_ / "file", "x");
    const struct {
        std::string folder;
        std::string problem;
    } cases[] = {
        {"", "the state folder (--dir) is an empty name"},
        {folder_ / "file", "the state folder " + (folder_ / "file") + " is not a folder"},
        {folder_.Path(), ""},
        {folder_ / "not/yet", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tray::TrayFolderProblem(c.folder), c.problem) << c.folder;
    }
}

}  // namespace
