#pragma once

#include <string>

namespace orvane {

// The folder that keeps the EEPROM backup file between the backup from the
// old main board and the restore to the new one: "Adjustment Program/
// OrvaneK51_52" under the user's data folder, $XDG_DATA_HOME when that is an
// absolute path, else ~/.local/share. Backup and restore use the same place.
std::string BackupFolder();

// $XDG_DATA_HOME when absolute, else $HOME/.local/share (the home folder of
// the account when HOME is not set); on Windows %LOCALAPPDATA% (the known
// folder) when XDG_DATA_HOME is not set.
std::string UserDataFolder();

// $XDG_STATE_HOME when absolute, else $HOME/.local/state: what the program
// keeps about its own work, such as the service log; on Windows
// %LOCALAPPDATA% when XDG_STATE_HOME is not set.
std::string UserStateFolder();

}  // namespace orvane
