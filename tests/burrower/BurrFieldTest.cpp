// Burrower's field on hand-built levels: the lattice arithmetic, the contact test, the
// placing of shots, and the level start's squares, lines, corners, objects and players.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "BurrTestUtil.h"

namespace kelvra {
namespace {

using test::StartBurrLevel;

class BurrField : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    ResetBurrState();
  }
  void TearDown() override { gBurrLevels.clear(); }
};

TEST_F(BurrField, LatticeArithmetic) {
  const int32_t indexes[][2] = {{-432, -2}, {-431, 0}, {-1, 0},  {0, 0},    {47, 0},
                                {48, 1},    {431, 1},  {432, 2}, {9983, 46}};
  for (const auto& [v, index] : indexes) EXPECT_EQ(LatticeIndex(v), index) << v;
  EXPECT_EQ(std::make_tuple(LatticeStart(0), LatticeStart(1), LatticeStart(2), LatticeStart(45)),
            std::make_tuple(0, 48, 432, 22 * 432 + 48));
  EXPECT_EQ(
      std::make_tuple(LaneOffset(240), LaneOffset(240 + 432 * 3), LaneOffset(340), LaneOffset(140)),
      std::make_tuple(0, 0, 100, -100));
  EXPECT_TRUE(Blocked(-432, 100) && Blocked(100, 5232 + 432) && !InsideLattice(-432, 0) &&
              InsideLattice(-1, -431));
  // dx, dy and the direction.
  const int32_t directions[][3] = {{-5, 0, 0}, {0, 5, 1}, {5, 4, 2},
                                   {0, -1, 3}, {0, 0, 1}, {3, -3, 3}};
  for (const auto& [dx, dy, direction] : directions)
    EXPECT_EQ(DirectionOf(dx, dy), direction) << dx << "," << dy;
}

TEST_F(BurrField, ContactTest) {
  StartBurrLevel({"#.#", "...", "#.#"});
  // A box over the open middle square touches nothing; against the left wall square of
  // row 0 from the right it touches on its left.
  const int32_t mid = LatticeStart(3);
  EXPECT_FALSE(ContactTest(mid + 10, mid + 10, mid + 300, mid + 300).touching);
  const TContact left = ContactTest(LatticeStart(1) + 300, LatticeStart(1) + 10,
                                    LatticeStart(3) + 10, LatticeStart(1) + 200);
  EXPECT_EQ(std::make_tuple(left.touching, left.sideX, left.sideY, left.x),
            std::make_tuple(true, -1, 0, LatticeStart(1) + 300));
  // One corner in a wall square: both sides toward it.
  const TContact corner = ContactTest(LatticeStart(1) + 300, LatticeStart(1) + 300,
                                      LatticeStart(3) + 100, LatticeStart(3) + 100);
  EXPECT_EQ(std::make_tuple(corner.sideX, corner.sideY, corner.x, corner.y),
            std::make_tuple(-1, -1, LatticeStart(1) + 300, LatticeStart(1) + 300));
  // Two diagonally opposite corners alone give no contact; all four give the centre.
  CellAt(3, 3) = lcWall;
  EXPECT_FALSE(ContactTest(LatticeStart(1) + 300, LatticeStart(1) + 300, LatticeStart(3) + 10,
                           LatticeStart(3) + 10)
                   .touching);
  const TContact all = ContactTest(0, 0, 20, 20);
  EXPECT_EQ(std::make_tuple(all.touching, all.x, all.y, all.sideX),
            std::make_tuple(true, 10, 10, 0));
}

TEST_F(BurrField, PlaceShotAndOpenSquares) {
  const TBox box{1000, 2000, 1319, 2319};
  // Direction, x, y.
  const int32_t shots[][3] = {{0, 1000 - 16 - 40 + 1, (2000 + 2319 - 20) / 2},
                              {1, (1000 + 1319 - 40) / 2, 2319 + 16},
                              {2, 1319 + 16, 2149},
                              {3, 1139, 2000 - 16 - 20 + 1}};
  for (const auto& [direction, wantX, wantY] : shots) {
    int32_t x = 0, y = 0;
    PlaceShot(box, 40, 20, 16, direction, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(wantX, wantY)) << direction;
  }
  // The only open square is found whatever the draw; with none the position stays.
  std::vector<std::string> rows(12, std::string(23, ':'));
  rows[7][4] = 'P';
  StartBurrLevel(rows);
  int32_t left = -1, top = -1;
  EXPECT_TRUE(RandomOpenSquare(left, top));
  EXPECT_EQ(std::make_pair(left, top), std::make_pair(LatticeStart(9), LatticeStart(15)));
  CellAt(9, 15) = lcEarth;
  EXPECT_FALSE(RandomOpenSquare(left, top));
  EXPECT_EQ(std::make_pair(left, top), std::make_pair(LatticeStart(9), LatticeStart(15)));
}

