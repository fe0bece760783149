#include "app/pages/CleaningPage.h"

#include "ui_CleaningPnl.h"

TCleaningPage::TCleaningPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::CleaningPnl>()) {
    ui_->setupUi(this);
}

TCleaningPage::~TCleaningPage() = default;
