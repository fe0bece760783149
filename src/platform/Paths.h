#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane {

// The program's paths are UTF-8 strings on every platform. std::filesystem
// takes a narrow string in the system's code page on Windows, not as UTF-8:
// a path is made from one through PathOf, and given back by Utf8Of.
std::filesystem::path PathOf(std::string_view utf8);
std::string Utf8Of(const std::filesystem::path& path);

// Whether path names a place without a working folder: "/..." on POSIX;
// "C:\...", "C:/..." or "\\server\..." on Windows.
bool IsAbsolutePath(std::string_view path);

#ifdef _WIN32
// UTF-8 and the UTF-16 of the Windows calls; invalid UTF-8 is replaced
// (U+FFFD), which no file of ours is named with.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
#endif

}  // namespace orvane
