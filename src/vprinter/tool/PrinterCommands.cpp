#include <iostream>
#include <map>

#include "vprinter/tool/Tool.h"

namespace vprinter::tool {

Store& Tool::GetStore() {
    if (!store_) {
        store_ = std::make_unique<Store>(folder.empty() ? Store::DefaultFolder() : folder);
        if (!store_->EnsureCreated()) {
            throw ToolError("cannot create the state folder " + store_->Folder());
        }
    }
    return *store_;
}

void Tool::RequirePrinter(const std::string& port) {
    if (!GetStore().Exists(port)) {
        throw ToolError("no printer on port '" + port + "'");
    }
}

PrinterConfig Tool::LoadConfig(const std::string& port) {
    RequirePrinter(port);
    PrinterConfig config;
    if (!GetStore().LoadConfig(port, config)) {
        throw ToolError("cannot read the configuration of " + port);
    }
    return config;
}

void Tool::ChangeConfig(const std::string& port,
                        const std::function<void(PrinterConfig&)>& change) {
    RequirePrinter(port);
    const FileLock lock = GetStore().LockPrinter(port);
    PrinterConfig config = LoadConfig(port);
    change(config);
    if (!GetStore().SaveConfig(port, config)) {
        throw ToolError("cannot write the configuration of " + port);
    }
}

Eeprom Tool::LoadEeprom(const std::string& port) {
    RequirePrinter(port);
    Eeprom eeprom{};
    std::string problem;
    if (!GetStore().LoadEeprom(port, eeprom, nullptr, &problem)) {
        throw ToolError("the EEPROM of " + port + " is broken: " + problem);
    }
    return eeprom;
}

void Tool::ChangeEeprom(const std::string& port, const std::function<void(Eeprom&)>& change) {
    RequirePrinter(port);
    const FileLock lock = GetStore().LockPrinter(port);
    Eeprom eeprom = LoadEeprom(port);
    change(eeprom);
    if (!GetStore().SaveEeprom(port, eeprom)) {
        throw ToolError("cannot write the EEPROM of " + port);
    }
}

long long Number(const std::string& text, long long low, long long high, const char* what) {
    long long value = 0;
    if (!ParseNumber(text, value) || value < low || value > high) {
        throw ToolError(std::string("bad ") + what + " '" + text + "' (" + std::to_string(low) +
                        " to " + std::to_string(high) + ")");
    }
    return value;
}

namespace {

int16_t InkAmount(const std::string& text) {
    if (text == "IC")
        return 0x4349;
    if (text == "AN")
        return 0x4E41;
    if (text == "ER")
        return 0x5245;
    if (text == "EW")
        return 0x5745;
    return static_cast<int16_t>(static_cast<uint16_t>(Number(text, -32768, 65535, "ink amount")));
}

}  // namespace

void AddPrinterCommands(CLI::App& app, Tool& tool) {
    auto* list = app.add_subcommand("list", "list the printers with port, model, state and ink");
    list->callback([&tool] { std::cout << FormatPrinterList(tool.GetStore()); });

    static std::string port;
    static std::string model = "Orvane K31";
    auto* create = app.add_subcommand("create", "create a printer with a fresh main board");
    create->add_option("port", port, "port name, e.g. VTUSB003 or LPT1:")->required();
    create->add_option("--model", model, "model name (default \"Orvane K31\")");
    create->callback([&tool] {
        std::string reason;
        if (!tool.GetStore().CreatePrinter(port, model, reason)) {
            throw ToolError(reason);
        }
        std::cout << "created " << port << " (" << model << ", port number "
                  << Store::PortNumber(port) << ")\n";
    });

    auto* remove = app.add_subcommand("remove", "remove a printer and its files");
    remove->add_option("port", port)->required();
    remove->callback([&tool] {
        tool.RequirePrinter(port);
        if (!tool.GetStore().RemovePrinter(port)) {
            throw ToolError("cannot remove " + port);
        }
    });

    auto* board = app.add_subcommand("new-board", "replace the main board: a fresh EEPROM");
    board->add_option("port", port)->required();
    board->callback([&tool] {
        tool.RequirePrinter(port);
        const FileLock lock = tool.GetStore().LockPrinter(port);
        if (!tool.GetStore().SaveEeprom(port, Store::FreshBoard())) {
            throw ToolError("cannot write the EEPROM of " + port);
        }
    });

    static std::vector<std::string> assignments;
    auto* eeprom = app.add_subcommand("eeprom", "show all 256 EEPROM bytes, or set some");
    eeprom->add_option("port", port)->required();
    eeprom->add_option("--set", assignments, "ADDRESS=VALUE, e.g. 0x42=0x10 (repeatable)");
    eeprom->callback([&tool] {
        if (assignments.empty()) {
            std::cout << FormatHexDump(tool.LoadEeprom(port));
            return;
        }
        std::map<size_t, uint8_t> bytes;
        for (const auto& assignment : assignments) {
            const auto equals = assignment.find('=');
            if (equals == std::string::npos) {
                throw ToolError("bad assignment '" + assignment + "' (ADDRESS=VALUE)");
            }
            const auto address = Number(assignment.substr(0, equals), 0, 255, "address");
            const auto value = Number(assignment.substr(equals + 1), -128, 255, "value");
            bytes[static_cast<size_t>(address)] = static_cast<uint8_t>(value & 0xFF);
        }
        tool.ChangeEeprom(port, [&bytes](Eeprom& content) {
            for (const auto& [address, value] : bytes) {
                content[address] = value;
            }
        });
    });

    static std::vector<std::string> ink;
    auto* inkCommand = app.add_subcommand("ink", "set the ink amounts (percent, or IC AN ER EW)");
    inkCommand->add_option("port", port)->required();
    inkCommand->add_option("amounts", ink, "black cyan magenta yellow")->required()->expected(4);
    inkCommand->callback([&tool] {
        tool.ChangeConfig(port, [&](PrinterConfig& config) {
            for (size_t i = 0; i < 4; ++i) {
                config.ink[i] = InkAmount(ink[i]);
            }
        });
    });

    static std::string sheets;
    auto* paper = app.add_subcommand("paper", "put sheets into the tray (ends paper out)");
    paper->add_option("port", port)->required();
    paper->add_option("sheets", sheets)->required();
    paper->callback([&tool] {
        tool.ChangeConfig(port, [&](PrinterConfig& config) {
            config.paper = static_cast<int>(Number(sheets, 0, 1000000, "sheet count"));
            if (config.paper > 0 && config.state == 0 && config.error == 6) {
                config.state = 4;  // paper loaded: out of the paper-out error
                config.error = 0;
            }
        });
    });

    static std::string name;
    auto* modelCommand = app.add_subcommand("model", "set the model name the printer reports");
    modelCommand->add_option("port", port)->required();
    modelCommand->add_option("name", name)->required();
    modelCommand->callback([&tool] {
        if (const std::string problem = Store::ModelNameProblem(name); !problem.empty()) {
            throw ToolError(problem);
        }
        tool.ChangeConfig(port, [&](PrinterConfig& config) { config.model = name; });
    });
}

}  // namespace vprinter::tool
