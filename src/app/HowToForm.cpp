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
    for (QLabel* label : {open, text, close}) {
        label->adjustSize();
    }
    text->move(open->x() + open->width() + 2, open->y());
    close->move(text->x() + text->width() + 2, open->y());
}

void THowToForm::showEvent(QShowEvent* event) {
    if (!placed_) {
        image_->setPixmap(picture_());
        orvane_app::CentreOnScreen(this);
        placed_ = true;
    }
    QDialog::showEvent(event);
}
