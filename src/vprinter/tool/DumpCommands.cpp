#include <cstdio>
#include <iostream>
#include <vector>

#include "platform/Files.h"
#include "vprinter/DumpImage.h"
#include "vprinter/tool/Tool.h"

namespace vprinter::tool {

namespace {

std::string dumpFile;
std::string comparePort;

Eeprom DecodeFile(const std::string& path) {
    // No more than a dump holds is read: a device or a FIFO given here is
    // not read at all.
    std::vector<uint8_t> bytes;
    switch (orvane::ReadWholeFile(path, kDumpImageSize, bytes)) {
        case orvane::FileRead::Done:
            break;
        case orvane::FileRead::NotAFile:
            throw ToolError(path + " is not a regular file");
        case orvane::FileRead::TooLarge:
            throw ToolError(path + ": a dump is " + std::to_string(kDumpImageSize) +
                            " bytes, this is larger");
        case orvane::FileRead::Missing:
        case orvane::FileRead::CannotRead:
            throw ToolError("cannot read " + path);
    }
    Eeprom eeprom{};
    std::string reason;
    if (!DecodeDumpImage(bytes, eeprom, reason)) {
        throw ToolError(path + ": " + reason);
    }
    return eeprom;
}

// One line per address where the two differ, then a count.
std::string FormatDifferences(const Eeprom& dump, const Eeprom& printer, const std::string& port) {
    std::string out;
    int count = 0;
    for (size_t address = 0; address < dump.size(); ++address) {
        if (dump[address] != printer[address]) {
            char line[64];
            std::snprintf(line, sizeof line, "%02zX: dump %02X, %s %02X\n", address, dump[address],
                          port.c_str(), printer[address]);
            out += line;
            ++count;
        }
    }
    out += count == 0 ? "no differences\n"
                      : std::to_string(count) + (count == 1 ? " difference\n" : " differences\n");
    return out;
}

}  // namespace

void AddDumpCommands(CLI::App& app, Tool& tool) {
    auto* decode = app.add_subcommand(
        "decode-dump",
        "show the EEPROM bytes of a full dump file, or compare them with a printer's");
    decode->add_option("file", dumpFile, "the 1024-byte dump file")->required();
    decode->add_option("--compare", comparePort, "list where the dump differs from this printer");
    decode->callback([&tool] {
        const Eeprom dump = DecodeFile(dumpFile);
        if (comparePort.empty()) {
            std::cout << FormatHexDump(dump);
            return;
        }
        std::cout << FormatDifferences(dump, tool.LoadEeprom(comparePort), comparePort);
    });
}

}  // namespace vprinter::tool
