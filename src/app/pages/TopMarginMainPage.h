#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class TopMarginMainPnl;
}

// The top margin page.
class TTopMarginMainPage final : public TPage {
    Q_OBJECT

  public:
    TTopMarginMainPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TTopMarginMainPage() override;

    // Choosing the page runs its Read action.
    void Opened() override;

    // The page's Read action. It reads the stored value once the page has
    // its module; until then it leaves the page as it is.
    void TopMarginReadBtnClick();

  private:
    std::unique_ptr<Ui::TopMarginMainPnl> ui_;
};
