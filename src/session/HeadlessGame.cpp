// The headless game driver.
#include "session/HeadlessGame.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/Paths.h"
#include "brickfall/BrickGame.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "common/Overlay.h"
#include "common/Scores.h"
#include "common/Sounds.h"
#include "session/Dispatch.h"

namespace kelvra {

std::string FindDataDir() {
  if (const char* env = std::getenv("KELVRA_DATA_DIR"); env && *env) return env;
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return ".";
  for (const char* candidate : {"../data", "../share/kelvra"}) {
    std::filesystem::path dir = exe.parent_path() / candidate;
    if (std::filesystem::is_directory(dir, ec)) return dir.lexically_normal().string();
  }
  return exe.parent_path().string();
}

int GuessKind(const std::string& file) {
  char magic[4] = {};
  std::ifstream in(file, std::ios::binary);
  in.read(magic, 4);
  if (in.gcount() == 4) {
    for (int k = 0; k < kKinds; ++k) {
      const TKindTraits& t = KindTraits(k);
      if (std::memcmp(magic, t.magic, 4) == 0) return k;
      if (t.oldMagic && std::memcmp(magic, t.oldMagic, 4) == 0) return k;
    }
  }
  std::string ext = ExtractFileExt(file);
  for (int k = 0; k < kKinds; ++k)
    if (strcasecmp(ext.c_str(), KindExtension(k)) == 0) return k;
  return gkBrickfall;
}

THeadlessGame::THeadlessGame() : savedOptions_(gOptions) {
  InstallGames();
  SetPlatform(&platform);
  SetBrickInputSource(nullptr);  // human players read their controls (none are pressed)
  gOptions = TOptions{};         // never the user's settings: a run is the same everywhere
  gOptions.fullScreen = 0;
  gOptions.music = 0;
}

THeadlessGame::~THeadlessGame() {
  if (control) {
    control->Shutdown(nullptr);
    control.reset();
  } else {
    for (int k = 0; k < kKinds; ++k) KindOps(k).FreeLevelSet();
  }
  gOptions = savedOptions_;
  SetPlatform(nullptr);
}

bool THeadlessGame::Start(const TGameSetup& setup, std::string& error, int& code) {
  code = 1;
  gOptions.sounds = setup.sounds;
  gOptions.sound16bits = 1;
  gOptions.soundStereo = 1;
  if (!setup.file.empty()) {
    ResetCom();
    gCom.kind = uint8_t(GuessKind(setup.file));
    if (!LoadLevelSet(gCom.kind, setup.file)) {
      error = "cannot load the level set " + setup.file;
      return false;
    }
  }
  const int k = gCom.kind;
  const TKindTraits& traits = KindTraits(k);
  const int levels = KindLevelCount(k);
  if (levels <= 0) {
    error = "the level set has no levels";
    return false;
  }
  code = 2;
  if (setup.level >= levels) {
    error = "the set has " + std::to_string(levels) + " levels, not a level " +
            std::to_string(setup.level + 1);  // as the user counts them
    return false;
  }
  if (setup.players > traits.maxPlayers) {
    error = std::string(traits.name) + " takes at most " + std::to_string(traits.maxPlayers) +
            " players";
    return false;
  }
  if (setup.mirror && (!traits.hasMirrorGame || setup.players % 2 != 0)) {
    error = "--mirror is Brickfall's and needs an even number of players";
    return false;
  }
  if (setup.turn && k != gkMonsters) {
    error = "--turn is the Monsters turn game";
    return false;
  }
  if (setup.noEnemies && k != gkBurrower) {
    error = "--no-enemies is Burrower's";
    return false;
  }
  if (setup.level >= 0 && Cur().header.lock == kLocked) {
    error = "the set is locked: its levels cannot be played as Test Level";
    return false;
  }

  control = std::make_unique<TMainControl>();
  control->Startup({}, nullptr);
  gCom.mouseX = gCom.mouseY = -1;  // no pointer in the field
  ApplyReplayOptions(setup.options);
  Cur().playersMinusOne = setup.players - 1;
  for (int p = 0; p < kPlayers; ++p) gCom.player[p].ai = uint8_t((setup.aiMask >> p) & 1);
  for (size_t p = 0; p < setup.inputs.size() && p < size_t(kPlayers); ++p)
    gCom.player[p].input = setup.inputs[p];
  gCom.mirrorGame = setup.mirror;
  gOptions.mons.realTime = !setup.turn;
  gOptions.burr.enemies = !setup.noEnemies;
  const int shown = setup.level >= 0 ? setup.level : setup.shownLevel;
  if (shown > 0 || setup.level >= 0) {  // as Next Level / Last Level choose it
    if (shown >= levels) {
      error = "the set has no level " + std::to_string(shown);
      return false;
    }
    Cur().levelIndex = shown;
    KindOps(k).ShowLevel();
  }
  control->UpdateMenus();
  // The kind's start jingle belongs to selecting the kind, not to the game.
  StopSounds();
  ClearSoundMarks();
  Randomize(setup.seed);
  control->Command(setup.level >= 0 ? miTestLevel : miStartGame);
  if (!Cur().running) {
    error = "the program refused to start the game";
    return false;
  }
  code = 0;
  return true;
}

void THeadlessGame::Step() {
  control->MoveTick();
  ClearSoundMarks();
}

TKBitmap& THeadlessGame::Compose() {
  DrawOverlay(control->frame, gCom.kind);
  return control->frame;
}

bool THeadlessGame::Running() const {
  return gCom.k[gCom.kind].running != 0;
}

}  // namespace kelvra
