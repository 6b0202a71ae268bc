// Pictures shared by all games, loaded once at start: the five cursors, the explosion and
// fire frames, and the generated glow discs.
#pragma once

#include <memory>

#include "media/KBitmap.h"

namespace kelvra {

constexpr int kCursors = 5;  // Default, Left, Right, Up, Down
constexpr int kExplosionFrames = 21;
constexpr int kFireFrames = 14;
constexpr int kGlowDiscs = 32;                      // disc i (1..32) has side 2i
constexpr uint32_t kTransparentMagenta = 0x800080;  // (128, 0, 128)

struct TSharedImages {
  std::unique_ptr<TKBitmap> cursor[kCursors];
  std::unique_ptr<TKBitmap> explosion[kExplosionFrames];
  std::unique_ptr<TKBitmap> fire[kFireFrames];
  std::unique_ptr<TKBitmap> glow[kGlowDiscs + 1];  // index 1..32
};
extern TSharedImages gImages;

// Loads the pictures from the program's "Graphics" folder (a missing file leaves its slot
// empty; a damaged one is reported) and generates the glow discs with the shared random
// generator.
void LoadSharedImages();
void FreeSharedImages();
void MakeGlowDiscs();

// Pool drawing into the frame: sparks as glow discs, blasts as explosion frames, both
// additive. `toPixelX/Y` convert the game's units to frame pixels.
void DrawSparks(TKBitmap& frame, int32_t (*toPixelX)(int64_t), int32_t (*toPixelY)(int64_t));
void DrawBlasts(TKBitmap& frame, int32_t (*toPixelX)(int64_t), int32_t (*toPixelY)(int64_t));

}  // namespace kelvra
