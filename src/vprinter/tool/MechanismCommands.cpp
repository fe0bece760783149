#include <iostream>
#include <map>

#include "vprinter/tool/Tool.h"

namespace vprinter::tool {

Mechanism Tool::LoadMechanism(const std::string& port) {
    RequirePrinter(port);
    Mechanism mechanism;
    std::string problem;
    if (!GetStore().LoadMechanism(port, mechanism, &problem)) {
        throw ToolError(problem);
    }
    return mechanism;
}

void Tool::ChangeMechanism(const std::string& port, const std::function<void(Mechanism&)>& change) {
    RequirePrinter(port);
    const FileLock lock = GetStore().LockPrinter(port);
    Mechanism mechanism = LoadMechanism(port);
    change(mechanism);
    if (!GetStore().SaveMechanism(port, mechanism)) {
        throw ToolError("cannot write the mechanism of " + port);
    }
}

namespace {

std::string mechanismPort;
std::vector<std::string> mechanismWords;

// The errors as NAME=VALUE lines, or that they are hidden.
void Show(const Mechanism& mechanism) {
    if (mechanism.hidden) {
        std::cout << "the mechanism of " << mechanismPort << " is hidden (`mechanism "
                  << mechanismPort << " reveal` shows it)\n";
        return;
    }
    const auto& quantities = MechanismQuantities();
    for (size_t i = 0; i < quantities.size(); ++i) {
        std::cout << quantities[i].name << '=' << static_cast<int>(mechanism.errors[i]) << '\n';
    }
}

// Every assignment is checked before any is written.
std::map<size_t, int8_t> Assignments() {
    std::map<size_t, int8_t> errors;
    for (const auto& word : mechanismWords) {
        const auto equals = word.find('=');
        if (equals == std::string::npos) {
            throw ToolError("bad word '" + word +
                            "' (NAME=VALUE, clear, random SEED, hide or reveal)");
        }
        const std::string name = word.substr(0, equals);
        const int index = MechanismIndex(name);
        if (index < 0) {
            throw ToolError("'" + name + "' is no quantity of the mechanism (" +
                            MechanismQuantities().front().name + " ... " +
                            MechanismQuantities().back().name + ")");
        }
        const auto value =
            static_cast<int8_t>(Number(word.substr(equals + 1), -128, 127, name.c_str()));
        if (!errors.emplace(static_cast<size_t>(index), value).second) {
            throw ToolError(name + " is given twice");
        }
    }
    return errors;
}

void RequireWords(size_t count) {
    if (mechanismWords.size() != count) {
        throw ToolError("'" + mechanismWords.front() + "' takes " +
                        (count == 1 ? std::string("no further word") : "one word: SEED"));
    }
}

}  // namespace

void AddMechanismCommands(CLI::App& app, Tool& tool) {
    auto* mechanism = app.add_subcommand(
        "mechanism", "show or set the mechanism's true errors, the values that correct it");
    mechanism->add_option("port", mechanismPort)->required();
    mechanism->add_option("words", mechanismWords,
                          "NAME=VALUE ..., clear, random SEED, hide or reveal (none: show them)");
    mechanism->callback([&tool] {
        if (mechanismWords.empty()) {
            Show(tool.LoadMechanism(mechanismPort));
            return;
        }
        const std::string& verb = mechanismWords.front();
        Mechanism result;
        if (verb == "hide" || verb == "reveal") {
            RequireWords(1);
            tool.ChangeMechanism(mechanismPort, [&](Mechanism& m) { m.hidden = verb == "hide"; });
            return;
        }
        if (verb == "clear") {
            // Like a new main board for a broken EEPROM, this mends a damaged
            // file: it is written anew without reading it.
            RequireWords(1);
            tool.RequirePrinter(mechanismPort);
            const FileLock lock = tool.GetStore().LockPrinter(mechanismPort);
            Mechanism cleared;
            tool.GetStore().LoadMechanism(mechanismPort, cleared);
            cleared.errors = {};
            if (!tool.GetStore().SaveMechanism(mechanismPort, cleared)) {
                throw ToolError("cannot write the mechanism of " + mechanismPort);
            }
            return;
        }
        if (verb == "random") {
            RequireWords(2);
            const auto seed =
                static_cast<uint32_t>(Number(mechanismWords[1], 0, 4294967295LL, "seed"));
            tool.ChangeMechanism(mechanismPort, [&](Mechanism& m) {
                m.errors = RandomMechanism(seed).errors;
                result = m;
            });
        } else {
            const auto errors = Assignments();
            tool.ChangeMechanism(mechanismPort, [&](Mechanism& m) {
                for (const auto& [index, error] : errors) {
                    m.errors[index] = error;
                }
                result = m;
            });
        }
        if (!result.hidden) {
            Show(result);
        }
    });
}

}  // namespace vprinter::tool
