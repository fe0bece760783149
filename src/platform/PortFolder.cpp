#include "platform/PortFolder.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace orvane {

namespace {

// The names of Windows' devices that no file may have, whatever its case.
bool IsDeviceName(std::string_view name) {
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
    if (std::find(kPlain.begin(), kPlain.end(), upper) != kPlain.end()) {
        return true;
    }
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           upper[3] >= '1' && upper[3] <= '9';
}

constexpr std::string_view kColon = "%3A";

}  // namespace

std::string WindowsPortFolderName(std::string_view port) {
    std::string folder;
    for (const char c : port) {
        if (c == ':') {
            folder += kColon;
        } else {
            folder += c;
        }
    }
    if (IsDeviceName(folder)) {
        folder += '%';
    }
    return folder;
}

std::optional<std::string> PortOfWindowsFolderName(std::string_view folder) {
    const bool device = folder.ends_with('%');
    if (device) {
        folder.remove_suffix(1);
        if (!IsDeviceName(folder)) {
            return std::nullopt;
        }
    } else if (IsDeviceName(folder)) {
        return std::nullopt;
    }
    std::string port;
    for (size_t i = 0; i < folder.size(); ++i) {
        if (folder[i] != '%') {
            port += folder[i];
        } else if (folder.substr(i, kColon.size()) == kColon) {
            port += ':';
            i += kColon.size() - 1;
        } else {
            return std::nullopt;
        }
    }
    if (port.empty()) {
        return std::nullopt;
    }
    return port;
}

std::string PortFolderName(std::string_view port) {
#ifdef _WIN32
    return WindowsPortFolderName(port);
#else
    return std::string(port);
#endif
}

std::optional<std::string> PortOfFolderName(std::string_view folder) {
#ifdef _WIN32
    return PortOfWindowsFolderName(folder);
#else
    return std::string(folder);
#endif
}

}  // namespace orvane
