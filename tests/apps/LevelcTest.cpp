// Checks the default level sets that kelvra-levelc wrote into the data tree at build time:
// each loads back through the level-set service without a dialog and holds its levels.
#include <gtest/gtest.h>

#include <string>

#include "brickfall/BrickLevel.h"
#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "common/FileIO.h"
#include "common/LevelSet.h"
#include "monsters/MonsLevel.h"
#include "platform/Headless.h"

namespace kelvra {
namespace {

class LevelcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    SetPlatform(&platform_);
  }
  void TearDown() override {
    for (int k = 0; k < kKinds; ++k) {
      gCom.kind = uint8_t(k);
      CloseLevelSet();
    }
    SetPlatform(nullptr);
    ResetCom();
  }
  // Loads the default set of a kind; true when it loaded without asking anything.
  bool Load(int kind) {
    gCom.kind = uint8_t(kind);
    std::string path = std::string(KELVRA_TEST_DATA_DIR) + "/Levels/" + KindName(kind) +
                       "/Default." + KindExtension(kind);
    EXPECT_TRUE(FileExists(path)) << path;
    bool ok = LoadLevelSet(path);
    EXPECT_TRUE(platform_.log.empty()) << platform_.log.front();
    return ok;
  }
  HeadlessPlatform platform_;
};

TEST_F(LevelcTest, BrickfallDefaultSet) {
  ASSERT_TRUE(Load(gkBrickfall));
  const TKindState& s = gCom.k[gkBrickfall];
  EXPECT_EQ(s.header.levelCount, 4);
  ASSERT_EQ(gBrickLevels.size(), 4u);
  EXPECT_EQ(GetShortString(s.header.description, 64), "Kelvra Brickfall: four walls to warm up");
  EXPECT_EQ(GetShortString(s.header.finalMessage, 64), "Well played! Every wall is down.");
  EXPECT_EQ(s.header.saveCounter, 1u);
  EXPECT_EQ(+s.header.editingTime, 0);
  EXPECT_EQ(s.header.lock, 0u);
  for (const TLevel& level : gBrickLevels) {
    EXPECT_FALSE(level.Walls().empty());
    for (const TWall& w : level.Walls()) {
      EXPECT_EQ(w.shape, 0);
      EXPECT_LE(w.colour, 5);
      EXPECT_GE(w.x, 0);
      EXPECT_LE(w.x + 32, 512);
      EXPECT_GE(w.y, 0);
      EXPECT_LE(w.y + 16, 384);
    }
  }
  // Level 3 is drawn in one quarter and mirrored by its flags.
  EXPECT_EQ(gBrickLevels[2].f.rightIsLeft, 255);
  EXPECT_EQ(gBrickLevels[2].f.backgroundKind, 3);
  EXPECT_EQ(gBrickLevels[0].f.backgroundEffect, 16);
}

TEST_F(LevelcTest, MonstersDefaultSet) {
  ASSERT_TRUE(Load(gkMonsters));
  EXPECT_EQ(gCom.k[gkMonsters].header.levelCount, 4);
  ASSERT_EQ(gMonsLevels.size(), 4u);
  EXPECT_EQ(GetShortString(gMonsLevels[0].name, kMonsNameBytes), "Meadow");
  for (const TMonsLevel& level : gMonsLevels) {
    int players = 0, houses = 0, monsters = 0;
    for (int i = 0; i < kMonsCols * kMonsRows; ++i) {
      const uint8_t* sq = &level.Grid()[i * 3];
      EXPECT_LE(sq[0], 11);
      players += sq[0] == 7;
      houses += sq[0] == 8;
      monsters += sq[0] == 9;
    }
    EXPECT_EQ(players, 4);
    EXPECT_EQ(houses, 4);
    EXPECT_GT(monsters, 0);
  }
  // The monster at column 25, row 8 of "Meadow" starts heading right.
  const uint8_t* sq = &gMonsLevels[0].Grid()[(25 * kMonsRows + 8) * 3];
  EXPECT_EQ(sq[0], 9);
  EXPECT_EQ(sq[2], 2);
}

TEST_F(LevelcTest, BurrowerDefaultSet) {
  ASSERT_TRUE(Load(gkBurrower));
  EXPECT_EQ(gCom.k[gkBurrower].header.levelCount, 3);
  ASSERT_EQ(gBurrLevels.size(), 3u);
  for (const TBurrLevel& level : gBurrLevels) {
    int count[7] = {};
    for (uint8_t code : level.Record()) {
      ASSERT_LE(code, 6);
      ++count[code];
    }
    EXPECT_EQ(count[bsPlayer], 5);
    EXPECT_GE(count[bsBrooder], 1);
    EXPECT_LE(count[bsBrooder], 8);
    EXPECT_LE(count[bsFruit], 64);
    EXPECT_LE(count[bsApple], 32);
  }
}

}  // namespace
}  // namespace kelvra
