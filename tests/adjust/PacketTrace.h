#pragma once

#include <cstdint>
#include <vector>

#include "vprinter/Trace.h"

namespace adjust_tests {

using Bytes = std::vector<uint8_t>;

inline const Bytes kStorePacket = {0x1B, 0x7C, 0x00, 0x05, 0x00, 0x0B, 0x54, 0x50, 0xAF, 0x28};

inline Bytes HeadAngularPacket(uint8_t value) {
    return {0x1B, 0x7C, 0x00, 0x06, 0x00, 0x0B, 0x54, 0x05, 0xFA, 0x82, value};
}

// The Bi-D packet of a mode byte (1-3 VSD1-3, 0 ECO), colour byte (1 black,
// 2 colour) and value.
inline Bytes BidPacket(uint8_t modeByte, uint8_t colourByte, int value) {
    const auto low = static_cast<uint8_t>(value & 0xFF);
    const uint8_t sign = value < 0 ? 0xFF : 0x00;
    return {0x1B, 0x7C, 0x00, 0x09,     0x00,       0x0B, 0x54,
            0x00, 0xFF, 0x00, modeByte, colourByte, low,  sign};
}

// The bytes of every SendDataChannel call in a trace, in order.
inline std::vector<Bytes> SentData(const std::vector<vprinter::TraceEntry>& calls) {
    std::vector<Bytes> sends;
    for (const auto& call : calls) {
        if (call.function == "SendDataChannel") {
            sends.push_back(call.data);
        }
    }
    return sends;
}

}  // namespace adjust_tests
