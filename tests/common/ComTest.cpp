// Shared state: the random generator, the effect pools, field helpers and the state
// machine that StepDispatch runs on top of every game.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPictures.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Kinds.h"
#include "monsters/MonsLevel.h"

namespace kelvra {
namespace {

class ComTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    gBrickLevels.assign(3, TLevel{});
    // One wall per level, so that a level in play is not complete at once.
    gBrickPictures = TBrickPictures{};
    gBrickPictures.shapes = 1;
    gBrickPictures.width[0] = 32;
    gBrickPictures.height[0] = 16;
    for (TLevel& l : gBrickLevels) {
      NewBrickLevel(l);
      l.Walls().push_back(TWall{100, 100, 0, 0, 0, {}});
    }
    SetEvents(&events);
  }
  void TearDown() override {
    SetEvents(nullptr);
    gBrickLevels.clear();
    gMonsLevels.clear();
    gBrickPictures = TBrickPictures{};
  }
  THeadlessEvents events;
  int& endGames = events.gamesEnded;
  std::vector<int>& sounds = events.sounds;
};

TEST_F(ComTest, HeaderIs180BytesWithFieldsAtTheirOffsets) {
  using H = TLevelSetHeader;
  EXPECT_EQ(std::vector<size_t>({sizeof(H), offsetof(H, levelCount), offsetof(H, lock),
                                 offsetof(H, description), offsetof(H, finalMessage),
                                 offsetof(H, saveCounter), offsetof(H, editingTime),
                                 offsetof(H, lastSave)}),
            std::vector<size_t>({180, 16, 28, 32, 96, 160, 164, 172}));
}

// The generator's sequence is pinned by the golden digests; a range of nothing gives 0.
TEST_F(ComTest, RandomOfAnEmptyRangeIsZero) {
  Randomize(0xFFFFFFFF);
  EXPECT_EQ(Random(0) | Random(-5), 0);
}

TEST_F(ComTest, PoolsTakeTheLowestFreeSlotAndDropWhenFull) {
  for (int i = 0; i < kBursts + 5; ++i) AddBurst(i, i, i & 3);
  EXPECT_EQ(gCom.burst[kBursts - 1].x, kBursts - 1);  // the extra five were dropped
  gCom.burst[10].life = 0;
  AddBurst(999, 1, 2);
  EXPECT_EQ(std::make_pair(int(gCom.burst[10].x), int(gCom.burst[10].life)),
            std::make_pair(999, int(kBurstLife)));
}

TEST_F(ComTest, PoolsAgeAsTheirTablesSay) {
  AddBurst(0, 0, 0);
  gCom.burst[1] = {9, 0, 0, 0};
  gCom.burst[2] = {8, 0, 0, 0};
  DecayBursts();
  EXPECT_EQ(
      std::make_tuple(int(gCom.burst[0].life), int(gCom.burst[1].life), int(gCom.burst[2].life)),
      std::make_tuple(247, 1, 0));

  AddSpark(5, 100, 2, 7, -3);
  DecaySparks();
  EXPECT_EQ(std::make_pair(int(gCom.spark[0].life), int(gCom.spark[0].y)), std::make_pair(1, 97));
  DecaySparks();
  EXPECT_EQ(gCom.spark[0].life, 0);

  gCom.kind = gkBrickfall;
  AddBlast(0, 5000, 1);
  DecayBlasts();
  EXPECT_EQ(std::make_pair(int(gCom.blast[0].life), int(gCom.blast[0].y)),
            std::make_pair(int(kBlastLife) - 1024, 5000 - 1024));
  int steps = 1;
  while (gCom.blast[0].life) {
    DecayBlasts();
    ++steps;
  }
  EXPECT_EQ(steps, 21);  // 21503 / 1024 rounds down to 20 ageing steps, then freed
  gCom.kind = gkBurrower;
  AddBlast(0, 5000, 1);
  DecayBlasts();
  EXPECT_EQ(gCom.blast[0].y, 5000 - 16);
}

TEST_F(ComTest, CompletedLevelAdvancesThroughLevelStartingOrEndsTheLast) {
  TKindState& s = Cur();
  KindOps(gkBrickfall).StartGame();
  s.state = gsLevelDone;
  s.levelIndex = 0;
  s.levelTime = 5000;
  gCom.countdown = 16;
  for (int i = 0; i < 15; ++i) StepDispatch();
  EXPECT_EQ(s.state, gsLevelDone);
  StepDispatch();
  EXPECT_EQ(
      std::make_tuple(int(s.state), int(s.levelIndex), uint32_t(s.levelTime), int(gCom.countdown)),
      std::make_tuple(int(gsLevelStarting), 1, 0u, 16));
  for (int i = 0; i < 16; ++i) StepDispatch();
  EXPECT_EQ(std::make_pair(int(s.state), endGames), std::make_pair(int(gsPlaying), 0));

  // The last of the three levels completed ends them all.
  s.state = gsLevelDone;
  s.levelIndex = 2;
  gCom.countdown = 16;
  for (int i = 0; i < 16; ++i) StepDispatch();
  EXPECT_EQ(std::make_tuple(int(s.state), int(s.levelIndex), endGames),
            std::make_tuple(int(gsAllLevelsDone), 2, 1));
}

TEST_F(ComTest, TestGameLosingAllPlayersEndsAtOnce) {
  TKindState& s = Cur();
  s.testGame = 1;
  s.state = gsPlayersOut;
  StepDispatch();
  EXPECT_EQ(std::make_tuple(int(s.state), endGames, sounds),
            std::make_tuple(int(gsGameEnded), 1, std::vector<int>{kSoundGameOver}));
  for (const TBurst& b : gCom.burst) EXPECT_EQ(b.life, 0);
}

TEST_F(ComTest, GameOverShowAdds31Bursts) {
  gCom.kind = gkMonsters;
  gMonsLevels.resize(1);
  TKindState& s = Cur();
  s.state = gsPlayersOut;
  Randomize(12345);
  StepDispatch();
  EXPECT_EQ(std::make_tuple(sounds, int(s.state), int(gCom.countdown)),
            std::make_tuple(std::vector<int>{kSoundWin}, int(gsGameOverShow), 64));
  for (int i = 0; i < 64; ++i) StepDispatch();
  int bursts = 0;
  for (const TBurst& b : gCom.burst) {
    if (b.life == 0) continue;
    ++bursts;
    EXPECT_TRUE(b.x >= s.field.left && b.x <= s.field.right) << b.x;
    EXPECT_TRUE(b.y >= s.field.top && b.y <= s.field.bottom) << b.y;
  }
  // the per-frame check finishes the show
  EXPECT_EQ(std::make_tuple(bursts, int(gCom.countdown), int(s.state)),
            std::make_tuple(31, 0, int(gsGameOverShow)));
}

TEST_F(ComTest, BurstDrawOrderIsYThenXThenVariant) {
  TKindState& s = Cur();
  s.state = gsGameOverShow;
  gCom.countdown = 40;
  Randomize(777);
  StepDispatch();
  Randomize(777);
  int32_t y = s.field.top + Random(s.field.bottom - s.field.top + 1);
  int32_t x = s.field.left + Random(s.field.right - s.field.left + 1);
  int32_t variant = Random(4);
  EXPECT_EQ(std::make_tuple(int32_t(gCom.burst[0].x), int32_t(gCom.burst[0].y),
                            int32_t(gCom.burst[0].variant)),
            std::make_tuple(x, y, variant));
}

}  // namespace
}  // namespace kelvra
