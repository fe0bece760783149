#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class NozzleCheckPatternPrintPnl;
}

// The nozzle check page.
class TNozzleCheckPatternPrintPage final : public TPage {
    Q_OBJECT

  public:
    TNozzleCheckPatternPrintPage(orvane_app::AppContext& context, TFormAdjust& form,
                                 QWidget* parent);
    ~TNozzleCheckPatternPrintPage() override;

  private:
    std::unique_ptr<Ui::NozzleCheckPatternPrintPnl> ui_;
};