TEST_F(BurrField, LinesAndCornersTakeTheStrongestNeighbour) {
  StartBurrLevel({"#:.", "::.", "...", "#"});
  // (0, 0) wall beside (1, 0) earth: the line between is wall; below it earth.
  EXPECT_EQ(std::make_tuple(CellAt(1, 1), CellAt(2, 1), CellAt(1, 2), CellAt(3, 2), CellAt(4, 1)),
            std::make_tuple(lcWall, lcWall, lcWall, lcEarth, lcEarth));
  // The corner between (0, 0) .. (1, 1): one wall line, three earth lines; open ones.
  EXPECT_EQ(std::make_tuple(CellAt(2, 2), CellAt(6, 6), CellAt(5, 6), CellAt(6, 5)),
            std::make_tuple(lcWall, lcOpen, lcOpen, lcOpen));
  // Border lines follow their single square: wall above (0, 0), open above an open square;
  // the bottom border below (0, 3) is wall, the left border line of row 3 too.
  EXPECT_EQ(std::make_tuple(CellAt(1, 0), CellAt(5, 0), CellAt(1, 8), CellAt(0, 7), CellAt(0, 0)),
            std::make_tuple(lcWall, lcOpen, lcWall, lcWall, lcWall));
}

TEST_F(BurrField, ObjectsAndPlayersAtLevelStart) {
  // No start square and no brooder: player 0 at (2208, 1296), the others a square apart.
  StartBurrLevel({"..."}, 3);
  for (int p = 0; p < kBurrPlayers; ++p)
    EXPECT_EQ(
        std::make_tuple(gBurr.players[p].x, gBurr.players[p].y, bool(gBurr.players[p].active)),
        std::make_tuple(2208 + 432 * p, 1296, p < 3))
        << p;
  EXPECT_EQ(std::make_tuple(gBurr.players[0].health, gBurr.players[0].ammo[wpPistol],
                            gBurr.players[0].count[wpPistol], gBurr.players[0].w),
            std::make_tuple(kFullHealth, 48, 1, 320));

  // Six start squares: the sixth is open and starts nobody; a brooder on level 3 holds 12
  // eggs; fruit sits centred in its square by its picture's size; codes above 6 make nothing.
  StartBurrLevel({"PPPPPP*@B9", ":::::::::9"}, 5, 3);
  EXPECT_EQ(std::make_tuple(gBurr.players[4].x, CellAt(11, 1), gBurr.brooders[0].eggs,
                            gBurr.brooders[0].x, gBurr.fruit[0].x, gBurr.apples[0].y),
            std::make_tuple(LatticeStart(9) + 192, lcOpen, 12, LatticeStart(17) + 192,
                            LatticeStart(13) + (24 - 14) * 8, LatticeStart(1) + 192));
  EXPECT_EQ(std::make_tuple(CellAt(13, 1), CellAt(15, 1), CellAt(19, 1), CellAt(19, 3)),
            std::make_tuple(lcEarth, lcEarth, lcOpen, lcOpen));
  EXPECT_TRUE(gBurr.hadFruit);

  // More fruit than the pool holds: the rest are earth squares with no fruit.
  std::vector<std::string> rows(4, std::string(23, '*'));
  rows[3] = "P";
  StartBurrLevel(rows);
  EXPECT_EQ(std::make_tuple(gBurr.fruit[kFruit - 1].live, CellAt(2 * 20 + 1, 2 * 2 + 1)),
            std::make_tuple(1, lcEarth));

  // A level start keeps the weapons, a game start gives the Pistol back.
  gBurr.players[1].ammo[wpRpg] = 15;
  BurrLevelStart();
  const int32_t kept = gBurr.players[1].ammo[wpRpg];
  BurrGameStart();
  EXPECT_EQ(std::make_pair(kept, gBurr.players[1].ammo[wpRpg]), std::make_pair(15, 0));
}

}  // namespace
}  // namespace kelvra
