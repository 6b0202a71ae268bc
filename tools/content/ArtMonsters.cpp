// Monsters' pictures: the sheet of 24 square pictures, 20 x 20 each side by side (ground,
// walls, the gate, pit and money, the player's figure and house, the monster, the ghost and
// the tunnel arrow), and the dark cave floor that shows in every open corridor.
#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "Content.h"
#include "Paint.h"
#include "Palette.h"

namespace kelvra::content {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSide = 20;  // pixels of one square, both ways
constexpr int kSheetPictures = 24;

// Black is left out when the game draws a picture over the floor, so opaque dark details
// use kInk or another near-black. The open square, earth, gate and walls cover their whole
// square; the other pictures use black round their figures.
constexpr uint32_t kClear = 0;
// The game replaces exactly this grey by the colour of the player or of the monster's type.
// Pictures that get recoloured use no other pure grey, so they look the same whether the
// game swaps this one value or tints every grey.
constexpr uint32_t kOwner = Rgb(168, 168, 168);

// Places on the sheet; the game builds its strip of square pictures from them.
enum TSheetPicture : int {
  kFloor = 0,  // drawn only with "Black Squares"; otherwise the floor picture shows
  kEarth = 1,
  kGate = 2,
  kWall = 3,  // a wall on the border or joined to other walls
  kRubble = 4,
  kRoots = 5,
  kFossil = 6,
  kStones = 7,
  kTrace = 8,  // blended over a flashing open square
  kGateLit = 9,
  kGhost = 10,
  kGhostLit = 11,
  kGem = 12,
  kPit = 13,
  kMoney = 14,
  kLoneWall = 15,  // a wall with no wall beside it
  kFigure = 16,
  kFigureHit = 17,
  kFlag = 18,
  kHouse = 19,
  kBadge = 20,
  kMonster = 21,     // heading left; the game turns it for the other headings
  kMonsterHit = 22,  // the same, being hit
  kArrow = 23,       // pointing left, drawn over the wall picture for tunnels
};

using TField = std::function<double(double x, double y)>;  // distance, negative inside
using TPaint = std::function<uint32_t(int x, int y)>;

TKBitmap NewPicture() {
  return TKBitmap(kSide, kSide);  // starts black: all clear
}

// Paints every pixel whose centre lies inside the field.
void Fill(TKBitmap& b, const TField& field, const TPaint& paint) {
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      if (field(x + 0.5, y + 0.5) < 0) PutPixel(b, x, y, paint(x, y), ef16);
}

// Rings the figure with `ink`: every clear pixel beside an opaque one (and, with `corners`,
// diagonally next to one) becomes ink. The figure then reads on any ground.
void Outline(TKBitmap& b, uint32_t ink, bool corners = false) {
  const TKBitmap before = b;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      if (before.Pixel(x, y) != kClear) continue;
      bool touch = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const bool side = (dx == 0) != (dy == 0), corner = dx != 0 && dy != 0;
          if (!side && !(corners && corner)) continue;
          const uint32_t c = before.Pixel(x + dx, y + dy);
          if (c != kClear && c != clNone) touch = true;
        }
      if (touch) PutPixel(b, x, y, ink, ef16);
    }
}

// A hand-drawn map of a whole picture or of its top left part; a row of the wrong length is
// a slip of the pen, caught here rather than seen as a shifted picture.
void Map(TKBitmap& b, const std::vector<std::string>& rows,
         std::initializer_list<std::pair<char, uint32_t>> legend) {
  if (rows.size() > size_t(kSide)) throw std::logic_error("pixel map too tall");
  for (const std::string& r : rows)
    if (r.size() != rows[0].size() || r.size() > size_t(kSide))
      throw std::logic_error("pixel map row of the wrong length: " + r);
  DrawPixelMap(b, 0, 0, rows, legend);
}

// Completes rows given by their left half into rows symmetric about the middle column.
std::vector<std::string> MirrorHalves(std::vector<std::string> halves) {
  for (std::string& r : halves) r += std::string(r.rbegin(), r.rend());
  return halves;
}

// The row in the upper half that row y mirrors; dithering by it keeps a picture symmetric.
int MirroredRow(int y) {
  return std::min(y, kSide - 1 - y);
}

// Completes the upper half of a picture into one symmetric about the middle row.
std::vector<std::string> MirrorRows(std::vector<std::string> top) {
  for (int i = int(top.size()) - 1; i >= 0; --i) top.push_back(top[i]);
  return top;
}

double Unit(uint32_t h) {
  return double(h >> 8) / 16777216.0;
}

// ---- Ground ------------------------------------------------------------------------------

