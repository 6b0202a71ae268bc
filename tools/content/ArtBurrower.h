// What Burrower's two picture groups share: the sizes the game takes its boxes from and the
// small drawing aids both use. Every sprite stands on the transparent colour kKey.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "Content.h"
#include "Paint.h"
#include "Palette.h"

namespace kelvra::content::burrower {

// Sizes in pixels. The game's boxes are these sizes (x 16 in its own units), and a figure
// must fit a tunnel one square (24 pixels) wide with room to turn.
constexpr int kBackWidth = 640, kBackHeight = 348;  // the frame down to the status band
constexpr int kSquare = 24;
constexpr int kEggSize = 22;
constexpr int kFruitSize = 14;
constexpr int kAppleSize = 24;  // fills its square: a resting apple stands on the line below
constexpr int kRemainsSize = 22, kBloodSize = 10;
constexpr int kWeaponWidth = 20, kWeaponHeight = 10;  // status panel rows are 12 high
constexpr int kAmmoWidth = 14, kAmmoHeight = 12;
constexpr int kItemSize = 14;  // health, armor, swap
constexpr int kFreezerShotSize = 10, kShrinkShotSize = 10, kCloudSize = 24;
constexpr int kRocketLength = 16, kRocketWidth = 8;
constexpr int kPlayerSize = 20;

// Frame counts of the animated pictures.
constexpr int kEggFrames = 3, kAmmoFrames = 3, kMedicKits = 3, kFreezerFrames = 3,
              kShrinkFrames = 4, kBallKinds = 2, kPlayerFrames = 3;

using TField = std::function<double(double x, double y)>;  // distance, negative inside
using TPaint = std::function<uint32_t(int x, int y)>;

// A picture of the given size, all transparent.
TKBitmap Blank(int w, int h);
// Paints every pixel whose centre lies inside the field.
void Fill(TKBitmap& b, const TField& field, const TPaint& paint);
// Rings the figure: every transparent pixel beside (not diagonally) a drawn one takes `ink`.
void Outline(TKBitmap& b, uint32_t ink = pal::kInk);
// A hand-drawn pixel map at (x0, y0); rows of unequal length or too large throw.
void Map(TKBitmap& b, int x0, int y0, const std::vector<std::string>& rows,
         std::initializer_list<std::pair<char, uint32_t>> legend);
// A ramp entry for pixel (x, y) lit as a sphere of centre (cx, cy) and radius r, the light
// mapped to lo..hi along the ramp.
uint32_t Lit(const uint32_t* ramp, int count, int x, int y, double cx, double cy, double r,
             double lo, double hi);
double Unit(uint32_t h);  // a hash as 0..1

// Writes "Graphics\Burrower\" + name with the transparent colour; `additive` for pictures
// the game adds to the frame.
void Save(TContent& content, const std::string& name, const TKBitmap& b, bool additive = false);
// stem + n + ".bmp"
std::string Numbered(const std::string& stem, int n);

}  // namespace kelvra::content::burrower
