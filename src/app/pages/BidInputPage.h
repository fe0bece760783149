#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class BidInputPnl;
}

// The Bi-D input page.
class TBidInputPage final : public TPage {
    Q_OBJECT

  public:
    TBidInputPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TBidInputPage() override;

  private:
    std::unique_ptr<Ui::BidInputPnl> ui_;
};
