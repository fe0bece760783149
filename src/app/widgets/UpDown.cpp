#include "app/widgets/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <optional>

#include "adjust/ValueText.h"

namespace orvane_app {

namespace {

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType type, const char* name) {
    auto* arrow = new QToolButton(parent);
    arrow->setObjectName(QString::fromUtf8(name));
    arrow->setArrowType(type);
    arrow->setAutoRepeat(true);
    arrow->setFocusPolicy(Qt::NoFocus);
    return arrow;
}

}  // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent),
      up_(MakeArrow(this, Qt::UpArrow, "UpArrow")),
      down_(MakeArrow(this, Qt::DownArrow, "DownArrow")) {
    setFocusPolicy(Qt::NoFocus);
    connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
    PlaceArrows();
}

void UpDown::SetAssociate(QLineEdit* edit) {
    if (associate_ != nullptr) {
        associate_->removeEventFilter(this);
    }
    associate_ = edit;
    if (associate_ != nullptr) {
        associate_->installEventFilter(this);
    }
    // A form sets the control's size before it associates the edit, and a
    // hidden control hears of its size only when it is shown.
    PlaceArrows();
}

int UpDown::Clamped(long long value) const {
    // A range set the wrong way round holds its minimum only.
    return static_cast<int>(std::max<long long>(min_, std::min<long long>(max_, value)));
}

int UpDown::NearestPosition(long long value) const {
    const long long clamped = Clamped(value);
    if (increment_ <= 1 || max_ <= min_) {
        return static_cast<int>(clamped);
    }
    // The positions are Min and every Increment above it; of two equally near
    // ones the upper.
    const long long offset = clamped - min_;
    const long long steps = (2 * offset + increment_) / (2LL * increment_);
    return Clamped(min_ + steps * increment_);
}

void UpDown::Step(int direction) {
    long long from = position_;
    if (associate_ != nullptr) {
        // The edit may have been typed or read into since the last step.
        if (const std::optional<int> shown = adjust::TextToInt(associate_->text().toStdString())) {
            from = NearestPosition(*shown);
        }
    }
    position_ = Clamped(from + static_cast<long long>(increment_) * (direction < 0 ? -1 : 1));
    if (associate_ != nullptr) {
        associate_->setText(QString::number(position_));
    }
    emit Click();
}

void UpDown::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceArrows();
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

void UpDown::PlaceArrows() {
    const int upper = height() / 2;
    up_->setGeometry(0, 0, width(), upper);
    down_->setGeometry(0, upper, width(), height() - upper);
}

}  // namespace orvane_app
