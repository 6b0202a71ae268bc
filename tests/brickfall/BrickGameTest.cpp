// Rules of the Brickfall game step on small hand-built fields: paddle rebounds, walls struck
// in one step, the size-class rule, hits and scores, lost balls, the idle rule, game over,
// top-edge paddles, the computer player, and the falling bonuses.
#include "brickfall/BrickGame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "base/Digest.h"
#include "brickfall/BrickDigest.h"
#include "brickfall/BrickEffects.h"
#include "brickfall/BrickPictures.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/GameDigest.h"
#include "common/Kinds.h"
#include "common/Players.h"

namespace kelvra {
namespace {

constexpr int32_t kPx = kFxOne;

TKindState& Brick() {
  return gCom.k[gkBrickfall];
}

class BrickGameTest : public ::testing::Test, public TBrickInputSource {
 protected:
  void SetUp() override {
    ResetCom();
    gBrickPictures = TBrickPictures{};
    gBrickLevels.assign(3, TLevel{});
    for (TLevel& l : gBrickLevels) NewBrickLevel(l);
    ResetBrickState(TBrickReset::kAll);
    SetBrickInputSource(this);
    SetEvents(&events);
    Randomize(12345);
  }
  void TearDown() override {
    SetBrickInputSource(nullptr);
    SetEvents(nullptr);
    gBrickLevels.clear();
  }

  // Starts a game of `players` humans on level 0 with no walls yet.
  void Start(int players = 1, bool mirror = false) {
    TKindState& s = gCom.k[gkBrickfall];
    s.playersMinusOne = players - 1;
    s.state = gsPlaying;
    s.running = 1;
    gCom.mirrorGame = mirror;
    BrickStartGameRules();
    gBrick.wallCount = 0;
  }
  int AddWall(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t hits = 0, uint8_t bonus = 0) {
    TFieldWall& wall = gBrick.walls[gBrick.wallCount];
    wall = TFieldWall{1, x * kPx, y * kPx, w * kPx, h * kPx, 0, hits, bonus};
    return gBrick.wallCount++;
  }
  // Puts player 0's ball in flight at a pixel position with a velocity in fx.
  TBrickBall& Fly(int32_t x, int32_t y, int32_t vx, int32_t vy, int slot = 0, int owner = 0) {
    TBrickBall& b = gBrick.balls[slot];
    if (b.state != kBallFlying) {
      --gBrick.players[owner].ballsInStock;
      ++gBrick.players[owner].ballsInFlight;
    }
    b.state = kBallFlying;
    b.owner = owner;
    SetBallSize(b, b.size ? b.size : 1);
    b.x = x * kPx;
    b.y = y * kPx;
    b.velocityX = vx;
    b.velocityY = vy;
    b.speedSquared = kLaunchSpeedSquared;
    return b;
  }
  void Step() {
    BrickStep();
    ++gCom.stepCounter;
    if (gCom.k[gkBrickfall].state == gsPlaying) gCom.k[gkBrickfall].levelTime += 28;
  }
  bool Heard(int id) const {
    for (int s : sounds)
      if (s == id) return true;
    return false;
  }

  TBrickInput Read(int player) override { return input[player]; }

