#include "app/pages/ProCounterMaintePage.h"

#include "ui_ProCounterMaintePnl.h"

TProCounterMaintePage::TProCounterMaintePage(orvane_app::AppContext& context, TFormAdjust& form,
                                             QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::ProCounterMaintePnl>()) {
    ui_->setupUi(this);
}

TProCounterMaintePage::~TProCounterMaintePage() = default;
