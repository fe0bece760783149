#include "support/TempFolder.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/CommandLine.h"
#include "platform/NativeFile.h"
#include "platform/Paths.h"

namespace testing_support {

TempFolder::TempFolder() {
#ifdef _WIN32
    // TMP (or TEMP), a fresh name made new; '/' as the program's paths have it.
    const auto base = orvane::Environment("TMP");
    std::string folder = base && !base->empty() ? *base : std::string("C:/Windows/Temp");
    std::replace(folder.begin(), folder.end(), '\\', '/');
    for (int attempt = 0; path_.empty() && attempt < 100; ++attempt) {
        const std::string name =
            folder + "/orvane-test-" + std::to_string(orvane::RandomBits(attempt) % 1000000007);
        if (CreateDirectoryW(orvane::Widen(name).c_str(), nullptr)) {
            path_ = name;
        }
    }
    if (path_.empty()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
#else
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/orvane-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
#endif
}

TempFolder::~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(orvane::PathOf(path_), error);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(orvane::PathOf(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const std::string& path, const std::string& data) {
    std::ofstream out(orvane::PathOf(path), std::ios::binary | std::ios::trunc);
    out << data;
}

}  // namespace testing_support
