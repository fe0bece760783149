#include "tray/TrayWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "reader/PageReading.h"
#include "reader/Stored.h"
#include "tray/TrayWatcher.h"

namespace tray {

namespace {

constexpr int kPathRole = Qt::UserRole;

QImage ImageOf(const cv::Mat& bgr) {
    const QImage wrapped(bgr.data, bgr.cols, bgr.rows, static_cast<qsizetype>(bgr.step),
                         QImage::Format_BGR888);
    return wrapped.convertToFormat(QImage::Format_RGB32);
}

// The page reader's readings, one a line, with the values the page was
// printed with from its own picture.
QString ReadingsText(reader::PageReading page, const QString& path) {
    reader::ApplyStored(page, reader::StoredValuesOfFile(path.toStdString()));
    QStringList lines;
    if (page.kind == reader::PageKind::Unknown) {
        lines << QStringLiteral("Not a check page the reader knows.");
    } else {
        lines << QStringLiteral("Read: %1").arg(QString::fromUtf8(reader::KindName(page.kind)));
        for (const reader::Reading& reading : page.readings) {
            const std::string value = !reading.sure          ? "not sure"
                                      : reading.best.empty() ? reading.ValueText()
                                                             : reading.best;
            lines << QString::fromStdString(reading.name + ": " + value);
        }
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

TrayWindow::TrayWindow(const std::string& stateFolder, const std::string& port, QWidget* parent)
    : QMainWindow(parent), shelf_(stateFolder, port) {
    setWindowTitle(port.empty()
                       ? QStringLiteral("Paper tray")
                       : QStringLiteral("Paper tray - %1").arg(QString::fromStdString(port)));
    list_ = new QListWidget;
    list_->setObjectName(QStringLiteral("PageList"));
    view_ = new PageView;
    view_->setObjectName(QStringLiteral("PageView"));
    readings_ = new QLabel;
    readings_->setObjectName(QStringLiteral("Readings"));
    readings_->setWordWrap(true);
    readings_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(list_, 1);
    sideLayout->addWidget(readings_);
    auto* splitter = new QSplitter;
    splitter->addWidget(side);
    splitter->addWidget(view_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 780});
    setCentralWidget(splitter);

    auto* tools = addToolBar(QStringLiteral("Zoom"));
    tools->setObjectName(QStringLiteral("ZoomBar"));
    auto* group = new QActionGroup(this);
    for (const ZoomStep& step : kZoomSteps) {
        QAction* action = AddZoom(step);
        group->addAction(action);
        tools->addAction(action);
    }
    zoomActions_.front()->setChecked(true);
    // Keys of the whole window: the list's own keys choose pages, the view's
    // pan the page.
    AddKey(QStringLiteral("Closer"), {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)},
           [this] { SetZoom(PageView::Closer(view_->CurrentZoom())); });
    AddKey(QStringLiteral("Farther"), {QKeySequence(Qt::Key_Minus)},
           [this] { SetZoom(PageView::Farther(view_->CurrentZoom())); });
    AddKey(QStringLiteral("Next page"), {QKeySequence(Qt::Key_N)}, [this] { StepPage(1); });
    AddKey(QStringLiteral("Previous page"), {QKeySequence(Qt::Key_P)}, [this] { StepPage(-1); });

    count_ = new QLabel;
    statusBar()->addWidget(count_, 1);
    statusBar()->addPermanentWidget(new QLabel(QString::fromStdString(shelf_.Folder())));

    connect(list_, &QListWidget::currentItemChanged, this, &TrayWindow::ShowChosen);
    watcher_ = new TrayWatcher(shelf_, this);
    connect(watcher_, &TrayWatcher::PagesChanged, this, &TrayWindow::ShowPages);
    ShowPages();
}

TrayWindow::~TrayWindow() = default;

QAction* TrayWindow::AddZoom(const ZoomStep& step) {
    const QString text = QString::fromLatin1(step.text);
    const QString key = QString::fromLatin1(step.key);
    auto* action = new QAction(text, this);
    if (!key.isEmpty()) {
        action->setShortcut(QKeySequence(key));
        action->setToolTip(QStringLiteral("%1 (%2)").arg(text, key));
    }
    action->setCheckable(true);
    action->setData(static_cast<int>(step.zoom));
    const PageView::Zoom zoom = step.zoom;
    connect(action, &QAction::triggered, this, [this, zoom] { view_->SetZoom(zoom); });
    zoomActions_.append(action);
    return action;
}

void TrayWindow::AddKey(const QString& text, const QList<QKeySequence>& keys,
                        const std::function<void()>& act) {
    auto* action = new QAction(text, this);
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, act);
    addAction(action);
}

void TrayWindow::StepPage(int rows) {
    if (list_->count() == 0) {
        return;
    }
    list_->setCurrentRow(std::clamp(list_->currentRow() + rows, 0, list_->count() - 1));
}

void TrayWindow::SetZoom(PageView::Zoom zoom) {
    for (auto* action : zoomActions_) {
        if (action->data().toInt() == static_cast<int>(zoom)) {
            action->setChecked(true);
        }
    }
    view_->SetZoom(zoom);
}

void TrayWindow::ShowPages() {
    const auto& pages = shelf_.Pages();
    // Following the newest page unless an older one is being looked at.
    const bool following = list_->currentRow() <= 0;
    const QString chosen = shownPath_;
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
        for (const auto& page : pages) {
            auto* item = new QListWidgetItem(QStringLiteral("%1  %2").arg(
                QString::fromStdString(page.port), QString::fromStdString(page.name)));
            item->setData(kPathRole, QString::fromStdString(page.path));
            list_->addItem(item);
            if (!following && item->data(kPathRole).toString() == chosen) {
                list_->setCurrentItem(item);
            }
        }
        if (list_->currentRow() < 0 && list_->count() > 0) {
            list_->setCurrentRow(0);
        }
    }
    count_->setText(pages.empty() ? QStringLiteral("No pages yet")
                                  : QStringLiteral("%1 page(s)").arg(pages.size()));
    ShowChosen();
}

