#pragma once

#include <cstdint>

#include "link/PrinterStatus.h"

class TPDLLFunction;

// The status module: the program's one status record and the inquiry that
// fills it.
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

private:
    TPDLLFunction& link_;
    PrinterStatus record_;
};
