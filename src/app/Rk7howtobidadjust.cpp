#include "app/Rk7howtobidadjust.h"

#include "app/pictures/Pictures.h"
#include "ui_Rk7howtobidadjust.h"

THowToBidAdjustForm::THowToBidAdjustForm() : ui_(std::make_unique<Ui::THowToBidAdjustForm>()) {}

void THowToBidAdjustForm::BuildControls() {
    ui_->setupUi(this);
    Finish(ui_->Image1, orvane_app::BidPicture);
}

THowToBidAdjustForm::~THowToBidAdjustForm() = default;
