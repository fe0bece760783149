#pragma once

#include <array>
#include <cstdint>

#include "platform/Clock.h"

class TPDLLFunction;
class TPStatusControl;

// The command packets ESC '|' that set adjustment values and start the
// maintenance sequences. Each operation builds its packet in the one packet
// buffer and sends it, again every 500 ms while the printer answers busy.
class TPFactory {
public:
    static constexpr int kPacketSize = 14;

    TPFactory(TPDLLFunction& link, TPStatusControl& status, orvane::IClock& clock);

    uint16_t SendBidValue(uint8_t colourSelector, uint8_t mode, int value);
    uint16_t SendHeadAngularValue(uint8_t value);
    uint16_t StartMaintenanceSequence(uint8_t sequence);
    uint16_t SendStoreCommand();
    uint16_t SendPfValue(uint8_t blackFlag, uint8_t value);
    uint16_t SendTopMarginValue(uint8_t value);
    uint16_t SendFirstDotValue(int value);

    // Sends count bytes of a packet with the busy retry.
    uint16_t SendPacket(const uint8_t* bytes, int count);

    // Maintenance sequence codes.
    static constexpr uint8_t SequenceCleaning = 2;
    static constexpr uint8_t SequenceInkCharge = 7;

private:
    TPDLLFunction& link_;
    TPStatusControl& status_;
    orvane::IClock& clock_;
    std::array<uint8_t, kPacketSize> packet_{};
};
