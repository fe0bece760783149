#include "app/pages/BidPrintPage.h"

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7howtobidadjust.h"
#include "app/pages/BidInputPage.h"
#include "app/pages/BusyStart.h"
#include "link/ResultCodes.h"
#include "ui_BidPrintPnl.h"

namespace {

// The lines one press of Paper feed advances the paper.
constexpr int kBidPaperFeedLines = 7;

}  // namespace

TBidPrintPage::TBidPrintPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("BidPrintPnl")),
      ui_(std::make_unique<Ui::BidPrintPnl>()) {}

void TBidPrintPage::BuildControls() {
    ui_->setupUi(this);
    requests_ = {ui_->BidVSD1BkPrnRequestCheckBox, ui_->BidVSD1CLPrnRequestCheckBox,
                 ui_->BidVSD2BkPrnRequestCheckBox, ui_->BidVSD2CLPrnRequestCheckBox,
                 ui_->BidVSD3BkPrnRequestCheckBox, ui_->BidVSD3CLPrnRequestCheckBox,
                 ui_->BidECOBkPrnRequestCheckBox,  ui_->BidECOCLPrnRequestCheckBox};
    OnClick(ui_->BidPrintOKBtn, &TBidPrintPage::BidPrintOKBtnClick);
    OnClick(ui_->BidPrintPaperFeedBtn, &TBidPrintPage::BidPrintPaperFeedBtnClick);
    OnClick(ui_->BidPrintShowInputBtn, &TBidPrintPage::BidPrintShowInputBtnClick);
    OnClick(ui_->BidPrintHowToAdjustBtn, &TBidPrintPage::BidPrintHowToAdjustBtnClick);
}

TBidPrintPage::~TBidPrintPage() = default;

void TBidPrintPage::BidPrintOKBtnClick() {
    TFormAdjust& form = Form();
    TPBid::Flags flags{};
    bool any = false;
    for (size_t i = 0; i < requests_.size(); ++i) {
        flags[i] = requests_[i]->isChecked();
        any = any || flags[i];
    }
    if (!any) {
        form.ShowStatus(StatusError, "Please select item.");
        return;
    }
    if (!StartBusy(form, steps::BidPrint)) {
        return;
    }
    const uint16_t result = Context().GetModules().bid.PrintBidPattern(flags);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // A failed wait is reported by the status line itself.
    EndBusy(form, steps::BidPrint);
}

void TBidPrintPage::BidPrintPaperFeedBtnClick() {
    FeedPaper(kBidPaperFeedLines);
}

void TBidPrintPage::BidPrintShowInputBtnClick() {
    TFormAdjust& form = Form();
    form.ShowPageOnly(QStringLiteral("BidInputPnl"));
    // The input page always starts from the values the printer holds.
    if (auto* input = qobject_cast<TBidInputPage*>(form.Page(QStringLiteral("BidInputPnl")))) {
        input->BidInputCheckBtnClick();
    }
}

void TBidPrintPage::BidPrintHowToAdjustBtnClick() {
    Context().HowToBidAdjust().ShowForward();
}
