// Burrower's figures, all seen from above: the players' digging machines (recoloured per
// player), the slime that is the plain enemy, and the drone, assault bug, commander crab,
// octabrain and enforcer walker, with the death frames of the last four.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ArtBurrower.h"

namespace kelvra::content::burrower {

namespace {

constexpr double kPi = 3.14159265358979323846;

constexpr uint32_t Grey(int v) {
  return Rgb(v, v, v);
}

// The digger's hull. The game multiplies every pure grey by the player's colour, so the hull
// uses these greys and nothing else in a player's picture is a pure grey: the highlight
// becomes the player's colour itself, the shadows darker shades of it.
constexpr uint32_t kHull[6] = {Grey(64), Grey(100), Grey(140), Grey(184), Grey(224), Grey(252)};
// Tracks: warm dark rubber, never a pure grey.
constexpr uint32_t kTread[3] = {Rgb(30, 24, 30), Rgb(64, 54, 56), Rgb(104, 92, 86)};

// Enemy sizes; each fits a tunnel with a little room on every side.
constexpr int kSlimeSize = 18, kDroneSize = 16, kAssaultSize = 18, kCommanderSize = 22,
              kOctabrainSize = 20, kEnforcerSize = 22;
// Frames: the slime's wobble; walking frames of the assault bug and the enforcer; death
// frames of the assault bug, commander, octabrain and enforcer.
constexpr int kSlimeFrames = 3, kAssaultFrames = 5, kEnforcerFrames = 4;
constexpr int kAssaultDeath = 4, kCommanderDeath = 8, kOctabrainDeath = 6, kEnforcerDeath = 6;

// ---- Turning -------------------------------------------------------------------------------

// Figures are drawn heading left; these give the other headings. Quarter turns (not
// mirrors) keep a figure's left and right sides where a turning body would have them.
TKBitmap Mirror(const TKBitmap& b) {
  TKBitmap out(b.Width(), b.Height());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) PutPixel(out, x, y, b.Pixel(b.Width() - 1 - x, y), ef16);
  return out;
}

TKBitmap TurnDown(const TKBitmap& b) {  // the front that was at the left ends at the bottom
  TKBitmap out(b.Height(), b.Width());
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) PutPixel(out, x, y, b.Pixel(b.Width() - 1 - y, x), ef16);
  return out;
}

TKBitmap TurnUp(const TKBitmap& b) {
  TKBitmap out(b.Height(), b.Width());
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) PutPixel(out, x, y, b.Pixel(y, b.Height() - 1 - x), ef16);
  return out;
}

// ---- Players -------------------------------------------------------------------------------

// The digger heading left: a tracked hull with a glass dome and a spiral drill in front.
// Frames move the track cleats and turn the drill's thread.
TKBitmap Digger(int frame) {
  constexpr int kS = kPlayerSize;
  TKBitmap b = Blank(kS, kS);
  for (const double top : {1.5, 14.5})
    Fill(
        b, [=](double x, double y) { return SdBox(x, y, 7, top, 18.5, top + 4, 1); },
        [=](int x, int y) {
          if ((x + frame) % 3 == 0) return kTread[0];
          return kTread[y - int(top) < 2 ? 2 : 1];
        });
  Fill(
      b, [](double x, double y) { return SdBox(x, y, 7.5, 4.5, 18, 15.5, 1.5); },
      [](int x, int y) {
        double v = 1.0 - 0.035 * (x - 7) - 0.05 * (y - 4);
        if (x == 11 || y == 10) v -= 0.3;  // panel seams
        if (y == 5) v += 0.15;
        return RampDither(kHull, 6, v, x, y);
      });
  Fill(
      b, [](double x, double y) { return SdCircle(x, y, 14.5, 10, 2.4); },
      [](int x, int y) { return Lit(pal::kBlue, 6, x, y, 14.5, 10, 2.6, 0.2, 1.0); });
  // The drill: a big cone of brass with its thread turning, on a steel collar.
  Fill(
      b,
      [](double x, double y) {
        return SdPolygon(x, y, {{8.5, 3.2}, {8.5, 16.8}, {0.6, 10}});
      },
      [=](int x, int y) {
        const double thread = std::fmod(x + 0.8 * std::abs(y + 0.5 - 10) + 3 - frame, 3.0);
        const double v = 0.95 - 0.07 * (y - 4) + (thread < 1.0 ? -0.5 : 0);
        return RampDither(pal::kGold, 5, v, x, y);
      });
  for (int y = 4; y <= 15; ++y) PutPixel(b, 8, y, y < 10 ? pal::kGrey[3] : pal::kGrey[1], ef16);
  Outline(b);
  return b;
}

