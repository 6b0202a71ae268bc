// The software bitmap: every drawing mode on every byte pair, sizes and strides, clipping
// at every edge against a naive model, lines, frames, tiles, resampling and colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "Pixels.h"
#include "media/KBitmap.h"

namespace kelvra {
namespace {

// The result of one channel in a mode, as the mode table defines it.
int Expected(int mode, int d, int s) {
  switch (mode) {
    case 0:
      return d;
    case 16:
      return s;
    case 17:
      return std::min(d + s, 255);
    case 18:
      return std::max(d - s, 0);
    case 19:
      return std::clamp(d + s - 127, 0, 255);
    case 20:
      return std::clamp(d - s + 127, 0, 255);
    case 21:
      return d ^ s;
    case 22:
      return d < 127 ? 255 : 0;
    default:
      return (d * (16 - mode) + s * mode) / 16;
  }
}

// Fills every pixel from f(x, y) -> colour.
template <class F>
void Paint(TKBitmap& b, F f) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      uint8_t* p = b.Row(y) + 3 * x;
      uint32_t c = f(x, y);
      p[0] = uint8_t(BlueOf(c)), p[1] = uint8_t(GreenOf(c)), p[2] = uint8_t(RedOf(c));
    }
}

uint32_t Lcg(uint32_t& seed) {
  seed = seed * 134775813u + 1;
  return seed >> 8;
}

using test::SamePixels;

TEST(KBitmapModes, BlitCombinesEveryBytePairAsTheModeTableSays) {
  // Destination column x holds d = x, source row y holds s = y, in all three channels; the
  // 256-pixel rows also cover the eight-bytes-at-a-time paths and their tails.
  TKBitmap source(256, 256);
  Paint(source, [](int, int y) { return RGB(y, y, y); });
  for (int mode = 0; mode < kEffects; ++mode) {
    for (bool keyed : {false, true}) {
      SCOPED_TRACE(testing::Message() << "mode " << mode << (keyed ? " keyed" : ""));
      TKBitmap dest(256, 256);
      Paint(dest, [](int x, int) { return RGB(x, x, x); });
      // The key matches no source pixel (they are all grey), so nothing is skipped.
      DrawWhole(dest, 0, 0, source, keyed ? RGB(1, 2, 3) : clNone, TEffect(mode));
      int wrong = 0;
      for (int y = 0; y < 256 && wrong < 3; ++y)
        for (int x = 0; x < 256; ++x) {
          const int want = Expected(mode, x, y);
          if (dest.Pixel(x, y) != RGB(want, want, want)) {
            ADD_FAILURE() << "d=" << x << " s=" << y << " got " << RedOf(dest.Pixel(x, y))
                          << " want " << want;
            if (++wrong >= 3) break;
          }
        }
    }
  }
}

TEST(KBitmapModes, FillAndPixelCombineEachChannelSeparately) {
  // d runs over all bytes along x; the colour's three channels differ.
  const int s[3] = {200, 60, 255};
  for (int mode = 0; mode < kEffects; ++mode) {
    TKBitmap fill(256, 2), pixel;
    Paint(fill, [](int x, int) { return RGB(x, 255 - x, x / 2); });
    pixel.CopyFrom(fill);
    FillRect(fill, 0, 0, 255, 1, RGB(s[0], s[1], s[2]), TEffect(mode));
    for (int x = 0; x < 256; ++x) PutPixel(pixel, x, 1, RGB(s[0], s[1], s[2]), TEffect(mode));
    for (int x = 0; x < 256; ++x) {
      const uint32_t want =
          RGB(Expected(mode, x, s[0]), Expected(mode, 255 - x, s[1]), Expected(mode, x / 2, s[2]));
      ASSERT_EQ(fill.Pixel(x, 1), want) << "fill mode " << mode << " x=" << x;
      ASSERT_EQ(pixel.Pixel(x, 1), want) << "pixel mode " << mode << " x=" << x;
    }
  }
}

