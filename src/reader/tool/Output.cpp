#include "reader/tool/Output.h"

#include <nlohmann/json.hpp>

namespace reader {

std::string ReadingLines(const PageReading& page) {
    std::string text;
    for (const Reading& reading : page.readings) {
        text += reading.name + ": ";
        if (!reading.sure) {
            text += "not sure";
        } else if (!reading.best.empty()) {
            text += reading.best;
        } else {
            text += reading.ValueText();
        }
        text += '\n';
    }
    return text;
}

std::string ReadingJson(const PageReading& page) {
    nlohmann::ordered_json readings = nlohmann::ordered_json::array();
    for (const Reading& reading : page.readings) {
        nlohmann::ordered_json entry;
        entry["name"] = reading.name;
        if (reading.ng) {
            entry["value"] = "NG";
        } else {
            entry["value"] = reading.value;
        }
        if (!reading.best.empty()) {
            entry["best"] = reading.best;
        }
        if (reading.step) {
            entry["step"] = *reading.step;
        }
        entry["sure"] = reading.sure;
        if (!reading.note.empty()) {
            entry["note"] = reading.note;
        }
        if (reading.direction != 0) {
            entry["direction"] = reading.direction;
        }
        if (reading.next) {
            entry["next"] = *reading.next;
        }
        readings.push_back(entry);
    }
    nlohmann::ordered_json json;
    json["page"] = KindName(page.kind);
    json["readings"] = readings;
    return json.dump() + "\n";
}

int ExitCode(const PageReading& page) {
    if (page.kind == PageKind::Unknown) {
        return 2;
    }
    return page.AllSure() ? 0 : 1;
}

}  // namespace reader
