// Generated pictures: the textures' golden digests, the noise's odd input, the shaded fill's
// range and clipping, soft lights and the hue wheel over all of its steps.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "Pixels.h"
#include "media/KBitmap.h"
#include "media/Textures.h"

namespace kelvra {
namespace {

using test::SamePixels;

TKBitmap Texture(int number, int w = 128, int h = 96) {
  TKBitmap b(w, h);
  EXPECT_TRUE(MakeTexture(b, number)) << number;
  return b;
}

// FNV-1a of the pixel bytes, row padding excluded.
uint32_t Digest(const TKBitmap& b) {
  uint32_t h = 2166136261u;
  for (int y = 0; y < b.Height(); ++y)
    for (int i = 0; i < 3 * b.Width(); ++i) h = (h ^ b.Row(y)[i]) * 16777619u;
  return h;
}

// Every colour stop, noise lattice and blend of every texture at 128 x 96.
TEST(Textures, GoldenDigests) {
  const uint32_t golden[kTextureCount] = {
      0x48E9D846, 0x8588F3FB, 0xB921D6A9, 0x751F60B5, 0xEE212B6A, 0x9DFCFA85,
      0x4C0709E8, 0x7C12D7CD, 0x344B1454, 0x0FF2B158, 0x500BD9A6, 0x8EF9203B,
      0xC1D69F8A, 0x9CD015AD, 0x6E809C3A, 0x8DDF60E5, 0x53A497CD};
  for (int n = 0; n < kTextureCount; ++n)
    EXPECT_EQ(Digest(Texture(n)), golden[n])
        << TextureName(n) << ": 0x" << std::hex << Digest(Texture(n));
}

// The whole bitmap is painted whatever its clip; odd sizes are safe; bad numbers paint nothing.
TEST(Textures, ClipOddSizesAndBadNumbers) {
  TKBitmap b(64, 48);
  FillBitmap(b, RGB(1, 2, 3), ef16);
  b.SetClip(10, 10, 20, 20);
  ASSERT_TRUE(MakeTexture(b, txNebula));
  EXPECT_TRUE(SamePixels(b, Texture(txNebula, 64, 48)));
  for (auto [w, h] : {std::pair{1, 1}, {1, 300}, {300, 1}, {3, 2}, {0, 0}})
    for (int n = 0; n < kTextureCount; ++n) Texture(n, w, h);
  b.SetClip(0, 0, 63, 47);
  FillBitmap(b, RGB(9, 8, 7), ef16);
  for (int n : {-1, kTextureCount, INT_MIN, INT_MAX}) {
    EXPECT_FALSE(MakeTexture(b, n));
    EXPECT_STREQ(TextureName(n), "");
  }
  EXPECT_EQ(b.Pixel(5, 5), RGB(9, 8, 7));
}

TEST(Noise, FarOffAndNonFiniteCoordinatesAreSafe) {
  for (float f : {1e30f, -1e30f, INFINITY, NAN}) {
    const float v = ValueNoise(f, 0.5f, 1, 3, 3);
    (void)v;
    float a, b;
    CellNoise(f, 0.5f, 1, 3, 3, a, b);
  }
}

TEST(ShadedFill, ClippingCutsTheShadeWithoutMovingItAndOddArgumentsAreSafe) {
  TKBitmap whole(10, 64), part(10, 64);
  ShadedFill(whole, 0, 0, 9, 63, RGB(255, 255, 255));
  part.SetClip(0, 30, 9, 40);
  ShadedFill(part, 9, 63, 0, 0, RGB(255, 255, 255));  // corners given reversed
  for (int y = 0; y < 64; ++y)
    EXPECT_EQ(part.Pixel(4, y), y >= 30 && y <= 40 ? whole.Pixel(4, y) : 0u) << y;

  EXPECT_EQ(whole.Pixel(4, 0), RGB(255, 255, 255));  // the colour at the top
  EXPECT_EQ(whole.Pixel(4, 63), RGB(63, 63, 63));    // a quarter at the bottom
  TKBitmap b(4, 4);
  ShadedFill(b, INT_MIN, INT_MIN, INT_MAX, INT_MAX, RGB(255, 255, 255));  // no overflow
  EXPECT_EQ(RedOf(b.Pixel(0, 0)), RedOf(b.Pixel(0, 3)));  // far from both ends: even shade
}

TEST(HueWheel, EveryStepMovesOneChannelByOneAndTheCircleCloses) {
  for (int n = 0; n < 1530; ++n) {
    const uint32_t a = SpectrumColor(n), b = SpectrumColor(n + 1);
    const int dr = std::abs(RedOf(a) - RedOf(b)), dg = std::abs(GreenOf(a) - GreenOf(b)),
              db = std::abs(BlueOf(a) - BlueOf(b));
    EXPECT_EQ(dr + dg + db, 1) << n;
    EXPECT_EQ(SpectrumColor(n + 1530 * 7), a);
    EXPECT_EQ(SpectrumColor(n - 1530 * 3), a);
  }
  // Known steps as 0x00BBGGRR.
  const std::pair<int, uint32_t> known[] = {{0, 0x0000FF}, {765, 0xFFFF00}, {1529, 0x0100FF}};
  for (auto& [n, colour] : known) EXPECT_EQ(SpectrumColor(n), colour) << n;
}

TEST(SoftLight, AddsFullLightAtTheCentreFadingToNothingAtTheRadius) {
  TKBitmap b(41, 41);
  FillBitmap(b, RGB(10, 10, 10), ef16);
  SoftLight(b, 20, 20, 15, RGB(200, 100, 0));
  EXPECT_EQ(b.Pixel(20, 20), RGB(210, 110, 10));
  EXPECT_EQ(b.Pixel(35, 20), RGB(10, 10, 10));  // at the radius
  for (int d = 1; d <= 15; ++d) {  // fading, and round: the same in all four directions
    EXPECT_LE(RedOf(b.Pixel(20 + d, 20)), RedOf(b.Pixel(19 + d, 20)));
    EXPECT_EQ(b.Pixel(20 + d, 20), b.Pixel(20, 20 - d));
  }
  SoftLight(b, 20, 20, 0, RGB(255, 255, 255));
  SoftLight(b, INT_MAX, INT_MIN, INT_MAX, RGB(1, 1, 1));  // huge values finish quickly
}

}  // namespace
}  // namespace kelvra
