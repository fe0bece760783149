#include "app/widgets/MultiLineTabControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <algorithm>

namespace orvane_app {

namespace {

constexpr int kTabPadding = 16;  // left and right of the text, together
constexpr int kSheetMargin = 4;

}  // namespace

MultiLineTabControl::MultiLineTabControl(QWidget* parent)
    : QWidget(parent), sheets_(new QStackedWidget(this)) {
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

int MultiLineTabControl::AddTab(QWidget* sheet, const QString& text) {
    sheets_->addWidget(sheet);
    tabs_.push_back(Tab{text, TabWidth(text), 0, {}});
    if (current_ < 0) {
        current_ = 0;
        sheets_->setCurrentIndex(0);
    }
    Relayout();
    return Count() - 1;
}

QString MultiLineTabControl::TabText(int index) const {
    return index >= 0 && index < Count() ? tabs_[static_cast<size_t>(index)].text : QString();
}

QWidget* MultiLineTabControl::Sheet(int index) const {
    return sheets_->widget(index);
}

void MultiLineTabControl::SetCurrentIndex(int index) {
    if (index < 0 || index >= Count() || index == current_) {
        return;
    }
    current_ = index;
    sheets_->setCurrentIndex(index);
    Relayout();
    update();
    emit CurrentChanged(index);
}

QRect MultiLineTabControl::TabRect(int index) const {
    return index >= 0 && index < Count() ? tabs_[static_cast<size_t>(index)].rect : QRect();
}

int MultiLineTabControl::TabWidth(const QString& text) const {
    return fontMetrics().horizontalAdvance(text) + kTabPadding;
}

int MultiLineTabControl::RowHeight() const {
    return fontMetrics().height() + 8;
}

QSize MultiLineTabControl::sizeHint() const {
    return {240, 356};
}

void MultiLineTabControl::Relayout() {
    // Wrap the tabs into rows that fit the width.
    std::vector<std::vector<int>> rows(1);
    int used = 0;
    for (int i = 0; i < Count(); ++i) {
        const int w = tabs_[static_cast<size_t>(i)].width;
        if (!rows.back().empty() && used + w > width()) {
            rows.emplace_back();
            used = 0;
        }
        rows.back().push_back(i);
        used += w;
    }
    rowCount_ = Count() == 0 ? 0 : static_cast<int>(rows.size());

    // The row of the selected tab is drawn last, next to the sheet; the rows
    // keep their cyclic order.
    int selectedRow = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
        if (std::find(rows[r].begin(), rows[r].end(), current_) != rows[r].end()) {
            selectedRow = static_cast<int>(r);
        }
    }
    const int rowHeight = RowHeight();
    for (size_t r = 0; r < rows.size(); ++r) {
        const int place =
            (static_cast<int>(r) - selectedRow - 1 + 2 * rowCount_) % std::max(rowCount_, 1);
        const int top = place * rowHeight;
        int natural = 0;
        for (const int i : rows[r]) {
            natural += tabs_[static_cast<size_t>(i)].width;
        }
        // Stretch the row to the full width.
        int left = 0;
        int extraLeft = std::max(0, width() - natural);
        int tabsLeft = static_cast<int>(rows[r].size());
        for (const int i : rows[r]) {
            Tab& tab = tabs_[static_cast<size_t>(i)];
            const int extra = tabsLeft > 0 ? extraLeft / tabsLeft : 0;
            extraLeft -= extra;
            --tabsLeft;
            const int w = tab.width + extra;
            tab.row = static_cast<int>(r);
            tab.rect = QRect(left, top, w, rowHeight);
            left += w;
        }
    }
    const int sheetTop = rowCount_ * rowHeight;
    sheets_->setGeometry(kSheetMargin, sheetTop + kSheetMargin,
                         std::max(0, width() - 2 * kSheetMargin),
                         std::max(0, height() - sheetTop - 2 * kSheetMargin));
}

void MultiLineTabControl::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    const int sheetTop = rowCount_ * RowHeight();

    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, sheetTop - 1, width(), height() - sheetTop + 1);
    frame.shape = QTabBar::RoundedNorth;
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);

    for (int i = 0; i < Count(); ++i) {
        const Tab& tab = tabs_[static_cast<size_t>(i)];
        QStyleOptionTab option;
        option.initFrom(this);
        option.rect = tab.rect;
        option.text = tab.text;
        option.shape = QTabBar::RoundedNorth;
        option.position = QStyleOptionTab::Middle;
        option.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        if (i == current_) {
            option.state |= QStyle::State_Selected;
            if (hasFocus()) {
                option.state |= QStyle::State_HasFocus;
            }
        }
        if (!tab.rect.contains(mapFromGlobal(QCursor::pos()))) {
            option.state &= ~QStyle::State_MouseOver;
        }
        // Some styles paint a selected tab beyond its rectangle.
        painter.save();
        painter.setClipRect(tab.rect.adjusted(0, 0, 0, i == current_ ? 2 : 0));
        painter.drawControl(QStyle::CE_TabBarTab, option);
        painter.restore();
    }
}

void MultiLineTabControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    for (int i = 0; i < Count(); ++i) {
        if (tabs_[static_cast<size_t>(i)].rect.contains(event->position().toPoint())) {
            SetCurrentIndex(i);
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

void MultiLineTabControl::keyPressEvent(QKeyEvent* event) {
    if (Count() > 0 && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
        const int step = event->key() == Qt::Key_Left ? -1 : 1;
        SetCurrentIndex((current_ + step + Count()) % Count());
        return;
    }
    QWidget::keyPressEvent(event);
}

void MultiLineTabControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Relayout();
}

void MultiLineTabControl::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        for (Tab& tab : tabs_) {
            tab.width = TabWidth(tab.text);
        }
        Relayout();
    }
}

}  // namespace orvane_app