// ---- Enemies -------------------------------------------------------------------------------

// The plain enemy: a green slime with big eyes, seen from the front whichever way it goes.
// It swells, settles and stretches over its three frames, always standing on its base.
TKBitmap Slime(int frame) {
  constexpr int kS = kSlimeSize;
  TKBitmap b = Blank(kS, kS);
  const double rx = 7.2 + 0.5 * (frame == 1) - 0.5 * (frame == 2);
  const double ry = 6.6 - 0.5 * (frame == 1) + 0.7 * (frame == 2);
  const double cx = 9, cy = 16.2 - ry;
  Fill(
      b,
      [=](double x, double y) {
        const double body = std::hypot((x - cx) / rx, (y - cy) / ry) - 1;
        return std::max(body, y - 16.6);
      },
      [=](int x, int y) { return Lit(pal::kGreen, 5, x, y, cx - 1, cy - 1, rx + 1.5, 0.1, 1.0); });
  // A drip hanging off each side.
  for (const double dx : {-rx + 0.8, rx - 1.2})
    Fill(
        b, [=](double x, double y) { return SdCircle(x, y, cx + dx, 15.2 - frame * 0.3, 1.2); },
        [](int, int) { return pal::kGreen[2]; });
  Outline(b);
  const int ey = int(cy) - 2;
  Map(b, 4, ey, {"oooo.oooo", "owwo.owwo", "owko.okwo", ".oo...oo."},
      {{'o', pal::kInk}, {'w', pal::kPaper[2]}, {'k', pal::kInk}});
  Map(b, 6, ey + 5, {"ooooo", ".wow."}, {{'o', pal::kInk}, {'w', pal::kPaper[1]}});
  return b;
}

// The drone: a steel mine hovering on a ring of vents, its red eye on the way it flies.
// One picture for each heading: down (0), left (1) and up (2).
TKBitmap Drone(int heading) {
  constexpr int kS = kDroneSize;
  TKBitmap b = Blank(kS, kS);
  const double c = kS / 2.0;
  for (int k = 0; k < 4; ++k) {  // four stubby prongs on the diagonals
    const double a = kPi / 4 + k * kPi / 2;
    Fill(
        b,
        [=](double x, double y) {
          return SdSegment(x, y, c, c, c + std::cos(a) * 6.6, c + std::sin(a) * 6.6, 1.1);
        },
        [](int, int) { return pal::kGrey[1]; });
  }
  Fill(
      b, [=](double x, double y) { return SdCircle(x, y, c, c, 5.4); },
      [=](int x, int y) { return Lit(pal::kGrey, 6, x, y, c, c, 5.6, 0.0, 0.8); });
  Fill(
      b, [=](double x, double y) { return std::abs(SdCircle(x, y, c, c, 3.2)) - 0.45; },
      [](int, int) { return pal::kGrey[1]; });  // the seam between the halves
  const double ex = heading == 1 ? c - 3.4 : c, ey = heading == 0   ? c + 3.4
                                                     : heading == 2 ? c - 3.4
                                                                    : c;
  Fill(
      b, [=](double x, double y) { return SdCircle(x, y, ex, ey, 2.0); },
      [=](int x, int y) {
        return RampDither(pal::kRed, 5, 1.2 - std::hypot(x + 0.5 - ex, y + 0.5 - ey) / 2, x, y);
      });
  Outline(b);
  return b;
}

