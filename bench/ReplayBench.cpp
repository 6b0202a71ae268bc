// Replays: playing a recorded game back against playing it headless (steps per second, the
// same game with the same inputs), and the size of a recording per minute of play for a
// scripted keyboard player and a scripted mouse player.
#include <cmath>
#include <filesystem>
#include <string>

#include "BenchUtil.h"
#include "common/GameDigest.h"
#include "common/Options.h"
#include "common/Players.h"
#include "common/Replay.h"
#include "session/ReplayGame.h"

namespace {

using namespace kelvra;
using namespace kelvra::bench;

constexpr uint32_t kSteps = 4000;  // 112 s of game at 28 ms

enum Script { kKeyboard, kMouse };

// Player 1 is a person: on the keyboard, 40 steps left, 40 right and a shot every 30 steps
// (about three key changes a second); with the mouse, the pointer always on the move along
// a slow curve and a click every 30 steps. Player 2 is the computer.
void ScriptStep(THeadlessGame& game, Script script, uint32_t i) {
  if (script == kKeyboard) {
    const uint16_t* keys = gCom.keyMap[0];
    game.platform.ReleaseKey(keys[(i / 40) % 2 ? ctLeft : ctRight]);
    game.platform.PressKey(keys[(i / 40) % 2 ? ctRight : ctLeft]);
    if (i % 30 == 0) game.platform.PressKey(keys[ctFire1]);
    if (i % 30 == 2) game.platform.ReleaseKey(keys[ctFire1]);
  } else {
    gCom.mouseX = 250 + int(200 * std::sin(i / 50.0));
    gCom.mouseY = 300 + int(60 * std::cos(i / 70.0));
    gCom.mouseButton[0] = i % 30 < 2;
  }
}

bool StartScripted(benchmark::State& state, THeadlessGame& game, int kind, Script script) {
  SetProgramDir(FindDataDir());
  TGameSetup setup;
  setup.file = DefaultLevelsFile(kind);
  setup.players = 2;
  setup.aiMask = 0x2;
  setup.inputs = {uint8_t(script == kKeyboard ? piKeyboard1 : piMouse), piKeyboard1 + 1};
  std::string error;
  int code = 0;
  if (game.Start(setup, error, code)) return true;
  state.SkipWithError(error.c_str());
  return false;
}

// Records the scripted game of `kind` into a file and reads it back; the file's size too.
bool RecordScripted(benchmark::State& state, int kind, Script script, TReplay& replay,
                    size_t& fileBytes) {
  THeadlessGame game;
  TReplayRecorder recorder;
  std::string error;
  if (!StartScripted(state, game, kind, script)) return false;
  if (recorder.Begin(1, error)) {
    for (uint32_t i = 0; i < kSteps; ++i) {
      ScriptStep(game, script, i);
      game.Step();
      recorder.AfterStep();
    }
    const std::string file =
        (std::filesystem::temp_directory_path() / "kelvra-bench-replay.krp").string();
    if (recorder.Finish(file, error) && ReadReplay(file, replay, error)) {
      fileBytes = size_t(std::filesystem::file_size(file));
      std::filesystem::remove(file);
      return true;
    }
  }
  state.SkipWithError(error.c_str());
  return false;
}

// Headless play of the scripted keyboard game, the input read from the platform each step.
void BM_PlayScripted(benchmark::State& state) {
  const int kind = int(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    THeadlessGame game;
    if (!StartScripted(state, game, kind, kKeyboard)) return;
    state.ResumeTiming();
    for (uint32_t i = 0; i < kSteps; ++i) {
      ScriptStep(game, kKeyboard, i);
      game.Step();
    }
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kSteps);
}
BENCHMARK(BM_PlayScripted)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The same game played back from its file, every digest checked (target: at least as many
// steps per second as BM_PlayScripted of the same kind).
void BM_ReplayScripted(benchmark::State& state) {
  const int kind = int(state.range(0));
  TReplay replay;
  size_t fileBytes = 0;
  if (!RecordScripted(state, kind, kKeyboard, replay, fileBytes)) return;
  for (auto _ : state) {
    state.PauseTiming();
    THeadlessGame game;
    TReplayPlayer player(replay);
    std::string error;
    int code = 0;
    if (!player.Start(game, error, code)) {
      state.SkipWithError(error.c_str());
      return;
    }
    state.ResumeTiming();
    if (player.Run(game).diverged) state.SkipWithError("the replay diverged");
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kSteps);
}
BENCHMARK(BM_ReplayScripted)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// Bytes per minute of play: the coded input, and the whole file without the embedded level
// set (target: under 2 KB a minute of keyboard play). Arguments: kind, 0 keyboard 1 mouse.
void BM_RecordingSize(benchmark::State& state) {
  const int kind = int(state.range(0));
  const Script script = state.range(1) ? kMouse : kKeyboard;
  TReplay replay;
  size_t fileBytes = 0;
  for (auto _ : state)
    if (!RecordScripted(state, kind, script, replay, fileBytes)) return;
  const double minutes = double(kSteps) * gOptions.gameTick / 60000.0;
  state.counters["input_B_per_min"] = double(replay.inputs.size()) / minutes;
  state.counters["file_B_per_min"] = double(fileBytes - replay.levelSet.size()) / minutes;
}
BENCHMARK(BM_RecordingSize)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The digest of a game 500 steps in: argument 1 is the hash, 0 GameDigest's FNV-1a (the
// golden digests), 1 the word hash of formats 2 and 3, 2 the word hash of the live entries
// a replay now records every ReplayCheckEvery() steps (its share of a replay's time is one
// of these per checkpoint).
void BM_GameDigest(benchmark::State& state) {
  THeadlessGame game;
  if (!StartDefaultSet(state, game, int(state.range(0)))) return;
  for (int i = 0; i < 500; ++i) game.Step();
  const TDigest::Mode modes[] = {TDigest::kFnvBytes, TDigest::kWords, TDigest::kLiveWords};
  const TDigest::Mode mode = modes[state.range(1)];
  for (auto _ : state) benchmark::DoNotOptimize(GameDigest(mode));
}
BENCHMARK(BM_GameDigest)->ArgsProduct({{0, 1, 2}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

}  // namespace
