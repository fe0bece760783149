#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class EepromDataCopyPnl;
}

// The EEPROM data copy page.
class TEepromDataCopyPage final : public TPage {
    Q_OBJECT

  public:
    TEepromDataCopyPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TEepromDataCopyPage() override;

  private:
    std::unique_ptr<Ui::EepromDataCopyPnl> ui_;
};
