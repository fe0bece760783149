#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class HeadAngAdjustPnl;
}

// The head angular page.
class THeadAngAdjustPage final : public TPage {
    Q_OBJECT

  public:
    THeadAngAdjustPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~THeadAngAdjustPage() override;

    // Choosing the page runs its Read action.
    void Opened() override;

    // The page's Read action. It reads the stored value once the page has
    // its module; until then it leaves the page as it is.
    void HeadAngularReadBtnClick();

  private:
    std::unique_ptr<Ui::HeadAngAdjustPnl> ui_;
};
