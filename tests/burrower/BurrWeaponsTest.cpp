// Burrower's weapons on hand-built fields: the damage arithmetic, the launching of each shot,
// the life of every projectile (flies, meets a wall, a player, an enemy, an apple, ends), the
// blasts, fires, shards, puffs and stains, and the guards on what the pools may hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "BurrTestUtil.h"
#include "burrower/BurrWeapons.h"
#include "common/Com.h"
#include "common/Events.h"

namespace kelvra {
namespace {

using test::kRow;  // all of the field open unless walled
using test::PutEnemy, test::PutPlayer;

class BurrWeapons : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    SetEvents(&events);
  }
  void TearDown() override { SetEvents(nullptr); }
  static void Reset() {
    ResetCom();
    gCom.kind = gkBurrower;
    ResetBurrState();
  }
  void Apple(int32_t x, int32_t y = kRow) { gBurr.apples[0] = {1, 0, x, y, 0, 0, 320, 320}; }
  void WallColumn(int c) {
    for (int r = 0; r < kLatticeRows; ++r) CellAt(c, r) = lcWall;
  }
  int Heard(int id) const {
    return int(std::count(events.sounds.begin(), events.sounds.end(), id));
  }
  // The live entries of a pool of puffs or blasts.
  template <typename T, size_t N>
  static int Live(const T (&pool)[N]) {
    return int(std::count_if(pool, pool + N, [](const T& t) { return t.life > 0; }));
  }

  THeadlessEvents events;
};

// ---- Damage arithmetic ----

TEST_F(BurrWeapons, WoundPlayerArmorShrinkAndFreeze) {
  // Armor, wound, size, frozen, amount, owner; then the wound, armor and owner's score.
  const int32_t cases[][9] = {
      {1024, 0, 2, 0, 40, 1, 0, 944, 0},     // full armor: worn, no wound
      {944, 0, 2, 0, 40, 1, 3, 871, 2},      // the next bullet: 80 x 1024 x 40 / 2^20
      {0, 0, 1, 1, 40, 1, 320, 0, 312},      // shrunk x4, frozen x2
      {0, 1000, 1, 1, 512, 1, 1024, 0, 93},  // a kind-2 ball on a fragile player: capped
      {100, 0, 2, 0, 1024, -1, 924, 0, 0},   // armor worn to 0, not below; nobody credited
      {1024, 0, 2, 0, 0, 1, 0, 1024, 0},     // a blow of no strength does nothing
      {0, 0, 2, 0, 40, 7, 40, 0, 0},         // an owner beyond the players is not credited
  };
  for (const auto& [armor, wound, size, frozen, amount, owner, wWound, wArmor, wScore] : cases) {
    ResetCom();
    TBurrPlayer& pl = PutPlayer(0, 1000, kRow, armor);
    pl.wound = wound, pl.size = uint8_t(size), pl.frozen = uint8_t(frozen);
    WoundPlayer(0, owner, amount);
    EXPECT_EQ(std::make_tuple(pl.wound, pl.armor, gCom.k[gkBurrower].score[1]),
              std::make_tuple(wWound, wArmor, wScore))
        << armor << "/" << amount;
  }
}

TEST_F(BurrWeapons, ChillFreezesOnceBelow256AndNeverKills) {
  TBurrPlayer& pl = PutPlayer(0, 1000);
  TBurrEnemy& en = PutEnemy(0, 3, 1000);
  // 1024 - 640 = 384, not frozen; then the floor of 10, frozen, heard once for each.
  const std::tuple<int32_t, int, int> steps[] = {{384, 0, 0}, {10, 1, 2}, {10, 1, 2}};
  for (const auto& [health, frozen, freezes] : steps) {
    ChillPlayer(0, 2, 10);
    ChillEnemy(0, 2, 10);
    EXPECT_EQ(std::make_tuple(pl.health, int(pl.frozen), en.health, int(en.frozen)),
              std::make_tuple(health, frozen, health, frozen));
    EXPECT_EQ(Heard(buFreeze), freezes);
  }
  EXPECT_EQ(gCom.k[gkBurrower].score[2], 6 * 625);  // 640 x 1000 / 1024 a hit, floor or not
}

