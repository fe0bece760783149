#include "link/PrinterStatus.h"

#include <algorithm>

bool PrinterStatus::IsInkMarker(int16_t raw) {
    return std::find(kInkMarkers.begin(), kInkMarkers.end(), raw) != kInkMarkers.end();
}

int16_t PrinterStatus::ReadInt16(size_t offset) const {
    return static_cast<int16_t>(static_cast<uint16_t>(bytes_[offset]) |
                                static_cast<uint16_t>(bytes_[offset + 1] << 8));
}

void PrinterStatus::WriteInt16(size_t offset, int16_t value) {
    const auto bits = static_cast<uint16_t>(value);
    bytes_[offset] = static_cast<uint8_t>(bits & 0xFF);
    bytes_[offset + 1] = static_cast<uint8_t>(bits >> 8);
}

void PrinterStatus::AcceptInkAmounts() {
    bytes_[kValidOffset] = 1;
    for (int colour = Black; colour <= Yellow; ++colour) {
        const int16_t raw = RawInk(static_cast<Colour>(colour));
        if (IsInkMarker(raw)) {
            bytes_[kValidOffset] = 0;
        } else {
            WriteInt16(kAcceptedInkOffset + 2 * static_cast<size_t>(colour), raw);
        }
    }
}
