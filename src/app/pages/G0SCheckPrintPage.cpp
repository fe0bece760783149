#include "app/pages/G0SCheckPrintPage.h"

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/pages/BusyStart.h"
#include "link/ResultCodes.h"
#include "ui_G0SCheckPrintPnl.h"

TG0SCheckPrintPage::TG0SCheckPrintPage(orvane_app::AppContext& context, TFormAdjust& form,
                                       QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("G0SCheckPrintPnl")),
      ui_(std::make_unique<Ui::G0SCheckPrintPnl>()) {}

void TG0SCheckPrintPage::BuildControls() {
    ui_->setupUi(this);
    OnClick(ui_->G0SCheckPrintBtn, &TG0SCheckPrintPage::G0SCheckPrintBtnClick);
}

TG0SCheckPrintPage::~TG0SCheckPrintPage() = default;

void TG0SCheckPrintPage::G0SCheckPrintBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::A3CheckPrint)) {
        return;
    }
    const uint16_t result = Context().GetModules().checkPattern.PrintNormalPaperSheet();
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // A failure of the wait before the text reports itself.
    EndBusy(form, steps::A3CheckPrint);
}
