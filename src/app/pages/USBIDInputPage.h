#pragma once

#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class USBIDInputPnl;
}

// The USB ID page: Input writes the typed serial number with the date code
// of the present time, Read shows the stored USB ID.
class TUSBIDInputPage final : public TPage {
    Q_OBJECT

  public:
    TUSBIDInputPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TUSBIDInputPage() override;

    void USBIDInputOKBtnClick();
    void USBIDReadOutBtnClick();

    static constexpr int kSerialLength = 10;

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::USBIDInputPnl> ui_;
};