// The open square: all black. Drawn over the floor it lets the floor show everywhere, so a
// "No" square looks like an open one; with "Black Squares" it is the black of the name.
TKBitmap Floor() {
  return NewPicture();
}

struct TPebble {
  double x, y, r;
};

// Soil: brown, cloudy, with a few grains and pebbles half sunk in it. The picture repeats
// without a seam, so a block of earth squares looks like one mass; its stones stay few and
// dull so that the repetition does not show as a grid.
TKBitmap Soil(uint32_t seed, const std::vector<TPebble>& pebbles) {
  static const uint32_t kStone[4] = {Rgb(72, 60, 52), Rgb(106, 92, 80), Rgb(140, 126, 108),
                                     Rgb(176, 162, 138)};
  TKBitmap b = NewPicture();
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const double n = FractalNoise(x / 5.0, y / 5.0, seed, 3, 4, 4);
      const double grain = Unit(HashMix(seed * 7919u + uint32_t(y * kSide + x)));
      double v = 0.2 + 0.6 * n;
      if (grain > 0.97) v += 0.2;   // a light grain of sand
      if (grain < 0.05) v -= 0.22;  // a dark crumb
      uint32_t c = RampDither(pal::kEarth, 4, v, x, y);
      for (const TPebble& p : pebbles) {
        // Signed offsets to the nearest copy of the stone: the light falls from the upper
        // left, and the soil is shaded below and to the right of it.
        const double dx = std::remainder(x + 0.5 - p.x, kSide);
        const double dy = std::remainder(y + 0.5 - p.y, kSide);
        const double d = std::hypot(dx, dy * 1.3) - p.r;
        if (d < 0) {
          const double l = SphereLight(dx, dy * 1.3, 0, 0, p.r + 0.3);
          c = RampDither(kStone, 4, 0.1 + 0.8 * l, x, y);
        } else if (d < 1.0 && dx + dy > 0) {
          c = pal::kEarth[0];
        }
      }
      PutPixel(b, x, y, c, ef16);
    }
  return b;
}

TKBitmap Earth() {
  return Soil(21, {{5.0, 6.0, 1.7}, {14.5, 14.5, 1.5}, {15.5, 3.5, 0.8}});
}

TKBitmap Rubble() {
  return Soil(22, {{4.0, 4.0, 2.2},
                   {11.5, 6.5, 1.6},
                   {16.5, 11.0, 2.4},
                   {6.5, 13.5, 2.0},
                   {12.0, 17.0, 1.3},
                   {1.5, 10.0, 1.2}});
}

// Earth crossed by a pale root that wanders from the top edge to the bottom edge.
TKBitmap Roots() {
  TKBitmap b = Soil(23, {{15.5, 5.5, 1.3}});
  for (int y = 0; y < kSide; ++y) {
    const double cx = 8 + 3 * std::sin(y * 2 * kPi / kSide);  // meets itself across squares
    for (int x = 0; x < kSide; ++x) {
      const double d = std::abs(x + 0.5 - cx);
      if (d < 1.0)
        PutPixel(b, x, y, d < 0.5 ? pal::kEarth[4] : pal::kEarth[3], ef16);
      else if (d < 1.6 && x + 0.5 > cx)
        PutPixel(b, x, y, pal::kEarth[0], ef16);
    }
  }
  // A thin side root.
  for (int x = 9; x < 16; ++x) PutPixel(b, x, 12 + (x - 9) / 3, pal::kEarth[3], ef16);
  return b;
}

// Earth with an old bone in it.
TKBitmap Fossil() {
  TKBitmap b = Soil(24, {{3.5, 15.5, 1.2}});
  const TField bone = [](double x, double y) {
    return std::min({SdSegment(x, y, 6, 12.5, 13.5, 7, 0.9), SdCircle(x, y, 5, 12.2, 1.3),
                     SdCircle(x, y, 6.2, 13.8, 1.3), SdCircle(x, y, 13.4, 5.7, 1.3),
                     SdCircle(x, y, 14.8, 7.3, 1.3)});
  };
  Fill(
      b, [&](double x, double y) { return bone(x, y) - 0.8; },
      [](int, int) { return pal::kEarth[0]; });
  Fill(b, bone,
       [](int x, int y) { return RampDither(pal::kPaper, 3, 0.2 + 0.05 * (x - y), x, y); });
  return b;
}

