#include "app/pages/HeadIDInputPage.h"

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/pages/BusyStart.h"
#include "app/widgets/UpperCaseEdit.h"
#include "link/ResultCodes.h"
#include "ui_HeadIDInputPnl.h"

THeadIDInputPage::THeadIDInputPage(orvane_app::AppContext& context, TFormAdjust& form,
                                   QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("HeadIDInputPnl")),
      ui_(std::make_unique<Ui::HeadIDInputPnl>()) {}

void THeadIDInputPage::BuildControls() {
    ui_->setupUi(this);
    orvane_app::MakeUpperCaseEdit(*ui_->HeadIDInputEdit, static_cast<int>(TPHeadID::kLength));
    // Input is the page's default button: Enter in the edit presses it.
    connect(ui_->HeadIDInputEdit, &QLineEdit::returnPressed, ui_->HeadIDInputOKBtn,
            &QPushButton::click);
    OnClick(ui_->HeadIDInputOKBtn, &THeadIDInputPage::HeadIDInputOKBtnClick);
    OnClick(ui_->HeadIDReadBtn, &THeadIDInputPage::HeadIDReadBtnClick);
}

THeadIDInputPage::~THeadIDInputPage() = default;

void THeadIDInputPage::Opened() {
    ui_->HeadIDInputEdit->setFocus();
}

void THeadIDInputPage::HeadIDInputOKBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::HeadIdWrite)) {
        return;
    }
    const QString id = ui_->HeadIDInputEdit->text();
    const uint16_t result = Context().GetModules().headId.WriteHeadId(id.toStdString());
    if (result != ResultOk) {
        form.ReportResult(result);
        ui_->HeadIDInputEdit->setFocus(Qt::OtherFocusReason);
        return;
    }
    EndBusy(form, steps::HeadIdWrite);
    form.SetAdjustedValue(QStringLiteral("ShowHeadIDPnl"), id);
}

void THeadIDInputPage::HeadIDReadBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::HeadIdRead)) {
        return;
    }
    std::string id;
    const uint16_t result = Context().GetModules().headId.ReadHeadId(id);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // Stored bytes that no Head ID holds read as an empty ID.
    EndBusy(form, steps::HeadIdRead);
    form.ShowStatus(StatusAppend, id);
}
