#include "app/widgets/UpDown.h"

#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

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
    associate_ = edit;
    // A form sets the control's size before it associates the edit, and a
    // hidden control hears of its size only when it is shown.
    PlaceArrows();
}

int UpDown::Clamped(long long value) const {
    // A range set the wrong way round holds its minimum only.
    return static_cast<int>(std::max<long long>(min_, std::min<long long>(max_, value)));
}

void UpDown::SetPosition(int position) {
    position_ = Clamped(position);
}

void UpDown::Step(int direction) {
    int from = position_;
    if (associate_ != nullptr) {
        // The edit may have been typed into or read into since the last step.
        const int typed = adjust::TextToIntDef(associate_->text().toStdString(), position_);
        if (typed >= min_ && typed <= max_) {
            from = typed;
        }
    }
    const long long step = static_cast<long long>(increment_) * (direction < 0 ? -1 : 1);
    position_ = Clamped(from + step);
    if (associate_ != nullptr) {
        associate_->setText(QString::number(position_));
    }
    emit Click();
}

void UpDown::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceArrows();
}

void UpDown::PlaceArrows() {
    const int upper = height() / 2;
    up_->setGeometry(0, 0, width(), upper);
    down_->setGeometry(0, upper, width(), height() - upper);
}

}  // namespace orvane_app
