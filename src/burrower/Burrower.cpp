// The Burrower game's operations. The game itself arrives with its own module; until then
// a level set can be made, shown and stepped without effect.
#include "burrower/Burrower.h"

#include "burrower/BurrLevel.h"
#include "common/Com.h"

namespace kelvra {

void BurrNewLevelSet() {
  gBurrLevels.clear();
  gBurrLevels.resize(1);
  NewBurrLevel(gBurrLevels[0]);
}

void BurrFreeLevelSet() { gBurrLevels.clear(); }
void BurrShowLevel() {}
void BurrStartGame() {}
void BurrGameStep() {}
void BurrInitKind() {}
void BurrActivateKind() {}
void BurrSecondTick() {}
void BurrLevelChanged() {}
void BurrPlayerColorChanged() {}

void BurrDrawField() {}
int BurrLevelCount() { return int(gBurrLevels.size()); }

}  // namespace kelvra
