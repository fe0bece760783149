#include "app/pages/DefaultSetPage.h"

#include "ui_DefaultSetPnl.h"

TDefaultSetPage::TDefaultSetPage(orvane_app::AppContext& context, TFormAdjust& form,
                                 QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::DefaultSetPnl>()) {
    ui_->setupUi(this);
}

TDefaultSetPage::~TDefaultSetPage() = default;
