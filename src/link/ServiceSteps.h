#pragma once

#include "link/ResultCodes.h"
#include "link/StatusReporter.h"

// How each service operation starts and ends, the same in the adjustment
// window and in orvane-service: the progress text shown while the printer is
// made ready, whether the operation goes on when the printer is in its error
// state, and whether its end waits until the printer is ready again.

// Whether an operation goes on when the printer reports its error state or
// that it is before its initial ink charge.
enum class OnPrinterError {
    Stop,  // report it, like any other failure of the wait
    GoOn,  // show the progress text without waiting and go on
};

struct ServiceStep {
    const char* busyText;
    OnPrinterError onPrinterError;
    // StatusDone: the end waits silently until the printer is ready;
    // StatusDoneNoWait: it does not.
    int doneKind;
    const char* doneText;
};

// Starts an operation: waits until the printer is ready with the progress
// text (StatusBusy). The market setting, the Head ID, the waste ink pad
// counter and the full dump are what a technician may need on a printer in
// its error state, so they go on then (the text shown without a wait).
// Returns 1 when the operation goes on, otherwise the failure of the wait,
// which the caller reports.
inline uint16_t StartOperation(IStatusReporter& reporter, const ServiceStep& step) {
    const uint16_t result = reporter.ShowStatus(StatusBusy, step.busyText);
    if (result == ResultOk) {
        return ResultOk;
    }
    if (result == ResultPrinterError && step.onPrinterError == OnPrinterError::GoOn) {
        reporter.ShowStatus(StatusBusyNoWait, step.busyText);
        return ResultOk;
    }
    return result;
}

namespace steps {

using enum OnPrinterError;

// Identity.
inline constexpr ServiceStep MarketWrite = {
    "Writing now...", GoOn, StatusDoneNoWait,
    "The market destination setting value has written properly."};
inline constexpr ServiceStep MarketCheck = {"Reading now...", GoOn, StatusDoneNoWait,
                                            "The market destination is "};
inline constexpr ServiceStep HeadIdWrite = {"Writing now...", GoOn, StatusDoneNoWait,
                                            "The head ID write function has completed."};
inline constexpr ServiceStep HeadIdRead = {"Reading now...", GoOn, StatusDoneNoWait, "Head ID = "};
inline constexpr ServiceStep UsbIdWrite = {"Writing now...", Stop, StatusDone,
                                           "The USB ID has been written in EEPROM properly."};
inline constexpr ServiceStep UsbIdRead = {"Reading now...", Stop, StatusDone, "USB ID = "};

// Adjustment values.
inline constexpr ServiceStep HeatProtectWrite = {
    "Writing...", Stop, StatusDone,
    "A value for the offset for CR motor calorific limitation has successfully registered."};
inline constexpr ServiceStep HeadAngularPrint = {"Printing now...", Stop, StatusDone,
                                                 "The head angular pattern print has completed."};
inline constexpr ServiceStep HeadAngularWrite = {
    "Writing now...", Stop, StatusDone, "The head angular adjustment value has written properly."};
inline constexpr ServiceStep HeadAngularRead = {
    "Reading now...", Stop, StatusDoneNoWait,
    "The head angular adjustment value has read properly."};
inline constexpr ServiceStep PfPrint = {"Printing now...", Stop, StatusDone,
                                        "The PF adjustment pattern print has completed."};
inline constexpr ServiceStep PfWrite = {"Writing now...", Stop, StatusDone,
                                        "The PF adjustment value has written properly."};
inline constexpr ServiceStep PfRead = {"Reading now...", Stop, StatusDone,
                                       "The PF adjustment value has read properly."};
inline constexpr ServiceStep TopMarginRead = {"Reading...", Stop, StatusDone, ""};
inline constexpr ServiceStep TopMarginWrite = {"Writing...", Stop, StatusDone,
                                               "As Top margin data, "};
inline constexpr ServiceStep TopMarginPrint = {"Now printing Top Margin Line.", Stop, StatusDone,
                                               "Completion the printing."};
inline constexpr ServiceStep FirstDotRead = {
    "Reading now...", Stop, StatusDone,
    "The first dot position adjustment value has read properly."};
inline constexpr ServiceStep FirstDotWrite = {
    "Writing now...", Stop, StatusDone,
    "The first dot position adjustment value has written properly."};
inline constexpr ServiceStep FirstDotPrint = {
    "Printing now...", Stop, StatusDone, "The first dot position pattern print has completed."};
inline constexpr ServiceStep BidWrite = {"Writing now...", Stop, StatusDone,
                                         "The Bi-D adjustment value has written properly."};
inline constexpr ServiceStep BidRead = {"Reading now...", Stop, StatusDoneNoWait,
                                        "The Bi-D adjustment value has read properly."};
inline constexpr ServiceStep BidPrint = {"Printing now...", Stop, StatusDone,
                                         "The Bi-D pattern print has completed."};

// Maintenance.
inline constexpr ServiceStep Cleaning = {"Cleaning now...", Stop, StatusDone,
                                         "The head cleaning has completed."};
inline constexpr ServiceStep InkCharge = {"Charging now...", Stop, StatusDone,
                                          "The ink charge has completed."};
inline constexpr ServiceStep WasteRead = {"Reading now...", GoOn, StatusDoneNoWait,
                                          "Maximum value ="};
inline constexpr ServiceStep WasteReset = {"Initializing now...", GoOn, StatusDoneNoWait,
                                           "The Waste Ink Pad counter has initialized properly."};

// EEPROM data.
inline constexpr ServiceStep Backup = {"Reading now...", Stop, StatusDone,
                                       "The EEPROM data has read properly."};
inline constexpr ServiceStep Restore = {"Writing now...", Stop, StatusDone,
                                        "The EEPROM data copy function has finished properly."};
inline constexpr ServiceStep Dump = {"Reading now...", GoOn, StatusDoneNoWait,
                                     "This function has been completed properly."};

// Check patterns.
inline constexpr ServiceStep A3CheckPrint = {"Printing now...", Stop, StatusDone,
                                             "The A3+ check pattern print has completed."};
inline constexpr ServiceStep A4CheckPrint = {"Printing now...", Stop, StatusDone,
                                             "The A4 check pattern print has completed."};
inline constexpr ServiceStep NozzleCheckPrint = {"Printing now...", Stop, StatusDone,
                                                 "The nozzle check pattern print has completed."};

}  // namespace steps
