#include "tray/TrayWatcher.h"

#include <QSet>

namespace tray {

TrayWatcher::TrayWatcher(PageShelf& shelf, QObject* parent) : QObject(parent), shelf_(shelf) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    poll_.setInterval(kPollMs);
    connect(&settle_, &QTimer::timeout, this, &TrayWatcher::CheckNow);
    connect(&poll_, &QTimer::timeout, this, &TrayWatcher::CheckNow);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_,
            qOverload<>(&QTimer::start));
    poll_.start();
    CheckNow();
}

QStringList TrayWatcher::Watched() const {
    return watcher_.directories();
}

void TrayWatcher::CheckNow() {
    settle_.stop();
    const bool changed = shelf_.Refresh();
    Rewatch();
    if (changed) {
        emit PagesChanged();
    }
}

void TrayWatcher::HoldBack(const QString& path) {
    shelf_.HoldBack(path.toStdString());
    emit PagesChanged();
}

void TrayWatcher::Rewatch() {
    QSet<QString> wanted;
    for (const auto& folder : shelf_.Folders()) {
        wanted.insert(QString::fromStdString(folder));
    }
    const QStringList watched = watcher_.directories();
    for (const auto& folder : watched) {
        if (!wanted.contains(folder)) {
            watcher_.removePath(folder);
        }
    }
    for (const auto& folder : wanted) {
        if (!watched.contains(folder)) {
            watcher_.addPath(folder);
        }
    }
}

}  // namespace tray
