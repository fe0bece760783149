#include "app/pages/EepromReadoutPage.h"

#include "ui_EepromReadoutPnl.h"

TEepromReadoutPage::TEepromReadoutPage(orvane_app::AppContext& context, TFormAdjust& form,
                                       QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::EepromReadoutPnl>()) {
    ui_->setupUi(this);
}

TEepromReadoutPage::~TEepromReadoutPage() = default;
