#include "platform/BackupFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace orvane {

namespace {

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

}  // namespace

std::string UserDataFolder() {
    // A relative XDG_DATA_HOME is invalid and is ignored, as the XDG rules ask.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
        return data;
    }
    return HomeFolder() + "/.local/share";
}

std::string UserStateFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
        return state;
    }
    return HomeFolder() + "/.local/state";
}

std::string BackupFolder() {
    return UserDataFolder() + "/Adjustment Program/OrvaneK51_52";
}

}  // namespace orvane
