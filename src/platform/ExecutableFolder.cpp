#include "platform/ExecutableFolder.h"

#include <unistd.h>

#include <array>

namespace orvane {

std::string FolderOfPath(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return {};
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

std::string ExecutableFolder() {
    std::array<char, 4096> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return {};
    }
    return FolderOfPath(std::string(buffer.data(), static_cast<size_t>(length)));
}

}  // namespace orvane
