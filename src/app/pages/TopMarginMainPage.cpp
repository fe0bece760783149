#include "app/pages/TopMarginMainPage.h"

#include "ui_TopMarginMainPnl.h"

TTopMarginMainPage::TTopMarginMainPage(orvane_app::AppContext& context, TFormAdjust& form,
                                       QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::TopMarginMainPnl>()) {
    ui_->setupUi(this);
}

TTopMarginMainPage::~TTopMarginMainPage() = default;

void TTopMarginMainPage::Opened() {
    TopMarginReadBtnClick();
}

void TTopMarginMainPage::TopMarginReadBtnClick() {}