TEST_F(BurrWeapons, WoundEnemyByToughnessAndShatterWhenFrozen) {
  // Type, size, wound, amount; then the stun, wound and score.
  const int32_t cases[][7] = {
      {0, 2, 0, 40, 64, 64, 62},         // toughness 10
      {2, 2, 0, 40, 128, 128, 125},      // Assault, 5
      {1, 1, 0, 40, 85, 85, 83},         // a shrunk Drone: 40 x 4 x 16 / 30
      {2, 2, 900, 256, 256, 1024, 799},  // stun and wound capped; the whole 819 is credited
      {9, 2, 0, 40, 64, 64, 62},         // a type beyond the table counts as the first
  };
  for (const auto& [type, size, wound, amount, wStun, wWound, wScore] : cases) {
    ResetCom();
    TBurrEnemy& en = PutEnemy(0, type, 1000);
    en.size = uint8_t(size), en.wound = wound;
    WoundEnemy(0, 0, amount);
    EXPECT_EQ(std::make_tuple(en.stun, en.wound, int(en.state), gCom.k[gkBurrower].score[0]),
              std::make_tuple(wStun, wWound, int(esAlive), wScore))
        << type;
  }
  // Frozen: any blow, even of no strength, breaks it into six shards; no dying, no bonus.
  TBurrEnemy& en = PutEnemy(1, 0, 3000, 2000);
  en.frozen = 1;
  WoundEnemy(1, -1, 0);
  int32_t sum = 0, shards = 0;
  for (const TIceShard& s : gBurr.iceShards)
    if (s.live > 0) {
      ++shards;
      EXPECT_EQ(std::make_tuple(s.x, s.y, std::abs(s.dx)), std::make_tuple(3000, 2000, 128));
      sum += s.dy;
    }
  EXPECT_EQ(std::make_tuple(shards, sum, int(en.state), Heard(buGlace), gBurr.bonuses[0].kind),
            std::make_tuple(6, 0, int(esFree), 1, 0));
}

// ---- Firing ----

TEST_F(BurrWeapons, EachWeaponLaunchesItsShotAndSpendsOneRound) {
  // Weapon, facing, the shot's velocity, the sound.
  const int cases[][6] = {
      {wpPistol, 32, 0, 512, 0, buPistol},
      {wpPistol, -32, -20, -512, -512, buPistol},
      {wpBall, 32, 0, 32, 32, kNoSound},
      {wpBall, 0, -32, 32, -32, kNoSound},
      {wpRpg, 0, 32, 0, 80, buRpg},
      {wpBomb, 32, 0, 0, 0, kNoSound},
      {wpShrinker, -32, 0, -128, 0, buShrinker},
      {wpLaser, 32, 0, 960, 0, kNoSound},
      {wpFreezer, 0, -32, 0, -96, kNoSound},
  };
  for (const auto& [weapon, fx, fy, dx, dy, sound] : cases) {
    ResetBurrState();
    events.sounds.clear();
    TBurrPlayer& pl = PutPlayer(0, 4560);
    pl.weapon = uint8_t(weapon), pl.faceDx = fx, pl.faceDy = fy, pl.ammo[weapon] = 5;
    FireWeapon(0);
    auto v = [](const auto& shot) { return std::make_pair(shot.dx, shot.dy); };
    const std::pair<int32_t, int32_t> shots[kWeapons] = {
        v(gBurr.bullets[0]),     v(gBurr.balls[0]),  v(gBurr.rockets[0]),     v(gBurr.bombs[0]),
        v(gBurr.shrinkShots[0]), v(gBurr.lasers[0]), v(gBurr.freezerShots[0])};
    EXPECT_EQ(std::make_tuple(shots[weapon], pl.ammo[weapon]),
              std::make_tuple(std::make_pair(dx, dy), 4))
        << "weapon " << weapon;
    EXPECT_EQ(events.sounds, sound == kNoSound ? std::vector<int>{} : std::vector<int>{sound});
  }
  // The last one, above the box (top 2240, gap 16), with its bounces.
  EXPECT_EQ(std::make_tuple(gBurr.freezerShots[0].bounces, gBurr.freezerShots[0].y),
            std::make_tuple(16, 2240 - 16 - 160 + 1 + 80));
}

