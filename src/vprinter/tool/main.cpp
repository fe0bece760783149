// orvane-vprinter: the control tool of the virtual printers. It lists them,
// creates and removes them, injects and clears faults, replaces main boards,
// shows or sets EEPROM bytes and the printers' mechanisms, lists printed pages,
// prints a received stream again and lists the commands of a stream file.
#include <iostream>

#include "platform/CommandLine.h"
#include "vprinter/StateFolder.h"
#include "vprinter/tool/Tool.h"

int main(int argc, char** argv) {
    using vprinter::tool::Tool;
    Tool tool;
    CLI::App app{"Control tool of the Orvane virtual printers", "orvane-vprinter"};
    auto* dir =
        app.add_option("--dir", tool.folder,
                       "state folder (default: ORVANE_VPRINTER_DIR, else the XDG state folder)");
    // Checked once parsing is done, before any command runs.
    app.parse_complete_callback([dir, &tool] {
        if (dir->count() == 0) {
            return;
        }
        if (const std::string problem = vprinter::StateFolderProblem(tool.folder);
            !problem.empty()) {
            throw vprinter::tool::ToolError(problem);
        }
    });
    app.require_subcommand(1);
    vprinter::tool::AddPrinterCommands(app, tool);
    vprinter::tool::AddFaultCommands(app, tool);
    vprinter::tool::AddDumpCommands(app, tool);
    vprinter::tool::AddStreamCommands(app, tool);
    vprinter::tool::AddMechanismCommands(app, tool);
    orvane::UseUtf8Console();
    orvane::Utf8Arguments arguments(argc, argv);
    try {
        app.parse(arguments.Count(), arguments.Values());
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        std::cout << app.help("", CLI::AppFormatMode::All);
        return 0;
    } catch (const CLI::ParseError& error) {
        // A word that names no command is left over, and CLI11 only misses
        // the command.
        if (app.get_subcommands().empty() && !app.remaining().empty()) {
            std::cerr << "orvane-vprinter: unknown command '" << app.remaining().front()
                      << "' (--help lists the commands)\n";
            return 2;
        }
        std::cerr << "orvane-vprinter: " << error.what() << '\n';
        return 2;
    } catch (const vprinter::tool::ToolError& error) {
        std::cerr << "orvane-vprinter: " << error.what() << '\n';
        return 2;
    }
    return tool.exitCode;
}
