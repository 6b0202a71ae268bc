// Pictures shared by all games: the five mouse pointers, the 21 explosion frames that
// blasts play through and the 14 looping flame frames.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "Content.h"
#include "Paint.h"
#include "Palette.h"

namespace kelvra::content {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Pointers are 16 x 16 with the hot spot at the top-left pixel; the program draws them
// with their corner at the mouse position, so every arrow starts near (0, 0).
constexpr int kCursorSize = 16;

// The arrow pointer: o outline, w face; the face's lower right edge is shaded below.
const std::vector<std::string> kArrow = {
    "o...............", "oo..............", "owo.............", "owwo............",
    "owwwo...........", "owwwwo..........", "owwwwwo.........", "owwwwwwo........",
    "owwwwwwwo.......", "owwwwwwwwo......", "owwwwwoooo......", "owwowwo.........",
    "owo.owwo........", "oo..owwo........", "o....owwo.......", ".....ooo........",
};

// A direction arrow pointing right: o outline, y face; shaded below from its neighbours.
const std::vector<std::string> kRightArrow = {
    "........o.......", "........oo......", "........oyo.....", "........oyyo....",
    "oooooooooyyyo...", "oyyyyyyyyyyyyo..", "oyyyyyyyyyyyyyo.", "oyyyyyyyyyyyyo..",
    "oooooooooyyyo...", "........oyyo....", "........oyo.....", "........oo......",
    "........o.......",
};

// Face pixels next to the outline get a lighter edge toward the upper left and a darker
// one toward the lower right, the way light from the upper left falls on a raised shape.
std::vector<std::string> ShadeFace(std::vector<std::string> rows, char face) {
  const auto at = [&](int x, int y) {
    if (y < 0 || y >= int(rows.size()) || x < 0 || x >= int(rows[y].size())) return '.';
    return rows[y][x];
  };
  std::vector<std::string> out = rows;
  for (int y = 0; y < int(rows.size()); ++y)
    for (int x = 0; x < int(rows[y].size()); ++x) {
      if (rows[y][x] != face) continue;
      if (at(x + 1, y) == 'o' || at(x, y + 1) == 'o')
        out[y][x] = 'd';
      else if (at(x - 1, y) == 'o' || at(x, y - 1) == 'o')
        out[y][x] = 'h';
    }
  return out;
}

// The pointer grid with `rows` one row down from the top.
std::vector<std::string> Pad(const std::vector<std::string>& rows) {
  std::vector<std::string> grid(kCursorSize, std::string(kCursorSize, '.'));
  for (int y = 0; y < int(rows.size()); ++y)
    for (int x = 0; x < int(rows[y].size()); ++x) grid[y + 1][x] = rows[y][x];
  return grid;
}

std::vector<std::string> Transform(const std::vector<std::string>& grid, bool mirror,
                                   bool transpose) {
  std::vector<std::string> out = grid;
  for (int y = 0; y < kCursorSize; ++y)
    for (int x = 0; x < kCursorSize; ++x) {
      int sx = mirror ? kCursorSize - 1 - x : x, sy = y;
      if (transpose) std::swap(sx, sy);
      out[y][x] = grid[sy][sx];
    }
  return out;
}

void MakeCursors(TContent& content) {
  auto save = [&](const char* name, const std::vector<std::string>& rows, uint32_t face,
                  uint32_t light, uint32_t dark) {
    TKBitmap b(kCursorSize, kCursorSize);
    FillBitmap(b, kKey, ef16);
    DrawPixelMap(b, 0, 0, rows,
                 {{'o', pal::kInk}, {'w', face}, {'y', face}, {'h', light}, {'d', dark}});
    content.WriteBmp(std::string("Graphics\\Cursors\\") + name + ".bmp", b, kKey);
  };
  save("Default", ShadeFace(kArrow, 'w'), pal::kGrey[5], pal::kGrey[5], pal::kGrey[3]);
  const uint32_t face = pal::kGold[3], light = pal::kGold[4], dark = pal::kGold[1];
  // Left and Up point at the hot spot's side; Right and Down start from it.
  const std::vector<std::string> right = Pad(kRightArrow);
  save("Left", ShadeFace(Transform(right, true, false), 'y'), face, light, dark);
  save("Right", ShadeFace(right, 'y'), face, light, dark);
  save("Up", ShadeFace(Transform(Transform(right, true, false), false, true), 'y'), face, light,
       dark);
  save("Down", ShadeFace(Transform(right, false, true), 'y'), face, light, dark);
}

double SmoothStep(double a, double b, double x) {
  const double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Explosion frames: 32 x 32, centred on the blast; the program adds them to the frame, so
// darker pixels are fainter, and skips the transparent colour. Frames 0..6 flash and swell,
// 7..20 burn out from the middle into drifting embers.
constexpr int kExplosionSize = 32;

void MakeExplosions(TContent& content) {
  // The fireball is a cluster of billows around the centre; they drift apart and upward as
  // it grows, which gives the lumpy outline of a real blast.
  constexpr int kBillows = 7;
  double billowAngle[kBillows], billowDist[kBillows], billowSize[kBillows];
  for (int k = 0; k < kBillows; ++k) {
    billowAngle[k] = 2 * kPi * k / (kBillows - 1) + (HashMix(k + 40) % 1000) / 1000.0;
    billowDist[k] = k == 0 ? 0 : 0.38 + (HashMix(k + 50) % 100) / 800.0;
    billowSize[k] = k == 0 ? 0.62 : 0.5 + (HashMix(k + 60) % 100) / 700.0;
  }
  for (int f = 0; f < 21; ++f) {
    TKBitmap b(kExplosionSize, kExplosionSize);
    FillBitmap(b, kKey, ef16);
    const double grow = 1 - std::pow(1 - std::min(1.0, f / 6.0), 2);
    const double radius = 3 + 8.5 * grow + 0.17 * std::max(0, f - 6);  // at most 13.9
    const double heat = f <= 2 ? 1.0 : std::pow(1 - (f - 2) / 19.0, 1.15);
    const double hollow = SmoothStep(7, 17, f);    // the core burns out first
    const double cx = 16.0, cy = 16.5 - 0.12 * f;  // the hot gas rises a little
    for (int y = 0; y < kExplosionSize; ++y)
      for (int x = 0; x < kExplosionSize; ++x) {
        const double px = x + 0.5, py = y + 0.5;
        const double n = FractalNoise(px / 4.0, py / 4.0 + f * 0.3, 7, 2);
        double billow = -1;
        for (int k = 0; k < kBillows; ++k) {
          const double spread = radius * billowDist[k] * (0.8 + 0.02 * f);
          const double bx = cx + std::cos(billowAngle[k]) * spread;
          const double by = cy + std::sin(billowAngle[k]) * spread - 0.08 * f * (k % 3);
          const double r = radius * billowSize[k] * (0.85 + 0.3 * n);
          billow = std::max(billow, 1 - std::hypot(px - bx, py - by) / r);
        }
        if (billow <= 0) continue;
        const double centre = std::max(0.0, 1 - std::hypot(px - cx, py - cy) / radius);
        double v = heat * (0.22 + 0.4 * billow + 0.55 * centre) + 0.12 * (n - 0.5);
        v -= hollow * centre * 0.45;
        if (f <= 1) v += 0.4 * centre;  // the first flash is white hot
        v = std::min(v, 1.0);
        if (v < 0.06) continue;
        PutPixel(b, x, y, pal::kFire[std::clamp(int(v * 8), 0, 7)], ef16);
      }
    // Flying sparks: a fixed set of directions and speeds, one pixel each.
    for (int s = 0; s < 12 && f >= 2 && f <= 15; ++s) {
      const double angle = (HashMix(s * 3 + 1) % 6283) / 1000.0;
      const double speed = 0.7 + (HashMix(s * 3 + 2) % 100) / 160.0;
      const double dist = 4 + (f - 1) * speed;
      const int x = int(std::lround(cx + std::cos(angle) * dist));
      const int y = int(std::lround(cy + std::sin(angle) * dist + 0.02 * f * f));
      if (x < 0 || y < 0 || x >= kExplosionSize || y >= kExplosionSize) continue;
      if (b.Pixel(x, y) != kKey) continue;
      const int hot = std::clamp(7 - (f - 2) / 2, 2, 7);
      PutPixel(b, x, y, pal::kFire[hot], ef16);
    }
    char name[64];
    std::snprintf(name, sizeof name, "Graphics\\Anim\\Explos%02d.bmp", f);
    content.WriteBmp(name, b, kKey, true);
  }
}

// Flame frames: 32 x 48, standing on the bottom row, added to the frame in the games (black
// adds nothing). The flame's noise scrolls upward by exactly one period over the 14 frames,
// so the last frame leads back into the first.
constexpr int kFireWidth = 32, kFireHeight = 48, kFireFrames = 14;

void MakeFire(TContent& content) {
  constexpr int kScroll = 3;                          // pixels a frame
  constexpr double kCell = 6;                         // noise lattice cell, pixels
  constexpr int kPeriod = kFireFrames * kScroll / 6;  // lattice cells per loop
  for (int f = 0; f < kFireFrames; ++f) {
    TKBitmap b(kFireWidth, kFireHeight);
    FillBitmap(b, 0, ef16);
    const double phase = 2 * kPi * f / kFireFrames;
    for (int y = 0; y < kFireHeight; ++y)
      for (int x = 0; x < kFireWidth; ++x) {
        const double u = (kFireHeight - 1 - y + 0.5) / kFireHeight;  // 0 bottom, 1 top
        const double n = FractalNoise(x / kCell, (y + f * kScroll) / kCell, 11, 3, 0, kPeriod);
        const double sway = 2.2 * u * std::sin(u * 4 - phase) + 1.6 * u * (n - 0.5) * 2;
        const double halfWidth = 15 * std::pow(1 - u, 0.6) *
                                 (0.6 + 0.4 * std::sqrt(std::min(1.0, u * 5))) * (0.75 + 0.5 * n);
        if (halfWidth <= 0) continue;
        const double dx = std::abs(x + 0.5 - 16 - sway);
        const double s = 1 - dx / halfWidth;
        if (s <= 0) continue;
        double v = 0.22 + 1.0 * s - 1.05 * u + (0.5 + 0.6 * u) * (n - 0.5);
        v *= SmoothStep(0.0, 0.08, u + 0.02);  // a soft foot on the ground
        if (v < 0.12) continue;
        PutPixel(b, x, y, pal::kFire[std::clamp(int(v * 8), 0, 7)], ef16);
      }
    char name[64];
    std::snprintf(name, sizeof name, "Graphics\\Anim\\Fire%02d.bmp", f);
    content.WriteBmp(name, b, 0, true);
  }
}

void MakeSharedArt(TContent& content) {
  MakeCursors(content);
  MakeExplosions(content);
  MakeFire(content);
}

TRegisterGenerator registerShared("shared pictures", 100, MakeSharedArt);

}  // namespace

}  // namespace kelvra::content
