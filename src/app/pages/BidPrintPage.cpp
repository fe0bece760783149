#include "app/pages/BidPrintPage.h"

#include "ui_BidPrintPnl.h"

TBidPrintPage::TBidPrintPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::BidPrintPnl>()) {
    ui_->setupUi(this);
}

TBidPrintPage::~TBidPrintPage() = default;
