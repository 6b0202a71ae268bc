// The Burrower game step on a level of the default set and with every pool full, and the
// composition of a frame of a game in progress, through the headless program as kelvra-cli
// plays it. Each step benchmark returns to the state it started from every so many steps
// (untimed).
#include <benchmark/benchmark.h>

#include "base/Paths.h"
#include "session/BurrScenes.h"
#include "session/Dispatch.h"
#include "session/HeadlessGame.h"

namespace {

using namespace kelvra;

bool StartDefaultSet(benchmark::State& state, THeadlessGame& game) {
  SetProgramDir(FindDataDir());
  TGameSetup setup;
  setup.file = DefaultLevelsFile(gkBurrower);
  setup.players = 2;
  setup.aiMask = 3;
  std::string error;
  int code = 0;
  if (game.Start(setup, error, code)) return true;
  state.SkipWithError(error.c_str());
  return false;
}

void StepLoop(benchmark::State& state, THeadlessGame& game, int chunk) {
  TBurrSnapshot start;
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

// Level 0 of the default set, two computer players (target: under 5 us a step).
void BM_BurrStepTypical(benchmark::State& state) {
  THeadlessGame game;
  if (StartDefaultSet(state, game)) StepLoop(state, game, 256);
}
BENCHMARK(BM_BurrStepTypical)->Unit(benchmark::kMicrosecond);

// Every pool full (target: under 100 us a step).
void BM_BurrStepFullPools(benchmark::State& state) {
  THeadlessGame game;
  if (!StartDefaultSet(state, game)) return;
  FillBurrowerPools();
  StepLoop(state, game, 16);
}
BENCHMARK(BM_BurrStepFullPools)->Unit(benchmark::kMicrosecond);

// The overlay painter composing a frame 200 steps into a game (target: under 1 ms).
void BM_BurrComposeGameFrame(benchmark::State& state) {
  THeadlessGame game;
  if (!StartDefaultSet(state, game)) return;
  for (int i = 0; i < 200; ++i) game.Step();
  for (auto _ : state) benchmark::DoNotOptimize(game.Compose().Bits());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BurrComposeGameFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
