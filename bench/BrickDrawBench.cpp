// Drawing whole Brickfall frames: a field of walls with paddles, balls, shots and bursts
// on a textured background, and the same with every level effect on and its particle
// tables filled by a few hundred steps. The pictures come from the data tree
// ($KELVRA_DATA_DIR, or data/ beside the build's bin/).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "base/Paths.h"
#include "brickfall/BrickBackground.h"
#include "brickfall/BrickDraw.h"
#include "brickfall/BrickEffects.h"
#include "brickfall/BrickGame.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPanel.h"
#include "brickfall/BrickPictures.h"
#include "brickfall/BrickState.h"
#include "common/Com.h"
#include "common/SharedImages.h"
#include "media/KBitmap.h"

namespace {

using namespace kelvra;

std::string DataDir() {
  if (const char* env = std::getenv("KELVRA_DATA_DIR"); env && *env) return env;
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return (exe.parent_path().parent_path() / "data").string();
}

void SetUpField(bool effects) {
  ResetCom();
  SetProgramDir(DataDir());
  LoadSharedImages();
  LoadBrickPictures();
  gBrickLevels.assign(1, TLevel{});
  TLevel& level = gBrickLevels[0];
  NewBrickLevel(level);
  level.f.backgroundKind = 3;
  level.f.backgroundTexture = 2;
  for (int row = 0; row < 12; ++row)
    for (int column = 0; column < 15; ++column)
      level.Walls().push_back(TWall{
          16 + 32 * column, 24 + 16 * row, 0, uint8_t(row % 6), uint8_t(row == 3 ? 5 : 0), {}});
  PrepareBrickBackground(level);
  ResetBrickState(TBrickReset::kAll);
  BuildPlayField(level, gBrickPictures.width, gBrickPictures.height, gBrickPictures.shapes);
  gCom.k[gkBrickfall].playersMinusOne = 1;
  for (int p = 0; p < 2; ++p) {
    TBrickPlayer& player = gBrick.players[p];
    player.inGame = 1;
    player.visibility = 8;
    player.paddleSize = 2;
    player.direction = p == 0 ? -1 : 1;
    player.x = (100 + 200 * p) * 1024;
    player.y = p == 0 ? 370 * 1024 : 0;
  }
  for (int b = 0; b < 3; ++b) {
    gBrick.balls[b] = TBrickBall{kBallFlying, (150 + 80 * b) * 1024, 300 * 1024, 16384, 16384, 1};
  }
  for (int s = 0; s < 4; ++s) {
    gBrick.shots[s].state = kShotStraight;
    gBrick.shots[s].x = (60 + 100 * s) * 1024;
    gBrick.shots[s].y = 250 * 1024;
    gBrick.shots[s].velocityY = s % 2 ? 4096 : -4096;
  }
  for (int i = 0; i < 8; ++i) AddBurst(60 + 50 * i, 200, i % 4);
  if (!effects) return;
  TLevelFields& f = level.f;
  f.stars = f.rain = f.snow = f.smallSnow = f.bubble = f.fire = f.water = f.smoke = f.points =
      f.lighting = 255;
  gBrick.game.waterLine = 300 * 1024;
  StandFlames();
  for (int step = 0; step < 400; ++step) {
    ++gCom.stepCounter;
    StarsStep();
    BubblesStep();
    RainSnowStep(true, true);
    SmallSnowStep();
    FireStep();
    SmokeStep();
    DecaySparks();
  }
}

void BM_DrawBrickFrame(benchmark::State& state) {
  SetUpField(state.range(0) != 0);
  TKBitmap frame(640, 440);
  DrawBrickPanel(frame);
  int32_t wind = 0;
  for (auto _ : state) {
    gBrick.game.wind = (wind = (wind + 1) % 64) - 32;  // the wind strip redrawn every frame
    gBrick.players[0].shownScore += 10;                // and one score display
    DrawBrickField(frame);
    benchmark::DoNotOptimize(frame.Bits());
  }
  state.SetItemsProcessed(state.iterations());
  gBrickLevels.clear();
}
// 0: walls, paddles, balls, shots and bursts on a texture; 1: with every level effect.
BENCHMARK(BM_DrawBrickFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_FullBrickPanel(benchmark::State& state) {
  ResetCom();
  gCom.k[gkBrickfall].playersMinusOne = 4;
  TKBitmap frame(640, 440);
  for (auto _ : state) {
    DrawBrickPanel(frame);
    benchmark::DoNotOptimize(frame.Bits());
  }
}
BENCHMARK(BM_FullBrickPanel)->Unit(benchmark::kMicrosecond);

}  // namespace
