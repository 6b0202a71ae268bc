// Brickfall's pictures, loaded once when the kind is first made current: the wall shapes
// in their six colours. The other pictures arrive with the game itself.
#pragma once

#include <memory>

#include "brickfall/BrickField.h"
#include "media/KBitmap.h"

namespace kelvra {

constexpr int kWallShapes = 16;          // at most this many files of "Walls\" are used
constexpr int kWallColours = 6;          // Red, Orange, Yellow, Lime, Aqua, White
constexpr uint32_t kMagenta = 0x800080;  // (128, 0, 128): transparent in every picture

struct TBrickPictures {
  int shapes = 0;                   // wall pictures loaded
  int32_t width[kWallShapes] = {};  // pixels
  int32_t height[kWallShapes] = {};
  uint32_t transparent[kWallShapes] = {};  // kMagenta, or clNone for a shape without it
  std::unique_ptr<TKBitmap> wall[kWallShapes][kWallColours];
};
extern TBrickPictures gBrickPictures;

// Loads "Walls\*.bmp" in file-name order (so shape indexes mean the same everywhere) and
// tints each into the six wall colours.
void LoadBrickPictures();
// The wall colour of hits 0..5 before tinting: the base colour at two thirds.
uint32_t WallTint(int hits);
// Draws the alive walls of the play field into the frame.
void DrawFieldWalls(TKBitmap& frame);

}  // namespace kelvra