// A heap of loose stones on the floor, clear around it.
TKBitmap Stones() {
  TKBitmap b = NewPicture();
  const TPebble heap[] = {
      {6.5, 14.5, 3.2}, {13.5, 14.8, 3.4}, {10, 10.5, 3.3}, {4, 17.5, 1.6}, {16.5, 9.5, 1.6}};
  for (const TPebble& p : heap)
    Fill(
        b, [=](double x, double y) { return SdCircle(x, y, p.x, p.y, p.r); },
        [=](int x, int y) {
          return RampDither(pal::kGrey, 5, 0.1 + 0.8 * SphereLight(x + 0.5, y + 0.5, p.x, p.y, p.r),
                            x, y);
        });
  Outline(b, pal::kInk);
  return b;
}

// ---- Walls ------------------------------------------------------------------------------

// Dressed stone laid in courses of 5 pixels, blocks 10 long, each course shifted by half a
// block; the pattern repeats every square, so a run of walls is one stretch of masonry.
constexpr int kCourse = 5, kBlock = 10;

TKBitmap Wall() {
  TKBitmap b = NewPicture();
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const int course = y / kCourse, ly = y % kCourse;
      const int shift = (course & 1) ? kBlock / 2 : 0;
      const int lx = (x + shift) % kBlock, block = ((x + shift) / kBlock) % (kSide / kBlock);
      double v;
      if (ly == kCourse - 1 || lx == kBlock - 1) {
        v = 0.0;  // mortar
      } else {
        const double tone = 0.34 + 0.14 * Unit(HashMix(31 + course * 17 + block));
        v = tone + 0.1 * (FractalNoise(x / 3.0, y / 3.0, 32, 2, 0, 0) - 0.5);
        if (ly == 0 || lx == 0) v += 0.3;  // the upper and left edges catch the light
        if (ly == kCourse - 2 || lx == kBlock - 2) v -= 0.14;
      }
      PutPixel(b, x, y, RampDither(pal::kGrey, 5, v, x, y), ef16);
    }
  return b;
}

// A wall standing alone: one big block with a wide bevel and a sunken panel in its face.
// The game draws walls without laying the floor first, so every pixel is opaque.
TKBitmap LoneWall() {
  TKBitmap b = NewPicture();
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      // Pixels nearer the top or left edge face the light; the corners split on the diagonal.
      const int near = std::min(x, y), far = std::min(kSide - 1 - x, kSide - 1 - y);
      const int edge = std::min(near, far);
      const bool lit = near < far || (near == far && x + y < kSide - 1);
      double v;
      if (edge == 0) {
        v = 0.0;
      } else if (edge <= 2) {
        v = lit ? 0.95 - 0.1 * edge : 0.2;
      } else if (edge == 5) {
        v = lit ? 0.16 : 0.78;  // the sunken panel's rim: shaded top, lit bottom
      } else {
        v = 0.5 + 0.14 * (FractalNoise(x / 3.5, y / 3.5, 41, 2) - 0.5);
        if (edge > 5) v -= 0.06;
      }
      PutPixel(b, x, y, RampDither(pal::kGrey, 5, v, x, y), ef16);
    }
  return b;
}

// ---- Gate, pit, money and the small things ----------------------------------------------

