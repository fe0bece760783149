#include "app/Rk7howtohdangadjust.h"

#include "app/pictures/Pictures.h"
#include "ui_Rk7howtohdangadjust.h"

THowToHdAngAdjustForm::THowToHdAngAdjustForm()
    : ui_(std::make_unique<Ui::THowToHdAngAdjustForm>()) {}

void THowToHdAngAdjustForm::BuildControls() {
    ui_->setupUi(this);
    Finish(ui_->Image1, orvane_app::HeadAngularPicture);
}

THowToHdAngAdjustForm::~THowToHdAngAdjustForm() = default;
