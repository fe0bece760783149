#pragma once

#include <string>
#include <vector>

#include "link/PrinterStatus.h"

// What Get Status shows for the printer's state, as status-line texts with
// their kinds (StatusInfo, StatusAddLine, StatusAppend, StatusError): the
// waiting text of a working printer, "Printer is ready." with the accepted
// ink amounts, or that the printer is before its initial ink charge. The
// error state is shown by its printer error message instead, and gives none.
struct StatusText {
    int kind;
    std::string text;
};
std::vector<StatusText> GetStatusTexts(const PrinterStatus& record);
