#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "vprinter/Trace.h"

namespace eeprom_tests {

using AddressValue = std::pair<int, int>;

// The (address, value) of every D4WriteEeprom call in a trace.
inline std::vector<AddressValue> WritesOf(const std::vector<vprinter::TraceEntry>& calls) {
    std::vector<AddressValue> writes;
    for (const auto& call : calls) {
        writes.emplace_back(static_cast<int>(call.args.at(0)), static_cast<int>(call.args.at(1)));
    }
    return writes;
}

// The address of every D4ReadEeprom call in a trace.
inline std::vector<int> AddressesOf(const std::vector<vprinter::TraceEntry>& calls) {
    std::vector<int> addresses;
    for (const auto& call : calls) {
        addresses.push_back(static_cast<int>(call.args.at(0)));
    }
    return addresses;
}

}  // namespace eeprom_tests
