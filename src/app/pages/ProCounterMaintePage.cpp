#include "app/pages/ProCounterMaintePage.h"

#include <string>

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/pages/BusyStart.h"
#include "link/ResultCodes.h"
#include "ui_ProCounterMaintePnl.h"

TProCounterMaintePage::TProCounterMaintePage(orvane_app::AppContext& context, TFormAdjust& form,
                                             QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("ProCounterMaintePnl")),
      ui_(std::make_unique<Ui::ProCounterMaintePnl>()) {}

void TProCounterMaintePage::BuildControls() {
    ui_->setupUi(this);
    OnClick(ui_->ProCounterCheckBtn, &TProCounterMaintePage::ProCounterCheckBtnClick);
    OnClick(ui_->ProCounterClearBtn, &TProCounterMaintePage::ProCounterClearBtnClick);
}

TProCounterMaintePage::~TProCounterMaintePage() = default;

void TProCounterMaintePage::ProCounterCheckBtnClick() {
    TFormAdjust& form = Form();
    // A full pad is one reason for a printer's error state, so the counter is
    // read then as well.
    if (!StartBusy(form, steps::WasteRead)) {
        return;
    }
    std::string maximum;
    std::string present;
    std::string rate;
    const uint16_t result =
        Context().GetModules().maintenance.ReadWasteInkCounter(maximum, present, rate);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    EndBusy(form, steps::WasteRead);
    form.ShowStatus(StatusAppend, maximum);
    form.ShowStatus(StatusAddLine, "Present value = ");
    form.ShowStatus(StatusAppend, present);
    form.ShowStatus(StatusAddLine, "Usage Rate = ");
    form.ShowStatus(StatusAppend, rate);
}

void TProCounterMaintePage::ProCounterClearBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::WasteReset)) {
        return;
    }
    const uint16_t result = Context().GetModules().maintenance.ResetWasteInkCounter();
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    EndBusy(form, steps::WasteReset);
    form.SetAdjustedValue(QStringLiteral("ShowProCounterPnl"), QStringLiteral("0"));
}
