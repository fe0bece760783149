#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class LandMarginAdjustPnl;
}

// The first-dot page.
class TLandMarginAdjustPage final : public TPage {
    Q_OBJECT

  public:
    TLandMarginAdjustPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TLandMarginAdjustPage() override;

    // Choosing the page runs its Read action.
    void Opened() override;

    // The page's Read action. It reads the stored value once the page has
    // its module; until then it leaves the page as it is.
    void LandMarginCheckBtnClick();

  private:
    std::unique_ptr<Ui::LandMarginAdjustPnl> ui_;
};
