// The dispatch to the games: the one place that names all three.
#include "session/Dispatch.h"

#include "brickfall/Brickfall.h"
#include "burrower/Burrower.h"
#include "common/Kinds.h"
#include "monsters/Monsters.h"

namespace kelvra {

void InstallGames() {
  SetKindOps(gkBrickfall, &BrickfallOps());
  SetKindOps(gkMonsters, &MonstersOps());
  SetKindOps(gkBurrower, &BurrowerOps());
}

}  // namespace kelvra
