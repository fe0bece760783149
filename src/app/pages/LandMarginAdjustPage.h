#pragma once

#include <memory>
#include <optional>

#include "app/pages/Page.h"

namespace Ui {
class LandMarginAdjustPnl;
}

// The first-dot page: the value lives in a read-only edit that the up-down,
// the five step buttons and Read set; the two margin gauges and the
// millimetre panel follow it. Input writes it with the first-dot packet and
// the store packet; Print and Paper feed print the pattern and feed paper.
class TLandMarginAdjustPage final : public TPage {
    Q_OBJECT

  public:
    TLandMarginAdjustPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TLandMarginAdjustPage() override;

    // Choosing the page runs its Read action.
    void Opened() override;

    void LandMarginCheckBtnClick();
    void LandMarginInputBtnClick();
    void LandMarginPrintBtnClick();
    void LandMarginFeedBtnClick();
    void FirstDotHowToAdjustBtnClick();

    // The step buttons never reach the printer. The four-at-a-time ones need
    // a value to step from: on the empty edit that a failed Read leaves they
    // do nothing, while the centre and edge buttons set their value (and the
    // up-down steps from its own position).
    void GotoLeftEdgeBitBtnClick();
    void SteptoLeftBitBtnClick();
    void CenteringBitBtnClick();
    void SteptoRightBitBtnClick();
    void GotoRightEdgeBitBtnClick();
    // After the up-down has stepped the edit: the gauges and millimetres follow.
    void LandMarginInputUpDownClick();

  protected:
    void BuildControls() override;

  private:
    // The display update: clamps value, shows it in the edit and sets the
    // gauges and the millimetre panel.
    void ShowFirstDot(int value);
    // The gauges and the millimetre panel alone, for value clamped.
    void ShowMargins(int value);
    void StepBy(int delta);
    // The edit's integer, or none when its text is not one.
    std::optional<int> EditValue() const;

    std::unique_ptr<Ui::LandMarginAdjustPnl> ui_;
};
