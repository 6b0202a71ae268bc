// What the game benchmarks share: starting a game of a default set through the headless
// program, and a step loop that returns to the state it started from every so many steps
// (untimed), so that it measures the same kind of field however long it runs.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "base/Paths.h"
#include "common/Com.h"
#include "session/Dispatch.h"
#include "session/HeadlessGame.h"

namespace kelvra::bench {

// The default set of `kind`, `players` computer players (all of them).
inline bool StartDefaultSet(benchmark::State& state, THeadlessGame& game, int kind,
                            int players = 2) {
  SetProgramDir(FindDataDir());
  TGameSetup setup;
  setup.file = DefaultLevelsFile(kind);
  setup.players = players;
  setup.aiMask = (1u << players) - 1;
  std::string error;
  int code = 0;
  if (game.Start(setup, error, code)) return true;
  state.SkipWithError(error.c_str());
  return false;
}

// Runs `step` once an iteration, returning to the starting state every `chunk` steps.
template <class Snapshot, class Step>
void StepLoop(benchmark::State& state, int chunk, Step step) {
  Snapshot start;
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

// The overlay painter composing frames of the game as it stands.
inline void ComposeLoop(benchmark::State& state, THeadlessGame& game) {
  for (auto _ : state) benchmark::DoNotOptimize(game.Compose().Bits());
  state.SetItemsProcessed(state.iterations());
}

}  // namespace kelvra::bench