// The assault bug heading left: a sand-coloured beetle with a gun arm, walking on six legs in
// a five-frame stride (three legs forward while the other three push back).
TKBitmap AssaultLeft(int frame) {
  constexpr int kS = kAssaultSize;
  TKBitmap b = Blank(kS, kS);
  const double phase = 2 * kPi * frame / kAssaultFrames;
  for (int pair = 0; pair < 3; ++pair)
    for (const int side : {-1, 1}) {
      const double swing = 1.8 * std::sin(phase + (pair + (side > 0)) * kPi);
      const double hx = 6.5 + 2.6 * pair, hy = 9 + side * 2.5;
      const double fx = hx - 1 + swing, fy = 9 + side * 7.2;
      Fill(
          b, [=](double x, double y) { return SdSegment(x, y, hx, hy, fx, fy, 0.55); },
          [](int, int) { return pal::kEarth[0]; });
    }
  Fill(
      b, [](double x, double y) { return std::hypot((x - 11.5) / 5.4, (y - 9) / 4.4) - 1; },
      [](int x, int y) {
        const double v =
            (x % 3 == 0) ? 0.25 : 0.35 + 0.7 * SphereLight(x + 0.5, y + 0.5, 10.5, 8, 5.5);
        return RampDither(pal::kEarth, 5, v, x, y);
      });
  Fill(
      b, [](double x, double y) { return SdCircle(x, y, 5.2, 9, 2.9); },
      [](int x, int y) { return Lit(pal::kEarth, 5, x, y, 4.7, 8.4, 3, 0.35, 1.0); });
  // The gun on its right arm, pointing ahead.
  Fill(
      b, [](double x, double y) { return SdBox(x, y, 1.2, 11.6, 8, 13.4, 0); },
      [](int x, int y) { return RampDither(pal::kGrey, 6, 0.6 - 0.3 * (y - 11.6), x, y); });
  Outline(b);
  PutPixel(b, 3, 8, pal::kRed[3], ef16);  // eyes
  PutPixel(b, 4, 10, pal::kRed[3], ef16);
  PutPixel(b, 1, 6, pal::kEarth[1], ef16);  // feelers
  PutPixel(b, 0, 5, pal::kEarth[1], ef16);
  return b;
}

// The commander heading left: a crimson armoured crab with two big claws in front and a
// rocket pod on each shoulder.
TKBitmap CommanderLeft() {
  constexpr int kS = kCommanderSize;
  TKBitmap b = Blank(kS, kS);
  for (const int side : {-1, 1}) {  // legs out to the sides
    for (int k = 0; k < 3; ++k)
      Fill(
          b,
          [=](double x, double y) {
            return SdSegment(x, y, 10 + 2.6 * k, 11 + side * 5, 11.5 + 2.8 * k, 11 + side * 9.4,
                             0.6);
          },
          [](int, int) { return pal::kRed[0]; });
    // A claw: an arm reaching forward and a pincer open toward the way it goes.
    const double cy = 11 + side * 5.2;
    Fill(
        b, [=](double x, double y) { return SdSegment(x, y, 8, 11 + side * 3.5, 4.5, cy, 1.2); },
        [](int x, int y) { return RampDither(pal::kRed, 5, 0.45, x, y); });
    Fill(
        b,
        [=](double x, double y) {
          const double claw = SdCircle(x, y, 3.6, cy, 2.6);
          return std::max(claw,
                          -SdPolygon(x, y, {{0, cy - 0.8 * side}, {4, cy}, {0, cy + 1.4 * side}}));
        },
        [=](int x, int y) { return Lit(pal::kRed, 5, x, y, 3, cy - 1, 3, 0.3, 1.0); });
  }
  Fill(
      b, [](double x, double y) { return std::hypot((x - 12.5) / 6.6, (y - 11) / 7.0) - 1; },
      [](int x, int y) { return Lit(pal::kRed, 5, x, y, 11, 9, 8, 0.1, 1.0); });
  for (const double py : {5.5, 16.5})  // rocket pods with gold caps
    Fill(
        b, [=](double x, double y) { return SdBox(x, y, 13, py - 1.7, 19.5, py + 1.7, 0.8); },
        [=](int x, int y) {
          return x < 15 ? RampDither(pal::kGold, 5, 0.9 - 0.2 * (y - py + 1.7), x, y)
                        : RampDither(pal::kGrey, 6, 0.7 - 0.2 * (y - py + 1.7), x, y);
        });
  Outline(b);
  Map(b, 6, 8, {"y..", "...", "...", "...", "...", "y.."}, {{'y', pal::kGold[4]}});  // eyes
  for (int x = 10; x <= 15; ++x) PutPixel(b, x, 11, pal::kRed[1], ef16);  // the shell's ridge
  return b;
}