TEST(KBitmapModes, NoColourNoModeAndUnknownModesDrawNothing) {
  TKBitmap b(9, 7), before, src(3, 3);
  Paint(b, [](int x, int y) { return RGB(x * 20, y * 30, x ^ y); });
  before.CopyFrom(b);
  for (TEffect mode : {ef00, TEffect(23), TEffect(255)}) {
    FillRect(b, 0, 0, 8, 6, RGB(1, 2, 3), mode);
    DrawWhole(b, 0, 0, src, clNone, mode);
    DrawLine(b, 0, 0, 8, 6, RGB(1, 2, 3), mode);
  }
  for (TEffect mode : {ef16, efXor, efNeg}) {
    FillBitmap(b, clNone, mode);
    DrawFrame(b, 0, 0, 8, 6, clNone, mode);
  }
  EXPECT_TRUE(SamePixels(b, before));
}

TEST(KBitmapSize, ClampsStrideAndClipReset) {
  struct Case {
    int w, h, wantW, wantH, wantStride;
  };
  const Case cases[] = {
      {4, 1, 4, 1, 12}, {-5, 10, 0, 10, 0}, {20000, 1, 16384, 1, 49152}, {1, 40000, 1, 32767, 4}};
  for (const Case& c : cases) {
    TKBitmap b(c.w, c.h);
    EXPECT_EQ(std::make_tuple(b.Width(), b.Height(), b.Stride(), b.clipY2),
              std::make_tuple(c.wantW, c.wantH, c.wantStride, c.wantH - 1))
        << c.w << "x" << c.h;
  }
  // Another size resets the clip.
  TKBitmap b(4, 4);
  b.SetClip(1, 1, 2, 2);
  b.SetSize(6, 4);
  EXPECT_EQ(b.clipX1, 0);
  EXPECT_EQ(b.Pixel(6, 0), clNone);
}

TEST(KBitmapSize, ARowLessBitmapDrawsNothingAnywhere) {
  TKBitmap empty(-5, 10), src(4, 4);
  ASSERT_TRUE(empty.Empty());
  PutPixel(empty, 0, 0, 0, ef16);
  FillRect(empty, -10, -10, 10, 10, 0, ef16);
  DrawWhole(empty, 0, 0, src, clNone, ef16);
  DrawWhole(src, 0, 0, empty, clNone, ef16);
  DrawBorder3D(empty, 0, 0, 3, 3, 0, 0, 2, ef16);
  TileBitmap(src, empty, clNone, ef16);
  TKBitmap scaled;
  ScaleBitmap(scaled, empty, 3, 3);
  EXPECT_EQ(scaled.Pixel(2, 2), RGB(0, 0, 0));
  EXPECT_TRUE(empty.Empty());
}

TEST(KBitmapClip, FillAndBlitMatchANaiveModelAtEveryEdge) {
  // Random rectangles and origins, many of them partly or wholly outside the clip
  // rectangle, compared with a per-pixel model of the clipping rules.
  uint32_t seed = 7;
  auto rnd = [&](int lo, int hi) { return lo + int(Lcg(seed) % uint32_t(hi - lo + 1)); };
  TKBitmap src(9, 8);
  Paint(src, [](int x, int y) { return RGB(x * 25 + 1, y * 30 + 1, 77); });
  for (int round = 0; round < 400; ++round) {
    TKBitmap dest(12, 10), model(12, 10);
    dest.SetClip(rnd(-2, 6), rnd(-2, 5), rnd(4, 14), rnd(3, 12));
    src.SetClip(rnd(-1, 4), rnd(-1, 3), rnd(3, 10), rnd(3, 9));
    const int x1 = rnd(-6, 14), y1 = rnd(-6, 12), x2 = rnd(-6, 14), y2 = rnd(-6, 12);
    auto inClip = [](const TKBitmap& b, int x, int y) {
      return x >= b.clipX1 && x <= b.clipX2 && y >= b.clipY1 && y <= b.clipY2;
    };
    if (round % 2 == 0) {
      FillRect(dest, x1, y1, x2, y2, RGB(200, 100, 50), ef16);
      for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
          if (x >= x1 && x <= x2 && y >= y1 && y <= y2 && inClip(dest, x, y))
            PutPixel(model, x, y, RGB(200, 100, 50), ef16);
    } else {
      const int sx1 = rnd(-3, 8), sy1 = rnd(-3, 7), sx2 = rnd(-1, 11), sy2 = rnd(-1, 10);
      DrawBitmap(dest, x1, y1, src, sx1, sy1, sx2, sy2, clNone, ef16);
      for (int sy = sy1; sy <= sy2; ++sy)
        for (int sx = sx1; sx <= sx2; ++sx) {
          const int dx = x1 + sx - sx1, dy = y1 + sy - sy1;
          if (inClip(src, sx, sy) && sx >= 0 && sy >= 0 && sx < 9 && sy < 8 && inClip(dest, dx, dy))
            PutPixel(model, dx, dy, src.Pixel(sx, sy), ef16);
        }
    }
    ASSERT_TRUE(SamePixels(dest, model)) << "round " << round;
  }
}

