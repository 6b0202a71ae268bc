// The background of the Brickfall play field: prepared when a level becomes current (a
// generated texture with the brick pattern, or a picture scaled to the field) and drawn
// first in every frame.
#pragma once

#include <cstdint>
#include <string>

#include "media/KBitmap.h"

namespace kelvra {

struct TLevel;
struct TLevelFields;

constexpr int kBackgroundWidth = 512;  // the prepared picture covers the play field
constexpr int kBackgroundHeight = 384;
// A background picture file larger than this is refused before it is decoded.
constexpr int64_t kMaxBackgroundPixels = int64_t(4096) * 4096;  // 48 MiB decoded

struct TBrickBackground {
  TKBitmap picture;          // 512 x 384 once prepared; empty until then
  int preparedTexture = -1;  // texture number the picture shows, -1 for a loaded picture
};
extern TBrickBackground gBrickBackground;

// Prepares the background picture of background kinds 3 and 4; kinds 1 and 2 need none.
void PrepareBrickBackground(const TLevel& level);
// Draws the background into the play field of `frame` (step 2 of the field's drawing).
void DrawBrickBackground(TKBitmap& frame, const TLevel& level);

// The level's picture name (length byte and up to 95 characters) without folder and
// extension: "Pics\Sea.jpg" gives "Sea".
std::string BrickBackgroundStem(const TLevelFields& fields);
// The file a stem names in "Levels/Brickfall/" of the program's folder: "<stem>.jpg", then
// "<stem>.bmp"; each first as written, then ignoring case. "" when neither exists.
std::string FindBrickBackground(const std::string& stem);

}  // namespace kelvra
