#include "app/pages/CRHeatProtectOffsetPage.h"

#include "ui_CRHeatProtectOffsetPnl.h"

TCRHeatProtectOffsetPage::TCRHeatProtectOffsetPage(orvane_app::AppContext& context,
                                                   TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::CRHeatProtectOffsetPnl>()) {
    ui_->setupUi(this);
}

TCRHeatProtectOffsetPage::~TCRHeatProtectOffsetPage() = default;
