#include "app/pages/PFAdjustPage.h"

#include "adjust/ValueText.h"
#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7howtopfadjust.h"
#include "app/pages/BusyStart.h"
#include "app/widgets/TypingLimit.h"
#include "eeprom/EepromMap.h"
#include "link/ResultCodes.h"
#include "ui_PFAdjustPnl.h"

namespace {

// What each choice of the Black / Color group works on.
struct Colour {
    uint8_t address;  // of the stored value
    uint8_t blackFlag;
    const char* adjustedPanel;
    const char* printCaption;
    const char* inputCaption;
    uint16_t (TPPattern::*print)();
};

const Colour kBlack = {
    .address = eeprom::PfBlack,
    .blackFlag = 1,
    .adjustedPanel = "ShowPFAdjustValueBKPnl",
    .printCaption = "Print (Black)",
    .inputCaption = "Input (Black)",
    .print = &TPPattern::PrintPfBlackPattern,
};
const Colour kColour = {
    .address = eeprom::PfColour,
    .blackFlag = 0,
    .adjustedPanel = "ShowPFAdjustValueCLPnl",
    .printCaption = "Print (Color)",
    .inputCaption = "Input (Color)",
    .print = &TPPattern::PrintPfColorPattern,
};

constexpr int kBlackItem = 0;

const Colour& ColourOf(int itemIndex) {
    return itemIndex == kBlackItem ? kBlack : kColour;
}

constexpr int kMinimum = -4;
constexpr int kMaximum = 4;
// What a text that is no number counts as: outside the range, so refused.
constexpr int kNotANumber = 10;

}  // namespace

TPFAdjustPage::TPFAdjustPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent), ui_(std::make_unique<Ui::PFAdjustPnl>()) {
    ui_->setupUi(this);
    ui_->PFColorSelectRadioGroup->CollectItems();
    ui_->PFColorSelectRadioGroup->SetItemIndex(kBlackItem);
    orvane_app::MakeTypingLimit(*ui_->PFAdjustDataEdit);
    ui_->UpDown2->SetAssociate(ui_->PFAdjustDataEdit);
    connect(ui_->PFColorSelectRadioGroup, &orvane_app::RadioGroup::Click, this,
            &TPFAdjustPage::PFColorSelectRadioGroupClick);
    OnClick(ui_->PFAdjustPrintBKBtn, &TPFAdjustPage::PFAdjustPrintBKBtnClick);
    OnClick(ui_->PFAdjustInputBtn, &TPFAdjustPage::PFAdjustInputBtnClick);
    OnClick(ui_->PFAdjustCheckBtn, &TPFAdjustPage::PFAdjustCheckBtnClick);
    OnClick(ui_->PFAdjustHowToBtn, &TPFAdjustPage::PFAdjustHowToBtnClick);
}

TPFAdjustPage::~TPFAdjustPage() = default;

void TPFAdjustPage::Opened() {
    ui_->PFAdjustDataEdit->clear();
}

void TPFAdjustPage::PFColorSelectRadioGroupClick() {
    const Colour& colour = ColourOf(ui_->PFColorSelectRadioGroup->ItemIndex());
    ui_->PFPrintGroupBox->setTitle(QString::fromUtf8(colour.printCaption));
    ui_->PFInputGroupBox->setTitle(QString::fromUtf8(colour.inputCaption));
    ui_->PFAdjustDataEdit->clear();
}

void TPFAdjustPage::PFAdjustPrintBKBtnClick() {
    TFormAdjust& form = Form();
    orvane_app::Modules& modules = Context().GetModules();
    if (!StartBusy(form, "Printing now...")) {
        return;
    }
    uint16_t result =
        (modules.pattern.*ColourOf(ui_->PFColorSelectRadioGroup->ItemIndex()).print)();
    if (result == ResultOk) {
        result = modules.raster.EjectPage();
    }
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    form.ShowStatus(StatusDone, "The PF adjustment pattern print has completed.");
}

void TPFAdjustPage::PFAdjustInputBtnClick() {
    TFormAdjust& form = Form();
    const Colour& colour = ColourOf(ui_->PFColorSelectRadioGroup->ItemIndex());
    const QString text = ui_->PFAdjustDataEdit->text();
    const int value = adjust::TextToIntDef(text.toStdString(), kNotANumber);
    if (value < kMinimum || value > kMaximum) {
        ui_->PFAdjustDataEdit->setFocus(Qt::OtherFocusReason);
        form.ShowStatus(StatusError, "The input value is wrong.");
        return;
    }
    if (!StartBusy(form, "Writing now...")) {
        return;
    }
    TPFactory& factory = Context().GetModules().factory;
    uint16_t result = factory.SendPfValue(colour.blackFlag, static_cast<uint8_t>(value));
    if (result == ResultOk) {
        result = factory.SendStoreCommand();
    }
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    if (form.ShowStatus(StatusDone, "The PF adjustment value has written properly.") != ResultOk) {
        return;
    }
    form.SetAdjustedValue(QString::fromUtf8(colour.adjustedPanel), text);
}

void TPFAdjustPage::PFAdjustCheckBtnClick() {
    TFormAdjust& form = Form();
    const Colour& colour = ColourOf(ui_->PFColorSelectRadioGroup->ItemIndex());
    ui_->PFAdjustDataEdit->clear();
    form.Repaint();
    if (!StartBusy(form, "Reading now...")) {
        return;
    }
    uint8_t stored = 0;
    const uint16_t result = Context().GetModules().link.D4ReadEeprom(colour.address, stored);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // Whatever the printer holds is shown, also a value Input refuses.
    orvane_app::ShowWhole(*ui_->PFAdjustDataEdit,
                          QString::fromStdString(adjust::SignedByteText(stored)));
    form.ShowStatus(StatusDone, "The PF adjustment value has read properly.");
}

void TPFAdjustPage::PFAdjustHowToBtnClick() {
    Context().HowToPFAdjust().ShowForward();
}
