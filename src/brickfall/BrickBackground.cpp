// The Brickfall background. For now every kind is drawn as the plain fill of kind 1.
#include "brickfall/BrickBackground.h"

#include "brickfall/BrickLevel.h"
#include "common/Com.h"
#include "media/KBitmap.h"

namespace kelvra {

void PrepareBrickBackground(const TLevel&) {}

void DrawBrickBackground(TKBitmap& frame, const TLevel& level) {
  const TRect& f = gCom.k[gkBrickfall].field;
  FillRect(frame, f.left, f.top, f.right, f.bottom, level.f.backgroundColour & 0xFFFFFF,
           ef16);
}

}  // namespace kelvra
