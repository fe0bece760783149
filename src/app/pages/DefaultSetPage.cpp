#include "app/pages/DefaultSetPage.h"

#include "adjust/StoredValues.h"
#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "app/pages/BusyStart.h"
#include "link/ResultCodes.h"
#include "ui_DefaultSetPnl.h"

TDefaultSetPage::TDefaultSetPage(orvane_app::AppContext& context, TFormAdjust& form,
                                 QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("DefaultSetPnl")),
      ui_(std::make_unique<Ui::DefaultSetPnl>()) {}

void TDefaultSetPage::BuildControls() {
    ui_->setupUi(this);
    OnClick(ui_->DefaultSetOKBtn, &TDefaultSetPage::DefaultSetOKBtnClick);
    OnClick(ui_->DestCheckBtn, &TDefaultSetPage::DestCheckBtnClick);
}

TDefaultSetPage::~TDefaultSetPage() = default;

void TDefaultSetPage::DefaultSetOKBtnClick() {
    TFormAdjust& form = Form();
    orvane_app::Modules& modules = Context().GetModules();
    if (!StartBusy(form, steps::MarketWrite)) {
        return;
    }
    uint16_t result = modules.eeprom.WriteMarketSetting(Context().Boot().ModelCode);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    EndBusy(form, steps::MarketWrite);

    Context().MessageBox().Show(adjust::MarketRestartRequest());

    result = modules.link.D4Reset();
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    form.ShowStatus(StatusAddLine, adjust::kMarketAfterResetText);
}

void TDefaultSetPage::DestCheckBtnClick() {
    TFormAdjust& form = Form();
    orvane_app::Modules& modules = Context().GetModules();
    if (!StartBusy(form, steps::MarketCheck)) {
        return;
    }
    uint8_t destination = TPEeprom::DestinationUnknown;
    uint16_t result = modules.eeprom.ReadMarketSetting(destination);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    std::string modelName;
    result = adjust::ReadModelName(modules.link, modelName);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }

    // Only a destination that a model selects can match the chosen model.
    if (!adjust::DestinationMatchesModel(destination, Context().Boot().ModelCode)) {
        form.ShowStatus(StatusError, "The present market destination setting value is wrong.");
        form.ShowStatus(StatusAddLine,
                        "Click the [OK] button to write the market destination setting value in "
                        "EEPROM.");
    } else {
        EndBusy(form, steps::MarketCheck);
        form.ShowStatus(StatusAppend, adjust::DestinationText(destination));
    }
    form.ShowStatus(StatusAddLine, "The present model name is ");
    form.ShowStatus(StatusAppend, modelName);
}
