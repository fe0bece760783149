#include "app/pages/EepromDataCopyPage.h"

#include <QMouseEvent>

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "app/pages/BusyStart.h"
#include "link/ResultCodes.h"
#include "ui_EepromDataCopyPnl.h"

TEepromDataCopyPage::TEepromDataCopyPage(orvane_app::AppContext& context, TFormAdjust& form,
                                         QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("EepromDataCopyPnl")),
      ui_(std::make_unique<Ui::EepromDataCopyPnl>()) {}

void TEepromDataCopyPage::BuildControls() {
    ui_->setupUi(this);
    ui_->EepDataCopyBackUpStartPnl->installEventFilter(this);
    ui_->EepDataCopyLoadStartPnl->installEventFilter(this);
}

TEepromDataCopyPage::~TEepromDataCopyPage() = default;

bool TEepromDataCopyPage::eventFilter(QObject* watched, QEvent* event) {
    auto* panel = qobject_cast<QWidget*>(watched);
    const bool isPanel =
        panel == ui_->EepDataCopyBackUpStartPnl || panel == ui_->EepDataCopyLoadStartPnl;
    if (!isPanel) {
        return TPage::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        pressed_ = mouse->button() == Qt::LeftButton ? watched : nullptr;
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = mouse->button() == Qt::LeftButton && pressed_ == watched &&
                           panel->rect().contains(mouse->position().toPoint());
        pressed_ = nullptr;
        if (click) {
            const bool backup = panel == ui_->EepDataCopyBackUpStartPnl;
            RunOperation([this, backup] {
                if (backup) {
                    EepDataCopyBackUpStartPnlClick();
                } else {
                    EepDataCopyLoadStartPnlClick();
                }
            });
        }
        return true;
    }
    return TPage::eventFilter(watched, event);
}

void TEepromDataCopyPage::EepDataCopyBackUpStartPnlClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::Backup)) {
        return;
    }
    const uint16_t result = Context().GetModules().eeprom.BackupEeprom(Context().Boot().ModelCode);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    if (EndBusy(form, steps::Backup) == ResultOk) {
        form.ShowStatus(StatusAddLine, "Replace the main board with new one.");
    }
}

void TEepromDataCopyPage::EepDataCopyLoadStartPnlClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::Restore)) {
        return;
    }
    const uint16_t result = Context().GetModules().eeprom.RestoreEeprom(Context().Boot().ModelCode);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    if (EndBusy(form, steps::Restore) == ResultOk) {
        form.ShowStatus(StatusAddLine,
                        "Perform the A3+ check pattern print and the A4 check pattern print.");
    }
}
