// The Burrower game's operations. The game itself arrives with its own module; until then
// a level set can be made, shown and stepped without effect.
#include "burrower/Burrower.h"

#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "media/KBitmap.h"

namespace kelvra {

void BurrNewLevelSet() {
  gBurrLevels.clear();
  gBurrLevels.resize(1);
  NewBurrLevel(gBurrLevels[0]);
}

void BurrFreeLevelSet() {
  gBurrLevels.clear();
}
void BurrShowLevel() {}
void BurrStartGame() {}
void BurrGameStep() {}
void BurrInitKind() {}
void BurrActivateKind() {}
void BurrSecondTick() {}
void BurrLevelChanged() {}
void BurrPlayerColorChanged() {}

void BurrDrawField() {
  if (!gCom.frame) return;
  const TRect& f = gCom.k[gkBurrower].field;
  FillRect(*gCom.frame, f.left, f.top, f.right, f.bottom, 0, ef16);
}
int BurrLevelCount() {
  return int(gBurrLevels.size());
}

}  // namespace kelvra
