#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class G0SCheckPrintPnl;
}

// The A4 normal-paper check sheet page.
class TG0SCheckPrintPage final : public TPage {
    Q_OBJECT

  public:
    TG0SCheckPrintPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TG0SCheckPrintPage() override;

  private:
    std::unique_ptr<Ui::G0SCheckPrintPnl> ui_;
};
