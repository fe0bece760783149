#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class CRHeatProtectOffsetPnl;
}

// The CR heat-protect offset page.
class TCRHeatProtectOffsetPage final : public TPage {
    Q_OBJECT

  public:
    TCRHeatProtectOffsetPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TCRHeatProtectOffsetPage() override;

  private:
    std::unique_ptr<Ui::CRHeatProtectOffsetPnl> ui_;
};
