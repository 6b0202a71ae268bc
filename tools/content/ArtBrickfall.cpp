// Brickfall's pictures: the wall shapes (drawn in grey, tinted per wall colour by the game),
// the paddles, the shot, the three enemies, the falling bonuses, the bubble, rain and snow
// particles and the brick pattern laid over textured backgrounds.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Content.h"
#include "Paint.h"
#include "Palette.h"

namespace kelvra::content {

namespace {

// Exact greys for everything the game recolours: walls are tinted by adding (colour - 127)
// to each channel, the shot's grey pixels are recoloured only when red = green = blue, and
// paddles are blended with the player's colour. The ramp starts high enough that the
// dimmer channels of a tinted wall still show their shading.
constexpr uint32_t Grey(int v) {
  return Rgb(v, v, v);
}
constexpr uint32_t kSteel[6] = {Grey(70), Grey(104), Grey(138), Grey(172), Grey(208), Grey(244)};
constexpr uint32_t kSteelInk = Grey(34);

// Distance to a wall's outline (negative inside) and its face brightness (0..1) at a point.
using TDistance = std::function<double(double x, double y)>;
using TFace = std::function<double(double x, double y)>;

// Light from the upper left: +1 for a surface turned fully toward it, -1 for one turned away.
double EdgeLight(const TDistance& dist, double x, double y) {
  const double gx = dist(x + 0.5, y) - dist(x - 0.5, y);
  const double gy = dist(x, y + 0.5) - dist(x, y - 0.5);
  const double len = std::hypot(gx, gy);
  if (len < 1e-9) return 0;
  return (-0.62 * gx - 0.78 * gy) / len;
}

// A wall picture: magenta outside the shape, a one-pixel dark outline, a bevel of `bevel`
// pixels lit from the upper left, and the face inside it.
TKBitmap DrawWall(int w, int h, const TDistance& dist, double bevel, const TFace& face) {
  TKBitmap b(w, h);
  for (int py = 0; py < h; ++py)
    for (int px = 0; px < w; ++px) {
      const double x = px + 0.5, y = py + 0.5, d = dist(x, y);
      uint32_t c;
      if (d >= 0)
        c = kKey;
      else if (d > -1)
        c = kSteelInk;
      else if (-d < 1 + bevel)
        c = RampDither(kSteel, 6, 0.55 + 0.45 * EdgeLight(dist, x, y), px, py);
      else
        c = RampDither(kSteel, 6, face(x, y), px, py);
      PutPixel(b, px, py, c, ef16);
    }
  return b;
}

TDistance Box(int w, int h, double radius = 0) {
  return [=](double x, double y) { return SdBox(x, y, 0, 0, w, h, radius); };
}

// Face textures, each 0..1 brightness.
TFace Flat(double level, uint32_t seed) {
  return [=](double x, double y) {
    return level + 0.08 * (FractalNoise(x / 3, y / 3, seed, 2) - 0.5);
  };
}

// Rough stone: cloudy light and dark patches with a few dark veins.
TFace Stone(uint32_t seed) {
  return [=](double x, double y) {
    const double n = FractalNoise(x / 6, y / 6, seed, 3);
    const double vein = std::abs(ValueNoise(x / 5, y / 9, seed + 7) - 0.5);
    return 0.3 + 0.5 * n - (vein < 0.035 ? 0.25 : 0);
  };
}

// Brushed metal with a lighter band across the upper third, and rivets every `pitch` pixels
// along the edges `inset` pixels in.
TFace Metal(int w, int h, int pitch, int inset) {
  return [=](double x, double y) {
    for (double rx = inset; rx <= w - inset + 0.01; rx += pitch)
      for (double ry : {double(inset), double(h - inset)}) {
        const double r = std::hypot(x - rx, y - ry);
        if (r < 1.4) return SphereLight(x, y, rx, ry, 1.4);
        if (r < 2.0) return 0.15;  // the rivet's shadowed rim
      }
    const double band = std::exp(-std::pow((y / h - 0.32) * 4.5, 2));
    return 0.42 + 0.28 * band + 0.06 * (ValueNoise(x / 9, y * 2, 31) - 0.5);
  };
}

// Masonry: courses of small bricks `bw` x `bh` with dark mortar between them.
TFace Masonry(int bw, int bh, uint32_t seed) {
  return [=](double x, double y) {
    const int row = int(y / bh);
    const double ox = (row & 1) ? bw / 2.0 : 0;
    const double lx = std::fmod(x + ox, bw), ly = std::fmod(y, bh);
    if (lx < 1 || ly < 1) return 0.08;  // mortar
    const int cell = int((x + ox) / bw) + row * 31;
    const double tone = 0.42 + 0.16 * (HashMix(seed + cell) % 100) / 100.0;
    if (ly < 2) return tone + 0.2;  // the top edge of each brick catches the light
    if (lx > bw - 1) return tone - 0.15;
    return tone + 0.08 * (FractalNoise(x / 3, y / 3, seed, 2) - 0.5);
  };
}

// Vertical flutes: light on the left half of each groove, dark on the right.
TFace Fluted(int pitch) {
  return [=](double x, double) {
    const double t = std::fmod(x, pitch) / pitch;
    return 0.5 + 0.32 * std::cos(t * 2 * 3.14159265358979323846 + 0.6);
  };
}

struct TWallShape {
  const char* name;
  int width, height;
  std::function<TKBitmap(int w, int h)> draw;
};

// The wall shapes in the order of their numbers in the level files. Shape 0 must stay a plain
// 32 x 16 brick. Areas up to 2304 square pixels can be broken by the ordinary ball; the last
// three are larger on purpose and need a big ball.
std::vector<TWallShape> WallShapes() {
  const auto box = [](double bevel, TFace face, double radius = 0) {
    return [=](int w, int h) { return DrawWall(w, h, Box(w, h, radius), bevel, face); };
  };
  const auto round = [](uint32_t seed, double rough) {
    return [=](int w, int h) {
      const double cx = w / 2.0, cy = h / 2.0, r = std::min(w, h) / 2.0;
      const TDistance dist = [=](double x, double y) {
        const double a = std::atan2(y - cy, x - cx);
        const double lump =
            rough * (ValueNoise(std::cos(a) * 2 + 3, std::sin(a) * 2 + 3, seed) - 0.5);
        return SdCircle(x, y, cx, cy, r - rough / 2 + lump);
      };
      const TFace face = [=](double x, double y) {
        const double n = FractalNoise(x / 5, y / 5, seed + 3, 2);
        return 0.05 + 0.8 * SphereLight(x, y, cx, cy, r) + rough * 0.07 * (n - 0.5);
      };
      return DrawWall(w, h, dist, 0, face);
    };
  };
  const auto gem = [](int w, int h) {
    const double cx = w / 2.0, cy = h / 2.0;
    const std::vector<std::pair<double, double>> outline = {
        {cx, 0.2}, {w - 0.2, cy}, {cx, h - 0.2}, {0.2, cy}};
    const TDistance dist = [=](double x, double y) { return SdPolygon(x, y, outline); };
    // Four facets around a flat table in the middle; upper left brightest.
    const TFace face = [=](double x, double y) {
      const double u = (x - cx) / cx, v = (y - cy) / cy;
      if (std::abs(u) + std::abs(v) < 0.38) return 0.78;
      if (u <= 0 && v <= 0) return 0.95;
      if (u > 0 && v <= 0) return 0.62;
      if (u <= 0) return 0.45;
      return 0.22;
    };
    return DrawWall(w, h, dist, 0, face);
  };
  return {
      {"00 Brick", 32, 16, box(2, Flat(0.6, 1))},
      {"01 Half Brick", 16, 16, box(2, Flat(0.6, 2))},
      {"02 Chip", 12, 8, box(1, Flat(0.6, 3))},
      {"03 Long Brick", 48, 16, box(2, Flat(0.6, 4))},
      {"04 Slab", 64, 16, box(2, Stone(5))},
      {"05 Post", 16, 32, box(2, Fluted(8))},
      {"06 Block", 32, 32, box(3, Stone(6))},
      {"07 Stud", 24, 24, round(7, 0)},
      {"08 Gem", 32, 24, gem},
      {"09 Crate", 48, 32, box(2, Metal(48, 32, 10, 5))},
      {"10 Beam", 96, 16, box(2, Metal(96, 16, 16, 5))},
      {"11 Pillar", 24, 64, box(3, Fluted(8))},
      {"12 Wall Section", 48, 48, box(2, Masonry(12, 6, 12))},
      {"13 Fortress", 64, 48, box(3, Masonry(16, 8, 13))},
      {"14 Girder", 128, 24, box(3, Metal(128, 24, 12, 6))},
      {"15 Boulder", 64, 64, round(15, 5)},
  };
}

void MakeWalls(TContent& content) {
  for (const TWallShape& s : WallShapes()) {
    const TKBitmap b = s.draw(s.width, s.height);
    content.WriteBmp(std::string("Graphics\\Walls\\") + s.name + ".bmp", b, kKey);
  }
}

// Paddles are stored at half size; the game doubles them with smooth scaling and blends each
// copy with the player's colour, so they are grey bars in bands of light, lit from above,
// with rounded ends and darker grips. Plain bands (no dithering) scale up cleanly.
void MakePaddles(TContent& content) {
  const int widths[4] = {16, 24, 32, 48};
  constexpr int kHeight = 7;
  const uint32_t bands[kHeight] = {kSteelInk, kSteel[5], kSteel[4], kSteel[3],
                                   kSteel[2], kSteel[1], kSteelInk};
  const uint32_t grips[kHeight] = {kSteelInk, kSteel[3], kSteel[2], kSteel[1],
                                   kSteel[1], kSteel[0], kSteelInk};
  for (int size = 0; size < 4; ++size) {
    const int w = widths[size];
    TKBitmap b(w, kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < w; ++x) {
        const int end = std::min(x, w - 1 - x);  // pixels from the nearer end
        uint32_t c = end <= 2 ? grips[y] : bands[y];
        if (end == 0) c = (y == 0 || y == kHeight - 1) ? kKey : kSteelInk;
        if (end == 3 && y > 0 && y < kHeight - 1) c = kSteel[0];  // the seam at each grip
        PutPixel(b, x, y, c, ef16);
      }
    char name[64];
    std::snprintf(name, sizeof name, "Graphics\\Brickfall\\Player%d.bmp", size);
    content.WriteBmp(name, b, kKey);
  }
}

// The shot points up (the game turns it over for shots that move down): a glowing tip, a grey
// body that takes the player's second colour, and a short exhaust flame at the tail.
void MakeShot(TContent& content) {
  const std::vector<std::string> rows = {
      "..oo..", ".oyyo.", ".oWyo.", "oWhgmo", "oWhgmo", "ohggdo", "ohggdo",
      "ohgmdo", "ohgmdo", "ohgmdo", ".odddo", ".ofFo.", "..fF..", "...f..",
  };
  TKBitmap b(6, 14);
  FillBitmap(b, kKey, ef16);
  DrawPixelMap(b, 0, 0, rows,
               {{'o', pal::kInk},
                {'y', pal::kGold[4]},
                {'W', Grey(255)},
                {'h', kSteel[4]},
                {'g', kSteel[3]},
                {'m', kSteel[2]},
                {'d', kSteel[1]},
                {'f', pal::kFire[4]},
                {'F', pal::kFire[6]}});
  content.WriteBmp("Graphics\\Brickfall\\Shot0.bmp", b, kKey);
}

// Renders shapes with hard pixel edges into a bitmap over the transparent colour.
TKBitmap RenderSprite(int w, int h, const std::vector<TShape>& shapes) {
  TRgbaImage img(w, h);
  RenderShapes(img, shapes, 1);
  TKBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = img.At(x, y);
      PutPixel(b, x, y, p[3] >= 128 ? Rgb(p[0], p[1], p[2]) : kKey, ef16);
    }
  return b;
}

// A lit sphere filled from a ramp.
TShape Orb(double cx, double cy, double r, const uint32_t* ramp, int count, double outline = 1) {
  return {[=](double x, double y) { return SdCircle(x, y, cx, cy, r); },
          [=](double x, double y, double, int px, int py) {
            return RampDither(ramp, count, SphereLight(x, y, cx, cy, r), px, py);
          },
          outline, pal::kInk};
}

TShape Solid(std::function<double(double, double)> dist, uint32_t colour, double outline = 0) {
  return {std::move(dist), [=](double, double, double, int, int) { return colour; }, outline,
          pal::kInk};
}

// Enemy 1, the drifter: a violet spore with a staring eye and short spikes; a ball pops it.
TKBitmap Drifter() {
  const double c = 12;
  std::vector<TShape> shapes;
  for (int k = 0; k < 8; ++k) {
    const double a = k * 3.14159265358979323846 / 4 + 0.2;
    shapes.push_back(Solid(
        [=](double x, double y) {
          return SdSegment(x, y, c, c, c + std::cos(a) * 10.5, c + std::sin(a) * 10.5, 0.9);
        },
        pal::kViolet[1], 1));
  }
  shapes.push_back(Orb(c, c, 8, pal::kViolet, 5));
  shapes.push_back(Solid([=](double x, double y) { return SdCircle(x, y, c + 0.5, c, 3.6); },
                         pal::kPaper[2], 1));
  shapes.push_back(Solid([=](double x, double y) { return SdCircle(x, y, c + 1.3, c + 0.5, 1.7); },
                         pal::kRed[1]));
  shapes.push_back(Solid([=](double x, double y) { return SdCircle(x, y, c + 0.4, c - 0.8, 0.7); },
                         pal::kPaper[2]));
  return RenderSprite(24, 24, shapes);
}

// Enemy 2, the bumper: a heavy steel ring round a gold star that balls glance off.
TKBitmap Bumper() {
  const double c = 16;
  std::vector<std::pair<double, double>> star;
  for (int k = 0; k < 10; ++k) {
    const double a = -3.14159265358979323846 / 2 + k * 3.14159265358979323846 / 5;
    const double r = k % 2 ? 3.6 : 8.2;
    star.push_back({c + std::cos(a) * r, c + std::sin(a) * r});
  }
  std::vector<TShape> shapes;
  shapes.push_back(Orb(c, c, 15, pal::kBlue, 6));
  shapes.push_back(
      Solid([=](double x, double y) { return SdCircle(x, y, c, c, 10.5); }, pal::kBlue[0], 1));
  shapes.push_back({[=](double x, double y) { return SdPolygon(x, y, star); },
                    [=](double x, double y, double, int px, int py) {
                      return RampDither(pal::kGold, 5, 0.35 + 0.05 * (c - x) + 0.04 * (c - y) + 0.3,
                                        px, py);
                    },
                    1, pal::kInk});
  // Bolts round the ring.
  for (int k = 0; k < 6; ++k) {
    const double a = k * 3.14159265358979323846 / 3;
    const double bx = c + std::cos(a) * 12.8, by = c + std::sin(a) * 12.8;
    shapes.push_back(Orb(bx, by, 1.3, pal::kGrey, 6, 0));
  }
  return RenderSprite(32, 32, shapes);
}

// Enemy 3, the flyer: a green saucer with a glass dome and lit portholes crossing the field.
TKBitmap Flyer() {
  std::vector<TShape> shapes;
  shapes.push_back(Orb(16, 9, 6.5, pal::kBlue, 6));  // the dome
  shapes.push_back(
      {[](double x, double y) { return std::hypot((x - 16) / 15.0, (y - 12.5) / 5.0) * 5.0 - 5.0; },
       [](double x, double y, double, int px, int py) {
         const double v = 0.85 - (y - 8) / 9.0 - std::abs(x - 16) / 40.0;
         return RampDither(pal::kGreen, 5, v, px, py);
       },
       1, pal::kInk});
  for (int k = -2; k <= 2; ++k)
    shapes.push_back(
        Solid([=](double x, double y) { return SdCircle(x, y, 16 + k * 5.5, 13, 1.1); },
              k % 2 ? pal::kGold[4] : pal::kFire[5]));
  return RenderSprite(32, 20, shapes);
}

void MakeEnemies(TContent& content) {
  content.WriteBmp("Graphics\\Brickfall\\Enem0.bmp", Drifter(), kKey);
  content.WriteBmp("Graphics\\Brickfall\\Enem1.bmp", Bumper(), kKey);
  content.WriteBmp("Graphics\\Brickfall\\Enem2.bmp", Flyer(), kKey);
}

// Particles, drawn at half opacity: glassy bubbles (8, 12 and 16 pixels), rain streaks of
// three lengths and four snowflakes from a speck to a six-armed crystal.
void MakeParticles(TContent& content) {
  for (int k = 0; k < 3; ++k) {
    const int s = 8 + 4 * k;
    const double c = s / 2.0, r = c - 0.6;
    std::vector<TShape> shapes;
    shapes.push_back({[=](double x, double y) { return SdCircle(x, y, c, c, r); },
                      [=](double x, double y, double d, int px, int py) {
                        // Clear in the middle, brighter toward the rim.
                        const double rim = std::clamp(1 + d / (r * 0.45), 0.0, 1.0);
                        return RampDither(pal::kBlue, 6, 0.25 + 0.6 * rim + 0.1 * (c - y) / r, px,
                                          py);
                      }});
    shapes.push_back(
        Solid([=](double x, double y) { return SdCircle(x, y, c - r * 0.4, c - r * 0.4, r * 0.2); },
              pal::kBlue[5]));
    char name[64];
    std::snprintf(name, sizeof name, "Graphics\\Brickfall\\Bubble%d.bmp", k);
    content.WriteBmp(name, RenderSprite(s, s, shapes), kKey);
  }
  for (int k = 0; k < 3; ++k) {
    const int w = 2 + k / 2, h = 8 + 4 * k;
    TKBitmap b(w, h);
    FillBitmap(b, kKey, ef16);
    for (int y = 0; y < h; ++y)  // fades in from the tail above to the bright drop below
      for (int x = 0; x < w; ++x)
        PutPixel(b, x, y, RampDither(pal::kBlue, 6, 0.3 + 0.7 * y / (h - 1) - 0.15 * x, x, y),
                 ef16);
    char name[64];
    std::snprintf(name, sizeof name, "Graphics\\Brickfall\\Rain%d.bmp", k);
    content.WriteBmp(name, b, kKey);
  }
  for (int k = 0; k < 4; ++k) {
    const int s = 3 + 2 * k;
    const double c = s / 2.0;
    std::vector<TShape> shapes;
    if (k >= 2)
      for (int arm = 0; arm < 3; ++arm) {
        const double a = arm * 3.14159265358979323846 / 3 + 3.14159265358979323846 / 2;
        const double dx = std::cos(a) * (c - 0.5), dy = std::sin(a) * (c - 0.5);
        shapes.push_back(
            Solid([=](double x,
                      double y) { return SdSegment(x, y, c - dx, c - dy, c + dx, c + dy, 0.5); },
                  pal::kPaper[1]));
      }
    shapes.push_back(
        Solid([=](double x, double y) { return SdCircle(x, y, c, c, k < 2 ? c - 0.3 : 1.2); },
              pal::kPaper[2]));
    char name[64];
    std::snprintf(name, sizeof name, "Graphics\\Brickfall\\Snow%d.bmp", k);
    content.WriteBmp(name, RenderSprite(s, s, shapes), kKey);
  }
}

// The brick pattern laid over textured backgrounds at three quarters strength: a tile of two
// courses of 32 x 16 bricks, offset by half a brick, that repeats seamlessly. It is kept dark
// so that walls stand out in front of it.
void MakeBrickPattern(TContent& content) {
  constexpr int kW = 64, kH = 32;
  TKBitmap b(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const int row = y / 16, ly = y % 16;
      const int lx = (x + (row ? 16 : 0)) % 32;
      double v;
      if (ly == 15 || lx == 31)
        v = 0.0;  // mortar
      else if (ly == 0 || lx == 0)
        v = 0.75;  // lit upper and left edges
      else if (ly == 14 || lx == 30)
        v = 0.2;
      else
        v = 0.4 + 0.25 * (FractalNoise(x / 4.0, y / 4.0, 77, 2, 16, 8) - 0.5);
      PutPixel(b, x, y, RampDither(pal::kEarth, 4, v, x, y), ef16);
    }
  content.WriteBmp("Graphics\\Brickfall\\Brick.bmp", b);
}

// Falling bonuses: capsules 32 x 14 with a short label. Gold ones add score, green and blue
// ones help the paddle or the ball, red ones harm, violet ones change the rules.
void MakeBonuses(TContent& content) {
  struct TBonus {
    const char* name;
    const char* label;
    const uint32_t* ramp;
  };
  const TBonus bonuses[] = {
      {"NextLevel", "END", pal::kViolet},
      {"IncScore1", "250", pal::kGold},
      {"IncScore2", "500", pal::kGold},
      {"IncScore3", "1K", pal::kGold},
      {"IncScore4", "2K", pal::kGold},
      {"PlayerCanY", "UP", pal::kGreen},
      {"PlayerAddShot", "+3", pal::kGreen},
      {"PlayerCanShot", "GUN", pal::kGreen},
      {"PlayerNotVisible", "HID", pal::kViolet},
      {"PlayerGuide", "CAT", pal::kGreen},
      {"PlayerBlink", "BLK", pal::kViolet},
      {"IncPlayerSize", "W+", pal::kGreen},
      {"DecPlayerSize", "W-", pal::kRed},
      {"IncPlayerSpeed", "S+", pal::kGreen},
      {"DecPlayerSpeed", "S-", pal::kRed},
      {"IncPlayerAccel", "I+", pal::kGreen},
      {"DecPlayerAccel", "I-", pal::kRed},
      {"IncBallSize", "B+", pal::kBlue},
      {"DecBallSize", "B-", pal::kRed},
      {"IncBallSpeed", "V+", pal::kBlue},
      {"DecBallSpeed", "V-", pal::kRed},
      {"BallCanBeSmall", "SML", pal::kBlue},
      {"UndeadBall", "UND", pal::kBlue},
      {"FragmentBall", "FRG", pal::kBlue},
      {"IncBall", "+1", pal::kBlue},
      {"SwapControls", "SWP", pal::kRed},
  };
  constexpr int kW = 32, kH = 14;
  for (const TBonus& bonus : bonuses) {
    TKBitmap b(kW, kH);
    for (int py = 0; py < kH; ++py)
      for (int px = 0; px < kW; ++px) {
        const double x = px + 0.5, y = py + 0.5;
        const double d = SdBox(x, y, 0, 0, kW, kH, 6.5);
        uint32_t c;
        if (d >= 0)
          c = kKey;
        else if (d > -1)
          c = pal::kInk;
        else  // a lit pill: bright band near the top, darker below
          c = RampDither(bonus.ramp, 5, 0.95 - 0.85 * std::abs(y - 4.5) / 8.5, px, py);
        PutPixel(b, px, py, c, ef16);
      }
    const int tx = (kW - TextWidth5x7(bonus.label)) / 2;
    DrawText5x7(b, tx + 1, 4, bonus.label, bonus.ramp[0]);  // shadow
    DrawText5x7(b, tx, 3, bonus.label, pal::kPaper[2]);
    content.WriteBmp(std::string("Graphics\\Bonuses\\") + bonus.name + ".bmp", b, kKey);
  }
}

void MakeBrickfallArt(TContent& content) {
  MakeWalls(content);
  MakePaddles(content);
  MakeShot(content);
  MakeEnemies(content);
  MakeParticles(content);
  MakeBrickPattern(content);
  MakeBonuses(content);
}

TRegisterGenerator registerBrickfall("Brickfall pictures", 110, MakeBrickfallArt);

}  // namespace

}  // namespace kelvra::content
