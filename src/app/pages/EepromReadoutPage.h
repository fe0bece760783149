#pragma once

#include <memory>

#include "app/pages/Page.h"
#include "eeprom/EepromImage.h"
#include "platform/SaveDialog.h"

namespace Ui {
class EepromReadoutPnl;
}

// The full EEPROM dump page: OK reads all 256 bytes, scrambles them into the
// 1024-byte dump and saves it in a file the technician chooses.
class TEepromReadoutPage final : public TPage {
    Q_OBJECT

  public:
    TEepromReadoutPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TEepromReadoutPage() override;

    void EepromReadoutBtnClick();

    // How the window's save dialog is shown for the dump.
    static const orvane::SaveDialogOptions kSaveOptions;
    // The wait between the last read and the saving.

  protected:
    void BuildControls() override;

  private:
    // Asks for a file until the dump is saved in one or the technician gives
    // up.
    void SaveImage(const eeprom::Image& image);

    std::unique_ptr<Ui::EepromReadoutPnl> ui_;
};
