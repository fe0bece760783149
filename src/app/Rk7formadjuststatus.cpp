// Get Status: re-opens the link and shows the printer's state and ink.
#include <QString>

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "link/ResultCodes.h"

namespace {

std::string Amount(int16_t amount) {
    return std::to_string(amount);
}

}  // namespace

void TFormAdjust::GetStatusBtnClick() {
    orvane_app::Modules& modules = context_.GetModules();
    TPDLLFunction& link = modules.link;

    link.PortCloseByPway();
    if (link.PortOpenByPway(context_.Boot().PortNumber) != ResultOk ||
        link.CheckDeviceIDByPway() != ResultOk) {
        ShowStatus(StatusError, "Communication error occurred.");
        ShowStatus(StatusAddLine, "Check the I/F cable connection and power of printer.");
        return;
    }
    if (link.D4Negotiation() != ResultOk || modules.status.InquirePrinterStatus() != ResultOk) {
        ShowStatus(StatusError, "Communication error occurred.");
        EnableItems(ItemsNoLink);
        return;
    }

    const PrinterStatus& record = modules.status.Record();
    switch (record.State()) {
        case PrinterStatus::StateError:
            ReportPrinterError(record.ErrorCode());
            return;
        case PrinterStatus::StateBusy:
        case PrinterStatus::StatePrinting:
        case PrinterStatus::StateCleaning:
            ShowStatus(StatusInfo, TPStatusControl::WaitingText(record.State()));
            break;
        case PrinterStatus::StateReady:
            ShowStatus(StatusInfo, "Printer is ready.");
            ShowStatus(StatusAddLine, "Ink remaining amount;");
            ShowStatus(StatusAddLine, " Black: ");
            ShowStatus(StatusAppend, Amount(record.AcceptedInk(PrinterStatus::Black)));
            ShowStatus(StatusAppend, "%");
            ShowStatus(StatusAppend, ", Cyan: ");
            ShowStatus(StatusAppend, Amount(record.AcceptedInk(PrinterStatus::Cyan)));
            ShowStatus(StatusAppend, "%");
            ShowStatus(StatusAppend, ", Magenta: ");
            ShowStatus(StatusAppend, Amount(record.AcceptedInk(PrinterStatus::Magenta)));
            ShowStatus(StatusAppend, "%");
            ShowStatus(StatusAppend, " Yellow: ");
            ShowStatus(StatusAppend, Amount(record.AcceptedInk(PrinterStatus::Yellow)));
            ShowStatus(StatusAppend, "%");
            break;
        case PrinterStatus::StateBeforeInkCharge:
            ShowStatus(StatusError, "Printer is before initial ink charge.");
            break;
        default:
            break;
    }
    EnableItems(ItemsAll);
}
