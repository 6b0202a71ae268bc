// Rules of the Brickfall game step on small hand-built fields: paddles, balls,
// walls and the size-class rule, scores and sounds, shots, enemies, lost balls,
// the idle rule, the water line, game over, and the falling bonuses.
#include "brickfall/BrickGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <tuple>
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
    s.playersMinusOne = players - 1, s.state = gsPlaying, s.running = 1;
    gCom.mirrorGame = mirror;
    BrickStartGameRules();
    gBrick.wallCount = 0;
  }
  // A started game with a wall in the top-left corner, out of the way, to keep the level going.
  void StartWithAWall(int players = 1) { Start(players), AddWall(0, 0, 32, 16); }
  int AddWall(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t hits = 0, uint8_t bonus = 0) {
    TFieldWall& wall = gBrick.walls[gBrick.wallCount];
    wall = TFieldWall{1, x * kPx, y * kPx, w * kPx, h * kPx, 0, hits, bonus};
    return gBrick.wallCount++;
  }
  // Puts a player's ball in flight at a pixel position with a velocity in fx.
  TBrickBall& Fly(int32_t x, int32_t y, int32_t vx, int32_t vy, int slot = 0, int owner = 0) {
    TBrickBall& b = gBrick.balls[slot];
    if (b.state != kBallFlying) {
      --gBrick.players[owner].ballsInStock;
      ++gBrick.players[owner].ballsInFlight;
    }
    b.state = kBallFlying, b.owner = owner;
    SetBallSize(b, b.size ? b.size : 1);
    b.x = x * kPx, b.y = y * kPx, b.velocityX = vx, b.velocityY = vy;
    b.speedSquared = kLaunchSpeedSquared;
    return b;
  }
  // Player 0's ball one step above the centre of its paddle, falling.
  TBrickBall& FallOntoPaddle() {
    const TBrickPlayer& p = gBrick.players[0];
    TBrickBall& b = Fly(0, 0, 0, 8192);
    b.x = p.x + (p.width - b.width) / 2;
    b.y = p.y - b.height - 8192 + 1024;
    return b;
  }
  void Step() {
    BrickStep();
    ++gCom.stepCounter;
    if (gCom.k[gkBrickfall].state == gsPlaying) gCom.k[gkBrickfall].levelTime += 28;
  }
  bool Heard(int id) const {
    return std::count(events.sounds.begin(), events.sounds.end(), id) > 0;
  }
  int AliveWalls() const {
    return int(std::count_if(gBrick.walls, gBrick.walls + gBrick.wallCount,
                             [](const TFieldWall& w) { return w.alive != 0; }));
  }

  TBrickInput Read(int player) override { return input[player]; }

  TBrickInput input[kPlayers] = {};  // the human players' input of the next step
  THeadlessEvents events;
};

// A ball rebounds off its paddle, also one whose picture is missing (the rebound divides by
// half its width); a guided ball stays on it unless launch is held as it lands.
TEST_F(BrickGameTest, LandingOnThePaddle) {
  for (int guide : {-1, 0, 1}) {  // no picture; guided, with launch held or not
    if (guide < 0) gBrickPictures.paddle[1] = {0, 0};
    StartWithAWall();
    if (guide >= 0) ApplyBonus(0, 10);
    input[0].pressed[ctFire1] = guide == 1;
    TBrickBall& b = FallOntoPaddle();
    Step();
    const bool flies = guide != 0;
    EXPECT_EQ(std::make_tuple(b.state, b.velocityY < 0 || !flies, gBrick.players[0].ballsInFlight,
                              gBrick.players[0].ballsInStock, gBrick.players[0].width > 0),
              std::make_tuple(flies ? kBallFlying : kBallHeld, true, int(flies), 3 - flies, true))
        << guide;
    gBrickPictures = TBrickPictures{};
  }
}

