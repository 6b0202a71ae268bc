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
    TDigest other(mode);  // differs in the last byte only, in a word not yet full
    other.Bytes(raw, sizeof raw - 1);
    other.U8(0x02);
    EXPECT_NE(other.Value(), bytes.Value()) << mode;
  }
  TDigest fnv, words(TDigest::kWords);
  EXPECT_NE(fnv.Value(), words.Value());
}

// The two hashes of one stream, as stored files hold them: a change of either would make
// every replay written before it diverge at its first checkpoint.
TEST(DigestTest, TheHashesKeepTheirValues) {
  for (auto [mode, value] : {std::pair{TDigest::kFnvBytes, 0x17813249e8e5692cull},
                             std::pair{TDigest::kWords, 0x42188911207a73bcull}}) {
    TDigest d(mode);
    for (uint32_t i = 0; i < 37; ++i) d.U32(i * 2654435761u);
    d.U8(7);
    EXPECT_EQ(DigestHex(d.Value()), DigestHex(value)) << mode;
  }
}

// A block of 32-bit records is the same stream as its fields one by one, wherever in a word
// it starts and however many values it holds.
TEST(DigestTest, ABlockOfRecordsIsItsFieldsInOrder) {
  struct TTriple {
    int32_t a, b, c;
  };
  TTriple triples[7];
  for (int i = 0; i < 7; ++i) triples[i] = {i * 0x01010101, -i, 0x7F000000 + i};
  for (TDigest::Mode mode : {TDigest::kFnvBytes, TDigest::kWords}) {
    for (int lead = 0; lead < 8; ++lead) {
      for (int n = 0; n <= 7; ++n) {
        TDigest block(mode), fields(mode);
        for (int i = 0; i < lead; ++i) {
          block.U8(uint8_t(i));
          fields.U8(uint8_t(i));
        }
        block.Plain32(triples, size_t(n));
        for (int i = 0; i < n; ++i) {
          fields.I32(triples[i].a);
          fields.I32(triples[i].b);
          fields.I32(triples[i].c);
        }
        block.U16(0xBEEF);
        fields.U16(0xBEEF);
        EXPECT_EQ(block.Value(), fields.Value()) << mode << " " << lead << " " << n;
      }
    }
  }
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

// The live digest of a replay's checkpoints: what a free entry still holds is left out, but
// not which entries are in use nor what a live one holds.
TEST_F(GameDigestTest, TheLiveDigestLeavesOutFreeEntriesOnly) {
  const uint64_t live = GameDigest(TDigest::kLiveWords);
  auto changesLive = [&](auto change) {
    change();
    const bool changed = GameDigest(TDigest::kLiveWords) != live;
    ResetCom();
    ResetBrickState(TBrickReset::kAll);
    EXPECT_EQ(GameDigest(TDigest::kLiveWords), live);
    return changed;
  };
  EXPECT_FALSE(changesLive([] { gBrick.balls[3].x = 9; }));
  EXPECT_FALSE(changesLive([] { gBrick.effects.smallSnow[4000].x = 9; }));
  EXPECT_FALSE(changesLive([] { gCom.spark[5].x = 9; }));
  EXPECT_FALSE(changesLive([] { gBrick.walls[gBrick.wallCount].alive = 1; }));  // never used
  EXPECT_TRUE(changesLive([] { gBrick.balls[3].state = kBallHeld; }));
  EXPECT_TRUE(changesLive([] { gBrick.effects.smallSnow[4000].speed = 200; }));
  EXPECT_TRUE(changesLive([] { gCom.randSeed = 5; }));
  // The same live entry in another place is another state.
  auto liveAt = [](int i) {
    ResetBrickState(TBrickReset::kAll);
    gBrick.bonuses[i] = {1, 100, 200, 16, 8, 0, 3, 2};
    return GameDigest(TDigest::kLiveWords);
  };
  EXPECT_NE(liveAt(0), liveAt(1));
  gBrick.wallCount = 3;
  gBrick.walls[1] = {1, 10, 20, 30, 40, 2, 1, 0};
  const uint64_t oneWall = GameDigest(TDigest::kLiveWords);
  gBrick.walls[1].hits = 0;
  EXPECT_NE(GameDigest(TDigest::kLiveWords), oneWall);
}

}  // namespace
}  // namespace kelvra
