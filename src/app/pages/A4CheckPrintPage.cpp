#include "app/pages/A4CheckPrintPage.h"

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7howtochecka4pat.h"
#include "app/pages/BusyStart.h"
#include "link/ResultCodes.h"
#include "ui_A4CheckPrintPnl.h"

TA4CheckPrintPage::TA4CheckPrintPage(orvane_app::AppContext& context, TFormAdjust& form,
                                     QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("A4CheckPrintPnl")),
      ui_(std::make_unique<Ui::A4CheckPrintPnl>()) {}

void TA4CheckPrintPage::BuildControls() {
    ui_->setupUi(this);
    OnClick(ui_->A4PrintBtn, &TA4CheckPrintPage::A4PrintBtnClick);
    OnClick(ui_->HowToCheckA4Pat, &TA4CheckPrintPage::HowToCheckA4PatClick);
}

TA4CheckPrintPage::~TA4CheckPrintPage() = default;

void TA4CheckPrintPage::A4PrintBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::A4CheckPrint)) {
        return;
    }
    const uint16_t result = Context().GetModules().checkPattern.PrintPhotoPaperSheet();
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // A failure of the wait before the text reports itself.
    EndBusy(form, steps::A4CheckPrint);
}

void TA4CheckPrintPage::HowToCheckA4PatClick() {
    // Beside the adjustment window, which stays usable.
    Context().HowToCheckA4Pat().ShowForward();
}
