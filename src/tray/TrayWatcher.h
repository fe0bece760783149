#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include "tray/PageShelf.h"

namespace tray {

// Follows the pages folders while the printers print: a change in a watched
// folder asks for a scan a moment later (so that a burst of changes costs
// one), and a slow poll catches what the watcher misses (a printer folder
// that is not complete yet when it appears, a state folder made later).
class TrayWatcher : public QObject {
    Q_OBJECT

  public:
    static constexpr int kSettleMs = 100;
    static constexpr int kPollMs = 2000;

    explicit TrayWatcher(PageShelf& shelf, QObject* parent = nullptr);

    PageShelf& Shelf() { return shelf_; }
    // The folders being watched now.
    QStringList Watched() const;

  public slots:
    // Scans the folders at once and watches the ones that came; emits
    // PagesChanged when the pages listed changed.
    void CheckNow();
    // Leaves a picture that did not load out until its file changes.
    void HoldBack(const QString& path);

  signals:
    void PagesChanged();

  private:
    void Rewatch();

    PageShelf& shelf_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    QTimer poll_;
};

}  // namespace tray