TEST_F(BurrWeapons, NoShotIntoTheLatticeFromAFullPoolOrAStillFacing) {
  // The line and square right of the player's square, from 16 units past its box. (Only
  // corners are tested: a box reaching across the line alone would not touch it.)
  WallColumn(22);
  WallColumn(23);
  // Weapon, shot made.
  const int made[][2] = {{wpPistol, 1},   {wpBall, 0},  {wpRpg, 0},    {wpBomb, 1},
                         {wpShrinker, 0}, {wpLaser, 1}, {wpFreezer, 0}};
  for (const auto& [weapon, shot] : made) {
    TBurrPlayer& pl = PutPlayer(0, 4560);
    pl.weapon = uint8_t(weapon), pl.ammo[weapon] = 5;
    FireWeapon(0);
    EXPECT_EQ(pl.ammo[weapon], 5 - shot) << "weapon " << weapon;
  }
  // An enemy's rocket skips the test, and is heard; its bullet is silent.
  events.sounds.clear();
  const TBox box = CentredBox(4560, kRow, 288, 288);
  EXPECT_TRUE(LaunchShot(wpRpg, box, 24, 0, -1, true) &&
              LaunchShot(wpPistol, box, 24, 0, -1, true));
  EXPECT_EQ(events.sounds, std::vector<int>{buRpg});

  // Nor from a full pool, nor facing nowhere.
  ResetBurrState();
  events.sounds.clear();
  TBurrPlayer& pl = PutPlayer(0, 4560);
  pl.ammo[wpPistol] = 5;
  for (TBullet& b : gBurr.bullets) b.live = 1;
  FireWeapon(0);
  pl.faceDx = pl.faceDy = 0;
  gBurr.bullets[0].live = 0;
  FireWeapon(0);
  EXPECT_EQ(std::make_tuple(pl.ammo[wpPistol], gBurr.bullets[0].live, int(events.sounds.size())),
            std::make_tuple(5, 0, 0));
}

TEST_F(BurrWeapons, ReloadAndBallKindByCopies) {
  TBurrPlayer& pl = PutPlayer(0, 1000);
  // Weapon, copies, reload.
  const int32_t reloads[][3] = {
      {wpPistol, 1, 6}, {wpPistol, 3, 2}, {wpRpg, 2, 16}, {wpLaser, 3, 0}, {wpBomb, 0, 16}};
  for (const auto& [weapon, copies, reload] : reloads) {
    pl.weapon = uint8_t(weapon), pl.count[weapon] = copies;
    EXPECT_EQ(WeaponReload(pl), reload) << weapon << "x" << copies;
  }
  EXPECT_EQ(std::make_tuple(BallKind(0), BallKind(1), BallKind(2), BallKind(3)),
            std::make_tuple(1, 1, 1, 2));
}

// ---- Projectiles ----

TEST_F(BurrWeapons, BulletFliesOrEndsOnWhatItMeets) {
  enum { None, Wall, Body, Foe, Fruit };
  // What lies ahead; where the bullet is (0: ended), the player's and enemy's wounds.
  const int32_t cases[][4] = {
      {None, 4512, 0, 0}, {Wall, 0, 0, 0}, {Body, 0, 40, 0}, {Foe, 0, 0, 128}, {Fruit, 0, 0, 0}};
  for (const auto& [target, x, wound, enemyWound] : cases) {
    ResetBurrState();
    gBurr.bullets[0] = {1, 4000, kRow - 8, 512, 0, 1};
    if (target == Wall) WallColumn(20);  // 4320
    if (target == Body) PutPlayer(0, 4560);
    if (target == Foe) PutEnemy(0, 2, 4560);
    if (target == Fruit) Apple(4560);
    StepBullets();
    EXPECT_EQ(std::make_tuple(gBurr.bullets[0].live ? gBurr.bullets[0].x : 0,
                              gBurr.players[0].wound, gBurr.enemies[0].wound, Live(gBurr.puffs)),
              std::make_tuple(x, wound, enemyWound, target == None ? 0 : 1))
        << target;
  }
  EXPECT_EQ(gBurr.puffs[0].x, 4560 - 160 - 16);  // where the box first met the apple
}

