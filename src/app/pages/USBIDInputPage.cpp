#include "app/pages/USBIDInputPage.h"

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/pages/BusyStart.h"
#include "app/widgets/UpperCaseEdit.h"
#include "link/ResultCodes.h"
#include "ui_USBIDInputPnl.h"

TUSBIDInputPage::TUSBIDInputPage(orvane_app::AppContext& context, TFormAdjust& form,
                                 QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("USBIDInputPnl")),
      ui_(std::make_unique<Ui::USBIDInputPnl>()) {}

void TUSBIDInputPage::BuildControls() {
    ui_->setupUi(this);
    orvane_app::MakeUpperCaseEdit(*ui_->USBIDInputEdit, kSerialLength);
    // Input is the page's default button: Enter in the edit presses it.
    connect(ui_->USBIDInputEdit, &QLineEdit::returnPressed, ui_->USBIDInputOKBtn,
            &QPushButton::click);
    OnClick(ui_->USBIDInputOKBtn, &TUSBIDInputPage::USBIDInputOKBtnClick);
    OnClick(ui_->USBIDReadOutBtn, &TUSBIDInputPage::USBIDReadOutBtnClick);
}

TUSBIDInputPage::~TUSBIDInputPage() = default;

void TUSBIDInputPage::USBIDInputOKBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::UsbIdWrite)) {
        return;
    }
    const QString serial = ui_->USBIDInputEdit->text();
    std::string dateCode;
    const uint16_t result = Context().GetModules().usbId.WriteUsbId(serial.toStdString(), dateCode);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    // The adjusted value only once the printer is ready again.
    if (EndBusy(form, steps::UsbIdWrite) == ResultOk) {
        form.SetAdjustedValue(QStringLiteral("ShowUSBIDPnl"),
                              serial + QString::fromStdString(dateCode));
    }
}

void TUSBIDInputPage::USBIDReadOutBtnClick() {
    TFormAdjust& form = Form();
    if (!StartBusy(form, steps::UsbIdRead)) {
        return;
    }
    std::string id;
    const uint16_t result = Context().GetModules().usbId.ReadUsbId(id);
    if (result != ResultOk) {
        form.ReportResult(result);
        return;
    }
    if (EndBusy(form, steps::UsbIdRead) == ResultOk) {
        form.ShowStatus(StatusAppend, id);
    }
}
