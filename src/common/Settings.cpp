// Every stored option with its default and the transfer that loads or saves them all.
#include "common/Settings.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <limits>

#include "base/KIniFile.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/RecentFiles.h"

namespace kelvra {

TOptions gOptions;

const uint16_t kDefaultKeyMap[4][6] = {
    {0x25, 0x26, 0x27, 0x28, 0x11, 0x10},  // arrows, Ctrl, Shift
    {0x41, 0x57, 0x44, 0x53, 0x09, 0xC0},  // A W D S, Tab, the key left of 1
    {0x4A, 0x49, 0x4C, 0x4B, 0x48, 0x59},  // J I L K, H, Y
    {0x61, 0x65, 0x63, 0x62, 0x64, 0x67},  // numeric keypad 1 5 3 2, 4, 7
};

const uint32_t kDefaultPlayerColour[5] = {0x00DF00, 0x003FFF, 0xFF7F00, 0x00EFEF, 0xEFEF00};

std::string DefaultLevelsFile(int kind) {
  return AbsoluteFromProgram(std::string("Levels/") + KindName(kind) + "/Default." +
                             KindExtension(kind));
}

namespace {

// Absolute and lexically normal ("a/./b/../c" -> "a/c"); the working folder completes a
// relative program folder.
std::string NormalAbsolute(const std::string& name) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(name), ec);
  if (ec) p = std::filesystem::path(name);
  return p.lexically_normal().string();
}

}  // namespace

std::string ToSettingsName(const std::string& fileName) {
  std::string name = NormalAbsolute(AbsoluteFromProgram(fileName));
  std::string dir = NormalAbsolute(ProgramDir());
  if (dir.empty() || dir.back() != '/') dir += '/';
  if (name.size() > dir.size() && name.compare(0, dir.size(), dir) == 0)
    return name.substr(dir.size());
  return name;
}

std::string FromSettingsName(const std::string& stored) {
  return NormalAbsolute(AbsoluteFromProgram(NativePath(stored)));
}

std::string SettingsFilePath(const std::string& programFile) {
  std::string program = NativePath(programFile);
  std::string name = ChangeFileExt(ExtractFileName(program), ".ini");
  size_t slash = program.rfind('/');
  std::string dir = slash == std::string::npos ? std::string("./") : program.substr(0, slash + 1);
  if (access(dir.c_str(), W_OK) == 0) return dir + name;

  // An installed program: the user's configuration folder, made on first use so that the
  // settings can be saved at the end of the run.
  std::string config;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') {
    config = xdg;
  } else {
    const char* home = std::getenv("HOME");
    config = std::string(home && home[0] ? home : ".") + "/.config";
  }
  config += "/kelvra/";
  std::error_code ec;
  std::filesystem::create_directories(config, ec);
  return config + name;
}

namespace {

// Loads or saves one integer setting; a loaded value outside lo..hi gives the default.
struct TTransfer {
  TKIniFile& ini;
  bool save;

  void Int(const std::string& section, const std::string& key, int32_t& value, int32_t def,
           int32_t lo = std::numeric_limits<int32_t>::min(),
           int32_t hi = std::numeric_limits<int32_t>::max()) {
    if (save) {
      ini.Int(section, key, true, value);
      return;
    }
    int32_t v = ini.Int(section, key, false, def);
    value = v < lo || v > hi ? def : v;
  }
  template <typename T>
  void Small(const std::string& section, const std::string& key, T& value, int32_t def, int32_t lo,
             int32_t hi) {
    int32_t v = value;
    Int(section, key, v, def, lo, hi);
    if (!save) value = T(v);
  }
  void Flag(const std::string& section, const std::string& key, uint8_t& value, bool def) {
    if (save) {
      ini.Bool(section, key, true, value != 0);
      return;
    }
    value = ini.Bool(section, key, false, def) ? 1 : 0;
  }
  // A blank or missing string gives the default.
  void Str(const std::string& section, const std::string& key, std::string& value,
           const std::string& def) {
    if (save) {
      ini.Str(section, key, true, value);
      return;
    }
    std::string v = ini.Str(section, key, false, std::string());
    value = v.find_first_not_of(" \t") == std::string::npos ? def : v;
  }
};

const char* const kKeyNames[kKeysPerMap] = {"Left", "Up", "Right", "Down", "Fire1", "Fire2"};

}  // namespace

