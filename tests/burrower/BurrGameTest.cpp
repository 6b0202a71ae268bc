// The Burrower step on hand-built fields: steering and walking, the edge, apples, touching,
// dying and its drops, firing and switching, random bonuses and the level's completion. The
// computer player plays every golden digest game, whose digests change with any of its choices.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "BurrTestUtil.h"
#include "burrower/BurrField.h"
#include "burrower/BurrGame.h"
#include "burrower/BurrWeapons.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Options.h"
#include "common/Players.h"
#include "platform/Headless.h"

namespace kelvra {
namespace {

uint8_t gCommands[kBurrPlayers][biSwapped];  // what the scripted input holds down

void Scripted(int p) {
  std::copy(std::begin(gCommands[p]), std::end(gCommands[p]), gBurr.players[p].input);
}

class BurrGame : public test::BurrFixture {
 protected:
  void SetUp() override {
    BurrFixture::SetUp();
    SetBurrInputSource(&Scripted);
  }
  void TearDown() override {
    SetBurrInputSource(nullptr);
    BurrFixture::TearDown();
  }
  // A level from rows of square characters, started as a game with nothing held down.
  void Start(const std::vector<std::string>& rows, int players = 1) {
    gCom.k[gkBurrower].state = gsPlaying;
    std::fill(std::begin(gCom.k[gkBurrower].score), std::end(gCom.k[gkBurrower].score), 0);
    std::fill(&gCommands[0][0], &gCommands[0][0] + sizeof gCommands, 0);
    test::StartBurrLevel(rows, players);
  }
  void Hold(int p, BurrInput command, bool on = true) { gCommands[p][command] = on; }
  static TBurrPlayer& P(int p = 0) { return gBurr.players[p]; }
};

// With "Use Grating" a player off the centre line is steered onto it first.
TEST_F(BurrGame, GratingSteersOntoTheCentreLines) {
  struct Case {
    int32_t below;  // units below the square's centre line
    int32_t dx, dy, movedX, movedY;
  };
  for (const Case c :
       {Case{100, 0, -32, 0, -32}, Case{20, 12, -20, 16, -16}, Case{0, 32, 0, 32, 0}}) {
    Start({"....", ".P..", "...."});
    const int32_t x = P().x, y = P().y + c.below;
    P().y = y;
    Hold(0, biRight);
    BurrPlayerUpdate(0);
    EXPECT_EQ(std::make_tuple(P().dx, P().dy, P().x - x, P().y - y),
              std::make_tuple(c.dx, c.dy, c.movedX, c.movedY))
        << c.below;
  }
  gOptions.burr.grating = 0;  // without it the vertical part of a diagonal is dropped
  Start({"....", ".P..", "...."});
  Hold(0, biRight), Hold(0, biDown);
  BurrPlayerUpdate(0);
  EXPECT_EQ(std::make_pair(P().dx, P().dy), std::make_pair(32, 0));
}

TEST_F(BurrGame, WalkingDigsStopsAtWallsAndApplesAndWraps) {
  Start({"P:#"});
  Hold(0, biRight);
  for (int i = 0; i < 30; ++i) BurrPlayerUpdate(0);
  // The earth square and the lines up to the wall are dug; the wall stops him.
  EXPECT_EQ(std::make_tuple(CellAt(3, 1), CellAt(4, 1), CellAt(5, 1)),
            std::make_tuple(lcOpen, lcWall, lcWall));
  EXPECT_LE(P().x + P().w / 2, LatticeStart(4));

  // An apple stops him dead and takes half his speed; a shrunk player leaves it be.
  for (uint8_t size : {2, 1}) {
    Start({"P@"});
    P().size = size;
    Hold(0, biRight);
    for (int i = 0; i < 20; ++i) BurrPlayerUpdate(0);
    EXPECT_EQ(std::make_tuple(gBurr.apples[0].vx, P().dx), std::make_tuple(size == 2 ? 16 : 0, 0));
  }
  // Past the right edge of an open border: back in at the left; and the last column's
  // centre line can be walked along.
  Start({std::string(22, '.') + "P", std::string(23, '.')});
  P().x = kBurrFieldW - 8;
  Hold(0, biRight);
  BurrPlayerUpdate(0);
  EXPECT_EQ(P().x, 24);
  Start({std::string(22, '.') + "P", std::string(23, '.')});
  Hold(0, biDown);
  BurrPlayerUpdate(0);
  EXPECT_EQ(std::make_pair(P().x, P().y), std::make_pair(LatticeStart(45) + 192, 240 + 32));
}

TEST_F(BurrGame, TouchingFruitBonusesAndShrunkEnemies) {
  Start({"P*.", "..."});
  Hold(0, biRight);
  for (int i = 0; i < 20; ++i) BurrPlayerUpdate(0);
  EXPECT_EQ(std::make_tuple(gBurr.fruit[0].live, gCom.k[gkBurrower].score[0]),
            std::make_tuple(0, 100));

  struct Bonus {
    int kind;
    int32_t before, after;  // of the field it changes
  };
  for (const Bonus b : {Bonus{bkAmmo + int(wpPistol), 195, 200}, Bonus{bkMedicMedium, 400, 92},
                        Bonus{bkHealth, 800, 1024}, Bonus{bkWeapon + int(wpPistol), 3, 3}}) {
    Start({"P.."});
    int32_t& field = b.kind == bkMedicMedium ? P().wound
                     : b.kind == bkHealth    ? P().health
                     : b.kind < bkAmmo       ? P().count[wpPistol]
                                             : P().ammo[wpPistol];
    field = b.before;
    AddBonus(b.kind, P().x, P().y);
    BurrPlayerUpdate(0);
    EXPECT_EQ(std::make_tuple(field, gBurr.bonuses[0].kind, gCom.k[gkBurrower].score[0]),
              std::make_tuple(b.after, 0, 10))
        << b.kind;
  }
  // A normal player squashes a shrunk enemy; a shrunk player does not.
  for (uint8_t size : {2, 1}) {
    Start({"P.."});
    P().size = size;
    TBurrEnemy& en = test::PutEnemy(0, 3, P().x, P().y);
    en.size = 1, en.w = en.h = 160;
    BurrPlayerUpdate(0);
    EXPECT_EQ(std::make_tuple(int(gBurr.enemies[0].state), gCom.k[gkBurrower].score[0]),
              std::make_tuple(size == 2 ? esFree : esAlive, size == 2 ? 100 : 0));
  }
}

TEST_F(BurrGame, DeathDropsAndRebirth) {
  std::vector<std::string> earth(12, std::string(23, ':'));
  earth[0][0] = 'P';
  earth[5][10] = '.';  // the only open square: where he is reborn
  Start(earth, 2);
  CellAt(1, 1) = lcEarth;
  P().ammo[wpPistol] = 50, P().count[wpBall] = 2, P().health = -200;
  BurrPlayerUpdate(0);
  int pistolAmmo = 0, balls = 0;
  for (const TBurrBonus& b : gBurr.bonuses) {
    pistolAmmo += b.kind == bkAmmo + int(wpPistol);
    balls += b.kind == bkWeapon + int(wpBall);
  }
  EXPECT_EQ(std::make_tuple(pistolAmmo, balls, P().health, P().ammo[wpPistol], P().x),
            std::make_tuple(4, 2, kFullHealth, 48, LatticeStart(21) + 192));  // a new Pistol
  // Without rebirth the player is out; with nobody left the game is.
  gOptions.burr.reborn = 0;
  Start({"P...."}, 2);
  P(0).health = P(1).health = -10;  // it heals by 4 first
  BurrPlayerUpdate(0);
  EXPECT_EQ(std::make_tuple(bool(P(0).active), int(gCom.k[gkBurrower].state)),
            std::make_tuple(false, int(gsPlaying)));
  BurrPlayerUpdate(1);
  EXPECT_EQ(std::make_tuple(int(gCom.k[gkBurrower].state), gCom.countdown),
            std::make_tuple(int(gsPlayersOut), 64));
}

TEST_F(BurrGame, FiringAndSwitching) {
  // Three Pistols reload in 6 / 3 = 2 steps.
  Start({"P......"});
  P().count[wpPistol] = 3, P().faceDx = 1;
  Hold(0, biFire);
  int shots = 0;
  for (int i = 0; i < 6; ++i) {
    const int32_t before = P().ammo[wpPistol];
    BurrPlayerUpdate(0);
    shots += P().ammo[wpPistol] < before;
  }
  EXPECT_EQ(shots, 3);
  // Switching passes over weapons without a copy or without ammunition, one sound each.
  Start({"P......"});
  P().ammo[wpPistol] = 0, P().count[wpRpg] = 1;  // the RPG without ammunition
  P().count[wpShrinker] = 1, P().ammo[wpShrinker] = 5;
  Hold(0, biSwitch);
  BurrPlayerUpdate(0);
  EXPECT_EQ(std::make_tuple(int(P().weapon),
                            int(std::count(events.sounds.begin(), events.sounds.end(), buWeapon))),
            std::make_tuple(int(wpShrinker), 4));
  // Fire and switch in one step: the shot leaves with the old weapon.
  Start({"P......"});
  P().faceDx = 1, P().count[wpBall] = 1, P().ammo[wpBall] = 3;
  Hold(0, biFire), Hold(0, biSwitch);
  BurrPlayerUpdate(0);
  EXPECT_EQ(std::make_tuple(P().ammo[wpPistol], int(P().weapon)), std::make_tuple(47, int(wpBall)));
}

TEST_F(BurrGame, RandomBonusesAndLevelCompletion) {
  EXPECT_EQ(std::make_tuple(BurrBonusPeriod(1), BurrBonusPeriod(2), BurrBonusPeriod(3),
                            BurrBonusPeriod(4), BurrBonusPeriod(5)),
            std::make_tuple(128, 64, 42, 32, 25));
  Start({"P......"}, 5);
  gBurr.fruit[0].live = 1;  // keeps the level going
  gCom.stepCounter = 25;
  BurrStep();
  EXPECT_NE(gBurr.bonuses[0].kind, 0);

  // With fruit, the level is done when the last is eaten, enemies or not.
  Start({"P*.B"});
  gBurr.enemies[0].state = esAlive;
  gBurr.fruit[0].live = 0;
  BurrStep();
  EXPECT_EQ(std::make_tuple(int(gCom.k[gkBurrower].state), gCom.countdown),
            std::make_tuple(int(gsLevelDone), 16));
  // Fruit and no brooder: not done while fruit is left.
  // Without fruit: when no enemy and no egg is left.
  for (const char* row : {"P*.", "P.B"}) {
    Start({row});
    BurrStep();
    EXPECT_EQ(gCom.k[gkBurrower].state, gsPlaying) << row;
  }
  gBurr.brooders[0].eggs = 0;
  BurrStep();
  EXPECT_EQ(gCom.k[gkBurrower].state, gsLevelDone);
}

// The mouse steers toward the pointer once it is 10 pixels away; the cursor shows the way.
TEST_F(BurrGame, TheMouseSteersTowardThePointer) {
  HeadlessPlatform platform;
  SetPlatform(&platform);
  Start({"....", ".P..", "...."});
  gCom.player[0].input = piMouse;
  struct Case {
    int dx, dy;  // pointer pixels from the player's centre
    BurrInput command;
    int shape;
  };
  const Case cases[] = {{0, -10, biUp, 3},
                        {0, 12, biDown, 4},
                        {-11, 3, biLeft, 1},
                        {15, -15, biUp, 3},
                        {9, 0, biCount, 0}};
  for (const Case& c : cases) {
    gCom.mouseX = (P().x + c.dx * kBurrUnit) / kBurrUnit;
    gCom.mouseY = (P().y + c.dy * kBurrUnit) / kBurrUnit;
    CaptureInput();
    BurrReadInput(0);
    for (int i = biLeft; i <= biDown; ++i)
      EXPECT_EQ(P().input[i], i == c.command) << c.dx << "," << c.dy << " " << i;
    EXPECT_EQ(gCom.cursorShape, c.shape);
  }
  SetPlatform(nullptr);
}

}  // namespace
}  // namespace kelvra
