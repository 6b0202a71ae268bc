// Every stored option with its default, and SettingsTransfer, which walks them all in a
// fixed order to load or save the settings file.
#pragma once

#include <cstdint>
#include <string>

namespace kelvra {

class TKIniFile;
class TRecentFiles;

struct TMonstersOptions {
  uint8_t times = 0;           // "Times"
  uint8_t swapPlayers = 0;     // "SwapPlayers"
  int32_t bonusTime = 500;     // ms, 0..10000
  int32_t scoreMonster = 100;  // -1000..1000
  int32_t scorePlayer = -200;
  int32_t scoreHouse = -100;
  int32_t scoreBonus = 100;
  uint8_t grating = 0;  // "MonsGrating"
  uint8_t biosKeyboard = 0;
  int32_t keyboardDelay = 150;  // ms, 0..10000
  uint8_t realTime = 1;         // "RealTimeGame"
  int32_t monstersDelay = 500;  // ms, 0..10000
  uint8_t aggressive = 1;       // "AgressiveMonsters"
  uint8_t blackSquares = 0;     // not stored: off in every run
};

struct TBurrowerOptions {
  uint8_t reborn = 1;
  uint8_t enemies = 1;
  uint8_t grating = 1;
};

// Options of the "Options" section and window positions. Game-state items that are also
// settings (kind, player counts, players, key maps, mirror game) live in gCom.
struct TOptions {
  std::string levelsFile[3];  // absolute names
  std::string playerName = "Unknown";
  int32_t gameTick = 28;        // ms per game step, 1..1000
  int32_t processPriority = 1;  // 0 Idle, 1 Normal, 2 High, 3 Realtime
  int32_t threadPriority = 3;   // 0 Idle .. 6 Time Critical
  int32_t delayTime = 20;       // draw delay in ms, 0..1000
  uint8_t fullScreen = 1;
  int32_t fullScreenBits = 32;  // 8, 16, 24 or 32
  uint8_t waitRetrace = 1;
  uint8_t sounds = 1;
  uint8_t reduceSounds = 1;
  uint8_t sound16bits = 0;
  int32_t soundFrequency = 22050;  // 1..100000
  uint8_t soundStereo = 1;
  uint8_t music = 1;
  int32_t scoresLeft = -1, scoresTop = -1;  // -1: the window's design position
  int32_t gameInfoLeft = -1, gameInfoTop = -1;
  int32_t mainLeft = 0, mainTop = 0;  // section "fMain"
  int32_t zoom = 0;                   // window zoom 1..4, 0 automatic
  TMonstersOptions mons;
  TBurrowerOptions burr;
};
extern TOptions gOptions;

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

// Default levels file of a kind: "Levels\" + kind + "\Default." + extension, absolute.
std::string DefaultLevelsFile(int kind);
// Default key codes of mapping m (Left, Up, Right, Down, Fire1, Fire2) and player colours.
extern const uint16_t kDefaultKeyMap[4][6];
extern const uint32_t kDefaultPlayerColour[5];

// File names in the settings file: relative to the program's folder ('/' separators) when
// inside it, else absolute. Reading accepts '\' too and gives an absolute, normalised name.
std::string ToSettingsName(const std::string& fileName);
std::string FromSettingsName(const std::string& stored);

// Where the settings file lives: beside the program when that folder is writable,
// otherwise $XDG_CONFIG_HOME/kelvra/ (or ~/.config/kelvra/).
std::string SettingsFilePath(const std::string& programFile);

}  // namespace kelvra
