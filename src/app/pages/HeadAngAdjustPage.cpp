#include "app/pages/HeadAngAdjustPage.h"

#include "adjust/StoredValues.h"
#include "adjust/ValueText.h"
#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7howtohdangadjust.h"
#include "app/pages/BusyStart.h"
#include "app/reading/PageReader.h"
#include "app/widgets/TypingLimit.h"
#include "link/ResultCodes.h"
#include "ui_HeadAngAdjustPnl.h"

namespace {

constexpr int kAngularPaperFeedLines = 14;
// The page's value, as the page reader and the mechanism name it.
constexpr const char* kHeadAngularQuantity = "head-angular";

}  // namespace

THeadAngAdjustPage::THeadAngAdjustPage(orvane_app::AppContext& context, TFormAdjust& form,
                                       QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("HeadAngAdjustPnl")),
      ui_(std::make_unique<Ui::HeadAngAdjustPnl>()) {}

void THeadAngAdjustPage::BuildControls() {
    ui_->setupUi(this);
    orvane_app::MakeTypingLimit(*ui_->HeadAngularInputEdit);
    ui_->HeadAngularAdjustUpDown->SetAssociate(ui_->HeadAngularInputEdit);
    OnClick(ui_->HeadAngularPrintBtn, &THeadAngAdjustPage::HeadAngularPrintBtnClick);
    OnClick(ui_->HeadAngularInputBtn, &THeadAngAdjustPage::HeadAngularInputBtnClick);
    OnClick(ui_->HeadAngularReadBtn, &THeadAngAdjustPage::HeadAngularReadBtnClick);
    OnClick(ui_->HeadAngularPaperFeedBtn, &THeadAngAdjustPage::HeadAngularPaperFeedBtnClick);
    OnClick(ui_->HeadAngularAdjustHowToBtn, &THeadAngAdjustPage::HeadAngularAdjustHowToBtnClick);
    // Read page beside the edit, left of Input and Read.
    AddReadPage(
        QStringLiteral("HeadAngular"), *ui_->HeadAngularAdjustGroupBox, QRect(76, 80, 100, 25),
        QRect(180, 80, 100, 25), [] { return std::string(kHeadAngularQuantity); },
        [this](const std::vector<orvane_app::ReadValue>& values) {
            for (const orvane_app::ReadValue& value : values) {
                if (value.fills && value.name == kHeadAngularQuantity) {
                    orvane_app::ShowWhole(*ui_->HeadAngularInputEdit, QString::number(value.value));
                }
            }
        });
}

THeadAngAdjustPage::~THeadAngAdjustPage() = default;

void THeadAngAdjustPage::Opened() {
    HeadAngularReadBtnClick();
}

void THeadAngAdjustPage::HeadAngularPrintBtnClick() {
    TFormAdjust& form = Form();
    orvane_app::Modules& modules = Context().GetModules();
    if (!StartBusy(form, steps::HeadAngularPrint)) {
        return;
    }
    const uint16_t result =
        adjust::PrintHeadAngularPage(modules.remote, modules.pattern, modules.raster);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    EndBusy(form, steps::HeadAngularPrint);
}

void THeadAngAdjustPage::HeadAngularInputBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::HeadAngularWrite)) {
        return;
    }
    const QString text = ui_->HeadAngularInputEdit->text();
    // A refused value is reported with the focus on the edit.
    const uint16_t result =
        Context().GetModules().headAngular.WriteHeadAngularValue(text.toStdString());
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    if (EndBusy(form, steps::HeadAngularWrite) != ResultOk) {
        return;
    }
    form.SetAdjustedValue(QStringLiteral("ShowHeadAngularAdjustValuePnl"), text);
    if (const std::optional<int> value = adjust::TextToInt(text.toStdString())) {
        ReadPageInputWritten({{kHeadAngularQuantity, *value}});
    }
}

void THeadAngAdjustPage::HeadAngularReadBtnClick() {
    TFormAdjust& form = Form();
    ui_->HeadAngularInputEdit->clear();
    form.Repaint();
    if (!StartBusy(form, steps::HeadAngularRead)) {
        return;
    }
    std::string text;
    const uint16_t result = Context().GetModules().headAngular.ReadHeadAngularValue(text);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    EndBusy(form, steps::HeadAngularRead);
    // Whatever the printer holds is shown, also a value Input refuses.
    orvane_app::ShowWhole(*ui_->HeadAngularInputEdit, QString::fromStdString(text));
}

void THeadAngAdjustPage::HeadAngularPaperFeedBtnClick() {
    FeedPaper(kAngularPaperFeedLines);
}

void THeadAngAdjustPage::HeadAngularAdjustHowToBtnClick() {
    Context().HowToHdAngAdjust().ShowForward();
}
