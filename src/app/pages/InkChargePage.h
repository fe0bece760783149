#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class InkChargePnl;
}

// The ink charge page.
class TInkChargePage final : public TPage {
    Q_OBJECT

  public:
    TInkChargePage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TInkChargePage() override;

  private:
    std::unique_ptr<Ui::InkChargePnl> ui_;
};
