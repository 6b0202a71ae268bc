// The Brickfall game step.
#include "brickfall/BrickGame.h"

#include "brickfall/BrickPictures.h"
#include "common/Com.h"

namespace kelvra {

TBrickGame gBrickGame;
std::function<TBrickInput(int player)> gBrickInputSource;

const TLevel* CurrentBrickLevel() {
  const int index = gCom.k[gkBrickfall].levelIndex;
  if (index < 0 || index >= int(gBrickLevels.size())) return nullptr;
  return &gBrickLevels[index];
}

int WallSizeClass(int32_t widthFx, int32_t heightFx) {
  const int64_t area = int64_t(widthFx / kFxOne) * (heightFx / kFxOne);
  return area <= 256 ? 0 : area <= 1024 ? 1 : area <= 2304 ? 2 : 3;
}

void BrickStartGameRules() {}
void BrickStartLevel() {}
void BrickStep() {}
void DamageWall(int, int, int) {}
void BrickLevelComplete() {}
void PlaceHeldBall(TBrickBall&) {}
void SetPaddleSize(TBrickPlayer&, int) {}
void SetBallSize(TBrickBall&, int) {}

}  // namespace kelvra
