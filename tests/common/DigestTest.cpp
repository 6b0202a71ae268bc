// The state digest: which parts of the game state it covers. The hash itself and its byte
// order are pinned by the golden digests (tests/golden), which change with any of them.
#include <gtest/gtest.h>

#include "brickfall/BrickState.h"
#include "common/Com.h"
#include "common/GameDigest.h"

namespace kelvra {
namespace {

// Both hashes see one byte stream, however it is cut into fields (the word hash across its
// word boundaries too); a trailing zero byte changes the word hash.
TEST(DigestTest, NumbersGoInLittleEndianWithTheirOwnWidth) {
  for (TDigest::Mode mode : {TDigest::kFnvBytes, TDigest::kWords}) {
    TDigest bytes(mode), numbers(mode), padded(mode);
    const uint8_t raw[] = {0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12,
                           0x7F, 0x04, 0x03, 0x02, 0x01, 0x04, 0x03, 0x02, 0x01};
    bytes.Bytes(raw, sizeof raw);
    padded.Bytes(raw, sizeof raw);
    padded.U8(0);
    numbers.U32(0x01020304);
    numbers.I32(-2);
    numbers.U16(0x1234);
    numbers.U8(0x7F);
    numbers.U32(0x01020304);
    numbers.U32(0x01020304);
    EXPECT_EQ(numbers.Value(), bytes.Value()) << mode;
    EXPECT_NE(padded.Value(), bytes.Value()) << mode;
  }
  TDigest fnv, words(TDigest::kWords);
  EXPECT_NE(fnv.Value(), words.Value());
}

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
