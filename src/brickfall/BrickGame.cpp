// The Brickfall game step.
#include "brickfall/BrickGame.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "brickfall/BrickEffects.h"
#include "brickfall/BrickPictures.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Kinds.h"
#include "common/Players.h"

namespace kelvra {

namespace {

constexpr int32_t kW = kBrickFieldWidthFx;
constexpr int32_t kH = kBrickFieldHeightFx;

// Periods count game steps of 28 ms; speeds are in fx (1/1024 pixel) per step.

// Paddles and shots.
constexpr int32_t kShotSpeed = 16384;       // 16 pixels per step
constexpr int32_t kShotSpeedSpread = 4096;  // a random extra of up to 4 pixels per step
constexpr int32_t kRechargeFull = 99;       // 100 steps (2.8 s) standing still earn 3 shots
constexpr int32_t kScoreCatchUp = 7;        // the shown score closes a seventh of the gap per step

// Enemies.
constexpr int32_t kBumperPeriod = 72;   // steps, 2 s: a bumper appears when there is none
constexpr int32_t kDrifterPeriod = 50;  // steps, 1.4 s
constexpr int32_t kMaxDrifters = 16;
constexpr int32_t kFlyerPeriod = 36;          // steps, 1 s
constexpr int32_t kFlyerSpeed = 16384;        // 16 pixels per step, left to right
constexpr int32_t kEnemyTurnPeriod = 18;      // steps, 0.5 s, between new target velocities
constexpr int32_t kEnemyVelocityUnit = 1024;  // random velocities are -3..3 of these
constexpr int32_t kEnemyAcceleration = 128;   // fx per step, per step

// Level-wide motion.
constexpr int32_t kGravityFall = 64;   // per gravity level (0..16): a pixel per step at 16
constexpr int32_t kWindPeriod = 64;    // steps, 1.8 s, between new target winds
constexpr int32_t kWaterPeriod = 250;  // steps, 7 s, between new drift directions
constexpr int32_t kWaterSpeed = 1024;  // 1 pixel per step
constexpr int32_t kWaterTurnLine = 256 * kFxOne;
constexpr int32_t kLevelDonePause = 16;  // steps, 448 ms, before the next level shows

// Where ReadInput takes the paddles' input from instead of the players' controls; not
// owned.
TBrickInputSource* gInputSource = nullptr;

TKindState& Brick() {
  return gCom.k[gkBrickfall];
}
bool Playing() {
  return Brick().state == gsPlaying;
}
int LastPlayer() {
  return std::clamp(Brick().playersMinusOne, 0, kPlayers - 1);
}

// Two boxes overlap unless one lies wholly beside the other; touching edges overlap.
bool Overlap(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2, int32_t w2,
             int32_t h2) {
  return int64_t(x1) + w1 >= x2 && int64_t(x2) + w2 >= x1 && int64_t(y1) + h1 >= y2 &&
         int64_t(y2) + h2 >= y1;
}

// a / b rounded away from zero.
int32_t DivAway(int32_t a, int32_t b) {
  int32_t q = a / b;
  if (a % b != 0) q += a < 0 ? -1 : 1;
  return q;
}

int32_t WallScore(uint32_t hits) {
  return kWallScore[std::min<uint32_t>(hits, 5)];
}

void AddScore(int player, int32_t points) {
  if (player < 0 || player >= kPlayers) return;
  int32_t& score = Brick().score[player];
  score = int32_t(std::clamp<int64_t>(int64_t(score) + points, INT32_MIN, INT32_MAX));
}

// The axis a box moving with (vx, vy) reverses when it runs into something: the axis of
// the larger velocity component, vertical on a tie.
enum Axis : uint8_t { kAxisNone = 0, kAxisX = 1, kAxisY = 2 };
uint8_t AxisOf(int32_t vx, int32_t vy) {
  return std::abs(int64_t(vx)) > std::abs(int64_t(vy)) ? kAxisX : kAxisY;
}

int32_t Isqrt(int64_t v) {
  return v <= 0 ? 0 : int32_t(std::sqrt(double(v)));
}

// ---------------------------------------------------------------------------------------
// Start of a level

void StartPlayer(int index, TBrickPlayer& p) {
  p.inertia = 0;
  p.speed = kStartSpeed;
  p.velocityX = p.velocityY = 0;
  p.left = p.up = p.right = p.down = p.launch = p.fire = 0;
  SetPaddleSize(p, 1);
  if (gCom.mirrorGame && index % 2 == 1) {
    p.y = 0;
    p.direction = 1;
  } else {
    p.y = kH - p.height;
    p.direction = -1;
  }
  p.x = (kW - p.width) / 2;
  p.previousX = p.x;
  p.previousY = p.y;
  p.blinkDirection = 0;
  p.guide = p.verticalMovement = 0;
  p.swapControls = p.canShoot = p.ballCanBeSmall = p.undeadBall = 0;
  p.visibility = index <= LastPlayer() ? 8 : 0;
}

// ---------------------------------------------------------------------------------------
// Paddles

TBrickInput ReadInput(int player) {
  if (gInputSource) return gInputSource->Read(player);
  const TControls c = ReadPlayerControls(player);
  TBrickInput in{};
  std::copy(std::begin(c.held), std::end(c.held), in.held);
  std::copy(std::begin(c.pressed), std::end(c.pressed), in.pressed);
  in.mouse = c.input == piMouse;
  in.mouseX = c.mouseX;
  in.mouseY = c.mouseY;
  return in;
}

// The computer player: launches and fires at once, and follows its lowest (top paddle:
// highest) flying ball.
void ComputerInput(int index, TBrickPlayer& p) {
  p.left = p.up = p.right = p.down = 0;
  p.launch = p.fire = 1;
  const TBrickBall* target = nullptr;
  for (const TBrickBall& b : gBrick.balls) {
    if (b.state != kBallFlying || b.owner != index) continue;
    if (!target || (p.direction < 0 ? b.y > target->y : b.y < target->y)) target = &b;
  }
  if (!target) return;
  if (p.direction < 0)
    p.down = 1;
  else
    p.up = 1;
  const int64_t centred = int64_t(p.x) + (p.width - target->width) / 2;
  const int64_t speed = std::abs(int64_t(p.speed));
  if (target->x + speed < centred) p.left = 1;
  if (target->x - speed > centred) p.right = 1;
}

void HumanInput(int index, TBrickPlayer& p) {
  const TBrickInput in = ReadInput(index);
  p.launch = in.pressed[ctFire1];
  p.fire = in.pressed[ctFire2];
  if (in.mouse) {
    p.left = p.right = p.up = p.down = 0;
    const int64_t tx = int64_t(in.mouseX) * kFxOne - p.width / 2;
    if (p.x - int64_t(p.speed) > tx + p.velocityX) p.left = 1;
    if (p.x + int64_t(p.speed) < tx - p.velocityX) p.right = 1;
    if (p.verticalMovement) {
      const int64_t ty = int64_t(in.mouseY) * kFxOne - p.height / 2;
      if (p.y - int64_t(p.speed) > ty + p.velocityY) p.up = 1;
      if (p.y + int64_t(p.speed) < ty - p.velocityY) p.down = 1;
    }
    gCom.cursorShape = p.left ? 1 : p.right ? 2 : p.up ? 3 : p.down ? 4 : 0;
  } else {
    p.left = in.held[ctLeft];
    p.up = in.held[ctUp];
    p.right = in.held[ctRight];
    p.down = in.held[ctDown];
  }
  if (p.swapControls) {
    std::swap(p.left, p.right);
    std::swap(p.up, p.down);
  }
}

int32_t Decay(int32_t inertia, int32_t velocity) {
  const double keep = std::sqrt(double(std::max(0, inertia)) * 31.0);
  const double v = std::trunc(keep * velocity);
  // With a large inertia the product leaves 32 bits; the limit below takes it back anyway.
  return int32_t(std::clamp(v, -2147483647.0, 2147483647.0)) / 16;
}

void LaunchBall(int index, TBrickPlayer& p) {
  for (TBrickBall& b : gBrick.balls) {
    if (b.state != kBallHeld || b.owner != index) continue;
    b.state = kBallFlying;
    --p.ballsInStock;
    ++p.ballsInFlight;
    b.velocityX = 0;
    b.velocityY = p.direction * kStartSpeed;
    b.speedSquared = kLaunchSpeedSquared;
    return;
  }
}

void FireShot(int index, TBrickPlayer& p) {
  if (p.shots <= 0) return;
  for (TBrickShot& s : gBrick.shots) {
    if (s.state != kShotFree) continue;
    s.width = gBrickPictures.shot.width * kFxOne;
    s.height = gBrickPictures.shot.height * kFxOne;
    s.x = p.x + (p.width - s.width) / 2;
    s.y = p.y;
    s.velocityX = 0;
    s.velocityY = kShotSpeed + Random(kShotSpeedSpread);
    if (p.direction < 0) s.velocityY = -s.velocityY;
    s.owner = uint8_t(index);
    s.state = Random(10) == 0 ? kShotBouncing : kShotStraight;
    Events().SoundRequested(gkBrickfall, bsShot, s.x + s.width / 2);
    --p.shots;
    return;
  }
}

void MovePaddle(int index, TBrickPlayer& p) {
  const int32_t score = Brick().score[index];
  if (p.shownScore != score) {
    const int32_t d =
        DivAway(int32_t(std::clamp<int64_t>(int64_t(score) - p.shownScore, -INT32_MAX, INT32_MAX)),
                kScoreCatchUp);
    p.shownScore = std::abs(d) < 10 ? score : p.shownScore + d;
  }

  if (p.canShoot && p.ballsInFlight > 0) {
    if (p.recharge >= kRechargeFull) {
      p.recharge = 0;
      p.shots = std::min(99, p.shots + 3);
    } else {
      ++p.recharge;
    }
  }

  if (p.blinkDirection < 0) {
    if (--p.visibility <= 0) {
      p.visibility = 1;
      p.blinkDirection = 1;
    }
  } else if (p.blinkDirection > 0) {
    if (++p.visibility >= 8) {
      p.visibility = 7;
      p.blinkDirection = -1;
    }
  }

  if (gCom.player[index].ai)
    ComputerInput(index, p);
  else
    HumanInput(index, p);

  p.velocityX = Decay(p.inertia, p.velocityX);
  p.velocityY = Decay(p.inertia, p.velocityY);
  if (p.left) p.velocityX -= p.speed;
  if (p.right) p.velocityX += p.speed;
  if (p.verticalMovement) {
    if (p.up) p.velocityY -= p.speed;
    if (p.down) p.velocityY += p.speed;
  }
  p.velocityX = std::clamp(p.velocityX, -p.speed, p.speed);
  p.velocityY = std::clamp(p.velocityY, -p.speed, p.speed);
  p.x = std::clamp(p.x + p.velocityX, 0, std::max(0, kW - p.width));
  p.y = std::clamp(p.y + p.velocityY, 0, std::max(0, kH - p.height));
  if (p.x != p.previousX || p.y != p.previousY) p.recharge = 0;
  p.previousX = p.x;
  p.previousY = p.y;

  if (p.launch) LaunchBall(index, p);
  if (p.fire) FireShot(index, p);
}

// ---------------------------------------------------------------------------------------
// Balls

// The walls' boxes, gathered before the balls move (walls do not move while they do), so
// that every ball scans them in a tight loop. A dead wall's box lies nowhere; a wall
// destroyed during the scan of the balls is taken out by DamageWall. Scratch, not state:
// everything in it is derived from gBrick.walls, and every step that reads it gathers it
// first, so a snapshot or digest need not see it.
struct TWallBoxes {
  int32_t count;
  int32_t left[kBrickFieldWalls], right[kBrickFieldWalls];
  int32_t top[kBrickFieldWalls], bottom[kBrickFieldWalls];
};
TWallBoxes gWallBoxes;

void RemoveWallBox(int i) {
  gWallBoxes.left[i] = gWallBoxes.top[i] = INT32_MAX;
  gWallBoxes.right[i] = gWallBoxes.bottom[i] = INT32_MIN;
}

void GatherWallBoxes() {
  const int count = std::clamp(gBrick.wallCount, 0, kBrickFieldWalls);
  gWallBoxes.count = count;
  for (int i = 0; i < count; ++i) {
    const TFieldWall& w = gBrick.walls[i];
    if (!w.alive) {
      RemoveWallBox(i);
      continue;
    }
    gWallBoxes.left[i] = w.x;
    gWallBoxes.top[i] = w.y;
    gWallBoxes.right[i] = int32_t(std::min<int64_t>(int64_t(w.x) + w.width, INT32_MAX));
    gWallBoxes.bottom[i] = int32_t(std::min<int64_t>(int64_t(w.y) + w.height, INT32_MAX));
  }
}

// The last wall (in table order) whose box overlaps the given box, or -1.
int LastWallOverlapping(int32_t x, int32_t y, int32_t width, int32_t height) {
  const int32_t right = int32_t(std::min<int64_t>(int64_t(x) + width, INT32_MAX));
  const int32_t bottom = int32_t(std::min<int64_t>(int64_t(y) + height, INT32_MAX));
  const TWallBoxes& w = gWallBoxes;
  const int count = w.count;
  int last = -1;
  for (int i = 0; i < count; ++i) {
    const bool hit =
        (w.left[i] <= right) & (w.right[i] >= x) & (w.top[i] <= bottom) & (w.bottom[i] >= y);
    last = hit ? i : last;
  }
  return last;
}

// Takes the ball out of play. Returns true when it plays on (a small ball bounced back).
bool LoseBall(int slot) {
  TBrickBall& b = gBrick.balls[slot];
  TBrickPlayer& owner = gBrick.players[std::clamp(b.owner, 0, kPlayers - 1)];
  AddBurst(BrickPixelX(int64_t(b.x) + b.width / 2),
           BrickPixelY(std::clamp<int64_t>(int64_t(b.y) + b.height / 2, 0, kH - 1)), b.size);
  if (b.size > 0 && owner.ballCanBeSmall) {
    SetBallSize(b, b.size - 1);
    b.velocityY = -b.velocityY;
    return true;
  }
  --owner.ballsInFlight;
  bool othersFlying = false;
  for (int i = 0; i < kBrickBalls; ++i)
    if (i != slot && gBrick.balls[i].state == kBallFlying && gBrick.balls[i].owner == b.owner)
      othersFlying = true;
  if (othersFlying || owner.ballsInStock <= 0) {
    b = TBrickBall{};
  } else {
    b.state = kBallHeld;
    SetBallSize(b, 1);
  }
  return false;
}

// The paddle rebound: the further from the paddle's centre the ball strikes, the flatter
// it leaves; the speed is kept.
void Rebound(TBrickBall& b, const TBrickPlayer& p) {
  const int64_t half = std::max(1, p.width / 2);
  const int64_t offset = int64_t(b.x) - p.x + (int64_t(b.width) - p.width) / 2;
  int64_t a = Random(17) + offset * 256 / half - 8;
  a = std::clamp<int64_t>(a, -256, 256);
  const int32_t speed = Isqrt(b.speedSquared);
  b.velocityX = int32_t(int64_t(speed) * a / 320);
  const int64_t vx2 = int64_t(b.velocityX) * b.velocityX;
  const int32_t m =
      vx2 <= b.speedSquared ? Isqrt(int64_t(b.speedSquared) - vx2) : std::abs(b.velocityX);
  b.velocityY = p.direction * m;
}

void Reverse(TBrickBall& b, uint8_t axes) {
  if (axes & kAxisX) b.velocityX = -b.velocityX;
  if (axes & kAxisY) b.velocityY = -b.velocityY;
}

void MoveBall(int slot) {
  TBrickBall& b = gBrick.balls[slot];
  if (b.state == kBallHeld) {
    PlaceHeldBall(b);
    return;
  }
  if (b.state != kBallFlying) return;
  const int owner = std::clamp(b.owner, 0, kPlayers - 1);
  TBrickPlayer& op = gBrick.players[owner];

  b.x += b.velocityX + gBrick.game.wind;
  b.y += b.velocityY;
  if (b.x < 0) {
    b.x = -b.x;
    b.velocityX = -b.velocityX;
    Events().SoundRequested(gkBrickfall, bsBounce, b.x);
  } else if (b.x > kW - b.width) {
    b.x = 2 * (kW - b.width) - b.x;
    b.velocityX = -b.velocityX;
    Events().SoundRequested(gkBrickfall, bsBounce, b.x);
  }
  bool lost = false;
  if (b.y < 0) {
    if (op.undeadBall || op.direction < 0) {
      b.y = -b.y;
      b.velocityY = -b.velocityY;
      Events().SoundRequested(gkBrickfall, bsBounce, b.x);
    } else if (b.y + b.height <= 0) {
      lost = true;
    }
  } else if (b.y > kH - b.height) {
    if (op.undeadBall || op.direction > 0) {
      b.y = 2 * (kH - b.height) - b.y;
      b.velocityY = -b.velocityY;
      Events().SoundRequested(gkBrickfall, bsBounce, b.x);
    } else if (b.y >= kH) {
      lost = true;
    }
  }
  if (lost && !LoseBall(slot)) return;

  // Paddles: the last one in index order that the ball overlaps.
  int hit = -1;
  for (int i = 0; i < kPlayers; ++i) {
    const TBrickPlayer& p = gBrick.players[i];
    if (p.inGame && Overlap(b.x, b.y, b.width, b.height, p.x, p.y, p.width, p.height)) hit = i;
  }
  if (hit >= 0) {
    Events().SoundRequested(gkBrickfall, bsBounce, b.x);
    const TBrickPlayer& p = gBrick.players[hit];
    if (hit == owner && op.guide && !op.launch) {
      b.state = kBallHeld;
      --op.ballsInFlight;
      ++op.ballsInStock;
      PlaceHeldBall(b);
      return;
    }
    Rebound(b, p);
  }

  // Walls: one reversal for all the walls the ball overlaps (they all see the same
  // velocity, so they agree on the axis); only the last in table order is struck.
  const int struck = LastWallOverlapping(b.x, b.y, b.width, b.height);
  uint8_t axes = struck >= 0 ? uint8_t(AxisOf(b.velocityX, b.velocityY)) : uint8_t(kAxisNone);
  Reverse(b, axes);
  if (struck >= 0) {
    const TFieldWall& w = gBrick.walls[struck];
    const int c = WallSizeClass(w.width, w.height);
    if (c > b.size + 1) {
      Events().SoundRequested(gkBrickfall, bsBounce, w.x + w.width / 2);
    } else {
      DamageWall(struck, owner, b.size - c);
      AddScore(owner, WallScore(w.hits));
    }
  }

  // Enemies: bumpers deflect, the others are shot down.
  axes = kAxisNone;
  for (TBrickEnemy& e : gBrick.enemies) {
    if (e.kind == kEnemyFree || !Overlap(b.x, b.y, b.width, b.height, e.x, e.y, e.width, e.height))
      continue;
    if (e.kind == kEnemyBumper) {
      axes |= AxisOf(b.velocityX, b.velocityY);
      Events().SoundRequested(gkBrickfall, bsBounce, b.x);
    } else {
      AddScore(owner, kEnemyScore[e.kind]);
      const bool drifter = e.kind == kEnemyDrifter;
      Events().SoundRequested(gkBrickfall, drifter ? bsDrifterDestroyed : bsFlyerDestroyed,
                              e.x + e.width / 2);
      AddBurst(BrickPixelX(int64_t(e.x) + e.width / 2), BrickPixelY(int64_t(e.y) + e.height / 2),
               drifter ? 1 : 2);
      e = TBrickEnemy{};
    }
  }
  Reverse(b, axes);
}

// ---------------------------------------------------------------------------------------
// Shots

void MoveShot(TBrickShot& s) {
  s.x += s.velocityX;
  s.y += s.velocityY;
  if (s.y <= -s.height || s.y >= kH) {
    s = TBrickShot{};
    return;
  }
  for (int i = 0; i < gBrick.wallCount; ++i) {
    const TFieldWall& w = gBrick.walls[i];
    if (!w.alive || !Overlap(s.x, s.y, s.width, s.height, w.x, w.y, w.width, w.height)) continue;
    DamageWall(i, s.owner, 1);
    AddScore(s.owner, WallScore(w.hits));
    if (s.state == kShotStraight) {
      s = TBrickShot{};
      return;
    }
    if (AxisOf(s.velocityX, s.velocityY) == kAxisX)
      s.velocityX = -s.velocityX;
    else
      s.velocityY = -s.velocityY;
  }
}

// ---------------------------------------------------------------------------------------
// Enemies

TBrickEnemy* FreeEnemySlot() {
  for (TBrickEnemy& e : gBrick.enemies)
    if (e.kind == kEnemyFree) return &e;
  return nullptr;
}

void SpawnAtCentre(uint8_t kind) {
  TBrickEnemy* e = FreeEnemySlot();
  if (!e) return;
  *e = TBrickEnemy{};
  e->kind = kind;
  e->width = gBrickPictures.enemy[kind - 1].width * kFxOne;
  e->height = gBrickPictures.enemy[kind - 1].height * kFxOne;
  e->x = (kW - e->width) / 2;
  e->y = (kH - e->height) / 2;
}

int32_t Towards(int32_t v, int32_t target) {
  if (v < target) return std::min(v + kEnemyAcceleration, target);
  if (v > target) return std::max(v - kEnemyAcceleration, target);
  return v;
}

// Keeps an enemy inside the field on one axis, turning it back at an edge.
void BounceAxis(int32_t& pos, int32_t size, int32_t limit, int32_t& v, int32_t& target) {
  if (pos < 0) {
    pos = 0;
  } else if (pos > limit - size) {
    pos = limit - size;
  } else {
    return;
  }
  v = -v;
  target = -target;
}

void MoveEnemies() {
  const uint32_t step = gCom.stepCounter;
  int bumpers = 0, drifters = 0;
  for (const TBrickEnemy& e : gBrick.enemies) {
    bumpers += e.kind == kEnemyBumper;
    drifters += e.kind == kEnemyDrifter;
  }
  if (step % kBumperPeriod == 0 && bumpers == 0) SpawnAtCentre(kEnemyBumper);
  if (step % kDrifterPeriod == 0 && drifters < kMaxDrifters) SpawnAtCentre(kEnemyDrifter);
  if (step % kFlyerPeriod == 0) {
    if (TBrickEnemy* e = FreeEnemySlot()) {
      *e = TBrickEnemy{};
      e->kind = kEnemyFlyer;
      e->width = gBrickPictures.enemy[2].width * kFxOne;
      e->height = gBrickPictures.enemy[2].height * kFxOne;
      e->x = -e->width;
      e->y = Random(kH - e->height);
      e->velocityX = kFlyerSpeed;
      e->velocityY = (Random(7) - 3) * kEnemyVelocityUnit;
    }
  }
  for (TBrickEnemy& e : gBrick.enemies) {
    if (e.kind == kEnemyDrifter || e.kind == kEnemyBumper) {
      e.velocityX = Towards(e.velocityX, e.targetVelocityX);
      e.velocityY = Towards(e.velocityY, e.targetVelocityY);
      e.x += e.velocityX;
      e.y += e.velocityY;
      BounceAxis(e.x, e.width, kW, e.velocityX, e.targetVelocityX);
      BounceAxis(e.y, e.height, kH, e.velocityY, e.targetVelocityY);
      if (step % kEnemyTurnPeriod == 0) {
        e.targetVelocityX = (Random(7) - 3) * kEnemyVelocityUnit;
        e.targetVelocityY = (Random(7) - 3) * kEnemyVelocityUnit;
      }
    } else if (e.kind == kEnemyFlyer) {
      e.x += e.velocityX;
      e.y += e.velocityY;
      if (e.x >= kW || e.x + e.width < 0 || e.y >= kH || e.y + e.height < 0) e = TBrickEnemy{};
    }
  }
}

// ---------------------------------------------------------------------------------------
// Level-wide motion

void IdleRuleAndGravity(const TLevel* level) {
  int alive = 0;
  for (int i = 0; i < gBrick.wallCount; ++i) alive += gBrick.walls[i].alive != 0;
  if (alive > 0 && int64_t(Brick().levelTime) - gBrick.game.lastDamageTime > kIdleDamageMs) {
    int pick = Random(alive);
    for (int i = 0; i < gBrick.wallCount; ++i) {
      if (!gBrick.walls[i].alive) continue;
      if (pick-- == 0) {
        DamageWall(i, -1, 255);
        break;
      }
    }
  }
  const int32_t g = level ? std::clamp(int32_t(level->f.gravity), 0, 16) : 0;
  if (!Playing() || g < 1) return;
  for (int i = 0; i < gBrick.wallCount; ++i) {
    TFieldWall& w = gBrick.walls[i];
    if (!w.alive) continue;
    const bool up = gCom.mirrorGame && w.y < (kH - w.height) / 2;
    w.y += up ? -g * kGravityFall : g * kGravityFall;
    if (!(w.y > -w.height && w.y < kH)) w.alive = 0;
  }
}

void Wind(const TLevel* level) {
  TBrickGame& g = gBrick.game;
  g.wind += DivAway(g.targetWind - g.wind, 16);
  if (gCom.stepCounter % kWindPeriod == 0) {
    const int32_t m = level ? std::clamp(int32_t(level->f.maxWind), 0, 127) : 0;
    if (g.targetWind == 0)
      g.targetWind = Random(2 * m + 1) - m;
    else if (g.targetWind < 0)
      g.targetWind = Random(m + 1);
    else
      g.targetWind = -Random(m + 1);
  }
}

void WaterLine() {
  TBrickGame& g = gBrick.game;
  if (gCom.stepCounter % kWaterPeriod == 0) g.waterDrift = Random(2) ? kWaterSpeed : -kWaterSpeed;
  g.waterLine += g.waterDrift;
  // Turned back at 256 pixels down the field. Only a rising line turns: a line that has
  // just turned and is still above the mark keeps sinking instead of trembling there.
  if (g.waterLine < kWaterTurnLine) g.waterDrift = std::abs(g.waterDrift);
  if (g.waterLine < 0) g.waterLine = 0;
  if (g.waterLine > kH) {
    g.waterLine = kH;
    g.waterDrift = -g.waterDrift;
  }
}

void GameOverCheck() {
  bool somebody = false;
  for (int i = 0; i <= LastPlayer(); ++i) {
    TBrickPlayer& p = gBrick.players[i];
    if (int64_t(p.ballsInStock) + p.ballsInFlight != 0)
      somebody = true;
    else
      p.inGame = 0;
  }
  if (!somebody) Brick().state = gsPlayersOut;
}

}  // namespace

// ---------------------------------------------------------------------------------------

const TLevel* CurrentBrickLevel() {
  const int index = gCom.k[gkBrickfall].levelIndex;
  if (index < 0 || index >= int(gBrickLevels.size())) return nullptr;
  return &gBrickLevels[index];
}

void SetBrickInputSource(TBrickInputSource* source) {
  gInputSource = source;
}

int WallSizeClass(int32_t widthFx, int32_t heightFx) {
  const int64_t area = int64_t(widthFx / kFxOne) * (heightFx / kFxOne);
  return area <= 256 ? 0 : area <= 1024 ? 1 : area <= 2304 ? 2 : 3;
}

int32_t BrickPixelX(int64_t fx) {
  return int32_t((fx + 512) / 1024) + Brick().field.left;
}
int32_t BrickPixelY(int64_t fx) {
  return int32_t((fx + 512) / 1024) + Brick().field.top;
}

void SetPaddleSize(TBrickPlayer& p, int size) {
  p.paddleSize = std::clamp(size, 0, kPaddleSizes - 1);
  // A paddle picture that failed to load keeps its default size, never 0 (the rebound
  // divides by half the width).
  p.width = std::max(2, gBrickPictures.paddle[p.paddleSize].width) * kFxOne;
  p.height = std::max(1, gBrickPictures.paddle[p.paddleSize].height) * kFxOne;
}

void SetBallSize(TBrickBall& b, int size) {
  b.size = std::clamp(size, 0, kBallSizes - 1);
  b.width = gBrickPictures.ball[b.size].width * kFxOne;
  b.height = gBrickPictures.ball[b.size].height * kFxOne;
  if (b.state == kBallHeld) PlaceHeldBall(b);
}

void PlaceHeldBall(TBrickBall& b) {
  const TBrickPlayer& p = gBrick.players[std::clamp(b.owner, 0, kPlayers - 1)];
  b.x = p.x + (p.width - b.width) / 2;
  b.y = p.direction > 0 ? p.y + p.height : p.y - b.height;
  b.y = std::clamp(b.y, 0, std::max(0, kH - b.height));
}

void BrickStartGameRules() {
  ResetBrickState(TBrickReset::kAll);
  for (int i = 0; i < kPlayers; ++i) {
    TBrickPlayer& p = gBrick.players[i];
    p.inGame = i <= LastPlayer();
    p.shots = 0;
    p.ballsInStock = 3;
    p.ballsInFlight = 0;
    p.recharge = 0;
    p.shownScore = Brick().score[i];
  }
  BrickStartLevel();
}

void BrickStartLevel() {
  TKindState& s = Brick();
  const int count = int(gBrickLevels.size());
  if (s.levelIndex >= count) s.levelIndex = std::max(0, count - 1);
  ResetBrickState(TBrickReset::kLevel);
  gBrick.game.lastDamageTime = s.levelTime;
  gBrick.game.waterLine = kH;
  gCom.stepCounter = 0;
  StandFlames();
  std::memset(gCom.burst, 0, sizeof gCom.burst);
  std::memset(gCom.spark, 0, sizeof gCom.spark);

  for (int i = 0; i < kPlayers; ++i) StartPlayer(i, gBrick.players[i]);
  for (int i = 0; i <= LastPlayer(); ++i) {
    TBrickPlayer& p = gBrick.players[i];
    if (!p.inGame) continue;
    p.ballsInStock += p.ballsInFlight;
    p.ballsInFlight = 0;
    TBrickBall& b = gBrick.balls[i];
    b = TBrickBall{};
    b.state = kBallHeld;
    b.owner = i;
    SetBallSize(b, 1);
  }
}

void DamageWall(int wall, int player, int damage) {
  if (wall < 0 || wall >= kBrickFieldWalls) return;
  TFieldWall& w = gBrick.walls[wall];
  gBrick.game.lastDamageTime = Brick().levelTime;
  const uint32_t d = uint32_t(std::max(1, damage));
  const int c = WallSizeClass(w.width, w.height);
  const int64_t cx = int64_t(w.x) + w.width / 2, cy = int64_t(w.y) + w.height / 2;
  if (d <= w.hits) {
    w.hits -= d;
    Events().SoundRequested(gkBrickfall, bsBounce, int(cx));
    AddBurst(BrickPixelX(cx), BrickPixelY(cy), c);
    return;
  }
  Events().SoundRequested(gkBrickfall, bsWallDestroyed + c, int(cx));
  w.alive = 0;
  if (wall < gWallBoxes.count) RemoveWallBox(wall);
  AddBlast(int32_t(cx), int32_t(cy), player);
  if (player != -1 && w.bonus != 0) ReleaseBonus(wall, player);
}

void BrickLevelComplete() {
  TKindState& s = Brick();
  if (s.state != gsPlaying) return;  // two paddles may catch "NextLevel" in one step
  if (s.testGame || s.levelIndex >= int(gBrickLevels.size()) - 1) {  // Test Level: one level
    s.state = gsAllLevelsDone;
    Events().GameEnded(gkBrickfall);
  } else {
    s.state = gsLevelDone;
    gCom.countdown = kLevelDonePause;
  }
}

void BrickStep() {
  const TLevel* level = CurrentBrickLevel();
  const TLevelFields* f = level ? &level->f : nullptr;
  IdleRuleAndGravity(level);
  Wind(level);
  if (Playing())
    for (int i = 0; i < kPlayers; ++i)
      if (gBrick.players[i].inGame) MovePaddle(i, gBrick.players[i]);
  if (f && f->enemy && !gCom.editorOpen) MoveEnemies();
  if (Playing()) {
    GatherWallBoxes();
    for (int i = 0; i < kBrickBalls; ++i) MoveBall(i);
    BonusStep();
    for (TBrickShot& s : gBrick.shots)
      if (s.state != kShotFree) MoveShot(s);
  }
  if (f && f->fire) FireStep();
  DecayBlasts();
  if (f && f->water) WaterLine();
  const int32_t quake = f ? std::clamp(int32_t(f->earthquake), 0, 16) : 0;
  if (gCom.editorOpen || quake == 0) {
    gBrick.game.shakeX = gBrick.game.shakeY = 0;
  } else {
    gBrick.game.shakeX = quake - Random(2 * quake + 1);
    gBrick.game.shakeY = quake - Random(2 * quake + 1);
  }
  if (f && f->smoke) SmokeStep();
  if (Playing()) {
    bool any = false;
    for (int i = 0; i < gBrick.wallCount && !any; ++i) any = gBrick.walls[i].alive;
    for (const TFallingBonus& b : gBrick.bonuses) any = any || b.alive;
    if (!any) BrickLevelComplete();
  }
  if (f && f->stars) StarsStep();
  if (f && f->bubble) BubblesStep();
  if (f && (f->rain || f->snow)) RainSnowStep(f->rain, f->snow);
  if (f && f->smallSnow) SmallSnowStep();
  DecaySparks();
  DecayBursts();
  if (Playing()) GameOverCheck();
}

}  // namespace kelvra
