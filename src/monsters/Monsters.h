// The Monsters game's operations as the shared dispatch calls them.
#pragma once

namespace kelvra {

void MonsNewLevelSet();  // one new empty level
void MonsFreeLevelSet();
void MonsShowLevel();
void MonsStartGame();
void MonsGameStep();
void MonsInitKind();
void MonsActivateKind();
void MonsSecondTick();
void MonsLevelChanged();
void MonsPlayerColorChanged();
void MonsDrawField();  // the play field into gCom.frame
int MonsLevelCount();

}  // namespace kelvra
