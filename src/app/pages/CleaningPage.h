#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class CleaningPnl;
}

// The head cleaning page.
class TCleaningPage final : public TPage {
    Q_OBJECT

  public:
    TCleaningPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TCleaningPage() override;

  private:
    std::unique_ptr<Ui::CleaningPnl> ui_;
};
