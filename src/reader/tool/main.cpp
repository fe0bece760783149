// orvane-read-page: reads a picture of a printed check page and prints, for
// each value the page adjusts, the best choice or "not sure".
#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>

#include "reader/PageReading.h"
#include "reader/tool/Output.h"

int main(int argc, char** argv) {
    CLI::App app{"Reads a picture of a printed check page (PNG or JPEG)."};
    std::string file;
    bool json = false;
    double dpi = 0;
    app.add_option("FILE", file, "the page picture")->required();
    app.add_flag("--json", json, "print the readings as JSON");
    app.add_option("--dpi", dpi,
                   "the picture's resolution (default: from the scanned sheet's size, or its width "
                   "is 8 inches)")
        ->check(CLI::Range(50.0, 2400.0));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : 2;
    }
    const reader::PageReading page = reader::ReadPageFile(file, dpi);
    if (page.kind == reader::PageKind::Unknown) {
        std::cerr << "orvane-read-page: " << file << ": "
                  << (page.problem.empty() ? "not a check page" : page.problem) << "\n";
        if (json) {
            std::cout << reader::ReadingJson(page);
        }
        return 2;
    }
    std::cout << (json ? reader::ReadingJson(page) : reader::ReadingLines(page));
    for (const reader::Reading& reading : page.readings) {
        if (!reading.note.empty() && !json) {
            std::cerr << reading.name << ": " << reading.note << "\n";
        }
    }
    return reader::ExitCode(page);
}
