// Replays: what decides a game (its level set, options, players, seed and the input
// snapshot of every step) with digests of the game state along the way, the file that holds
// them, and the folder of the replays the program keeps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/Com.h"
#include "common/Options.h"
#include "common/Players.h"

namespace kelvra {

struct FileFault;

// The version of the file layout. 1: the checkpoints hold GameDigest(); 2: the same state
// hashed a word at a time (GameDigest(TDigest::kWords)); 3: settings changed during the
// game are recorded too; 4: the checkpoints hash only the live entries of the state's
// tables (TDigest::kLiveWords), which is cheap enough to take one every 256 steps. All four
// are read and played.
constexpr uint16_t kReplayFormat = 4;
// Steps between two digests: 256 (7 s at 28 ms), but 1024 in formats 2 and 3.
constexpr uint32_t ReplayCheckEvery(uint16_t format = kReplayFormat) {
  return format == 2 || format == 3 ? 1024 : 256;
}
constexpr uint32_t kReplayMaxSteps = 1000000000;
constexpr uint32_t kReplayMaxSetBytes = 64u << 20;     // an embedded level set
constexpr uint32_t kReplayMaxInputBytes = 256u << 20;  // the coded snapshots
constexpr int kReplaysKept = 50;                       // the newest replays the program keeps
extern const char* const kReplayExtension;             // ".krp"

// The game state after a number of steps.
struct TReplayCheck {
  uint32_t step;  // steps done, 1..steps
  uint64_t digest;
};

// An option the steps read, by its settings section and key ("Monsters.ScoreMonster").
struct TReplayOption {
  std::string key;
  int32_t value;
};

// A setting changed during the game, in force from step `step` (0-based) on: an option by
// its key as above, "PlayerN.AI" or "PlayerN.Input" (N 1..5), or "Monsters.Clock" (the
// Monsters clock stopped, 0, or set going, 1, from its menu).
struct TReplayChange {
  uint32_t step;
  std::string key;
  int32_t value;
  bool operator==(const TReplayChange&) const = default;
};

struct TReplay {
  uint16_t format = kReplayFormat;  // decides what the checkpoints' digests are
  std::string program;              // KELVRA_VERSION of the program that recorded it
  uint8_t kind = 0;                 // GameKind
  std::string setName;              // the level set's file name then (for information)
  std::vector<uint8_t> levelSet;    // the level-set file as it was played
  uint8_t testGame = 0;             // started as Test Level, else Start Game
  int32_t level = 0;                // 0-based level index when the game started
  uint32_t seed = 0;                // the shared generator when the game started
  uint8_t players = 1;              // 1..5
  uint8_t aiMask = 0;               // bit p: the computer drives player p
  uint8_t input[kPlayers] = {};     // each player's input device (PlayerInput)
  std::vector<TReplayOption> options;
  uint32_t steps = 0;                  // steps recorded
  std::vector<uint8_t> inputs;         // the snapshots, coded as changes (TInputCoder)
  std::vector<TReplayChange> changes;  // ascending steps (format 3 on)
  std::vector<TReplayCheck> checks;    // ascending steps; the last one after the last step
};

// The options a step reads (every option of a game kind, the game tick and the draw
// delay) as they are now, and put back from a replay (unknown keys are left alone).
std::vector<TReplayOption> CurrentReplayOptions();
void ApplyReplayOptions(const std::vector<TReplayOption>& options);
bool ReplaySetsOption(OptionId id);  // one of those options

// The settings a step reads besides its input (the options above, each player's computer
// flag and input device), watched for changes during a recorded game.
class TReplaySettings {
 public:
  TReplaySettings();  // takes the values now
  // Adds a change in force from `step` on for each setting that differs from the last
  // value seen, and keeps the new values.
  void Changes(uint32_t step, std::vector<TReplayChange>& out);

 private:
  std::vector<int32_t> values_;
};
// Puts a recorded change into effect as the menu would (an option's game hears of it);
// unknown keys are left alone.
void ApplyReplayChange(const TReplayChange& change);
// Before step `step`: the changes in force from it on, `next` the first not yet applied.
void ApplyReplayChanges(const TReplay& replay, size_t& next, uint32_t step);

// The snapshots of the steps as changes: for each snapshot that differs from the one
// before, the count of unchanged steps before it, a mask of the fields that changed and
// their new values (the pointer as signed differences).
class TInputCoder {
 public:
  void Add(const TInputSnapshot& snapshot);
  std::vector<uint8_t> bytes;
  uint32_t steps = 0;

 private:
  TInputSnapshot last_{};
  uint32_t unchanged_ = 0;
};

class TInputDecoder {
 public:
  TInputDecoder(const std::vector<uint8_t>& bytes, uint32_t steps) : bytes_(bytes), steps_(steps) {}
  // The snapshot of the next step; false after the last step or on damaged data (then
  // `error` says what).
  bool Next(TInputSnapshot& snapshot);
  // Checks every entry (a fresh decoder; its cost follows the size, not the steps).
  bool Validate();
  std::string error;

 private:
  bool ReadEntry();
  const std::vector<uint8_t>& bytes_;
  uint32_t steps_;
  size_t pos_ = 0;
  uint32_t step_ = 0;                  // steps handed out
  uint32_t nextChange_ = 0;            // the step whose snapshot the next entry gives
  bool pending_ = false;               // an entry has been read for nextChange_
  TInputSnapshot current_{}, next_{};  // the last snapshot, the next entry's
};

// The file: written atomically; read with every size, count and range checked. A damaged
// file gives false with a message for the user ("... at byte N").
std::vector<uint8_t> EncodeReplay(const TReplay& replay);
bool DecodeReplay(const uint8_t* data, size_t size, TReplay& replay, std::string& error);
bool WriteReplay(const std::string& file, const TReplay& replay, FileFault& fault);
bool ReadReplay(const std::string& file, TReplay& replay, std::string& error);

// $XDG_DATA_HOME/kelvra/replays (~/.local/share/kelvra/replays without it).
std::string ReplaysDir();
// The digest a replay of `format` holds at its checkpoints, of the game state now.
uint64_t ReplayCheckDigest(uint16_t format = kReplayFormat);
// A new file name in `dir` for a game started at `dateTime` (days since 1899-12-30, as
// NowDateTime): "YYYYMMDD-HHMMSS-Kind.krp", names sorting as the games started.
std::string ReplayFileName(const std::string& dir, double dateTime, int kind);
// Removes the oldest replays of `dir` (by name) beyond the newest `keep`; other files stay.
void KeepNewestReplays(const std::string& dir, int keep = kReplaysKept);

}  // namespace kelvra
