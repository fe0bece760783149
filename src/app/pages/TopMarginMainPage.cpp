#include "app/pages/TopMarginMainPage.h"

#include "adjust/StoredValues.h"
#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7howtotopmarginadjust.h"
#include "app/pages/BusyStart.h"
#include "app/reading/PageReader.h"
#include "link/ResultCodes.h"
#include "ui_TopMarginMainPnl.h"

namespace {

// The page's value, as the page reader and the mechanism name it.
constexpr const char* kTopMarginQuantity = "top-margin";

}  // namespace

TTopMarginMainPage::TTopMarginMainPage(orvane_app::AppContext& context, TFormAdjust& form,
                                       QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("TopMarginMainPnl")),
      ui_(std::make_unique<Ui::TopMarginMainPnl>()) {}

void TTopMarginMainPage::BuildControls() {
    ui_->setupUi(this);
    using Page = TTopMarginMainPage;
    OnClick(ui_->TopMarginReadBtn, &Page::TopMarginReadBtnClick);
    OnClick(ui_->TopMarginInputBtn, &Page::TopMarginInputBtnClick);
    OnClick(ui_->TopMarginPrintBtn, &Page::TopMarginPrintBtnClick);
    OnClick(ui_->TopMarginHowToAdjustBtn, &Page::TopMarginHowToAdjustBtnClick);
    // Read page below the Input group, in line with How to adjust.
    AddReadPage(
        QStringLiteral("TopMargin"), *this, QRect(177, 220, 110, 25), QRect(291, 220, 110, 25),
        [] { return std::string(kTopMarginQuantity); },
        [this](const std::vector<orvane_app::ReadValue>& values) {
            for (const orvane_app::ReadValue& value : values) {
                if (value.fills && value.name == kTopMarginQuantity) {
                    ChooseValue(value.value);
                }
            }
        });
}

void TTopMarginMainPage::ChooseValue(int value) {
    for (size_t i = 0; i < adjust::kTopMarginChoices.size(); ++i) {
        if (static_cast<int8_t>(adjust::kTopMarginChoices[i].value) == value) {
            ui_->TopMarginInputComboBox->setCurrentIndex(static_cast<int>(i));
        }
    }
}

TTopMarginMainPage::~TTopMarginMainPage() = default;

void TTopMarginMainPage::Opened() {
    TopMarginReadBtnClick();
}

void TTopMarginMainPage::TopMarginReadBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::TopMarginRead)) {
        return;
    }
    uint8_t stored = 0;
    const uint16_t result = adjust::ReadTopMargin(Context().GetModules().link, stored);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    EndBusy(form, steps::TopMarginRead);
    ui_->TopMarginInputComboBox->setCurrentIndex(
        adjust::TopMarginChoiceOfStored(static_cast<int8_t>(stored)));
}

void TTopMarginMainPage::TopMarginInputBtnClick() {
    TFormAdjust& form = Form();
    const int index = ui_->TopMarginInputComboBox->currentIndex();
    if (index < 0 || index >= static_cast<int>(adjust::kTopMarginChoices.size())) {
        form.ShowStatus(StatusError, "Please select the adjustemnt value.");
        return;
    }
    const adjust::TopMarginChoice& choice = adjust::kTopMarginChoices[static_cast<size_t>(index)];
    if (!StartBusy(form, steps::TopMarginWrite)) {
        return;
    }
    const uint16_t result = adjust::WriteTopMargin(Context().GetModules().factory, choice);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // A failed wait has been reported in the status line; nothing is added
    // to it then.
    if (EndBusy(form, steps::TopMarginWrite) != ResultOk) {
        return;
    }
    form.ShowStatus(StatusAppend, choice.quoted);
    form.ShowStatus(StatusAppend, " has been written in EEPROM.");
    form.SetAdjustedValue(QStringLiteral("ShowTopMarginPnl"), QString::fromUtf8(choice.quoted));
    ReadPageInputWritten({{kTopMarginQuantity, static_cast<int8_t>(choice.value)}});
}

void TTopMarginMainPage::TopMarginPrintBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::TopMarginPrint)) {
        return;
    }
    orvane_app::Modules& modules = Context().GetModules();
    const uint16_t result =
        adjust::PrintTopMarginPage(modules.remote, modules.pattern, modules.raster);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    EndBusy(form, steps::TopMarginPrint);
}

void TTopMarginMainPage::TopMarginHowToAdjustBtnClick() {
    Context().HowToTopMarginAdjust().ShowForward();
}
