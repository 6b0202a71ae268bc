// What the games and the shared services tell the session above them: one interface that
// the main window's logic implements. Nothing here waits for an answer except SaveAs.
#pragma once

#include <string>
#include <vector>

namespace kelvra {

// Sound ids the shared code requests, and the position of a sound with no place.
constexpr int kSoundNoPlace = 2147483647;
constexpr int kSoundGameStartBase = 2;  // + kind
constexpr int kSoundGameOver = 25;
constexpr int kSoundWin = 26;

class TGameEvents {
 public:
  virtual ~TGameEvents() = default;

  // The game of `kind` ended by its rules (all levels done, the players out and the
  // game-over show over).
  virtual void GameEnded(int kind) {}
  // Effect `sound` for a thing at `x` in the kind's own units (kSoundNoPlace: centred).
  virtual void SoundRequested(int kind, int sound, int x) {}
  // Level sets: opened or saved under `file`, closed, the modified flag changed.
  virtual void LevelSetOpened(int kind, const std::string& file) {}
  virtual void LevelSetClosed(int kind, const std::string& file) {}
  virtual void ModifiedChanged(int kind) {}
  // "Save As" for a new set that has no name yet: true when it was saved.
  virtual bool SaveAsRequested(int kind) { return false; }
  // Around a blocking dialog, so that the frame-rate measurement does not count it.
  virtual void DialogShown(bool begin) {}
  // A new high score was entered: show the table of `kind`.
  virtual void HighScoresChanged(int kind) {}
  // A player's colour changed (the games have recoloured already): redraw.
  virtual void PlayerColourChanged(int player) {}
};

// The events in force; until the session installs its own, ones that nobody hears (a
// level-set tool, a fuzz target).
TGameEvents& Events();
void SetEvents(TGameEvents* events);  // nullptr restores the default

// Records every event: games ended and sounds requested as counts and lists, the others
// one line each ("opened 0 FILE", "closed 0 FILE", "modified 0", "save as 0", "dialog 1",
// "scores 0", "colour 2"); answers SaveAsRequested with `saveAsAnswer`. Tests install one
// to see what was told.
class THeadlessEvents : public TGameEvents {
 public:
  void GameEnded(int kind) override { ++gamesEnded; }
  void SoundRequested(int kind, int sound, int x) override {
    sounds.push_back(sound);
    soundPositions.push_back(x);
  }
  void LevelSetOpened(int kind, const std::string& file) override;
  void LevelSetClosed(int kind, const std::string& file) override;
  void ModifiedChanged(int kind) override;
  bool SaveAsRequested(int kind) override;
  void DialogShown(bool begin) override;
  void HighScoresChanged(int kind) override;
  void PlayerColourChanged(int player) override;

  int gamesEnded = 0;
  std::vector<int> sounds;          // ids, in the order requested
  std::vector<int> soundPositions;  // the x of each
  std::vector<std::string> log;
  bool saveAsAnswer = false;
};

}  // namespace kelvra
