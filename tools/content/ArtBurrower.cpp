// Burrower's field pictures: the cavern behind the tunnels, earth and wall squares, the
// brooders' eggs, fruit and apples, stains, the bonuses (weapons, ammunition, health, armor,
// medic kits, swap) and the shots. The players and enemies are in ArtBurrowerCrew.cpp.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "ArtBurrower.h"

namespace kelvra::content::burrower {

TKBitmap Blank(int w, int h) {
  TKBitmap b(w, h);
  FillBitmap(b, kKey, ef16);
  return b;
}

void Fill(TKBitmap& b, const TField& field, const TPaint& paint) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (field(x + 0.5, y + 0.5) < 0) PutPixel(b, x, y, paint(x, y), ef16);
}

void Outline(TKBitmap& b, uint32_t ink) {
  const TKBitmap before = b;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      if (before.Pixel(x, y) != kKey) continue;
      bool touch = false;
      for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        const uint32_t c = before.Pixel(x + dx, y + dy);
        if (c != kKey && c != clNone && c != ink) touch = true;
      }
      if (touch) PutPixel(b, x, y, ink, ef16);
    }
}

void Map(TKBitmap& b, int x0, int y0, const std::vector<std::string>& rows,
         std::initializer_list<std::pair<char, uint32_t>> legend) {
  for (const std::string& r : rows)
    if (r.size() != rows[0].size() || x0 + int(r.size()) > b.Width())
      throw std::logic_error("pixel map row of the wrong length: " + r);
  if (y0 + int(rows.size()) > b.Height()) throw std::logic_error("pixel map too tall");
  DrawPixelMap(b, x0, y0, rows, legend);
}

uint32_t Lit(const uint32_t* ramp, int count, int x, int y, double cx, double cy, double r,
             double lo, double hi) {
  return RampDither(ramp, count, lo + (hi - lo) * SphereLight(x + 0.5, y + 0.5, cx, cy, r), x, y);
}

double Unit(uint32_t h) {
  return double(h >> 8) / 16777216.0;
}

void Save(TContent& content, const std::string& name, const TKBitmap& b, bool additive) {
  content.WriteBmp("Graphics\\Burrower\\" + name, b, kKey, additive);
}

std::string Numbered(const std::string& stem, int n) {
  return stem + std::to_string(n) + ".bmp";
}

