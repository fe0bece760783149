#include "app/pages/BidInputPage.h"

#include "ui_BidInputPnl.h"

TBidInputPage::TBidInputPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::BidInputPnl>()) {
    ui_->setupUi(this);
}

TBidInputPage::~TBidInputPage() = default;
