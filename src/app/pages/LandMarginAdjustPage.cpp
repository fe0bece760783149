#include "app/pages/LandMarginAdjustPage.h"

#include "ui_LandMarginAdjustPnl.h"

TLandMarginAdjustPage::TLandMarginAdjustPage(orvane_app::AppContext& context, TFormAdjust& form,
                                             QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::LandMarginAdjustPnl>()) {
    ui_->setupUi(this);
}

TLandMarginAdjustPage::~TLandMarginAdjustPage() = default;

void TLandMarginAdjustPage::Opened() {
    LandMarginCheckBtnClick();
}

void TLandMarginAdjustPage::LandMarginCheckBtnClick() {}
