#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class HeadIDInputPnl;
}

// The Head ID page: Input checks and writes the typed Head ID, Read shows
// the one stored.
class THeadIDInputPage final : public TPage {
    Q_OBJECT

  public:
    THeadIDInputPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~THeadIDInputPage() override;

    // Choosing the page puts the cursor into the Head ID edit.
    void Opened() override;

    void HeadIDInputOKBtnClick();
    void HeadIDReadBtnClick();

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::HeadIDInputPnl> ui_;
};
