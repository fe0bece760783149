#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class TopMarginMainPnl;
}

// The top margin page: three coarse choices, "-", "0" and "+", in a
// drop-down list. Input writes the chosen value with the top margin packet
// and the store packet, Read shows the stored value as the nearest choice,
// Print prints the top margin pattern.
class TTopMarginMainPage final : public TPage {
    Q_OBJECT

  public:
    TTopMarginMainPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TTopMarginMainPage() override;

    // Choosing the page runs its Read action.
    void Opened() override;

    void TopMarginReadBtnClick();
    void TopMarginInputBtnClick();
    void TopMarginPrintBtnClick();
    void TopMarginHowToAdjustBtnClick();

  protected:
    void BuildControls() override;

  private:
    // Chooses the drop-down's item of a value read off the page (-40, 0, 40).
    void ChooseValue(int value);

    std::unique_ptr<Ui::TopMarginMainPnl> ui_;
};
