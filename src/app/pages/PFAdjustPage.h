#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class PFAdjustPnl;
}

// The PF adjustment page: the paper feed amount for black or for colour
// printing, chosen with the Black / Color group, whose choice decides every
// action of the page. It has no module of its own: it sends the packets,
// reads the EEPROM and prints the patterns itself.
class TPFAdjustPage final : public TPage {
    Q_OBJECT

  public:
    TPFAdjustPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TPFAdjustPage() override;

    // Choosing the page empties the value edit.
    void Opened() override;

    // Switches the group captions to the chosen colour and empties the edit,
    // so that a value typed for one colour is never written for the other.
    void PFColorSelectRadioGroupClick();
    void PFAdjustPrintBKBtnClick();
    // A value outside -4..4, or a text that is no number, is refused before
    // the printer is touched.
    void PFAdjustInputBtnClick();
    void PFAdjustCheckBtnClick();
    void PFAdjustHowToBtnClick();

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::PFAdjustPnl> ui_;
};
