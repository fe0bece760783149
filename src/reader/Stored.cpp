#include "reader/Stored.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>

#include "platform/Files.h"

namespace reader {

namespace {

// The quantities a page picture keeps, as the printer names them.
constexpr std::array<const char*, 13> kQuantities = {
    "bid-eco-black",  "bid-eco-color",  "bid-vsd1-black", "bid-vsd1-color", "bid-vsd2-black",
    "bid-vsd2-color", "bid-vsd3-black", "bid-vsd3-color", "head-angular",   "pf-black",
    "pf-color",       "top-margin",     "first-dot"};

bool KnownQuantity(const std::string& name) {
    for (const char* known : kQuantities) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

bool SignedByte(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const char* first = text.data();
    if (first != end && *first == '+') {
        ++first;
        if (first != end && *first == '-') {
            return false;
        }
    }
    const auto [stop, error] = std::from_chars(first, end, value);
    return first != end && error == std::errc() && stop == end && value >= -128 && value <= 127;
}

// The chunk's lines that are NAME=VALUE of a quantity; others are passed over.
StoredValues ParseChunk(const std::string& text) {
    StoredValues values;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::string name;
        int value = 0;
        std::string problem;
        if (ParseStoredValue(line, name, value, problem)) {
            values[name] = value;
        }
    }
    return values;
}

// The text of the picture's chunk of stored values. The chunks are walked
// from the signature to the first pixel data, before which the printer
// writes its text; a chunk whose check sum is wrong is passed over.
std::optional<std::string> ChunkText(const std::vector<uint8_t>& png) {
    static constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P',  'N',  'G',
                                                          '\r', '\n', 0x1A, '\n'};
    if (png.size() < kSignature.size() ||
        !std::equal(kSignature.begin(), kSignature.end(), png.begin())) {
        return std::nullopt;
    }
    const std::string_view keyword = kStoredValuesKeyword;
    for (size_t at = kSignature.size(); png.size() - at >= 12;) {
        const uint8_t* chunk = png.data() + at;
        const uint32_t length = uint32_t{chunk[0]} << 24 | uint32_t{chunk[1]} << 16 |
                                uint32_t{chunk[2]} << 8 | chunk[3];
        if (length > png.size() - at - 12) {
            return std::nullopt;
        }
        const std::string_view type(reinterpret_cast<const char*>(chunk + 4), 4);
        if (type == "IDAT" || type == "IEND") {
            return std::nullopt;
        }
        const uint8_t* sum = chunk + 8 + length;
        const uint32_t expected =
            uint32_t{sum[0]} << 24 | uint32_t{sum[1]} << 16 | uint32_t{sum[2]} << 8 | sum[3];
        if (type == "tEXt" && crc32(0, chunk + 4, length + 4) == expected) {
            const std::string_view data(reinterpret_cast<const char*>(chunk + 8), length);
            if (data.size() > keyword.size() && data.substr(0, keyword.size()) == keyword &&
                data[keyword.size()] == '\0') {
                return std::string(data.substr(keyword.size() + 1));
            }
        }
        at += 12 + size_t{length};
    }
    return std::nullopt;
}

// The printer writes its text chunk right after the header and palette.
constexpr size_t kTextWithin = 64 << 10;

// The readings that show the error less the stored value, by page.
bool ShowsErrorLessStored(PageKind kind, const std::string& name) {
    switch (kind) {
        case PageKind::HeadAngular:
            return name == "head-angular";
        case PageKind::TopMargin:
            return name == "top-margin";
        case PageKind::FirstDot:
            return name == "first-dot";
        case PageKind::PhotoSheet2:
            return name == "top-margin" || name == "first-dot";
        case PageKind::PhotoSheet1:
            // Every item's choices are steps from the stored value X.
            return true;
        default:
            return false;
    }
}

// Whether the page's input writes the value; else what it writes.
bool Writable(const std::string& name, int value, std::string& values) {
    if (name == "head-angular") {
        values = "-3, 0 or 3";
        return value == -3 || value == 0 || value == 3;
    }
    if (name == "top-margin") {
        values = "-40, 0 or 40";
        return value == -40 || value == 0 || value == 40;
    }
    const auto within = [&](int bound, const char* text) {
        values = text;
        return value >= -bound && value <= bound;
    };
    if (name.starts_with("pf-")) {
        return within(4, "-4 to 4");
    }
    if (name.starts_with("bid-")) {
        return within(36, "-36 to 36");
    }
    return within(127, "-127 to 127");
}

void AddNote(Reading& reading, const std::string& note) {
    reading.note = reading.note.empty() ? note : reading.note + "; " + note;
}

// Moves the values a reading that is not sure names to print with next by
// the stored value, in its note as well. Where one of them is no value the
// page's input takes, the note says where the value lies and what the input
// takes instead of advising it, and next keeps only a value it takes.
void MoveWay(Reading& reading, int by) {
    if (!reading.next || by == 0) {
        return;
    }
    const std::string before = WayText(reading);
    *reading.next += by;
    if (reading.other) {
        *reading.other += by;
    }
    if (before.empty() || !reading.note.ends_with(before)) {
        return;
    }
    reading.note.resize(reading.note.size() - before.size());
    const std::string way = WayText(reading);
    std::string values;
    const bool nextTaken = Writable(reading.name, *reading.next, values);
    const bool otherTaken = !reading.other || Writable(reading.name, *reading.other, values);
    if (nextTaken && otherTaken) {
        reading.note += way;
        return;
    }
    reading.note += way.starts_with("the value lies")
                        ? way.substr(0, way.find(": "))
                        : "the value lies near " + std::to_string(*reading.next);
    reading.note += ", and the input takes only " + values;
    if (reading.other && (nextTaken || otherTaken)) {
        const int taken = nextTaken ? *reading.next : *reading.other;
        const int past = nextTaken ? *reading.other : *reading.next;
        reading.direction = past > taken ? 1 : -1;
        reading.next = taken;
    } else {
        reading.next.reset();
    }
    reading.other.reset();
}

}  // namespace

