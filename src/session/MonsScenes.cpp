// Monsters scenes for measurements.
#include "session/MonsScenes.h"

#include "common/LevelSet.h"
#include "monsters/MonsLevel.h"
#include "session/Dispatch.h"

namespace kelvra {

void MakeFullMonstersSet() {
  InstallGames();
  ResetCom();
  gCom.kind = gkMonsters;
  NewLevelSet(gkMonsters);
  TMonsGrid& grid = gMonsLevels[0].Grid();
  for (int i = 0; i < kMonsSquares; ++i) {
    grid[size_t(i) * 3] = mkMonster;
    grid[size_t(i) * 3 + 1] = 0;
    grid[size_t(i) * 3 + 2] = uint8_t(i % 4);
  }
}

}  // namespace kelvra
