#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <functional>

#include "tray/PageFacts.h"
#include "tray/PageShelf.h"
#include "tray/PageView.h"

class QAction;
class QLabel;
class QListWidget;
class QSplitter;

namespace tray {

class TrayWatcher;

// The paper tray: the printed pages of the virtual printers, newest first,
// each named by its port and picture, and the chosen page beside them. A page
// that comes out goes to the top of the list and is shown, unless the user
// has chosen an older one to look at.
//
// Keys: F fits the whole page in view, 1 shows it at 100%, 2 at 200%, 4 at
// 400%; + and - step through Fit, 25%, 50%, 100%, 200% and 400%. N shows the
// next page of the list (the one below, older), P the previous one, as the
// list's own Down and Up do. A zoom and another page keep the place looked
// at. The page is panned with the scroll bars, the arrow keys or by dragging
// it. S shows the page printed before the chosen one on the same printer
// (of the same kind, when there is one) beside it, both at the same zoom and
// place, so that a page before and after an adjustment can be compared.
// A click on a reading, or on a mark of its pattern, shows that pattern
// whole at a zoom where it can be judged.
class TrayWindow : public QMainWindow {
    Q_OBJECT

  public:
    // Reads the state folder; with a port, only that printer's pages.
    TrayWindow(const std::string& stateFolder, const std::string& port, QWidget* parent = nullptr);
    ~TrayWindow() override;

    TrayWatcher& Watcher() { return *watcher_; }
    PageView& View() { return *view_; }
    QListWidget& List() { return *list_; }
    // The facts told of the page shown, one a line.
    QString Readings() const;
    QListWidget& ReadingList() { return *readings_; }
    // Shows the page's area (in its pixels) whole in the middle of the view,
    // at the closest zoom from 100% on that holds it.
    void LookAt(const QRect& area);
    void SetZoom(PageView::Zoom zoom);
    // Chooses the page that many rows down the list (up if negative), as far
    // as the list goes.
    void StepPage(int rows);
    // The path of the page shown, empty when none is.
    QString ShownPath() const { return shownPath_; }
    void SetSideBySide(bool on);
    bool SideBySide() const;
    PageView& BeforeView() { return *before_; }
    // The page shown beside the chosen one, empty when none is.
    QString BeforePath() const { return beforePath_; }

  private slots:
    void ShowPages();
    void ShowChosen();

  private:
    QAction* AddZoom(const ZoomStep& step);
    void AddKey(const QString& text, const QList<QKeySequence>& keys,
                const std::function<void()>& act);
    // The page's picture and, read once, its facts; a null picture when the
    // file does not decode.
    QImage Load(const QString& path, const PageFacts** facts);
    const PageFacts* FactsOfPath(const QString& path);
    QString PageBefore(int row);
    void ShowBefore();
    void Follow(PageView& from, PageView& to);
    void ShowFacts(const PageFacts& facts);

    PageShelf shelf_;
    TrayWatcher* watcher_ = nullptr;
    QListWidget* list_ = nullptr;
    PageView* view_ = nullptr;
    QLabel* count_ = nullptr;
    QListWidget* readings_ = nullptr;  // what the page reader reads on the page shown
    QHash<QString, PageFacts> facts_;  // by path
    QList<QAction*> zoomActions_;
    QString shownPath_;
    PageView* before_ = nullptr;  // beside the view, on request
    QWidget* beforeBox_ = nullptr;
    QSplitter* pair_ = nullptr;  // the page before and the chosen one
    QLabel* beforeCaption_ = nullptr;
    QLabel* afterCaption_ = nullptr;
    QAction* sideBySide_ = nullptr;
    QString beforePath_;
    bool following_ = false;  // one view is taking the other's place
};

}  // namespace tray
