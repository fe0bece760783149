#include "platform/Paths.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace orvane {

std::filesystem::path PathOf(std::string_view utf8) {
#ifdef _WIN32
    return std::filesystem::path(Widen(utf8));
#else
    return std::filesystem::path(utf8);
#endif
}

std::string Utf8Of(const std::filesystem::path& path) {
#ifdef _WIN32
    return Narrow(path.native());
#else
    return path.native();
#endif
}

bool IsAbsolutePath(std::string_view path) {
#ifdef _WIN32
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 2 && separator(path[0]) && separator(path[1])) {
        return true;
    }
    return path.size() >= 3 &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
           path[1] == ':' && separator(path[2]);
#else
    return !path.empty() && path.front() == '/';
#endif
}

#ifdef _WIN32
std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), count);
    return wide;
}

std::string Narrow(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int count =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), count, nullptr, nullptr);
    return utf8;
}
#endif

}  // namespace orvane
