// Drawing of the Brickfall play field, once per frame, and the editor's view switches that
// change it.
#pragma once

#include <cstdint>

namespace kelvra {

class TKBitmap;

// View items of the level editor that change the field's drawing (used only while the
// editor is open).
struct TBrickEditorView {
  bool maskBackground = false;  // fill the field black and draw only the walls on it
  bool bonuses = false;         // show each wall's bonus picture on it
  bool grid = false;
  int32_t gridSize = 16;  // pixels
};
extern TBrickEditorView gBrickEditorView;

// Draws the whole play field into `frame`: background, effects, walls, bonuses, shots,
// balls, paddles, pools, enemies, water and the changed status displays.
void DrawBrickField(TKBitmap& frame);

}  // namespace kelvra
