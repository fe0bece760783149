#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <stdexcept>
#include <string>

#include "vprinter/Store.h"

namespace vprinter::tool {

// A bad argument or a failed change: one line on stderr, exit code 2.
class ToolError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Tool {
    std::string folder;  // --dir, else the default state folder
    // 1 when a command did only part of its work; it said why on stderr.
    int exitCode = 0;
    Store& GetStore();

    // Throws ToolError unless the printer exists.
    void RequirePrinter(const std::string& port);
    PrinterConfig LoadConfig(const std::string& port);
    // Throws ToolError, saying what is wrong and how to mend it, when the
    // EEPROM is broken.
    Eeprom LoadEeprom(const std::string& port);
    // Read the file again under the printer's lock, change it and write it
    // back before the lock is let go.
    void ChangeConfig(const std::string& port, const std::function<void(PrinterConfig&)>& change);
    void ChangeEeprom(const std::string& port, const std::function<void(Eeprom&)>& change);
    // Throws ToolError, saying what is wrong and how to mend it, when
    // mechanism.conf is damaged.
    Mechanism LoadMechanism(const std::string& port);
    void ChangeMechanism(const std::string& port, const std::function<void(Mechanism&)>& change);

  private:
    std::unique_ptr<Store> store_;
};

// Parses a number within [low, high]; throws ToolError naming what it is.
long long Number(const std::string& text, long long low, long long high, const char* what);

void AddPrinterCommands(CLI::App& app, Tool& tool);
void AddFaultCommands(CLI::App& app, Tool& tool);
void AddDumpCommands(CLI::App& app, Tool& tool);
void AddStreamCommands(CLI::App& app, Tool& tool);
void AddMechanismCommands(CLI::App& app, Tool& tool);

std::string FormatPrinterList(Store& store);
std::string FormatHexDump(const Eeprom& eeprom);

}  // namespace vprinter::tool
