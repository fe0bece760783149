#pragma once

#include <QPointer>
#include <memory>

#include "app/pages/Page.h"

namespace Ui {
class EepromDataCopyPnl;
}

// The EEPROM data copy page: the backup of the old main board's data into
// the backup file, and its restore to the new board. Its two panels act as
// buttons.
class TEepromDataCopyPage final : public TPage {
    Q_OBJECT

  public:
    TEepromDataCopyPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent);
    ~TEepromDataCopyPage() override;

    void EepDataCopyBackUpStartPnlClick();
    void EepDataCopyLoadStartPnlClick();

  protected:
    // A panel is clicked when the left button goes down and up on it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  protected:
    void BuildControls() override;

  private:
    std::unique_ptr<Ui::EepromDataCopyPnl> ui_;
    QPointer<QObject> pressed_;
};
