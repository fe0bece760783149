#include "app/widgets/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <algorithm>

namespace orvane_app {

namespace {

// Holding an arrow down steps again after this long, then at the interval.
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 80;

}  // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    connect(&repeat_, &QTimer::timeout, this, &UpDown::Repeat);
}

void UpDown::SetPosition(int position) {
    position_ = std::clamp(position, min_, std::max(min_, max_));
}

void UpDown::SetAssociate(QLineEdit* edit) {
    if (associate_ != nullptr) {
        associate_->removeEventFilter(this);
    }
    associate_ = edit;
    if (associate_ != nullptr) {
        associate_->installEventFilter(this);
    }
}

void UpDown::Step(int count) {
    if (associate_ != nullptr) {
        bool isNumber = false;
        const int shown = associate_->text().trimmed().toInt(&isNumber);
        if (isNumber) {
            SetPosition(shown);
        }
    }
    // In 64 bits, so that no step overflows before it is held in range.
    const long long next =
        static_cast<long long>(position_) + static_cast<long long>(count) * increment_;
    SetPosition(static_cast<int>(std::clamp<long long>(next, min_, std::max(min_, max_))));
    if (associate_ != nullptr) {
        associate_->setText(QString::number(position_));
    }
}

QRect UpDown::UpRect() const {
    return QRect(0, 0, width(), height() / 2);
}

QRect UpDown::DownRect() const {
    return QRect(0, height() / 2, width(), height() - height() / 2);
}

void UpDown::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const auto drawButton = [&](const QRect& rect, QStyle::PrimitiveElement arrow, bool sunken) {
        QStyleOption option;
        option.initFrom(this);
        option.rect = rect;
        option.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
        option.rect = rect.adjusted(3, 2, -3, -2);
        style()->drawPrimitive(arrow, &option, &painter, this);
    };
    drawButton(UpRect(), QStyle::PE_IndicatorArrowUp, pressed_ > 0);
    drawButton(DownRect(), QStyle::PE_IndicatorArrowDown, pressed_ < 0);
}

void UpDown::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed_ = UpRect().contains(event->position().toPoint()) ? 1 : -1;
    Step(pressed_);
    repeat_.start(kRepeatDelayMs);
    update();
}

void UpDown::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = 0;
        repeat_.stop();
        update();
    }
    QWidget::mouseReleaseEvent(event);
}

void UpDown::Repeat() {
    if (pressed_ == 0) {
        repeat_.stop();
        return;
    }
    Step(pressed_);
    repeat_.setInterval(kRepeatIntervalMs);
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == associate_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace orvane_app
