// The Brickfall game step on a typical level of the default set and on the worst case the
// tables allow (1536 walls, 32 flying balls), and the composition of a frame of a game in
// progress, all through the headless program as kelvra-cli plays it. Each step benchmark
// returns to the state it started from every so many steps (untimed), so it measures the
// same kind of field however long it runs.
#include <benchmark/benchmark.h>

#include "base/Paths.h"
#include "session/BrickScenes.h"
#include "session/Dispatch.h"
#include "session/HeadlessGame.h"

namespace {

using namespace kelvra;

// Runs the steps of the benchmark, returning to `start` every `chunk` steps.
void StepLoop(benchmark::State& state, THeadlessGame& game, int chunk) {
  TBrickSnapshot start;
  start.Take();
  int n = 0;
  for (auto _ : state) {
    game.Step();
    if (++n == chunk) {
      state.PauseTiming();
      start.Restore();
      n = 0;
      state.ResumeTiming();
    }
  }
  benchmark::DoNotOptimize(gCom.randSeed);
  state.SetItemsProcessed(state.iterations());
}

bool StartDefaultSet(benchmark::State& state, THeadlessGame& game) {
  SetProgramDir(FindDataDir());
  TGameSetup setup;
  setup.file = DefaultLevelsFile(gkBrickfall);
  setup.players = 2;
  setup.aiMask = 3;
  std::string error;
  int code = 0;
  if (game.Start(setup, error, code)) return true;
  state.SkipWithError(error.c_str());
  return false;
}

// Level 0 of the default set, two computer players (target: under 5 us a step).
void BM_BrickStepTypical(benchmark::State& state) {
  THeadlessGame game;
  if (StartDefaultSet(state, game)) StepLoop(state, game, 1024);
}
BENCHMARK(BM_BrickStepTypical)->Unit(benchmark::kMicrosecond);

// 1536 walls and 32 undead balls flying, five computer players (target: under 50 us).
void BM_BrickStepWorstCase(benchmark::State& state) {
  SetProgramDir(FindDataDir());
  THeadlessGame game;
  MakeWorstCaseSet();
  TGameSetup setup;
  setup.players = kPlayers;
  std::string error;
  int code = 0;
  if (!game.Start(setup, error, code)) {
    state.SkipWithError(error.c_str());
    return;
  }
  LaunchWorstCaseBalls();
  StepLoop(state, game, 256);
}
BENCHMARK(BM_BrickStepWorstCase)->Unit(benchmark::kMicrosecond);

// The overlay painter composing a frame 200 steps into a game of the default set.
void BM_BrickComposeGameFrame(benchmark::State& state) {
  THeadlessGame game;
  if (!StartDefaultSet(state, game)) return;
  for (int i = 0; i < 200; ++i) game.Step();
  for (auto _ : state) benchmark::DoNotOptimize(game.Compose().Bits());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BrickComposeGameFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
