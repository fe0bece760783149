#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class CRHeatProtectOffsetPnl;
}

// The CR heat-protect offset page: after the technician confirms, the CR
// motor drive dispersion sequence registers the fixed offset of the carriage
// motor's heat protection.
class TCRHeatProtectOffsetPage final : public TPage {
    Q_OBJECT

  public:
    TCRHeatProtectOffsetPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TCRHeatProtectOffsetPage() override;

    // Anything but OK in the confirmation ends it with nothing sent.
    void CRHeatProtectOffsetOKBtnClick();

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::CRHeatProtectOffsetPnl> ui_;
};
