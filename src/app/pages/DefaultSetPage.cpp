#include "app/pages/DefaultSetPage.h"

#include <array>
#include <cstring>

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "app/pages/BusyStart.h"
#include "link/ResultCodes.h"
#include "ui_DefaultSetPnl.h"

namespace {

// The text Check shows for a destination that a model selects; none for the
// others.
const char* DestinationText(uint8_t destination) {
    switch (destination) {
        case TPEeprom::DestinationNorthAmericaWestEuro:
            return "North America / West Euro.";
        case TPEeprom::DestinationSouthAmericaEastEuroAsia:
            return "South America / East Euro / Asia.";
        default:
            return nullptr;
    }
}

}  // namespace

TDefaultSetPage::TDefaultSetPage(orvane_app::AppContext& context, TFormAdjust& form,
                                 QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::DefaultSetPnl>()) {
    ui_->setupUi(this);
    OnClick(ui_->DefaultSetOKBtn, &TDefaultSetPage::DefaultSetOKBtnClick);
    OnClick(ui_->DestCheckBtn, &TDefaultSetPage::DestCheckBtnClick);
}

TDefaultSetPage::~TDefaultSetPage() = default;

void TDefaultSetPage::DefaultSetOKBtnClick() {
    TFormAdjust& form = Form();
    orvane_app::Modules& modules = Context().GetModules();
    if (!StartBusy(form, "Writing now...", OnPrinterError::GoOn)) {
        return;
    }
    uint16_t result = modules.eeprom.WriteMarketSetting(Context().Boot().ModelCode);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    form.ShowStatus(StatusDoneNoWait, "The market destination setting value has written properly.");

    orvane::MessageRequest restart;
    restart.text = "Click the [OK] button to restart the printer.";
    restart.caption = "Information";
    restart.icon = orvane::MessageIcon::Information;
    restart.owner = orvane::MessageOwner::AdjustmentWindow;
    Context().MessageBox().Show(restart);

    result = modules.link.D4Reset();
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    form.ShowStatus(StatusAddLine,
                    "After a printer finished the initialize operation of printer, click the "
                    "[Check] button.");
}

void TDefaultSetPage::DestCheckBtnClick() {
    TFormAdjust& form = Form();
    orvane_app::Modules& modules = Context().GetModules();
    if (!StartBusy(form, "Reading now...", OnPrinterError::GoOn)) {
        return;
    }
    uint8_t destination = TPEeprom::DestinationUnknown;
    uint16_t result = modules.eeprom.ReadMarketSetting(destination);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    std::array<char, kModelNameBytes> name{};
    result = modules.link.GetModelNameByPway(name.data());
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // The name ends at its zero, and at the buffer's last byte whatever the
    // library left there.
    name.back() = '\0';
    const std::string modelName(name.data(), strnlen(name.data(), name.size()));

    // Only a destination that a model selects can match the chosen model.
    const char* text = DestinationText(destination);
    if (text == nullptr || destination != Context().Boot().ModelCode) {
        form.ShowStatus(StatusError, "The present market destination setting value is wrong.");
        form.ShowStatus(StatusAddLine,
                        "Click the [OK] button to write the market destination setting value in "
                        "EEPROM.");
    } else {
        form.ShowStatus(StatusDoneNoWait, "The market destination is ");
        form.ShowStatus(StatusAppend, text);
    }
    form.ShowStatus(StatusAddLine, "The present model name is ");
    form.ShowStatus(StatusAppend, modelName);
}
