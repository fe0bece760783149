#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class InkChargePnl;
}

// The ink charge page: OK starts the printer's ink charge sequence and keeps
// the window locked until the printer is ready again (about 50 seconds).
class TInkChargePage final : public TPage {
    Q_OBJECT

  public:
    TInkChargePage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TInkChargePage() override;

    void InkChargeOKBtnClick();

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::InkChargePnl> ui_;
};