TEST_F(BrickGameTest, PaddleInertiaAndShotRecharge) {
  StartWithAWall();
  TBrickPlayer& p = gBrick.players[0];
  // The velocity kept from a step is sqrt(31 x inertia) / 16 of it, truncated.
  const int32_t cases[][3] = {{0, 8192, 0}, {2, 8192, 4031}, {4, -8192, -5701}};
  for (const auto& [inertia, velocity, kept] : cases) {
    p.inertia = inertia, p.velocityX = velocity, p.x = 200 * kPx;
    Step();
    EXPECT_EQ(std::make_pair(p.velocityX, p.x), std::make_pair(kept, 200 * kPx + kept)) << inertia;
  }
  // Standing still with a ball in flight: 100 steps earn three shots.
  p.velocityX = p.inertia = 0;
  p.canShoot = p.ballsInFlight = 1;
  p.recharge = 98;
  Step();
  EXPECT_EQ(std::make_pair(p.recharge, p.shots), std::make_pair(99, 0));
  Step();
  EXPECT_EQ(std::make_pair(p.recharge, p.shots), std::make_pair(0, 3));
}

// A mouse player's paddle heads for the pointer, across and, where it may move so, up and
// down; within a step's reach of it the paddle stays. The pointer's shape shows the way.
TEST_F(BrickGameTest, AMousePaddleHeadsForThePointer) {
  StartWithAWall();
  TBrickPlayer& p = gBrick.players[0];
  const int32_t x0 = p.x, y0 = p.y;
  const int32_t cx = (p.x + p.width / 2) / kPx, cy = (p.y + p.height / 2) / kPx;
  const int32_t cases[][4] = {
      // vertical movement, pointer offset x, y, cursor shape
      {0, -80, 0, 1}, {0, 80, 0, 2}, {0, 0, -80, 0}, {1, 0, -80, 3}, {1, 0, 80, 4}, {1, 0, 0, 0}};
  for (const auto& [vertical, dx, dy, shape] : cases) {
    p.verticalMovement = vertical;
    p.velocityX = p.velocityY = 0;
    input[0] = TBrickInput{};
    input[0].mouse = 1;
    input[0].mouseX = cx + dx, input[0].mouseY = cy + dy;
    gCom.cursorShape = 9;
    Step();
    EXPECT_EQ(int(gCom.cursorShape), shape) << vertical << " " << dx << " " << dy;
    p.x = x0, p.y = y0;
  }
}

// A wall turns the ball's larger velocity component, the vertical one on a tie.
TEST_F(BrickGameTest, AWallTurnsTheLargerVelocityVerticalOnATie) {
  const int32_t cases[][4] = {
      {3000, -8000, 3000, 8000}, {-5000, -5000, -5000, 5000}, {8000, 3000, -8000, 3000}};
  for (const auto& [vx, vy, vxAfter, vyAfter] : cases) {
    Start();
    AddWall(100, 100, 32, 16, 5);
    TBrickBall& b = Fly(124, 112, vx, vy);
    Step();
    EXPECT_EQ(std::make_pair(b.velocityX, b.velocityY), std::make_pair(vxAfter, vyAfter)) << vx;
  }
}

// A ball damages a wall of at most one size class above its own, by its size
// less the wall's class (at least 1); a larger wall only bounces it.
TEST_F(BrickGameTest, SizeClassDecidesWhetherAWallCanBeDamaged) {
  const int32_t classes[][3] = {{16, 16, 0}, {17, 16, 1}, {32, 32, 1},
                                {33, 32, 2}, {48, 48, 2}, {49, 48, 3}};
  for (const auto& [w, h, sizeClass] : classes)
    EXPECT_EQ(WallSizeClass(w * kPx, h * kPx), sizeClass) << w;
  // The wall's size, the ball's; the hits left of 5 and the score.
  const int32_t cases[][5] = {
      {48, 48, 1, 4, 20},  // class 2, one above a normal ball
      {64, 48, 1, 5, 0},   // class 3
      {48, 48, 0, 5, 0},   // class 2, two above a small ball
      {16, 16, 3, 2, 80},  // class 0: a 64-pixel ball takes three hits
  };
  for (const auto& [w, h, ballSize, hitsAfter, score] : cases) {
    Start();
    Brick().score[0] = 0;
    const int wall = AddWall(200, 100, w, h, 5);
    SetBallSize(Fly(200, 100 + h, 0, -4096), ballSize);
    Step();
    EXPECT_EQ(std::make_tuple(gBrick.walls[wall].hits, Brick().score[0], Heard(bsBounce)),
              std::make_tuple(uint32_t(hitsAfter), score, true))
        << w << " " << ballSize;
  }
}

