// Registration of the level-set and high-score file types with the desktop: a desktop
// entry and a shared-mime-info package under the user's data folder.
#pragma once

#include <string>

namespace kelvra {

// $XDG_DATA_HOME, else ~/.local/share, with a trailing '/'.
std::string UserDataHome();

bool FileTypesRegistered(const std::string& dataHome);
// Writes (or removes) the entry and the package; `program` is the path the desktop runs
// with the file's name. Refreshes the desktop's databases when `refresh` is set and the
// tools exist. False when a file could not be written or removed.
bool RegisterFileTypes(const std::string& dataHome, const std::string& program, bool doRegister,
                       bool refresh);

}  // namespace kelvra
