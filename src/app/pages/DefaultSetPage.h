#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class DefaultSetPnl;
}

// The market destination page.
class TDefaultSetPage final : public TPage {
    Q_OBJECT

  public:
    TDefaultSetPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TDefaultSetPage() override;

  private:
    std::unique_ptr<Ui::DefaultSetPnl> ui_;
};