// The octabrain heading left: a pink brain of folds with one great eye in front and four
// tentacles trailing behind it.
TKBitmap OctabrainLeft() {
  static const uint32_t kBrain[5] = {Rgb(86, 30, 70), Rgb(150, 62, 120), Rgb(206, 112, 170),
                                     Rgb(240, 168, 206), Rgb(255, 222, 236)};
  constexpr int kS = kOctabrainSize;
  TKBitmap b = Blank(kS, kS);
  for (int k = 0; k < 4; ++k) {
    const double y0 = 5 + k * 3.3;
    Fill(
        b,
        [=](double x, double y) {
          if (x < 11 || x > 18.6) return 1.0;
          const double mid = y0 + 1.4 * std::sin((x - 11) * 0.9 + k * 1.7);
          return std::abs(y - mid) - (1.3 - (x - 11) * 0.09);
        },
        [](int x, int y) { return RampDither(pal::kViolet, 5, 0.8 - 0.05 * (x - 11), x, y); });
  }
  Fill(
      b, [](double x, double y) { return SdCircle(x, y, 10, 10, 6.6); },
      [](int x, int y) {
        const double fold = std::sin((x + 0.5) * 1.3 + 2.2 * std::sin((y + 0.5) * 0.9));
        const double l = SphereLight(x + 0.5, y + 0.5, 9, 8.5, 7.5);
        return RampDither(kBrain, 5, 0.15 + 0.75 * l + (fold > 0.6 ? -0.35 : 0), x, y);
      });
  for (int y = 4; y <= 16; ++y) PutPixel(b, 10 + (y % 3 == 0), y, kBrain[0], ef16);  // the cleft
  Fill(
      b, [](double x, double y) { return SdCircle(x, y, 4.6, 10, 2.9); },
      [](int x, int y) { return Lit(pal::kGold, 5, x, y, 4, 9.4, 3.2, 0.4, 1.0); });
  Outline(b);
  for (int y = 8; y <= 11; ++y) PutPixel(b, 4, y, pal::kInk, ef16);  // the slit pupil
  return b;
}

// The enforcer heading left: a blue walking turret with a laser cannon; its four feet step
// in diagonal pairs over four frames.
TKBitmap EnforcerLeft(int frame) {
  constexpr int kS = kEnforcerSize;
  TKBitmap b = Blank(kS, kS);
  const double stride = 1.8 * std::sin(2 * kPi * frame / kEnforcerFrames);
  const struct {
    double x, y, sign;
  } feet[] = {{7, 3.2, 1}, {16, 3.2, -1}, {7, 18.8, -1}, {16, 18.8, 1}};
  for (const auto& f : feet) {
    const double fx = f.x + f.sign * stride;
    Fill(
        b,
        [=](double x, double y) {
          return SdSegment(x, y, (f.x + 11.5) / 2, (f.y + 11) / 2, fx, f.y, 0.9);
        },
        [](int, int) { return pal::kGrey[1]; });
    Fill(
        b,
        [=](double x, double y) { return SdBox(x, y, fx - 2, f.y - 1.4, fx + 2, f.y + 1.4, 0.6); },
        [](int x, int y) { return RampDither(pal::kBlue, 6, 0.35, x, y); });
  }
  Fill(
      b, [](double x, double y) { return SdBox(x, y, 6.5, 5.5, 17.5, 16.5, 2.5); },
      [](int x, int y) {
        double v = 0.9 - 0.035 * (x - 6) - 0.045 * (y - 5);
        if (x == 16 && y > 6 && y < 15) v = 0.2;  // the rear vents
        return RampDither(pal::kBlue, 6, v, x, y);
      });
  Fill(
      b, [](double x, double y) { return SdBox(x, y, 0.8, 9.6, 9, 12.4, 0); },
      [](int x, int y) { return RampDither(pal::kGrey, 6, 0.7 - 0.25 * (y - 9.6), x, y); });
  Fill(
      b, [](double x, double y) { return SdCircle(x, y, 11.5, 11, 3.4); },
      [](int x, int y) { return Lit(pal::kBlue, 6, x, y, 11, 10, 3.6, 0.3, 1.05); });
  Outline(b);
  PutPixel(b, 1, 10, pal::kBlue[5], ef16);  // the lens at the muzzle
  PutPixel(b, 1, 11, pal::kBlue[5], ef16);
  PutPixel(b, 10, 10, pal::kGold[4], ef16);  // the turret's sight
  return b;
}

