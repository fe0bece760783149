#include "app/reading/PageReader.h"

#include <array>
#include <filesystem>

#include "adjust/StoredValues.h"
#include "reader/PageReading.h"
#include "reader/Stored.h"
#include "tray/PageShelf.h"
#include "vprinter/Config.h"
#include "vprinter/Store.h"

namespace orvane_app {

namespace {

constexpr std::array kKinds = {
    reader::PageKind::Bid,         reader::PageKind::HeadAngular, reader::PageKind::PfBlack,
    reader::PageKind::PfColor,     reader::PageKind::TopMargin,   reader::PageKind::FirstDot,
    reader::PageKind::PhotoSheet1, reader::PageKind::PhotoSheet2,
};

std::string TitleOfKind(const std::string& kind) {
    for (const reader::PageKind known : kKinds) {
        if (kind == reader::KindName(known)) {
            return reader::KindTitle(known);
        }
    }
    return kind;
}

constexpr const char* kFirstDotOffThePaper =
    ". If this is the first dot page, its line fell left of the paper's edge, where it does not "
    "print: write a value 10 lower than the one stored and print again.";

std::string Signed(int value) {
    return value > 0 ? "+" + std::to_string(value) : std::to_string(value);
}

PageRead Refused(std::string source, std::string why) {
    PageRead read;
    read.source = std::move(source);
    read.refused = std::move(why);
    return read;
}

// A person's line for a reading; a reading that is not sure says why and,
// when the page shows it, where the value lies and what to print next.
std::string LineOf(const reader::Reading& reading) {
    std::string line = reader::ReadingLine(reading);
    if (!reading.sure && reading.note.empty() && reading.direction != 0) {
        line += std::string(" (the value lies ") + (reading.direction > 0 ? "above" : "below") +
                " what the page shows";
        if (reading.next) {
            line += "; write " + Signed(*reading.next) + " and print again";
        }
        line += ")";
    }
    return line;
}

// The printer that the port number reaches in the state folder, or "".
std::string PortOf(const vprinter::Store& store, uint16_t number) {
    const std::vector<std::string> ports = store.PortsAnswering(number);
    return ports.size() == 1 ? ports.front() : std::string();
}

std::optional<tray::TrayPage> Newest(const std::string& folder, const std::string& port) {
    tray::PageShelf shelf(folder, port);
    shelf.Refresh();
    if (shelf.Pages().empty()) {
        return std::nullopt;
    }
    return shelf.Pages().front();
}

PageRead Read(const std::string& path, const std::string& source, const std::string& kind,
              const LastInput& last) {
    reader::PageReading page = reader::ReadPageFile(path);
    if (!page.problem.empty()) {
        // A first dot left of the paper's edge prints its line on no paper:
        // the page comes out blank. Stored lower, the line comes onto the sheet.
        const bool blankFirstDot = kind == reader::KindName(reader::PageKind::FirstDot) &&
                                   page.problem == reader::kNoPattern;
        return Refused(source, source + " was not read: " + page.problem +
                                   (blankFirstDot ? kFirstDotOffThePaper : ""));
    }
    if (kind != reader::KindName(page.kind)) {
        const std::string shown = page.kind == reader::PageKind::Unknown
                                      ? std::string("is no check page")
                                      : "shows the " + std::string(reader::KindTitle(page.kind));
        return Refused(source,
                       source + " " + shown + "; this page reads the " + TitleOfKind(kind) + ".");
    }
    const reader::StoredValues stored = reader::StoredValuesOfFile(path);
    // The head angular page is printed without the stored correction: its
    // picture keeps 0 whatever was written.
    for (const auto& [name, value] : last.written) {
        const auto kept = stored.find(name);
        if (name != "head-angular" && kept != stored.end() && kept->second != value) {
            return Refused(source, source + " was printed with " + name + "=" +
                                       std::to_string(kept->second) +
                                       " stored, before the last Input wrote " +
                                       std::to_string(value) + ": print the page again.");
        }
    }
    reader::ApplyStored(page, stored);
    PageRead read;
    read.source = source;
    read.title = reader::KindTitle(page.kind);
    for (const reader::Reading& reading : page.readings) {
        read.values.push_back(
            {reading.name, reading.value, reading.sure && !reading.ng, LineOf(reading)});
    }
    return read;
}

}  // namespace

bool PageReaderBuilt() {
    return true;
}

PageRead ReadNewestPage(const PrinterPages& printer, const std::string& kind,
                        const LastInput& last) {
    const vprinter::Store store(printer.stateFolder);
    const std::string port = PortOf(store, printer.portNumber);
    if (port.empty()) {
        return Refused({}, "No virtual printer in " + printer.stateFolder +
                               " answers the open port: open a picture instead.");
    }
    vprinter::PrinterConfig config;
    if (store.LoadConfig(port, config) && printer.modelCode != 255 &&
        adjust::ModelCodeOfName(config.model) != printer.modelCode) {
        return Refused({}, "The printer on " + port + " is an " + config.model +
                               ": its pages are not read for the model chosen.");
    }
    const std::optional<tray::TrayPage> newest = Newest(printer.stateFolder, port);
    if (!newest) {
        return Refused({}, "The printer on " + port + " has printed no page yet: press Print.");
    }
    if (last.newestPage && newest->number <= *last.newestPage) {
        return Refused(newest->name, newest->name +
                                         ", the newest page, was printed before the last "
                                         "Input: print the page again.");
    }
    return Read(newest->path, newest->name, kind, last);
}

PageRead ReadPictureFile(const std::string& path, const std::string& kind, const LastInput& last) {
    return Read(path, std::filesystem::path(path).filename().string(), kind, last);
}

unsigned long NewestPageNumber(const PrinterPages& printer) {
    const vprinter::Store store(printer.stateFolder);
    const std::string port = PortOf(store, printer.portNumber);
    if (port.empty()) {
        return 0;
    }
    const std::optional<tray::TrayPage> newest = Newest(printer.stateFolder, port);
    return newest ? newest->number : 0;
}

}  // namespace orvane_app
