#include "app/pages/A4CheckPrintPage.h"

#include "ui_A4CheckPrintPnl.h"

TA4CheckPrintPage::TA4CheckPrintPage(orvane_app::AppContext& context, TFormAdjust& form,
                                     QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::A4CheckPrintPnl>()) {
    ui_->setupUi(this);
}

TA4CheckPrintPage::~TA4CheckPrintPage() = default;
