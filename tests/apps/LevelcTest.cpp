// Checks the default level sets that kelvra-levelc wrote into the data tree at build time:
// each loads back through the level-set service without a dialog and holds its levels.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "DataDirTest.h"
#include "HeadlessTest.h"
#include "base/FileIO.h"
#include "base/Paths.h"
#include "brickfall/BrickGame.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPictures.h"
#include "brickfall/BrickState.h"
#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "monsters/MonsLevel.h"

namespace kelvra {
namespace {

class LevelcTest : public test::DataDirTest<test::HeadlessTest> {
 protected:
  // Loads the default set of a kind; true when it loaded without asking anything.
  bool Load(int kind) {
    gCom.kind = uint8_t(kind);
    std::string path = std::string(KELVRA_TEST_DATA_DIR) + "/Levels/" + KindName(kind) +
                       "/Default." + KindExtension(kind);
    EXPECT_TRUE(FileExists(path)) << path;
    bool ok = LoadLevelSet(gCom.kind, path);
    EXPECT_TRUE(headless.log.empty()) << headless.log.front();
    return ok;
  }
};

TEST_F(LevelcTest, BrickfallDefaultSet) {
  ASSERT_TRUE(Load(gkBrickfall));
  const TKindState& s = gCom.k[gkBrickfall];
  EXPECT_GE(s.header.levelCount, 30);
  ASSERT_EQ(gBrickLevels.size(), size_t(s.header.levelCount));
  EXPECT_EQ(GetShortString(s.header.description, 64),
            "Kelvra Brickfall: 32 walls from first light to the last");
  EXPECT_EQ(GetShortString(s.header.finalMessage, 64), "The last wall has fallen. Well played!");
  EXPECT_EQ(std::make_tuple(uint32_t(s.header.saveCounter), int64_t(s.header.editingTime),
                            uint32_t(s.header.lock), int(gBrickLevels[0].f.backgroundEffect)),
            std::make_tuple(1u, int64_t(0), 0u, 16));
}

// Every level of the default set, as the game builds it (mirrored copies included), keeps
// its walls inside the field, off the bottom where the paddles play and off the top edge
// where a top paddle plays in mirror games; a wall too strong for the normal ball only
// stands in a level that also offers a bigger ball; and every background picture exists.
TEST_F(LevelcTest, BrickfallDefaultLevelsLeaveRoomForThePaddles) {
  ASSERT_TRUE(Load(gkBrickfall));
  LoadBrickPictures();
  ASSERT_EQ(gBrickPictures.shapes, kWallShapes);
  for (size_t i = 0; i < gBrickLevels.size(); ++i) {
    SCOPED_TRACE("level " + std::to_string(i + 1));
    const TLevel& level = gBrickLevels[i];
    for (const TWall& w : level.Walls()) {
      EXPECT_TRUE(w.shape < kWallShapes && w.colour <= 5 && w.bonus < kBonusKinds);
    }
    EXPECT_LE(+level.f.gravity, 3);
    if (level.f.backgroundKind == 4) {  // a picture the content tool paints
      const std::string name = GetShortString(level.f.backgroundPicture, 96);
      EXPECT_TRUE(FileExists(std::string(KELVRA_TEST_DATA_DIR) + "/Levels/Brickfall/" + name))
          << name;
    }
    BuildPlayField(level, gBrickPictures.width, gBrickPictures.height, gBrickPictures.shapes);
    ASSERT_GT(gBrick.wallCount, 0);
    bool strongWall = false, biggerBall = false;
    for (int k = 0; k < gBrick.wallCount; ++k) {
      const TFieldWall& w = gBrick.walls[k];
      EXPECT_TRUE(w.x >= 0 && w.x + w.width <= 512 * kFxOne) << "wall " << k;
      EXPECT_TRUE(w.y >= 40 * kFxOne && w.y + w.height <= 300 * kFxOne) << "wall " << k;
      strongWall |= WallSizeClass(w.width, w.height) == 3;
      biggerBall |= w.bonus == 18;  // IncBallSize
    }
    EXPECT_TRUE(biggerBall || !strongWall);
  }
  ResetBrickState(TBrickReset::kAll);
  gBrickPictures = TBrickPictures{};
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
    EXPECT_EQ(std::make_tuple(players, houses, monsters > 0), std::make_tuple(4, 4, true));
  }
  // The monster at column 25, row 8 of "Meadow" starts heading right.
  const uint8_t* sq = &gMonsLevels[0].Grid()[(25 * kMonsRows + 8) * 3];
  EXPECT_EQ(std::make_pair(sq[0], sq[2]), std::make_pair(uint8_t(9), uint8_t(2)));
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
    EXPECT_TRUE(count[bsBrooder] >= 1 && count[bsBrooder] <= 8) << count[bsBrooder];
    EXPECT_TRUE(count[bsFruit] <= 64 && count[bsApple] <= 32);
  }
}

}  // namespace
}  // namespace kelvra
