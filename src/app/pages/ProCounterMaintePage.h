#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class ProCounterMaintePnl;
}

// The waste ink pad counter page: Read shows the counter's maximum, its
// present value and the usage rate; Reset zeroes the counter after the pad
// has been replaced. Both work on a printer in its error state too.
class TProCounterMaintePage final : public TPage {
    Q_OBJECT

  public:
    TProCounterMaintePage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TProCounterMaintePage() override;

    void ProCounterCheckBtnClick();
    void ProCounterClearBtnClick();

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::ProCounterMaintePnl> ui_;
};
