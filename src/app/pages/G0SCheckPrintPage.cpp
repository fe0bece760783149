#include "app/pages/G0SCheckPrintPage.h"

#include "ui_G0SCheckPrintPnl.h"

TG0SCheckPrintPage::TG0SCheckPrintPage(orvane_app::AppContext& context, TFormAdjust& form,
                                       QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::G0SCheckPrintPnl>()) {
    ui_->setupUi(this);
}

TG0SCheckPrintPage::~TG0SCheckPrintPage() = default;
