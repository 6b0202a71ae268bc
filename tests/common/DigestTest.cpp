// The state digest: which parts of the game state it covers. The hash itself and its byte
// order are pinned by the golden digests (tests/golden), which change with any of them.
#include <gtest/gtest.h>

#include "brickfall/BrickState.h"
#include "common/Com.h"
#include "common/GameDigest.h"

namespace kelvra {
namespace {

class GameDigestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    ResetBrickState(TBrickReset::kAll);
    base = GameDigest();
  }
  // The digest after `change`, with the state put back afterwards.
  template <typename F>
  bool Changes(F change) {
    const TCom com = gCom;
    change();
    const bool changed = GameDigest() != base;
    gCom = com;
    ResetBrickState(TBrickReset::kAll);
    EXPECT_EQ(GameDigest(), base);
    return changed;
  }
  uint64_t base = 0;
};

TEST_F(GameDigestTest, CoversTheGameState) {
  EXPECT_TRUE(Changes([] { gCom.randSeed = 1; }));
  EXPECT_TRUE(Changes([] { Cur().score[4] = 10; }));
  EXPECT_TRUE(Changes([] { gBrick.balls[31].owner = 1; }));
  // Two swapped values are another state.
  EXPECT_TRUE(Changes([] {
    gBrick.balls[0].x = 1;
    gBrick.balls[1].x = 2;
  }));
}

TEST_F(GameDigestTest, LeavesOutWhatIsNotGameState) {
  // The frame counter and the other kinds are not part of the running game.
  EXPECT_FALSE(Changes([] { gCom.frameCounter = 7; }));
  EXPECT_FALSE(Changes([] { gCom.k[gkBurrower].score[0] = 5; }));
  // Monsters hashes its shared part only, and so does not see Brickfall's tables.
  gCom.kind = gkMonsters;
  base = GameDigest();
  EXPECT_FALSE(Changes([] { gBrick.balls[0].x = 5; }));
  EXPECT_TRUE(Changes([] { gCom.randSeed = 5; }));
}

}  // namespace
}  // namespace kelvra
