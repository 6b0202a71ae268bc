// Checks the default level sets that kelvra-levelc wrote into the data tree at build time:
// each loads back through the level-set service without a dialog and holds its levels.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "DataDirTest.h"
#include "HeadlessTest.h"
#include "base/FileIO.h"
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
    bool ok = LoadLevelSet(gCom.kind, path);
    EXPECT_TRUE(headless.log.empty()) << headless.log.front();
    return ok;
  }
};

// The default set is open to the editor and ends with its message. Every level, as the game builds
// it (mirrored copies included), keeps its walls inside the field, off the bottom where the paddles
// play and off the top edge where a top paddle plays in mirror games; a wall too strong for the
// normal ball only stands in a level that also offers a bigger ball; and every background picture
// exists.
TEST_F(LevelcTest, BrickfallDefaultLevelsLeaveRoomForThePaddles) {
  ASSERT_TRUE(Load(gkBrickfall));
  const TLevelSetHeader& h = gCom.k[gkBrickfall].header;
  EXPECT_EQ(std::make_tuple(gBrickLevels.size(), int(h.levelCount), uint32_t(h.lock)),
            std::make_tuple(size_t(32), 32, 0u));
  EXPECT_EQ(GetShortString(h.finalMessage, 64), "The last wall has fallen. Well played!");
  LoadBrickPictures();
  ASSERT_EQ(gBrickPictures.shapes, kWallShapes);
  for (size_t i = 0; i < gBrickLevels.size(); ++i) {
    SCOPED_TRACE("level " + std::to_string(i + 1));
    const TLevel& level = gBrickLevels[i];
    for (const TWall& w : level.Walls())
      EXPECT_TRUE(w.shape < kWallShapes && w.colour <= 5 && w.bonus < kBonusKinds);
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
  ASSERT_EQ(gMonsLevels.size(), 4u);
  for (const TMonsLevel& level : gMonsLevels) {
    int count[12] = {};  // players 7, houses 8, monsters 9
    for (int i = 0; i < kMonsCols * kMonsRows; ++i) {
      ASSERT_LE(level.Grid()[i * 3], 11);
      ++count[level.Grid()[i * 3]];
    }
    EXPECT_TRUE(count[7] == 4 && count[8] == 4 && count[9] > 0);
  }
}

TEST_F(LevelcTest, BurrowerDefaultSet) {
  ASSERT_TRUE(Load(gkBurrower));
  ASSERT_EQ(gBurrLevels.size(), 3u);
  for (const TBurrLevel& level : gBurrLevels) {
    int count[7] = {};
    for (uint8_t code : level.Record()) {
      ASSERT_LE(code, 6);
      ++count[code];
    }
    EXPECT_TRUE(count[bsPlayer] == 5 && count[bsBrooder] >= 1 && count[bsBrooder] <= 8 &&
                count[bsFruit] <= 64 && count[bsApple] <= 32);
  }
}

}  // namespace
}  // namespace kelvra
