#include "app/HowToForm.h"

#include <utility>

#include "app/widgets/WindowPlacement.h"

THowToForm::THowToForm() = default;

void THowToForm::ShowForward() {
    show();
    raise();
    activateWindow();
}

void THowToForm::Finish(QLabel* image, std::function<QPixmap()> picture) {
    orvane_app::SetWindowBorder(this, orvane_app::WindowBorder::DialogClose, width(), height());
    image_ = image;
    picture_ = std::move(picture);
}

void THowToForm::Bracket(QLabel* open, QLabel* text, QLabel* close) {
    brackets_.push_back({open, text, close});
}

void THowToForm::PlaceBrackets(const Brackets& brackets) {
    for (QLabel* label : {brackets.open, brackets.text, brackets.close}) {
        label->adjustSize();
    }
    brackets.text->move(brackets.open->x() + brackets.open->width() + 2, brackets.open->y());
    brackets.close->move(brackets.text->x() + brackets.text->width() + 2, brackets.open->y());
}

void THowToForm::showEvent(QShowEvent* event) {
    if (!placed_) {
        image_->setPixmap(picture_());
        for (const Brackets& brackets : brackets_) {
            PlaceBrackets(brackets);
        }
        orvane_app::CentreOnScreen(this);
        placed_ = true;
    }
    QDialog::showEvent(event);
}
