// The Brickfall game's per-kind operations, called by the shared dispatcher.
#include "brickfall/Brickfall.h"

#include "brickfall/BrickBackground.h"
#include "brickfall/BrickDraw.h"
#include "brickfall/BrickField.h"
#include "brickfall/BrickGame.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPanel.h"
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

static void BuildBrickPlayField() {
  if (const TLevel* level = CurrentBrickLevel())
    BuildPlayField(*level, gBrickPictures.width, gBrickPictures.height, gBrickPictures.shapes);
}

void BrickShowLevel() {
  BrickStartLevel();
  BuildBrickPlayField();
}

void BrickStartGame() {
  BrickStartGameRules();
  BuildBrickPlayField();
}

void BrickGameStep() {
  BrickStep();
}

void BrickInitKind() {
  LoadBrickPictures();
}

void BrickActivateKind() {
  InvalidateBrickPanel();
  if (gCom.frame) DrawBrickPanel(*gCom.frame);
}

void BrickSecondTick() {}

void BrickLevelChanged() {
  if (const TLevel* level = CurrentBrickLevel()) PrepareBrickBackground(*level);
  InvalidateBrickPanel();
}

void BrickPlayerColorChanged() {
  PreparePlayerPictures();
  InvalidateBrickPanel();
}

void BrickDrawField() {
  if (gCom.frame) DrawBrickField(*gCom.frame);
}

int BrickLevelCount() {
  return int(gBrickLevels.size());
}

}  // namespace kelvra
