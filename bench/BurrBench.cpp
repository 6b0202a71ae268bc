// The Burrower game step on a level of the default set and with every pool full, and the
// composition of a frame of a game in progress, through the headless program as kelvra-cli
// plays it.
#include "BenchUtil.h"
#include "session/BurrScenes.h"

namespace {

using namespace kelvra;
using namespace kelvra::bench;

// Level 0 of the default set, two computer players (target: under 5 us a step).
void BM_BurrStepTypical(benchmark::State& state) {
  THeadlessGame game;
  if (StartDefaultSet(state, game, gkBurrower))
    StepLoop<TBurrSnapshot>(state, 256, [&] { game.Step(); });
}
BENCHMARK(BM_BurrStepTypical)->Unit(benchmark::kMicrosecond);

// Every pool full (target: under 100 us a step).
void BM_BurrStepFullPools(benchmark::State& state) {
  THeadlessGame game;
  if (!StartDefaultSet(state, game, gkBurrower)) return;
  FillBurrowerPools();
  StepLoop<TBurrSnapshot>(state, 16, [&] { game.Step(); });
}
BENCHMARK(BM_BurrStepFullPools)->Unit(benchmark::kMicrosecond);

// 32 enemies alive walking a warren, 8 brooders and 32 apples falling (target: under 100 us
// a step). The scene returns every 48 steps, before the apples land.
void BM_BurrStepEnemiesAndApples(benchmark::State& state) {
  THeadlessGame game;
  if (!StartDefaultSet(state, game, gkBurrower)) return;
  FillBurrowerWarren();
  StepLoop<TBurrSnapshot>(state, kWarrenFallSteps, [&] { game.Step(); });
}
BENCHMARK(BM_BurrStepEnemiesAndApples)->Unit(benchmark::kMicrosecond);

// The overlay painter composing a frame 200 steps into a game (target: under 1 ms).
void BM_BurrComposeGameFrame(benchmark::State& state) {
  THeadlessGame game;
  if (!StartDefaultSet(state, game, gkBurrower)) return;
  for (int i = 0; i < 200; ++i) game.Step();
  ComposeLoop(state, game);
}
BENCHMARK(BM_BurrComposeGameFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