TEST_F(BurrWeapons, BallBouncesIsCaughtByItsOwnerAndHurtsOthers) {
  auto ball = [](int32_t x, int32_t bounces, int32_t kind, int32_t dx) {
    gBurr.balls[0] = {bounces, kind, x, kRow, 128, 128, dx, 32, 0};
  };
  // Right edge at 4310; the wall line at 4320 is met in the first sub-step.
  ball(4247, 64, 1, 32);
  WallColumn(20);
  StepBalls();
  EXPECT_EQ(std::make_tuple(gBurr.balls[0].bounces, gBurr.balls[0].dx, gBurr.balls[0].dy,
                            gBurr.balls[0].x, Live(gBurr.puffs)),
            std::make_tuple(63, -32, 32, 4247, 1));
  ball(4247, 1, 1, 32);  // the last bounce ends it
  StepBalls();
  EXPECT_EQ(gBurr.balls[0].bounces, 0);

  ResetBurrState();
  Apple(4480);  // an apple ahead turns it like a wall
  ball(4247, 64, 1, 32);
  StepBalls();
  const TBall turned = gBurr.balls[0];
  ball(4400, 64, 1, -32);  // one leaving an apple passes out freely
  StepBalls();
  EXPECT_EQ(std::make_tuple(turned.bounces, turned.dx, gBurr.balls[0].bounces, gBurr.balls[0].x),
            std::make_tuple(63, -32, 64, 4368));

  ResetBurrState();
  PutPlayer(0, 4500).ammo[wpBall] = 20;  // the owner catches it, past the maximum of 20
  ball(4247, 64, 2, 32);
  StepBalls();
  EXPECT_EQ(
      std::make_tuple(gBurr.players[0].ammo[wpBall], gBurr.balls[0].bounces, Live(gBurr.puffs)),
      std::make_tuple(21, 0, 0));
  gBurr.players[0].active = 0;
  PutPlayer(1, 4500);
  ball(4247, 64, 2, 32);
  StepBalls();
  EXPECT_EQ(std::make_tuple(gBurr.players[1].wound, gBurr.balls[0].bounces, Live(gBurr.puffs)),
            std::make_tuple(512, 0, 1));
}

TEST_F(BurrWeapons, RocketFliesSmokesAndExplodesAheadOfItsNose) {
  gBurr.rockets[0] = {1, 0, 1000, kRow, 80, 0, 256, 128, 3};
  for (gCom.stepCounter = 1; gCom.stepCounter <= 2; ++gCom.stepCounter) StepRockets();
  const TSpark smoke = gCom.spark[0];  // the even step's only, at the middle of its back edge
  StepRocketSmoke();
  EXPECT_EQ(std::make_tuple(smoke.life, smoke.x, smoke.y, gCom.spark[0].life, gCom.spark[1].life),
            std::make_tuple(8, 1160, kRow + 64, 7, 0));

  WallColumn(6);  // 1296..1343: met in the third sub-step, at 1048
  gBurr.rockets[0].x = 1000;
  StepRockets();
  EXPECT_EQ(std::make_tuple(gBurr.rockets[0].live, gCom.blast[0].x, gCom.blast[0].y,
                            gCom.blast[0].radius, gCom.blast[0].owner, Heard(buRocketBlast)),
            std::make_tuple(0, 1048 + 255 + 16, kRow + 63, 16, 3, 1));

  Reset();
  PutEnemy(0, 2, 1400);  // Assault: 10 x 16 / 5
  gBurr.rockets[0] = {1, 0, 1000, kRow - 64, 80, 0, 256, 128, 3};
  StepRockets();
  EXPECT_EQ(std::make_tuple(gBurr.enemies[0].wound, gBurr.rockets[0].live, Live(gCom.blast)),
            std::make_tuple(32, 0, 1));
}

