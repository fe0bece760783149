#include "link/Rk7statuscontrol.h"

#include "link/Dllfunction.h"
#include "link/ResultCodes.h"

TPStatusControl::TPStatusControl(TPDLLFunction& link) : link_(link) {}

uint16_t TPStatusControl::InquirePrinterStatus(PrinterStatus& record) {
    const uint16_t result = link_.InquireStatus(record.Bytes());
    if (result != ResultOk) {
        return result;
    }
    record.AcceptInkAmounts();
    return ResultOk;
}
