#include "tools/service/Written.h"

#include <utility>
#include <vector>

#include "link/ServiceLog.h"
#include "tools/service/Output.h"

namespace orvane::service {

namespace {

// Of a long list of writes the line shows the first and the last few.
constexpr size_t kWritesShown = 8;
constexpr size_t kEndsShown = 3;

// One accepted write as the line shows it: an EEPROM write as
// "address=value", a value packet as "name=value".
std::string AcceptedText(const AcceptedWrite& write) {
    if (write.operation == servicelog::Store) {
        return "store";
    }
    if (write.operation == servicelog::Reset) {
        return "restart";
    }
    if (write.operation == servicelog::Sequence) {
        return write.target + " started";
    }
    return write.target + "=" + write.value;
}

std::string AcceptedListText(const std::vector<AcceptedWrite>& writes) {
    std::string text;
    for (size_t i = 0; i < writes.size(); ++i) {
        if (writes.size() > kWritesShown && i >= kEndsShown && i + kEndsShown < writes.size()) {
            if (i == kEndsShown) {
                text += ", ...";
            }
            continue;
        }
        text += (text.empty() ? "" : ", ") + AcceptedText(writes[i]);
    }
    return text;
}

}  // namespace

Written::Written(Session& session, Json& out, bool listed)
    : session_(session), out_(out), listed_(listed) {
    out_["written"] = Json::object();
}

void Written::Begin(ValueWrites value) {
    value_ = std::move(value);
    mark_ = session_.Accepted().size();
}

void Written::Whole(Json value) {
    if (value_) {
        out_["written"][value_->key] = std::move(value);
        value_.reset();
    }
}

Outcome Written::End(Outcome outcome) {
    if (outcome.exit == kExitDone) {
        if (!listed_) {
            out_.erase("written");
        }
        return outcome;
    }
    // Nothing reached the printer: nothing is written.
    if (session_.link.IsDryRun()) {
        out_.erase("written");
        return outcome;
    }
    Json& written = out_["written"];
    std::string text;
    for (const auto& [key, value] : written.items()) {
        text += (text.empty() ? "" : "; ") + key + "=" + JsonText(value);
    }
    const std::vector<AcceptedWrite>& accepted = session_.Accepted();
    if (value_ && accepted.size() > mark_) {
        const std::vector<AcceptedWrite> writes(accepted.begin() + static_cast<long>(mark_),
                                                accepted.end());
        Json list = Json::array();
        for (const AcceptedWrite& write : writes) {
            list.push_back(
                {{"operation", write.operation}, {"target", write.target}, {"value", write.value}});
        }
        written["partial"] = {{"value", value_->key},
                              {"accepted", writes.size()},
                              {"of", value_->of},
                              {"writes", list}};
        text += (text.empty() ? "" : "; ") + std::to_string(writes.size()) + " of " +
                std::to_string(value_->of) + " " + value_->noun + " (" + AcceptedListText(writes) +
                ")";
    }
    if (!text.empty()) {
        outcome.detail = "written before the failure: " + text;
    }
    return outcome;
}

}  // namespace orvane::service
