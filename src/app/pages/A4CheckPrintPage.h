#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class A4CheckPrintPnl;
}

// The A4 photo-paper check sheet page: Print prints the adjustment patterns
// at the stored values on two pages; How to check explains reading them.
class TA4CheckPrintPage final : public TPage {
    Q_OBJECT

  public:
    TA4CheckPrintPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TA4CheckPrintPage() override;

    void A4PrintBtnClick();
    void HowToCheckA4PatClick();

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::A4CheckPrintPnl> ui_;
};