TEST_F(BrickGameTest, EnemiesScoreAndSoundByKind) {
  StartWithAWall();
  // Drifters and flyers are shot down, bumpers deflect.
  const int32_t enemies[][3] = {{kEnemyDrifter, 500, bsDrifterDestroyed},
                                {kEnemyFlyer, 2000, bsFlyerDestroyed},
                                {kEnemyBumper, 0, bsBounce}};
  for (const auto& [kind, score, sound] : enemies) {
    Brick().score[0] = 0;
    events.sounds.clear();
    gBrick.enemies[0] =
        TBrickEnemy{uint8_t(kind), 195 * kPx, 180 * kPx, 32 * kPx, 32 * kPx, 0, 0, 0, 0};
    TBrickBall& b = Fly(200, 200, 0, -4096);
    Step();
    const bool bumper = kind == kEnemyBumper;
    EXPECT_EQ(std::make_tuple(Brick().score[0], events.sounds, gBrick.enemies[0].kind, b.velocityY),
              std::make_tuple(score, std::vector<int>{sound}, bumper ? kEnemyBumper : kEnemyFree,
                              bumper ? 4096 : -4096))
        << kind;
  }
}

// The edges' bounce sounds are placed at the ball's x after the bounce.
TEST_F(BrickGameTest, EdgeBounceSoundsLieAtTheBall) {
  // x, y, vx, vy, and the sound's x
  const int32_t cases[][5] = {
      {2, 200, -4096, 0, 2048}, {494, 200, 4096, 0, 494 * kPx}, {100, 1, 0, -4096, 100 * kPx}};
  for (const auto& [x, y, vx, vy, soundX] : cases) {
    Start();
    AddWall(0, 300, 32, 16);
    events.sounds.clear(), events.soundPositions.clear();
    Fly(x, y, vx, vy);
    Step();
    EXPECT_EQ(std::make_pair(events.sounds, events.soundPositions),
              std::make_pair(std::vector<int>{bsBounce}, std::vector<int>{soundX}))
        << x;
  }
}

// A shot in ten bounces back off the walls it strikes; the others end there.
TEST_F(BrickGameTest, ShotsStrikeWallsAndSomeBounce) {
  Start();
  TBrickPlayer& p = gBrick.players[0];
  const int wall = AddWall(0, 0, 32, 16, 200);
  gBrick.walls[wall].x = p.x, gBrick.walls[wall].y = p.y - 30 * kPx;
  int bouncing = 0;
  input[0].pressed[ctFire2] = 1;
  for (int i = 0; i < 60; ++i) {
    for (TBrickShot& s : gBrick.shots) s = TBrickShot{};
    p.shots = 1;
    Step();
    EXPECT_EQ(p.shots, 0);
    for (const TBrickShot& s : gBrick.shots)
      if (s.state != kShotFree) {
        EXPECT_EQ(s.state, kShotBouncing);
        EXPECT_GT(s.velocityY, 0);
        ++bouncing;
      }
  }
  EXPECT_EQ(gBrick.walls[wall].hits, 140u);
  EXPECT_TRUE(bouncing > 0 && bouncing < 20) << bouncing;
  EXPECT_TRUE(Heard(bsShot));
}

