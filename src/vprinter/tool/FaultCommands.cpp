#include <iostream>

#include "vprinter/tool/Tool.h"

namespace vprinter::tool {

namespace {

std::string port;
std::string text;
std::string second;
std::string code;
std::string detail;
bool clear = false;

uint16_t ResultCode(const std::string& value) {
    return static_cast<uint16_t>(Number(value, 0, 0xFFFF, "result code"));
}

void RequireFunction(const std::string& name) {
    if (!IsLibraryFunction(name)) {
        throw ToolError("'" + name + "' is not a function of the libraries");
    }
}

template <typename Change>
void ChangeLibrary(Tool& tool, Change change) {
    const FileLock lock = tool.GetStore().LockFolder();
    LibraryConfig config = tool.GetStore().LoadLibraryConfig();
    change(config);
    if (!tool.GetStore().SaveLibraryConfig(config)) {
        throw ToolError("cannot write " + tool.GetStore().Folder() + "/library.conf");
    }
}

}  // namespace

void AddFaultCommands(CLI::App& app, Tool& tool) {
    auto* power = app.add_subcommand("power", "switch a printer on or off");
    power->add_option("port", port)->required();
    power->add_option("on|off", text)->required()->check(CLI::IsMember({"on", "off"}));
    power->callback([&tool] {
        tool.ChangeConfig(port, [&](PrinterConfig& config) { config.powered = text == "on"; });
    });

    auto* busy = app.add_subcommand("busy", "busy for the next N status polls or data sends");
    busy->add_option("port", port)->required();
    busy->add_option("polls|sends", text)->required()->check(CLI::IsMember({"polls", "sends"}));
    busy->add_option("count", second, "0 clears")->required();
    busy->callback([&tool] {
        tool.ChangeConfig(port, [&](PrinterConfig& config) {
            const int count = static_cast<int>(Number(second, 0, 1000000, "count"));
            (text == "polls" ? config.busyPolls : config.busySends) = count;
        });
    });

    auto* state = app.add_subcommand("state", "set the printer state (4 ready) and error code");
    state->add_option("port", port)->required();
    state->add_option("state", text)->required();
    state->add_option("--error", code, "error code reported with state 0");
    state->callback([&tool] {
        tool.ChangeConfig(port, [&](PrinterConfig& config) {
            config.state = static_cast<uint8_t>(Number(text, 0, 255, "state"));
            config.error =
                code.empty() ? 0 : static_cast<uint8_t>(Number(code, 0, 255, "error code"));
        });
    });

    auto* supported = app.add_subcommand("supported", "mark the model as supported or not");
    supported->add_option("port", port)->required();
    supported->add_option("yes|no", text)->required()->check(CLI::IsMember({"yes", "no"}));
    supported->callback([&tool] {
        tool.ChangeConfig(port, [&](PrinterConfig& config) { config.supported = text == "yes"; });
    });

    auto* eeprom = app.add_subcommand("eeprom-fault", "make reads or writes of an address fail");
    eeprom->add_option("port", port)->required();
    eeprom->add_option("read|write", text)->required()->check(CLI::IsMember({"read", "write"}));
    eeprom->add_option("address", second)->required();
    eeprom->add_option("--code", code, "result code (default 0x2000)");
    eeprom->add_flag("--clear", clear, "remove the fault");
    eeprom->callback([&tool] {
        tool.ChangeConfig(port, [&](PrinterConfig& config) {
            const auto address = static_cast<uint8_t>(Number(second, 0, 255, "address"));
            auto& faults = text == "read" ? config.readFaults : config.writeFaults;
            if (clear) {
                faults.erase(address);
            } else {
                faults[address] = code.empty() ? uint16_t{0x2000} : ResultCode(code);
            }
        });
    });

    auto* call = app.add_subcommand("call-fault", "make the N-th call of a function fail");
    call->add_option("function", text)->required();
    call->add_option("n", second, "the N-th call from now fails");
    call->add_option("code", code, "the result code it returns");
    call->add_option("--detail", detail, "I/O error or channel error it leaves behind");
    call->add_flag("--clear", clear, "remove the fault");
    call->callback([&tool] {
        RequireFunction(text);
        if (clear) {
            ChangeLibrary(tool, [](LibraryConfig& config) { config.callFaults.erase(text); });
            return;
        }
        if (second.empty() || code.empty()) {
            throw ToolError("call-fault needs N and a result code, or --clear");
        }
        CallFault fault;
        fault.remaining = static_cast<int>(Number(second, 1, 1000000000, "call number"));
        fault.code = ResultCode(code);
        if (!detail.empty()) {
            fault.detail = static_cast<int32_t>(Number(detail, -32768, 65535, "detail"));
        }
        ChangeLibrary(tool, [&fault](LibraryConfig& config) { config.callFaults[text] = fault; });
    });

    auto* exportCommand = app.add_subcommand("export", "hide or restore an exported function");
    exportCommand->add_option("function", text)->required();
    exportCommand->add_option("missing|present", second)
        ->required()
        ->check(CLI::IsMember({"missing", "present"}));
    exportCommand->callback([&tool] {
        RequireFunction(text);
        ChangeLibrary(tool, [](LibraryConfig& config) {
            if (second == "missing") {
                config.missingExports.insert(text);
            } else {
                config.missingExports.erase(text);
            }
        });
    });

    auto* clearFaults = app.add_subcommand("clear-faults",
                                           "clear every fault of a printer, "
                                           "or with --library of the libraries");
    clearFaults->add_option("port", port);
    clearFaults->add_flag("--library", clear, "clear missing exports and call faults");
    clearFaults->callback([&tool] {
        if (clear) {
            ChangeLibrary(tool, [](LibraryConfig& config) { config = LibraryConfig{}; });
        }
        if (port.empty()) {
            if (!clear) {
                throw ToolError("clear-faults needs a port or --library");
            }
            return;
        }
        tool.ChangeConfig(port, [&](PrinterConfig& config) {
            config.powered = true;
            config.supported = true;
            config.state = 4;
            config.error = 0;
            config.busyPolls = 0;
            config.busySends = 0;
            config.readFaults.clear();
            config.writeFaults.clear();
        });
    });
}

}  // namespace vprinter::tool
