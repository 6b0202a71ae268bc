// The Brickfall game's operations as the shared dispatch calls them.
#pragma once

namespace kelvra {

void BrickNewLevelSet();  // one new empty level
void BrickFreeLevelSet();
void BrickShowLevel();
void BrickStartGame();
void BrickGameStep();
void BrickInitKind();
void BrickActivateKind();
void BrickSecondTick();
void BrickLevelChanged();
void BrickPlayerColorChanged();
void BrickDrawField();  // the play field into gCom.frame
int BrickLevelCount();

}  // namespace kelvra
