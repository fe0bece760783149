// orvane-pattern: prints one pattern generator (or another printable item)
// into a virtual printer through the real link libraries, and saves every
// SendDataChannel call the printer got, in order, to a stream file.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "link/ResultCodes.h"
#include "platform/CommandLine.h"
#include "platform/Files.h"
#include "platform/NativeFile.h"
#include "platform/Paths.h"
#include "tools/common/Waiting.h"
#include "tools/pattern/Items.h"
#include "tools/pattern/Report.h"
#include "tools/pattern/Session.h"
#include "vprinter/StateFolder.h"

namespace {

using orvane::tools::Item;
using orvane::tools::RunOptions;

class BadArgument : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::string Hex(uint16_t code) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", code);
    return text;
}

void ListItems() {
    for (const Item& item : orvane::tools::Items()) {
        std::printf("%-22s %s\n", item.name, item.summary);
    }
}

// The stream file is written through a temporary file beside it and a
// rename, so its folder has to take a new file, and what stands at its name
// has to be a regular file (a FIFO or a device is never replaced); this is
// tried before the printer gets anything.
void CheckOutput(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    switch (orvane::KindOf(path)) {
        case orvane::FileKind::Folder:
            throw BadArgument("--out " + path + " is a folder");
        case orvane::FileKind::Special:
            throw BadArgument("--out " + path + " is not a regular file");
        case orvane::FileKind::Missing:
        case orvane::FileKind::Regular:
            break;
    }
    fs::path folder = orvane::PathOf(path).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const std::string name = orvane::Utf8Of(folder);
    if (!fs::is_directory(folder, error)) {
        throw BadArgument("--out " + path + ": no folder " + name);
    }
    // A file of a fresh name, made and removed again.
    bool made = false;
    for (int attempt = 0; !made && attempt < 8; ++attempt) {
        const std::string probe =
            name + "/.orvane-pattern-" + std::to_string(orvane::RandomBits(attempt) % 1000000007);
        orvane::NativeFile file;
        made = file.Open(probe, orvane::NativeFile::Mode::CreateNew);
        if (made) {
            file.Close();
            orvane::RemoveFileName(probe);
        } else if (!file.Existed()) {
            break;
        }
    }
    if (!made) {
        throw BadArgument("--out " + path + ": cannot write into " + name);
    }
}

// Checks the options against what the item takes.
const Item& Check(const RunOptions& options, bool valueGiven, bool dotSizeGiven, bool skipGiven) {
    const Item* item = orvane::tools::FindItem(options.item.c_str());
    if (item == nullptr) {
        throw BadArgument("unknown item '" + options.item + "' (--list shows them)");
    }
    const auto refuse = [&](bool given, unsigned takes, const char* option) {
        if (given && (item->takes & takes) == 0) {
            throw BadArgument(std::string(item->name) + " takes no " + option);
        }
    };
    refuse(valueGiven, orvane::tools::TakesValue, "--value");
    refuse(dotSizeGiven, orvane::tools::TakesDotSize, "--dot-size");
    refuse(skipGiven, orvane::tools::TakesSkipCaption, "--skip-caption");
    if (options.value && (*options.value < item->valueLow || *options.value > item->valueHigh)) {
        throw BadArgument("--value " + std::to_string(*options.value) + " is outside " +
                          std::to_string(item->valueLow) + " to " +
                          std::to_string(item->valueHigh));
    }
    if (options.output.empty()) {
        throw BadArgument("--out FILE is required");
    }
    CheckOutput(options.output);
    return *item;
}

int Run(const RunOptions& options, const Item& item) {
    orvane::tools::CatchInterrupts();
    orvane::tools::Session session(options);
    std::string reason;
    if (!session.Open(reason)) {
        std::cerr << "orvane-pattern: " << reason << '\n';
        // The printer got no print data: the file says so, and no file from
        // an earlier run is taken for this one's.
        size_t calls = 0;
        size_t bytes = 0;
        if (!session.SaveReceived(options.output, calls, bytes, reason)) {
            std::cerr << "orvane-pattern: " << reason << '\n';
        }
        return 1;
    }
    uint16_t result = item.print(session);
    if (result == ResultOk && options.eject) {
        result = session.Raster().EjectPage();
    }
    size_t calls = 0;
    size_t bytes = 0;
    if (!session.SaveReceived(options.output, calls, bytes, reason)) {
        std::cerr << "orvane-pattern: " << reason << '\n';
        return 1;
    }
    std::cout << item.name << ": " << Hex(result) << ", " << calls << " calls, " << bytes
              << " bytes -> " << options.output << '\n';
    if (result != ResultOk || orvane::tools::Interrupted()) {
        orvane::tools::ReportEnding(session, item.name, result);
        return orvane::tools::Interrupted() ? orvane::tools::kExitInterrupted : 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    RunOptions options;
    bool list = false;
    int value = 0;
    CLI::App app{"Prints a pattern into a virtual printer and saves what the printer got",
                 "orvane-pattern"};
    app.add_flag("--list", list, "list the items");
    app.add_option("item", options.item, "the item to print");
    app.add_option("--out,-o", options.output, "stream file to write");
    app.add_option("--port", options.port, "printer port (default VTUSB001)");
    auto* dirOption = app.add_option(
        "--dir", options.folder,
        "state folder of the virtual printers (default: ORVANE_VPRINTER_DIR, else the "
        "XDG state folder)");
    auto* valueOption = app.add_option("--value", value, "stored adjustment value");
    auto* dotSizeOption = app.add_option("--dot-size", options.dotSize, "16 VSD1 .. 19 ECO")
                              ->check(CLI::Range(16, 19));
    auto* skipOption = app.add_option("--skip-caption", options.skipCaption, "skipCaption flag")
                           ->check(CLI::Range(0, 255));
    app.add_flag("--eject", options.eject, "eject the page after the item");
    app.add_option("--seed", options.seed, "seed of the dither bytes' random numbers");
    app.add_option("--paper-wait", options.paperWait,
                   "seconds to wait for paper when the printer is out of it (default: no limit)")
        ->check(CLI::Range(0, 7 * 86400));
    orvane::UseUtf8Console();
    orvane::Utf8Arguments arguments(argc, argv);
    try {
        app.parse(arguments.Count(), arguments.Values());
        if (list) {
            ListItems();
            return 0;
        }
        if (options.item.empty()) {
            throw BadArgument("name an item to print (--list shows them)");
        }
        if (dirOption->count() > 0) {
            if (const std::string problem = vprinter::StateFolderProblem(options.folder);
                !problem.empty()) {
                throw BadArgument(problem);
            }
        }
        const bool valueGiven = valueOption->count() > 0;
        if (valueGiven) {
            options.value = value;
        }
        const Item& item =
            Check(options, valueGiven, dotSizeOption->count() > 0, skipOption->count() > 0);
        return Run(options, item);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        std::cerr << "orvane-pattern: " << error.what() << '\n';
        return 2;
    } catch (const BadArgument& error) {
        std::cerr << "orvane-pattern: " << error.what() << '\n';
        return 2;
    }
}
