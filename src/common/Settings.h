// The settings file: SettingsTransfer walks every stored setting in a fixed order to load
// or save it, and the names of files inside it.
#pragma once

#include <cstdint>
#include <string>

#include "common/Options.h"

namespace kelvra {

class TKIniFile;
class TRecentFiles;

// What the transfer needs from the main window.
struct TSettingsContext {
  TRecentFiles* recent[3] = {nullptr, nullptr, nullptr};  // nullptr: the list is skipped
  bool levelsFromFile[3] = {false, false, false};         // save "LevelsFile" only for those
  bool windowNormal = true;                     // "fMain" Left/Top only in the normal window state
  int screenWidth = 1920, screenHeight = 1080;  // for the centring default
  int windowWidth = 640, windowHeight = 440;
};

// Loads (save = false, every value limited to its valid range, the default otherwise) or
// saves every setting in the fixed order.
void SettingsTransfer(TKIniFile& ini, bool save, const TSettingsContext& context);

// Writes the settings file now. A failure is told through the message dialog, naming the
// file and the reason, since the changes of this run are lost with it (the old file stays
// as it was). False then.
bool SaveSettingsFile(TKIniFile& ini);

// Default levels file of a kind: "Levels\" + kind + "\Default." + extension, absolute.
std::string DefaultLevelsFile(int kind);

// File names in the settings file: relative to the program's folder ('/' separators) when
// inside it, else absolute. Reading accepts '\' too and gives an absolute, normalised name.
std::string ToSettingsName(const std::string& fileName);
std::string FromSettingsName(const std::string& stored);

// Where the settings file lives: beside the program when that folder is writable and the
// program is not an installed one (a build tree, a portable copy), otherwise
// $XDG_CONFIG_HOME/kelvra/ (or ~/.config/kelvra/).
std::string SettingsFilePath(const std::string& programFile);

}  // namespace kelvra
