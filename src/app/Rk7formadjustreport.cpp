// The status line of the adjustment window and the one routine that turns
// result codes into messages.
#include <QPlainTextEdit>

#include "app/AppContext.h"
#include "app/Cursor.h"
#include "app/Rk7formadjust.h"
#include "link/Dllfunction.h"
#include "link/ResultCodes.h"
#include "ui_Rk7formadjust.h"

namespace {

// A message of a family, by the module's detail value.
struct FamilyMessage {
    int detail;
    const char* text;
    const char* focus = nullptr;  // the edit that gets the keyboard focus first
};

const FamilyMessage kHeadIdMessages[] = {
    {16, "The number of digit is wrong."},
    {17, "1st and 2nd digit is wrong."},
    {18, "3rd and 4th digit are wrong."},
    {19, "5th and 6th digit are wrong."},
    {20, "7th and 8th digit are wrong."},
    {21, "9th digit are wrong."},
    {22, "Check ID is wrong."},
};

const FamilyMessage kBidMessages[] = {
    {1, "VSD1 Black value is wrong.", "BidVSD1BkInputEdit"},
    {2, "VSD2 Black value is wrong.", "BidVSD2BkInputEdit"},
    {3, "VSD3 Black value is wrong.", "BidVSD3BkInputEdit"},
    {5, "ECO Black value is wrong.", "BidECOBkInputEdit"},
    {6, "VSD1 Color value is wrong.", "BidVSD1CLInputEdit"},
    {7, "VSD2 Color value is wrong.", "BidVSD2CLInputEdit"},
    {8, "VSD3 Color value is wrong.", "BidVSD3CLInputEdit"},
    {10, "ECO Color value is wrong.", "BidECOCLInputEdit"},
};

const FamilyMessage kUsbIdMessages[] = {
    {1, "The Number of digit is wrong."},
    {2, "Parameter is only number & alphabet."},
    {3, "The year of the PC clock must be 1999 to 2034."},
    {16, "The USB ID is wrong."},
};

const FamilyMessage kHeadAngularMessages[] = {
    {1, "Head angular value is wrong.", "HeadAngularInputEdit"},
};

const FamilyMessage kEepromFileMessages[] = {
    {2, "Cannot create file."},
    {3, "Cannot read data from file."},
};

template <size_t N>
const FamilyMessage* Find(const FamilyMessage (&table)[N], std::optional<int> detail) {
    if (!detail) {
        return nullptr;
    }
    for (const FamilyMessage& message : table) {
        if (message.detail == *detail) {
            return &message;
        }
    }
    return nullptr;
}

// The I/O errors of the port library that mean "no answer from the printer".
bool IsNoAnswerIoError(int16_t code) {
    return code == -105 || code == -104 || code == -103 || code == -82 || code == -81;
}

const char* const kCommunicationError = "Communication error occurred.";
const char* const kClearTheError = "Clear the error and click the [Get Status] button.";

}  // namespace

// ---------------------------------------------------------------------------
// Status line

void TFormAdjust::SetStatusColour(const QColor& colour) {
    QPalette palette = ui_->StatusMemo->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, colour);
    }
    ui_->StatusMemo->setPalette(palette);
}

void TFormAdjust::SetStatusLines(const QStringList& lines) {
    statusLines_ = lines;
    ui_->StatusMemo->setPlainText(statusLines_.join(QLatin1Char('\n')));
}