namespace {

constexpr int kJpegQuality = 90;

// ---- Ground --------------------------------------------------------------------------------

// The cavern behind the tunnels, as large as the part of the frame it is drawn into: dark
// slate in broad layers with a fine grain, cool so that warm earth, fruit and figures stand
// out, and below a fifth of full brightness so that every sprite keeps its contrast.
TKBitmap Cavern() {
  TKBitmap b(kBackWidth, kBackHeight);
  for (int y = 0; y < kBackHeight; ++y) {
    uint8_t* row = b.Row(y);
    for (int x = 0; x < kBackWidth; ++x) {
      const double warp = 14 * FractalNoise(x / 90.0, y / 90.0, 1201, 3);
      const double strata = 0.5 + 0.5 * std::sin((y + warp) / 7.5);
      const double broad = FractalNoise(x / 70.0, y / 40.0, 1202, 4);
      const double grain = FractalNoise(x / 3.0, y / 3.0, 1203, 2);
      const double ridge = 1 - std::abs(2 * FractalNoise(x / 55.0, y / 55.0, 1204, 4) - 1);
      const double crack = std::clamp((ridge - 0.95) / 0.035, 0.0, 1.0);
      double v = 0.18 + 0.42 * broad + 0.16 * strata + 0.2 * (grain - 0.5);
      v *= 1 - 0.5 * crack;
      if (Unit(HashMix(uint32_t(y * kBackWidth + x) ^ 0xB0B0u)) > 0.996) v += 0.3;  // a fleck
      const double d = Bayer(x, y) - 0.5;
      const auto channel = [&](double c) {
        return uint8_t(std::clamp(int(std::lround(c + d)), 2, 255));
      };
      row[3 * x] = channel(18 + 48 * v);      // blue
      row[3 * x + 1] = channel(12 + 38 * v);  // green
      row[3 * x + 2] = channel(10 + 34 * v);  // red
    }
  }
  return b;
}

// Earth: soft, light and nearly neutral, because the game mixes it half and half with each
// level's own hue; clods, grains and a few pebbles give it body. It repeats without a seam.
TKBitmap Earth() {
  static const uint32_t kSoil[5] = {Rgb(96, 86, 76), Rgb(130, 118, 104), Rgb(164, 150, 132),
                                    Rgb(196, 182, 160), Rgb(226, 214, 192)};
  TKBitmap b(kSquare, kSquare);
  struct TPebble {
    double x, y, r;
  };
  const TPebble pebbles[] = {{6, 7, 1.8}, {17.5, 16, 2.0}, {19, 4.5, 1.1}, {5, 19.5, 1.2}};
  for (int y = 0; y < kSquare; ++y)
    for (int x = 0; x < kSquare; ++x) {
      const double n = FractalNoise(x / 4.0, y / 4.0, 1301, 3, 6, 6);
      const double grain = Unit(HashMix(1301u * 7919u + uint32_t(y * kSquare + x)));
      double v = 0.15 + 0.7 * n;
      if (grain > 0.95) v += 0.25;
      if (grain < 0.06) v -= 0.3;
      uint32_t c = RampDither(kSoil, 5, v, x, y);
      for (const TPebble& p : pebbles) {
        const double dx = std::remainder(x + 0.5 - p.x, kSquare);
        const double dy = std::remainder(y + 0.5 - p.y, kSquare);
        const double d = std::hypot(dx, dy * 1.25) - p.r;
        if (d < 0)
          c = RampDither(kSoil, 5, 0.3 + 0.7 * SphereLight(dx, dy * 1.25, 0, 0, p.r + 0.3), x, y);
        else if (d < 1 && dx + dy > 0)
          c = kSoil[0];
      }
      PutPixel(b, x, y, c, ef16);
    }
  return b;
}

// A wall square: a riveted armour plate with a bevel lit from the upper left. The game joins
// wall squares with bright red lines, so the plate is a dark gunmetal that the red frames.
TKBitmap Wall() {
  static const uint32_t kPlate[6] = {Rgb(30, 28, 36),    Rgb(52, 50, 62),    Rgb(78, 76, 90),
                                     Rgb(108, 106, 122), Rgb(146, 144, 160), Rgb(196, 194, 208)};
  TKBitmap b(kSquare, kSquare);
  for (int y = 0; y < kSquare; ++y)
    for (int x = 0; x < kSquare; ++x) {
      const int near = std::min(x, y), far = std::min(kSquare - 1 - x, kSquare - 1 - y);
      const bool lit = near < far || (near == far && x + y < kSquare - 1);
      const int edge = std::min(near, far);
      double v;
      if (edge == 0)
        v = 0.0;
      else if (edge <= 2)
        v = lit ? 0.85 - 0.1 * edge : 0.22;
      else
        v = 0.42 + 0.1 * (FractalNoise(x / 2.5, y / 6.0, 1401, 2) - 0.5) - 0.006 * (x + y);
      // Diagonal scratches and the rivets in the corners.
      if (edge > 2 && std::abs(std::fmod(x + 2.0 * y, 11.0) - 5) < 0.5 &&
          FractalNoise(x / 3.0, y / 3.0, 1402, 1) > 0.6)
        v += 0.15;
      for (const double rx : {5.5, 18.5})
        for (const double ry : {5.5, 18.5}) {
          const double r = std::hypot(x + 0.5 - rx, y + 0.5 - ry);
          if (r < 1.6)
            v = 0.2 + 0.8 * SphereLight(x + 0.5, y + 0.5, rx, ry, 1.6);
          else if (r < 2.3 && x + y > rx + ry - 1)
            v = 0.1;
        }
      PutPixel(b, x, y, RampDither(kPlate, 6, v, x, y), ef16);
    }
  return b;
}

// ---- Eggs ----------------------------------------------------------------------------------

// The brooder: a leathery pod seen from the side. Egg0 is shut, Egg1 splits along its top
// with a green glow inside, Egg2 stands wide open in four petals round a glowing core. The
// game cross-fades neighbouring pictures, so all three keep the same footing and middle.
TKBitmap Egg(int stage) {
  static const uint32_t kHide[5] = {Rgb(46, 24, 40), Rgb(86, 44, 64), Rgb(130, 72, 88),
                                    Rgb(176, 112, 116), Rgb(220, 166, 150)};
  static const uint32_t kGlow[5] = {Rgb(20, 60, 24), Rgb(48, 128, 40), Rgb(110, 200, 60),
                                    Rgb(190, 240, 110), Rgb(244, 255, 200)};
  constexpr int kS = kEggSize;
  TKBitmap b = Blank(kS, kS);
  const double cx = 11, cy = 12.5;
  // The root mat the pod grows from.
  Fill(
      b, [](double x, double y) { return std::hypot((x - 11) / 9.5, (y - 19.5) / 2.2) - 1; },
      [](int x, int y) { return RampDither(kHide, 5, 0.15 + 0.1 * (x % 3 == 0), x, y); });
  if (stage < 2) {
    Fill(
        b, [&](double x, double y) { return std::hypot((x - cx) / 7.2, (y - cy) / 8.5) - 1; },
        [&](int x, int y) {
          const double vein = std::abs(std::sin((x + 0.5) * 1.1 + std::sin((y + 0.5) * 0.7) * 2));
          // Dark veins wind over the shell.
          return vein < 0.15 ? kHide[1] : Lit(kHide, 5, x, y, cx - 1, cy - 1, 10, 0.05, 1.05);
        });
    if (stage == 1) {  // a glowing split down from the top, widest in the middle
      Fill(
          b,
          [&](double x, double y) {
            const double half = 1.6 * std::sin(std::clamp((y - 4.5) / 12.0, 0.0, 1.0) * 3.14159);
            return std::abs(x - cx + 0.3 * std::sin(y)) - half;
          },
          [&](int x, int y) {
            return RampDither(kGlow, 5, 1.0 - std::abs(x + 0.5 - cx) / 2.5, x, y);
          });
    }
  } else {
    // The shell split into three petals bent outward, round a glowing core in the cup.
    const auto petal = [&](double px, double py, double tilt, double lo, double hi) {
      const double c = std::cos(tilt), s = std::sin(tilt);
      Fill(
          b,
          [=](double x, double y) {
            const double u = (x - px) * c + (y - py) * s, v = -(x - px) * s + (y - py) * c;
            return std::hypot(u / 2.7, v / 5.6) - 1;
          },
          [=](int x, int y) { return Lit(kHide, 5, x, y, px - 1, py - 2, 6, lo, hi); });
    };
    petal(cx, cy - 4, 0, 0.0, 0.45);  // the back petal shows its dark inside
    petal(cx - 5.6, cy - 2.5, 0.55, 0.1, 1.0);
    petal(cx + 5.6, cy - 2.5, -0.55, 0.05, 0.8);
    Fill(
        b,
        [&](double x, double y) {
          return std::max(std::hypot((x - cx) / 7.2, (y - cy) / 8.5) - 1, cy - 0.5 - y);
        },
        [&](int x, int y) { return Lit(kHide, 5, x, y, cx - 1, cy - 1, 10, 0.05, 1.0); });
    Fill(
        b, [&](double x, double y) { return std::hypot((x - cx) / 4.6, (y - cy + 0.3) / 2.6) - 1; },
        [&](int x, int y) {
          return RampDither(kGlow, 5, 1.15 - std::hypot(x + 0.5 - cx, (y + 0.5 - cy) * 1.6) / 4.5,
                            x, y);
        });
  }
  Outline(b);
  return b;
}

// ---- Fruit and apple -----------------------------------------------------------------------

// Fruit: a pair of cherries on one stalk with a leaf.
TKBitmap Fruit() {
  TKBitmap b = Blank(kFruitSize, kFruitSize);
  Fill(
      b,
      [](double x, double y) {
        return std::min(SdSegment(x, y, 4.5, 8.5, 8.5, 2, 0.5),
                        SdSegment(x, y, 10, 9, 8.5, 2, 0.5));
      },
      [](int, int) { return pal::kGreen[1]; });
  Fill(
      b, [](double x, double y) { return std::hypot((x - 10.5) / 2.8, (y - 2.5) / 1.5) - 1; },
      [](int x, int y) { return RampDither(pal::kGreen, 5, 0.9 - 0.2 * y, x, y); });
  for (const auto& [cx, cy] : {std::pair{4.2, 10.0}, {9.8, 10.4}})
    Fill(
        b, [=](double x, double y) { return SdCircle(x, y, cx, cy, 3.2); },
        [=](int x, int y) { return Lit(pal::kRed, 5, x, y, cx, cy, 3.4, 0.1, 1.0); });
  Outline(b);
  PutPixel(b, 3, 9, pal::kPaper[2], ef16);
  PutPixel(b, 9, 9, pal::kPaper[2], ef16);
  return b;
}

// The apple: big, round and red with a yellow-green cheek, a stalk and a leaf, drawn 20
// pixels wide.
TKBitmap AppleBody() {
  static const uint32_t kSkin[6] = {Rgb(84, 10, 20),  Rgb(150, 20, 28),  Rgb(204, 40, 36),
                                    Rgb(236, 84, 52), Rgb(250, 150, 96), Rgb(255, 220, 170)};
  TKBitmap b = Blank(20, 20);
  const TField body = [](double x, double y) {
    const double lobes = std::min(SdCircle(x, y, 7.2, 11.5, 6.6), SdCircle(x, y, 12.8, 11.5, 6.6));
    return std::max(std::min(lobes, SdCircle(x, y, 10, 12.3, 7.4)), -SdCircle(x, y, 10, 3.3, 2.2));
  };
  Fill(b, body, [](int x, int y) {
    const uint32_t c = Lit(kSkin, 6, x, y, 8.5, 11, 8.5, 0.05, 0.82);
    if (x >= 13 && y >= 13 && x + y < 30 && Bayer(x, y) < 0.3) return Rgb(214, 150, 40);  // cheek
    return c;
  });
  Fill(
      b, [](double x, double y) { return SdSegment(x, y, 10, 6, 10.8, 1.5, 0.55); },
      [](int, int) { return pal::kEarth[1]; });
  Fill(
      b,
      [](double x, double y) {
        return std::hypot((x - 14) / 3.2, (y - 3.4 + (x - 14) * 0.3) / 1.5) - 1;
      },
      [](int x, int y) { return RampDither(pal::kGreen, 5, 0.95 - 0.2 * (y - 2), x, y); });
  Outline(b);
  return b;
}

// Its picture fills the square, the apple at the bottom: the box a resting apple collides
// with reaches the earth line below it.
TKBitmap Apple() {
  const TKBitmap body = AppleBody();
  TKBitmap b = Blank(kAppleSize, kAppleSize);
  for (int y = 0; y < body.Height(); ++y)
    for (int x = 0; x < body.Width(); ++x)
      PutPixel(b, x + (kAppleSize - body.Width()) / 2, y + kAppleSize - body.Height(),
               body.Pixel(x, y), ef16);
  return b;
}

// ---- Stains --------------------------------------------------------------------------------

// A splash: a blob with a ragged rim and a few drops thrown clear of it.
TKBitmap Splash(int size, uint32_t seed, const uint32_t* ramp, int count, double radius) {
  TKBitmap b = Blank(size, size);
  const double c = size / 2.0;
  struct TDrop {
    double x, y, r;
  };
  std::vector<TDrop> drops;
  for (int k = 0; k < 6; ++k) {
    const double a = Unit(HashMix(seed + k * 3)) * 6.283,
                 d = radius + 1.5 + Unit(HashMix(seed + k * 3 + 1)) * (c - radius - 2.5);
    drops.push_back(
        {c + std::cos(a) * d, c + std::sin(a) * d, 0.6 + Unit(HashMix(seed + k * 3 + 2)) * 0.8});
  }
  const TField field = [&](double x, double y) {
    const double a = std::atan2(y - c, x - c);
    double d = std::hypot(x - c, y - c) -
               radius * (0.8 + 0.45 * ValueNoise(std::cos(a) * 2 + 5, std::sin(a) * 2 + 5, seed));
    for (const TDrop& p : drops) d = std::min(d, SdCircle(x, y, p.x, p.y, p.r));
    return d;
  };
  Fill(b, field, [&](int x, int y) {
    return RampDither(ramp, count,
                      0.75 + 0.35 * field(x + 0.5, y + 0.5) / radius + 0.15 * (Bayer(x, y) - 0.5),
                      x, y);
  });
  return b;
}

// A player's remains: a dark scorch and blood, with bits of the machine scattered over it.
TKBitmap PlayerRemains() {
  static const uint32_t kGore[4] = {Rgb(50, 8, 12), Rgb(96, 14, 20), Rgb(146, 24, 28),
                                    Rgb(190, 46, 40)};
  TKBitmap b = Splash(kRemainsSize, 1501, kGore, 4, 7.5);
  Map(b, 3, 5,
      {"...............", ".oo......o.....", "oggo....oyo....", "ogdo.....o.....",
       ".oo............", "..........oo...", ".....oo...ogo..", "....oyyo..oddo.",
       "....oyo....oo..", ".....o.........", "...........o...", "..oo.......o...",
       "..ogo..........", "...o..........."},
      {{'o', pal::kInk}, {'g', pal::kGrey[3]}, {'d', pal::kGrey[1]}, {'y', pal::kGold[3]}});
  return b;
}

// An enemy's remains: a green splash with one eye left staring out of it.
TKBitmap EnemyRemains() {
  TKBitmap b = Splash(kRemainsSize, 1601, pal::kGreen, 4, 7.0);
  Map(b, 8, 8, {".ooo.", "owwwo", "owkwo", "owwwo", ".ooo."},
      {{'o', pal::kGreen[0]}, {'w', pal::kPaper[1]}, {'k', pal::kInk}});
  return b;
}

// ---- Bonuses -------------------------------------------------------------------------------

// Weapons, seen from the side and pointing right, in a strip of 20 x 10 so that the status
// panel lines them up in its rows of 12 pixels. o outline, s/S/d steel light to dark.
const std::initializer_list<std::pair<char, uint32_t>> kGunInk = {
    {'o', pal::kInk},       {'s', pal::kGrey[4]},  {'S', pal::kGrey[3]},  {'d', pal::kGrey[2]},
    {'D', pal::kGrey[1]},   {'w', pal::kEarth[3]}, {'W', pal::kEarth[2]}, {'k', pal::kEarth[1]},
    {'y', pal::kGold[4]},   {'Y', pal::kGold[2]},  {'r', pal::kRed[3]},   {'R', pal::kRed[2]},
    {'g', pal::kGreen[3]},  {'G', pal::kGreen[2]}, {'h', pal::kGreen[1]}, {'c', pal::kBlue[5]},
    {'C', pal::kBlue[4]},   {'b', pal::kBlue[3]},  {'B', pal::kBlue[2]},  {'v', pal::kViolet[3]},
    {'V', pal::kViolet[1]}, {'f', pal::kFire[5]},  {'F', pal::kFire[6]},  {'p', pal::kPaper[2]}};

struct TWeaponPicture {
  const char* name;
  std::vector<std::string> rows;
};

const TWeaponPicture kWeapons[] = {
    {"Pistol",
     {"....................", "....................", "....ooooooooooooo...",
      "....osssssssssssSo..", "....oSSSSSSSSSSSSo..", "....oddoooooooooo...",
      "....oWwwo.od.o......", "....oWwwoooo........", "....oWkko...........",
      "....ooooo..........."}},
    {"Ball",
     {"..............ooo...", ".....ooooooooosSSo..", "..oooSSSSSSSSoSsSdo.",
      ".oWwoddddddddoSSdDo.", ".oWwoSSSSSSSSosdDDo.", ".oWWodddddddddoddDo.",
      ".okkoooooooooo.ooo..", "..oo.oWWo...........", ".....oWko...........",
      ".....oooo..........."}},
    {"RPG",
     {"....................", "..............oo....", ".oooooooooooooRRo...",
      "oGggggggggggggrrRo..", "oGGGGGGGGGGGGGRRRRo.", "ohhhhhhhhhhhhhRRRo..",
      ".ooooooWoooWo.oRo...", "......oWo.oko..o....", "......oko.ooo.......",
      "......ooo..........."}},
    {"Bomb",
     {"..............F.....", ".............fyf....", "...........oo.f.....",
      "......ooooooo.......", ".....oDDsDDDDo......", "....oDssDDDDDDo.....",
      "....oDsDDDDDDDo.....", "....oDDDDDDDDDo.....", ".....oDDDDDDDo......",
      "......ooooooo......."}},
    {"Shrinker",
     {"....................", "...........ooo..oo..", "..oooooooooogoooggo.",
      ".oVvvvvvvvoggGggGGgo", ".oVVVVVVVVoGGhGGhGGo", ".oVVooooVVoggGggGGgo",
      ".okkko.oVoooooo.ooo.", ".oWwo..ooo..........", ".oWko...............",
      ".oooo..............."}},
    {"Devastator",
     {"....................", "......ooooo.........", ".ooooobbbbbooooooo..",
      "oBbbbbbcccbbbbbbbccp", "oBBBBBBBBBBBBBBBBccp", "oBBoooooBBoooooooo..",
      "okkko..oBo..........", "oWwo...ooo..........", "oWko................",
      "oooo................"}},
    {"Freezer",
     {"....................", "...oooooo...........", "..oCcccccoooooooo...",
      "..oCCCCCCoSssssssooo", ".oooooooooSSSSSSSCco", ".oWwwodddoSSSSSSSooo",
      ".oWkko.oDoooooooo...", ".oWko..ooo..........", ".oooo...............",
      "...................."}},
};

TKBitmap Weapon(const TWeaponPicture& w) {
  TKBitmap b = Blank(kWeaponWidth, kWeaponHeight);
  Map(b, 0, 0, w.rows, kGunInk);
  return b;
}

// Ammunition, 14 x 12, each drawn to match its weapon. The shrinker's vial and the freezer's
// canister glow in three frames that the game plays back and forth.
TKBitmap Ammo(int weapon, int frame) {
  TKBitmap b = Blank(kAmmoWidth, kAmmoHeight);
  switch (weapon) {
    case 0:  // a row of brass cartridges in a clip
      for (int k = 0; k < 4; ++k)
        Fill(
            b,
            [=](double x, double y) { return SdBox(x, y, 1.5 + 3 * k, 2, 3.5 + 3 * k, 10, 0.8); },
            [=](int x, int y) {
              return y < 4 ? RampDither(pal::kGold, 5, 0.55 + 0.2 * (x - 3 * k), x, y)
                           : RampDither(pal::kGold, 5, 0.35 + 0.18 * (x - 1 - 3 * k), x, y);
            });
      Outline(b);
      Fill(
          b, [](double x, double y) { return SdBox(x, y, 1, 8, 13, 11, 0); },
          [](int x, int y) { return RampDither(pal::kGrey, 6, 0.55 - 0.1 * (y - 8), x, y); });
      break;
    case 1:  // three steel balls stacked
      for (const auto& [cx, cy] : {std::pair{4.0, 8.0}, {10.0, 8.0}, {7.0, 3.6}})
        Fill(
            b, [=](double x, double y) { return SdCircle(x, y, cx, cy, 2.9); },
            [=](int x, int y) { return Lit(pal::kGrey, 6, x, y, cx, cy, 3, 0.05, 1.0); });
      Outline(b);
      break;
    case 2:  // two shells for the launcher, red warheads
      for (const double cy : {3.5, 8.5}) {
        Fill(
            b, [=](double x, double y) { return SdBox(x, y, 1, cy - 1.6, 9, cy + 1.6, 0.6); },
            [=](int x, int y) {
              return RampDither(pal::kGreen, 5, 0.7 - 0.25 * (y - cy + 1.6), x, y);
            });
        Fill(
            b,
            [=](double x, double y) {
              return SdPolygon(x, y, {{8.5, cy - 1.8}, {12.8, cy}, {8.5, cy + 1.8}});
            },
            [=](int x, int y) {
              return RampDither(pal::kRed, 5, 0.8 - 0.25 * (y - cy + 1.6), x, y);
            });
      }
      Outline(b);
      break;
    case 3:  // a small crate with a bomb stencilled on it
      Fill(
          b, [](double x, double y) { return SdBox(x, y, 1, 1, 13, 11, 0); },
          [](int x, int y) {
            const bool plank = y == 4 || y == 8;
            return RampDither(pal::kEarth, 5, plank ? 0.2 : 0.55 + 0.1 * (Bayer(x, y * 3) - 0.5), x,
                              y);
          });
      Outline(b);
      Map(b, 4, 3, {"...y.", "..o..", ".ooo.", "ooooo", ".ooo."},
          {{'o', pal::kInk}, {'y', pal::kGold[4]}});
      break;
    case 4: {  // a glass vial of shrinking fluid, pulsing green
      const double glow = 0.55 + 0.2 * frame;
      Fill(
          b, [](double x, double y) { return SdBox(x, y, 3.5, 3, 10.5, 11, 2.2); },
          [&](int x, int y) {
            if (y < 5) return RampDither(pal::kGreen, 5, glow - 0.35, x, y);
            return RampDither(pal::kGreen, 5, glow + 0.25 - 0.12 * std::abs(x + 0.5 - 7), x, y);
          });
      Fill(
          b, [](double x, double y) { return SdBox(x, y, 4.5, 0.5, 9.5, 3, 0); },
          [](int x, int y) { return RampDither(pal::kGrey, 6, 0.5, x, y); });
      Outline(b);
      PutPixel(b, 5, 6, pal::kPaper[2], ef16);
      PutPixel(b, 5, 7, pal::kGreen[4], ef16);
      break;
    }
    case 5:  // a power cell with a lightning flash
      Fill(
          b, [](double x, double y) { return SdBox(x, y, 1, 2.5, 12, 10.5, 1); },
          [](int x, int y) { return RampDither(pal::kBlue, 6, 0.75 - 0.08 * (y - 2), x, y); });
      Fill(
          b, [](double x, double y) { return SdBox(x, y, 12, 5, 13.5, 8, 0); },
          [](int x, int y) { return RampDither(pal::kGrey, 6, 0.6, x, y); });
      Outline(b);
      Map(b, 5, 3, {"..y.", ".yy.", "yyyy", ".yy.", ".y.."}, {{'y', pal::kGold[4]}});
      break;
    default: {  // a frosted canister with a sparkle that turns
      Fill(
          b, [](double x, double y) { return SdBox(x, y, 2.5, 1.5, 11.5, 11, 2); },
          [](int x, int y) { return Lit(pal::kBlue, 6, x, y, 6, 4, 8, 0.35, 1.1); });
      Outline(b);
      for (int x = 3; x <= 10; ++x) PutPixel(b, x, 3, pal::kPaper[2], ef16);  // frost on the lid
      const int sx = 7, sy = 7;
      const std::vector<std::pair<int, int>> arms =
          frame == 1 ? std::vector<std::pair<int, int>>{{1, 1}, {-1, 1}, {1, -1}, {-1, -1}}
                     : std::vector<std::pair<int, int>>{{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
      PutPixel(b, sx, sy, pal::kPaper[2], ef16);
      for (const auto& [dx, dy] : arms) {
        PutPixel(b, sx + dx, sy + dy, pal::kBlue[5], ef16);
        if (frame == 2) PutPixel(b, sx + 2 * dx, sy + 2 * dy, pal::kBlue[5], ef16);
      }
    }
  }
  return b;
}

// Health: a red heart with a shine.
TKBitmap Health() {
  TKBitmap b = Blank(kItemSize, kItemSize);
  const TField heart = [](double x, double y) {
    const double lobes = std::min(SdCircle(x, y, 4.5, 5, 3.4), SdCircle(x, y, 9.5, 5, 3.4));
    return std::min(lobes, SdPolygon(x, y, {{1.3, 6}, {12.7, 6}, {7, 12.8}}));
  };
  Fill(b, heart, [](int x, int y) { return Lit(pal::kRed, 5, x, y, 6, 5, 7, 0.15, 1.0); });
  Outline(b);
  PutPixel(b, 3, 4, pal::kPaper[2], ef16);
  return b;
}

// Armor: a steel breastplate with a gold rim.
TKBitmap Armor() {
  TKBitmap b = Blank(kItemSize, kItemSize);
  const TField plate = [](double x, double y) {
    return SdPolygon(x, y,
                     {{1.5, 2}, {5, 1.5}, {7, 3}, {9, 1.5}, {12.5, 2}, {12, 8}, {7, 12.6}, {2, 8}});
  };
  Fill(b, plate, [&](int x, int y) {
    if (plate(x + 0.5, y + 0.5) > -1.1) return pal::kGold[2];
    return Lit(pal::kBlue, 6, x, y, 5, 4, 8, 0.2, 1.0);
  });
  Outline(b);
  for (int y = 4; y <= 9; ++y) PutPixel(b, 7, y, pal::kBlue[1], ef16);  // the ridge down the middle
  return b;
}

// Medic kits: white cases with a red cross, small, medium and large.
TKBitmap Medic(int size) {
  const int w = 10 + 2 * size, h = 8 + 2 * size;
  TKBitmap b = Blank(w, h);
  Fill(
      b, [=](double x, double y) { return SdBox(x, y, 1, 2, w - 1, h - 1, 1); },
      [=](int x, int y) { return RampDither(pal::kPaper, 3, 1.0 - 0.12 * (y - 2), x, y); });
  if (size > 0)  // the handle
    Fill(
        b, [=](double x, double y) { return SdBox(x, y, w / 2.0 - 2, 0.5, w / 2.0 + 2, 2, 0); },
        [](int, int) { return pal::kGrey[2]; });
  Outline(b);
  const int cx = w / 2, cy = (h + 2) / 2, arm = 1 + size;
  for (int d = -arm; d <= arm; ++d) {
    PutPixel(b, cx + d, cy, pal::kRed[2], ef16);
    PutPixel(b, cx + d, cy - 1, pal::kRed[2], ef16);
    if (d < arm) {
      PutPixel(b, cx, cy + d, pal::kRed[2], ef16);
      PutPixel(b, cx - 1, cy + d, pal::kRed[2], ef16);
    }
  }
  return b;
}

// Swap: two arrows chasing each other round a violet disc.
TKBitmap Swap() {
  TKBitmap b = Blank(kItemSize, kItemSize);
  Fill(
      b, [](double x, double y) { return SdCircle(x, y, 7, 7, 6.2); },
      [](int x, int y) { return Lit(pal::kViolet, 5, x, y, 7, 7, 6.5, 0.05, 0.85); });
  Outline(b);
  const std::vector<std::string> arrows = {"..w.......", ".wwwwwww..", "..w.......", "..........",
                                           ".......w..", "..wwwwwww.", ".......w.."};
  Map(b, 3, 4, arrows, {{'w', pal::kViolet[0]}});  // a shadow under the arrows
  Map(b, 2, 3, arrows, {{'w', pal::kPaper[2]}});
  return b;
}

// ---- Shots ---------------------------------------------------------------------------------

// Freezer shot: an ice star that turns; added to the frame, so it fades to black at its rim.
TKBitmap FreezerShot(int frame) {
  TKBitmap b = Blank(kFreezerShotSize, kFreezerShotSize);
  const double c = kFreezerShotSize / 2.0, turn = frame * 3.14159265 / 6;
  for (int y = 0; y < kFreezerShotSize; ++y)
    for (int x = 0; x < kFreezerShotSize; ++x) {
      const double dx = x + 0.5 - c, dy = y + 0.5 - c, r = std::hypot(dx, dy);
      const double a = std::atan2(dy, dx) - turn;
      const double star = std::pow(std::abs(std::cos(2 * a)), 6);
      const double v = std::max(1.15 - r / 2.2, star * (1.2 - r / (c - 0.2)));
      if (v < 0.12) continue;
      PutPixel(b, x, y, RampDither(pal::kBlue, 6, v, x, y), ef16);
    }
  return b;
}

// Shrink shot: a green ball of light with a ring spinning round it.
TKBitmap ShrinkShot(int frame) {
  TKBitmap b = Blank(kShrinkShotSize, kShrinkShotSize);
  const double c = kShrinkShotSize / 2.0;
  Fill(
      b, [=](double x, double y) { return SdCircle(x, y, c, c, 2.8); },
      [=](int x, int y) {
        return RampDither(pal::kGreen, 5, 1.2 - std::hypot(x + 0.5 - c, y + 0.5 - c) / 3, x, y);
      });
  const double a = frame * 3.14159265 / 4;
  for (int k = 0; k < 3; ++k) {
    const double t = a + k * 2.0944;
    const int x = int(std::lround(c - 0.5 + std::cos(t) * 3.9)),
              y = int(std::lround(c - 0.5 + std::sin(t) * 2.4));
    PutPixel(b, x, y, pal::kGold[4], ef16);
  }
  Outline(b, pal::kGreen[0]);
  return b;
}

// Shrink cloud: a swirl of green mist with sparks in it that grows and spreads.
TKBitmap ShrinkCloud(int frame) {
  TKBitmap b = Blank(kCloudSize, kCloudSize);
  const double c = kCloudSize / 2.0, radius = 7 + 1.6 * frame;
  for (int y = 0; y < kCloudSize; ++y)
    for (int x = 0; x < kCloudSize; ++x) {
      const double dx = x + 0.5 - c, dy = y + 0.5 - c, r = std::hypot(dx, dy);
      const double a = std::atan2(dy, dx) + r / 4 + frame * 0.5;
      const double swirl = 0.5 + 0.5 * std::sin(3 * a);
      const double n = FractalNoise(x / 4.0 + frame, y / 4.0, 1701, 2);
      const double v = (1 - r / radius) * (0.7 + 0.6 * swirl) + 0.3 * (n - 0.5);
      if (v < 0.15) continue;
      PutPixel(b, x, y, RampDither(pal::kGreen, 5, 0.2 + v, x, y), ef16);
    }
  for (int k = 0; k < 5; ++k) {  // sparks wheeling outward
    const double a = k * 1.2566 + frame * 0.6, d = 2 + 1.6 * frame + (k % 2);
    PutPixel(b, int(c + std::cos(a) * d), int(c + std::sin(a) * d), pal::kGold[4], ef16);
  }
  return b;
}

// The rocket, pointing left: red warhead, white body with a band, fins and a lick of flame.
TKBitmap Rocket() {
  TKBitmap b = Blank(kRocketLength, kRocketWidth);
  Map(b, 0, 0,
      {"...........oo...", "..oooooooooSSo..", ".oRrppppbpppSoFf", "oRRrppppbppppoFf",
       "oRRrpSSSbSSSSoFf", ".oRrSSSSbSSSSoFf", "..oooooooooSSo..", "...........oo..."},
      {{'o', pal::kInk},
       {'R', pal::kRed[2]},
       {'r', pal::kRed[3]},
       {'p', pal::kPaper[2]},
       {'S', pal::kGrey[3]},
       {'b', pal::kRed[1]},
       {'F', pal::kFire[6]},
       {'f', pal::kFire[4]}});
  return b;
}

// Balls: a plain steel ball, and the heavy ball of the second kind, glowing hot.
TKBitmap Ball(int kind) {
  const int s = kind == 0 ? 8 : 10;
  TKBitmap b = Blank(s, s);
  const double c = s / 2.0;
  Fill(
      b, [=](double x, double y) { return SdCircle(x, y, c, c, c - 1); },
      [=](int x, int y) {
        return kind == 0 ? Lit(pal::kGrey, 6, x, y, c, c, c - 0.8, 0.05, 1.0)
                         : Lit(pal::kFire, 8, x, y, c, c, c - 0.8, 0.2, 1.0);
      });
  Outline(b);
  return b;
}

void MakeBurrowerField(TContent& content) {
  std::vector<uint8_t> jpeg;
  if (!EncodeJpeg(Cavern(), kJpegQuality, jpeg))
    throw std::runtime_error("cannot encode the Burrower background");
  content.WriteBytes("Graphics\\Burrower\\Back.jpg", jpeg);
  content.WriteBmp("Graphics\\Burrower\\Earth.bmp", Earth());
  content.WriteBmp("Graphics\\Burrower\\Wall.bmp", Wall());
  for (int n = 0; n < kEggFrames; ++n) Save(content, Numbered("Egg", n), Egg(n));
  Save(content, "Fruit.bmp", Fruit());
  Save(content, "Apple.bmp", Apple());
  Save(content, "Killed0.bmp", PlayerRemains());
  Save(content, "EnemyDead.bmp", EnemyRemains());
  Save(content, "Killed1.bmp", Splash(kBloodSize, 1801, pal::kRed, 3, 3.0));
  for (const TWeaponPicture& w : kWeapons)
    Save(content, std::string("Weapons\\") + w.name + ".bmp", Weapon(w));
  for (int w = 0; w < 7; ++w) {
    const std::string name = std::string("Ammo\\") + kWeapons[w].name;
    if (w == 4 || w == 6)
      for (int f = 0; f < kAmmoFrames; ++f) Save(content, Numbered(name, f), Ammo(w, f));
    else
      Save(content, name + ".bmp", Ammo(w, 0));
  }
  Save(content, "Health.bmp", Health());
  Save(content, "Armor.bmp", Armor());
  for (int n = 0; n < kMedicKits; ++n) Save(content, Numbered("Medic", n), Medic(n));
  Save(content, "Swap.bmp", Swap());
  for (int n = 0; n < kFreezerFrames; ++n)
    Save(content, Numbered("Shots\\Freezer", n), FreezerShot(n), true);
  for (int n = 0; n < kShrinkFrames; ++n) {
    Save(content, Numbered("Shots\\Shrinker", n), ShrinkShot(n));
    Save(content, Numbered("Shots\\ShrinkerA", n), ShrinkCloud(n));
  }
  Save(content, "Shots\\Rocket.bmp", Rocket());
  for (int n = 0; n < kBallKinds; ++n) Save(content, Numbered("Shots\\Ball", n), Ball(n));
}

TRegisterGenerator registerField("Burrower field pictures", 140, MakeBurrowerField);

}  // namespace

}  // namespace kelvra::content::burrower
