#include "platform/BackupFolder.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h:
#include <knownfolders.h>
#include <shlobj.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <optional>

#include "platform/CommandLine.h"
#include "platform/Paths.h"
#include "platform/PortList.h"

namespace orvane {

namespace {

#ifdef _WIN32
// %LOCALAPPDATA%: the user's own data of this machine, where XDG's data and
// state folders are on Linux. Windows sets no HOME.
std::string LocalAppData() {
    PWSTR path = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) {
        folder = Narrow(path);
    }
    CoTaskMemFree(path);
    return folder;
}
#else
std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* account = getpwuid(getuid());
        account != nullptr && account->pw_dir != nullptr) {
        return account->pw_dir;
    }
    return {};
}
#endif

// An environment variable that names a folder by its absolute path; a
// relative one is invalid and is ignored, as the XDG rules ask.
std::optional<std::string> AbsoluteFolderOf(const char* variable) {
    std::optional<std::string> value = Environment(variable);
    if (value && !IsAbsolutePath(*value)) {
        value.reset();
    }
    return value;
}

}  // namespace

std::string UserDataFolder() {
    if (auto data = AbsoluteFolderOf("XDG_DATA_HOME")) {
        return *data;
    }
#ifdef _WIN32
    return LocalAppData();
#else
    return HomeFolder() + "/.local/share";
#endif
}

std::string UserStateFolder() {
    if (auto state = AbsoluteFolderOf("XDG_STATE_HOME")) {
        return *state;
    }
#ifdef _WIN32
    return LocalAppData();
#else
    return HomeFolder() + "/.local/state";
#endif
}

std::string BackupFolder() {
    return UserDataFolder() + "/Adjustment Program/OrvaneK51_52";
}

std::string VirtualPrinterStateFolder() {
    if (auto dir = Environment("ORVANE_VPRINTER_DIR"); dir && !dir->empty()) {
        return *dir;
    }
    return UserStateFolder() + "/orvane-vprinter";
}

}  // namespace orvane
