// Generated pictures: textures repeat exactly and differ from each other, the noise repeats
// on its period, the shaded fill's range and clipping, soft lights, glow discs and the hue
// wheel over all of its steps.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>

#include "Pixels.h"
#include "media/KBitmap.h"
#include "media/Textures.h"

namespace kelvra {
namespace {

using test::SamePixels;

// Mean absolute difference per channel.
double MeanDifference(const TKBitmap& a, const TKBitmap& b) {
  double sum = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int i = 0; i < a.Width() * 3; ++i) sum += std::abs(a.Row(y)[i] - b.Row(y)[i]);
  return sum / (double(a.Width()) * a.Height() * 3);
}

TKBitmap Texture(int number, int w = 128, int h = 96) {
  TKBitmap b(w, h);
  EXPECT_TRUE(MakeTexture(b, number)) << number;
  return b;
}

TEST(Textures, EveryTextureRepeatsExactlyHasStructureAndDiffersFromTheOthers) {
  TKBitmap t[kTextureCount];
  for (int n = 0; n < kTextureCount; ++n) {
    SCOPED_TRACE(TextureName(n));
    EXPECT_STRNE(TextureName(n), "");
    t[n] = Texture(n);
    EXPECT_TRUE(SamePixels(t[n], Texture(n)));
    std::set<uint32_t> colours;
    for (int y = 0; y < t[n].Height(); ++y)
      for (int x = 0; x < t[n].Width(); ++x) colours.insert(t[n].Pixel(x, y));
    EXPECT_GT(colours.size(), 16u);  // not one flat colour
    for (int i = 0; i < n; ++i) EXPECT_GT(MeanDifference(t[i], t[n]), 12.0) << TextureName(i);
  }
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

TEST(Noise, LatticesRepeatOnTheirPeriodAndStayInRange) {
  for (float x : {0.0f, 0.37f, 2.5f, 6.99f, -3.25f})
    for (float y : {0.0f, 1.75f, 4.5f, -0.5f}) {
      EXPECT_FLOAT_EQ(ValueNoise(x, y, 5, 7, 5), ValueNoise(x + 7, y, 5, 7, 5));
      EXPECT_FLOAT_EQ(ValueNoise(x, y, 5, 7, 5), ValueNoise(x, y - 5, 5, 7, 5));
      EXPECT_NEAR(FractalNoise(x, y, 5, 4, 7, 5), FractalNoise(x + 7, y + 5, 5, 4, 7, 5), 1e-5);
      float a1, a2, b1, b2;
      uint32_t ida, idb;
      CellNoise(x, y, 5, 7, 5, a1, a2, &ida);
      CellNoise(x + 7, y + 5, 5, 7, 5, b1, b2, &idb);
      EXPECT_NEAR(a1, b1, 1e-4);
      EXPECT_EQ(ida, idb);
      EXPECT_LE(a1, a2);
      const float v = FractalNoise(x, y, 9, 6);
      EXPECT_GE(v, 0.0f);
      EXPECT_LT(v, 1.0f);
    }
  // Far-off and non-finite coordinates give a value, not a fault.
  for (float f : {1e30f, -1e30f, INFINITY, NAN}) {
    const float v = ValueNoise(f, 0.5f, 1, 3, 3);
    (void)v;
    float a, b;
    CellNoise(f, 0.5f, 1, 3, 3, a, b);
  }
  // The hash is a fixed function: textures may never change between runs or builds.
  EXPECT_NE(NoiseHash(1, 0, 0), NoiseHash(0, 1, 0));
  EXPECT_NE(NoiseHash(0, 0, 1), NoiseHash(0, 0, 2));
}

TEST(ShadedFill, RunsFromTheColourAtTheTopToAQuarterAtTheBottom) {
  TKBitmap b(20, 101);
  ShadedFill(b, 2, 0, 17, 100, RGB(200, 100, 40));
  EXPECT_EQ(b.Pixel(2, 0), RGB(200, 100, 40));
  EXPECT_EQ(b.Pixel(17, 100), RGB(50, 25, 10));
  EXPECT_EQ(b.Pixel(1, 50), 0u);  // outside the rectangle
  EXPECT_EQ(b.Pixel(18, 50), 0u);
  for (int y = 1; y <= 100; ++y) {
    EXPECT_LE(RedOf(b.Pixel(9, y)), RedOf(b.Pixel(9, y - 1))) << y;
    EXPECT_EQ(b.Pixel(2, y), b.Pixel(17, y));  // the same across a row
  }
  EXPECT_NEAR(RedOf(b.Pixel(5, 50)), 125, 1);  // halfway: five eighths of the colour
}

TEST(ShadedFill, ClippingCutsTheShadeWithoutMovingItAndOddArgumentsAreSafe) {
  TKBitmap whole(10, 64), part(10, 64);
  ShadedFill(whole, 0, 0, 9, 63, RGB(255, 255, 255));
  part.SetClip(0, 30, 9, 40);
  ShadedFill(part, 9, 63, 0, 0, RGB(255, 255, 255));  // corners given reversed
  for (int y = 0; y < 64; ++y)
    EXPECT_EQ(part.Pixel(4, y), y >= 30 && y <= 40 ? whole.Pixel(4, y) : 0u) << y;

  TKBitmap b(4, 4);
  ShadedFill(b, 0, 0, 3, 3, clNone);
  ShadedFill(b, 0, 0, 3, 3, RGB(255, 0, 0), ef00);
  ShadedFill(b, 0, 0, 3, 3, RGB(255, 0, 0), TEffect(99));
  EXPECT_EQ(b.Pixel(0, 0), 0u);
  ShadedFill(b, 0, 2, 3, 2, RGB(8, 16, 32));
  EXPECT_EQ(b.Pixel(3, 2), RGB(8, 16, 32));  // one row: the colour itself
  ShadedFill(b, INT_MIN, INT_MIN, INT_MAX, INT_MAX, RGB(255, 255, 255));  // no overflow
  EXPECT_EQ(RedOf(b.Pixel(0, 0)), RedOf(b.Pixel(0, 3)));  // far from both ends: even shade
}

TEST(HueWheel, EveryStepMovesOneChannelByOneAndTheCircleCloses) {
  std::set<uint32_t> seen;
  for (int n = 0; n < 1530; ++n) {
    const uint32_t a = SpectrumColor(n), b = SpectrumColor(n + 1);
    const int dr = std::abs(RedOf(a) - RedOf(b)), dg = std::abs(GreenOf(a) - GreenOf(b)),
              db = std::abs(BlueOf(a) - BlueOf(b));
    EXPECT_EQ(dr + dg + db, 1) << n;
    // Fully saturated: one channel full, one empty.
    const int hi = std::max({RedOf(a), GreenOf(a), BlueOf(a)});
    const int lo = std::min({RedOf(a), GreenOf(a), BlueOf(a)});
    EXPECT_EQ(hi, 255);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(SpectrumColor(n + 1530 * 7), a);
    EXPECT_EQ(SpectrumColor(n - 1530 * 3), a);
    seen.insert(a);
  }
  EXPECT_EQ(seen.size(), 1530u);
  EXPECT_EQ(SpectrumColor(INT_MIN), SpectrumColor(int((int64_t(INT_MIN) % 1530 + 1530) % 1530)));
  // Known steps as 0x00BBGGRR; the high-score rows use steps i * 128.
  const std::pair<int, uint32_t> known[] = {{0, 0x0000FF},       {128, 0x0080FF},  {255, 0x00FFFF},
                                            {510, 0x00FF00},     {765, 0xFFFF00},  {1020, 0xFF0000},
                                            {1275, 0xFF00FF},    {1529, 0x0100FF}, {1530, 0x0000FF},
                                            {9 * 128, 0xFF0084}, {-1, 0x0100FF}};
  for (auto& [n, colour] : known) EXPECT_EQ(SpectrumColor(n), colour) << n;
}

TEST(SoftLight, AddsFullLightAtTheCentreFadingToNothingAtTheRadius) {
  TKBitmap b(41, 41);
  FillBitmap(b, RGB(10, 10, 10), ef16);
  SoftLight(b, 20, 20, 15, RGB(200, 100, 0));
  EXPECT_EQ(b.Pixel(20, 20), RGB(210, 110, 10));
  EXPECT_EQ(b.Pixel(35, 20), RGB(10, 10, 10));  // at the radius
  EXPECT_EQ(b.Pixel(20, 4), RGB(10, 10, 10));
  for (int x = 21; x <= 35; ++x) EXPECT_LE(RedOf(b.Pixel(x, 20)), RedOf(b.Pixel(x - 1, 20)));
  for (int d = 0; d <= 15; ++d) {  // round: the same in all four directions
    EXPECT_EQ(b.Pixel(20 + d, 20), b.Pixel(20 - d, 20));
    EXPECT_EQ(b.Pixel(20 + d, 20), b.Pixel(20, 20 + d));
  }
  TKBitmap c;
  c.CopyFrom(b);
  SoftLight(c, 20, 20, 0, RGB(255, 255, 255));
  SoftLight(c, 20, 20, 10, clNone);
  SoftLight(c, 20, 20, 10, RGB(255, 255, 255), ef00);
  EXPECT_EQ(MeanDifference(b, c), 0.0);
  c.SetClip(0, 0, 19, 40);  // only the left half may change
  SoftLight(c, 20, 20, 10, RGB(255, 255, 255));
  EXPECT_EQ(c.Pixel(21, 20), b.Pixel(21, 20));
  EXPECT_NE(c.Pixel(19, 20), b.Pixel(19, 20));
  SoftLight(c, INT_MAX, INT_MIN, INT_MAX, RGB(1, 1, 1));  // huge values finish quickly
}

}  // namespace
}  // namespace kelvra
