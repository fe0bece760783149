#pragma once

#include <string>

#include "app/Rk7formadjust.h"
#include "link/ResultCodes.h"

// Whether an operation goes on when the printer reports its error state or
// that it is before its initial ink charge.
enum class OnPrinterError {
    Stop,  // report it, like any other failure of the wait
    GoOn,  // show the progress text without waiting and go on
};

// Starts an operation: waits until the printer is ready and shows the
// progress text, locking the window. The market setting, the Head ID and the
// full dump are what a technician may need on a printer in its error state, so
// they may go on then (onPrinterError GoOn). Any other failure of the wait is
// reported. True when the operation goes on.
inline bool StartBusy(TFormAdjust& form, const std::string& text,
                      OnPrinterError onPrinterError = OnPrinterError::Stop) {
    const uint16_t result = form.ShowStatus(StatusBusy, text);
    if (result == ResultOk) {
        return true;
    }
    if (result == ResultPrinterError && onPrinterError == OnPrinterError::GoOn) {
        form.ShowStatus(StatusBusyNoWait, text);
        return true;
    }
    form.ReportResult(result);
    return false;
}