// The gate: an arch of violet stone closed by iron bars; what breeds inside glows through.
// `lit` is the picture shown while a monster is being born.
TKBitmap Gate(bool lit) {
  TKBitmap b = NewPicture();
  const TField opening = [](double x, double y) {
    return y < 9 ? SdCircle(x, y, 10, 9, 5.6) : SdBox(x, y, 4.4, 9, 15.6, 21);
  };
  static const uint32_t kStone[5] = {Rgb(36, 28, 46), Rgb(62, 50, 78), Rgb(92, 78, 110),
                                     Rgb(128, 114, 146), Rgb(170, 158, 186)};
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const double px = x + 0.5, py = y + 0.5, d = opening(px, py);
      uint32_t c;
      if (d < 0) {
        // The inside: a swirl of dim colour, brightest low in the middle.
        const double glow = std::exp(-std::hypot(px - 10, (py - 13) * 0.8) / 5.0);
        const double swirl = FractalNoise(px / 4 + std::sin(py / 3), py / 4, lit ? 52 : 51, 2);
        if (lit)
          c = RampDither(pal::kFire, 8, 0.3 + 0.75 * glow + 0.2 * swirl, x, y);
        else
          c = RampDither(pal::kViolet, 4, -0.1 + 0.9 * glow + 0.25 * swirl, x, y);
        if (c == pal::kViolet[0] && glow < 0.35) c = Rgb(24, 10, 34);
      } else if (d < 1.0) {
        c = pal::kInk;  // the shadowed reveal of the arch
      } else if (py < 9 && d < 3.2) {
        // The arch stones, split by joints that point at the arch's centre.
        const double a = std::atan2(py - 9, px - 10);
        const double joint = std::fmod(a + kPi + 0.02, kPi / 5);
        c = joint < 0.12 ? kStone[0] : RampDither(kStone, 5, 0.78 - 0.2 * (d - 1), x, y);
      } else {
        // The walling round the arch: courses like the wall's, in the gate's stone.
        const int course = y / kCourse, ly = y % kCourse;
        const int lx = (x + ((course & 1) ? kBlock / 2 : 0)) % kBlock;
        double v = 0.42 + 0.12 * (FractalNoise(px / 3, py / 3, 53, 2) - 0.5);
        if (ly == 0 || lx == 0) v += 0.2;
        if (ly == kCourse - 1 || lx == kBlock - 1) v = 0.0;
        c = RampDither(kStone, 5, v, x, y);
      }
      if (lit && d >= 1.0 && d < 4) {  // the glow spills onto the stone round the arch
        const double k = (4 - d) / 3 * 0.35;
        c = Rgb(std::min(255, int(RedOf(c) + 180 * k)), std::min(255, int(GreenOf(c) + 80 * k)),
                std::min(255, int(BlueOf(c) + 30 * k)));
      }
      PutPixel(b, x, y, c, ef16);
    }
  // Iron bars with a lit left side and a cross bar; dark against the glow when lit.
  const uint32_t barFace = lit ? pal::kInk : pal::kGrey[2];
  const uint32_t barEdge = lit ? pal::kGrey[0] : pal::kGrey[3];
  for (int bx : {6, 9, 12})
    for (int y = 3; y < kSide; ++y) {
      for (int x = bx; x <= bx + 1; ++x)
        if (opening(x + 0.5, y + 0.5) < 0) PutPixel(b, x, y, x == bx ? barEdge : barFace, ef16);
    }
  for (int x = 5; x < 15; ++x) {
    PutPixel(b, x, 11, barEdge, ef16);
    PutPixel(b, x, 12, barFace, ef16);
  }
  PutPixel(b, 15, 11, pal::kInk, ef16);  // rivet heads where the cross bar meets the jamb
  PutPixel(b, 4, 12, pal::kInk, ef16);
  return b;
}

// A pit: a round hole in a ring of stones. Seen from above and a little from the front, the
// far wall of the shaft shows as a crescent of earth that fades into the dark; the inside is
// near-black, never black, so the floor does not show through it.
TKBitmap Pit() {
  TKBitmap b = NewPicture();
  constexpr double kC = 10, kRim = 9.4, kMouth = 6.4;  // centre, outer and inner radius
  static const uint32_t kDeep[4] = {Rgb(6, 4, 8), Rgb(20, 13, 12), Rgb(44, 28, 20),
                                    Rgb(80, 52, 32)};
  static const uint32_t kStone[5] = {Rgb(46, 38, 36), Rgb(78, 66, 60), Rgb(112, 98, 86),
                                     Rgb(150, 136, 118), Rgb(190, 176, 152)};
  Fill(
      b, [](double x, double y) { return SdCircle(x, y, kC, kC, kRim); },
      [](int x, int y) {
        const double px = x + 0.5, py = y + 0.5;
        const double r = std::hypot(px - kC, py - kC);
        if (r < kMouth) {
          // Outside a circle set lower lies the far wall; inside it, the depth.
          const double depth = SdCircle(px, py, kC, kC + 2.4, kMouth - 0.8);
          if (depth > 0) return RampDither(kDeep, 4, 1.1 - (py - (kC - kMouth)) / 9.0, x, y);
          return RampDither(kDeep, 4, 0.25 + depth / 6, x, y);
        }
        // Rim stones: nine lumps round the ring with dark joints between them, each lit
        // from the upper left.
        const double a = std::atan2(py - kC, px - kC);
        const double lump = std::fmod(a + kPi + 0.3, 2 * kPi / 9) / (2 * kPi / 9);
        if (lump < 0.14) return kStone[0];
        const double mid = (kMouth + kRim) / 2, w = (kRim - kMouth) / 2;
        const double bulge = std::sqrt(std::max(0.0, 1 - std::pow((r - mid) / w, 2)));
        const double facing = -(px - kC + py - kC) / (r * std::sqrt(2.0));  // toward the light
        const double l = 0.2 + 0.45 * bulge + 0.3 * facing * (r > mid ? 1 : -1);
        return RampDither(kStone, 5, l, x, y);
      });
  Outline(b, pal::kInk);
  return b;
}

