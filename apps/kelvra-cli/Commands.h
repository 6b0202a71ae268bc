// The commands of kelvra-cli, callable from tests: each writes its report to `out`, every
// message (its own and its dialogs') once to `err`, and returns the process exit code.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "session/HeadlessGame.h"

namespace kelvra {

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// "info FILE": the level set's kind, version, levels, lock, texts and per-level summary.
int InfoCommand(const std::string& file, std::ostream& out, std::ostream& err);

// "render FILE --level N --out PICTURE": the frame of level N (from 1), game idle, no editor,
// as a BMP, JPEG or PNG by the extension of PICTURE (another extension: exit code 2).
int RenderCommand(const std::string& file, int level, const std::string& picture,
                  std::ostream& err);

// "play FILE ...": a whole game without a window.
constexpr int64_t kMaxPlaySteps = 1000000000;
struct TPlayOptions {
  TGameSetup setup;
  int64_t steps = -1;          // --steps N; -1 when not given
  bool untilEnd = false;       // --until-end: until the game ends, at most maxSteps steps
  bool oneLevel = false;       // --one-level: with --until-end, also when a level is done
  int64_t maxSteps = 1000000;  // --max-steps N
  std::string framesDir;       // --frames DIR: a picture every `every` steps
  int64_t every = 1;           // --every K
  std::string soundOut;        // --sound-out WAVE: the game's sound effects, 16-bit stereo
  std::string recordFile;      // --record FILE: the game as a replay
};
// The options after "play"; false with a message in `error` for anything unusable.
bool ParsePlayArgs(const std::vector<std::string>& args, TPlayOptions& options, std::string& error);
// Plays and prints the last line "state=... level=N steps=... scores=... digest=..." (N from 1).
// Exit codes: 0 done, 1 a file could not be read or written, 2 a setup the program refuses,
// 3 --until-end stopped at --max-steps.
int PlayCommand(const TPlayOptions& options, std::ostream& out, std::ostream& err);
// The name of a GameState value: "Idle", "Playing", ... "AllLevelsDone".
const char* GameStateName(int state);
// The last line of "play" and "replay" for the current game after `steps` steps (a Monsters
// game first prints moves=N).
void PrintGameEnd(std::ostream& out, int64_t steps);

// "replay FILE": plays a replay as fast as it can, checking every recorded digest, and
// prints the last line of "play". Exit codes: 0 the game went as recorded, 1 a file that
// cannot be read (a damaged replay) or played, 2 a bad command line, 4 the game diverged
// from the recording (the step is told on standard error).
constexpr int kReplayDiverged = 4;
int ReplayCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// "bench [--quick]": steps per second of each game (a typical and a worst-case field) and
// composed frames per second.
int BenchCommand(bool quick, std::ostream& out, std::ostream& err);

}  // namespace kelvra
