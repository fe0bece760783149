#include "link/ServiceLog.h"

#include <cstdio>
#include <utility>

#include "link/ResultCodes.h"

namespace servicelog {

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

void ServiceLogger::Record(const char* operation, std::string target, std::string value,
                           uint16_t result) {
    if (result == ResultOk) {
        Accept(operation, target, value);
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
