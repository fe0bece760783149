#include "app/pages/InkChargePage.h"

#include "ui_InkChargePnl.h"

TInkChargePage::TInkChargePage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::InkChargePnl>()) {
    ui_->setupUi(this);
}

TInkChargePage::~TInkChargePage() = default;
