// The Monsters game step on a level of the default set, a monster step with every slot of
// the monster table in use, and the composition of a frame of a game in progress, through
// the headless program as kelvra-cli plays it.
#include "BenchUtil.h"
#include "monsters/MonsGame.h"
#include "session/MonsScenes.h"

namespace {

using namespace kelvra;
using namespace kelvra::bench;

// Level 0 of the default set, two computer players (target: under 2 us a step).
void BM_MonsStepTypical(benchmark::State& state) {
  THeadlessGame game;
  if (StartDefaultSet(state, game, gkMonsters))
    StepLoop<TMonsSnapshot>(state, 256, [&] { game.Step(); });
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
  StepLoop<TMonsSnapshot>(state, 64, [] { MonsMonsterStep(); });
}
BENCHMARK(BM_MonsMonsterStepFull)->Unit(benchmark::kMicrosecond);

// The overlay painter composing a frame 200 steps into a game (target: under 1 ms).
void BM_MonsComposeGameFrame(benchmark::State& state) {
  THeadlessGame game;
  if (!StartDefaultSet(state, game, gkMonsters)) return;
  for (int i = 0; i < 200; ++i) game.Step();
  ComposeLoop(state, game);
}
BENCHMARK(BM_MonsComposeGameFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
