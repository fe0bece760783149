#include "app/pages/HeadAngAdjustPage.h"

#include "ui_HeadAngAdjustPnl.h"

THeadAngAdjustPage::THeadAngAdjustPage(orvane_app::AppContext& context, TFormAdjust& form,
                                       QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::HeadAngAdjustPnl>()) {
    ui_->setupUi(this);
}

THeadAngAdjustPage::~THeadAngAdjustPage() = default;

void THeadAngAdjustPage::Opened() {
    HeadAngularReadBtnClick();
}

void THeadAngAdjustPage::HeadAngularReadBtnClick() {}