// Money: a tied sack with a coin sign, and two gold coins spilled in front of it.
TKBitmap Money() {
  TKBitmap b = NewPicture();
  const TField sack = [](double x, double y) {
    return std::min({SdCircle(x, y, 10, 12.4, 5.6), SdBox(x, y, 8, 5.5, 12, 9.5, 0.5),
                     SdPolygon(x, y, {{7, 2.5}, {10, 5.5}, {13, 2.5}, {12, 6}, {8, 6}})});
  };
  Fill(b, sack, [](int x, int y) {
    const double l = SphereLight(x + 0.5, y + 0.5, 10, 12, 6.5);
    return RampDither(pal::kEarth, 5, 0.2 + 0.8 * l, x, y);
  });
  for (int x = 8; x <= 12; ++x) PutPixel(b, x, 6, pal::kRed[2], ef16);  // the cord
  const TField coinA = [](double x, double y) {
    return std::hypot((x - 4.6) / 3.4, (y - 16.6) / 2.4) * 2.4 - 2.4;
  };
  const TField coinB = [](double x, double y) {
    return std::hypot((x - 15.6) / 3.4, (y - 17.0) / 2.4) * 2.4 - 2.4;
  };
  for (const TField& coin : {coinA, coinB})
    Fill(b, coin, [&](int x, int y) {
      const double d = coin(x + 0.5, y + 0.5);
      return d > -0.9 ? pal::kGold[1] : RampDither(pal::kGold, 5, 0.95 - 0.2 * (y - 15), x, y);
    });
  Outline(b, pal::kInk);
  Map(b,
      {"....................", "....................", "....................",
       "....................", "....................", "....................",
       "....................", "....................", "..........y.........",
       ".........yyy........", "........yy..........", ".........yy.........",
       "...........yy.......", "........yyy.........", ".........y..........",
       "....................", "....w...............", "...............w...."},
      {{'y', pal::kGold[3]}, {'w', pal::kGold[4]}});
  return b;
}

// A violet crystal, cut with four facets round a table.
TKBitmap Gem() {
  TKBitmap b = NewPicture();
  const std::vector<std::pair<double, double>> outline = {{10, 3.5}, {16, 9}, {10, 17}, {4, 9}};
  Fill(
      b, [&](double x, double y) { return SdPolygon(x, y, outline); },
      [](int x, int y) {
        const double u = x + 0.5 - 10, v = y + 0.5 - 9.5;
        double l;
        if (std::abs(u) + std::abs(v) < 2.5)
          l = 0.85;
        else if (u <= 0 && v <= 0)
          l = 1.0;
        else if (u > 0 && v <= 0)
          l = 0.62;
        else if (u <= 0)
          l = 0.4;
        else
          l = 0.2;
        return RampDither(pal::kViolet, 5, l, x, y);
      });
  Outline(b, pal::kInk);
  PutPixel(b, 8, 7, pal::kPaper[2], ef16);
  return b;
}

// The trace left on an open square: a few sparkles, clear between them.
TKBitmap Trace() {
  TKBitmap b = NewPicture();
  Map(b, {"....................", "....................", "....................",
          "....a...............", "...aWa..........a...", "....a..........aWa..",
          "................a...", "....................", "..........a.........",
          ".........aWa........", "..........a.........", "....................",
          "....................", "..a.............a...", ".aWa...........aWa..",
          "..a.............a...", "....................", "........a...........",
          ".......aWa..........", "........a..........."},
      {{'a', pal::kGold[2]}, {'W', pal::kGold[4]}});
  return b;
}

// ---- Ghost --------------------------------------------------------------------------------

