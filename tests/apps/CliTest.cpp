// kelvra-cli on good and bad level-set files and command lines.
#include <gtest/gtest.h>

#include <sstream>

#include "../apps/kelvra-cli/Commands.h"
#include "TestUtil.h"
#include "base/IOError.h"
#include "brickfall/BrickLevel.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "media/KBitmap.h"
#include "monsters/MonsLevel.h"
#include "platform/Headless.h"

namespace kelvra {
namespace {

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    ResetIOErrors();
  }
  void TearDown() override {
    for (int k = 0; k < kKinds; ++k) KindOps(k).FreeLevelSet();
  }
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return RunCli(args, out, err);
  }
  // A new set of the kind, changed by `fill`, saved under `name` and freed again.
  template <class F>
  std::string SaveSet(int kind, const std::string& name, F fill) {
    HeadlessPlatform platform;
    SetPlatform(&platform);
    gCom.kind = uint8_t(kind);
    NewLevelSet(gCom.kind);
    fill();
    std::string file = dir.File(name);
    EXPECT_TRUE(SaveLevelSet(gCom.kind, file));
    SetPlatform(nullptr);
    KindOps(kind).FreeLevelSet();
    return file;
  }
  test::TempDir dir;
  std::ostringstream out, err;
};

TEST_F(CliTest, InfoDescribesABrickfallSet) {
  std::string file = SaveSet(gkBrickfall, "set.BrL", [] {
    gBrickLevels.resize(2);
    NewBrickLevel(gBrickLevels[1]);
    gBrickLevels[1].Walls().resize(3);
    gBrickLevels[1].f.snow = 255;
    gBrickLevels[1].f.rightIsLeft = 255;
    SetShortString(Cur().header.description, 64, "Two levels");
    SetShortString(Cur().header.finalMessage, 64, "Well played");
  });

  ASSERT_EQ(Run({"info", file}), 0);
  for (const char* line :
       {"kind: Brickfall\n", "\nlevels: 2\n", "description: Two levels\n",
        "final message: Well played\n", "level 2: walls 3, flags snow mirror-x\n"})
    EXPECT_NE(out.str().find(line), std::string::npos) << line;
}

TEST_F(CliTest, InfoFindsTheKindByMagicAndNamesMonstersLevels) {
  // No level-set extension.
  std::string file = SaveSet(gkMonsters, "monsters.dat",
                             [] { SetShortString(gMonsLevels[0].name, kMonsNameBytes, "Cellar"); });
  gCom.kind = gkBrickfall;

  ASSERT_EQ(Run({"info", file}), 0);
  EXPECT_NE(out.str().find("kind: Monsters\n"), std::string::npos);
  EXPECT_NE(out.str().find("level 1: name \"Cellar\"\n"), std::string::npos);
}

TEST_F(CliTest, RenderDrawsTheFrameOfALevel) {
  std::string file = SaveSet(gkBrickfall, "r.BrL", [] {
    gBrickLevels.resize(2);
    NewBrickLevel(gBrickLevels[1]);
  });

  std::string picture = dir.File("frame.bmp");
  ASSERT_EQ(Run({"render", file, "--level", "2", "--out", picture}), 0);
  std::vector<uint8_t> bytes = test::ReadAll(picture);
  TKBitmap frame;
  std::string error;
  ASSERT_TRUE(DecodeBmp(bytes.data(), bytes.size(), frame, error)) << error;
  EXPECT_EQ(std::make_pair(frame.Width(), frame.Height()), std::make_pair(640, 440));

  EXPECT_EQ(Run({"render", file, "--level", "3", "--out", picture}), 1);  // no level 3
  EXPECT_NE(err.str().find("not a level 3"), std::string::npos);
  EXPECT_EQ(Run({"render", file, "--level", "x", "--out", picture}), 2);
  EXPECT_EQ(Run({"render", file}), 2);
}

TEST_F(CliTest, BadFilesAndCommandLinesFail) {
  test::WriteText(dir.File("short.BrL"), "GBrL");
  test::WriteText(dir.File("wrong.MoL"), std::string(200, 'x'));
  for (const char* name : {"short.BrL", "missing.BuL", "wrong.MoL"}) {
    EXPECT_EQ(Run({"info", dir.File(name)}), 1) << name;
    EXPECT_TRUE(out.str().empty()) << name;
  }

  EXPECT_EQ(Run({}), 2);
  EXPECT_NE(err.str().find("usage:"), std::string::npos);
  EXPECT_EQ(Run({"fly"}), 2);
  EXPECT_NE(err.str().find("unknown command \"fly\""), std::string::npos);
  EXPECT_EQ(Run({"info"}), 2);
  EXPECT_EQ(Run({"--help"}), 0);
}

}  // namespace
}  // namespace kelvra
