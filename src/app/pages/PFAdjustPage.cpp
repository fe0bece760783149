#include "app/pages/PFAdjustPage.h"

#include "ui_PFAdjustPnl.h"

TPFAdjustPage::TPFAdjustPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::PFAdjustPnl>()) {
    ui_->setupUi(this);
}

TPFAdjustPage::~TPFAdjustPage() = default;

void TPFAdjustPage::Opened() {
    ui_->PFAdjustDataEdit->clear();
}
