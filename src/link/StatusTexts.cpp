#include "link/StatusTexts.h"

#include "link/Rk7statuscontrol.h"
#include "link/StatusReporter.h"

std::vector<StatusText> GetStatusTexts(const PrinterStatus& record) {
    const auto amount = [&record](PrinterStatus::Colour colour) {
        return std::to_string(record.AcceptedInk(colour));
    };
    switch (record.State()) {
        case PrinterStatus::StateBusy:
        case PrinterStatus::StatePrinting:
        case PrinterStatus::StateCleaning:
            return {{StatusInfo, TPStatusControl::WaitingText(record.State())}};
        case PrinterStatus::StateReady:
            return {
                {StatusInfo, "Printer is ready."},
                {StatusAddLine, "Ink remaining amount;"},
                {StatusAddLine, " Black: "},
                {StatusAppend, amount(PrinterStatus::Black)},
                {StatusAppend, "%"},
                {StatusAppend, ", Cyan: "},
                {StatusAppend, amount(PrinterStatus::Cyan)},
                {StatusAppend, "%"},
                {StatusAppend, ", Magenta: "},
                {StatusAppend, amount(PrinterStatus::Magenta)},
                {StatusAppend, "%"},
                {StatusAppend, " Yellow: "},
                {StatusAppend, amount(PrinterStatus::Yellow)},
                {StatusAppend, "%"},
            };
        case PrinterStatus::StateBeforeInkCharge:
            return {{StatusError, "Printer is before initial ink charge."}};
        default:
            return {};
    }
}