TEST_F(BurrWeapons, BombExplodesAfterItsFuseOrInAnotherBlastTheSameStep) {
  gBurr.bombs[0] = {16, 3000, kRow, 320, 160, 0, 0, 2, kBombFuse};
  for (int s = 1; s < kBombFuse; ++s) StepBombs();
  ASSERT_EQ(gBurr.bombs[0].live, 16);
  StepBombs();
  EXPECT_EQ(std::make_tuple(gBurr.bombs[0].live, gCom.blast[0].radius, gCom.blast[0].owner,
                            Heard(buBombBlast)),
            std::make_tuple(0, 24, 2, 1));

  Reset();
  gBurr.bombs[0] = {16, 3000, kRow, 320, 160, 0, 0, 2, 50};
  gBurr.bombs[1] = {16, 3100 + 16 * 32, kRow - 16, 320, 160, 0, 0, 2, 50};  // just out of reach
  AddBurrowerBlast(3000 + 100, kRow, -1, 16);
  StepBlasts();
  StepProjectiles();
  EXPECT_EQ(std::make_tuple(gBurr.bombs[0].live, gBurr.bombs[1].live, Live(gCom.blast)),
            std::make_tuple(0, 16, 2));
}

TEST_F(BurrWeapons, ShrinkShotLeavesACloudThatShrinks) {
  WallColumn(6);  // 1296: the shot's box reaches it in the second step
  gBurr.shrinkShots[0] = {16, 0, 1000, kRow, 160, 160, 128, 0, 0};
  StepShrinkShots();
  EXPECT_EQ(std::make_tuple(gBurr.shrinkShots[0].x, gBurr.shrinkShots[0].frame),
            std::make_tuple(1128, 1));
  StepShrinkShots();
  const TShrinkCloud& cloud = gBurr.shrinkClouds[0];
  EXPECT_EQ(std::make_tuple(gBurr.shrinkShots[0].live, cloud.life, cloud.x, cloud.y),
            std::make_tuple(0, 16, 1224 + 79 + 16, kRow - 1));

  // The cloud: shrinks a player with little armor; wears the armor of one with much;
  // shrinks enemies but not Drones, and breaks a frozen one.
  ResetBurrState();
  gBurr.shrinkClouds[0] = {16, 3000, kRow, 384, 384};
  TBurrPlayer& weak = PutPlayer(0, 3000, kRow, 511);
  TBurrPlayer& armored = PutPlayer(1, 3000, kRow, 1024);
  TBurrEnemy& assault = PutEnemy(0, 2, 3000);
  TBurrEnemy& drone = PutEnemy(1, kDrone, 3000);
  TBurrEnemy& frozen = PutEnemy(2, 3, 3000);
  frozen.frozen = 1;
  StepShrinkClouds();
  EXPECT_EQ(std::make_tuple(weak.size, weak.shrinkTimer, weak.w), std::make_tuple(1, 128, 160));
  EXPECT_EQ(std::make_tuple(armored.size, armored.armor), std::make_tuple(2, 1020));
  EXPECT_EQ(std::make_tuple(assault.size, assault.w, drone.size, int(frozen.state)),
            std::make_tuple(1, 144, 2, int(esFree)));
  EXPECT_EQ(std::make_tuple(Heard(buShrink), Heard(buGlace)), std::make_tuple(3, 1));
  for (int s = 1; s < 16; ++s) StepShrinkClouds();
  EXPECT_EQ(gBurr.shrinkClouds[0].life, 0);
}

