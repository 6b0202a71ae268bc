// The Monsters game's operations. The game itself arrives with its own module; until then
// a level set can be made, shown and stepped without effect.
#include "monsters/Monsters.h"

#include "common/Com.h"
#include "media/KBitmap.h"
#include "monsters/MonsLevel.h"

namespace kelvra {

void MonsNewLevelSet() {
  gMonsLevels.clear();
  gMonsLevels.resize(1);
  NewMonsLevel(gMonsLevels[0]);
}

void MonsFreeLevelSet() {
  gMonsLevels.clear();
}
void MonsShowLevel() {}
void MonsStartGame() {}
void MonsGameStep() {}
void MonsInitKind() {}
void MonsActivateKind() {}
void MonsSecondTick() {}
void MonsLevelChanged() {}
void MonsPlayerColorChanged() {}

void MonsDrawField() {
  if (!gCom.frame) return;
  const TRect& f = gCom.k[gkMonsters].field;
  FillRect(*gCom.frame, f.left, f.top, f.right, f.bottom, 0, ef16);
}
int MonsLevelCount() {
  return int(gMonsLevels.size());
}

}  // namespace kelvra
