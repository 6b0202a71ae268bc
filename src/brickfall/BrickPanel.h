// The Brickfall status panel around the play field: the labelled seven-segment displays,
// the wind strip and the five player panels, each redrawn only when its value changed.
#pragma once

namespace kelvra {

class TKBitmap;

// Draws the whole panel afresh (when Brickfall becomes current or the colours change).
void DrawBrickPanel(TKBitmap& frame);
// Redraws the displays whose values changed since they were last drawn.
void UpdateBrickPanel(TKBitmap& frame);
// Forgets what was drawn, so the next update redraws everything.
void InvalidateBrickPanel();

}  // namespace kelvra
