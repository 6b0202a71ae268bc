// Speed of the bitmap's inner loops: whole-frame blits (640 x 440) in the games' common
// modes with and without a transparent colour, sprite blits and fills, in pixels per second.
#include <benchmark/benchmark.h>

#include "media/KBitmap.h"

namespace {

using namespace kelvra;

constexpr int kFrameW = 640, kFrameH = 440;  // the frame bitmap
constexpr uint32_t kMagenta = 0xFF00FF;      // the pictures' usual transparent colour

// A picture with some structure and a third of it transparent in 16 x 16 blocks, as in the
// games' sprites and masks.
TKBitmap Picture(int w, int h) {
  TKBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      PutPixel(b, x, y,
               ((x >> 4) + (y >> 4)) % 3 == 0 ? kMagenta : RGB(x * 7, y * 3, (x ^ y) & 255), ef16);
  return b;
}

void BM_FrameBlit(benchmark::State& state) {
  const TEffect mode = TEffect(state.range(0));
  const uint32_t transparent = state.range(1) ? kMagenta : clNone;
  TKBitmap dest = Picture(kFrameW, kFrameH), src = Picture(kFrameW, kFrameH);
  for (auto _ : state) {
    DrawWhole(dest, 0, 0, src, transparent, mode);
    benchmark::DoNotOptimize(dest.Bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFrameW * kFrameH);
}
BENCHMARK(BM_FrameBlit)->ArgsProduct({{16, 8, 17, 4, 18, 21}, {0, 1}})->ArgNames({"mode", "key"});

// 32 x 32 sprites over the frame, as the games draw their objects.
void BM_SpriteBlit(benchmark::State& state) {
  const TEffect mode = TEffect(state.range(0));
  TKBitmap dest = Picture(kFrameW, kFrameH), sprite = Picture(32, 32);
  int n = 0;
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i, ++n)
      DrawWhole(dest, (n * 37) % kFrameW - 16, (n * 53) % kFrameH - 16, sprite, kMagenta, mode);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 100 * 32 * 32);
}
BENCHMARK(BM_SpriteBlit)->Arg(16)->Arg(8)->Arg(17)->ArgName("mode");

void BM_FrameFill(benchmark::State& state) {
  const TEffect mode = TEffect(state.range(0));
  const uint32_t colour = state.range(1) ? RGB(40, 40, 40) : RGB(200, 120, 30);
  TKBitmap dest = Picture(kFrameW, kFrameH);
  for (auto _ : state) {
    FillRect(dest, 0, 0, kFrameW - 1, kFrameH - 1, colour, mode);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFrameW * kFrameH);
}
BENCHMARK(BM_FrameFill)->ArgsProduct({{16, 8, 17}, {0, 1}})->ArgNames({"mode", "grey"});

}  // namespace
