#include "link/Rk7statuscontrol.h"

#include "link/Dllfunction.h"
#include "link/PrintDataJob.h"
#include "link/ResultCodes.h"
#include "link/StatusReporter.h"

TPStatusControl::TPStatusControl(TPDLLFunction& link) : link_(link) {}

uint16_t TPStatusControl::InquirePrinterStatus(PrinterStatus& record) {
    const uint16_t result = link_.InquireStatus(record.Bytes());
    if (result != ResultOk) {
        return result;
    }
    record.AcceptInkAmounts();
    return ResultOk;
}

const char* TPStatusControl::WaitingText(uint8_t state) {
    switch (state) {
        case PrinterStatus::StateBusy:
            return "Printer is busy.";
        case PrinterStatus::StatePrinting:
            return "Printer is printing.";
        case PrinterStatus::StateCleaning:
            return "Printer is cleaning.";
        default:
            return nullptr;
    }
}

uint16_t TPStatusControl::WaitUntilReady(PrinterStatus& record, bool showMessages,
                                         IStatusReporter& reporter, IPrintDataJob& job,
                                         orvane::IClock& clock) {
    // A run asked to end starts no wait: the operation it would begin sends
    // nothing.
    if (clock.WaitsEnd()) {
        return ResultInterrupted;
    }
    for (;;) {
        // The raw inquiry: the accepted ink amounts are Get Status's business.
        uint16_t result = link_.InquireStatus(record.Bytes());
        if (result != ResultOk) {
            return result;
        }
        const uint8_t state = record.State();
        if (state == PrinterStatus::StateReady) {
            return ResultOk;
        }
        if (state == PrinterStatus::StateError || state == PrinterStatus::StateBeforeInkCharge) {
            return ResultPrinterError;
        }
        if (const char* text = WaitingText(state); text != nullptr && showMessages) {
            reporter.ShowStatus(StatusBusyNoWait, text);
            reporter.ShowStatus(StatusAddLine, "Please wait..");
        }
        reporter.Repaint();

        result = job.SendInitialize();
        if (result != ResultOk) {
            return result;
        }
        result = job.Flush();
        if (result != ResultOk) {
            return result;
        }
        if (!orvane::PauseUnlessEnded(clock, kPollMilliseconds)) {
            return ResultInterrupted;
        }
    }
}
