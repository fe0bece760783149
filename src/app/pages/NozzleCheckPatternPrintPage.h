#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class NozzleCheckPatternPrintPnl;
}

// The nozzle check page: Print has the printer print its own nozzle check
// pattern and ejects the page; Paper feed advances the paper by 8 lines.
class TNozzleCheckPatternPrintPage final : public TPage {
    Q_OBJECT

  public:
    // The lines Paper feed advances the paper by.
    static constexpr int kPaperFeedLines = 8;

    TNozzleCheckPatternPrintPage(orvane_app::AppContext& context, TFormAdjust& form,
                                 QWidget* parent);
    ~TNozzleCheckPatternPrintPage() override;

    void NozzleCheckPatternPrintBtnClick();
    void NozzleCheckPaperFeedBtnClick();

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::NozzleCheckPatternPrintPnl> ui_;
};
