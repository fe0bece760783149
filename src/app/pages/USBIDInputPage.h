#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class USBIDInputPnl;
}

// The USB ID page.
class TUSBIDInputPage final : public TPage {
    Q_OBJECT

  public:
    TUSBIDInputPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TUSBIDInputPage() override;

  private:
    std::unique_ptr<Ui::USBIDInputPnl> ui_;
};
