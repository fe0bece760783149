#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class HeadAngAdjustPnl;
}

// The head angular page: prints the head angular check pattern, writes the
// value chosen with the up-down (-3, 0 or 3), reads the stored value back and
// feeds paper.
class THeadAngAdjustPage final : public TPage {
    Q_OBJECT

  public:
    THeadAngAdjustPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~THeadAngAdjustPage() override;

    // Choosing the page runs its Read action.
    void Opened() override;

    void HeadAngularPrintBtnClick();
    void HeadAngularInputBtnClick();
    // Empties the edit first, so that it stays empty when the read fails.
    void HeadAngularReadBtnClick();
    // Fourteen line feeds, without waiting for the printer or locking the
    // window.
    void HeadAngularPaperFeedBtnClick();
    void HeadAngularAdjustHowToBtnClick();

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::HeadAngAdjustPnl> ui_;
};
