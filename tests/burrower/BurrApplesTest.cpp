// Burrower's apples on hand-built lattices: held over a dug square, breaking the line,
// falling faster, crushing, stacking and sliding.
#include <gtest/gtest.h>

#include <tuple>

#include "BurrTestUtil.h"
#include "burrower/BurrApples.h"
#include "burrower/BurrField.h"
#include "common/Com.h"

namespace kelvra {
namespace {

class BurrApples : public ::testing::Test {
 protected:
  // Every cell earth; square (x, y) and the ones named open; an apple in square (2, 2).
  void SetUp() override {
    ResetCom();
    ResetBurrState();
    gCom.kind = gkBurrower;
    for (auto& column : gBurr.lattice) std::fill(std::begin(column), std::end(column), lcEarth);
    apple = &gBurr.apples[0];
    *apple = {1, 0, Centre(2), Centre(2), 0, 0, 384, 384};
  }
  static int32_t Centre(int square) { return LatticeStart(2 * square + 1) + kSquareCentre; }
  static void Open(int x, int y) { CellAt(2 * x + 1, 2 * y + 1) = lcOpen; }
  TApple* apple = nullptr;
};

TEST_F(BurrApples, HeldThirtyTwoStepsOverADugSquareThenBreaksThrough) {
  Open(2, 3);
  for (int i = 0; i < 32; ++i) StepApples();
  EXPECT_EQ(std::make_tuple(apple->y, apple->wobble, CellAt(5, 6)),
            std::make_tuple(Centre(2), 32, lcEarth));
  StepApples();
  EXPECT_EQ(std::make_tuple(apple->y, apple->wobble, CellAt(5, 6)),
            std::make_tuple(Centre(2) + 16, 0, lcOpen));
  // Over an open line with an open square below it falls at once, faster every step.
  Open(2, 4);
  CellAt(5, 8) = lcOpen;
  int32_t y = apple->y;
  for (int32_t expected : {16, 16, 16}) {
    StepApples();
    EXPECT_EQ(apple->y - y, expected);
    y = apple->y;
  }
  // Earth below holds it: it lands.
  for (int i = 0; i < 60; ++i) StepApples();
  EXPECT_EQ(apple->vy, 0);
  EXPECT_LE(apple->y + apple->h / 2, LatticeStart(10));
}

TEST_F(BurrApples, AFastAppleCrushesAPlayerAndStopsBeforeHim) {
  for (int y = 3; y < 8; ++y) Open(2, y);
  for (int r = 6; r < 16; ++r) CellAt(5, r) = lcOpen;
  TBurrPlayer& pl = test::PutPlayer(0, Centre(2), Centre(2) + 192 + 160 + 8);  // under the apple
  apple->vy = 19;                                                              // 20 after gravity
  const int32_t before = apple->y;
  StepApples();
  EXPECT_EQ(std::make_tuple(pl.wound, apple->vy, apple->y), std::make_tuple(320, 0, before));
  EXPECT_LT(apple->y + apple->h / 2 - 1, pl.y - pl.h / 2 + 16);  // stopped short of him
  StepApples();                                                  // vy 1: onto him, no crushing
  EXPECT_EQ(pl.wound, 320);
  StepApples();  // vy 2: a blow of 32, less for the wound he has: 32 x (1024 - 320) / 1024
  EXPECT_EQ(pl.wound, 320 + 22);
}

TEST_F(BurrApples, StackedApplesAndSliding) {
  for (int y = 3; y < 6; ++y) Open(2, y);
  for (int r = 6; r < 12; ++r) CellAt(5, r) = lcOpen;
  gBurr.apples[1] = {1, 0, Centre(2), Centre(5), 0, 0, 384, 384};  // resting on earth
  for (int i = 0; i < 40; ++i) StepApples();
  EXPECT_LE(apple->y + apple->h / 2, gBurr.apples[1].y - gBurr.apples[1].h / 2 + 16)
      << apple->y << " " << gBurr.apples[1].y;
  EXPECT_EQ(gBurr.apples[1].y, Centre(5));

  // Pushed at 16: it slides 16 units a step for 15 steps, through earth and walls alike.
  SetUp();
  CellAt(7, 5) = lcWall;
  apple->vx = 16;
  for (int i = 0; i < 15; ++i) StepApples();
  EXPECT_EQ(std::make_tuple(apple->x, apple->vx), std::make_tuple(Centre(2) + 15 * 16, 1));
  StepApples();
  EXPECT_EQ(std::make_tuple(apple->x, apple->vx), std::make_tuple(Centre(2) + 15 * 16, 0));
}

}  // namespace
}  // namespace kelvra