TEST(KBitmapBlit, TransparentColourSkipsExactlyTheMatchingPixels) {
  const uint32_t key = RGB(255, 0, 255);
  // Matching pixels and near misses in each channel.
  const uint32_t srcColours[] = {key, RGB(254, 0, 255), RGB(255, 1, 255), RGB(255, 0, 254), key};
  const int n = int(std::size(srcColours));
  TKBitmap src(n, 1);
  Paint(src, [&](int x, int) { return srcColours[x]; });
  for (TEffect mode : {ef08, efNeg}) {
    TKBitmap dest(n, 1);
    Paint(dest, [](int x, int) { return RGB(40 + x, 90, 130); });
    TKBitmap before;
    before.CopyFrom(dest);
    DrawWhole(dest, 0, 0, src, key, mode);
    for (int x = 0; x < n; ++x) {
      const uint32_t d = before.Pixel(x, 0), s = srcColours[x];
      const uint32_t want =
          s == key ? d
                   : RGB(Expected(mode, RedOf(d), RedOf(s)), Expected(mode, GreenOf(d), GreenOf(s)),
                         Expected(mode, BlueOf(d), BlueOf(s)));
      EXPECT_EQ(dest.Pixel(x, 0), want) << "mode " << int(mode) << " x " << x;
    }
  }
}

// Bresenham from the first end, every step; the reference for the clipped routine.
std::vector<std::pair<int, int>> NaiveLine(int x1, int y1, int x2, int y2) {
  std::vector<std::pair<int, int>> points;
  int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
  int sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
  if (dx >= dy) {
    int err = dx / 2, y = y1;
    for (int i = 0, x = x1; i <= dx; ++i, x += sx) {
      points.push_back({x, y});
      if ((err -= dy) < 0) y += sy, err += dx;
    }
  } else {
    int err = dy / 2, x = x1;
    for (int i = 0, y = y1; i <= dy; ++i, y += sy) {
      points.push_back({x, y});
      if ((err -= dx) < 0) x += sx, err += dy;
    }
  }
  return points;
}

TEST(KBitmapLine, ClippedLinesMatchTheNaiveLineWithBothEnds) {
  uint32_t seed = 99;
  for (int round = 0; round < 300; ++round) {
    int c[4];
    for (int& v : c) v = int(Lcg(seed) % 60) - 20;
    if (round % 10 == 0) c[0] = -100000, c[2] = 100000;  // far outside, must stay quick
    TKBitmap clipped(20, 20), model(20, 20);
    clipped.SetClip(3, 2, 15, 17);
    DrawLine(clipped, c[0], c[1], c[2], c[3], RGB(9, 8, 7), ef16);
    for (auto [x, y] : NaiveLine(c[0], c[1], c[2], c[3]))
      if (x >= 3 && x <= 15 && y >= 2 && y <= 17) PutPixel(model, x, y, RGB(9, 8, 7), ef16);
    ASSERT_TRUE(SamePixels(clipped, model)) << c[0] << "," << c[1] << " - " << c[2] << "," << c[3];
  }
}