  TBrickInput input[kPlayers] = {};  // the human players' input of the next step
  THeadlessEvents events;
  std::vector<int>& sounds = events.sounds;
  int& ended = events.gamesEnded;
};

TEST_F(BrickGameTest, StartPlacesPaddlesAndHeldBalls) {
  Start(2, /*mirror=*/true);
  const TBrickPlayer& bottom = gBrick.players[0];
  const TBrickPlayer& top = gBrick.players[1];
  EXPECT_EQ(bottom.direction, -1);
  EXPECT_EQ(bottom.y, 384 * kPx - bottom.height);
  EXPECT_EQ(top.direction, 1);
  EXPECT_EQ(top.y, 0);
  EXPECT_EQ(bottom.x, (512 * kPx - bottom.width) / 2);
  EXPECT_EQ(bottom.ballsInStock, 3);
  EXPECT_EQ(gBrick.players[2].visibility, 0);
  EXPECT_FALSE(gBrick.players[2].inGame);
  // Each player's own slot holds its ball: on the bottom paddle, under the top one.
  EXPECT_EQ(gBrick.balls[0].state, kBallHeld);
  EXPECT_EQ(gBrick.balls[0].y, bottom.y - gBrick.balls[0].height);
  EXPECT_EQ(gBrick.balls[1].y, top.height);
  EXPECT_EQ(gBrick.balls[2].state, kBallFree);
}

TEST_F(BrickGameTest, MissingPaddlePictureStillHasASize) {
  gBrickPictures.paddle[1] = {0, 0};
  Start();
  AddWall(0, 0, 32, 16);
  EXPECT_GT(gBrick.players[0].width, 0);
  // A rebound off it divides by half its width and must not fault.
  const TBrickPlayer& p = gBrick.players[0];
  Fly(p.x / kPx, p.y / kPx - 15, 0, 8192);
  Step();
  EXPECT_LT(gBrick.balls[0].velocityY, 0);
}

TEST_F(BrickGameTest, ReboundAtTheCentreIsSteepAndAtTheEdgeFlat) {
  Start();
  AddWall(0, 0, 32, 16);
  const TBrickPlayer& p = gBrick.players[0];
  int32_t minVx = 1 << 30, maxVx = -(1 << 30);
  for (uint32_t seed = 0; seed < 40; ++seed) {
    Randomize(seed);
    // Ball centred on the paddle, one step above it.
    TBrickBall& b = Fly(0, 0, 0, 8192);
    b.x = p.x + (p.width - b.width) / 2;
    b.y = p.y - b.height - 8192 + 1024;
    Step();
    ASSERT_LT(b.velocityY, 0);
    minVx = std::min(minVx, b.velocityX);
    maxVx = std::max(maxVx, b.velocityX);
    EXPECT_LE(std::abs(b.velocityX), 8192 / 40 + 1);  // 0.025 of the speed
  }
  EXPECT_LT(minVx, 0);
  EXPECT_GT(maxVx, 0);

  // Ball centred on the right edge: about 0.8 of the speed to the right.
  TBrickBall& b = Fly(0, 0, 0, 8192);
  b.x = p.x + p.width - b.width / 2;
  b.y = p.y - b.height - 8192 + 1024;
  Step();
  EXPECT_GE(b.velocityX, 8192 * 248 / 320);
  EXPECT_LE(b.velocityX, 8192 * 256 / 320);
  EXPECT_LT(b.velocityY, 0);
  // The speed is kept.
  const int64_t v2 = int64_t(b.velocityX) * b.velocityX + int64_t(b.velocityY) * b.velocityY;
  EXPECT_NEAR(double(v2), double(kLaunchSpeedSquared), kLaunchSpeedSquared * 0.001);
}

TEST_F(BrickGameTest, TwoWallsInOneStepReverseOneAxisAndOnlyTheLaterIsStruck) {
  Start();
  const int first = AddWall(100, 100, 32, 16, 2);
  const int second = AddWall(132, 100, 32, 16, 2);
  // Moving mostly up: only the vertical velocity turns.
  TBrickBall& b = Fly(124, 112, 3000, -8000);
  Step();
  EXPECT_EQ(b.velocityX, 3000);
  EXPECT_EQ(b.velocityY, 8000);
  EXPECT_EQ(gBrick.walls[first].hits, 2u);
  EXPECT_EQ(gBrick.walls[second].hits, 1u);

  // At exactly 45 degrees the vertical velocity turns.
  TBrickBall& c = Fly(124, 112, -5000, -5000);
  Step();
  EXPECT_EQ(c.velocityX, -5000);
  EXPECT_EQ(c.velocityY, 5000);
}

TEST_F(BrickGameTest, SizeClassDecidesWhetherAWallCanBeDamaged) {
  EXPECT_EQ(WallSizeClass(16 * kPx, 16 * kPx), 0);
  EXPECT_EQ(WallSizeClass(32 * kPx, 32 * kPx), 1);
  EXPECT_EQ(WallSizeClass(48 * kPx, 48 * kPx), 2);
  EXPECT_EQ(WallSizeClass(49 * kPx, 48 * kPx), 3);
  Start();
  // A normal ball (16 px) cannot hurt a wall above 2304 square pixels.
  const int big = AddWall(200, 100, 64, 48, 0);
  Fly(220, 150, 0, -4096);
  Step();
  EXPECT_TRUE(gBrick.walls[big].alive);
  EXPECT_EQ(Brick().score[0], 0);
  // A 64-pixel ball takes three hits off a 16 x 16 wall at once.
  const int small = AddWall(20, 100, 16, 16, 5);
  TBrickBall& b = Fly(0, 0, 0, 0);
  SetBallSize(b, 3);
  b.x = 0;
  b.y = 118 * kPx;
  b.velocityY = -4096;
  Step();
  EXPECT_EQ(gBrick.walls[small].hits, 2u);
  EXPECT_EQ(Brick().score[0], 80);  // the wall score of its hits after the damage
}

TEST_F(BrickGameTest, HitsAndScoresByColour) {
  Start();
  const int white = AddWall(100, 100, 32, 16, 5);
  Fly(108, 118, 0, -4096);
  Step();
  EXPECT_TRUE(gBrick.walls[white].alive);
  EXPECT_EQ(gBrick.walls[white].hits, 4u);  // now Aqua
  EXPECT_EQ(Brick().score[0], 20);
  EXPECT_TRUE(Heard(bsBounce));

  const int red = AddWall(300, 100, 32, 16, 0);
  Fly(308, 118, 0, -4096);
  Step();
  EXPECT_FALSE(gBrick.walls[red].alive);
  EXPECT_EQ(Brick().score[0], 20 + 320);
  EXPECT_TRUE(Heard(bsWallDestroyed + 1));  // 512 square pixels: size class 1
}

TEST_F(BrickGameTest, LostLastBallWithStockBecomesHeld) {
  Start();
  AddWall(0, 0, 32, 16);
  TBrickPlayer& p = gBrick.players[0];
  input[0].pressed[4] = 1;  // launch
  Step();
  input[0].pressed[4] = 0;
  EXPECT_EQ(p.ballsInStock, 2);
  EXPECT_EQ(p.ballsInFlight, 1);
  // Out at the bottom, away from the paddle.
  TBrickBall& b = gBrick.balls[0];
  b.x = 10 * kPx;
  b.y = 383 * kPx;
  b.velocityX = 0;
  b.velocityY = 8192;
  p.x = 400 * kPx;
  Step();
  EXPECT_EQ(b.state, kBallHeld);
  EXPECT_EQ(p.ballsInStock, 2);
  EXPECT_EQ(p.ballsInFlight, 0);
  EXPECT_EQ(b.y, p.y - b.height);
  input[0].pressed[4] = 1;
  Step();
  EXPECT_EQ(p.ballsInStock, 1);
}

TEST_F(BrickGameTest, IdleRuleDestroysARandomWallEveryFiveSeconds) {
  Start();
  AddWall(100, 100, 32, 16, 3, /*bonus=*/5);
  AddWall(200, 100, 32, 16, 3);
  AddWall(300, 100, 32, 16, 3);
  auto alive = [] {
    int n = 0;
    for (int i = 0; i < gBrick.wallCount; ++i) n += gBrick.walls[i].alive;
    return n;
  };
  Brick().levelTime = 5000;
  Step();
  EXPECT_EQ(alive(), 3);  // exactly 5000 ms is not more than 5000
  Step();
  EXPECT_EQ(alive(), 2);
  EXPECT_EQ(Brick().score[0], 0);
  for (const TFallingBonus& b : gBrick.bonuses) EXPECT_FALSE(b.alive);  // nobody freed it
  for (int i = 0; i < 178; ++i) Step();
  EXPECT_EQ(alive(), 2);
  for (int i = 0; i < 3; ++i) Step();
  EXPECT_EQ(alive(), 1);
}

TEST_F(BrickGameTest, ComputerLaunchesAtOnceFiresAndFollowsItsBall) {
  Start();
  gCom.player[0].ai = 1;
  AddWall(0, 0, 32, 16);
  TBrickPlayer& p = gBrick.players[0];
  p.shots = 2;
  Step();
  EXPECT_EQ(gBrick.balls[0].state, kBallFlying);
  EXPECT_EQ(p.shots, 1);
  EXPECT_TRUE(Heard(bsShot));
  int shots = 0;
  for (const TBrickShot& s : gBrick.shots) shots += s.state != kShotFree;
  EXPECT_EQ(shots, 1);
  // The ball far to the left: the paddle moves left.
  gBrick.balls[0].x = 10 * kPx;
  const int32_t before = p.x;
  Step();
  EXPECT_LT(p.x, before);
}

TEST_F(BrickGameTest, PlayerWithoutBallsLeavesTheGameAtTheEndOfTheStep) {
  Start(2);
  AddWall(0, 0, 32, 16);
  TBrickPlayer& p = gBrick.players[1];
  p.ballsInStock = 1;
  Fly(10, 383, 0, 8192, /*slot=*/1, /*owner=*/1);
  EXPECT_EQ(p.ballsInStock, 0);
  gBrick.players[1].x = 400 * kPx;
  Step();
  EXPECT_FALSE(p.inGame);
  EXPECT_EQ(gBrick.balls[1].state, kBallFree);
  EXPECT_EQ(Brick().state, gsPlaying);  // player 1 still plays
  // Its paddle no longer moves.
  input[1].held[0] = 1;
  const int32_t x = p.x;
  Step();
  EXPECT_EQ(p.x, x);
  // Player 0 loses the last ball too: players out.
  gBrick.players[0].ballsInStock = 1;
  Fly(10, 383, 0, 8192);
  gBrick.players[0].x = 400 * kPx;
  Step();
  EXPECT_EQ(Brick().state, gsPlayersOut);
}

TEST_F(BrickGameTest, TopEdgePaddlesUnderMirrorGame) {
  Start(2, /*mirror=*/true);
  AddWall(0, 200, 32, 16);
  // Player 1's ball bounces off the bottom edge and is lost above the top.
  TBrickBall& b = Fly(100, 380, 0, 8192, 1, 1);
  gBrick.players[1].x = 400 * kPx;
  Step();
  EXPECT_LT(b.velocityY, 0);
  EXPECT_EQ(b.state, kBallFlying);
  b.y = -15 * kPx;
  b.velocityY = -8192;
  Step();
  EXPECT_EQ(b.state, kBallHeld);  // lost, back on the top paddle
  EXPECT_EQ(b.y, gBrick.players[1].height);
  // A top paddle sends the ball downwards.
  TBrickPlayer& top = gBrick.players[1];
  TBrickBall& c = Fly(0, 0, 0, -8192, 1, 1);
  c.x = top.x + (top.width - c.width) / 2;
  c.y = top.height + 4096;
  Step();
  EXPECT_GT(c.velocityY, 0);
}

TEST_F(BrickGameTest, GravityMovesWallsAndRemovesThoseThatLeave) {
  gBrickLevels[0].f.gravity = 16;
  Start();
  const int w = AddWall(100, 383, 32, 16);
  AddWall(100, 10, 32, 16);
  Step();
  EXPECT_EQ(gBrick.walls[1].y, 10 * kPx + 1024);
  Step();
  EXPECT_FALSE(gBrick.walls[w].alive);
  EXPECT_EQ(Brick().score[0], 0);
}

TEST_F(BrickGameTest, LastWallEndsTheLevelOrTheGame) {
  Start();
  const int red = AddWall(100, 100, 32, 16);
  Fly(108, 118, 0, -4096);
  Step();
  EXPECT_FALSE(gBrick.walls[red].alive);
  EXPECT_EQ(Brick().state, gsLevelDone);
  EXPECT_EQ(gCom.countdown, 16);

  Brick().levelIndex = 2;  // the last level
  Brick().state = gsPlaying;
  AddWall(100, 100, 32, 16);
  Fly(108, 118, 0, -4096);
  Step();
  EXPECT_EQ(Brick().state, gsAllLevelsDone);
  EXPECT_EQ(ended, 1);
}

TEST_F(BrickGameTest, ANewLevelKeepsThePlayersRecordAndTheWalls) {
  Start(2);
  const int wall = AddWall(100, 100, 32, 16, 3);
  Fly(200, 200, 0, -4096);
  TBrickPlayer& p = gBrick.players[0];
  p.shots = 5;
  p.recharge = 40;
  p.shownScore = 123;
  p.canShoot = p.undeadBall = 1;
  p.speed = 2048;
  SetPaddleSize(p, 3);
  gBrick.bonuses[0].alive = 1;
  gBrick.enemies[0].kind = kEnemyFlyer;
  gBrick.game.wind = 7;
  gBrick.effects.stars[0].z = 9;

  BrickStartLevel();
  // The ball in flight goes back to the stock and waits on the paddle.
  EXPECT_EQ(p.ballsInStock, 3);
  EXPECT_EQ(p.ballsInFlight, 0);
  EXPECT_EQ(gBrick.balls[0].state, kBallHeld);
  EXPECT_EQ(p.shots, 5);
  EXPECT_EQ(p.recharge, 40);
  EXPECT_EQ(p.shownScore, 123);
  EXPECT_TRUE(p.inGame);
  EXPECT_FALSE(gBrick.players[2].inGame);
  // What the bonuses gave lasts one level.
  EXPECT_EQ(p.canShoot, 0);
  EXPECT_EQ(p.undeadBall, 0);
  EXPECT_EQ(p.speed, kStartSpeed);
  EXPECT_EQ(p.paddleSize, 1);
  EXPECT_EQ(gBrick.wallCount, 1);
  EXPECT_TRUE(gBrick.walls[wall].alive);
  EXPECT_EQ(gBrick.walls[wall].hits, 3u);
  EXPECT_FALSE(gBrick.bonuses[0].alive);
  EXPECT_EQ(gBrick.enemies[0].kind, kEnemyFree);
  EXPECT_EQ(gBrick.game.wind, 0);
  EXPECT_EQ(gBrick.game.waterLine, 384 * kPx);
  EXPECT_EQ(gBrick.effects.stars[0].z, 0);

  // A new game starts from nothing.
  BrickStartGameRules();
  EXPECT_EQ(gBrick.wallCount, 0);
  EXPECT_EQ(p.shots, 0);
  EXPECT_EQ(p.ballsInStock, 3);
}

// gBrick and gCom are the whole game: a run from a copy of them, with the same input, ends
// where the first run from them ended.
TEST_F(BrickGameTest, ARunFromACopyOfTheStateEndsAlike) {
  TLevelFields& f = gBrickLevels[0].f;
  f.enemy = f.stars = f.rain = f.snow = f.bubble = f.fire = f.smoke = f.water = 1;
  f.maxWind = 60;
  f.earthquake = 2;
  Start(2, /*mirror=*/true);
  for (int i = 0; i < 60; ++i)
    AddWall(16 + 48 * (i % 10), 120 + 20 * (i / 10), 32, 16, i % 4, 2 + i % 25);
  const auto run = [this] {
    for (int i = 0; i < 577; ++i) {  // a prime: no period of a hidden counter divides it
      const uint32_t step = gCom.stepCounter;
      for (int p = 0; p < 2; ++p) {
        input[p].held[ctLeft] = (step / 23 + p) % 3 == 0;
        input[p].held[ctRight] = (step / 23 + p) % 3 == 1;
        input[p].pressed[ctFire1] = input[p].pressed[ctFire2] = step % 40 == 0;
      }
      Step();
    }
    TDigest d;
    DigestShared(d);
    DigestBrickfall(d);
    return d.Value();
  };
  run();
  const auto state = std::make_unique<TBrickState>(gBrick);
  const auto com = std::make_unique<TCom>(gCom);
  const uint64_t first = run();
  gBrick = *state;
  gCom = *com;
  EXPECT_EQ(run(), first);
}

// ---------------------------------------------------------------------------------------
// Bonuses

TEST_F(BrickGameTest, NextLevelBonusEndsTheLevelWhileWallsRemain) {
  Start();
  AddWall(0, 0, 32, 16);
  ApplyBonus(0, 1);
  EXPECT_EQ(Brick().state, gsLevelDone);
  ApplyBonus(0, 1);  // a second paddle catching it in the same step changes nothing
  EXPECT_EQ(Brick().state, gsLevelDone);
}

TEST_F(BrickGameTest, BonusLimits) {
  Start();
  TBrickPlayer& p = gBrick.players[0];
  for (int i = 0; i < 4; ++i) ApplyBonus(0, 12);
  EXPECT_EQ(p.paddleSize, 3);
  EXPECT_EQ(p.width, gBrickPictures.paddle[3].width * kPx);
  p.inertia = 2;
  ApplyBonus(0, 17);
  EXPECT_EQ(p.inertia, 2);
  p.inertia = 0;
  ApplyBonus(0, 17);
  EXPECT_EQ(p.inertia, 0);
  for (int i = 0; i < 5; ++i) ApplyBonus(0, 14);
  EXPECT_EQ(p.speed, 10240);
  for (int i = 0; i < 10; ++i) ApplyBonus(0, 15);
  EXPECT_EQ(p.speed, 2048);
  ApplyBonus(0, 26);
  EXPECT_TRUE(p.swapControls);
}

TEST_F(BrickGameTest, NotVisibleWhileBlinking) {
  Start();
  TBrickPlayer& p = gBrick.players[0];
  ApplyBonus(0, 11);
  p.visibility = 3;
  ApplyBonus(0, 9);
  EXPECT_EQ(p.visibility, 8);
  EXPECT_EQ(p.blinkDirection, 0);
  ApplyBonus(0, 9);
  EXPECT_EQ(p.visibility, 0);
}

TEST_F(BrickGameTest, BlinkingSwingsBetweenInvisibleAndVisible) {
  Start();
  AddWall(0, 0, 32, 16);
  TBrickPlayer& p = gBrick.players[0];
  p.visibility = 7;
  ApplyBonus(0, 11);
  std::vector<int> seen;
  for (int i = 0; i < 18; ++i) {
    Step();
    seen.push_back(p.visibility);
  }
  EXPECT_EQ(seen, (std::vector<int>{7, 6, 5, 4, 3, 2, 1, 1, 2, 3, 4, 5, 6, 7, 7, 6, 5, 4}));
}

TEST_F(BrickGameTest, FragmentBall) {
  Start();
  TBrickPlayer& p = gBrick.players[0];
  ApplyBonus(0, 24);  // the ball is held: two more balls in stock
  EXPECT_EQ(p.ballsInStock, 5);
  TBrickBall& b = Fly(100, 100, 1000, -7000);
  ApplyBonus(0, 24);
  EXPECT_EQ(p.ballsInStock, 5);
  EXPECT_EQ(p.ballsInFlight, 2);
  const TBrickBall& copy = gBrick.balls[1];
  EXPECT_EQ(copy.state, kBallFlying);
  EXPECT_EQ(copy.x, b.x);
  EXPECT_EQ(copy.velocityX, -1000);
  EXPECT_EQ(copy.velocityY, 7000);
}

TEST_F(BrickGameTest, BallSizeAndSpeedBonuses) {
  Start();
  TBrickBall& held = gBrick.balls[0];
  ApplyBonus(0, 18);
  EXPECT_EQ(held.size, 2);
  EXPECT_EQ(held.y, gBrick.players[0].y - 32 * kPx);  // placed again on the paddle
  ApplyBonus(0, 19);
  ApplyBonus(0, 19);
  ApplyBonus(0, 19);
  EXPECT_EQ(held.size, 0);

  TBrickBall& b = Fly(100, 100, 0, -8192);
  ApplyBonus(0, 20);
  EXPECT_EQ(b.velocityY, -9216);
  EXPECT_EQ(b.speedSquared, 9216 * 9216);
  for (int i = 0; i < 10; ++i) ApplyBonus(0, 20);
  EXPECT_EQ(b.speedSquared, 12288 * 12288);
  for (int i = 0; i < 20; ++i) ApplyBonus(0, 21);
  EXPECT_EQ(b.speedSquared, 4096 * 4096);
}

TEST_F(BrickGameTest, BonusFallsTowardsThePlayerWhoFreedIt) {
  Start(2, /*mirror=*/true);
  const int w = AddWall(100, 200, 32, 16, 0, /*bonus=*/2);
  DamageWall(w, 1, 1);  // the top player destroys it
  const TFallingBonus& b = gBrick.bonuses[0];
  ASSERT_TRUE(b.alive);
  EXPECT_LE(b.velocityY, -4 * kPx);
  EXPECT_GT(b.velocityY, -5 * kPx);
  EXPECT_EQ(b.x, 100 * kPx + (32 * kPx - b.width) / 2);
}

TEST_F(BrickGameTest, TwoPaddlesCatchingOneBonusBothReceiveIt) {
  Start(2);
  AddWall(0, 0, 32, 16);
  TFallingBonus& b = gBrick.bonuses[0];
  b = TFallingBonus{1, 200 * kPx, 360 * kPx, 32 * kPx, 16 * kPx, 0, 4 * kPx, 4};
  gBrick.players[0].x = 180 * kPx;
  gBrick.players[1].x = 210 * kPx;
  BonusStep();
  EXPECT_EQ(Brick().score[0], 1000);
  EXPECT_EQ(Brick().score[1], 1000);
  EXPECT_FALSE(b.alive);
  EXPECT_TRUE(Heard(bsBonusCaught));
}

TEST_F(BrickGameTest, FallingBonusKeepsTheLevelGoing) {
  Start();
  TFallingBonus& b = gBrick.bonuses[0];
  b = TFallingBonus{1, 0, 100 * kPx, 32 * kPx, 16 * kPx, 0, 4 * kPx, 2};
  Step();
  EXPECT_EQ(Brick().state, gsPlaying);
  b.y = 383 * kPx;
  Step();
  EXPECT_FALSE(b.alive);
  EXPECT_EQ(Brick().state, gsLevelDone);
}

// ---------------------------------------------------------------------------------------
// Effects

TEST_F(BrickGameTest, RainAndSnowTogetherMakeAllSevenKinds) {
  bool seen[8] = {};
  for (int i = 0; i < 400; ++i) {
    RainSnowStep(true, true);
    for (const TRainDrop& d : gBrick.effects.rain) seen[d.kind] = true;
  }
  for (int k = 1; k <= 7; ++k) EXPECT_TRUE(seen[k]) << k;
  ResetBrickState(TBrickReset::kAll);
  RainSnowStep(false, true);
  int n = 0;
  for (const TRainDrop& d : gBrick.effects.rain)
    if (d.kind) {
      ++n;
      EXPECT_GE(d.kind, 4);
    }
  EXPECT_EQ(n, 1);
}

TEST_F(BrickGameTest, SmallSnowAndFire) {
  StandFlames();
  SmallSnowStep();
  int flakes = 0;
  for (const TSmallFlake& f : gBrick.effects.smallSnow) flakes += f.speed != 0;
  EXPECT_EQ(flakes, 8);
  EXPECT_EQ(gBrick.effects.fire[16].x, 10 + 32 * 16);
  EXPECT_EQ(gBrick.effects.fire[17].x, 0);
  for (int i = 0; i < 200; ++i) {
    FireStep();
    for (const TFlame& f : gBrick.effects.fire) {
      ASSERT_GE(f.phase, 0);
      ASSERT_LT(f.phase, 14336);
    }
  }
}

}  // namespace
}  // namespace kelvra
