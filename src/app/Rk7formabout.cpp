#include "app/Rk7formabout.h"

#include "app/pictures/Pictures.h"
#include "app/widgets/WindowPlacement.h"
#include "ui_Rk7formabout.h"

TAboutBox::TAboutBox() : ui_(std::make_unique<Ui::TAboutBox>()) {}

void TAboutBox::BuildControls() {
    ui_->setupUi(this);
    orvane_app::SetWindowBorder(this, orvane_app::WindowBorder::DialogNoButtons, width(), height());
    connect(ui_->OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::showEvent(QShowEvent* event) {
    if (!placed_) {
        ui_->Image1->setPixmap(orvane_app::AboutPicture());
        orvane_app::CentreOnScreen(this);
        placed_ = true;
    }
    QDialog::showEvent(event);
}

void TAboutBox::OKButtonClick() {
    accept();
}
