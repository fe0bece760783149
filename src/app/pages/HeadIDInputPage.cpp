#include "app/pages/HeadIDInputPage.h"

#include "ui_HeadIDInputPnl.h"

THeadIDInputPage::THeadIDInputPage(orvane_app::AppContext& context, TFormAdjust& form,
                                   QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::HeadIDInputPnl>()) {
    ui_->setupUi(this);
}

THeadIDInputPage::~THeadIDInputPage() = default;

void THeadIDInputPage::Opened() {
    ui_->HeadIDInputEdit->setFocus();
}