TEST_F(BurrWeapons, LaserTracesOnceToTheWallThroughWhatItMeets) {
  WallColumn(6);  // 1296: the trace stops at 1304, the beam ends at 1288
  TBurrPlayer& pl = PutPlayer(0, 1150);
  pl.w = pl.h = 32;  // holds the points 1144 and 1160
  Apple(1250);
  gBurr.lasers[0] = {16, 1000, kRow, 1000, kRow, 960, 0, 1};
  StepLasers();
  EXPECT_EQ(std::make_tuple(gBurr.lasers[0].endX, gBurr.lasers[0].endY, pl.wound),
            std::make_tuple(1288, kRow, 4 + 3));          // the first wound softens the second
  EXPECT_EQ(gBurr.puffs[Live(gBurr.puffs) - 1].x, 1304);  // at the stopping point
  for (int s = 1; s < 16; ++s) StepLasers();
  EXPECT_EQ(std::make_tuple(gBurr.lasers[0].life, pl.wound), std::make_tuple(0, 7));

  // A beam with no direction stops at its start instead of tracing for ever.
  gBurr.lasers[1] = {16, 2000, kRow, 0, 0, 0, 0, 1};
  StepLasers();
  EXPECT_EQ(gBurr.lasers[1].endX, 2000);
}

TEST_F(BurrWeapons, FreezerShotReboundsChillsAndPassesApples) {
  WallColumn(20);  // 4320: met in the second sub-step
  gBurr.freezerShots[0] = {16, 0, 4232, kRow, 160, 160, 96, 0, 0};
  StepFreezerShots();
  EXPECT_EQ(std::make_tuple(gBurr.freezerShots[0].bounces, gBurr.freezerShots[0].dx,
                            gBurr.freezerShots[0].x, Live(gBurr.puffs)),
            std::make_tuple(15, -96, 4168, 1));
  gBurr.freezerShots[0] = {1, 0, 4232, kRow, 160, 160, 96, 0, 0};  // its last bounce
  StepFreezerShots();
  EXPECT_EQ(gBurr.freezerShots[0].bounces, 0);

  ResetBurrState();
  Apple(2100);
  gBurr.freezerShots[0] = {16, 0, 2000, kRow, 160, 160, 96, 0, 0};
  StepFreezerShots();
  EXPECT_EQ(gBurr.freezerShots[0].x, 2096);
  TBurrPlayer& pl = PutPlayer(1, 2400);
  StepFreezerShots();
  EXPECT_EQ(std::make_tuple(pl.health, gBurr.freezerShots[0].bounces), std::make_tuple(384, 0));
}

// ---- Blasts and lasting effects ----

TEST_F(BurrWeapons, BlastsWoundByDistanceAndBurnBonusesIntoFires) {
  // Distance and wound: 24 x 1024 x 20479 / ((d + 160) x 21504).
  for (const auto& [d, wound] : {std::pair{0, 146}, {1535, 13}, {1536, 0}}) {
    Reset();
    TBurrPlayer& pl = PutPlayer(0, 3000 + d, kRow - 16);  // where the blast has risen to
    TBurrEnemy& en = PutEnemy(0, 0, 3000 - d, kRow - 16);
    AddBurrowerBlast(3000, kRow, 4, kBombRadius);
    StepBlasts();
    EXPECT_EQ(std::make_tuple(pl.wound, en.wound, gCom.blast[0].y),  // it rises a pixel a step
              std::make_tuple(wound, wound * 16 / 10, kRow - 16))
        << d;
  }
  // Bonuses in reach burn into fires while fire slots last.
  Reset();
  AddBonus(bkHealth, 3000, kRow);
  AddBonus(bkArmor, 3000 + 24 * 32, kRow);  // just out of reach
  AddBurrowerBlast(3000, kRow, -1, kBombRadius);
  StepBlasts();
  EXPECT_EQ(std::make_tuple(int(gBurr.bonuses[0].kind), int(gBurr.bonuses[1].kind),
                            gBurr.fires[0].life, gBurr.fires[0].x),
            std::make_tuple(0, int(bkArmor), 1024, 3000));
  for (TFire& f : gBurr.fires) f = {500, 100, 100};
  AddBonus(bkSwap, 3100, kRow);
  StepBlasts();
  EXPECT_TRUE(gBurr.bonuses[0].kind == 0 &&
              std::all_of(std::begin(gBurr.fires), std::end(gBurr.fires),
                          [](const TFire& f) { return f.life == 500 && f.x == 100; }));
}