// A ghost: a pale sheet with a wavy hem that thins out into the floor below it. Ghosts are
// never turned, so it is drawn upright.
TKBitmap Ghost(bool lit) {
  TKBitmap b = NewPicture();
  static const uint32_t kPale[5] = {Rgb(60, 84, 130), Rgb(110, 146, 196), Rgb(160, 196, 236),
                                    Rgb(206, 228, 250), Rgb(240, 248, 255)};
  static const uint32_t kHot[5] = {Rgb(120, 20, 30), Rgb(196, 50, 50), Rgb(240, 110, 96),
                                   Rgb(255, 172, 150), Rgb(255, 226, 210)};
  const uint32_t* ramp = lit ? kHot : kPale;
  const TField sheet = [](double x, double y) {
    if (y < 8.5) return SdCircle(x, y, 10, 8.5, 6.6);
    const double hem = 16.6 + 1.6 * std::cos((x - 3.4) / 13.2 * 3 * 2 * kPi);
    return std::max(std::abs(x - 10) - 6.6, y - hem);
  };
  Fill(b, sheet, [&](int x, int y) {
    const double l = SphereLight(x + 0.5, y + 0.5, 9, 7.5, 9.5);
    return RampDither(ramp, 5, 0.25 + 0.85 * l, x, y);
  });
  // The lower part fades: a growing share of its pixels is left clear.
  for (int y = 12; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      if (Bayer(x, y) < (y - 12) / 9.0 && b.Pixel(x, y) != kClear) PutPixel(b, x, y, kClear, ef16);
  const uint32_t socket = lit ? Rgb(70, 8, 16) : Rgb(22, 26, 64);
  const uint32_t glint = lit ? pal::kGold[4] : Rgb(120, 170, 255);
  Map(b,
      {"....................", "....................", "....................",
       "....................", "....................", "....................",
       "......ss...ss.......", ".....sss..sss.......", ".....sgs..sgs.......",
       ".....sss..sss.......", "......s....s........", "....................",
       ".........ss.........", "........ssss........", ".........ss........."},
      {{'s', socket}, {'g', glint}});
  return b;
}

// ---- Player pictures (recoloured per player) ----------------------------------------------

const uint32_t kSkin = Rgb(242, 190, 150), kBlush = Rgb(232, 140, 124);
const uint32_t kMouth = Rgb(130, 24, 38), kBelt = Rgb(90, 58, 34), kBoot = Rgb(58, 36, 26);

// The digger facing the viewer: a helmet with a lamp, a suit in the player's colour.
TKBitmap Figure() {
  TKBitmap b = NewPicture();
  Map(b, MirrorHalves({"........oo", "......ooPP", ".....oPPPo", ".....oPPoy", "....oPPPoY",
                       "...ooooooo", "....osssss", "....ossess", "....oscsss", ".....osssm",
                       "....ooPPPP", "...oPoPPPP", "...oPoPPPP", "...oPokkky", "...osoPPPP",
                       "....ooPPPP", ".....oPPPo", ".....oPPPo", "....obbbbo", "....oooooo"}),
      {{'o', pal::kInk},
       {'P', kOwner},
       {'y', pal::kGold[4]},
       {'Y', pal::kGold[3]},
       {'s', kSkin},
       {'c', kBlush},
       {'e', pal::kInk},
       {'m', kMouth},
       {'k', kBelt},
       {'b', kBoot}});
  return b;
}

// The digger caught: arms flung up, eyes wide, mouth open, the lamp red, sparks round.
TKBitmap FigureHit() {
  TKBitmap b = NewPicture();
  Map(b, MirrorHalves({"........oo", ".y....ooPP", "yWy..oPPPo", ".y...oPPoR", "..s.oPPPoR",
                       ".osooooooo", ".oPoosssss", ".oPoossess", ".oPoossess", ".oPo.ossmm",
                       "..oPPoPPPP", "...ooPPPPP", "....oPPPPP", "....okkkky", "....oPPPPP",
                       "....ooPPPP", ".y...oPPPo", "yWy..oPPPo", ".y..obbbbo", "....oooooo"}),
      {{'o', pal::kInk},
       {'P', kOwner},
       {'y', pal::kGold[3]},
       {'W', pal::kGold[4]},
       {'R', pal::kRed[3]},
       {'s', kSkin},
       {'e', pal::kInk},
       {'m', kMouth},
       {'k', kBelt},
       {'b', kBoot}});
  return b;
}

// A pennant on a pole.
TKBitmap Flag() {
  TKBitmap b = NewPicture();
  Map(b, {"....................", "....oo..............", "...oyyo.............",
          "....oPooo...........", "....oPPPPooo........", "....oPPPPPPPooo.....",
          "....oPPPPPPPPPPoo...", "....oPPPPPPPPPoo....", "....oPPPPPPPoo......",
          "....oPPPPPoo........", "....oPPPoo..........", "....ohPoo...........",
          "....oho.............", "....oho.............", "....oho.............",
          "....oho.............", "....oho.............", "..oooooooo..........",
          "..osssssso..........", "..oooooooo.........."},
      {{'o', pal::kInk},
       {'P', kOwner},
       {'y', pal::kGold[3]},
       {'h', pal::kEarth[3]},
       {'s', pal::kGrey[2]}});
  return b;
}

// The player's house: walls and roof in the player's colour, a lit window and a door.
TKBitmap House() {
  TKBitmap b = NewPicture();
  Map(b, {"............ooooo...", ".........oo..oco....", "........oPPo.oco....",
          ".......oPPPPooco....", "......oPPPPPPoco....", ".....oPPPPPPPPoo....",
          "....oPPPPPPPPPPo....", "...oPPPPPPPPPPPPo...", "..oPPPPPPPPPPPPPPo..",
          ".oooooooooooooooooo.", "..oWWWWWWWWWWWWWWo..", "..oWoooooWWWWWWWWo..",
          "..oWoyoyoWoooooWWo..", "..oWoooooWobbboWWo..", "..oWoyoyoWobbboWWo..",
          "..oWoooooWobbyoWWo..", "..oWWWWWWWobbboWWo..", "..oWWWWWWWobbboWWo..",
          "..oWWWWWWWobbboWWo..", "..oooooooooooooooo.."},
      {{'o', pal::kInk},
       {'P', kOwner},
       {'W', kOwner},
       {'c', pal::kRed[1]},
       {'y', pal::kGold[4]},
       {'b', pal::kEarth[2]}});
  // Rows of shingles on the roof: a dark dot every fourth pixel, staggered.
  for (int y = 3; y <= 7; y += 2)
    for (int x = 0; x < kSide; ++x)
      if ((x + y) % 4 == 0 && b.Pixel(x, y) == kOwner && b.Pixel(x - 1, y) == kOwner &&
          b.Pixel(x + 1, y) == kOwner)
        PutPixel(b, x, y, pal::kInk, ef16);
  return b;
}

// A shield in the player's colour with a gold rim and star.
TKBitmap Badge() {
  TKBitmap b = NewPicture();
  const TField shield = [](double x, double y) {
    return SdPolygon(x, y, {{3.5, 3}, {16.5, 3}, {16.5, 10}, {10, 17.5}, {3.5, 10}});
  };
  Fill(b, shield,
       [&](int x, int y) { return shield(x + 0.5, y + 0.5) > -1.2 ? pal::kGold[2] : kOwner; });
  Outline(b, pal::kInk);
  std::vector<std::pair<double, double>> star;
  for (int k = 0; k < 10; ++k) {
    const double a = -kPi / 2 + k * kPi / 5, r = k % 2 ? 1.6 : 4.0;
    star.push_back({10 + std::cos(a) * r, 9.3 + std::sin(a) * r});
  }
  Fill(
      b, [&](double x, double y) { return SdPolygon(x, y, star); },
      [](int, int) { return pal::kGold[4]; });
  return b;
}

// ---- Monster and tunnel arrow ---------------------------------------------------------------

// The monster, seen from above and heading left: a round body in the type's colour with
// two short horns at the back, jaws open toward the way it goes, teeth showing, and two eyes
// looking ahead. Only the upper half is drawn; the lower half mirrors it about the middle row, so
// the picture stays true under every quarter turn.
TKBitmap Monster(bool hit) {
  TKBitmap b = NewPicture();
  const std::vector<std::string> calm = {"....................", ".......ooooooo..o...",
                                         ".....ooBBBBBBBooBo..", "....oBBoooBBhBBBBo..",
                                         "...oBBowwwoBBBBBdBo.", "..oBBBopwwoBBBBBBdo.",
                                         "..oBBBopwwoBBBBdBBBo", "...oooBoooBBBBBBBdBo",
                                         "...t.tooBBBBBBBBBdBo", ".....rrroBBBBBBBBdBo"};
  const std::vector<std::string> struck = {".y................y.", "yWy....ooooooo..oyWy",
                                           ".y...ooBBBBBBBooBoy.", "....oBBoooBBhBBBBo..",
                                           "...oBBopwpoBBBBBdBo.", "..oBBBowpwoBBBBBBdo.",
                                           "..oBBBopwpoBBBBdBBBo", "...oooBoooBBBBBBBdBo",
                                           "...t.tooBBBBBBBBBdBo", ".....RrroBBBBBBBBdBo"};
  Map(b, MirrorRows(hit ? struck : calm),
      {{'o', pal::kInk},
       {'B', kOwner},
       {'d', pal::kInk},
       {'h', pal::kPaper[2]},
       {'w', pal::kPaper[2]},
       {'p', pal::kInk},
       {'t', pal::kPaper[1]},
       {'r', pal::kRed[1]},
       {'R', pal::kRed[3]},
       {'y', pal::kGold[3]},
       {'W', pal::kGold[4]}});
  if (hit)  // paler all over while it takes the blow
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x)
        if (b.Pixel(x, y) == kOwner && Bayer(x, MirroredRow(y)) < 0.25)
          PutPixel(b, x, y, pal::kPaper[1], ef16);
  return b;
}

