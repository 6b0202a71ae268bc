// The Brickfall game's operations. The game itself arrives with its own module; until then
// a level set can be made, shown and stepped without effect.
#include "brickfall/Brickfall.h"

#include "brickfall/BrickField.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPictures.h"
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
void BrickShowLevel() {
  ClearBrickField();
  const int index = gCom.k[gkBrickfall].levelIndex;
  if (index < 0 || index >= int(gBrickLevels.size())) return;
  BuildPlayField(gBrickLevels[index], gBrickPictures.width, gBrickPictures.height,
                 gBrickPictures.shapes);
}
void BrickStartGame() {}
void BrickGameStep() {}
void BrickInitKind() {
  LoadBrickPictures();
}
void BrickActivateKind() {}
void BrickSecondTick() {}
void BrickLevelChanged() {}
void BrickPlayerColorChanged() {}

void BrickDrawField() {
  if (!gCom.frame) return;
  const TRect& f = gCom.k[gkBrickfall].field;
  FillRect(*gCom.frame, f.left, f.top, f.right, f.bottom, 0, ef16);
  DrawFieldWalls(*gCom.frame);
}
int BrickLevelCount() {
  return int(gBrickLevels.size());
}

}  // namespace kelvra
