// Recording a game step by step, and playing a replay back without a window, checking the
// game state against the recorded digests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/Players.h"
#include "common/Replay.h"
#include "session/HeadlessGame.h"

namespace kelvra {

// A private file in the temporary folder (`extension` with its dot), removed with its owner.
class TTempFile {
 public:
  explicit TTempFile(const std::string& extension);
  ~TTempFile();
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;
  std::string path;  // empty when none could be made
};

// Writes the level set embedded in `replay` to `file` (a temporary file) so that the
// program's loader can read it; false with `error` when it cannot.
bool WriteReplayLevelSet(const TReplay& replay, const std::string& file, std::string& error);

// Records the game of the current kind from its start.
class TReplayRecorder {
 public:
  // Right after the game started (with `seed` given to the generator before the start):
  // the level set as it is in memory, the level, players, options and seed. False with
  // the reason when the set cannot be copied.
  bool Begin(uint32_t seed, std::string& error);
  // After each game step: its input snapshot, the settings changed before it and, every
  // ReplayCheckEvery() steps, a digest.
  void AfterStep();
  // A change made between two steps that is no setting (the Monsters clock from its menu).
  void Note(const std::string& key, int32_t value);
  // Ends the recording with the digest after the last step: called before anything outside
  // a step changes the game (an abort), since a replay ends with that step.
  void Seal();
  // Seals it, then writes the file atomically.
  bool Finish(const std::string& file, std::string& error);

  TReplay replay;

 private:
  TInputCoder coder_;
  TReplaySettings settings_;
  bool sealed_ = false;
};

// How a replay played back ended.
struct TReplayOutcome {
  uint32_t steps = 0;       // steps played
  bool diverged = false;    // a digest differed
  uint32_t lastGood = 0;    // the last step whose digest matched (0: none before)
  uint32_t divergedAt = 0;  // the step whose digest differed first
  uint64_t expected = 0, actual = 0;
};

// A replay step by step, for both playbacks (headless and in the window): before each
// step the setting changes in force from it and its snapshot, after it the recorded digest.
class TReplayFeed : public TInputFeed {
 public:
  explicit TReplayFeed(const TReplay& replay)
      : replay_(replay), decoder_(replay.inputs, replay.steps) {}

  // The changes in force from the coming step, then its snapshot (all zero past the end).
  void Next(TInputSnapshot& snapshot) override;
  // After a step: false when a digest recorded for it differs from the state now.
  bool CheckStep();
  uint32_t Played() const { return played_; }      // steps fed
  uint32_t LastGood() const { return lastGood_; }  // the last step whose digest matched
  uint64_t expected = 0, actual = 0;               // the digests of a check that failed

 protected:
  const TReplay& replay_;

 private:
  TInputDecoder decoder_;
  uint32_t played_ = 0, lastGood_ = 0;
  size_t change_ = 0, check_ = 0;  // the next of replay_.changes and replay_.checks
};

// Plays a replay with the headless game: the snapshots come from the replay instead of the
// platform.
class TReplayPlayer : public TReplayFeed {
 public:
  explicit TReplayPlayer(const TReplay& replay) : TReplayFeed(replay) {}
  ~TReplayPlayer() override;
  TReplayPlayer(const TReplayPlayer&) = delete;
  TReplayPlayer& operator=(const TReplayPlayer&) = delete;

  // Loads the embedded set and starts the recorded game (error and code as
  // THeadlessGame::Start gives them).
  bool Start(THeadlessGame& game, std::string& error, int& code);
  // Plays every recorded step as fast as it can, stopping at the first digest that
  // differs. `beforeStep` (tests) is called with the 0-based step about to be played.
  TReplayOutcome Run(THeadlessGame& game, const std::function<void(uint32_t)>& beforeStep = {});
};

}  // namespace kelvra