// At its own player's edge an undead ball bounces, and a ball that can be small
// shrinks and bounces while it is above the smallest size.
TEST_F(BrickGameTest, OwnEdgeBouncesUndeadAndShrinkingBalls) {
  // Owner (1: the top edge), bonus, ball size; whether it bounces. Its size after is 1.
  const int cases[][4] = {{0, 0, 2, 0}, {0, 23, 1, 1}, {1, 23, 1, 1}, {0, 22, 2, 1}, {0, 22, 0, 0}};
  for (const auto& [owner, bonus, size, bounces] : cases) {
    Start(2, /*mirror=*/true);
    AddWall(0, 200, 32, 16);
    for (TBrickPlayer& p : gBrick.players) p.x = 400 * kPx;
    ApplyBonus(owner, bonus);
    const int32_t vy = owner ? -8192 : 8192;
    TBrickBall& b = Fly(10, owner ? 1 : 383, 0, vy, owner, owner);
    SetBallSize(b, size);
    Step();
    EXPECT_EQ(std::make_tuple(b.state, b.size, !bounces || b.velocityY == -vy),
              std::make_tuple(bounces ? kBallFlying : kBallHeld, 1, true))
        << bonus << " " << size;
  }
}

// The idle rule destroys a random wall every five seconds without damage,
// freeing no bonus.
TEST_F(BrickGameTest, IdleRuleDestroysARandomWallEveryFiveSeconds) {
  Start();
  for (int32_t x : {100, 200, 300}) AddWall(x, 100, 32, 16, 3, /*bonus=*/5);
  Brick().levelTime = 5000;
  Step();
  EXPECT_EQ(AliveWalls(), 3);  // exactly 5000 ms is not more than 5000
  Step();
  EXPECT_EQ(std::make_pair(AliveWalls(), Brick().score[0]), std::make_pair(2, 0));
  for (int i = 0; i < 178; ++i) Step();
  EXPECT_EQ(AliveWalls(), 2);
  for (int i = 0; i < 3; ++i) Step();
  EXPECT_EQ(AliveWalls(), 1);
  for (const TFallingBonus& b : gBrick.bonuses) EXPECT_FALSE(b.alive);
}

// A rising water line turns below 256 pixels and a sinking one at the bottom. (The wind and
// the earthquake are pinned by the golden digests' Test Level games.)
TEST_F(BrickGameTest, WaterLineTurnsAtItsBounds) {
  gBrickLevels[0].f.water = 1;
  StartWithAWall();
  const int32_t water[][4] = {{257 * kPx, -1024, 256 * kPx, -1024},  // line, drift: before, after
                              {256 * kPx, -1024, 255 * kPx, 1024},
                              {255 * kPx, 1024, 256 * kPx, 1024},
                              {384 * kPx - 512, 1024, 384 * kPx, -1024}};
  for (const auto& [line, drift, lineAfter, driftAfter] : water) {
    gCom.stepCounter = 1;  // no new drift in this step
    gBrick.game.waterLine = line, gBrick.game.waterDrift = drift;
    Step();
    EXPECT_EQ(std::make_pair(gBrick.game.waterLine, gBrick.game.waterDrift),
              std::make_pair(lineAfter, driftAfter))
        << line;
  }
}

