#include "app/pages/EepromDataCopyPage.h"

#include "ui_EepromDataCopyPnl.h"

TEepromDataCopyPage::TEepromDataCopyPage(orvane_app::AppContext& context, TFormAdjust& form,
                                         QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::EepromDataCopyPnl>()) {
    ui_->setupUi(this);
}

TEepromDataCopyPage::~TEepromDataCopyPage() = default;
