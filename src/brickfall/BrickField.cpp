// The building of the play-field wall table, mirrored copies included, when a level starts.
#include "brickfall/BrickField.h"

#include <algorithm>
#include <cstring>

#include "brickfall/BrickState.h"

namespace kelvra {

namespace {

// Stored coordinates and picture sizes are not validated on reading. Pixel values are held
// within +-65536 (far outside the 512 x 384 field) so that the fx values and the mirrored
// positions derived from them stay inside 32 bits.
constexpr int32_t kPixelLimit = 65536;

int32_t PixelsToFx(int32_t pixels) {
  return std::clamp(pixels, -kPixelLimit, kPixelLimit) * kFxOne;
}

// True when [start, start + size) lies wholly before or wholly at/after `centre`.
bool OnOneSide(int32_t start, int32_t size, int32_t centre) {
  return start + size - 1 < centre || start >= centre;
}

}  // namespace

void BuildPlayField(const TLevel& level, const int32_t* shapeWidth, const int32_t* shapeHeight,
                    int shapes) {
  std::memset(gBrick.walls, 0, sizeof gBrick.walls);
  int count = 0;
  for (const TWall& stored : level.Walls()) {
    if (count == kBrickFieldWalls) break;
    // A wall whose shape has no loaded picture has no size and could not be drawn: it is
    // left out of the field (and takes no slot) rather than guessed at.
    if (stored.shape >= shapes) continue;
    TFieldWall& w = gBrick.walls[count++];
    w.alive = 1;
    w.x = PixelsToFx(stored.x);
    w.y = PixelsToFx(stored.y);
    w.width = PixelsToFx(std::max(shapeWidth[stored.shape], 0));
    w.height = PixelsToFx(std::max(shapeHeight[stored.shape], 0));
    w.shape = stored.shape;
    w.hits = stored.colour;
    w.bonus = stored.bonus;
  }

  const bool mirrorX = level.f.rightIsLeft != 0;
  const bool mirrorY = level.f.bottomIsTop != 0;
  const bool mirrorXY = level.f.rightBottomIsLeftTop != 0;
  const int copied = count;
  for (int i = 0; i < copied && count < kBrickFieldWalls; ++i) {
    const TFieldWall& w = gBrick.walls[i];
    const int32_t mirroredX = kBrickFieldWidthFx - w.x - w.width;
    const int32_t mirroredY = kBrickFieldHeightFx - w.y - w.height;
    const bool sideX = OnOneSide(w.x, w.width, kBrickFieldWidthFx / 2);
    const bool sideY = OnOneSide(w.y, w.height, kBrickFieldHeightFx / 2);
    auto append = [&](int32_t x, int32_t y) {
      if (count == kBrickFieldWalls) return;
      TFieldWall& copy = gBrick.walls[count++];
      copy = w;
      copy.x = x;
      copy.y = y;
    };
    if (mirrorX && sideX) append(mirroredX, w.y);
    if (mirrorY && sideY) append(w.x, mirroredY);
    if (mirrorXY && sideX && sideY) append(mirroredX, mirroredY);
  }
  gBrick.wallCount = count;
}

}  // namespace kelvra
