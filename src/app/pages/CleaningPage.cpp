#include "app/pages/CleaningPage.h"

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/pages/BusyStart.h"
#include "link/ResultCodes.h"
#include "ui_CleaningPnl.h"

TCleaningPage::TCleaningPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("CleaningPnl")),
      ui_(std::make_unique<Ui::CleaningPnl>()) {}

void TCleaningPage::BuildControls() {
    ui_->setupUi(this);
    OnClick(ui_->CleaningOKBtn, &TCleaningPage::CleaningOKBtnClick);
}

TCleaningPage::~TCleaningPage() = default;

void TCleaningPage::CleaningOKBtnClick() {
    TFormAdjust& form = Form();
    // A printer in its error state cannot clean its head: that is reported.
    if (!StartBusy(form, steps::Cleaning)) {
        return;
    }
    const uint16_t result =
        Context().GetModules().factory.StartMaintenanceSequence(TPFactory::SequenceCleaning);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // Waits, with the window locked, until the printer has finished the
    // sequence; a failure of that wait is reported by the status line itself.
    EndBusy(form, steps::Cleaning);
}
