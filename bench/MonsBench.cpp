// The Monsters game step on a level of the default set, a monster step with every slot of
// the monster table in use, and the composition of a frame of a game in progress, through
// the headless program as kelvra-cli plays it. Each step benchmark returns to the state it
// started from every so many steps (untimed).
#include <benchmark/benchmark.h>

#include "base/Paths.h"
#include "monsters/MonsGame.h"
#include "session/Dispatch.h"
#include "session/HeadlessGame.h"
#include "session/MonsScenes.h"

namespace {

using namespace kelvra;

bool StartDefaultSet(benchmark::State& state, THeadlessGame& game) {
  SetProgramDir(FindDataDir());
  TGameSetup setup;
  setup.file = DefaultLevelsFile(gkMonsters);
  setup.players = 2;
  setup.aiMask = 3;
  std::string error;
  int code = 0;
  if (game.Start(setup, error, code)) return true;
  state.SkipWithError(error.c_str());
  return false;
}

// Runs `step` for the benchmark, returning to the starting state every `chunk` steps.
template <class Step>
void StepLoop(benchmark::State& state, int chunk, Step step) {
  TMonsSnapshot start;
  start.Take();
  int n = 0;
  for (auto _ : state) {
    step();
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

// Level 0 of the default set, two computer players (target: under 2 us a step).
void BM_MonsStepTypical(benchmark::State& state) {
  THeadlessGame game;
  if (StartDefaultSet(state, game)) StepLoop(state, 256, [&] { game.Step(); });
}
BENCHMARK(BM_MonsStepTypical)->Unit(benchmark::kMicrosecond);

// 512 monsters that all turn at every step (target: under 20 us a monster step).
void BM_MonsMonsterStepFull(benchmark::State& state) {
  SetProgramDir(FindDataDir());
  THeadlessGame game;
  MakeFullMonstersSet();
  std::string error;
  int code = 0;
  if (!game.Start(TGameSetup{}, error, code)) {
    state.SkipWithError(error.c_str());
    return;
  }
  StepLoop(state, 64, [] { MonsMonsterStep(); });
}
BENCHMARK(BM_MonsMonsterStepFull)->Unit(benchmark::kMicrosecond);

// The overlay painter composing a frame 200 steps into a game (target: under 1 ms).
void BM_MonsComposeGameFrame(benchmark::State& state) {
  THeadlessGame game;
  if (!StartDefaultSet(state, game)) return;
  for (int i = 0; i < 200; ++i) game.Step();
  for (auto _ : state) benchmark::DoNotOptimize(game.Compose().Bits());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MonsComposeGameFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
