// Get Status: re-opens the link and shows the printer's state and ink.
#include <QString>

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "link/ResultCodes.h"
#include "link/StatusTexts.h"

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
    if (record.State() == PrinterStatus::StateError) {
        ReportPrinterError(record.ErrorCode());
        return;
    }
    for (const StatusText& line : GetStatusTexts(record)) {
        ShowStatus(line.kind, line.text);
    }
    EnableItems(ItemsAll);
}
