#include "platform/ExecutableFolder.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/Paths.h"
#else
#include <unistd.h>
#endif

#include <array>

namespace orvane {

std::string FolderOfPath(const std::string& path) {
#ifdef _WIN32
    const auto slash = path.find_last_of("/\\");
    if (slash == 2 && path[1] == ':') {
        return path.substr(0, 3);  // "C:\prog.exe" -> "C:\"
    }
#else
    const auto slash = path.find_last_of('/');
#endif
    if (slash == std::string::npos) {
        return {};
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

std::string ExecutableFolder() {
#ifdef _WIN32
    std::array<wchar_t, 32768> buffer{};
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), buffer.size());
    if (length == 0 || length >= buffer.size()) {
        return {};
    }
    return FolderOfPath(Narrow(std::wstring_view(buffer.data(), length)));
#else
    std::array<char, 4096> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return {};
    }
    return FolderOfPath(std::string(buffer.data(), static_cast<size_t>(length)));
#endif
}

}  // namespace orvane
