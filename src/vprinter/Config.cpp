#include "vprinter/Config.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace vprinter {

namespace {

std::string Hex(unsigned value, int digits) {
    static const char* const kDigits = "0123456789ABCDEF";
    std::string text(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i) {
        text[static_cast<size_t>(i)] = kDigits[value & 0xF];
        value >>= 4;
    }
    return "0x" + text;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) {
        if (!part.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

template <typename Visit>
void ForEachKeyValue(const std::string& text, Visit visit) {
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        line = Trim(line);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        visit(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
}

std::string FormatFaults(const std::map<uint8_t, uint16_t>& faults) {
    std::string text;
    for (const auto& [address, code] : faults) {
        if (!text.empty()) {
            text += ',';
        }
        text += Hex(address, 2) + ":" + Hex(code, 4);
    }
    return text;
}

void ParseFaults(const std::string& text, std::map<uint8_t, uint16_t>& faults) {
    faults.clear();
    for (const auto& item : Split(text, ',')) {
        const auto colon = item.find(':');
        long long address = 0;
        long long code = 0;
        if (colon != std::string::npos && ParseNumber(item.substr(0, colon), address) &&
            ParseNumber(item.substr(colon + 1), code) && address >= 0 && address <= 255 &&
            code >= 0 && code <= 0xFFFF) {
            faults[static_cast<uint8_t>(address)] = static_cast<uint16_t>(code);
        }
    }
}

template <typename T>
void ReadInto(const std::string& text, T& target, long long low, long long high) {
    long long value = 0;
    if (ParseNumber(text, value) && value >= low && value <= high) {
        target = static_cast<T>(value);
    }
}

}  // namespace

bool ParseNumber(const std::string& text, long long& value) {
    if (text.empty()) {
        return false;
    }
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || end == nullptr || *end != '\0' || end == text.c_str()) {
        return false;
    }
    value = parsed;
    return true;
}

std::string FormatPrinterConfig(const PrinterConfig& config) {
    std::ostringstream out;
    out << "# Orvane virtual printer\n";
    out << "model=" << config.model << '\n';
    out << "supported=" << (config.supported ? "yes" : "no") << '\n';
    out << "power=" << (config.powered ? "on" : "off") << '\n';
    out << "state=" << static_cast<int>(config.state) << '\n';
    out << "error=" << static_cast<int>(config.error) << '\n';
    out << "ink=";
    for (size_t i = 0; i < config.ink.size(); ++i) {
        const auto raw = static_cast<uint16_t>(config.ink[i]);
        const bool marker = raw > 1000;
        out << (i == 0 ? "" : ",")
            << (marker ? Hex(raw, 4) : std::to_string(static_cast<int>(config.ink[i])));
    }
    out << '\n';
    out << "paper=" << config.paper << '\n';
    out << "busy_polls=" << config.busyPolls << '\n';
    out << "busy_sends=" << config.busySends << '\n';
    out << "read_fault=" << FormatFaults(config.readFaults) << '\n';
    out << "write_fault=" << FormatFaults(config.writeFaults) << '\n';
    return out.str();
}

PrinterConfig ParsePrinterConfig(const std::string& text) {
    PrinterConfig config;
    ForEachKeyValue(text, [&config](const std::string& key, const std::string& value) {
        if (key == "model") {
            config.model = value;
        } else if (key == "supported") {
            config.supported = value != "no";
        } else if (key == "power") {
            config.powered = value != "off";
        } else if (key == "state") {
            ReadInto(value, config.state, 0, 255);
        } else if (key == "error") {
            ReadInto(value, config.error, 0, 255);
        } else if (key == "ink") {
            const auto parts = Split(value, ',');
            for (size_t i = 0; i < parts.size() && i < config.ink.size(); ++i) {
                long long amount = 0;
                if (ParseNumber(parts[i], amount) && amount >= -32768 && amount <= 65535) {
                    config.ink[i] = static_cast<int16_t>(static_cast<uint16_t>(amount & 0xFFFF));
                }
            }
        } else if (key == "paper") {
            ReadInto(value, config.paper, 0, 1000000);
        } else if (key == "busy_polls") {
            ReadInto(value, config.busyPolls, 0, 1000000);
        } else if (key == "busy_sends") {
            ReadInto(value, config.busySends, 0, 1000000);
        } else if (key == "read_fault") {
            ParseFaults(value, config.readFaults);
        } else if (key == "write_fault") {
            ParseFaults(value, config.writeFaults);
        }
    });
    return config;
}

std::string FormatLibraryConfig(const LibraryConfig& config) {
    std::ostringstream out;
    out << "# Orvane virtual printer libraries\n";
    out << "missing=";
    bool first = true;
    for (const auto& name : config.missingExports) {
        out << (first ? "" : ",") << name;
        first = false;
    }
    out << '\n';
    for (const auto& [name, fault] : config.callFaults) {
        out << "fail." << name << '=' << fault.remaining << ',' << Hex(fault.code, 4);
        if (fault.detail) {
            out << ',' << *fault.detail;
        }
        out << '\n';
    }
    return out.str();
}

LibraryConfig ParseLibraryConfig(const std::string& text) {
    LibraryConfig config;
    ForEachKeyValue(text, [&config](const std::string& key, const std::string& value) {
        if (key == "missing") {
            for (const auto& name : Split(value, ',')) {
                if (IsLibraryFunction(name)) {
                    config.missingExports.insert(name);
                }
            }
        } else if (key.rfind("fail.", 0) == 0 && IsLibraryFunction(key.substr(5))) {
            const auto parts = Split(value, ',');
            long long remaining = 0;
            long long code = 0;
            if (parts.size() < 2 || !ParseNumber(parts[0], remaining) || remaining < 1 ||
                !ParseNumber(parts[1], code) || code < 0 || code > 0xFFFF) {
                return;
            }
            CallFault fault;
            fault.remaining = static_cast<int>(std::min<long long>(remaining, 1000000000));
            fault.code = static_cast<uint16_t>(code);
            long long detail = 0;
            if (parts.size() > 2 && ParseNumber(parts[2], detail) && detail >= -32768 &&
                detail <= 65535) {
                fault.detail = static_cast<int32_t>(detail);
            }
            config.callFaults[key.substr(5)] = fault;
        }
    });
    return config;
}

const std::vector<std::string>& PortFunctionNames() {
    static const std::vector<std::string> names = {"PortOpenByPway", "PortCloseByPway",
                                                   "CheckDeviceIDByPway", "GetIoErrorCodeByPway",
                                                   "GetModelNameByPway"};
    return names;
}

const std::vector<std::string>& ChannelFunctionNames() {
    static const std::vector<std::string> names = {
        "D4Negotiation", "D4Termination",  "SetD4CommandRCode", "SendDataChannel", "D4ReadEeprom",
        "D4WriteEeprom", "GetD4ErrorCode", "InquireStatus",     "D4Reset"};
    return names;
}

bool IsLibraryFunction(const std::string& name) {
    const auto& port = PortFunctionNames();
    const auto& channel = ChannelFunctionNames();
    return std::find(port.begin(), port.end(), name) != port.end() ||
           std::find(channel.begin(), channel.end(), name) != channel.end();
}

}  // namespace vprinter
