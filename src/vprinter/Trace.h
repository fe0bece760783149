#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vprinter {

// One call that reached the libraries, or one fault the printer noticed in
// what it was sent. args are the call's arguments in order (pointers as
// their address); data is what the call carried or filled in (the bytes
// sent, the status record, the model name, the byte read).
struct TraceEntry {
    uint64_t sequence = 0;
    std::string function;  // exported name, or "fault"
    std::string port;      // the open port, empty when none
    std::vector<int64_t> args;
    std::vector<uint8_t> data;
    uint16_t result = 0;
    std::string note;  // what went wrong, for faults
};

}  // namespace vprinter
