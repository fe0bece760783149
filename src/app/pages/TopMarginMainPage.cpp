#include "app/pages/TopMarginMainPage.h"

#include <array>

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7howtotopmarginadjust.h"
#include "app/pages/BusyStart.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "ui_TopMarginMainPnl.h"

namespace {

// The choices of the list, by index: the byte written and the text the
// status line and the adjusted items show.
struct Choice {
    uint8_t value;
    const char* quoted;
};
constexpr std::array<Choice, 3> kChoices = {{
    {0xD8, "\"-\""},  // -40
    {0x00, "\"0\""},
    {0x28, "\"+\""},  // 40
}};
constexpr int kChoiceMinus = 0;
constexpr int kChoiceZero = 1;
constexpr int kChoicePlus = 2;

// Stored values further than this from 0 read as "+" or "-".
constexpr int kZeroBand = 20;

// The choice a stored value (signed) reads as.
int ChoiceOfStoredValue(int value) {
    if (value > kZeroBand) {
        return kChoicePlus;
    }
    if (value < -kZeroBand) {
        return kChoiceMinus;
    }
    return kChoiceZero;
}

// The remote-mode setting sent before the pattern.
constexpr uint8_t kRemoteSetting = 6;

}  // namespace

TTopMarginMainPage::TTopMarginMainPage(orvane_app::AppContext& context, TFormAdjust& form,
                                       QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::TopMarginMainPnl>()) {
    ui_->setupUi(this);
    using Page = TTopMarginMainPage;
    OnClick(ui_->TopMarginReadBtn, &Page::TopMarginReadBtnClick);
    OnClick(ui_->TopMarginInputBtn, &Page::TopMarginInputBtnClick);
    OnClick(ui_->TopMarginPrintBtn, &Page::TopMarginPrintBtnClick);
    OnClick(ui_->TopMarginHowToAdjustBtn, &Page::TopMarginHowToAdjustBtnClick);
}

TTopMarginMainPage::~TTopMarginMainPage() = default;

void TTopMarginMainPage::Opened() {
    TopMarginReadBtnClick();
}

void TTopMarginMainPage::TopMarginReadBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, "Reading...")) {
        return;
    }
    uint8_t stored = 0;
    const uint16_t result = Context().GetModules().link.D4ReadEeprom(eeprom::TopMargin, stored);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    form.ShowStatus(StatusDone, "");
    ui_->TopMarginInputComboBox->setCurrentIndex(ChoiceOfStoredValue(static_cast<int8_t>(stored)));
}

void TTopMarginMainPage::TopMarginInputBtnClick() {
    TFormAdjust& form = Form();
    const int index = ui_->TopMarginInputComboBox->currentIndex();
    if (index < 0 || index >= static_cast<int>(kChoices.size())) {
        form.ShowStatus(StatusError, "Please select the adjustemnt value.");
        return;
    }
    const Choice& choice = kChoices[static_cast<size_t>(index)];
    if (!StartBusy(form, "Writing...")) {
        return;
    }
    TPFactory& factory = Context().GetModules().factory;
    uint16_t result = factory.SendTopMarginValue(choice.value);
    if (result == ResultOk) {
        result = factory.SendStoreCommand();
    }
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // A failed wait has been reported in the status line; nothing is added
    // to it then.
    if (form.ShowStatus(StatusDone, "As Top margin data, ") != ResultOk) {
        return;
    }
    form.ShowStatus(StatusAppend, choice.quoted);
    form.ShowStatus(StatusAppend, " has been written in EEPROM.");
    form.SetAdjustedValue(QStringLiteral("ShowTopMarginPnl"), QString::fromUtf8(choice.quoted));
}

void TTopMarginMainPage::TopMarginPrintBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, "Now printing Top Margin Line.")) {
        return;
    }
    orvane_app::Modules& modules = Context().GetModules();
    uint16_t result = modules.remote.SendRemoteSetting(kRemoteSetting);
    if (result == ResultOk) {
        result = modules.pattern.PrintTopMarginPattern(0);  // with its caption
    }
    if (result == ResultOk) {
        result = modules.raster.EjectPage();
    }
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    form.ShowStatus(StatusDone, "Completion the printing.");
}

void TTopMarginMainPage::TopMarginHowToAdjustBtnClick() {
    Context().HowToTopMarginAdjust().ShowForward();
}
