#include "app/Rk7howtopfadjust.h"

#include "app/pictures/Pictures.h"
#include "ui_Rk7howtopfadjust.h"

THowToPFAdjustForm::THowToPFAdjustForm() : ui_(std::make_unique<Ui::THowToPFAdjustForm>()) {}

void THowToPFAdjustForm::BuildControls() {
    ui_->setupUi(this);
    Finish(ui_->Image1, orvane_app::PfPicture);
}

THowToPFAdjustForm::~THowToPFAdjustForm() = default;
