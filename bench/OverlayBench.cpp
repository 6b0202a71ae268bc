// Composing whole frames with the overlay painter over a filled Brickfall field: the
// description caption, the fade between levels and a big state message, with the pointer.
#include <benchmark/benchmark.h>

#include "brickfall/BrickLevel.h"
#include "common/Com.h"
#include "common/Overlay.h"
#include "media/KBitmap.h"

namespace {

using namespace kelvra;

void BM_ComposeFrame(benchmark::State& state) {
  ResetCom();
  gBrickLevels.assign(1, TLevel{});
  NewBrickLevel(gBrickLevels[0]);
  SetShortString(Cur().header.description, 64, "A level set with a long description line");
  TKBitmap frame(640, 440);
  gCom.mouseX = gCom.mouseY = 100;
  const int variant = int(state.range(0));
  Cur().state = variant == 0 ? gsIdle : variant == 1 ? gsLevelDone : gsGameEnded;
  gCom.countdown = 8;
  for (auto _ : state) {
    DrawOverlay(frame, gCom.kind);
    benchmark::DoNotOptimize(frame.Bits());
  }
  state.SetItemsProcessed(state.iterations());
  gBrickLevels.clear();
}
// 0: idle with the description; 1: fading between levels; 2: "Game Over".
BENCHMARK(BM_ComposeFrame)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
