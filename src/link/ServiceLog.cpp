#include "link/ServiceLog.h"

#include <cstdio>
#include <string_view>
#include <utility>

#include "link/ResultCodes.h"

namespace servicelog {

const char* KindOf(std::string_view operation) {
    for (const char* write : {Bid, HeadAngular, Pf, TopMargin, FirstDot, Store, CrHeatProtect,
                              EepromWrite}) {
        if (operation == write) {
            return "write";
        }
    }
    if (operation == Market || operation == HeadId || operation == UsbId) {
        return "identity";
    }
    if (operation == WasteReset) {
        return "reset";
    }
    if (operation == Restore) {
        return "restore";
    }
    if (operation == Pattern || operation == BidTest) {
        return "pattern";
    }
    return "other";
}

bool IsKind(std::string_view kind) {
    for (const char* known : kKinds) {
        if (kind == known) {
            return true;
        }
    }
    return false;
}

std::string ResultText(uint16_t result) {
    if (result == ResultOk) {
        return "ok";
    }
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(result));
    return text;
}

std::string ByteText(uint8_t value) {
    char text[6];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value));
    return text;
}

}  // namespace servicelog

void ServiceLogger::Attach(IServiceLog* log, orvane::IClock* clock) {
    log_ = log;
    clock_ = clock;
}

void ServiceLogger::SetSubject(std::string port, std::string model) {
    port_ = std::move(port);
    model_ = std::move(model);
    usbId_.clear();
}

bool ServiceLogger::BeginOperation(const char* operation) {
    if (operation_ != nullptr) {
        return false;
    }
    operation_ = operation;
    return true;
}

void ServiceLogger::Accept(const char* operation, std::string target, std::string value) {
    if (accepted_ != nullptr) {
        accepted_->push_back({operation, std::move(target), std::move(value)});
    }
}

bool ServiceLogger::BeginPattern() {
    if (pattern_) {
        return false;
    }
    pattern_ = true;
    patternTestValues_ = 0;
    return true;
}

std::string ServiceLogger::EndPattern() {
    pattern_ = false;
    const int count = patternTestValues_;
    patternTestValues_ = 0;
    if (count == 0) {
        return "";
    }
    return std::to_string(count) + (count == 1 ? " Bi-D test value" : " Bi-D test values");
}

void ServiceLogger::Record(const char* operation, std::string target, std::string value,
                           uint16_t result) {
    if (result == ResultOk) {
        Accept(operation, target, value);
    }
    if (pattern_ && std::string_view(operation) == servicelog::BidTest) {
        // Part of the print's one record; a test value the printer refused
        // shows in the print's result.
        patternTestValues_ += result == ResultOk ? 1 : 0;
        return;
    }
    if (log_ == nullptr) {
        return;
    }
    orvane::IClock& clock = clock_ != nullptr ? *clock_ : systemClock_;
    ServiceLogRecord record{orvane::IsoTime(clock.Now()),
                            port_,
                            model_,
                            usbId_,
                            operation,
                            std::move(target),
                            std::move(value),
                            servicelog::ResultText(result)};
    std::string reason;
    if (!log_->Record(record, reason) && !failed_) {
        failed_ = true;
        failure_ = reason;
    }
}

bool ServiceLogger::TakeFailure(std::string& reason) {
    if (!failed_ || reported_) {
        return false;
    }
    reported_ = true;
    reason = failure_;
    return true;
}
