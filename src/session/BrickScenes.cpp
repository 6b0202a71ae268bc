// Brickfall scenes for measurements.
#include "session/BrickScenes.h"

#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPictures.h"
#include "common/LevelSet.h"
#include "session/Dispatch.h"

namespace kelvra {

void MakeWorstCaseSet() {
  InstallGames();
  ResetCom();
  gCom.kind = gkBrickfall;
  NewLevelSet(gkBrickfall);
  TWalls& walls = gBrickLevels[0].Walls();
  walls.clear();
  for (int i = 0; i < kWorstCaseWalls; ++i) {
    TWall w{};
    w.x = 8 + (i % 48) * 10;
    w.y = 8 + (i / 48) * 8;
    w.shape = 0;
    w.colour = 5;  // White: survives five hits
    walls.push_back(w);
  }
}

void LaunchWorstCaseBalls() {
  const int players = gCom.k[gkBrickfall].playersMinusOne + 1;
  const TPictureSize size = gBrickPictures.ball[1];
  for (TBrickPlayer& p : gBrick.players) p.ballsInFlight = 0;
  for (int i = 0; i < kWorstCaseBalls; ++i) {
    TBrickBall& b = gBrick.balls[i];
    b = TBrickBall{};
    b.state = kBallFlying;
    b.owner = i % players;
    b.size = 1;
    b.width = size.width * kFxOne;
    b.height = size.height * kFxOne;
    b.x = (8 + i * 15) * kFxOne;
    b.y = (280 + (i % 5) * 16) * kFxOne;
    b.velocityX = ((i % 7) - 3) * 1500;
    b.velocityY = -7000;
    b.speedSquared = b.velocityX * b.velocityX + b.velocityY * b.velocityY;
    ++gBrick.players[b.owner].ballsInFlight;
  }
  for (int p = 0; p < players; ++p) gBrick.players[p].undeadBall = 1;
}

}  // namespace kelvra
