// The Brickfall status panel.
#include "brickfall/BrickPanel.h"

namespace kelvra {

void DrawBrickPanel(TKBitmap&) {}
void UpdateBrickPanel(TKBitmap&) {}
void InvalidateBrickPanel() {}

}  // namespace kelvra
