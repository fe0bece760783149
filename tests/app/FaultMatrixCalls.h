#pragma once

// What the fault matrix's runs and oracles share: the printer it runs on and
// how it reads the calls of a trace.
#include <QString>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "link/ResultCodes.h"
#include "vprinter/Packet.h"
#include "vprinter/Trace.h"

namespace fault_matrix::detail {

inline const char* const kPort = "VTUSB001";
const uint8_t kInitialize[] = {0x1B, 0x40};
// The code pair that the boot window gives the channel.
constexpr uint8_t kCodeA = 11;
constexpr uint8_t kCodeB = 84;
// How much longer than the clean run a run may sleep before it counts as hung.
constexpr uint64_t kHangMargin = 120000;
// How many of an action's full print-data sends fail in turn at most (plus
// the first and last of every run of them).
constexpr size_t kFullSendsTried = 8;
// Of the calls an action fails in turn, how many the default test set fails,
// a seeded sample of them; the long set fails every one.
constexpr uint32_t kCallsSampled = 10;

inline bool IsPacket(const std::vector<uint8_t>& data) {
    return data.size() >= vprinter::kPacketHeaderBytes && data[0] == 0x1B && data[1] == 0x7C &&
           data[2] == 0x00 && data.size() == data[3] + vprinter::kPacketHeaderBytes;
}

inline bool Accepted(const vprinter::TraceEntry& call) {
    return call.function == "SendDataChannel" && call.result == ResultOk;
}

inline bool ChangesEeprom(const vprinter::TraceEntry& call) {
    return call.result == ResultOk &&
           (call.function == "D4WriteEeprom" || (Accepted(call) && IsPacket(call.data)));
}

inline QString FirstLine(const QString& text) {
    return text.section(QLatin1Char('\n'), 0, 0);
}

// The first lines that a code's family of the result-code table begins with.
inline std::vector<QString> Family(uint16_t code) {
    if (code == ResultPortIoError) {
        return {QStringLiteral("Communication error."),
                QStringLiteral("Communication error occurred.")};
    }
    return {QStringLiteral("Communication error occurred.")};
}

inline std::string Hex(uint16_t code) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", code);
    return text;
}

}  // namespace fault_matrix::detail
