#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class CleaningPnl;
}

// The head cleaning page: OK starts the printer's cleaning sequence and keeps
// the window locked until the printer is ready again (about 100 seconds).
class TCleaningPage final : public TPage {
    Q_OBJECT

  public:
    TCleaningPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TCleaningPage() override;

    void CleaningOKBtnClick();

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::CleaningPnl> ui_;
};
