#include "tray/TrayWindow.h"

#include <QAction>
#include <QFileInfo>
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
constexpr int kPortRole = Qt::UserRole + 1;
constexpr int kNameRole = Qt::UserRole + 2;
constexpr int kAreaRole = Qt::UserRole + 3;  // of a reading: where its pattern stands
// How far down the list the page before is looked for among pages of other
// kinds: each one looked at is read once.
constexpr int kBeforeSearchRows = 12;
// Dots around a pattern's marks that a click still counts as on them.
constexpr int kMarkSlack = 30;

QImage ImageOf(const cv::Mat& bgr) {
    const QImage wrapped(bgr.data, bgr.cols, bgr.rows, static_cast<qsizetype>(bgr.step),
                         QImage::Format_BGR888);
    return wrapped.convertToFormat(QImage::Format_RGB32);
}

// The row's text: the printer, the picture and, once read, the page's kind.
QString RowText(const std::string& port, const std::string& name, const PageFacts* facts) {
    QString text = QStringLiteral("%1  %2").arg(QString::fromStdString(port),
                                               QString::fromStdString(name));
    if (facts != nullptr && !facts->title.isEmpty()) {
        text += QStringLiteral("  ") + facts->title;
    }
    return text;
}

// "Before: page-0002.png  PF check (black)  (Stored when printed: pf-black=2)"
QString CaptionOf(const QString& side, const QString& path, const PageFacts& facts) {
    QString caption = QStringLiteral("%1: %2").arg(side, QFileInfo(path).fileName());
    if (!facts.title.isEmpty()) {
        caption += QStringLiteral("  ") + facts.title;
    }
    if (!facts.stored.isEmpty()) {
        caption += QStringLiteral("  (") + facts.stored + QLatin1Char(')');
    }
    return caption;
}

// A view under a caption.
QWidget* Captioned(QLabel* caption, QWidget* view) {
    // A long caption is cut, never widens its view.
    caption->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(caption);
    layout->addWidget(view, 1);
    return box;
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
    readings_ = new QListWidget;
    readings_->setObjectName(QStringLiteral("Readings"));
    readings_->setWordWrap(true);
    readings_->setToolTip(QStringLiteral("Click a reading to look at its pattern"));
    readings_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    connect(readings_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (const QRect area = item->data(kAreaRole).toRect(); !area.isEmpty()) {
            LookAt(area);
        }
    });
    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(list_, 1);
    sideLayout->addWidget(readings_);
    before_ = new PageView;
    before_->setObjectName(QStringLiteral("BeforeView"));
    beforeCaption_ = new QLabel;
    afterCaption_ = new QLabel;
    beforeBox_ = Captioned(beforeCaption_, before_);
    beforeBox_->hide();
    afterCaption_->hide();
    pair_ = new QSplitter;
    auto* pair = pair_;
    pair->addWidget(beforeBox_);
    pair->addWidget(Captioned(afterCaption_, view_));
    auto* splitter = new QSplitter;
    splitter->addWidget(side);
    splitter->addWidget(pair);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 740});
    // The two pages side by side keep one zoom and one place.
    connect(view_, &PageView::PlaceChanged, this, [this] { Follow(*view_, *before_); });
    connect(before_, &PageView::PlaceChanged, this, [this] { Follow(*before_, *view_); });
    // A view that appears or is resized takes the chosen page's place.
    connect(view_, &PageView::Resized, this, [this] { Follow(*view_, *before_); });
    connect(before_, &PageView::Resized, this, [this] { Follow(*view_, *before_); });
    // A click on a mark looks at the pattern it belongs to.
    const auto clicked = [this](QPointF point) {
        for (int row = 0; row < readings_->count(); ++row) {
            const QRect area = readings_->item(row)->data(kAreaRole).toRect();
            if (area.adjusted(-kMarkSlack, -kMarkSlack, kMarkSlack, kMarkSlack)
                    .contains(point.toPoint())) {
                LookAt(area);
                return;
            }
        }
    };
    connect(view_, &PageView::Clicked, this, clicked);
    connect(before_, &PageView::Clicked, this, clicked);
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
    sideBySide_ = tools->addAction(QStringLiteral("Side by side"));
    sideBySide_->setCheckable(true);
    sideBySide_->setShortcut(QKeySequence(Qt::Key_S));
    sideBySide_->setToolTip(
        QStringLiteral("The page printed before this one beside it, at the same zoom and place (S)"));
    connect(sideBySide_, &QAction::toggled, this, [this](bool on) { SetSideBySide(on); });
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
            const QString path = QString::fromStdString(page.path);
            const auto known = facts_.constFind(path);
            auto* item = new QListWidgetItem(
                RowText(page.port, page.name, known == facts_.cend() ? nullptr : &*known));
            item->setData(kPathRole, path);
            item->setData(kPortRole, QString::fromStdString(page.port));
            item->setData(kNameRole, QString::fromStdString(page.name));
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
    const PageFacts* facts = nullptr;
    const QImage picture = Load(path, &facts);
    if (picture.isNull()) {
        // Never shown broken: left out until the file changes.
        QMetaObject::invokeMethod(watcher_, "HoldBack", Qt::QueuedConnection, Q_ARG(QString, path));
        return;
    }
    shownPath_ = path;
    view_->SetPicture(picture);
    ShowFacts(*facts);
    QListWidgetItem* row = list_->currentItem();
    row->setText(RowText(row->data(kPortRole).toString().toStdString(),
                         row->data(kNameRole).toString().toStdString(), facts));
    afterCaption_->setText(CaptionOf(QStringLiteral("After"), path, *facts));
    if (SideBySide()) {
        ShowBefore();
    }
}

