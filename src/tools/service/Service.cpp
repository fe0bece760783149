#include "tools/service/Service.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include <filesystem>
#include <memory>
#include <sstream>

#include "platform/CommandLine.h"
#include "platform/PortTable.h"
#include "tools/service/Commands.h"
#include "tools/service/Output.h"
#include "tools/service/PrinterFolder.h"

namespace orvane::service {

namespace {

namespace fs = std::filesystem;

// What the command line asked for.
struct Request {
    ServiceOptions options;
    std::string model;
    std::string command;  // "identity set", "adjust", ...
    IdentityChanges identity;
    std::vector<std::string> names;        // adjust NAME...
    std::vector<std::string> assignments;  // adjust set NAME=VALUE...
    std::string printName;
    std::vector<std::string> bidItems;  // print bid --items
    std::string dumpFile;
    bool force = false;
};

// The port to open: --port, or the only printer port; with its port number
// by the boot window's rule.
Outcome ResolvePort(IPortList& ports, const std::string& wanted, std::string& port,
                    uint16_t& number) {
    std::vector<std::string> system;
    if (!ports.EnumeratePorts(system)) {
        return {kExitFailed, "the printer ports cannot be listed", std::nullopt};
    }
    const std::vector<std::string> listed = PrinterPorts(system);
    int index = -1;
    if (wanted.empty()) {
        if (listed.empty()) {
            return {kExitFailed, "no printer port", std::nullopt};
        }
        if (listed.size() > 1) {
            std::string names;
            for (const std::string& name : listed) {
                names += (names.empty() ? "" : ", ") + name;
            }
            return Outcome::Usage("several printer ports (" + names + "): choose one with --port");
        }
        index = 0;
    } else {
        for (size_t i = 0; i < listed.size(); ++i) {
            if (listed[i] == wanted) {
                index = static_cast<int>(i);
            }
        }
        if (index < 0) {
            return Outcome::Usage("no printer port '" + wanted + "' ('ports' lists them)");
        }
    }
    port = listed[static_cast<size_t>(index)];
    const PortNumberResult derived = DerivePortNumber(listed, index);
    switch (derived.status) {
        case PortNumberStatus::Ok:
            number = derived.number;
            return Outcome::Done();
        case PortNumberStatus::BeyondTable:
            return Outcome::Usage("The port \"" + port + "\" cannot be used: only the first " +
                                  std::to_string(kPortTableSize) + " printer ports can be opened.");
        case PortNumberStatus::NotANumber:
            break;
    }
    return Outcome::Usage("The port \"" + port + "\" has no port number.");
}

Outcome Ports(IPortList& ports, Json& out) {
    std::vector<std::string> system;
    if (!ports.EnumeratePorts(system)) {
        return {kExitFailed, "the printer ports cannot be listed", std::nullopt};
    }
    const std::vector<std::string> listed = PrinterPorts(system);
    Json list = Json::array();
    for (size_t i = 0; i < listed.size(); ++i) {
        const PortNumberResult derived = DerivePortNumber(listed, static_cast<int>(i));
        list.push_back(
            {{"port", listed[i]},
             {"port_number",
              derived.status == PortNumberStatus::Ok ? Json(derived.number) : Json(nullptr)}});
    }
    out["ports"] = list;
    return Outcome::Done();
}

// Turns the names and assignments of the command line into the tool's
// terms; a name the tool does not know is bad usage.
Outcome ParseNames(const std::vector<std::string>& names, std::vector<const NamedValue*>& values) {
    for (const std::string& name : names) {
        const NamedValue* value = FindNamedValue(name);
        if (value == nullptr) {
            return Outcome::Usage("no adjustment value '" + name + "'");
        }
        values.push_back(value);
    }
    if (values.empty()) {
        for (const NamedValue& value : NamedValues()) {
            values.push_back(&value);
        }
    }
    return Outcome::Done();
}

Outcome ParseAssignments(const std::vector<std::string>& texts,
                         std::vector<Assignment>& assignments) {
    if (texts.empty()) {
        return Outcome::Usage("adjust set needs NAME=VALUE");
    }
    for (const std::string& text : texts) {
        const size_t equals = text.find('=');
        const std::string name = text.substr(0, equals);
        const NamedValue* value = FindNamedValue(name);
        if (value == nullptr) {
            return Outcome::Usage("no adjustment value '" + name + "'");
        }
        const bool fixed = value->group == ValueGroup::HeatProtect;
        if (fixed != (equals == std::string::npos)) {
            return Outcome::Usage(fixed ? name + " takes no value: it registers the fixed offset"
                                        : name + " needs a value: " + name + "=VALUE");
        }
        for (const Assignment& earlier : assignments) {
            if (earlier.value == value) {
                return Outcome::Usage(name + " is given twice");
            }
        }
        assignments.push_back({value, equals == std::string::npos ? "" : text.substr(equals + 1)});
    }
    return Outcome::Done();
}

Outcome ParseBidItems(const std::vector<std::string>& names, TPBid::Flags& flags) {
    flags.fill(names.empty());
    for (const std::string& name : names) {
        const NamedValue* value = FindNamedValue(name);
        if (value == nullptr || value->group != ValueGroup::Bid) {
            return Outcome::Usage("no Bi-D value '" + name + "'");
        }
        flags[static_cast<size_t>(value->bidItem)] = true;
    }
    return Outcome::Done();
}

// A command's inputs in the tool's terms.
struct Parsed {
    std::vector<const NamedValue*> names;
    std::vector<Assignment> assignments;
    TPBid::Flags bidItems{};
    PrintItem printItem = PrintItem::Bid;
};

Outcome RunInSession(Session& session, const Request& request, const std::string& port,
                     uint16_t portNumber, const Parsed& parsed, Json& out);

// Runs a command that needs the printer.
Outcome RunOnPrinter(const Request& request, const ServiceSeams& seams, IPortList& ports,
                     std::ostream& err, Json& out) {
    const std::string& command = request.command;
    // Everything that can be checked without the printer is checked first.
    Parsed parsed;
    auto& [names, assignments, bidItems, printItem] = parsed;
    Outcome outcome;
    if (command == "adjust") {
        outcome = ParseNames(request.names, names);
    } else if (command == "adjust set") {
        outcome = ParseAssignments(request.assignments, assignments);
    } else if (command == "identity set") {
        if (!request.identity.market && !request.identity.headId && !request.identity.usbId) {
            outcome = Outcome::Usage("identity set needs --market, --head-id or --usb-id");
        }
    } else if (command == "print") {
        const PrintName* found = nullptr;
        for (const PrintName& name : PrintNames()) {
            if (request.printName == name.name) {
                found = &name;
            }
        }
        if (found == nullptr) {
            outcome = Outcome::Usage("nothing to print named '" + request.printName +
                                     "' ('print --list' lists them)");
        } else {
            printItem = found->item;
            if (!request.bidItems.empty() && printItem != PrintItem::Bid) {
                outcome = Outcome::Usage("--items is for print bid");
            } else {
                outcome = ParseBidItems(request.bidItems, bidItems);
            }
        }
    } else if (command == "dump") {
        outcome = CheckDumpFile(request.dumpFile, request.force);
    } else if (command == "backup list") {
        if (request.options.dryRun) {
            return Outcome::Usage("backup list sends nothing and has no dry run");
        }
        // The backups are on this machine: no printer is asked.
        Session session(seams, request.options, err);
        out["command"] = command;
        return BackupList(session, out);
    }
    if (outcome.exit != kExitDone) {
        return outcome;
    }
    std::string port;
    uint16_t portNumber = 0;
    outcome = ResolvePort(ports, request.options.port, port, portNumber);
    if (outcome.exit != kExitDone) {
        return outcome;
    }
    ServiceOptions options = request.options;
    options.port = port;
    Session session(seams, options, err);
    outcome = RunInSession(session, request, port, portNumber, parsed, out);
    // The JSON tells a log that could not be written as the console does.
    if (const std::string& failure = session.LogFailure(); !failure.empty() && options.json) {
        out["service_log"] = failure;
    }
    return outcome;
}

// The part of RunOnPrinter that needs the session.
Outcome RunInSession(Session& session, const Request& request, const std::string& port,
                     uint16_t portNumber, const Parsed& parsed, Json& out) {
    const std::string& command = request.command;
    const auto& [names, assignments, bidItems, printItem] = parsed;
    Outcome outcome;
    // The modules' checks refuse an input before anything reaches the printer.
    if (command == "identity set") {
        outcome = CheckIdentity(session, request.identity);
    } else if (command == "adjust set") {
        outcome = CheckAssignments(session, assignments);
    } else if (command == "restore" && !request.options.from.empty()) {
        outcome = CheckRestoreFrom(session, request.options.from);
    }
    if (outcome.exit != kExitDone) {
        return outcome;
    }
    outcome = session.Open(port, portNumber);
    if (outcome.exit != kExitDone) {
        return outcome;
    }
    out["command"] = command;
    out["port"] = port;
    if (command == "status") {
        outcome = Status(session, out);
    } else if (command == "identity") {
        outcome = Identity(session, out);
    } else if (command == "identity set") {
        outcome = IdentitySet(session, request.identity, out);
    } else if (command == "adjust") {
        outcome = Adjust(session, names, out);
    } else if (command == "adjust set") {
        outcome = AdjustSet(session, assignments, out);
    } else if (command == "print") {
        out["item"] = request.printName;
        outcome = Print(session, printItem, bidItems, out);
    } else if (command == "waste") {
        outcome = Waste(session, out);
    } else if (command == "waste reset") {
        outcome = WasteReset(session, out);
    } else if (command == "clean") {
        outcome = Clean(session, out);
    } else if (command == "ink-charge") {
        outcome = InkCharge(session, out);
    } else if (command == "backup") {
        outcome = Backup(session, out);
    } else if (command == "restore" && !request.options.from.empty()) {
        outcome = RestoreFrom(session, request.options.from, request.options.force, out);
    } else if (command == "restore") {
        outcome = Restore(session, request.options.force, out);
    } else if (command == "dump") {
        outcome = Dump(session, request.dumpFile, out);
    }
    if (outcome.exit == kExitDone && request.options.dryRun) {
        out["dry_run"] = DryRunList(session.link.DryRunCalls());
    }
    return outcome;
}

void ListPrintNames(std::ostream& out, bool json) {
    Json list = Json::array();
    for (const PrintName& name : PrintNames()) {
        list.push_back({{"name", name.name}, {"summary", name.summary}});
    }
    if (json) {
        out << JsonText(Json{{"command", "print --list"}, {"items", list}}) << '\n';
        return;
    }
    for (const PrintName& name : PrintNames()) {
        out << name.name
            << std::string(14 - std::min<size_t>(13, std::string(name.name).size()), ' ')
            << name.summary << '\n';
    }
}

}  // namespace

int RunService(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const ServiceSeams& seams) {
    Request request;
    CLI::App app{"The service functions of the adjustment program, without windows",
                 "orvane-service"};
    app.fallthrough();
    app.require_subcommand(1);
    app.add_option("--port", request.options.port, "printer port (default: the only printer port)");
    app.add_option("--model", request.model, "the printer's model (default: read from it)")
        ->check(CLI::IsMember({"K31", "K32"}));
    app.add_flag("--json", request.options.json, "one JSON object per command on stdout");
    app.add_flag("--dry-run", request.options.dryRun,
                 "list what would be written or sent, and send nothing");
    auto* dirOption =
        app.add_option("--dir", request.options.folder,
                       "state folder of the virtual printers (default: ORVANE_VPRINTER_DIR, else "
                       "the XDG state folder)");

    app.add_subcommand("ports", "the printer ports the boot window lists, with their numbers");
    app.add_subcommand("status", "the printer's state, error and ink");
    auto* identity =
        app.add_subcommand("identity", "market destination, model name, Head ID and USB ID");
    auto* identitySet =
        identity->add_subcommand("set", "write the market setting, Head ID, USB ID");
    identitySet->add_flag("--market", request.identity.market,
                          "write the market setting of the model, then restart the printer");
    // The pages' edits turn the letters typed into capitals.
    const auto capitals = [](std::string text) {
        for (char& c : text) {
            c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        }
        return text;
    };
    identitySet->add_option("--head-id", request.identity.headId, "the Head ID (10 characters)")
        ->transform(capitals);
    identitySet
        ->add_option("--usb-id", request.identity.usbId,
                     "the serial number of the USB ID (10 characters)")
        ->transform(capitals);
    auto* adjust = app.add_subcommand("adjust", "the stored adjustment values");
    adjust->add_option("names", request.names, "the values to read (default: all)");
    auto* adjustSet = adjust->add_subcommand("set", "write adjustment values");
    adjustSet->add_option("assignments", request.assignments, "NAME=VALUE ...");
    bool listPrint = false;
    auto* print = app.add_subcommand("print", "print a pattern page, check sheet or nozzle check");
    print->add_option("name", request.printName, "what to print");
    print->add_flag("--list", listPrint, "list what can be printed");
    print->add_option("--items", request.bidItems, "print bid: the Bi-D values (default: all)")
        ->delimiter(',');
    print
        ->add_option("--paper-wait", request.options.paperWait,
                     "seconds to wait for paper when the printer is out of it (default: no limit)")
        ->check(CLI::Range(0, 7 * 86400));
    auto* waste = app.add_subcommand("waste", "the waste ink pad counter");
    waste->add_subcommand("reset", "reset the waste ink pad counter");
    app.add_subcommand("clean", "head cleaning");
    app.add_subcommand("ink-charge", "initial ink charge");
    auto* backup =
        app.add_subcommand("backup", "keep the EEPROM data of the mechanism for a new main board");
    backup->add_subcommand("list", "the backups kept: bkupdata.eep and its history");
    auto* restore =
        app.add_subcommand("restore", "write the kept EEPROM data to the new main board");
    restore->add_option("--from", request.options.from, "restore this backup file instead");
    restore->add_flag("--force", request.options.force,
                      "restore a backup taken for the other model");
    auto* log = app.add_subcommand("log", "the service log of the writes to the printers");
    log->add_option("--since", request.options.since, "records from this date on (YYYY-MM-DD)");
    log->add_option("--kind", request.options.kinds,
                    "only records of these kinds: write identity reset restore pattern other")
        ->delimiter(',');
    auto* dump = app.add_subcommand("dump", "the full EEPROM dump into FILE");
    dump->add_option("file", request.dumpFile, "the dump file")->required();
    dump->add_flag("--force", request.force, "replace FILE when it exists");

    // A usage error of an option given before --json is still answered in
    // JSON: the flag is known before anything is parsed.
    request.options.json = std::find(args.begin(), args.end(), std::string("--json")) != args.end();
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    Outcome outcome;
    Json result = Json::object();
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kExitDone;
    } catch (const CLI::ParseError& error) {
        // A subcommand's help is a help too.
        if (error.get_exit_code() == 0) {
            out << app.help();
            return kExitDone;
        }
        outcome = Outcome::Usage(error.what());
    }
    if (outcome.exit == kExitDone) {
        for (CLI::App* sub : app.get_subcommands()) {
            request.command = sub->get_name();
            for (CLI::App* inner : sub->get_subcommands()) {
                request.command += " " + inner->get_name();
            }
        }
        if (!request.model.empty()) {
            request.options.modelCode =
                request.model == "K31" ? TPEeprom::ModelCodeK31 : TPEeprom::ModelCodeK32;
        }
        std::unique_ptr<IPortList> ownPorts;
        IPortList* ports = seams.ports;
        // An empty --dir is bad usage, not the default folder.
        if (dirOption->count() > 0) {
            outcome = CheckStateFolder(request.options.folder);
            if (outcome.exit == kExitDone && ports == nullptr) {
                // The link libraries of this process find their printers there.
                orvane::SetEnvironment("ORVANE_VPRINTER_DIR", request.options.folder);
            }
        }
        if (ports == nullptr) {
            ownPorts = StateFolderPorts(request.options.folder);
            ports = ownPorts.get();
        }
        if (outcome.exit != kExitDone) {
            // Reported below.
        } else if (request.command == "print" && listPrint) {
            ListPrintNames(out, request.options.json);
            return kExitDone;
        } else if (request.command == "ports") {
            result["command"] = "ports";
            outcome = Ports(*ports, result);
        } else if (request.command == "log") {
            // The records are written out as they are read.
            outcome = Log(
                seams.serviceLogPath.empty() ? ServiceLogFile::DefaultPath() : seams.serviceLogPath,
                request.options.port, request.options.since, request.options.kinds,
                request.options.json, out, err);
            if (outcome.exit == kExitDone) {
                return kExitDone;
            }
        } else {
            outcome = RunOnPrinter(request, seams, *ports, err, result);
        }
    }
    if (outcome.exit != kExitDone) {
        err << "orvane-service: " << outcome.message << '\n';
        // What a command wrote before it failed stays written: it is told.
        if (!outcome.detail.empty()) {
            err << "orvane-service: " << outcome.detail << '\n';
        }
        const bool wroteSome = result.contains("written") && !result["written"].empty();
        if (request.options.json) {
            Json error = ErrorObject(outcome);
            if (wroteSome) {
                error["written"] = result["written"];
            }
            if (result.contains("service_log")) {
                error["service_log"] = result["service_log"];
            }
            out << JsonText(error) << '\n';
        }
        return outcome.exit;
    }
    if (request.options.json) {
        out << JsonText(result) << '\n';
    } else {
        WriteText(out, result);
    }
    return kExitDone;
}

}  // namespace orvane::service