TEST_F(BurrWeapons, FiresShardsPuffsAndStainsAge) {
  // Life, distance; then the life and the wound.
  const int32_t fires[][4] = {
      {1024, 0, 1020, 32}, {1024, 64, 1020, 16}, {1024, 127, 1020, 0}, {4, 0, 0, 0}};
  for (const auto& [life, d, lifeAfter, wound] : fires) {
    ResetBurrState();
    TBurrPlayer& pl = PutPlayer(0, 3000 + d);
    gBurr.fires[0] = {life, 3000, kRow};
    StepFires();
    EXPECT_EQ(std::make_tuple(gBurr.fires[0].life, pl.wound), std::make_tuple(lifeAfter, wound))
        << life << "/" << d;
  }

  // The last places inside are 9968 and 5216.
  const std::tuple<int32_t, int32_t, int32_t, bool> shards[] = {
      {9840, 5088, 128, true}, {9900, 100, 128, false}, {100, 100, -128, false}};
  for (const auto& [x, y, v, stays] : shards) {
    gBurr.iceShards[0] = {1, x, y, v, v};
    StepIceShards();
    EXPECT_EQ(gBurr.iceShards[0].live > 0, stays) << x << "," << y;
  }

  // Puffs draw their seeds from the shared generator in the step, one a living puff.
  for (int i = 0; i < kPuffs + 1; ++i) AddPuff(i, 0);
  EXPECT_EQ(Heard(buPuff), kPuffs);  // the last found no slot: not heard either
  gBurr.puffs[1].life = 1;
  uint32_t expect = gCom.randSeed;
  for (int i = 0; i < kPuffs - 1; ++i) RandomFrom(expect, 1);
  StepPuffs();
  EXPECT_EQ(std::make_tuple(gCom.randSeed, gBurr.puffs[0].life, gBurr.puffs[1].life),
            std::make_tuple(expect, 15, 0));

  AddStain(1, 300, 10, 10);  // life capped at 255
  AddStain(3, 0, 10, 10);    // no life: none
  AddStain(4, 10, 10, 10);   // no such kind: none
  AddStain(3, 1, 20, 20);
  EXPECT_EQ(std::make_tuple(gBurr.stains[0].life, gBurr.stains[1].life, gBurr.stains[2].kind),
            std::make_tuple(255, 1, 0));
  StepStains();
  EXPECT_EQ(std::make_tuple(gBurr.stains[0].life, gBurr.stains[1].kind), std::make_tuple(254, 0));
}

TEST_F(BurrWeapons, PoolsKeepTheirIndexesWithinTheirTables) {
  for (int32_t kind : {0, 22, -1, 255}) AddBonus(kind, 100, 100);
  EXPECT_EQ(gBurr.bonuses[0].kind, 0);
  AddBonus(bkMedicSmall, 100, 100);
  EXPECT_EQ(
      std::make_tuple(gBurr.bonuses[0].w, gBurr.bonuses[0].h),
      std::make_tuple(gBurrSizes.bonusW[bkMedicSmall] * 16, gBurrSizes.bonusH[bkMedicSmall] * 16));
  // Frame counters far beyond any animation keep the shots' sizes in their tables.
  gBurr.shrinkShots[0] = {16, -7, 3000, kRow, 160, 160, 16, 0, 0};
  gBurr.freezerShots[0] = {16, 0x7FFFFFF0, 3000, 3000, 160, 160, 16, 0, 0};
  StepShrinkShots();
  StepFreezerShots();
  EXPECT_EQ(std::make_tuple(gBurr.shrinkShots[0].w, gBurr.freezerShots[0].w),
            std::make_tuple(160, 160));
}

}  // namespace
}  // namespace kelvra
