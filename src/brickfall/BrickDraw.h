// Drawing of the Brickfall play field, once per frame, and the editor's view switches that
// change it.
#pragma once

#include <cstdint>
#include <vector>

namespace kelvra {

class TKBitmap;

// View items and selection of the level editor that change the field's drawing (used only
// while the editor is open).
struct TBrickEditorView {
  bool maskBackground = false;  // fill the field black instead of the background
  bool bonuses = false;         // show each wall's bonus picture on it
  bool grid = false;
  int32_t gridSize = 16;  // pixels
  // Walls of the level's current wall list that are selected (outlined in white).
  std::vector<int32_t> selectedWalls;
  // The rubber band of the wall selection while it is dragged, field pixels.
  bool band = false;
  int32_t bandX1 = 0, bandY1 = 0, bandX2 = 0, bandY2 = 0;
};
extern TBrickEditorView gBrickEditorView;

// Draws the whole play field into `frame`: background, effects, walls, bonuses, shots,
// balls, paddles, pools, enemies, water, particles and the editor's marks, then the
// status displays that changed.
void DrawBrickField(TKBitmap& frame);

// The burst pool: each burst with the sprite of its variant at its growth level, centred on
// its position, added to the frame.
void DrawBursts(TKBitmap& frame);
// Growth level of a burst's sprite for its life: rises to 15 and falls back as it fades.
int BurstLevel(int32_t life);

}  // namespace kelvra