QImage TrayWindow::Load(const QString& path, const PageFacts** facts) {
    // The picture shown is the one the page reader decodes and reads: its
    // memory bounded whatever the file's header says (a large one is
    // decoded at a fraction of its size), what is wrong with a damaged one
    // kept quiet.
    // A page's picture never changes once it is whole: read once.
    cv::Mat decoded;
    auto known = facts_.find(path);
    if (known == facts_.end()) {
        const reader::PageReading page = reader::ReadPageFile(path.toStdString(), 0, &decoded);
        if (!decoded.empty()) {
            known = facts_.insert(
                path, FactsOf(page, reader::StoredValuesOfFile(path.toStdString())));
        }
    } else {
        std::string problem;
        decoded = reader::DecodePictureFile(path.toStdString(), problem);
    }
    if (decoded.empty()) {
        return {};
    }
    *facts = &*known;
    return ImageOf(decoded);
}

const PageFacts* TrayWindow::FactsOfPath(const QString& path) {
    if (const auto known = facts_.constFind(path); known != facts_.cend()) {
        return &*known;
    }
    cv::Mat decoded;
    const reader::PageReading page = reader::ReadPageFile(path.toStdString(), 0, &decoded);
    if (decoded.empty()) {
        return nullptr;
    }
    return &*facts_.insert(path, FactsOf(page, reader::StoredValuesOfFile(path.toStdString())));
}

QString TrayWindow::PageBefore(int row) {
    const QListWidgetItem* chosen = list_->item(row);
    if (chosen == nullptr) {
        return {};
    }
    const QString port = chosen->data(kPortRole).toString();
    const PageFacts* facts = FactsOfPath(chosen->data(kPathRole).toString());
    const reader::PageKind kind = facts != nullptr ? facts->kind : reader::PageKind::Unknown;
    QString older;  // the page printed just before, of whatever kind
    for (int at = row + 1; at < list_->count() && at <= row + kBeforeSearchRows; ++at) {
        const QListWidgetItem* item = list_->item(at);
        if (item->data(kPortRole).toString() != port) {
            continue;
        }
        const QString path = item->data(kPathRole).toString();
        if (older.isEmpty()) {
            older = path;
        }
        if (kind == reader::PageKind::Unknown) {
            break;
        }
        if (const PageFacts* other = FactsOfPath(path); other != nullptr && other->kind == kind) {
            return path;
        }
    }
    return older;
}

void TrayWindow::ShowBefore() {
    beforePath_ = PageBefore(list_->currentRow());
    const PageFacts* facts = nullptr;
    const QImage picture = beforePath_.isEmpty() ? QImage() : Load(beforePath_, &facts);
    if (picture.isNull()) {
        beforePath_.clear();
        before_->SetPicture(QImage());
        before_->SetNote(QStringLiteral("No page of this printer before this one"));
        beforeCaption_->setText(QStringLiteral("Before: none"));
        return;
    }
    {
        // The page before takes the chosen page's place, not the other way.
        const QSignalBlocker quiet(before_);
        before_->SetPicture(picture);
    }
    Follow(*view_, *before_);
    beforeCaption_->setText(CaptionOf(QStringLiteral("Before"), beforePath_, *facts));
    beforeCaption_->setToolTip(facts->Lines().join(QLatin1Char('\n')));
}

void TrayWindow::SetSideBySide(bool on) {
    if (sideBySide_->isChecked() != on) {
        sideBySide_->setChecked(on);  // comes back here through toggled
        return;
    }
    beforeBox_->setVisible(on);
    afterCaption_->setVisible(on);
    if (on) {
        // Halves of whatever width the pair gets.
        pair_->setSizes({1000, 1000});
        ShowBefore();
    } else {
        beforePath_.clear();
        before_->SetPicture(QImage());
    }
}

bool TrayWindow::SideBySide() const {
    return sideBySide_->isChecked();
}

void TrayWindow::Follow(PageView& from, PageView& to) {
    if (following_ || !SideBySide() || !from.HasPicture() || !to.HasPicture()) {
        return;
    }
    following_ = true;
    to.Take(from);
    following_ = false;
}

void TrayWindow::ShowFacts(const PageFacts& facts) {
    readings_->clear();
    const QStringList lines = facts.Lines();
    for (const QString& line : lines) {
        auto* item = new QListWidgetItem(line, readings_);
        if (const qsizetype at = facts.readings.indexOf(line); at >= 0) {
            item->setData(kAreaRole, facts.areas.value(at));
        }
    }
}

void TrayWindow::LookAt(const QRect& area) {
    // The closest zoom, from 100% on, that keeps the whole pattern in view:
    // at 100% a dot of the page is a pixel of the screen.
    const QSize room = view_->viewport()->size();
    PageView::Zoom zoom = PageView::Zoom::Full;
    for (const ZoomStep& step : kZoomSteps) {
        if (step.scale >= 1.0 && area.width() * step.scale <= room.width() &&
            area.height() * step.scale <= room.height()) {
            zoom = step.zoom;
        }
    }
    SetZoom(zoom);
    view_->CentreOn(QRectF(area).center());
}

QString TrayWindow::Readings() const {
    QStringList lines;
    for (int row = 0; row < readings_->count(); ++row) {
        lines << readings_->item(row)->text();
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace tray
