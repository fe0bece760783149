#include "app/pages/NozzleCheckPatternPrintPage.h"

#include "adjust/StoredValues.h"
#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/pages/BusyStart.h"
#include "link/ResultCodes.h"
#include "ui_NozzleCheckPatternPrintPnl.h"

TNozzleCheckPatternPrintPage::TNozzleCheckPatternPrintPage(orvane_app::AppContext& context,
                                                           TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("NozzleCheckPatternPrintPnl")),
      ui_(std::make_unique<Ui::NozzleCheckPatternPrintPnl>()) {}

void TNozzleCheckPatternPrintPage::BuildControls() {
    ui_->setupUi(this);
    OnClick(ui_->NozzleCheckPatternPrintBtn,
            &TNozzleCheckPatternPrintPage::NozzleCheckPatternPrintBtnClick);
    OnClick(ui_->NozzleCheckPaperFeedBtn,
            &TNozzleCheckPatternPrintPage::NozzleCheckPaperFeedBtnClick);
}

TNozzleCheckPatternPrintPage::~TNozzleCheckPatternPrintPage() = default;

void TNozzleCheckPatternPrintPage::NozzleCheckPatternPrintBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::NozzleCheckPrint)) {
        return;
    }
    orvane_app::Modules& modules = Context().GetModules();
    const uint16_t result = adjust::PrintNozzleCheckPage(modules.remote, modules.raster);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // A failure of the wait before the text reports itself.
    EndBusy(form, steps::NozzleCheckPrint);
}

void TNozzleCheckPatternPrintPage::NozzleCheckPaperFeedBtnClick() {
    FeedPaper(kPaperFeedLines);
}
