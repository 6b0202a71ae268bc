// A game of the program without a window or a sound card: the main window's logic on the
// headless services, started as Start Game or Test Level starts it and stepped by hand.
// kelvra-cli plays, draws and measures with it; the benchmarks build their scenes with it.
#pragma once

#include <strings.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "brickfall/BrickEffects.h"
#include "brickfall/BrickField.h"
#include "brickfall/BrickGame.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPictures.h"
#include "common/Com.h"
#include "common/Dispatch.h"
#include "common/LevelSet.h"
#include "common/Overlay.h"
#include "common/Paths.h"
#include "common/Scores.h"
#include "common/Sounds.h"
#include "platform/Headless.h"
#include "shell/MainControl.h"
#include "shell/Settings.h"

namespace kelvra {

// The data tree: $KELVRA_DATA_DIR, the build tree's data/ beside bin/, or share/kelvra/.
inline std::string FindDataDir() {
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

// The kind of a level-set file: by its magic, else by its extension, else Brickfall.
inline int GuessKind(const std::string& file) {
  char magic[4] = {};
  std::ifstream in(file, std::ios::binary);
  in.read(magic, 4);
  if (in.gcount() == 4) {
    for (int k = 0; k < kKinds; ++k)
      if (std::memcmp(magic, KindMagic(k), 4) == 0) return k;
    if (std::memcmp(magic, "BLvs", 4) == 0) return gkBrickfall;
  }
  std::string ext = ExtractFileExt(file);
  for (int k = 0; k < kKinds; ++k)
    if (strcasecmp(ext.c_str(), KindExtension(k)) == 0) return k;
  return gkBrickfall;
}

// How a headless game is started.
struct TGameSetup {
  std::string file;        // the level set; empty: the set already in memory (current kind)
  int players = 1;         // 1..5 (Monsters 1..4)
  uint32_t aiMask = 0x1F;  // bit p set: the computer drives player p
  uint32_t seed = 1;       // the shared generator's state when the game starts
  int level = -1;          // 0-based level played as "Test Level"; -1: Start Game
  bool mirror = false;     // Brickfall's "Mirror Game" (needs an even number of players)
  bool sounds = false;     // load the effects and feed the program's mixer
};

class THeadlessGame {
 public:
  THeadlessGame()
      : savedOptions_(gOptions),
        savedSoundHook_(gComHooks.playSound),
        savedInput_(gBrickInputSource) {
    SetPlatform(&platform);
    gBrickInputSource = nullptr;  // human players read their controls (none are pressed)
    gOptions = TOptions{};        // never the user's settings: a run is the same everywhere
    gOptions.fullScreen = 0;
    gOptions.music = 0;
  }
  ~THeadlessGame() {
    if (control) {
      control->Shutdown(nullptr);
      control.reset();
    } else {
      for (int k = 0; k < kKinds; ++k) KindFreeLevelSet(k);
    }
    gComHooks.playSound = savedSoundHook_;
    gBrickInputSource = savedInput_;
    gOptions = savedOptions_;
    SetPlatform(nullptr);
  }
  THeadlessGame(const THeadlessGame&) = delete;
  THeadlessGame& operator=(const THeadlessGame&) = delete;

  // Loads the set (unless `setup.file` is empty) and starts the game as the program does.
  // On failure returns false with the reason in `error` and the exit code in `code`
  // (1 a set that cannot be played, 2 a setup the program refuses).
  bool Start(const TGameSetup& setup, std::string& error, int& code) {
    code = 1;
    gOptions.sounds = setup.sounds;
    gOptions.sound16bits = 1;
    gOptions.soundStereo = 1;
    if (!setup.file.empty()) {
      ResetCom();
      gCom.kind = uint8_t(GuessKind(setup.file));
      if (!LoadLevelSet(setup.file)) {
        error = "cannot load the level set " + setup.file;
        return false;
      }
    }
    const int k = gCom.kind;
    const int levels = KindLevelCount(k);
    if (levels <= 0) {
      error = "the level set has no levels";
      return false;
    }
    code = 2;
    if (setup.level >= levels) {
      error = "the set has " + std::to_string(levels) + " levels (0.." +
              std::to_string(levels - 1) + "), not a level " + std::to_string(setup.level);
      return false;
    }
    if (k == gkMonsters && setup.players > 4) {
      error = "Monsters takes at most 4 players";
      return false;
    }
    if (setup.mirror && (k != gkBrickfall || setup.players % 2 != 0)) {
      error = "--mirror is Brickfall's and needs an even number of players";
      return false;
    }
    if (setup.level >= 0 && Cur().header.lock == kLocked) {
      error = "the set is locked: its levels cannot be played as Test Level";
      return false;
    }

    control = std::make_unique<TMainControl>();
    control->Startup({}, nullptr);
    gCom.mouseX = gCom.mouseY = -1;  // no pointer in the field
    Cur().playersMinusOne = setup.players - 1;
    for (int p = 0; p < kPlayers; ++p) gCom.player[p].ai = uint8_t((setup.aiMask >> p) & 1);
    gCom.mirrorGame = setup.mirror;
    if (setup.level >= 0) {  // as Next Level / Last Level choose it
      Cur().levelIndex = setup.level;
      KindShowLevel(k);
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

  // One game step, then what the drawn frame that follows it checks: its sound marks are
  // cleared and the game-over show ends when its countdown has run out. The frame itself
  // is composed only on request (Compose), since nothing in the game reads it.
  void Step() {
    control->MoveTick();
    ClearSoundMarks();
    HighScoreCheck();
  }

  // Composes the current frame into control->frame with the overlay painter. Drawing
  // never changes the game: the generator is kept as it was.
  TKBitmap& Compose() {
    const uint32_t seed = gCom.randSeed;
    DrawOverlay(control->frame);
    gCom.randSeed = seed;
    return control->frame;
  }

  bool Running() const { return gCom.k[gCom.kind].running != 0; }

  HeadlessPlatform platform;
  std::unique_ptr<TMainControl> control;

 private:
  TOptions savedOptions_;
  std::function<void(int, int)> savedSoundHook_;
  std::function<TBrickInput(int)> savedInput_;
};

// The Brickfall game state a scene returns to: run-time tables, game values, effects and
// the shared records.
struct TBrickSnapshot {
  void Take() {
    field = std::make_unique<TBrickField>(gBrick);
    game = gBrickGame;
    effects = std::make_unique<TBrickEffects>(gBrickEffects);
    com = std::make_unique<TCom>(gCom);
  }
  void Restore() const {
    gBrick = *field;
    gBrickGame = game;
    gBrickEffects = *effects;
    gCom = *com;
  }
  std::unique_ptr<TBrickField> field;
  TBrickGame game{};
  std::unique_ptr<TBrickEffects> effects;
  std::unique_ptr<TCom> com;
};

constexpr int kWorstCaseWalls = kBrickFieldWalls;  // 1536
constexpr int kWorstCaseBalls = kBrickBalls;       // 32

// Makes the current kind Brickfall with a new set of one level holding 1536 White walls
// (48 columns of 32 rows over the upper two thirds of the field).
inline void MakeWorstCaseSet() {
  ResetCom();
  gCom.kind = gkBrickfall;
  NewLevelSet();
  TWalls& walls = gBrickLevels[0].Walls();
  walls.clear();
  for (int i = 0; i < kWorstCaseWalls; ++i) {
    TWall w{};
    w.x = 8 + (i % 48) * 10;
    w.y = 8 + (i / 48) * 8;
    w.shape = 0;
    w.colour = 5;  // White: survives five hits
    walls.push_back(w);
  }
}

// After the game started: all 32 ball slots fly, shared by the players round the table,
// and no ball is ever lost (undead balls), so every step tests every ball against every
// wall.
inline void LaunchWorstCaseBalls() {
  const int players = gCom.k[gkBrickfall].playersMinusOne + 1;
  const TPictureSize size = gBrickPictures.ball[1];
  for (TBrickPlayer& p : gBrick.players) p.ballsInFlight = 0;
  for (int i = 0; i < kWorstCaseBalls; ++i) {
    TBrickBall& b = gBrick.balls[i];
    b = TBrickBall{};
    b.state = kBallFlying;
    b.owner = i % players;
    b.size = 1;
    b.width = size.width * kFxOne;
    b.height = size.height * kFxOne;
    b.x = (8 + i * 15) * kFxOne;
    b.y = (280 + (i % 5) * 16) * kFxOne;
    b.velocityX = ((i % 7) - 3) * 1500;
    b.velocityY = -7000;
    b.speedSquared = b.velocityX * b.velocityX + b.velocityY * b.velocityY;
    ++gBrick.players[b.owner].ballsInFlight;
  }
  for (int p = 0; p < players; ++p) gBrick.players[p].undeadBall = 1;
}

}  // namespace kelvra
