#include "app/pages/NozzleCheckPatternPrintPage.h"

#include "ui_NozzleCheckPatternPrintPnl.h"

TNozzleCheckPatternPrintPage::TNozzleCheckPatternPrintPage(orvane_app::AppContext& context,
                                                           TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::NozzleCheckPatternPrintPnl>()) {
    ui_->setupUi(this);
}

TNozzleCheckPatternPrintPage::~TNozzleCheckPatternPrintPage() = default;