// The tunnel's arrow, pointing left: gold, lit along its middle, outlined so that it stands
// out on the masonry it is drawn over.
TKBitmap Arrow() {
  TKBitmap b = NewPicture();
  const std::vector<std::pair<double, double>> shape = {
      {1.6, 10}, {9.4, 2.6}, {9.4, 6.6}, {18.4, 6.6}, {18.4, 13.4}, {9.4, 13.4}, {9.4, 17.4}};
  Fill(
      b, [&](double x, double y) { return SdPolygon(x, y, shape); },
      [](int x, int y) {
        const double across = std::abs(y + 0.5 - 10);  // symmetric about the middle row
        return RampDither(pal::kGold, 5, 1.0 - across / 7.5 - (x > 14 ? 0.1 : 0), x,
                          MirroredRow(y));
      });
  Outline(b, pal::kInk, true);
  return b;
}

// ---- Sheet and floor ------------------------------------------------------------------------

TKBitmap Sheet() {
  TKBitmap pictures[kSheetPictures];
  pictures[kFloor] = Floor();
  pictures[kEarth] = Earth();
  pictures[kGate] = Gate(false);
  pictures[kWall] = Wall();
  pictures[kRubble] = Rubble();
  pictures[kRoots] = Roots();
  pictures[kFossil] = Fossil();
  pictures[kStones] = Stones();
  pictures[kTrace] = Trace();
  pictures[kGateLit] = Gate(true);
  pictures[kGhost] = Ghost(false);
  pictures[kGhostLit] = Ghost(true);
  pictures[kGem] = Gem();
  pictures[kPit] = Pit();
  pictures[kMoney] = Money();
  pictures[kLoneWall] = LoneWall();
  pictures[kFigure] = Figure();
  pictures[kFigureHit] = FigureHit();
  pictures[kFlag] = Flag();
  pictures[kHouse] = House();
  pictures[kBadge] = Badge();
  pictures[kMonster] = Monster(false);
  pictures[kMonsterHit] = Monster(true);
  pictures[kArrow] = Arrow();
  TKBitmap sheet(kSide * kSheetPictures, kSide);
  for (int i = 0; i < kSheetPictures; ++i)
    DrawWhole(sheet, kSide * i, 0, pictures[i], clNone, ef16);
  return sheet;
}

