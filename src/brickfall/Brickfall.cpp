// The Brickfall game's operations. The game itself arrives with its own module; until then
// a level set can be made, shown and stepped without effect.
#include "brickfall/Brickfall.h"

#include "brickfall/BrickLevel.h"
#include "common/Com.h"
#include "media/KBitmap.h"

namespace kelvra {

void BrickNewLevelSet() {
  gBrickLevels.clear();
  gBrickLevels.resize(1);
  NewBrickLevel(gBrickLevels[0]);
}

void BrickFreeLevelSet() {
  gBrickLevels.clear();
}
void BrickShowLevel() {}
void BrickStartGame() {}
void BrickGameStep() {}
void BrickInitKind() {}
void BrickActivateKind() {}
void BrickSecondTick() {}
void BrickLevelChanged() {}
void BrickPlayerColorChanged() {}

void BrickDrawField() {
  if (!gCom.frame) return;
  const TRect& f = gCom.k[gkBrickfall].field;
  FillRect(*gCom.frame, f.left, f.top, f.right, f.bottom, 0, ef16);
}
int BrickLevelCount() {
  return int(gBrickLevels.size());
}

}  // namespace kelvra
