// Brickfall's pictures, loaded once when the kind is first made current: the wall shapes
// in their six colours, paddles and shots in the players' colours, balls, bursts, enemies,
// bonuses and effect sprites. Their sizes are game data: things collide with the boxes of
// their pictures.
#pragma once

#include <memory>
#include <string>

#include "brickfall/BrickField.h"
#include "media/KBitmap.h"

namespace kelvra {

constexpr int kWallShapes = 16;          // at most this many files of "Walls\" are used
constexpr int kWallColours = 6;          // Red, Orange, Yellow, Lime, Aqua, White
constexpr uint32_t kMagenta = 0x800080;  // (128, 0, 128): transparent in every picture

constexpr int kPaddleSizes = 4;
constexpr int kBallSizes = 4;  // discs of 8, 16, 32 and 64 pixels
constexpr int kEnemyKinds = 3;
constexpr int kBubbleKinds = 3;   // "Bubble0..2"
constexpr int kRainKinds = 7;     // "Rain0..2" for kinds 1..3, "Snow0..3" for kinds 4..7
constexpr int kBurstSizes = 4;    // burst discs of 16, 32, 64 and 128 pixels
constexpr int kBurstLevels = 16;  // growth levels of each size

// A picture's size in pixels.
struct TPictureSize {
  int32_t width, height;
};

struct TBrickPictures {
  int shapes = 0;                   // wall pictures loaded
  int32_t width[kWallShapes] = {};  // pixels
  int32_t height[kWallShapes] = {};
  uint32_t transparent[kWallShapes] = {};  // kMagenta, or clNone for a shape without it
  std::string name[kWallShapes];           // file name without folder and extension
  std::unique_ptr<TKBitmap> wall[kWallShapes][kWallColours];

  // Sizes the game step reads, in pixels. They hold usable values before anything is
  // loaded, and a picture that fails to load keeps its default (a paddle never gets a zero
  // width: the rebound divides by half of it).
  TPictureSize paddle[kPaddleSizes] = {{32, 14}, {48, 14}, {64, 14}, {96, 14}};  // doubled
  TPictureSize ball[kBallSizes] = {{8, 8}, {16, 16}, {32, 32}, {64, 64}};
  TPictureSize shot = {4, 12};
  TPictureSize enemy[kEnemyKinds] = {{24, 24}, {32, 32}, {32, 16}};
  TPictureSize bonus[kBonusKinds];
  TPictureSize bubble[kBubbleKinds] = {{8, 8}, {12, 12}, {16, 16}};
  TPictureSize rain[kRainKinds] = {{1, 8}, {1, 12}, {2, 16}, {3, 3}, {4, 4}, {5, 5}, {6, 6}};

  // Prepared pictures (empty until loaded; drawing skips an empty one).
  std::unique_ptr<TKBitmap> paddlePicture[kPlayers][kPaddleSizes][2];  // [.][.][top edge]
  std::unique_ptr<TKBitmap> shotPicture[kPlayers][2];                  // [.][moving down]
  std::unique_ptr<TKBitmap> ballPicture[kBallSizes];
  std::unique_ptr<TKBitmap> enemyPicture[kEnemyKinds];
  std::unique_ptr<TKBitmap> bonusPicture[kBonusKinds];
  std::unique_ptr<TKBitmap> bubblePicture[kBubbleKinds];
  std::unique_ptr<TKBitmap> rainPicture[kRainKinds];
  std::unique_ptr<TKBitmap> brickPattern;
  std::unique_ptr<TKBitmap> burst[kBurstSizes][kBurstLevels];  // [variant][level]

  // The paddle files doubled in size, still grey: the players' copies are coloured from
  // these, so a colour change needs no file.
  std::unique_ptr<TKBitmap> paddleGrey[kPaddleSizes];
  std::unique_ptr<TKBitmap> shotGrey;

  TBrickPictures() {
    for (TPictureSize& b : bonus) b = {32, 16};
  }
};
extern TBrickPictures gBrickPictures;

// Loads every Brickfall picture from the graphics folder and prepares it: the wall shapes
// ("Walls\*.bmp" in file-name order, so shape indexes mean the same everywhere) in the six
// wall colours, the paddles doubled and coloured per player, the shots, enemies, bonuses
// and effect sprites; generates the ball discs and burst sprites. A missing or damaged
// file is reported once through the file error dialog and its slot keeps its default size.
void LoadBrickPictures();
// Prepares the paddles and shots in the players' current colours (at load and after a
// colour change).
void PreparePlayerPictures();
// The wall colour of hits 0..5 before tinting: the base colour at two thirds.
uint32_t WallTint(int hits);
// Draws the alive walls of the play field into the frame, moved by (dx, dy) pixels.
void DrawFieldWalls(TKBitmap& frame, int dx = 0, int dy = 0);

// Generated pictures, exposed for tests.
// A shaded grey disc of side s on magenta: v = 255 - d2 * 512 / s^2 per pixel, grey where
// v > 128.
void MakeBallDisc(TKBitmap& disc, int side);
// Burst sprite of side s at growth level 0..15 on the fire ramp, without transparency.
void MakeBurstSprite(TKBitmap& sprite, int side, int level);
// The colour of value v on the fire ramp: black to red, to yellow, to white.
uint32_t FireRamp(int v);
// Upside-down copy (rows reversed).
void FlipVertical(TKBitmap& dest, const TKBitmap& source);
// Doubles a picture with smooth scaling, keeping its magenta pixels sharp and unblended.
void DoublePicture(TKBitmap& dest, const TKBitmap& source);

}  // namespace kelvra