// The floor of the corridors, 640 x 320 like the field: dark rock in broad calm patches with
// a fine grain and a few hairline cracks. It stays below a quarter of full brightness so that
// every square picture drawn over it keeps its contrast.
constexpr int kFloorW = 640, kFloorH = 320;
constexpr int kJpegQuality = 90;

TKBitmap CaveFloor() {
  TKBitmap b(kFloorW, kFloorH);
  for (int y = 0; y < kFloorH; ++y) {
    uint8_t* row = b.Row(y);
    for (int x = 0; x < kFloorW; ++x) {
      const double broad = FractalNoise(x / 110.0, y / 110.0, 901, 4);
      const double grain = FractalNoise(x / 6.0, y / 6.0, 902, 2);
      const double ridge = 1 - std::abs(2 * FractalNoise(x / 70.0, y / 70.0, 903, 4) - 1);
      const double crack = std::clamp((ridge - 0.955) / 0.03, 0.0, 1.0);
      const double speck = Unit(HashMix(uint32_t(y * kFloorW + x) ^ 0x5EEDu));
      double v = 0.15 + 0.7 * broad + 0.22 * (grain - 0.5);
      v *= 1 - 0.45 * crack;
      if (speck > 0.997) v += 0.25;
      const double warm = FractalNoise(x / 160.0 + 7, y / 160.0, 904, 3);  // rust or slate
      const double r = 10 + 40 * v + 8 * (warm - 0.5), g = 9 + 36 * v,
                   bl = 12 + 37 * v - 8 * (warm - 0.5);
      const double d = Bayer(x, y) - 0.5;
      auto channel = [&](double c) { return uint8_t(std::clamp(int(std::lround(c + d)), 1, 255)); };
      row[3 * x] = channel(bl);
      row[3 * x + 1] = channel(g);
      row[3 * x + 2] = channel(r);
    }
  }
  return b;
}

void MakeMonstersArt(TContent& content) {
  content.WriteBmp("Graphics\\Monsters\\Monsters.bmp", Sheet(), kClear);
  std::vector<uint8_t> jpeg;
  if (!EncodeJpeg(CaveFloor(), kJpegQuality, jpeg))
    throw std::runtime_error("cannot encode the Monsters floor");
  content.WriteBytes("Graphics\\Monsters\\Back.jpg", jpeg);
}

TRegisterGenerator registerMonsters("Monsters pictures", 130, MakeMonstersArt);

}  // namespace

}  // namespace kelvra::content