void TFormAdjust::ReplaceStatus(const QString& text) {
    SetStatusLines(text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')));
}

uint16_t TFormAdjust::WaitUntilReady(bool showMessages) {
    orvane_app::Modules& modules = context_.GetModules();
    return modules.status.WaitUntilReady(modules.status.Record(), showMessages, *this,
                                         modules.raster, context_.Clock());
}

uint16_t TFormAdjust::ShowStatus(int kind, const std::string& text) {
    const QString line = QString::fromStdString(text);
    switch (kind) {
        case StatusBusy: {
            const uint16_t result = WaitUntilReady(true);
            if (result != ResultOk) {
                return result;
            }
            [[fallthrough]];
        }
        case StatusBusyNoWait:
            SetStatusColour(kStatusBlue);
            orvane_app::ShowHourglassCursor();
            setEnabled(false);
            ReplaceStatus(line);
            break;
        case StatusDone: {
            const uint16_t result = WaitUntilReady(false);
            if (result != ResultOk) {
                ReportResult(result);
                return result;
            }
            [[fallthrough]];
        }
        case StatusDoneNoWait:
            // The window takes input again at the timer's next tick.
            SetStatusColour(kStatusBlack);
            orvane_app::ShowNormalCursor();
            disableTimer_.start();
            ReplaceStatus(line);
            break;
        case StatusError:
            SetStatusColour(kStatusRed);
            orvane_app::ShowNormalCursor();
            ReplaceStatus(line);
            setEnabled(true);
            break;
        case StatusInfo:
            SetStatusColour(kStatusBlack);
            ReplaceStatus(line);
            break;
        case StatusAppend: {
            QStringList lines = statusLines_;
            if (lines.isEmpty()) {
                lines.append(QString());
            }
            lines.last() += line;
            SetStatusLines(lines);
            break;
        }
        case StatusAddLine: {
            QStringList lines = statusLines_;
            lines.append(line);
            SetStatusLines(lines);
            break;
        }
        default:
            break;
    }
    Repaint();
    return ResultOk;
}

void TFormAdjust::Repaint() {
    repaint();
}

// ---------------------------------------------------------------------------
// Result codes

void TFormAdjust::ReportResult(uint16_t code) {
    setEnabled(true);
    ui_->AdjustmentTab->setEnabled(true);
    ui_->MainteRdoGrp->setEnabled(true);
    ui_->AdjustQuitBtn->setEnabled(true);
    ui_->GetStatusBtn->setEnabled(true);
    orvane_app::ShowNormalCursor();

    TPDLLFunction& link = context_.GetModules().link;
    switch (code) {
        case ResultPortIoError: {
            int16_t ioError = 0;
            link.GetIoErrorCodeByPway(ioError);
            ShowStatus(StatusError,
                       IsNoAnswerIoError(ioError) ? "Communication error." : kCommunicationError);
            EnableItems(ItemsNoLink);
            break;
        }
        case ResultPortDeviceId:
        case ResultCommandError:
            ShowStatus(StatusError, kCommunicationError);
            EnableItems(ItemsNoLink);
            break;
        case ResultPortNoResponse:
            ShowStatus(StatusError, kCommunicationError);
            ShowStatus(StatusAddLine, "Check the I/F cable connection and power of printer.");
            EnableItems(ItemsNoLink);
            break;
        case ResultChannelError: {
            // The channel's own error is read, as the library expects, but
            // every channel failure reads the same to the technician.
            uint16_t channelError = 0;
            link.GetD4ErrorCode(channelError);
            ShowStatus(StatusError, kCommunicationError);
            EnableItems(ItemsNoLink);
            break;
        }
        case ResultFileOpenError:
            ShowStatus(StatusError, "Cannot file open.");
            break;
        case ResultPrinterError:
            ReportPrinterError(context_.GetModules().status.Record().ErrorCode());
            break;
        case ResultHeadIdError:
            ReportHeadIdError();
            break;
        case ResultBidValueError:
            ReportBidError();
            break;
        case ResultUsbIdError:
            ReportUsbIdError();
            break;
        case ResultDllMissing:
            ShowStatus(StatusError, "Cannot found the DLL files.");
            break;
        case ResultOutOfMemory:
            ShowStatus(StatusError, "There is not enough free memory to run this program.");
            ShowStatus(StatusAddLine, "Quit one or more programs, and then try again.");
            break;
        case ResultHeadAngularError:
            ReportHeadAngularError();
            break;
        case ResultEepromFileError:
            ReportEepromFileError();
            break;
        default:
            break;
    }
}

void TFormAdjust::ReportPrinterError(uint8_t errorCode) {
    switch (errorCode) {
        case 0:
            ShowStatus(StatusError, "Fatal error.");
            break;
        case 1:
            ShowStatus(StatusError, "Communication error.");
            break;
        case 4:
            ShowStatus(StatusError, "Paper jam error.");
            ShowStatus(StatusAddLine, kClearTheError);
            break;
        case 5:
            ShowStatus(StatusError, "Ink out error.");
            ShowStatus(StatusAddLine, kClearTheError);
            break;
        case 6:
            ShowStatus(StatusError, "Paper out error.");
            ShowStatus(StatusAddLine, kClearTheError);
            break;
        case 16:
            ShowStatus(StatusError, "Maintenance error.");
            break;
        case 18:
            ShowStatus(StatusError, "Double feed error.");
            ShowStatus(StatusAddLine, kClearTheError);
            break;
        default:
            break;
    }
    EnableItems(ItemsPrinterError);
}

void TFormAdjust::FocusEdit(const char* editName) {
    if (auto* edit = findChild<QWidget*>(QString::fromUtf8(editName))) {
        edit->setFocus(Qt::OtherFocusReason);
    }
}

void TFormAdjust::ReportHeadIdError() {
    if (const auto* message = Find(kHeadIdMessages, context_.Details().Read(ResultHeadIdError))) {
        ShowStatus(StatusError, message->text);
    }
}

void TFormAdjust::ReportBidError() {
    if (const auto* message = Find(kBidMessages, context_.Details().Read(ResultBidValueError))) {
        FocusEdit(message->focus);
        ShowStatus(StatusError, message->text);
    }
}

void TFormAdjust::ReportUsbIdError() {
    const auto* message = Find(kUsbIdMessages, context_.Details().Read(ResultUsbIdError));
    // An index without a message empties the status line and turns it red.
    ShowStatus(StatusError, message != nullptr ? message->text : "");
}

void TFormAdjust::ReportHeadAngularError() {
    if (const auto* message =
            Find(kHeadAngularMessages, context_.Details().Read(ResultHeadAngularError))) {
        FocusEdit(message->focus);
        ShowStatus(StatusError, message->text);
    }
}

void TFormAdjust::ReportEepromFileError() {
    if (const auto* message =
            Find(kEepromFileMessages, context_.Details().Read(ResultEepromFileError))) {
        ShowStatus(StatusError, message->text);
    }
}
