// Speed of generated backgrounds: preparing each texture at the field's size (done when a
// level becomes current), the shaded fill of every frame, and drawing the prepared
// background into the frame in the common drawing modes.
#include <benchmark/benchmark.h>

#include "brickfall/BrickBackground.h"
#include "brickfall/BrickLevel.h"
#include "common/Com.h"
#include "media/KBitmap.h"
#include "media/Textures.h"

namespace {

using namespace kelvra;

constexpr int kFieldW = 512, kFieldH = 384;  // the Brickfall play field
constexpr int kFrameW = 640, kFrameH = 440;  // the frame bitmap

void BM_MakeTexture(benchmark::State& state) {
  const int number = int(state.range(0));
  TKBitmap b(kFieldW, kFieldH);
  for (auto _ : state) {
    MakeTexture(b, number);
    benchmark::DoNotOptimize(b.Bits());
  }
  state.SetLabel(TextureName(number));
  state.SetItemsProcessed(state.iterations() * kFieldW * kFieldH);
}
BENCHMARK(BM_MakeTexture)->DenseRange(0, kTextureCount - 1)->Unit(benchmark::kMillisecond);

// A textured level's background prepared from scratch (texture and brick pattern).
void BM_PrepareTexturedBackground(benchmark::State& state) {
  ResetCom();
  TLevel level;
  NewBrickLevel(level);
  level.f.backgroundKind = 3;
  int texture = 0;
  for (auto _ : state) {
    level.f.backgroundTexture = texture;
    texture = (texture + 1) % kBackgroundTextures;  // a different one every time
    PrepareBrickBackground(level);
    benchmark::DoNotOptimize(gBrickBackground.picture.Bits());
  }
  state.SetItemsProcessed(state.iterations() * kFieldW * kFieldH);
}
BENCHMARK(BM_PrepareTexturedBackground)->Unit(benchmark::kMillisecond);

// One frame's background: kind 3 or 4 in the given drawing mode, kind 1 filled, kind 2
// shaded on the hue wheel.
void BM_DrawBackground(benchmark::State& state) {
  ResetCom();
  TLevel level;
  NewBrickLevel(level);
  level.f.backgroundKind = uint8_t(state.range(0));
  level.f.backgroundEffect = uint8_t(state.range(1));
  level.f.backgroundColour = state.range(0) == 2 ? 0 : RGB(40, 30, 60);
  level.f.backgroundTexture = 4;
  PrepareBrickBackground(level);
  TKBitmap frame(kFrameW, kFrameH);
  for (auto _ : state) {
    ++gCom.frameCounter;
    DrawBrickBackground(frame, level);
    benchmark::DoNotOptimize(frame.Bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFieldW * kFieldH);
}
BENCHMARK(BM_DrawBackground)
    ->Args({3, 16})
    ->Args({3, 8})
    ->Args({3, 17})
    ->Args({1, 16})
    ->Args({1, 8})
    ->Args({2, 16})
    ->ArgNames({"kind", "mode"});

void BM_SoftLight(benchmark::State& state) {
  TKBitmap frame(kFrameW, kFrameH);
  const int radius = int(state.range(0));
  for (auto _ : state) {
    SoftLight(frame, 320, 220, radius, RGB(60, 40, 20), efAdd);
    benchmark::DoNotOptimize(frame.Bits());
  }
  state.SetItemsProcessed(state.iterations() * 4 * radius * radius);
}
BENCHMARK(BM_SoftLight)->Arg(16)->Arg(64);

}  // namespace
