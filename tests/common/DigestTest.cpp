// The state digest: the hash's known values, its field-by-field byte order, and which
// parts of the game state it covers.
#include <gtest/gtest.h>

#include <cstring>

#include "brickfall/BrickState.h"
#include "common/Com.h"
#include "common/GameDigest.h"

namespace kelvra {
namespace {

TEST(DigestTest, HashIsFnv1a64) {
  struct Vector {
    const char* text;
    uint64_t hash;
  };
  const Vector vectors[] = {
      {"", 0xcbf29ce484222325ull}, {"a", 0xaf63dc4c8601ec8cull}, {"foobar", 0x85944171f73967e8ull}};
  for (const Vector& v : vectors) {
    TDigest d;
    d.Bytes(v.text, std::strlen(v.text));
    EXPECT_EQ(d.Value(), v.hash) << v.text;
  }
}

TEST(DigestTest, NumbersGoInLittleEndianWithTheirOwnWidth) {
  TDigest bytes, numbers;
  const uint8_t raw[] = {0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12, 0x7F};
  bytes.Bytes(raw, sizeof raw);
  numbers.U32(0x01020304);
  numbers.I32(-2);
  numbers.U16(0x1234);
  numbers.U8(0x7F);
  EXPECT_EQ(numbers.Value(), bytes.Value());

  TDigest narrow, wide;  // a value fed at another width is another digest
  narrow.U16(5);
  wide.U32(5);
  EXPECT_NE(narrow.Value(), wide.Value());
}

TEST(DigestTest, HexHasSixteenLowerCaseDigits) {
  EXPECT_EQ(DigestHex(0) + DigestHex(0xcbf29ce484222325ull) + DigestHex(0xFFFFFFFFFFFFFFFFull),
            "0000000000000000cbf29ce484222325ffffffffffffffff");
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
  EXPECT_TRUE(Changes([] { gCom.stepCounter = 1; }));
  EXPECT_TRUE(Changes([] { gCom.countdown = 16; }));
  EXPECT_TRUE(Changes([] { gCom.cursorShape = 2; }));
  EXPECT_TRUE(Changes([] { Cur().state = gsLevelDone; }));
  EXPECT_TRUE(Changes([] { Cur().levelIndex = 3; }));
  EXPECT_TRUE(Changes([] { Cur().gameTime = 28; }));
  EXPECT_TRUE(Changes([] { Cur().levelTime = 28; }));
  EXPECT_TRUE(Changes([] { Cur().score[4] = 10; }));
  EXPECT_TRUE(Changes([] { Cur().playersMinusOne = 4; }));
  EXPECT_TRUE(Changes([] { gCom.burst[127].y = 1; }));
  EXPECT_TRUE(Changes([] { gCom.spark[63].vy = 1; }));
  EXPECT_TRUE(Changes([] { gCom.blast[31].life = 1; }));
  EXPECT_TRUE(Changes([] { gBrick.walls[kBrickFieldWalls - 1].bonus = 1; }));
  EXPECT_TRUE(Changes([] { gBrick.wallCount = 1; }));
  EXPECT_TRUE(Changes([] { gBrick.players[4].undeadBall = 1; }));
  EXPECT_TRUE(Changes([] { gBrick.balls[31].owner = 1; }));
  EXPECT_TRUE(Changes([] { gBrick.bonuses[63].kind = 1; }));
  EXPECT_TRUE(Changes([] { gBrick.shots[31].owner = 1; }));
  EXPECT_TRUE(Changes([] { gBrick.enemies[17].targetVelocityY = 1; }));
  EXPECT_TRUE(Changes([] { gBrick.game.waterDrift = 1; }));
  EXPECT_TRUE(Changes([] { gBrick.effects.smallSnow[kSmallFlakes - 1].y = 1; }));
  EXPECT_TRUE(Changes([] { gBrick.effects.fire[kFlames - 1].phase = 1; }));
  // Two swapped values are another state.
  EXPECT_TRUE(Changes([] {
    gBrick.balls[0].x = 1;
    gBrick.balls[1].x = 2;
  }));
}

TEST_F(GameDigestTest, LeavesOutWhatIsNotGameState) {
  // The frame counter, the file name, the other kinds and the pointer are the window's.
  EXPECT_FALSE(Changes([] { gCom.frameCounter = 7; }));
  EXPECT_FALSE(Changes([] { Cur().fileName = "/somewhere/else.BrL"; }));
  EXPECT_FALSE(Changes([] { Cur().shownGameTime = 0; }));
  EXPECT_FALSE(Changes([] { gCom.k[gkBurrower].score[0] = 5; }));
  EXPECT_FALSE(Changes([] { gCom.mouseX = 100; }));
  // Monsters hashes its shared part only, and so does not see Brickfall's tables.
  gCom.kind = gkMonsters;
  base = GameDigest();
  EXPECT_FALSE(Changes([] { gBrick.balls[0].x = 5; }));
  EXPECT_TRUE(Changes([] { gCom.randSeed = 5; }));
}

}  // namespace
}  // namespace kelvra
