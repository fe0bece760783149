#include "app/Rk7howtofirstdotadjust.h"

#include "app/pictures/Pictures.h"
#include "ui_Rk7howtofirstdotadjust.h"

THowToFirstDotAdjustForm::THowToFirstDotAdjustForm()
    : ui_(std::make_unique<Ui::THowToFirstDotAdjustForm>()) {}

void THowToFirstDotAdjustForm::BuildControls() {
    ui_->setupUi(this);
    Finish(ui_->Image1, orvane_app::FirstDotPicture);
}

THowToFirstDotAdjustForm::~THowToFirstDotAdjustForm() = default;
