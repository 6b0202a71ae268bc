// Falling bonuses: release from a destroyed wall, the fall, the catch and the effects.
#include <algorithm>
#include <cmath>

#include "brickfall/BrickGame.h"
#include "brickfall/BrickPictures.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Kinds.h"

namespace kelvra {

namespace {

struct TBonusKind {
  const char* name;
  int32_t baseSpeed;  // pixels per step
};
// The harmful kinds fall faster than the others.
constexpr TBonusKind kBonusTable[kBonusKinds] = {
    {"None", 0},           {"NextLevel", 2},        {"IncScore1", 4},      {"IncScore2", 4},
    {"IncScore3", 5},      {"IncScore4", 6},        {"PlayerCanY", 4},     {"PlayerAddShot", 4},
    {"PlayerCanShot", 4},  {"PlayerNotVisible", 4}, {"PlayerGuide", 4},    {"PlayerBlink", 4},
    {"IncPlayerSize", 4},  {"DecPlayerSize", 8},    {"IncPlayerSpeed", 4}, {"DecPlayerSpeed", 9},
    {"IncPlayerAccel", 4}, {"DecPlayerAccel", 10},  {"IncBallSize", 4},    {"DecBallSize", 11},
    {"IncBallSpeed", 4},   {"DecBallSpeed", 12},    {"BallCanBeSmall", 4}, {"UndeadBall", 4},
    {"FragmentBall", 4},   {"IncBall", 4},          {"SwapControls", 6},
};

constexpr int32_t kBonusSpeedSpread = 1024;  // fx per step: a random extra of up to a pixel
// A paddle's speed bonuses: a pixel per step more or less, within 2..10 pixels per step.
constexpr int32_t kPaddleSpeedStep = 1024;  // fx per step
constexpr int32_t kMinPaddleSpeed = 2048, kMaxPaddleSpeed = 10240;

}  // namespace

const char* BonusName(int kind) {
  return kind >= 0 && kind < kBonusKinds ? kBonusTable[kind].name : "";
}

int32_t BonusBaseSpeed(int kind) {
  return kind >= 0 && kind < kBonusKinds ? kBonusTable[kind].baseSpeed : 0;
}

void ReleaseBonus(int wall, int player) {
  if (wall < 0 || wall >= kBrickFieldWalls || player < 0 || player >= kPlayers) return;
  const TFieldWall& w = gBrick.walls[wall];
  const int kind = std::clamp<int>(w.bonus, 0, kBonusKinds - 1);
  if (kind == 0) return;
  for (TFallingBonus& b : gBrick.bonuses) {
    if (b.alive) continue;
    b.alive = 1;
    b.kind = uint8_t(kind);
    b.width = gBrickPictures.bonus[kind].width * kFxOne;
    b.height = gBrickPictures.bonus[kind].height * kFxOne;
    b.x = w.x + (w.width - b.width) / 2;
    b.y = w.y + (w.height - b.height) / 2;
    b.velocityX = 0;
    b.velocityY = BonusBaseSpeed(kind) * kFxOne + Random(kBonusSpeedSpread);
    // The bonus always falls towards the player who freed it.
    if (gBrick.players[player].direction > 0) b.velocityY = -b.velocityY;
    return;
  }
}

void BonusStep() {
  for (TFallingBonus& b : gBrick.bonuses) {
    if (!b.alive) continue;
    b.x += b.velocityX;
    b.y += b.velocityY;
    // Every paddle touching the bonus in this step receives it.
    bool caught = false;
    for (int i = 0; i < kPlayers; ++i) {
      const TBrickPlayer& p = gBrick.players[i];
      if (!p.inGame) continue;
      if (int64_t(p.x) + p.width < b.x || int64_t(b.x) + b.width < p.x ||
          int64_t(p.y) + p.height < b.y || int64_t(b.y) + b.height < p.y)
        continue;
      Events().SoundRequested(gkBrickfall, bsBonusCaught, b.x + b.width / 2);
      ApplyBonus(i, b.kind);
      caught = true;
    }
    if (caught || !(b.y > -b.height && b.y < kBrickFieldHeightFx)) b = TFallingBonus{};
  }
}

namespace {

// Ball speed bonuses: an eighth faster or slower, within a quarter and a half of the
// launch speed on either side.
constexpr int32_t kMaxBallSpeed = 12288, kMinBallSpeed = 4096;

void ScaleBallSpeed(TBrickBall& b, int32_t numerator) {
  const double speed = std::sqrt(double(std::max(0, b.speedSquared)));
  const double target =
      std::clamp(std::trunc(speed * numerator / 8), double(kMinBallSpeed), double(kMaxBallSpeed));
  if (speed <= 0 || target == std::trunc(speed)) return;
  b.speedSquared = int32_t(target * target);
  if (b.state == kBallFlying) {
    b.velocityX = int32_t(std::trunc(b.velocityX * target / speed));
    b.velocityY = int32_t(std::trunc(b.velocityY * target / speed));
  }
}

int FreeBallSlot() {
  for (int i = 0; i < kBrickBalls; ++i)
    if (gBrick.balls[i].state == kBallFree) return i;
  return -1;
}

}  // namespace

void ApplyBonus(int player, int kind) {
  if (player < 0 || player >= kPlayers) return;
  TBrickPlayer& p = gBrick.players[player];
  int32_t& score = gCom.k[gkBrickfall].score[player];
  auto addScore = [&score](int32_t points) {
    score = int32_t(std::min<int64_t>(int64_t(score) + points, INT32_MAX));
  };
  auto resize = [&p](int size) {
    // The paddle keeps its centre and its edge of the field.
    const int32_t centre = p.x + p.width / 2, bottom = p.y + p.height;
    SetPaddleSize(p, size);
    p.x = std::clamp(centre - p.width / 2, 0, std::max(0, kBrickFieldWidthFx - p.width));
    if (p.direction < 0) p.y = std::clamp(bottom - p.height, 0, kBrickFieldHeightFx - p.height);
    p.previousX = p.x;
    p.previousY = p.y;
  };
  switch (kind) {
    case 1:
      BrickLevelComplete();
      break;
    case 2:
      addScore(250);
      break;
    case 3:
      addScore(500);
      break;
    case 4:
      addScore(1000);
      break;
    case 5:
      addScore(2000);
      break;
    case 6:
      p.verticalMovement = 64;
      break;
    case 7:
      p.shots = std::min(99, p.shots + 3);
      break;
    case 8:
      p.canShoot = 1;
      break;
    case 9:
      p.visibility = p.visibility > 4 ? 0 : 8;
      p.blinkDirection = 0;
      break;
    case 10:
      p.guide = 64;
      break;
    case 11:
      p.blinkDirection = 1;
      break;
    case 12:
      if (p.paddleSize < kPaddleSizes - 1) resize(p.paddleSize + 1);
      break;
    case 13:
      if (p.paddleSize > 0) resize(p.paddleSize - 1);
      break;
    case 14:
      if (p.speed < kMaxPaddleSpeed) p.speed += kPaddleSpeedStep;
      break;
    case 15:
      if (p.speed > kMinPaddleSpeed) p.speed -= kPaddleSpeedStep;
      break;
    case 16:
      if (p.inertia < 1000000) p.inertia += 2;
      break;
    case 17:
      if (p.inertia > 2) p.inertia -= 2;
      break;
    case 18:
    case 19:
      for (TBrickBall& b : gBrick.balls) {
        if (b.state == kBallFree || b.owner != player) continue;
        if (kind == 18 && b.size < kBallSizes - 1) SetBallSize(b, b.size + 1);
        if (kind == 19 && b.size > 0) SetBallSize(b, b.size - 1);
      }
      break;
    case 20:
    case 21:
      for (TBrickBall& b : gBrick.balls)
        if (b.state != kBallFree && b.owner == player) ScaleBallSpeed(b, kind == 20 ? 9 : 7);
      break;
    case 22:
      p.ballCanBeSmall = 1;
      break;
    case 23:
      p.undeadBall = 1;
      break;
    case 24: {
      ++p.ballsInStock;
      const TBrickBall* flying = nullptr;
      for (const TBrickBall& b : gBrick.balls)
        if (b.state == kBallFlying && b.owner == player) {
          flying = &b;
          break;
        }
      if (!flying) {
        ++p.ballsInStock;
        break;
      }
      const int slot = FreeBallSlot();
      if (slot < 0) break;
      TBrickBall& copy = gBrick.balls[slot];
      copy = *flying;
      copy.velocityX = -copy.velocityX;
      copy.velocityY = -copy.velocityY;
      copy.owner = player;
      ++p.ballsInFlight;
      break;
    }
    case 25: {
      const int slot = FreeBallSlot();
      if (slot < 0) break;
      TBrickBall& b = gBrick.balls[slot];
      b = TBrickBall{};
      b.state = kBallHeld;
      b.owner = player;
      SetBallSize(b, 1);
      ++p.ballsInStock;
      break;
    }
    case 26:
      p.swapControls = !p.swapControls;
      break;
    default:
      break;
  }
}

}  // namespace kelvra
