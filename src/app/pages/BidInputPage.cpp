#include "app/pages/BidInputPage.h"

#include <algorithm>
#include <string>

#include "adjust/ValueText.h"
#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7howtobidadjust.h"
#include "app/pages/BusyStart.h"
#include "app/reading/PageReader.h"
#include "app/widgets/TypingLimit.h"
#include "app/widgets/UpDown.h"
#include "link/ResultCodes.h"
#include "ui_BidInputPnl.h"

TBidInputPage::TBidInputPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("BidInputPnl")),
      ui_(std::make_unique<Ui::BidInputPnl>()) {}

void TBidInputPage::BuildControls() {
    ui_->setupUi(this);
    rows_ = {{
        {ui_->BidVSD1BkInputCheckBox, ui_->BidVSD1BkInputEdit, ui_->BidVSD1BkInputUpDown,
         "ShowBid1BkPnl", "bid-vsd1-black"},
        {ui_->BidVSD1CLInputCheckBox, ui_->BidVSD1CLInputEdit, ui_->BidVSD1CLInputUpDown,
         "ShowBid1ClPnl", "bid-vsd1-color"},
        {ui_->BidVSD2BkInputCheckBox, ui_->BidVSD2BkInputEdit, ui_->BidVSD2BkInputUpDown,
         "ShowBid2BkPnl", "bid-vsd2-black"},
        {ui_->BidVSD2CLInputCheckBox, ui_->BidVSD2CLInputEdit, ui_->BidVSD2CLInputUpDown,
         "ShowBid2ClPnl", "bid-vsd2-color"},
        {ui_->BidVSD3BkInputCheckBox, ui_->BidVSD3BkInputEdit, ui_->BidVSD3BkInputUpDown,
         "ShowBid3BkPnl", "bid-vsd3-black"},
        {ui_->BidVSD3CLInputCheckBox, ui_->BidVSD3CLInputEdit, ui_->BidVSD3CLInputUpDown,
         "ShowBid3ClPnl", "bid-vsd3-color"},
        {ui_->BidECOBkInputCheckBox, ui_->BidECOBkInputEdit, ui_->BidECOBkInputUpDown,
         "ShowBidECOBkPnl", "bid-eco-black"},
        {ui_->BidECOCLInputCheckBox, ui_->BidECOCLInputEdit, ui_->BidECOCLInputUpDown,
         "ShowBidECOClPnl", "bid-eco-color"},
    }};
    for (const Row& row : rows_) {
        TieRow(row);
    }
    OnClick(ui_->BidInputOKBtn, &TBidInputPage::BidInputOKBtnClick);
    OnClick(ui_->BidInputCheckBtn, &TBidInputPage::BidInputCheckBtnClick);
    OnClick(ui_->BidInputShowPrintBtn, &TBidInputPage::BidInputShowPrintBtnClick);
    OnClick(ui_->BidInputHowToAdjustBtn, &TBidInputPage::BidInputHowToAdjustBtnClick);
    // Read page below the range, above Go to print page, in the buttons'
    // column. A value read fills its edit, which ticks the item.
    AddReadPage(
        QStringLiteral("Bid"), *this, QRect(184, 236, 104, 25), QRect(296, 236, 104, 25),
        [] { return std::string("bid"); },
        [this](const std::vector<orvane_app::ReadValue>& values) {
            for (const orvane_app::ReadValue& value : values) {
                for (const Row& row : rows_) {
                    if (value.fills && value.name == row.quantity) {
                        orvane_app::ShowWhole(*row.edit, QString::number(value.value));
                        // Also when the edit held that text already.
                        row.check->setChecked(true);
                    }
                }
            }
        });
}

TBidInputPage::~TBidInputPage() = default;

void TBidInputPage::TieRow(const Row& row) {
    orvane_app::MakeTypingLimit(*row.edit);
    row.upDown->SetAssociate(row.edit);
    // Whatever changes the text, typing, the up-down or the page itself,
    // selects the item when there is a text and deselects it when there is
    // none.
    QCheckBox* check = row.check;
    connect(row.edit, &QLineEdit::textChanged, this,
            [check](const QString& text) { check->setChecked(!text.isEmpty()); });
}

void TBidInputPage::BidInputOKBtnClick() {
    TFormAdjust& form = Form();
    if (std::none_of(rows_.begin(), rows_.end(),
                     [](const Row& row) { return row.check->isChecked(); })) {
        form.ShowStatus(StatusError, "Please select item.");
        return;
    }
    if (!StartBusy(form, steps::BidWrite)) {
        return;
    }
    // In item order; the first refused or failed value ends the writing,
    // and the values before it stay written.
    TPBid& bid = Context().GetModules().bid;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (!rows_[i].check->isChecked()) {
            continue;
        }
        const TPBid::Item& item = TPBid::kItems[i];
        const uint16_t result =
            bid.WriteBidValue(item.colourSelector, item.mode, rows_[i].edit->text().toStdString());
        if (result != ResultOk) {
            form.ReportResult(result);
            return;
        }
    }
    // The adjusted values only once the printer is ready again.
    if (EndBusy(form, steps::BidWrite) != ResultOk) {
        return;
    }
    std::vector<std::pair<std::string, int>> written;
    for (const Row& row : rows_) {
        if (row.check->isChecked()) {
            form.SetAdjustedValue(QString::fromUtf8(row.adjustedPanel), row.edit->text());
            if (const auto value = adjust::TextToInt(row.edit->text().toStdString())) {
                written.emplace_back(row.quantity, *value);
            }
        }
    }
    ReadPageInputWritten(written);
}

void TBidInputPage::BidInputCheckBtnClick() {
    TFormAdjust& form = Form();
    // Nothing old stays in view while the values are read, and no item
    // stays selected, not even one checked by hand beside an empty edit.
    for (const Row& row : rows_) {
        row.edit->clear();
        row.check->setChecked(false);
    }
    form.Repaint();
    if (!StartBusy(form, steps::BidRead)) {
        return;
    }
    std::array<std::string, TPBid::kItemCount> texts;
    TPBid& bid = Context().GetModules().bid;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const TPBid::Item& item = TPBid::kItems[i];
        const uint16_t result = bid.ReadBidValue(item.colourSelector, item.mode, texts[i]);
        if (result != ResultOk) {
            form.ReportResult(result);
            return;
        }
    }
    EndBusy(form, steps::BidRead);
    for (size_t i = 0; i < rows_.size(); ++i) {
        orvane_app::ShowWhole(*rows_[i].edit, QString::fromStdString(texts[i]));
    }
    // Values just read are not to be written back unless changed.
    for (const Row& row : rows_) {
        row.check->setChecked(false);
    }
}

void TBidInputPage::BidInputShowPrintBtnClick() {
    Form().ShowPageOnly(QStringLiteral("BidPrintPnl"));
}

void TBidInputPage::BidInputHowToAdjustBtnClick() {
    Context().HowToBidAdjust().ShowForward();
}
