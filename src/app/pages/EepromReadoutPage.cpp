#include "app/pages/EepromReadoutPage.h"

#include <QStringList>

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/pages/BusyStart.h"
#include "link/ResultCodes.h"
#include "platform/Files.h"
#include "ui_EepromReadoutPnl.h"

namespace {

const char* const kReadingNow = "Reading now...";

// Days from 1 January 1970 to a date of the proleptic Gregorian calendar.
int64_t DaysSinceEpoch(int year, int month, int day) {
    const int64_t y = year - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The generator's seed of a moment: its seconds since 1970, so that dumps
// made at different seconds get different random bytes.
uint32_t SeedOf(const orvane::LocalDateTime& now) {
    const int64_t seconds = DaysSinceEpoch(now.year, now.month, now.day) * 86400 +
                            int64_t{now.hour} * 3600 + int64_t{now.minute} * 60 + now.second;
    return static_cast<uint32_t>(seconds);
}

}  // namespace

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
    : TPage(context, form, parent), ui_(std::make_unique<Ui::EepromReadoutPnl>()) {
    ui_->setupUi(this);
    OnClick(ui_->EepromReadoutBtn, &TEepromReadoutPage::EepromReadoutBtnClick);
}

TEepromReadoutPage::~TEepromReadoutPage() = default;

void TEepromReadoutPage::EepromReadoutBtnClick() {
    TFormAdjust& form = Form();
    orvane_app::Modules& modules = Context().GetModules();
    if (!StartBusy(form, kReadingNow, OnPrinterError::GoOn)) {
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
            {QString::fromUtf8(kReadingNow), QString::number(percent) + QLatin1Char('%')});
        form.Repaint();
    }
    Context().Clock().Sleep(kSaveDelayMilliseconds);
    form.ShowStatus(StatusBusyNoWait, "Saving now...");

    orvane::IRandom& random = Context().Random();
    random.Seed(SeedOf(Context().Clock().Now()));
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
        form.ShowStatus(StatusDoneNoWait, "This function has been completed properly.");
        return;
    }
}