void ApplyStored(PageReading& page, const StoredValues& stored) {
    for (Reading& reading : page.readings) {
        if (!ShowsErrorLessStored(page.kind, reading.name)) {
            continue;
        }
        const auto found = stored.find(reading.name);
        // The program prints the head angular page without the stored tilt
        // correction (the virtual printer's picture says head-angular=0):
        // without a stored value its straight mark is the value to write.
        const bool uncorrected = page.kind == PageKind::HeadAngular;
        if (found == stored.end() && uncorrected) {
            continue;
        }
        if (found == stored.end()) {
            // The page shows the error less a value that is not known:
            // taking it as 0 would be a guess.
            reading.sure = false;
            std::string note = kStoredNotKnown;
            note.append("; read as if it were 0");
            AddNote(reading, note);
            continue;
        }
        const int inForce = found->second;
        if (reading.ng) {
            if (inForce != 0) {
                reading.sure = false;
                AddNote(reading, "the end mark is best with " + std::to_string(inForce) +
                                     " stored: the value to write cannot be told from it");
            }
            continue;
        }
        const int shown = reading.value;
        reading.value = shown + inForce;
        MoveWay(reading, inForce);
        std::string values;
        if (reading.sure && !Writable(reading.name, reading.value, values)) {
            reading.sure = false;
            AddNote(reading, "the page shows " + std::to_string(shown) + " with " +
                                 std::to_string(inForce) +
                                 " stored: " + std::to_string(reading.value) +
                                 " is not a value to write (" + values + ")");
        }
    }
}

StoredValues StoredValuesOfPng(const std::vector<uint8_t>& png) {
    const auto text = ChunkText(png);
    return text ? ParseChunk(*text) : StoredValues{};
}

StoredValues StoredValuesOfFile(const std::string& path) {
    // Nothing from what is no regular file (a FIFO, a device).
    std::vector<uint8_t> start;
    orvane::ReadFileStart(path, kTextWithin, start);
    return StoredValuesOfPng(start);
}

bool ParseStoredValue(const std::string& text, std::string& name, int& value,
                      std::string& problem) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos) {
        problem = "\"" + text + "\" is not NAME=VALUE";
        return false;
    }
    name = text.substr(0, equals);
    if (!KnownQuantity(name)) {
        problem = "\"" + name + "\" is no adjustment value (head-angular, top-margin, first-dot, " +
                  "pf-black, pf-color, bid-<eco|vsd1|vsd2|vsd3>-<black|color>)";
        return false;
    }
    if (!SignedByte(text.substr(equals + 1), value)) {
        problem = "the value of " + name + " is no whole number from -128 to 127";
        return false;
    }
    return true;
}

}  // namespace reader
