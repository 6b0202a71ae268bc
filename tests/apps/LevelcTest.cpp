// Checks the default level sets that kelvra-levelc wrote into the data tree at build time:
// each loads back through the level-set service without a dialog and holds its levels.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "../apps/kelvra-cli/Commands.h"
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
#include "monsters/MonsState.h"

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

// The default set is made for one to four players: every level has a name of its own, one
// start square and one house for each of them and a monster. No gate stands on the edge of
// the field. Across the set every square kind, tunnel direction and monster type appears.
TEST_F(LevelcTest, MonstersDefaultSet) {
  ASSERT_TRUE(Load(gkMonsters));
  ASSERT_GE(gMonsLevels.size(), 22u);
  std::set<std::string> names;
  uint32_t kinds = 0, tunnels = 0, types = 0;  // bit sets of what the set uses
  for (const TMonsLevel& level : gMonsLevels) {
    const std::string name = GetShortString(level.name, kMonsNameBytes);
    EXPECT_TRUE(names.insert(name).second && !name.empty()) << "name \"" << name << "\"";
    int count[2][kMonsPlayers] = {}, monsters = 0;  // start squares and houses
    for (int x = 0; x < kMonsCols; ++x)
      for (int y = 0; y < kMonsRows; ++y) {
        const uint8_t* q = &level.Grid()[size_t(MonsIndex(x, y)) * 3];
        kinds |= 1u << q[0];
        if (q[0] == mkPlayer || q[0] == mkHouse) ++count[q[0] - mkPlayer][q[1] & 3];
        if (q[0] == mkMonster) types |= 1u << q[1], ++monsters;
        if (q[0] == mkTunnel) tunnels |= 1u << q[2];
        if (q[0] == mkGate) {
          EXPECT_TRUE(x > 0 && x < kMonsCols - 1 && y > 0 && y < kMonsRows - 1) << name;
        }
      }
    for (int p = 0; p < kMonsPlayers; ++p)
      EXPECT_TRUE(count[0][p] == 1 && count[1][p] == 1) << name << ", player " << p + 1;
    EXPECT_GT(monsters, 0) << name;
  }
  EXPECT_EQ(std::make_tuple(kinds, tunnels, types),
            std::make_tuple((1u << mkKinds) - 1, 0xFu, (1u << kMonsTypes) - 1));
}

// A Monsters level ends only when its last monster is dead, so every default level must end
// when computer players alone play it: one player and four, in the real-time and the turn
// game, within 10 minutes of game time (21429 steps of 28 ms). One seed per game keeps this
// quick; scripts/monsters-levels.py plays many (docs/monsters-levels.md).
TEST_F(LevelcTest, MonstersDefaultLevelsEndWithComputerPlayers) {
  ASSERT_TRUE(Load(gkMonsters));
  const int levels = int(gMonsLevels.size());
  const std::string file = std::string(KELVRA_TEST_DATA_DIR) + "/Levels/Monsters/Default.MoL";
  for (int level = 0; level < levels; ++level)
    for (const char* players : {"1", "4"})
      for (bool turn : {false, true}) {
        std::vector<std::string> args = {"play", file, "--until-end", "--max-steps", "21429"};
        args.insert(args.end(), {"--ai", "all", "--players", players});
        args.insert(args.end(), {"--seed", std::to_string(level + 1)});
        args.insert(args.end(), {"--level", std::to_string(level + 1)});
        if (turn) args.push_back("--turn");
        std::ostringstream out, err;
        EXPECT_EQ(RunCli(args, out, err), 0) << "level " << level << ", --players " << players
                                             << (turn ? ", turn game" : "") << ": " << out.str();
        EXPECT_NE(out.str().find("state=GameEnded"), std::string::npos) << out.str();
      }
}

// The default set is made for one to five players: every level has one to five start squares
// and fruit, so eating the fruit always ends it. A player alone reaches every fruit and every
// other start square from player 1's (the first in rows-then-columns order) by digging through
// anything but walls, 4-neighbour steps that wrap at the field's edges. No apple rests on an
// open square, which would drop it at once. Across the set every square code appears.
TEST_F(LevelcTest, BurrowerDefaultSet) {
  ASSERT_TRUE(Load(gkBurrower));
  ASSERT_GE(gBurrLevels.size(), 22u);
  uint32_t codes = 0;  // bit set of the square codes the set uses
  for (size_t i = 0; i < gBurrLevels.size(); ++i) {
    SCOPED_TRACE("level " + std::to_string(i + 1));
    const TBurrRecord& r = gBurrLevels[i].Record();
    int count[7] = {}, first = -1;  // first: record index of player 1's start square
    for (int y = 0; y < kBurrRows; ++y)
      for (int x = 0; x < kBurrCols; ++x) {
        const int k = x * kBurrRows + y;
        ASSERT_LE(r[k], bsPlayer);
        codes |= 1u << r[k], ++count[r[k]];
        if (r[k] == bsPlayer && first < 0) first = k;
        if (r[k] == bsApple && y + 1 < kBurrRows) {
          const uint8_t below = r[k + 1];
          EXPECT_TRUE(below != bsNone && below != bsBrooder && below != bsPlayer) << x << ", " << y;
        }
      }
    EXPECT_TRUE(count[bsPlayer] >= 1 && count[bsPlayer] <= 5 && count[bsFruit] >= 1 &&
                count[bsFruit] <= 64 && count[bsApple] <= 32 && count[bsBrooder] <= 8);
    ASSERT_GE(first, 0);
    std::vector<bool> reached(r.size());
    std::vector<int> todo = {first};
    reached[first] = true;
    while (!todo.empty()) {
      const int x = todo.back() / kBurrRows, y = todo.back() % kBurrRows;
      todo.pop_back();
      const int steps[4][2] = {{1, 0}, {kBurrCols - 1, 0}, {0, 1}, {0, kBurrRows - 1}};
      for (const auto& d : steps) {
        const int k = (x + d[0]) % kBurrCols * kBurrRows + (y + d[1]) % kBurrRows;
        if (!reached[k] && r[k] != bsWall) reached[k] = true, todo.push_back(k);
      }
    }
    for (size_t k = 0; k < r.size(); ++k)
      EXPECT_TRUE(reached[k] || (r[k] != bsFruit && r[k] != bsPlayer))
          << "square " << k / kBurrRows << ", " << k % kBurrRows;
  }
  EXPECT_EQ(codes, (1u << (bsPlayer + 1)) - 1);
}

}  // namespace
}  // namespace kelvra
