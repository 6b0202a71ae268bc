// The background of the Brickfall play field: prepared when a level becomes current (a
// generated texture with the brick pattern, or a picture scaled to the field) and drawn
// first in every frame.
#pragma once

namespace kelvra {

class TKBitmap;
struct TLevel;

// Prepares the background picture of background kinds 3 and 4; kinds 1 and 2 need none.
void PrepareBrickBackground(const TLevel& level);
// Draws the background into the play field of `frame` (step 2 of the field's drawing).
void DrawBrickBackground(TKBitmap& frame, const TLevel& level);

}  // namespace kelvra