void SettingsTransfer(TKIniFile& ini, bool save, const TSettingsContext& context) {
  TTransfer t{ini, save};
  const std::string opt = "Options";

  t.Small(opt, "GameKind", gCom.kind, 0, 0, kKinds - 1);

  for (int k = 0; k < kKinds; ++k) {
    if (context.recent[k]) context.recent[k]->Transfer(ini, KindName(k), save);
  }

  for (int k = 0; k < kKinds; ++k) {
    const std::string kind = KindName(k);
    if (!save) {
      std::string stored = ini.Str(opt, "LevelsFile" + kind, false, std::string());
      gOptions.levelsFile[k] = stored.find_first_not_of(" \t") == std::string::npos
                                   ? DefaultLevelsFile(k)
                                   : FromSettingsName(stored);
    } else if (context.levelsFromFile[k]) {
      // The set now open is the one to reopen next time; gOptions follows it.
      const TKindState& s = gCom.k[k];
      if (s.origin == loFile && !s.fileName.empty()) gOptions.levelsFile[k] = s.fileName;
      if (!gOptions.levelsFile[k].empty())
        ini.Str(opt, "LevelsFile" + kind, true, ToSettingsName(gOptions.levelsFile[k]));
    }
    t.Int(opt, "NowPlayers" + kind, gCom.k[k].playersMinusOne, 1, 0, kPlayers - 1);
  }

  if (context.windowNormal) {
    // Truncation toward zero, as C++ division does.
    t.Int("fMain", "Left", gOptions.mainLeft, (context.screenWidth - context.windowWidth) / 2);
    t.Int("fMain", "Top", gOptions.mainTop, (context.screenHeight - context.windowHeight) / 2);
  }

  for (int m = 0; m < kKeyMaps; ++m) {
    const std::string sec = "Keyboard" + std::to_string(m + 1);
    for (int c = 0; c < kKeysPerMap; ++c)
      t.Small(sec, kKeyNames[c], gCom.keyMap[m][c], kDefaultKeyMap[m][c], 1, 255);
  }

  for (int p = 0; p < kPlayers; ++p) {
    const std::string sec = "Player" + std::to_string(p + 1);
    TPlayer& pl = gCom.player[p];
    t.Flag(sec, "AI", pl.ai, p != 0);
    t.Small(sec, "Input", pl.input, p, 0, 5);
    // Colours are 0x00BBGGRR; a stored high byte is dropped.
    int32_t colour = int32_t(pl.colour & 0xFFFFFF);
    t.Int(sec, "Color", colour, int32_t(kDefaultPlayerColour[p]));
    if (!save) pl.colour = uint32_t(colour) & 0xFFFFFF;
  }

  t.Str(opt, "PlayerName", gOptions.playerName, "Unknown");
  t.Int(opt, "GameTick", gOptions.gameTick, 28, 1, 1000);
  t.Int(opt, "ProcessPriority", gOptions.processPriority, 1, 0, 3);
  t.Int(opt, "ThreadPriority", gOptions.threadPriority, 3, 0, 6);
  t.Int(opt, "DelayTime", gOptions.delayTime, 20, 0, 1000);
  t.Flag(opt, "FullScreen", gOptions.fullScreen, true);
  t.Int(opt, "FullScreenBits", gOptions.fullScreenBits, 32, 8, 32);
  if (!save && gOptions.fullScreenBits % 8 != 0) gOptions.fullScreenBits = 32;
  t.Flag(opt, "WaitRetrace", gOptions.waitRetrace, true);
  t.Flag(opt, "Sounds", gOptions.sounds, true);
  t.Flag(opt, "ReduceSounds", gOptions.reduceSounds, true);
  t.Flag(opt, "Sound16bits", gOptions.sound16bits, false);
  t.Int(opt, "SoundFrequency", gOptions.soundFrequency, 22050, 1, 100000);
  t.Flag(opt, "SoundStereo", gOptions.soundStereo, true);
  t.Flag(opt, "Music", gOptions.music, true);
  // Positions of the high-score window (shared with the settings dialog) and of the game
  // information window; -1 stands for the window's design position.
  t.Int(opt, "ScoresLeft", gOptions.scoresLeft, -1);
  t.Int(opt, "ScoresTop", gOptions.scoresTop, -1);
  t.Int(opt, "GameInfoLeft", gOptions.gameInfoLeft, -1);
  t.Int(opt, "GameInfoTop", gOptions.gameInfoTop, -1);
  // Whole zoom factor of the window, 1..4; 0 picks the largest that fits on the screen.
  t.Int(opt, "Zoom", gOptions.zoom, 0, 0, 4);

  t.Flag("Brickfall", "MirrorGame", gCom.mirrorGame, false);

  const std::string mo = "Monsters";
  TMonstersOptions& m = gOptions.mons;
  t.Flag(mo, "Times", m.times, false);
  t.Flag(mo, "SwapPlayers", m.swapPlayers, false);
  t.Int(mo, "BonusTime", m.bonusTime, 500, 0, 10000);
  t.Int(mo, "ScoreMonster", m.scoreMonster, 100, -1000, 1000);
  t.Int(mo, "ScorePlayer", m.scorePlayer, -200, -1000, 1000);
  t.Int(mo, "ScoreHouse", m.scoreHouse, -100, -1000, 1000);
  t.Int(mo, "ScoreBonus", m.scoreBonus, 100, -1000, 1000);
  t.Flag(mo, "MonsGrating", m.grating, false);
  t.Flag(mo, "BiosKeyboard", m.biosKeyboard, false);
  t.Int(mo, "KeyboardDelay", m.keyboardDelay, 150, 0, 10000);
  t.Flag(mo, "RealTimeGame", m.realTime, true);
  t.Int(mo, "MonstersDelay", m.monstersDelay, 500, 0, 10000);
  t.Flag(mo, "AgressiveMonsters", m.aggressive, true);

  const std::string bu = "Burrower";
  t.Flag(bu, "Reborn", gOptions.burr.reborn, true);
  t.Flag(bu, "Enemies", gOptions.burr.enemies, true);
  t.Flag(bu, "Grating", gOptions.burr.grating, true);

  if (!save) ComputeHalfColours();
}

}  // namespace kelvra
