#include "app/Rk7howtotopmarginadjust.h"

#include "app/pictures/Pictures.h"
#include "ui_Rk7howtotopmarginadjust.h"

THowToTopMarginAdjustForm::THowToTopMarginAdjustForm()
    : ui_(std::make_unique<Ui::THowToTopMarginAdjustForm>()) {}

void THowToTopMarginAdjustForm::BuildControls() {
    ui_->setupUi(this);
    Finish(ui_->Image1, orvane_app::TopMarginPicture);
}

THowToTopMarginAdjustForm::~THowToTopMarginAdjustForm() = default;
