// The Burrower game's operations as the shared dispatch calls them.
#pragma once

namespace kelvra {

void BurrNewLevelSet();  // one new empty level
void BurrFreeLevelSet();
void BurrShowLevel();
void BurrStartGame();
void BurrGameStep();
void BurrInitKind();
void BurrActivateKind();
void BurrSecondTick();
void BurrLevelChanged();
void BurrPlayerColorChanged();
void BurrDrawField();  // the play field into gCom.frame
int BurrLevelCount();

}  // namespace kelvra
