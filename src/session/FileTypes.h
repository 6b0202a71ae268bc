// Registration of the level-set and high-score file types with the desktop: a desktop
// entry, a shared-mime-info package and the icons they name, under the user's data folder.
// The installed package's entry and MIME package are written by the same code
// (packaging/WriteDesktopFiles.cpp), so the two never differ.
#pragma once

#include <string>
#include <vector>

namespace kelvra {

// $XDG_DATA_HOME, else ~/.local/share, with a trailing '/'.
std::string UserDataHome();

// The shared-mime-info package of the four file types: the three level-set kinds by their
// magic and extension, the high-score files by extension.
std::string MimePackage();
// The desktop entry that opens the four types with `program` (quoted for the Exec key).
std::string DesktopEntry(const std::string& program);
// The icons the entry and the package name, as paths below a hicolor theme folder
// ("48x48/apps/kelvra.png", "16x16/mimetypes/kelvra-monsters.png", ...), every size.
std::vector<std::string> IconFiles();

bool FileTypesRegistered(const std::string& dataHome);
// Writes (or removes) the entry, the package and the icons; `program` is the path the
// desktop runs with the file's name, `iconTheme` the hicolor folder of the data tree that
// the icons are copied from. Unregistering removes exactly the files registering wrote.
// Refreshes the desktop's databases when `refresh` is set and the tools exist. False when a
// file could not be written or removed.
bool RegisterFileTypes(const std::string& dataHome, const std::string& program,
                       const std::string& iconTheme, bool doRegister, bool refresh);

}  // namespace kelvra
