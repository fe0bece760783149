#pragma once

#include <cstdint>

#include "link/PrinterStatus.h"
#include "platform/Clock.h"

class IPrintDataJob;
class IStatusReporter;
class TPDLLFunction;

// The status module: the program's one status record, the inquiry that fills
// it and the wait until the printer is ready.
class TPStatusControl {
  public:
    explicit TPStatusControl(TPDLLFunction& link);

    PrinterStatus& Record() { return record_; }
    const PrinterStatus& Record() const { return record_; }

    // Asks the printer for its status into the record; on success accepts the
    // ink amounts and returns 1, otherwise returns the library's code and
    // leaves the ink fields as they were.
    uint16_t InquirePrinterStatus(PrinterStatus& record);
    uint16_t InquirePrinterStatus() { return InquirePrinterStatus(record_); }

    // Polls the printer once a second until it is ready (1), in its error
    // state or before its initial ink charge (0x4000), or a link call fails
    // (that call's code). Busy, printing and cleaning show their text and
    // "Please wait.." when showMessages is set. Each round that does not end
    // the wait sends the initialize command through the print-data job and
    // sleeps 1000 ms; there is no limit on the rounds. A clock that ends
    // waits ends it (before the first inquiry too) with ResultInterrupted.
    uint16_t WaitUntilReady(PrinterStatus& record, bool showMessages, IStatusReporter& reporter,
                            IPrintDataJob& job, orvane::IClock& clock);

    static constexpr uint32_t kPollMilliseconds = 1000;

    // The text of a state that the printer is working in, or nullptr.
    static const char* WaitingText(uint8_t state);

  private:
    TPDLLFunction& link_;
    PrinterStatus record_;
};
