// Procedural textures, the shaded fill, soft lights and glow discs, built on integer-hashed
// value and cellular noise.
#include "media/Textures.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace kelvra {

// ---------------------------------------------------------------------------------------
// Noise

namespace {

constexpr float kTwoPi = 6.28318531f;

int Wrap(int32_t i, int period) {
  if (period <= 0) return i;
  const int r = i % period;
  return r < 0 ? r + period : r;
}

float Unit(uint32_t h) {
  return float(h >> 8) * (1.0f / 16777216.0f);  // 0..1, exclusive
}

float Fade(float t) {
  return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

float Smooth(float edge0, float edge1, float v) {
  const float t = std::clamp((v - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

// Floor that stays within int range for any coordinate; NaN counts as the lowest.
int32_t FloorInt(float v) {
  if (!(v >= -1.0e9f)) v = -1.0e9f;
  if (v > 1.0e9f) v = 1.0e9f;
  const int32_t i = int32_t(v);
  return i - (float(i) > v ? 1 : 0);
}

// The position of v within its cell, 0..1 (0 where v was beyond the floor's range).
float Fraction(float v, int32_t cell) {
  const float f = v - float(cell);
  return f >= 0.0f && f <= 1.0f ? f : 0.0f;
}

// The lattice columns (or rows) on both sides of cell i, wrapped into the period.
void Neighbours(int32_t i, int period, int32_t& a, int32_t& b) {
  if (period <= 0) {
    a = i;
    b = i + 1;
    return;
  }
  a = i >= 0 && i < period ? i : Wrap(i, period);
  b = a + 1 == period ? 0 : a + 1;
}

}  // namespace

uint32_t HashMix(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

uint32_t NoiseHash(int32_t x, int32_t y, uint32_t seed) {
  return HashMix(uint32_t(x) * 0x8DA6B343u ^ uint32_t(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu);
}

float ValueNoise(float x, float y, uint32_t seed, int periodX, int periodY) {
  const int32_t ix = FloorInt(x), iy = FloorInt(y);
  const float fx = Fade(Fraction(x, ix)), fy = Fade(Fraction(y, iy));
  int32_t x0, x1, y0, y1;
  Neighbours(ix, periodX, x0, x1);
  Neighbours(iy, periodY, y0, y1);
  const float a = Unit(NoiseHash(x0, y0, seed)), b = Unit(NoiseHash(x1, y0, seed));
  const float c = Unit(NoiseHash(x0, y1, seed)), d = Unit(NoiseHash(x1, y1, seed));
  const float top = a + (b - a) * fx, bottom = c + (d - c) * fx;
  return top + (bottom - top) * fy;
}

float FractalNoise(float x, float y, uint32_t seed, int octaves, int periodX, int periodY) {
  octaves = std::clamp(octaves, 1, 16);
  float sum = 0, weight = 1, total = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += weight * ValueNoise(x, y, seed + uint32_t(o) * 1013u, periodX, periodY);
    total += weight;
    weight *= 0.5f;
    x *= 2;
    y *= 2;
    periodX *= 2;
    periodY *= 2;
  }
  return sum / total;
}

void CellNoise(float x, float y, uint32_t seed, int periodX, int periodY, float& nearest,
               float& second, uint32_t* cell) {
  const int32_t ix = FloorInt(x), iy = FloorInt(y);
  float d1 = 1e9f, d2 = 1e9f;
  uint32_t id = 0;
  int32_t wx[3], wy[3];
  for (int i = 0; i < 3; ++i) {
    wx[i] = Wrap(ix + i - 1, periodX);
    wy[i] = Wrap(iy + i - 1, periodY);
  }
  for (int j = -1; j <= 1; ++j)
    for (int i = -1; i <= 1; ++i) {
      const uint32_t h = NoiseHash(wx[i + 1], wy[j + 1], seed);
      const float px = float(ix + i) + 0.1f + 0.8f * Unit(h);
      const float py = float(iy + j) + 0.1f + 0.8f * Unit(h * 0x9E3779B9u + 0x7F4A7C15u);
      const float d = (px - x) * (px - x) + (py - y) * (py - y);  // squared until the end
      if (d < d1) {
        d2 = d1;
        d1 = d;
        id = h;
      } else if (d < d2) {
        d2 = d;
      }
    }
  nearest = std::sqrt(d1);
  second = std::sqrt(d2);
  if (cell) *cell = id;
}

// ---------------------------------------------------------------------------------------
// Textures

namespace {

struct TColourF {
  float r, g, b;
};

TColourF F(uint32_t c) {
  return {float(RedOf(c)), float(GreenOf(c)), float(BlueOf(c))};
}

TColourF Mix(TColourF a, TColourF b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

TColourF Scale(TColourF a, float k) {
  return {a.r * k, a.g * k, a.b * k};
}

TColourF Add(TColourF a, TColourF b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}

// A colour ramp of stops (position 0..1, colour), looked up in 256 steps.
class TRamp {
 public:
  TRamp(std::initializer_list<std::pair<float, uint32_t>> stops) {
    const auto* s = stops.begin();
    const size_t n = stops.size();
    for (int i = 0; i < 256; ++i) {
      const float t = float(i) / 255.0f;
      size_t k = 0;
      while (k + 2 < n && t > s[k + 1].first) ++k;
      const float span = s[k + 1].first - s[k].first;
      const float f = span > 0 ? std::clamp((t - s[k].first) / span, 0.0f, 1.0f) : 0.0f;
      table_[i] = Mix(F(s[k].second), F(s[k + 1].second), f);
    }
  }
  TColourF operator()(float t) const {
    const float p = std::clamp(t, 0.0f, 1.0f) * 255.0f;
    const int i = std::min(int(p), 254);
    return Mix(table_[i], table_[i + 1], p - float(i));
  }

 private:
  TColourF table_[256];
};

// The texture's size and its noise lattices: `cells` lattice cells across the width, and
// as many down the height as keep the cells square (at least one), so that every lattice
// repeats exactly across the bitmap.
struct TCanvas {
  int w, h;

  int CellsDown(int cells) const {
    return std::max(1, int(std::lround(float(cells) * float(h) / float(w))));
  }
  float U(float x, int cells) const { return x * float(cells) / float(w); }
  float V(float y, int cells) const { return y * float(CellsDown(cells)) / float(h); }
  float Fbm(float x, float y, int cells, uint32_t seed, int octaves) const {
    return FractalNoise(U(x, cells), V(y, cells), seed, octaves, cells, CellsDown(cells));
  }
  float Value(float x, float y, int cells, uint32_t seed) const {
    return ValueNoise(U(x, cells), V(y, cells), seed, cells, CellsDown(cells));
  }
  void Cells(float x, float y, int cells, uint32_t seed, float& f1, float& f2, uint32_t* id) const {
    CellNoise(U(x, cells), V(y, cells), seed, cells, CellsDown(cells), f1, f2, id);
  }
};

uint8_t Channel(float v) {
  return uint8_t(std::clamp(int(v + 0.5f), 0, 255));
}

// Calls `pixel(x, y)` (pixel centres) for every pixel and stores its colour.
template <typename Pixel>
void Paint(TKBitmap& b, Pixel pixel) {
  for (int y = 0; y < b.Height(); ++y) {
    uint8_t* row = b.Row(y);
    for (int x = 0; x < b.Width(); ++x) {
      const TColourF c = pixel(float(x) + 0.5f, float(y) + 0.5f, x, y);
      row[3 * x] = Channel(c.b);
      row[3 * x + 1] = Channel(c.g);
      row[3 * x + 2] = Channel(c.r);
    }
  }
}

void Dusk(TKBitmap& b, const TCanvas& k) {
  const TRamp sky{{0.0f, RGB(10, 14, 44)},
                  {0.45f, RGB(46, 34, 86)},
                  {0.75f, RGB(118, 58, 84)},
                  {0.92f, RGB(176, 92, 64)},
                  {1.0f, RGB(196, 120, 66)}};
  const TColourF haze = F(RGB(150, 96, 128));
  Paint(b, [&](float x, float y, int, int) {
    const float v = y / float(k.h);
    // Long streaks of cloud: lattices wider than they are tall.
    const float n = FractalNoise(k.U(x, 3), y * 14.0f / float(k.h), 11, 5, 3, 14);
    const float cloud = Smooth(0.52f, 0.78f, n) * (0.15f + 0.45f * v);
    return Mix(sky(v + 0.06f * (n - 0.5f)), haze, cloud);
  });
}

void Clouds(TKBitmap& b, const TCanvas& k) {
  const TColourF top = F(RGB(36, 64, 124)), bottom = F(RGB(88, 124, 170));
  const TRamp cloud{
      {0.0f, RGB(112, 122, 148)}, {0.6f, RGB(186, 192, 206)}, {1.0f, RGB(228, 230, 236)}};
  Paint(b, [&](float x, float y, int, int) {
    const float n = k.Fbm(x, y, 4, 21, 6);
    const float lit = k.Fbm(x - 6.0f, y - 9.0f, 4, 21, 6);  // toward the light: brighter tops
    const float amount = Smooth(0.46f, 0.72f, n);
    const TColourF sky = Mix(top, bottom, y / float(k.h));
    return Mix(sky, cloud(0.5f + 2.5f * (lit - n) + 0.5f * (n - 0.5f)), amount);
  });
}

void Marble(TKBitmap& b, const TCanvas& k) {
  const TRamp stone{{0.0f, RGB(46, 50, 56)},
                    {0.12f, RGB(96, 100, 104)},
                    {0.4f, RGB(168, 168, 162)},
                    {1.0f, RGB(222, 220, 212)}};
  const TColourF tint = F(RGB(150, 170, 160));
  Paint(b, [&](float x, float y, int, int) {
    const float t = k.Fbm(x, y, 4, 31, 6);
    const float phase = kTwoPi * (3.0f * x / float(k.w) + 2.0f * y / float(k.h)) + 9.0f * t;
    const float vein = std::pow(std::fabs(std::sin(phase)), 0.35f);
    const float cloud = k.Fbm(x, y, 2, 32, 3);
    return Mix(stone(vein * (0.8f + 0.4f * t)), tint, 0.35f * Smooth(0.45f, 0.8f, cloud));
  });
}

void Wood(TKBitmap& b, const TCanvas& k) {
  const TRamp wood{{0.0f, RGB(66, 36, 18)},
                   {0.35f, RGB(112, 66, 34)},
                   {0.7f, RGB(148, 96, 52)},
                   {1.0f, RGB(176, 122, 72)}};
  const float cx = -0.35f * float(k.w), cy = 0.45f * float(k.h);
  Paint(b, [&](float x, float y, int, int) {
    const float warp = k.Fbm(x, y, 3, 41, 4);
    const float r =
        std::sqrt((x - cx) * (x - cx) + 4.84f * (y - cy) * (y - cy)) / float(k.w) * 14.0f;
    const float ring = r + 2.0f * warp;
    const float f = ring - std::floor(ring);
    const float band = Smooth(0.0f, 0.75f, f) * (1.0f - Smooth(0.85f, 1.0f, f));
    const float grain = k.Value(x, y * 0.06f, 96, 42);  // fine streaks along the grain
    return wood(0.2f + 0.55f * band + 0.3f * (grain - 0.5f) + 0.2f * (warp - 0.5f));
  });
}

void Plasma(TKBitmap& b, const TCanvas& k) {
  const TRamp cycle{{0.0f, RGB(20, 24, 72)},
                    {0.25f, RGB(30, 96, 120)},
                    {0.5f, RGB(92, 54, 140)},
                    {0.75f, RGB(160, 70, 120)},
                    {1.0f, RGB(20, 24, 72)}};
  Paint(b, [&](float x, float y, int, int) {
    const float u = x / float(k.w), v = y / float(k.h);
    const float warp = 1.5f * k.Fbm(x, y, 2, 51, 3);
    const float p = std::sin(kTwoPi * (2.0f * u) + warp) + std::sin(kTwoPi * (3.0f * v) - warp) +
                    std::sin(kTwoPi * (u + 2.0f * v) + 2.0f * warp) +
                    std::sin(kTwoPi * (3.0f * u - v));
    const float t = p * 0.125f + 0.5f;
    return cycle(t * 2.0f - std::floor(t * 2.0f));
  });
}

void Cobbles(TKBitmap& b, const TCanvas& k) {
  const TColourF joint = F(RGB(30, 28, 26));
  const TRamp stone{
      {0.0f, RGB(78, 76, 72)}, {0.5f, RGB(120, 114, 104)}, {1.0f, RGB(150, 146, 136)}};
  Paint(b, [&](float x, float y, int, int) {
    float f1, f2;
    uint32_t id;
    k.Cells(x, y, 10, 61, f1, f2, &id);
    const float edge = Smooth(0.02f, 0.14f, f2 - f1);
    const float surface = k.Fbm(x, y, 24, 62, 3);
    const float shade = 0.25f + 0.5f * Unit(id) + 0.3f * (surface - 0.5f);
    const float dome = 1.05f - 0.45f * f1;
    return Mix(joint, Scale(stone(shade), dome), edge);
  });
}

void Lava(TKBitmap& b, const TCanvas& k) {
  const TRamp heat{{0.0f, RGB(18, 12, 12)},
                   {0.45f, RGB(48, 18, 14)},
                   {0.7f, RGB(150, 36, 10)},
                   {0.88f, RGB(230, 110, 20)},
                   {1.0f, RGB(255, 210, 90)}};
  Paint(b, [&](float x, float y, int, int) {
    const float n = k.Fbm(x, y, 4, 71, 5);
    const float ridge = 1.0f - std::fabs(2.0f * n - 1.0f);
    const float rock = k.Fbm(x, y, 32, 72, 2);
    return heat(std::pow(ridge, 5.0f) + 0.25f * (rock - 0.5f));
  });
}

void Water(TKBitmap& b, const TCanvas& k) {
  const TColourF deep = F(RGB(8, 34, 70)), shallow = F(RGB(18, 86, 120));
  const TColourF light = F(RGB(90, 170, 190));
  Paint(b, [&](float x, float y, int, int) {
    const float broad = k.Fbm(x, y, 2, 81, 3);
    const float wx = x + 30.0f * (k.Fbm(x, y, 3, 82, 2) - 0.5f);
    const float n1 = k.Fbm(wx, y, 6, 83, 2), n2 = k.Fbm(wx, y, 9, 84, 2);
    const float c1 = std::pow(1.0f - std::fabs(2.0f * n1 - 1.0f), 8.0f);
    const float c2 = std::pow(1.0f - std::fabs(2.0f * n2 - 1.0f), 8.0f);
    const TColourF base = Mix(deep, shallow, Smooth(0.3f, 0.75f, broad));
    return Add(base, Scale(light, 0.55f * std::min(1.0f, c1 + 0.6f * c2)));
  });
}

void Granite(TKBitmap& b, const TCanvas& k) {
  const TColourF matrixDark = F(RGB(104, 100, 102)), matrixLight = F(RGB(160, 156, 154));
  const TColourF feldspar = F(RGB(172, 124, 112)), mica = F(RGB(34, 32, 36));
  Paint(b, [&](float x, float y, int px, int py) {
    const float base = k.Fbm(x, y, 16, 91, 3);
    TColourF c = Mix(matrixDark, matrixLight, base);
    c = Mix(c, feldspar, Smooth(0.6f, 0.68f, k.Fbm(x, y, 48, 92, 2)));
    c = Mix(c, mica, Smooth(0.66f, 0.72f, k.Fbm(x, y, 80, 93, 2)));
    const float grit = Unit(NoiseHash(px, py, 94)) - 0.5f;
    return Add(c, TColourF{grit * 18.0f, grit * 18.0f, grit * 18.0f});
  });
}

void Nebula(TKBitmap& b, const TCanvas& k) {
  const TColourF space = F(RGB(4, 4, 14)), violet = F(RGB(112, 40, 132));
  const TColourF teal = F(RGB(28, 104, 132)), rose = F(RGB(168, 70, 96));
  Paint(b, [&](float x, float y, int px, int py) {
    const float warp = k.Fbm(x, y, 2, 101, 3);
    const float gas = k.Fbm(x + 120.0f * warp, y + 60.0f * warp, 3, 102, 6);
    const float hue = k.Fbm(x, y, 2, 103, 2);
    const float density = Smooth(0.38f, 0.82f, gas);
    TColourF c = Mix(space, Mix(teal, violet, Smooth(0.35f, 0.65f, hue)), density);
    c = Mix(c, rose, 0.6f * Smooth(0.72f, 0.95f, gas) * Smooth(0.5f, 0.7f, hue));
    const uint32_t h = NoiseHash(px, py, 104);
    if ((h & 1023) < 3) {  // about one pixel in 340 is a star
      const float star = 90.0f + 165.0f * Unit(h * 2654435761u);
      c = Add(c, TColourF{star, star, star * 0.95f});
    }
    return c;
  });
}

void Rust(TKBitmap& b, const TCanvas& k) {
  const TColourF steel = F(RGB(92, 90, 88));
  const TRamp rust{{0.0f, RGB(60, 32, 20)}, {0.5f, RGB(124, 58, 24)}, {1.0f, RGB(168, 92, 40)}};
  Paint(b, [&](float x, float y, int, int) {
    const float amount = Smooth(0.4f, 0.6f, k.Fbm(x, y, 5, 111, 5));
    const float grain = k.Fbm(x, y, 48, 112, 2);
    const float pit = Smooth(0.68f, 0.8f, k.Fbm(x, y, 40, 113, 2));
    const TColourF c = Mix(Scale(steel, 0.8f + 0.4f * grain), rust(grain), amount);
    return Scale(c, 1.0f - 0.5f * pit);
  });
}

void Moss(TKBitmap& b, const TCanvas& k) {
  const TColourF rock = F(RGB(70, 72, 66));
  const TRamp moss{{0.0f, RGB(28, 52, 18)}, {0.6f, RGB(70, 110, 36)}, {1.0f, RGB(128, 150, 60)}};
  Paint(b, [&](float x, float y, int, int) {
    float f1, f2;
    k.Cells(x, y, 8, 121, f1, f2, nullptr);
    const float cover = Smooth(0.35f, 0.6f, k.Fbm(x, y, 6, 122, 4) + 0.2f * (0.5f - f1));
    const float tuft = k.Fbm(x, y, 64, 123, 2);
    const TColourF stone = Scale(rock, 0.7f + 0.5f * Smooth(0.0f, 0.2f, f2 - f1));
    return Mix(stone, moss(tuft), cover);
  });
}

void BrushedMetal(TKBitmap& b, const TCanvas& k) {
  const TRamp steel{
      {0.0f, RGB(70, 76, 84)}, {0.5f, RGB(128, 134, 142)}, {1.0f, RGB(176, 182, 190)}};
  Paint(b, [&](float x, float y, int, int) {
    const float streak =
        FractalNoise(x * 4.0f / float(k.w), y * 192.0f / float(k.h), 131, 3, 4, 192);
    const float sheen = 0.5f + 0.5f * std::cos(kTwoPi * (x / float(k.w) - 0.3f * y / float(k.h)));
    return steel(0.25f + 0.45f * sheen + 0.6f * (streak - 0.5f));
  });
}

void Ripples(TKBitmap& b, const TCanvas& k) {
  const TRamp pond{{0.0f, RGB(10, 40, 52)}, {0.5f, RGB(26, 84, 96)}, {1.0f, RGB(110, 170, 170)}};
  const float cx = 0.45f * float(k.w), cy = 0.55f * float(k.h);
  Paint(b, [&](float x, float y, int, int) {
    const float r = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
    const float wobble = 6.0f * k.Fbm(x, y, 3, 141, 3);
    const float wave = std::sin(r * 0.16f + wobble) * std::exp(-r / (0.45f * float(k.w)));
    const float shade = k.Fbm(x, y, 2, 142, 3);
    return pond(0.3f + 0.3f * wave + 0.3f * (shade - 0.5f));
  });
}

void Weave(TKBitmap& b, const TCanvas& k) {
  const TColourF warp = F(RGB(70, 54, 96)), weft = F(RGB(120, 96, 70));
  Paint(b, [&](float x, float y, int px, int py) {
    constexpr int kThread = 8;  // pixels per thread
    const int cx = px / kThread, cy = py / kThread;
    const bool vertical = ((cx + cy) & 1) == 0;  // which thread is on top here
    const float across = (vertical ? x : y) / kThread;
    const float along = (vertical ? y : x) / kThread;
    const float profile = std::sin(3.14159265f * (across - std::floor(across)));
    const float arch = std::sin(3.14159265f * (along - std::floor(along)));
    const float fibre = k.Value(vertical ? x : x * 0.1f, vertical ? y * 0.1f : y, 128, 151);
    const float shade = 0.45f + 0.35f * profile + 0.15f * arch + 0.2f * (fibre - 0.5f);
    const float dye = 0.85f + 0.3f * k.Fbm(x, y, 3, 152, 3);
    return Scale(vertical ? warp : weft, shade * dye * 1.3f);
  });
}

void Sand(TKBitmap& b, const TCanvas& k) {
  const TRamp sand{{0.0f, RGB(112, 80, 48)}, {0.5f, RGB(170, 130, 84)}, {1.0f, RGB(206, 172, 120)}};
  Paint(b, [&](float x, float y, int px, int py) {
    const float bend = 2.5f * k.Fbm(x, y, 3, 161, 4);
    const float wave = std::sin(kTwoPi * (14.0f * y / float(k.h) + 2.0f * x / float(k.w)) + bend);
    const float ripple = 0.5f + 0.5f * wave * std::fabs(wave);  // sharp crests, wide troughs
    const float grain = Unit(NoiseHash(px, py, 162)) - 0.5f;
    const float dune = k.Fbm(x, y, 2, 163, 3);
    return sand(0.25f + 0.35f * ripple + 0.4f * (dune - 0.35f) + 0.12f * grain);
  });
}

void Ice(TKBitmap& b, const TCanvas& k) {
  const TRamp ice{{0.0f, RGB(40, 70, 100)}, {0.6f, RGB(100, 146, 176)}, {1.0f, RGB(170, 204, 222)}};
  const TColourF crack = F(RGB(220, 236, 246));
  Paint(b, [&](float x, float y, int, int) {
    float f1, f2;
    k.Cells(x, y, 6, 171, f1, f2, nullptr);
    float g1, g2;
    k.Cells(x, y, 17, 172, g1, g2, nullptr);
    const float depth = k.Fbm(x, y, 3, 173, 5);
    const float line =
        std::max(1.0f - Smooth(0.0f, 0.05f, f2 - f1), 0.5f * (1.0f - Smooth(0.0f, 0.06f, g2 - g1)));
    return Mix(ice(depth), crack, 0.8f * line);
  });
}

using TTextureMaker = void (*)(TKBitmap&, const TCanvas&);

struct TTextureEntry {
  const char* name;
  TTextureMaker make;
};

constexpr TTextureEntry kTextures[kTextureCount] = {
    {"Dusk", Dusk},
    {"Clouds", Clouds},
    {"Marble", Marble},
    {"Wood", Wood},
    {"Plasma", Plasma},
    {"Cobbles", Cobbles},
    {"Lava", Lava},
    {"Water", Water},
    {"Granite", Granite},
    {"Nebula", Nebula},
    {"Rust", Rust},
    {"Moss", Moss},
    {"Brushed Metal", BrushedMetal},
    {"Ripples", Ripples},
    {"Weave", Weave},
    {"Sand", Sand},
    {"Ice", Ice},
};

}  // namespace

const char* TextureName(int number) {
  return number >= 0 && number < kTextureCount ? kTextures[number].name : "";
}

bool MakeTexture(TKBitmap& b, int number) {
  if (number < 0 || number >= kTextureCount) return false;
  if (b.Empty()) return true;
  kTextures[number].make(b, TCanvas{b.Width(), b.Height()});
  return true;
}

// ---------------------------------------------------------------------------------------
// Shaded fill and lights

void ShadedFill(TKBitmap& b, int x1, int y1, int x2, int y2, uint32_t colour, TEffect mode) {
  colour = ColorToRGB(colour);
  if (colour > 0xFFFFFF || mode == ef00 || mode >= kEffects) return;
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const int top = std::max(y1, b.clipY1), bottom = std::min(y2, b.clipY2);
  const int64_t span = int64_t(y2) - y1;
  for (int y = top; y <= bottom; ++y) {
    // Full strength (65536) on the first row down to a quarter on the last.
    const int64_t factor = span == 0 ? 65536 : 65536 - 49152 * (int64_t(y) - y1) / span;
    FillRect(b, x1, y, x2, y, ScaleColor(colour, int(factor)), mode);
  }
}

void SoftLight(TKBitmap& b, int cx, int cy, int radius, uint32_t colour, TEffect mode) {
  colour = ColorToRGB(colour);
  if (radius <= 0 || colour > 0xFFFFFF || mode == ef00 || mode >= kEffects) return;
  const int64_t r = radius;
  const int x1 = int(std::max<int64_t>(int64_t(cx) - r + 1, b.clipX1));
  const int x2 = int(std::min<int64_t>(int64_t(cx) + r - 1, b.clipX2));
  const int y1 = int(std::max<int64_t>(int64_t(cy) - r + 1, b.clipY1));
  const int y2 = int(std::min<int64_t>(int64_t(cy) + r - 1, b.clipY2));
  const double inv = 1.0 / (double(r) * double(r));
  const float red = float(RedOf(colour)), green = float(GreenOf(colour)),
              blue = float(BlueOf(colour));
  for (int y = y1; y <= y2; ++y) {
    const double dy = double(y) - cy;
    for (int x = x1; x <= x2; ++x) {
      const double dx = double(x) - cx;
      const double d = (dx * dx + dy * dy) * inv;
      if (d >= 1.0) continue;
      const float f = float((1.0 - d) * (1.0 - d));  // smooth at both the centre and the rim
      PutPixel(b, x, y, RGB(Channel(red * f), Channel(green * f), Channel(blue * f)), mode);
    }
  }
}

}  // namespace kelvra
