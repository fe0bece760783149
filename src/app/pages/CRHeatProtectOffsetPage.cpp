#include "app/pages/CRHeatProtectOffsetPage.h"

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/pages/BusyStart.h"
#include "link/ResultCodes.h"
#include "ui_CRHeatProtectOffsetPnl.h"

TCRHeatProtectOffsetPage::TCRHeatProtectOffsetPage(orvane_app::AppContext& context,
                                                   TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("CRHeatProtectOffsetPnl")),
      ui_(std::make_unique<Ui::CRHeatProtectOffsetPnl>()) {}

void TCRHeatProtectOffsetPage::BuildControls() {
    ui_->setupUi(this);
    OnClick(ui_->CRHeatProtectOffsetOKBtn,
            &TCRHeatProtectOffsetPage::CRHeatProtectOffsetOKBtnClick);
}

TCRHeatProtectOffsetPage::~TCRHeatProtectOffsetPage() = default;

void TCRHeatProtectOffsetPage::CRHeatProtectOffsetOKBtnClick() {
    orvane::MessageRequest confirm;
    confirm.text =
        "Once you select OK button, a value for the CR motor drive dispersion will automatically "
        "be registered.";
    confirm.caption = "Confirm";
    confirm.icon = orvane::MessageIcon::Question;
    confirm.buttons = orvane::MessageButtons::OkCancel;
    confirm.owner = orvane::MessageOwner::AdjustmentWindow;
    if (Context().MessageBox().Show(confirm) != orvane::MessageAnswer::Ok) {
        return;
    }

    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::HeatProtectWrite)) {
        return;
    }
    const uint16_t result = Context().GetModules().heatProtect.WriteHeatProtectOffset();
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    EndBusy(form, steps::HeatProtectWrite);
}
