#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class BidPrintPnl;
}

// The Bi-D print page.
class TBidPrintPage final : public TPage {
    Q_OBJECT

  public:
    TBidPrintPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TBidPrintPage() override;

  private:
    std::unique_ptr<Ui::BidPrintPnl> ui_;
};
