#include "app/pages/PFAdjustPage.h"

#include "adjust/StoredValues.h"
#include "adjust/ValueText.h"
#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7howtopfadjust.h"
#include "app/pages/BusyStart.h"
#include "app/reading/PageReader.h"
#include "app/widgets/TypingLimit.h"
#include "link/ResultCodes.h"
#include "ui_PFAdjustPnl.h"

namespace {

// What each choice of the Black / Color group works on.
struct Colour {
    adjust::PfColour colour;
    const char* quantity;  // as the page reader and the mechanism name it
    const char* adjustedPanel;
    const char* printCaption;
    const char* inputCaption;
};

const Colour kBlack = {
    .colour = adjust::PfColour::Black,
    .quantity = "pf-black",
    .adjustedPanel = "ShowPFAdjustValueBKPnl",
    .printCaption = "Print (Black)",
    .inputCaption = "Input (Black)",
};
const Colour kColour = {
    .colour = adjust::PfColour::Colour,
    .quantity = "pf-color",
    .adjustedPanel = "ShowPFAdjustValueCLPnl",
    .printCaption = "Print (Color)",
    .inputCaption = "Input (Color)",
};

constexpr int kBlackItem = 0;

const Colour& ColourOf(int itemIndex) {
    return itemIndex == kBlackItem ? kBlack : kColour;
}

}  // namespace

TPFAdjustPage::TPFAdjustPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("PFAdjustPnl")),
      ui_(std::make_unique<Ui::PFAdjustPnl>()) {}

void TPFAdjustPage::BuildControls() {
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
    // Read page beside the edit, left of Input and Read; it reads the page
    // of the colour chosen.
    AddReadPage(
        QStringLiteral("PF"), *ui_->PFInputGroupBox, QRect(76, 80, 100, 25),
        QRect(180, 80, 100, 25),
        [this] {
            return std::string(ColourOf(ui_->PFColorSelectRadioGroup->ItemIndex()).quantity);
        },
        [this](const std::vector<orvane_app::ReadValue>& values) {
            const Colour& colour = ColourOf(ui_->PFColorSelectRadioGroup->ItemIndex());
            for (const orvane_app::ReadValue& value : values) {
                if (value.fills && value.name == colour.quantity) {
                    orvane_app::ShowWhole(*ui_->PFAdjustDataEdit, QString::number(value.value));
                }
            }
        });
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
    if (!StartBusy(form, steps::PfPrint)) {
        return;
    }
    const uint16_t result =
        adjust::PrintPfPage(modules.pattern, modules.raster,
                            ColourOf(ui_->PFColorSelectRadioGroup->ItemIndex()).colour);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    EndBusy(form, steps::PfPrint);
}

void TPFAdjustPage::PFAdjustInputBtnClick() {
    TFormAdjust& form = Form();
    const Colour& colour = ColourOf(ui_->PFColorSelectRadioGroup->ItemIndex());
    const QString text = ui_->PFAdjustDataEdit->text();
    const std::optional<int> value = adjust::CheckPfValue(text.toStdString());
    if (!value) {
        ui_->PFAdjustDataEdit->setFocus(Qt::OtherFocusReason);
        form.ShowStatus(StatusError, adjust::kPfRefusedText);
        return;
    }
    if (!StartBusy(form, steps::PfWrite)) {
        return;
    }
    const uint16_t result =
        adjust::WritePfValue(Context().GetModules().factory, colour.colour, *value);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    if (EndBusy(form, steps::PfWrite) != ResultOk) {
        return;
    }
    form.SetAdjustedValue(QString::fromUtf8(colour.adjustedPanel), text);
    ReadPageInputWritten({{colour.quantity, *value}});
}

void TPFAdjustPage::PFAdjustCheckBtnClick() {
    TFormAdjust& form = Form();
    const Colour& colour = ColourOf(ui_->PFColorSelectRadioGroup->ItemIndex());
    ui_->PFAdjustDataEdit->clear();
    form.Repaint();
    if (!StartBusy(form, steps::PfRead)) {
        return;
    }
    uint8_t stored = 0;
    const uint16_t result = adjust::ReadPfValue(Context().GetModules().link, colour.colour, stored);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // Whatever the printer holds is shown, also a value Input refuses.
    orvane_app::ShowWhole(*ui_->PFAdjustDataEdit,
                          QString::fromStdString(adjust::SignedByteText(stored)));
    EndBusy(form, steps::PfRead);
}

void TPFAdjustPage::PFAdjustHowToBtnClick() {
    Context().HowToPFAdjust().ShowForward();
}
