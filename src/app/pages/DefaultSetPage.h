#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class DefaultSetPnl;
}

// The market destination page: OK writes the destination of the model chosen
// in the boot window and restarts the printer; Check compares what is stored
// with that model and shows the printer's model name.
class TDefaultSetPage final : public TPage {
    Q_OBJECT

  public:
    TDefaultSetPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TDefaultSetPage() override;

    void DefaultSetOKBtnClick();
    void DestCheckBtnClick();

    // The model name buffer that the port library fills.

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::DefaultSetPnl> ui_;
};