TEST(KBitmapFrame, EachOutlinePixelIsTouchedOnceAndFlatFramesDrawNothing) {
  TKBitmap o(12, 10);
  DrawFrame(o, 9, 7, 2, 1, RGB(1, 1, 1), efAdd);  // corners given reversed
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool edge = (x == 2 || x == 9) && y >= 1 && y <= 7;
      const bool side = (y == 1 || y == 7) && x >= 2 && x <= 9;
      ASSERT_EQ(o.Pixel(x, y), edge || side ? RGB(1, 1, 1) : 0u) << x << "," << y;
    }
  TKBitmap flat(5, 5);
  DrawFrame(flat, 1, 2, 4, 2, RGB(1, 1, 1), ef16);  // x1 = x2 or y1 = y2: nothing
  DrawFrame(flat, 3, 0, 3, 4, RGB(1, 1, 1), ef16);
  EXPECT_TRUE(SamePixels(flat, TKBitmap(5, 5)));
}

TEST(KBitmapFrame, Border3DWidthOutOfRangeIsSafe) {
  const uint32_t light = RGB(250, 200, 100), dark = RGB(50, 0, 101);
  TKBitmap b(10, 8);
  DrawBorder3D(b, 1, 1, 8, 6, light, dark, 2, ef16);
  EXPECT_EQ(std::make_tuple(b.Pixel(1, 1), b.Pixel(8, 6), b.Pixel(3, 3)),
            std::make_tuple(light, dark, 0u));
  TKBitmap none(10, 8);
  DrawBorder3D(none, 1, 1, 8, 6, light, dark, -3, ef16);
  EXPECT_TRUE(SamePixels(none, TKBitmap(10, 8)));
  DrawBorder3D(none, 1, 1, 8, 6, light, dark, 1000000000, ef16);  // rings stop in the middle
}

TEST(KBitmapWhole, TileRepeatsFromTheCornerUpToTheClip) {
  TKBitmap tile(4, 3);
  Paint(tile, [](int x, int y) { return RGB(x + 1, y + 1, 5); });
  TKBitmap dest(10, 7);
  dest.SetClip(0, 0, 8, 6);
  TileBitmap(dest, tile, clNone, ef16);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 10; ++x)
      ASSERT_EQ(dest.Pixel(x, y), x <= 8 ? RGB(x % 4 + 1, y % 3 + 1, 5) : 0u) << x << "," << y;
}

TEST(KBitmapScale, FlatStaysFlatAndSizesAreRight) {
  const int sizes[][4] = {{640, 480, 512, 384}, {7, 3, 2, 9}, {1, 1, 33, 17}, {5, 5, 0, 4}};
  for (const auto& s : sizes) {
    TKBitmap src(s[0], s[1]), dest;
    FillBitmap(src, RGB(201, 13, 99), ef16);
    ScaleBitmap(dest, src, s[2], s[3]);
    ASSERT_EQ(std::make_pair(dest.Width(), dest.Height()), std::make_pair(s[2], s[3]));
    for (int y = 0; y < dest.Height(); ++y)
      for (int x = 0; x < dest.Width(); ++x)
        ASSERT_EQ(dest.Pixel(x, y), RGB(201, 13, 99))
            << s[0] << "x" << s[1] << " " << x << "," << y;
  }
  // Halving averages each pair, onto itself too.
  TKBitmap ramp(8, 1);
  Paint(ramp, [](int x, int) { return RGB(x * 30, 0, 0); });
  ScaleBitmap(ramp, ramp, 4, 1);
  EXPECT_EQ(ramp.Width(), 4);
  EXPECT_EQ(RedOf(ramp.Pixel(0, 0)), 15);
}

}  // namespace
}  // namespace kelvra
