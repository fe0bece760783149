// The status line of the adjustment window and the one routine that turns
// result codes into messages.
#include <QPlainTextEdit>

#include "app/AppContext.h"
#include "app/Cursor.h"
#include "app/Rk7formadjust.h"
#include "link/Dllfunction.h"
#include "link/ResultCodes.h"
#include "link/ResultMessages.h"
#include "ui_Rk7formadjust.h"

namespace {

// The edit that gets the keyboard focus before a family's message, by the
// module's error item.
struct FocusEditOf {
    int detail;
    const char* edit;
};

const FocusEditOf kBidFocus[] = {
    {1, "BidVSD1BkInputEdit"}, {2, "BidVSD2BkInputEdit"}, {3, "BidVSD3BkInputEdit"},
    {5, "BidECOBkInputEdit"},  {6, "BidVSD1CLInputEdit"}, {7, "BidVSD2CLInputEdit"},
    {8, "BidVSD3CLInputEdit"}, {10, "BidECOCLInputEdit"},
};

const FocusEditOf kHeadAngularFocus[] = {
    {1, "HeadAngularInputEdit"},
};

template <size_t N>
const char* FocusEditName(const FocusEditOf (&table)[N], int detail) {
    for (const FocusEditOf& entry : table) {
        if (entry.detail == detail) {
            return entry.edit;
        }
    }
    return nullptr;
}

// The family's text for the module's present detail, if it has one.
const char* FamilyText(const orvane_app::ErrorDetails& details, uint16_t familyCode) {
    const std::optional<int> detail = details.Read(familyCode);
    return detail ? FamilyErrorText(familyCode, *detail) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Status line

void TFormAdjust::SetStatusColour(const QColor& colour) {
    QPlainTextEdit& memo = *Frame().StatusMemo;
    QPalette palette = memo.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, colour);
    }
    memo.setPalette(palette);
}

void TFormAdjust::SetStatusLines(const QStringList& lines) {
    // The window first: building it empties the status line.
    QPlainTextEdit& memo = *Frame().StatusMemo;
    statusLines_ = lines;
    memo.setPlainText(statusLines_.join(QLatin1Char('\n')));
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
    Ui::TFormAdjust& ui = Frame();
    ui.AdjustmentTab->setEnabled(true);
    ui.MainteRdoGrp->setEnabled(true);
    ui.AdjustQuitBtn->setEnabled(true);
    ui.GetStatusBtn->setEnabled(true);
    orvane_app::ShowNormalCursor();

    TPDLLFunction& link = context_.GetModules().link;
    switch (code) {
        case ResultPortIoError: {
            int16_t ioError = 0;
            link.GetIoErrorCodeByPway(ioError);
            ShowResultMessage(LinkResultMessage(code, ioError));
            EnableItems(ItemsNoLink);
            break;
        }
        case ResultPortDeviceId:
        case ResultCommandError:
        case ResultPortNoResponse:
            ShowResultMessage(LinkResultMessage(code, 0));
            EnableItems(ItemsNoLink);
            break;
        case ResultChannelError: {
            // The channel's own error is read, as the library expects, but
            // every channel failure reads the same to the technician.
            uint16_t channelError = 0;
            link.GetD4ErrorCode(channelError);
            ShowResultMessage(LinkResultMessage(code, 0));
            EnableItems(ItemsNoLink);
            break;
        }
        case ResultFileOpenError:
        case ResultDllMissing:
        case ResultOutOfMemory:
            ShowResultMessage(LinkResultMessage(code, 0));
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

void TFormAdjust::ShowResultMessage(const ResultMessage& message) {
    if (message.error != nullptr) {
        ShowStatus(StatusError, message.error);
    }
    if (message.line != nullptr) {
        ShowStatus(StatusAddLine, message.line);
    }
}

void TFormAdjust::ReportPrinterError(uint8_t errorCode) {
    ShowResultMessage(PrinterErrorMessage(errorCode));
    EnableItems(ItemsPrinterError);
}

void TFormAdjust::FocusEdit(const char* editName) {
    if (auto* edit = findChild<QWidget*>(QString::fromUtf8(editName))) {
        edit->setFocus(Qt::OtherFocusReason);
    }
}

void TFormAdjust::ReportHeadIdError() {
    if (const char* text = FamilyText(context_.Details(), ResultHeadIdError)) {
        ShowStatus(StatusError, text);
    }
}

void TFormAdjust::ReportBidError() {
    const std::optional<int> item = context_.Details().Read(ResultBidValueError);
    if (const char* text = item ? FamilyErrorText(ResultBidValueError, *item) : nullptr) {
        if (const char* edit = FocusEditName(kBidFocus, *item)) {
            FocusEdit(edit);
        }
        ShowStatus(StatusError, text);
    }
}

void TFormAdjust::ReportUsbIdError() {
    const char* text = FamilyText(context_.Details(), ResultUsbIdError);
    // An index without a message empties the status line and turns it red.
    ShowStatus(StatusError, text != nullptr ? text : "");
}

void TFormAdjust::ReportHeadAngularError() {
    const std::optional<int> item = context_.Details().Read(ResultHeadAngularError);
    if (const char* text = item ? FamilyErrorText(ResultHeadAngularError, *item) : nullptr) {
        if (const char* edit = FocusEditName(kHeadAngularFocus, *item)) {
            FocusEdit(edit);
        }
        ShowStatus(StatusError, text);
    }
}

void TFormAdjust::ReportEepromFileError() {
    if (const char* text = FamilyText(context_.Details(), ResultEepromFileError)) {
        ShowStatus(StatusError, text);
    }
}
