#include "platform/PortTable.h"

#include <algorithm>
#include <cctype>

namespace orvane {

namespace {

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The list control sorts without regard to case; names equal but for case
// keep a fixed order.
bool ListOrder(const std::string& a, const std::string& b) {
    const std::string lowerA = Lower(a);
    const std::string lowerB = Lower(b);
    return lowerA != lowerB ? lowerA < lowerB : a < b;
}

// The number after the first occurrence of prefix, with the first ':' of the
// rest removed; false when that rest is not a non-empty run of decimal
// digits or the port number would not fit in 16 bits.
bool NumberAfter(const std::string& name, size_t prefixEnd, unsigned offset, uint16_t& number) {
    std::string rest = name.substr(prefixEnd);
    if (const auto colon = rest.find(':'); colon != std::string::npos) {
        rest.erase(colon, 1);
    }
    if (rest.empty() ||
        !std::all_of(rest.begin(), rest.end(), [](unsigned char c) { return std::isdigit(c); })) {
        return false;
    }
    // Leading zeros say nothing about the size of the number: USB000001 is
    // port 1 like USB001.
    const size_t firstSignificant = std::min(rest.find_first_not_of('0'), rest.size());
    const std::string digits = rest.substr(firstSignificant);
    if (digits.size() > 5) {
        return false;
    }
    const unsigned long value = (digits.empty() ? 0UL : std::stoul(digits)) + offset;
    if (value > 0xFFFF) {
        return false;
    }
    number = static_cast<uint16_t>(value);
    return true;
}

}  // namespace

bool IsPrinterPortName(const std::string& name) {
    return StartsWith(name, "USB") || StartsWith(name, "VTUSB") || StartsWith(name, "LPT");
}

std::vector<std::string> PrinterPorts(const std::vector<std::string>& systemPorts) {
    std::vector<std::string> ports;
    for (const auto& name : systemPorts) {
        if (IsPrinterPortName(name)) {
            ports.push_back(name);
        }
    }
    std::stable_sort(ports.begin(), ports.end(), ListOrder);
    return ports;
}

PortNumberResult PortNumberOfName(const std::string& name) {
    PortNumberResult result;
    bool converted = true;
    if (const auto usb = name.find("USB"); usb != std::string::npos) {
        converted = NumberAfter(name, usb + 3, 1024, result.number);
    } else if (const auto lpt = name.find("LPT"); lpt != std::string::npos) {
        converted = NumberAfter(name, lpt + 3, 1151, result.number);
    }
    if (!converted) {
        result.status = PortNumberStatus::NotANumber;
        result.number = 0;
    }
    return result;
}

PortNumberResult DerivePortNumber(const std::vector<std::string>& listedPorts, int index) {
    PortNumberResult result;
    if (index < 0 || index >= static_cast<int>(listedPorts.size())) {
        result.status = PortNumberStatus::NotANumber;
        return result;
    }
    if (index >= kPortTableSize) {
        result.status = PortNumberStatus::BeyondTable;
        return result;
    }
    return PortNumberOfName(listedPorts[static_cast<size_t>(index)]);
}

}  // namespace orvane
