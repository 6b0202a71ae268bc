// The Brickfall game step on a typical level of the default set and on the worst case the
// tables allow (1536 walls, 32 flying balls), and the composition of a frame of a game in
// progress, all through the headless program as kelvra-cli plays it.
#include "BenchUtil.h"
#include "session/BrickScenes.h"

namespace {

using namespace kelvra;
using namespace kelvra::bench;

// Level 0 of the default set, two computer players (target: under 5 us a step).
void BM_BrickStepTypical(benchmark::State& state) {
  THeadlessGame game;
  if (StartDefaultSet(state, game, gkBrickfall))
    StepLoop<TBrickSnapshot>(state, 1024, [&] { game.Step(); });
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
  StepLoop<TBrickSnapshot>(state, 256, [&] { game.Step(); });
}
BENCHMARK(BM_BrickStepWorstCase)->Unit(benchmark::kMicrosecond);

// The overlay painter composing a frame 200 steps into a game of the default set.
void BM_BrickComposeGameFrame(benchmark::State& state) {
  THeadlessGame game;
  if (!StartDefaultSet(state, game, gkBrickfall)) return;
  for (int i = 0; i < 200; ++i) game.Step();
  ComposeLoop(state, game);
}
BENCHMARK(BM_BrickComposeGameFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
