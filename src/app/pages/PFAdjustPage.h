#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class PFAdjustPnl;
}

// The PF adjustment page.
class TPFAdjustPage final : public TPage {
    Q_OBJECT

  public:
    TPFAdjustPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TPFAdjustPage() override;

    // Choosing the page empties the value edit.
    void Opened() override;

  private:
    std::unique_ptr<Ui::PFAdjustPnl> ui_;
};
