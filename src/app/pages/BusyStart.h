#pragma once

#include "app/Rk7formadjust.h"
#include "link/ResultCodes.h"
#include "link/ServiceSteps.h"

// Starts a page's operation as its step says (StartOperation), locking the
// window with the progress text; a failure of the wait is reported. True
// when the operation goes on.
inline bool StartBusy(TFormAdjust& form, const ServiceStep& step) {
    const uint16_t result = StartOperation(form, step);
    if (result == ResultOk) {
        return true;
    }
    form.ReportResult(result);
    return false;
}

// Ends a page's operation with the step's done text, waiting until the
// printer is ready when the step does. Returns 1, or the failure of that
// wait, which the status line has reported.
inline uint16_t EndBusy(TFormAdjust& form, const ServiceStep& step) {
    return form.ShowStatus(step.doneKind, step.doneText);
}
