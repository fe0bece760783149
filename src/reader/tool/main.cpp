// orvane-read-page: reads a picture of a printed check page and prints, for
// each value the page adjusts, the best choice or "not sure". The pages that
// show the error less the stored value are read with the values stored when
// they were printed: the picture's own, or those given with --stored.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "reader/PageReading.h"
#include "reader/Stored.h"
#include "reader/tool/Output.h"

int main(int argc, char** argv) {
    CLI::App app{"Reads a picture of a printed check page (PNG or JPEG)."};
    std::string file;
    bool json = false;
    double dpi = 0;
    std::vector<std::string> given;
    app.add_option("FILE", file, "the page picture")->required();
    app.add_flag("--json", json, "print the readings as JSON");
    app.add_option("--dpi", dpi,
                   "the picture's resolution (default: from the scanned sheet's size, or its width "
                   "is 8 inches)")
        ->check(CLI::Range(50.0, 2400.0));
    app.add_option("--stored", given,
                   "NAME=VALUE: the value stored when the page was printed (e.g. head-angular=3), "
                   "for a scan or over the picture's own; repeatable")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : 2;
    }
    reader::StoredValues stored = reader::StoredValuesOfFile(file);
    for (const std::string& text : given) {
        std::string name;
        int value = 0;
        std::string problem;
        if (!reader::ParseStoredValue(text, name, value, problem)) {
            std::cerr << "orvane-read-page: --stored: " << problem << "\n";
            return 2;
        }
        stored[name] = value;
    }
    if (file.empty()) {
        std::cerr << "orvane-read-page: the picture file's name is empty\n";
        return 2;
    }
    reader::PageReading page = reader::ReadPageFile(file, dpi);
    reader::ApplyStored(page, stored);
    if (page.kind == reader::PageKind::Unknown) {
        std::cerr << "orvane-read-page: " << file << ": "
                  << (page.problem.empty() ? "not a check page" : page.problem) << "\n";
        if (json) {
            std::cout << reader::ReadingJson(page);
        }
        return 2;
    }
    std::cout << (json ? reader::ReadingJson(page) : reader::ReadingLines(page));
    // Why each reading is not sure, and which way its value lies, for a
    // person; a sure one's note says what the page leaves open.
    bool storedAsked = false;
    for (const reader::Reading& reading : page.readings) {
        storedAsked =
            storedAsked || reading.note.find(reader::kStoredNotKnown) != std::string::npos;
        if (json || reading.note.empty()) {
            continue;
        }
        std::cerr << (reading.sure ? reading.name + ": " + reading.note
                                   : reader::ReadingLine(reading))
                  << "\n";
    }
    if (storedAsked && !json) {
        std::cerr << "orvane-read-page: give the values stored when the page was printed with "
                     "--stored NAME=VALUE\n";
    }
    return reader::ExitCode(page);
}
