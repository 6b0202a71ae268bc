// The overlay painter: composes every frame from the current game's field and the shared
// texts, fade, state messages, the program's own pointer and the pause message.
#pragma once

#include <cstdint>

namespace kelvra {

class TKBitmap;

struct TOverlayResult {
  bool pointerInField;  // the program draws its own pointer: hide the platform's
};

// Composes the frame of `kind` into `frame` (steps of the frame composition; `fill` is the
// "Fill Bitmap" switch). Presenting the frame is the caller's.
TOverlayResult DrawOverlay(TKBitmap& frame, int kind, bool fill = true);

// The one big message over the field of `kind`: the pause message while paused, else the
// message of a game's final state ("Game Aborted", "Game Over", "Levels Completed"),
// which the editor hides. `text` is nullptr when there is none; colours are RGB values.
struct TOverlayMessage {
  const char* text;
  uint32_t colour;
};
TOverlayMessage OverlayMessage(int kind);

// The amount the field is darkened by between levels: 0..240.
int FadeAmount(int state, int countdown);

}  // namespace kelvra
