#include "tools/service/Output.h"

#include <cstdio>

namespace orvane::service {

namespace {

// Sends longer than this are listed by their head.
constexpr size_t kWholeSendBytes = 64;
constexpr size_t kHeadBytes = 32;

std::string HexBytes(const std::vector<uint8_t>& bytes, size_t count) {
    std::string text;
    char pair[4];
    for (size_t i = 0; i < count && i < bytes.size(); ++i) {
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        text += pair;
    }
    return text;
}

std::string Scalar(const Json& value) {
    return value.is_string() ? value.get<std::string>() : JsonText(value);
}

// One element of an array, on its line below the array's key.
void WriteElement(std::ostream& out, const std::string& indent, const Json& element) {
    out << indent << "  " << (element.is_object() ? JsonText(element) : Scalar(element)) << '\n';
}

void WriteValue(std::ostream& out, const std::string& indent, const std::string& key,
                const Json& value) {
    if (value.is_object()) {
        out << indent << key << ":\n";
        for (const auto& [name, member] : value.items()) {
            WriteValue(out, indent + "  ", name, member);
        }
    } else if (value.is_array()) {
        out << indent << key << ":" << (value.empty() ? " (none)" : "") << '\n';
        for (const Json& element : value) {
            WriteElement(out, indent, element);
        }
    } else {
        out << indent << key << ": " << Scalar(value) << '\n';
    }
}

}  // namespace

std::string JsonText(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json DryRunList(const std::vector<TPDLLFunction::DryRunCall>& calls) {
    Json list = Json::array();
    for (const auto& call : calls) {
        Json entry = {{"function", call.function}};
        if (call.function == "D4WriteEeprom") {
            entry["address"] = call.args.at(0);
            entry["value"] = call.args.at(1);
        } else if (call.function == "SendDataChannel") {
            entry["length"] = call.data.size();
            if (call.data.size() <= kWholeSendBytes) {
                entry["data"] = HexBytes(call.data, call.data.size());
            } else {
                entry["head"] = HexBytes(call.data, kHeadBytes);
            }
        }
        list.push_back(entry);
    }
    return list;
}

void WriteText(std::ostream& out, const Json& result) {
    for (const auto& [key, value] : result.items()) {
        WriteValue(out, "", key, value);
    }
}

Json ErrorObject(const Outcome& outcome) {
    return {{"error", outcome.message},
            {"code", outcome.code ? Json(*outcome.code) : Json(nullptr)},
            {"exit", outcome.exit}};
}

StreamedResult::StreamedResult(std::ostream& out, bool json, const Json& head,
                               const std::string& name, bool empty)
    : out_(out), json_(json) {
    if (!json_) {
        WriteText(out_, head);
        out_ << name << ':' << (empty ? " (none)" : "") << '\n';
        return;
    }
    // The head's text without its closing brace, then the array's key.
    std::string text = JsonText(head);
    text.pop_back();
    out_ << text << (head.empty() ? "" : ",") << JsonText(name) << ":[";
}

void StreamedResult::Add(const Json& element) {
    if (!json_) {
        WriteElement(out_, "", element);
        return;
    }
    out_ << (first_ ? "" : ",") << JsonText(element);
    first_ = false;
}

void StreamedResult::End() {
    if (json_) {
        out_ << "]}\n";
    }
    out_.flush();
}

}  // namespace orvane::service
