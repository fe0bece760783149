#include "app/pages/EepromReadoutPage.h"

#include <QStringList>

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/pages/BusyStart.h"
#include "link/ResultCodes.h"
#include "platform/Files.h"
#include "ui_EepromReadoutPnl.h"

const orvane::SaveDialogOptions TEepromReadoutPage::kSaveOptions = {
    .defaultExtension = "eep",
    .filter = "EEP files (*.eep)|*.eep",
    .overwritePrompt = true,
    .hideReadOnly = true,
    .noReadOnlyReturn = true,
    .resizable = true,
};

TEepromReadoutPage::TEepromReadoutPage(orvane_app::AppContext& context, TFormAdjust& form,
                                       QWidget* parent)
    : TPage(context, form, parent, QStringLiteral("EepromReadoutPnl")),
      ui_(std::make_unique<Ui::EepromReadoutPnl>()) {}

void TEepromReadoutPage::BuildControls() {
    ui_->setupUi(this);
    OnClick(ui_->EepromReadoutBtn, &TEepromReadoutPage::EepromReadoutBtnClick);
}

TEepromReadoutPage::~TEepromReadoutPage() = default;

void TEepromReadoutPage::EepromReadoutBtnClick() {
    TFormAdjust& form = Form();
    orvane_app::Modules& modules = Context().GetModules();
    if (!StartBusy(form, steps::Dump)) {
        return;
    }
    eeprom::Bytes bytes{};
    for (int address = 0; address < eeprom::kSize; ++address) {
        const uint16_t result =
            modules.link.D4ReadEeprom(static_cast<uint8_t>(address), bytes[address]);
        if (result != ResultOk) {
            form.ReportResult(result);
            return;
        }
        // The progress under the progress text, straight on the status line.
        const int percent = (address + 1) * 100 / eeprom::kSize;
        form.SetStatusMemo(
            {QString::fromUtf8(steps::Dump.busyText), QString::number(percent) + QLatin1Char('%')});
        form.Repaint();
    }
    Context().Clock().Sleep(eeprom::kDumpSaveDelayMilliseconds);
    form.ShowStatus(StatusBusyNoWait, "Saving now...");

    orvane::IRandom& random = Context().Random();
    random.Seed(eeprom::DumpSeedOf(Context().Clock().Now()));
    SaveImage(eeprom::BuildImage(bytes, random));
}

void TEepromReadoutPage::SaveImage(const eeprom::Image& image) {
    TFormAdjust& form = Form();
    for (;;) {
        const std::optional<std::string> path = form.EepSaveDialog().Execute(kSaveOptions);
        if (!path) {
            orvane::MessageRequest abort;
            abort.text = "Do you want to abort this function?";
            abort.icon = orvane::MessageIcon::Question;
            abort.buttons = orvane::MessageButtons::OkCancel;
            abort.owner = orvane::MessageOwner::AdjustmentWindow;
            if (Context().MessageBox().Show(abort) == orvane::MessageAnswer::Ok) {
                form.ShowStatus(StatusDone, "This function was aborted.");
                return;
            }
            continue;
        }
        // The dump lands whole or not at all: a file that is already there
        // stays as it was when the new one cannot be written.
        if (orvane::ReplaceFile(*path, image) != orvane::FileWrite::Done) {
            orvane::MessageRequest error;
            error.text = "Cannot access to file.";
            error.icon = orvane::MessageIcon::Error;
            error.owner = orvane::MessageOwner::AdjustmentWindow;
            Context().MessageBox().Show(error);
            continue;
        }
        EndBusy(form, steps::Dump);
        return;
    }
}
