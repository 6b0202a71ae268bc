// Burrower's enemies and brooders on hand-built fields: the shooters' look along their line,
// the Drone's reach, dying and its drop, biting, bouncing, the field's edge, and the brooders'
// cycle of hatching and holding.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "BurrTestUtil.h"
#include "burrower/BurrEnemies.h"
#include "burrower/BurrField.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Options.h"

namespace kelvra {
namespace {

using test::PutEnemy;
using test::PutPlayer;

int32_t Centre(int square) {
  return LatticeStart(2 * square + 1) + kSquareCentre;
}

// Twelve rows of earth with row 5 (the test fixtures' centre line) replaced by `tunnel`.
std::vector<std::string> Tunnel(const std::string& tunnel) {
  std::vector<std::string> rows(kBurrRows, std::string(kBurrCols, ':'));
  rows[5] = tunnel + rows[5].substr(tunnel.size());
  return rows;
}

// Shots in flight of the four kinds the shooters fire.
int Shots() {
  int n = 0;
  for (const TBullet& b : gBurr.bullets) n += b.live > 0;
  for (const TRocket& r : gBurr.rockets) n += r.live > 0;
  for (const TShrinkShot& s : gBurr.shrinkShots) n += s.live > 0;
  for (const TLaserBeam& l : gBurr.lasers) n += l.life > 0;
  return n;
}

int Blasts() {
  int n = 0;
  for (const TBlast& b : gCom.blast) n += b.life > 0;
  return n;
}

int AliveEnemies() {
  int n = 0;
  for (const TBurrEnemy& e : gBurr.enemies) n += e.state == esAlive;
  return n;
}

class BurrEnemies : public test::BurrFixture {};

// A shooter fires along an open tunnel at a visible player, unless something is in between.
TEST_F(BurrEnemies, ShootersFireOnlyAtAVisiblePlayerInClearSight) {
  struct Case {
    const char* what;
    int type;
    std::string tunnel;  // the shooter in square 2, the player in square 7
    bool between, invisible, fires;
  };
  const std::string open(12, '.');
  for (const Case& c : {
           Case{"assault", etAssault, open, false, false, true},
           Case{"enemy between", etAssault, open, true, false, false},
           Case{"invisible", etAssault, open, false, true, false},
           Case{"wall between", etAssault, ".....#......", false, false, false},
           Case{"commander", etCommander, open, false, false, true},
           Case{"octabrain", etOctabrain, open, false, false, true},
           Case{"enforcer", etEnforcer, open, false, false, true},
           Case{"plain enemy", etEnemy, open, false, false, false},
       }) {
    test::StartBurrLevel(Tunnel(c.tunnel));
    PutPlayer(0, Centre(7)).invisible = c.invisible ? 500 : 0;
    PutEnemy(0, c.type, Centre(2)).dx = kEnemyTypeDefs[c.type].speed;
    if (c.between) PutEnemy(1, etEnemy, Centre(5));
    StepEnemies();
    EXPECT_EQ(Shots(), c.fires ? 1 : 0) << c.what;
    // A shot sets the type's cooldown; the next shot waits for it.
    EXPECT_EQ(gBurr.enemies[0].cooldown, c.fires ? kEnemyTypeDefs[c.type].cooldown : 0) << c.what;
  }
}

// An enemy hatched in a square with no open way out stays where it is and never shoots,
// even with a player in its row.
TEST_F(BurrEnemies, HatchedOnAnEnclosedSquareItStaysStill) {
  test::StartBurrLevel(Tunnel(":::B"));
  PutPlayer(0, Centre(6));
  // Record 0 busy, record 1 left with a stunned enemy's stun: the hatch takes record 1, whole.
  PutEnemy(0, etEnemy, Centre(20), Centre(0));
  gBurr.enemies[1] = TBurrEnemy{}, gBurr.enemies[1].stun = 200;
  for (int i = 0; i < 32; ++i) StepBrooders();
  const TBurrEnemy& e = gBurr.enemies[1];
  EXPECT_EQ(std::make_tuple(int(e.state), e.x, e.y, e.stun, gBurr.brooders[0].eggs),
            std::make_tuple(int(esAlive), Centre(3), test::kRow, 0, 5));
  for (int type = etAssault; type <= etEnforcer; ++type) {
    gBurr.enemies[1].type = uint8_t(type);
    for (int i = 0; i < 200; ++i) StepEnemies();
    EXPECT_EQ(std::make_tuple(e.x, e.y, e.dx, e.dy), std::make_tuple(Centre(3), test::kRow, 0, 0));
  }
  EXPECT_EQ(Shots(), 0);
}

// A Drone explodes nearer than 384 units (Manhattan) to a player: one blast a player.
TEST_F(BurrEnemies, DroneExplodesNextToPlayersOnceForEach) {
  struct Case {
    std::vector<std::pair<int32_t, int32_t>> players;  // offsets from the Drone
    int blasts;
  };
  for (const Case& c :
       {Case{{{383, 0}}, 1}, Case{{{384, 0}}, 0}, Case{{{200, 184}}, 0}, Case{{{200, 183}}, 1},
        Case{{{0, -383}, {-300, 0}}, 2}, Case{{{0, -383}, {-384, 0}}, 1}}) {
    std::vector<std::string> rows(kBurrRows, std::string(kBurrCols, ':'));
    test::StartBurrLevel(rows, int(c.players.size()));
    for (int p = 0; p < int(c.players.size()); ++p)
      PutPlayer(p, Centre(5) + c.players[p].first, test::kRow + c.players[p].second);
    PutEnemy(3, etDrone, Centre(5));
    StepEnemies();
    EXPECT_EQ(Blasts(), c.blasts) << c.players[0].first << "," << c.players[0].second;
    EXPECT_EQ(gBurr.enemies[3].state, c.blasts ? esFree : esAlive);
  }
}

// A dead enemy leaves its type's bonus (how long it dies, which bonus and where: the golden
// digests' games); with every bonus slot taken nothing is left, and nothing breaks.
TEST_F(BurrEnemies, DyingWithEveryBonusSlotTaken) {
  test::StartBurrLevel(std::vector<std::string>(kBurrRows, std::string(kBurrCols, ':')));
  for (TBurrBonus& b : gBurr.bonuses) b = TBurrBonus{bkHealth, 0, 0, 16, 16};
  TBurrEnemy& drone = PutEnemy(0, etDrone, Centre(5));
  drone.health = 10, drone.wound = kFullHealth;
  StepEnemies(), StepEnemies();
  EXPECT_EQ(std::make_pair(int(gBurr.enemies[0].state), Blasts()), std::make_pair(int(esFree), 1));
}

// Biting waits 50 steps, and only the shooters count the wait down: a plain enemy bites once
// in its life, a Commander every 50 steps; a Drone never bites.
TEST_F(BurrEnemies, BitesFollowTheCooldown) {
  for (const auto& [type, bites] : {std::pair{etEnemy, 1}, std::pair{etCommander, 3},
                                    std::pair{etDrone, 0}, std::pair{etOctabrain, 3}}) {
    test::StartBurrLevel(std::vector<std::string>(kBurrRows, std::string(kBurrCols, ':')));
    TBurrPlayer& pl = PutPlayer(0, Centre(5) + 100);
    PutEnemy(0, type, Centre(5));
    int n = 0;
    for (int i = 0; i < 101 && gBurr.enemies[0].state == esAlive; ++i) {
      const int32_t wound = pl.wound;
      StepEnemies();
      n += pl.wound > wound;
    }
    EXPECT_EQ(Blasts(), type == etDrone ? 1 : 0);
    EXPECT_EQ(n, bites) << int(type);
  }
}

// Running into a wall or an apple turns an enemy back along its line; it never walks off the
// field at an open edge, however long it runs.
TEST_F(BurrEnemies, WallsApplesAndTheEdgeTurnEnemiesBack) {
  struct Case {
    std::string tunnel;
    int start;  // square; the enemy heads left (-) or right (+)
    int32_t dx;
  };
  for (const Case& c : {Case{"...#", 1, 28}, Case{"......", 1, 28}, Case{"...:", 2, -28},
                        Case{std::string(kBurrCols, '.'), kBurrCols - 2, 28}}) {
    test::StartBurrLevel(Tunnel(c.tunnel));
    TBurrEnemy& e = PutEnemy(0, etEnemy, Centre(c.start));
    e.dx = c.dx;
    if (c.tunnel == "......") {  // an apple in square 3
      gBurr.apples[0] = TApple{1, 0, Centre(3), test::kRow, 0, 0, 384, 384};
    }
    bool turned = false;
    for (int i = 0; i < 400; ++i) {
      StepEnemies();
      ASSERT_TRUE(e.y == test::kRow && e.dy == 0 && e.x >= e.w / 2 && e.x + e.w / 2 <= kBurrFieldW)
          << c.tunnel << " at " << e.x << "," << e.y;
      turned |= e.dx == -c.dx;
      if (c.tunnel.size() < kBurrCols) {  // at most one step into square 3 or the apple
        ASSERT_LT(e.x + e.w / 2, LatticeStart(7) + 28) << c.tunnel;
      }
    }
    EXPECT_TRUE(turned) << c.tunnel;
  }
  // Up a shaft to the top edge of an open field: back down, still on the field.
  test::StartBurrLevel(std::vector<std::string>(kBurrRows, std::string(kBurrCols, '.')));
  TBurrEnemy& e = PutEnemy(0, etEnemy, Centre(0), Centre(0));
  e.dy = -28;
  for (int i = 0; i < 200; ++i) StepEnemies();
  EXPECT_GE(e.y - e.h / 2, 0);
}

// A brooder stays fully open (20 - level index) x 8 steps after a hatch that leaves an even
// number of eggs, not at all after an odd one, and never a negative time past level 20.
TEST_F(BurrEnemies, BroodersHoldByLevelAndEggs) {
  const std::vector<std::string> rows = Tunnel(":::B");
  struct Case {
    int level;
    std::vector<int> gaps;  // steps from the start to the first hatch, then between hatches
  };
  for (const Case& c :
       {Case{3, {32, 64, 200, 64, 200}}, Case{0, {32, 64, 224}}, Case{25, {32, 64, 64, 64}}}) {
    test::StartBurrLevel(rows, 1, c.level);
    EXPECT_EQ(gBurr.brooders[0].eggs, 2 * c.level + 6);
    int last = 0, step = 0;
    for (int gap : c.gaps) {
      const int before = AliveEnemies();
      while (AliveEnemies() == before && step < 2000) StepBrooders(), ++step;
      EXPECT_EQ(step - last, gap) << "level " << c.level;
      last = step;
    }
  }
  EXPECT_EQ(std::make_tuple(BrooderHold(3, 10), BrooderHold(3, 9), BrooderHold(21, 10),
                            BrooderHold(255, 4)),
            std::make_tuple(136, 0, 0, 0));

  // With every record taken a closing brooder keeps its egg and tries again next cycle.
  test::StartBurrLevel(rows);
  for (int i = 0; i < kEnemies; ++i) PutEnemy(i, etEnemy, Centre(20), Centre(0));
  for (int i = 0; i < 32; ++i) StepBrooders();
  EXPECT_EQ(std::make_pair(gBurr.brooders[0].eggs, gBurr.brooders[0].openingStep),
            std::make_pair(6, kBrooderStep));
  gBurr.enemies[7] = TBurrEnemy{};
  int steps = 0;
  while (gBurr.enemies[7].state == esFree && steps < 1000) StepBrooders(), ++steps;
  EXPECT_EQ(std::make_pair(gBurr.brooders[0].eggs, steps), std::make_pair(5, 32 + 160 + 32));
}

// Enemies anywhere, even off the field, moving any way (both axes at once, or not at all), at
// any size: every step ends, and the shooters' look stops at the lattice's border.
TEST_F(BurrEnemies, AnyPlacementAndVelocityEndsItsStep) {
  std::vector<std::string> rows(kBurrRows, std::string(kBurrCols, '.'));
  rows[3] = std::string(kBurrCols, ':');
  for (uint32_t round = 1; round <= 20; ++round) {
    test::StartBurrLevel(rows, 5);
    gCom.randSeed = round;
    for (int p = 0; p < kBurrPlayers; ++p)
      PutPlayer(p, Random(kBurrFieldW), Random(kBurrFieldH)).invisible = p == 2 ? 100 : 0;
    for (int i = 0; i < kEnemies; ++i) {
      TBurrEnemy& e = PutEnemy(i, Random(kEnemyTypes), Random(kBurrFieldW + 4000) - 2000,
                               Random(kBurrFieldH + 4000) - 2000);
      e.dx = Random(129) - 64, e.dy = Random(3) == 0 ? Random(129) - 64 : 0;
      e.size = uint8_t(1 + Random(2)), e.stun = Random(3) == 0 ? Random(257) : 0;
    }
    for (int step = 0; step < 50; ++step) StepEnemies();
  }
}

}  // namespace
}  // namespace kelvra
