#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class EepromReadoutPnl;
}

// The full EEPROM dump page.
class TEepromReadoutPage final : public TPage {
    Q_OBJECT

  public:
    TEepromReadoutPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TEepromReadoutPage() override;

  private:
    std::unique_ptr<Ui::EepromReadoutPnl> ui_;
};