// Death frames from a figure heading down: frame 0 flashes white, then the body breaks into
// pieces that fly apart and darken over a spreading splash of `goo`, which thins out in the
// last frames.
std::vector<TKBitmap> Death(const TKBitmap& body, int count, const uint32_t* goo, int gooCount) {
  const int w = body.Width(), h = body.Height();
  const double cx = w / 2.0, cy = h / 2.0;
  std::vector<TKBitmap> frames;
  for (int f = 0; f < count; ++f) {
    const double t = double(f) / (count - 1);  // 0 .. 1
    TKBitmap b = Blank(w, h);
    // The splash grows to most of the picture, then dries to scattered drops.
    const double splash = 2.5 + (std::min(w, h) / 2.0 - 3) * std::min(1.0, t * 1.6);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const double a = std::atan2(y + 0.5 - cy, x + 0.5 - cx);
        const double rim =
            splash * (0.75 + 0.4 * ValueNoise(std::cos(a) * 2 + 3, std::sin(a) * 2 + 3, 77));
        const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        const double thin = Unit(HashMix(uint32_t(y * 131 + x * 7919 + f)));
        if (f == 0 || r > rim || thin < (t - 0.55) * 1.8) continue;
        PutPixel(b, x, y, RampDither(goo, gooCount, 0.6 - 0.5 * r / rim, x, y), ef16);
      }
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t c = body.Pixel(x, y);
        if (c == kKey) continue;
        // Pieces of 4 x 4 pixels fly out from the middle, each a little to its own side.
        const int px = x / 4, py = y / 4;
        const uint32_t hash = HashMix(uint32_t(px * 31 + py * 977 + 5));
        if (Unit(hash) < t * 0.85) continue;  // pieces vanish as the frames go on
        const double dx = (px * 4 + 2 - cx) / cx + (Unit(hash >> 3) - 0.5);
        const double dy = (py * 4 + 2 - cy) / cy + (Unit(hash >> 7) - 0.5);
        const int nx = x + int(std::lround(dx * t * 7)), ny = y + int(std::lround(dy * t * 7));
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
        uint32_t out = c;
        if (f == 0) {
          out =
              Rgb((RedOf(c) + 3 * 255) / 4, (GreenOf(c) + 3 * 240) / 4, (BlueOf(c) + 3 * 220) / 4);
        } else {
          const double dark = 1 - 0.45 * t;
          out = Rgb(int(RedOf(c) * dark), int(GreenOf(c) * dark), int(BlueOf(c) * dark) + 1);
        }
        PutPixel(b, nx, ny, out, ef16);
      }
    frames.push_back(b);
  }
  return frames;
}

// Saves a figure drawn heading left as its three files: down (0), left (1) and up (2); the
// game mirrors the left one for right.
void SaveHeadings(TContent& content, const std::string& stem, const TKBitmap& left,
                  const std::string& suffix = "") {
  Save(content, "Enemies\\" + stem + "0" + suffix + ".bmp", TurnDown(left));
  Save(content, "Enemies\\" + stem + "1" + suffix + ".bmp", left);
  Save(content, "Enemies\\" + stem + "2" + suffix + ".bmp", TurnUp(left));
}

void SaveDeath(TContent& content, const std::string& stem, const TKBitmap& left, int count,
               const uint32_t* goo, int gooCount) {
  const std::vector<TKBitmap> frames = Death(TurnDown(left), count, goo, gooCount);
  for (int n = 0; n < count; ++n) Save(content, Numbered("Enemies\\" + stem + "D", n), frames[n]);
}

void MakeBurrowerCrew(TContent& content) {
  for (int n = 0; n < kPlayerFrames; ++n) {
    const TKBitmap left = Digger(n);
    Save(content, Numbered("Left", n), left);
    Save(content, Numbered("Right", n), Mirror(left));
    Save(content, Numbered("Down", n), TurnDown(left));
    Save(content, Numbered("Up", n), TurnUp(left));
  }
  for (int n = 0; n < kSlimeFrames; ++n) Save(content, Numbered("Enemy", n), Slime(n));
  Save(content, "Enemies\\Drone0.bmp", Drone(0));
  Save(content, "Enemies\\Drone1.bmp", Drone(1));
  Save(content, "Enemies\\Drone2.bmp", Drone(2));
  for (int n = 0; n < kAssaultFrames; ++n)
    SaveHeadings(content, "Assault", AssaultLeft(n), std::to_string(n));
  SaveDeath(content, "Assault", AssaultLeft(0), kAssaultDeath, pal::kGreen, 4);
  SaveHeadings(content, "Commander", CommanderLeft());
  SaveDeath(content, "Commander", CommanderLeft(), kCommanderDeath, pal::kRed, 3);
  SaveHeadings(content, "Octabrain", OctabrainLeft());
  SaveDeath(content, "Octabrain", OctabrainLeft(), kOctabrainDeath, pal::kViolet, 4);
  for (int n = 0; n < kEnforcerFrames; ++n)
    SaveHeadings(content, "Enforcer", EnforcerLeft(n), std::to_string(n));
  SaveDeath(content, "Enforcer", EnforcerLeft(0), kEnforcerDeath, pal::kBlue, 4);
}

TRegisterGenerator registerCrew("Burrower figures", 141, MakeBurrowerCrew);

}  // namespace

}  // namespace kelvra::content::burrower
