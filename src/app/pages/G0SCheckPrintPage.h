#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class G0SCheckPrintPnl;
}

// The A4 normal-paper check sheet page: Print prints the solid and alignment
// patterns with the report of the printer's counter, identity and ink.
class TG0SCheckPrintPage final : public TPage {
    Q_OBJECT

  public:
    TG0SCheckPrintPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TG0SCheckPrintPage() override;

    void G0SCheckPrintBtnClick();

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::G0SCheckPrintPnl> ui_;
};
