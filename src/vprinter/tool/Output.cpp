#include <cstdio>
#include <sstream>

#include "vprinter/tool/Tool.h"

namespace vprinter::tool {

namespace {

std::string StateName(uint8_t state) {
    switch (state) {
        case 0:
            return "error";
        case 2:
            return "busy";
        case 3:
            return "printing";
        case 4:
            return "ready";
        case 7:
            return "cleaning";
        case 8:
            return "before-ink-charge";
        default:
            return "state-" + std::to_string(state);
    }
}

std::string InkText(int16_t raw) {
    const auto bits = static_cast<uint16_t>(raw);
    switch (bits) {
        case 0x4349:
            return "IC";
        case 0x4E41:
            return "AN";
        case 0x5245:
            return "ER";
        case 0x5745:
            return "EW";
        default:
            return std::to_string(raw) + "%";
    }
}

}  // namespace

std::string FormatPrinterList(Store& store) {
    std::ostringstream out;
    char line[256];
    std::snprintf(line, sizeof line, "%-10s %6s  %-16s %-18s %s\n", "PORT", "NUMBER", "MODEL",
                  "STATE", "INK (K C M Y)");
    out << line;
    for (const auto& port : store.Ports()) {
        PrinterConfig config;
        std::string problem;
        store.LoadConfig(port, config, nullptr, &problem);
        std::string state = config.powered ? StateName(config.state) : "off";
        if (!problem.empty()) {
            std::snprintf(line, sizeof line, "%-10s %6u  %s\n", port.c_str(),
                          static_cast<unsigned>(Store::PortNumber(port)), problem.c_str());
            out << line;
            continue;
        }
        if (config.powered && config.state == 0) {
            state += " " + std::to_string(config.error);
        }
        std::string ink;
        for (const int16_t amount : config.ink) {
            // Appended piece by piece: GCC 12 at -O3 warns falsely (restrict)
            // on a literal joined to a temporary string with operator+.
            if (!ink.empty()) {
                ink += ' ';
            }
            ink += InkText(amount);
        }
        std::string notes;
        if (!config.supported) {
            notes += " [unsupported]";
        }
        if (config.busyPolls > 0 || config.busySends > 0) {
            notes += " [busy " + std::to_string(config.busyPolls) + " polls, " +
                     std::to_string(config.busySends) + " sends]";
        }
        if (!config.readFaults.empty() || !config.writeFaults.empty()) {
            notes += " [EEPROM faults]";
        }
        if (Eeprom eeprom{}; !store.LoadEeprom(port, eeprom)) {
            notes += " [EEPROM broken: see eeprom " + port + "]";
        }
        if (Mechanism mechanism; !store.LoadMechanism(port, mechanism)) {
            notes += " [mechanism damaged: see mechanism " + port + "]";
        } else if (mechanism.hidden) {
            notes += " [mechanism hidden]";
        }
        std::snprintf(line, sizeof line, "%-10s %6u  %-16s %-18s %s%s\n", port.c_str(),
                      static_cast<unsigned>(Store::PortNumber(port)), config.model.c_str(),
                      state.c_str(), ink.c_str(), notes.c_str());
        out << line;
    }
    return out.str();
}

std::string FormatHexDump(const Eeprom& eeprom) {
    std::ostringstream out;
    out << "     ";
    for (int column = 0; column < 16; ++column) {
        char head[4];
        std::snprintf(head, sizeof head, " %X ", column);
        out << head;
    }
    out << '\n';
    for (size_t row = 0; row < eeprom.size(); row += 16) {
        char line[8];
        std::snprintf(line, sizeof line, "%02zX: ", row);
        out << line;
        for (size_t column = 0; column < 16; ++column) {
            char cell[4];
            std::snprintf(cell, sizeof cell, "%02X ", eeprom[row + column]);
            out << cell;
        }
        out << '\n';
    }
    return out.str();
}

}  // namespace vprinter::tool
