// A game of the program without a window or a sound card: the main window's logic on the
// headless services, started as Start Game or Test Level starts it and stepped by hand.
// kelvra-cli plays, draws and measures with it; the benchmarks and the tests build their
// games with it. It works for every game kind.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Replay.h"
#include "common/Settings.h"
#include "platform/Headless.h"
#include "session/MainControl.h"

namespace kelvra {

// The data tree: $KELVRA_DATA_DIR, the build tree's data/ beside bin/, or share/kelvra/.
std::string FindDataDir();

// The kind of a level-set file: by its magic, else by its extension, else Brickfall.
int GuessKind(const std::string& file);

// How a headless game is started.
struct TGameSetup {
  std::string file;             // the level set; empty: the set already in memory (current kind)
  int players = 1;              // 1..5 (Monsters 1..4)
  uint32_t aiMask = 0x1F;       // bit p set: the computer drives player p
  uint32_t seed = 1;            // the shared generator's state when the game starts
  int level = -1;               // 0-based level played alone as "Test Level"; -1: Start Game
  bool mirror = false;          // Brickfall's "Mirror Game" (needs an even number of players)
  bool turn = false;            // Monsters: the turn game instead of the real-time game
  bool noEnemies = false;       // Burrower: "Enemies" off, the brooders hatch nothing
  bool sounds = false;          // load the effects and feed the program's mixer
  int shownLevel = 0;           // Start Game: the level shown before it (kinds that start there)
  std::vector<uint8_t> inputs;  // each player's input device; empty: the defaults
  std::vector<TReplayOption> options;  // applied before the switches above
};

class THeadlessGame {
 public:
  THeadlessGame();
  ~THeadlessGame();
  THeadlessGame(const THeadlessGame&) = delete;
  THeadlessGame& operator=(const THeadlessGame&) = delete;

  // Loads the set (unless `setup.file` is empty) and starts the game as the program does.
  // On failure returns false with the reason in `error` and the exit code in `code`
  // (1 a set that cannot be played, 2 a setup the program refuses).
  bool Start(const TGameSetup& setup, std::string& error, int& code);

  // One game step, then the sound marks are cleared as the drawn frame that follows it
  // clears them. The frame itself is composed only on request (Compose): drawing only
  // reads the game state, so a game's course does not depend on it.
  void Step();

  // Composes the current frame into control->frame with the overlay painter.
  TKBitmap& Compose();

  bool Running() const;

  HeadlessPlatform platform;
  std::unique_ptr<TMainControl> control;

 private:
  TOptions savedOptions_;
};

}  // namespace kelvra