void TrayWindow::ShowChosen() {
    const QListWidgetItem* item = list_->currentItem();
    const QString path = item != nullptr ? item->data(kPathRole).toString() : QString();
    if (path == shownPath_ && (path.isEmpty() || view_->HasPicture())) {
        return;
    }
    if (path.isEmpty()) {
        shownPath_.clear();
        readings_->clear();
        view_->SetPicture(QImage());
        view_->SetNote(
            QStringLiteral("No pages yet in %1").arg(QString::fromStdString(shelf_.Folder())));
        return;
    }
    // The picture shown is the one the page reader decodes and reads: its
    // memory bounded whatever the file's header says (a large one is
    // decoded at a fraction of its size), what is wrong with a damaged one
    // kept quiet.
    // A page's picture never changes once it is whole: read once.
    QImage picture;
    auto readings = read_.find(path);
    {
        cv::Mat decoded;
        if (readings == read_.end()) {
            const reader::PageReading page = reader::ReadPageFile(path.toStdString(), 0, &decoded);
            if (!decoded.empty()) {
                readings = read_.insert(path, ReadingsText(page, path));
            }
        } else {
            std::string problem;
            decoded = reader::DecodePictureFile(path.toStdString(), problem);
        }
        if (!decoded.empty()) {
            picture = ImageOf(decoded);
        }
    }
    if (picture.isNull()) {
        // Never shown broken: left out until the file changes.
        QMetaObject::invokeMethod(watcher_, "HoldBack", Qt::QueuedConnection, Q_ARG(QString, path));
        return;
    }
    shownPath_ = path;
    view_->SetPicture(picture);
    readings_->setText(readings.value());
}

QString TrayWindow::Readings() const {
    return readings_->text();
}

}  // namespace tray
