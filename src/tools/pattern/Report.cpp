#include "tools/pattern/Report.h"

#include <cstdio>
#include <iostream>
#include <string>

#include "link/ResultCodes.h"
#include "link/ResultMessages.h"
#include "tools/pattern/Session.h"

namespace orvane::tools {

namespace {

std::string Hex(uint16_t code) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", code);
    return text;
}

// What a failed item's result code means, as the adjustment window says it;
// empty when it has no text.
std::string Meaning(Session& session, uint16_t code) {
    ResultMessage message;
    if (code == ResultPrinterError) {
        message = PrinterErrorMessage(session.Status().Record().ErrorCode());
    } else if (IsFamilyCode(code)) {
        const auto detail = session.FamilyDetail(code);
        message.error = detail ? FamilyErrorText(code, *detail) : nullptr;
    } else {
        int16_t ioError = 0;
        if (code == ResultPortIoError) {
            session.Link().GetIoErrorCodeByPway(ioError);
        }
        message = LinkResultMessage(code, ioError);
    }
    std::string text = message.error != nullptr ? message.error : "";
    if (message.line != nullptr) {
        // Appended piece by piece: GCC 12 at -O3 takes "literal" + string
        // for an overlapping copy (-Wrestrict) and fails the release build.
        if (!text.empty()) {
            text += ' ';
        }
        text += message.line;
    }
    return text;
}

}  // namespace

void ReportEnding(Session& session, const char* item, uint16_t result) {
    const std::string& gaveUp = session.PaperWaiting().GaveUp();
    if (!gaveUp.empty()) {
        std::cerr << "orvane-pattern: " << item << " ended: " << gaveUp << '\n';
    } else if (result == ResultOk || result == ResultInterrupted) {
        std::cerr << "orvane-pattern: " << item << " interrupted\n";
    } else {
        const std::string meaning = Meaning(session, result);
        std::cerr << "orvane-pattern: " << item << " failed with " << Hex(result)
                  << (meaning.empty() ? "" : ": " + meaning) << '\n';
    }
}

}  // namespace orvane::tools
