#pragma once

#include <array>
#include <memory>

#include "adjust/Rk7bid.h"
#include "app/pages/Page.h"

class QCheckBox;

namespace Ui {
class BidPrintPnl;
}

// The Bi-D print page: prints the check pattern of the checked items, feeds
// paper, and leads to the input page.
class TBidPrintPage final : public TPage {
    Q_OBJECT

  public:
    TBidPrintPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TBidPrintPage() override;

    void BidPrintOKBtnClick();
    void BidPrintPaperFeedBtnClick();
    void BidPrintShowInputBtnClick();
    void BidPrintHowToAdjustBtnClick();

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::BidPrintPnl> ui_;
    // The print-request check boxes, in the module's item order.
    std::array<QCheckBox*, TPBid::kItemCount> requests_{};
};
