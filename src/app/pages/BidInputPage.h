#pragma once

#include <array>
#include <memory>

#include "adjust/Rk7bid.h"
#include "app/pages/Page.h"

class QCheckBox;
class QLineEdit;
namespace orvane_app {
class UpDown;
}

namespace Ui {
class BidInputPnl;
}

// The Bi-D input page: the eight values, each with its check box, edit and
// up-down, in a grid of the four print modes by black and colour. Input
// writes the checked values, Read shows the stored ones. Typing a value
// checks its item; emptying the edit unchecks it.
class TBidInputPage final : public TPage {
    Q_OBJECT

  public:
    TBidInputPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TBidInputPage() override;

    void BidInputOKBtnClick();
    void BidInputCheckBtnClick();
    void BidInputShowPrintBtnClick();
    void BidInputHowToAdjustBtnClick();

  protected:
    void BuildControls() override;

  private:
    // The controls of one value, in the module's item order.
    struct Row {
        QCheckBox* check;
        QLineEdit* edit;
        orvane_app::UpDown* upDown;
        const char* adjustedPanel;  // where a written value is shown
        const char* quantity;       // as the page reader and the mechanism name it
    };

    void TieRow(const Row& row);

    std::unique_ptr<Ui::BidInputPnl> ui_;
    std::array<Row, TPBid::kItemCount> rows_{};
};
