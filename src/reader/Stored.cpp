#include "reader/Stored.h"

#include <png.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <sstream>

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

struct Input {
    const std::vector<uint8_t>* bytes;
    size_t position;
};

void Take(png_structp png, png_bytep data, png_size_t length) {
    auto* input = static_cast<Input*>(png_get_io_ptr(png));
    if (input->bytes->size() - input->position < length) {
        png_error(png, "truncated");
    }
    std::memcpy(data, input->bytes->data() + input->position, length);
    input->position += length;
}

// The chunks up to the first pixel data; the chunk's text when it is there.
// Between setjmp and the last libpng call there is only plain data, so a
// longjmp out of libpng leaves nothing to destroy.
bool ReadChunkText(png_structp png, png_infop info, std::string* text) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    png_textp texts = nullptr;
    int count = 0;
    png_get_text(png, info, &texts, &count);
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(texts[i].key, kStoredValuesKeyword) == 0 && texts[i].text != nullptr) {
            text->assign(texts[i].text, texts[i].text_length);
            return true;
        }
    }
    return false;
}

// Reads with the reader set up by setUp (its input), the stored values.
// A picture that cannot be read has no stored values: libpng says nothing.
[[noreturn]] void Fail(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void Pass(png_structp, png_const_charp) {}

template <typename SetUp>
StoredValues ReadStored(SetUp setUp) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Pass);
    if (png == nullptr) {
        return {};
    }
    png_infop info = png_create_info_struct(png);
    std::string text;
    bool found = false;
    if (info != nullptr) {
        setUp(png);
        found = ReadChunkText(png, info, &text);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return found ? ParseChunk(text) : StoredValues{};
}

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
    values = "-127 to 127";
    return value >= -127 && value <= 127;
}

void AddNote(Reading& reading, const std::string& note) {
    reading.note = reading.note.empty() ? note : reading.note + "; " + note;
}

}  // namespace

void ApplyStored(PageReading& page, const StoredValues& stored) {
    for (Reading& reading : page.readings) {
        if (!ShowsErrorLessStored(page.kind, reading.name)) {
            continue;
        }
        const auto found = stored.find(reading.name);
        if (found == stored.end()) {
            AddNote(reading,
                    "the value stored when the page was printed is not known: read as "
                    "if it were 0");
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
    if (png.size() < 8 || png_sig_cmp(png.data(), 0, 8) != 0) {
        return {};
    }
    Input input{&png, 0};
    return ReadStored([&](png_structp reader) { png_set_read_fn(reader, &input, Take); });
}

StoredValues StoredValuesOfFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return {};
    }
    png_byte signature[8] = {};
    StoredValues values;
    if (std::fread(signature, 1, sizeof signature, file) == sizeof signature &&
        png_sig_cmp(signature, 0, sizeof signature) == 0) {
        values = ReadStored([&](png_structp reader) {
            png_init_io(reader, file);
            png_set_sig_bytes(reader, sizeof signature);
        });
    }
    std::fclose(file);
    return values;
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