TEST_F(BrickGameTest, PlayerWithoutBallsLeavesTheGameAtTheEndOfTheStep) {
  StartWithAWall(2);
  TBrickPlayer& p = gBrick.players[1];
  p.ballsInStock = 1;
  Fly(10, 383, 0, 8192, /*slot=*/1, /*owner=*/1);
  p.x = 400 * kPx;
  Step();
  EXPECT_EQ(std::make_tuple(p.inGame, gBrick.balls[1].state, Brick().state),
            std::make_tuple(0, kBallFree, gsPlaying));  // player 0 still plays
  // Its paddle no longer moves.
  input[1].held[ctLeft] = 1;
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

// A level ends when its last wall is gone and no bonus is falling, or on
// "NextLevel" (once, however many paddles catch it); the last level ends the
// game.
TEST_F(BrickGameTest, LevelEndsWithTheLastWallOrBonusOrNextLevel) {
  Start();
  AddWall(100, 100, 32, 16, 0, /*bonus=*/2);
  Fly(108, 118, 0, -4096);
  Step();
  EXPECT_EQ(Brick().state, gsPlaying);  // its bonus still falls
  gBrick.bonuses[0].y = 383 * kPx;
  Step();
  EXPECT_EQ(std::make_tuple(Brick().state, gCom.countdown), std::make_tuple(gsLevelDone, 16));

  Brick().state = gsPlaying;
  AddWall(0, 0, 32, 16);
  ApplyBonus(0, 1);
  ApplyBonus(0, 1);
  EXPECT_EQ(std::make_tuple(Brick().state, Brick().levelIndex), std::make_tuple(gsLevelDone, 0));

  Brick().levelIndex = 2;  // the last level
  Brick().state = gsPlaying;
  ApplyBonus(0, 1);
  EXPECT_EQ(std::make_tuple(Brick().state, events.gamesEnded), std::make_tuple(gsAllLevelsDone, 1));
}

// A game starts every player in it with three balls, one held on the paddle,
// bottom paddles at the bottom edge and (mirror game) odd ones at the top; a
// new level keeps each player's record and the walls, and drops what the
// bonuses gave.
TEST_F(BrickGameTest, GameAndLevelStarts) {
  Start(2, /*mirror=*/true);
  const TBrickPlayer& top = gBrick.players[1];  // its ball held under it
  EXPECT_EQ(std::make_tuple(top.direction, top.y, gBrick.balls[1].y, gBrick.players[2].inGame),
            std::make_tuple(1, 0, top.height, 0));

  const int wall = AddWall(100, 100, 32, 16, 3);
  Fly(200, 200, 0, -4096);
  TBrickPlayer& p = gBrick.players[0];
  p.shots = 5, p.canShoot = p.undeadBall = 1;
  SetPaddleSize(p, 3);
  gBrick.bonuses[0].alive = 1;
  gBrick.enemies[0].kind = kEnemyFlyer;
  gBrick.game.wind = 7;
  BrickStartLevel();
  // The ball in flight goes back to the stock and waits on the paddle.
  EXPECT_EQ(std::make_tuple(p.ballsInStock, p.ballsInFlight, gBrick.balls[0].state, p.shots,
                            p.canShoot + p.undeadBall, p.paddleSize),
            std::make_tuple(3, 0, kBallHeld, 5, 0, 1));
  EXPECT_EQ(std::make_tuple(gBrick.walls[wall].alive, gBrick.bonuses[0].alive,
                            gBrick.enemies[0].kind, gBrick.game.wind),
            std::make_tuple(1u, 0u, kEnemyFree, 0));
  BrickStartGameRules();  // a new game starts from nothing
  EXPECT_EQ(std::make_pair(gBrick.wallCount, p.shots), std::make_pair(0, 0));
}

// gBrick and gCom are the whole game: a run from a copy of them, with the same
// input, ends where the first run from them ended.
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
      for (int p = 0; p < 2; ++p) {
        const uint32_t step = gCom.stepCounter, phase = (step / 23 + p) % 3;
        input[p].held[ctLeft] = phase == 0, input[p].held[ctRight] = phase == 1;
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

// Rain and snow together give one drop of any of the seven kinds a step; snow
// alone, snow.
TEST_F(BrickGameTest, RainAndSnowMakeOneDropAStep) {
  gBrickLevels[0].f.rain = gBrickLevels[0].f.snow = 1;
  StartWithAWall();
  bool seen[8] = {};
  for (int i = 1; i <= 200; ++i) {
    Step();
    int drops = 0;
    for (const TRainDrop& d : gBrick.effects.rain) {
      seen[d.kind] = true;
      drops += d.kind != 0;
    }
    EXPECT_TRUE(i > 3 || drops == i) << i;
  }
  for (int k = 1; k <= 7; ++k) EXPECT_TRUE(seen[k]) << k;
  ResetBrickState(TBrickReset::kAll);
  RainSnowStep(false, true);
  EXPECT_EQ(std::make_pair(gBrick.effects.rain[0].kind >= 4, gBrick.effects.rain[1].kind),
            std::make_pair(true, 0));
}

// ---------------------------------------------------------------------------------------
// Bonuses

TEST_F(BrickGameTest, BonusLimits) {
  Start();
  TBrickPlayer& p = gBrick.players[0];
  for (int i = 0; i < 4; ++i) ApplyBonus(0, 12);
  EXPECT_EQ(std::make_tuple(p.paddleSize, p.width),
            std::make_tuple(3, gBrickPictures.paddle[3].width * kPx));
  p.inertia = 2;
  ApplyBonus(0, 17);
  EXPECT_EQ(p.inertia, 2);
  for (int i = 0; i < 5; ++i) ApplyBonus(0, 14);
  EXPECT_EQ(p.speed, 10240);
  for (int i = 0; i < 10; ++i) ApplyBonus(0, 15);
  EXPECT_EQ(p.speed, 2048);
  // Not visible while blinking: visible again after the blinking stops.
  ApplyBonus(0, 11);
  p.visibility = 3;
  ApplyBonus(0, 9);
  EXPECT_EQ(std::make_tuple(p.visibility, p.blinkDirection), std::make_tuple(8, 0));
  ApplyBonus(0, 9);
  EXPECT_EQ(p.visibility, 0);
  // Blinking swings between invisible and visible, from where it stands.
  AddWall(0, 0, 32, 16);
  p.visibility = 7;
  ApplyBonus(0, 11);
  std::vector<int> seen;
  for (int i = 0; i < 18; ++i) Step(), seen.push_back(p.visibility);
  EXPECT_EQ(seen, (std::vector<int>{7, 6, 5, 4, 3, 2, 1, 1, 2, 3, 4, 5, 6, 7, 7, 6, 5, 4}));

  // The ball's size and speed.
  TBrickBall& held = gBrick.balls[0];
  ApplyBonus(0, 18);
  EXPECT_EQ(std::make_tuple(held.size, held.y),
            std::make_tuple(2, p.y - 32 * kPx));  // on the paddle
  for (int i = 0; i < 3; ++i) ApplyBonus(0, 19);
  EXPECT_EQ(held.size, 0);
  TBrickBall& b = Fly(100, 100, 0, -8192);
  ApplyBonus(0, 20);
  EXPECT_EQ(std::make_tuple(b.velocityY, b.speedSquared), std::make_tuple(-9216, 9216 * 9216));
  for (int i = 0; i < 10; ++i) ApplyBonus(0, 20);
  EXPECT_EQ(b.speedSquared, 12288 * 12288);
  for (int i = 0; i < 20; ++i) ApplyBonus(0, 21);
  EXPECT_EQ(b.speedSquared, 4096 * 4096);
}

// A fragmented held ball gives two more balls in stock; one in flight, a mirrored copy.
TEST_F(BrickGameTest, FragmentBall) {
  Start();
  TBrickPlayer& p = gBrick.players[0];
  ApplyBonus(0, 24);
  EXPECT_EQ(p.ballsInStock, 5);
  TBrickBall& b = Fly(100, 100, 1000, -7000);
  ApplyBonus(0, 24);
  const TBrickBall& copy = gBrick.balls[1];
  EXPECT_EQ(std::make_tuple(p.ballsInStock, p.ballsInFlight, copy.state, copy.x, copy.velocityX,
                            copy.velocityY),
            std::make_tuple(5, 2, kBallFlying, b.x, -1000, 7000));
}

// Every paddle in the game that touches a bonus receives it; one out of the
// game does not.
TEST_F(BrickGameTest, EveryPaddleInTheGameCatchesTheBonus) {
  StartWithAWall(2);
  TFallingBonus& b = gBrick.bonuses[0];
  gBrick.players[0].x = 180 * kPx, gBrick.players[1].x = 210 * kPx;
  for (int round : {0, 1}) {  // then without player 0 beneath it and player 1 out of the game
    b = TFallingBonus{1, 200 * kPx, 360 * kPx, 32 * kPx, 16 * kPx, 0, 4 * kPx, 4};
    BonusStep();
    EXPECT_EQ(std::make_tuple(Brick().score[0], Brick().score[1], b.alive, Heard(bsBonusCaught)),
              std::make_tuple(1000, 1000, uint32_t(round), true));
    gBrick.players[0].x = 0, gBrick.players[1].inGame = 0;
  }
}

}  // namespace
}  // namespace kelvra
