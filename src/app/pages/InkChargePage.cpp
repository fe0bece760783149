#include "app/pages/InkChargePage.h"

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/pages/BusyStart.h"
#include "link/ResultCodes.h"
#include "ui_InkChargePnl.h"

TInkChargePage::TInkChargePage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("InkChargePnl")),
      ui_(std::make_unique<Ui::InkChargePnl>()) {}

void TInkChargePage::BuildControls() {
    ui_->setupUi(this);
    OnClick(ui_->InkChargeOKBtn, &TInkChargePage::InkChargeOKBtnClick);
}

TInkChargePage::~TInkChargePage() = default;

void TInkChargePage::InkChargeOKBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::InkCharge)) {
        return;
    }
    const uint16_t result =
        Context().GetModules().factory.StartMaintenanceSequence(TPFactory::SequenceInkCharge);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // Locked until the printer has finished charging.
    EndBusy(form, steps::InkCharge);
}
