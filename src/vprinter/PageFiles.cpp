#include "vprinter/PageFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/Files.h"
#include "platform/NativeFile.h"
#include "platform/Paths.h"
#include "vprinter/FileLock.h"
#include "vprinter/Png.h"

namespace vprinter {

namespace fs = std::filesystem;

namespace {

const char* const kNextFile = ".next";
// Page numbers have at most 9 digits.
constexpr unsigned long kMaxPage = 1000000000;
// .next holds one such number and a newline.
constexpr size_t kNextFileLimit = 16;

// The number of a page picture's name, or 0 when it is no such name.
unsigned long PageNumber(const std::string& name) {
    constexpr size_t kPrefix = 5;  // "page-"
    constexpr size_t kSuffix = 4;  // ".png"
    if (name.size() <= kPrefix + kSuffix || name.rfind("page-", 0) != 0 ||
        name.compare(name.size() - kSuffix, kSuffix, ".png") != 0) {
        return 0;
    }
    const std::string digits = name.substr(kPrefix, name.size() - kPrefix - kSuffix);
    if (digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return 0;
    }
    return std::stoul(digits);
}

}  // namespace

std::vector<std::string> ListPages(const std::string& folder) {
    std::vector<std::pair<unsigned long, std::string>> numbered;
    std::error_code error;
    for (fs::directory_iterator it(orvane::PathOf(folder), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = orvane::Utf8Of(it->path().filename());
        if (const unsigned long number = PageNumber(name); number > 0) {
            numbered.emplace_back(number, name);
        }
    }
    std::sort(numbered.begin(), numbered.end());
    std::vector<std::string> names;
    for (auto& entry : numbered) {
        names.push_back(std::move(entry.second));
    }
    return names;
}

namespace {

// The number the next picture of the folder takes: kept in .next, so that a
// page is numbered without listing the folder; without that file, one past
// the highest picture there.
unsigned long NextNumber(const std::string& folder) {
    std::string text;
    if (orvane::ReadWholeFile(folder + "/" + kNextFile, kNextFileLimit, text) ==
        orvane::FileRead::Done) {
        const unsigned long number = std::strtoul(text.c_str(), nullptr, 10);
        if (number > 0 && number < kMaxPage) {
            return number;
        }
    }
    const auto names = ListPages(folder);
    return names.empty() ? 1 : PageNumber(names.back()) + 1;
}

std::string PageName(unsigned long number) {
    char name[32];
    std::snprintf(name, sizeof name, "page-%04lu.png", number);
    return name;
}

}  // namespace

bool SavePage(const std::string& folder, Page& page, std::string& error) {
    std::error_code made;
    fs::create_directories(orvane::PathOf(folder), made);
    std::vector<uint8_t> png;
    if (!EncodePng(page, png)) {
        error = "cannot encode the picture of the page";
        return false;
    }
    // The picture is written whole under a name of its own first; under the
    // folder's lock it then takes the next number that no picture has, so
    // that two processes printing into one folder never take the same one.
    const std::string part = folder + "/.page-" + std::to_string(orvane::ProcessId()) + ".part";
    if (orvane::ReplaceFile(part, png) != orvane::FileWrite::Done) {
        error = "cannot write a picture into " + folder;
        return false;
    }
    const FileLock lock(folder + "/.lock");
    unsigned long number = NextNumber(folder);
    while (number < kMaxPage && orvane::Exists(folder + "/" + PageName(number))) {
        ++number;
    }
    const std::string name = PageName(number);
    if (number >= kMaxPage || !orvane::RenameReplacing(part, folder + "/" + name)) {
        orvane::RemoveFileName(part);
        error = "cannot write " + folder + "/" + name;
        return false;
    }
    orvane::ReplaceFile(folder + "/" + kNextFile, std::to_string(number + 1) + "\n");
    page.name = name;
    return true;
}

bool PngSize(const std::string& path, uint32_t& width, uint32_t& height) {
    std::vector<uint8_t> start;
    constexpr size_t kHead = 24;
    if (!orvane::ReadFileStart(path, kHead, start) || start.size() != kHead) {
        return false;
    }
    const uint8_t* head = start.data();
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!std::equal(kSignature, kSignature + 8, head) ||
        std::string(head + 12, head + 16) != "IHDR") {
        return false;
    }
    const auto be32 = [](const unsigned char* p) {
        return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
               static_cast<uint32_t>(p[2]) << 8 | p[3];
    };
    width = be32(head + 16);
    height = be32(head + 20);
    return true;
}

}  // namespace vprinter
