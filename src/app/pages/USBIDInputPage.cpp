#include "app/pages/USBIDInputPage.h"

#include "ui_USBIDInputPnl.h"

TUSBIDInputPage::TUSBIDInputPage(orvane_app::AppContext& context, TFormAdjust& form,
                                 QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::USBIDInputPnl>()) {
    ui_->setupUi(this);
}

TUSBIDInputPage::~TUSBIDInputPage() = default;
