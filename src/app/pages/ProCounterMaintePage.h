#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class ProCounterMaintePnl;
}

// The waste ink pad counter page.
class TProCounterMaintePage final : public TPage {
    Q_OBJECT

  public:
    TProCounterMaintePage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TProCounterMaintePage() override;

  private:
    std::unique_ptr<Ui::ProCounterMaintePnl> ui_;
};
