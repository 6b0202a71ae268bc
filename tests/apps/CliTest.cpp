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
  test::TempDir dir;
  std::ostringstream out, err;
};

TEST_F(CliTest, InfoDescribesABrickfallSet) {
  HeadlessPlatform platform;
  SetPlatform(&platform);
  gCom.kind = gkBrickfall;
  NewLevelSet(gCom.kind);
  gBrickLevels.resize(2);
  NewBrickLevel(gBrickLevels[1]);
  gBrickLevels[1].Walls().resize(3);
  gBrickLevels[1].f.snow = 255;
  gBrickLevels[1].f.rightIsLeft = 255;
  SetShortString(Cur().header.description, 64, "Two levels");
  SetShortString(Cur().header.finalMessage, 64, "Well played");
  std::string file = dir.File("set.BrL");
  ASSERT_TRUE(SaveLevelSet(gCom.kind, file));
  SetPlatform(nullptr);
  KindOps(gkBrickfall).FreeLevelSet();

  ASSERT_EQ(Run({"info", file}), 0);
  std::string text = out.str();
  EXPECT_NE(text.find("kind: Brickfall\n"), std::string::npos);
  EXPECT_NE(text.find("version: 4\n"), std::string::npos);
  EXPECT_NE(text.find("\nlevels: 2\n"), std::string::npos);
  EXPECT_NE(text.find("locked: no\n"), std::string::npos);
  EXPECT_NE(text.find("description: Two levels\n"), std::string::npos);
  EXPECT_NE(text.find("final message: Well played\n"), std::string::npos);
  EXPECT_NE(text.find("save counter: 1\n"), std::string::npos);
  EXPECT_NE(text.find("level 1: walls 0, flags none\n"), std::string::npos);
  EXPECT_NE(text.find("level 2: walls 3, flags snow mirror-x\n"), std::string::npos);
}

TEST_F(CliTest, InfoFindsTheKindByMagicAndNamesMonstersLevels) {
  HeadlessPlatform platform;
  SetPlatform(&platform);
  gCom.kind = gkMonsters;
  NewLevelSet(gCom.kind);
  SetShortString(gMonsLevels[0].name, kMonsNameBytes, "Cellar");
  std::string file = dir.File("monsters.dat");  // no level-set extension
  ASSERT_TRUE(SaveLevelSet(gCom.kind, file));
  SetPlatform(nullptr);
  KindOps(gkMonsters).FreeLevelSet();
  gCom.kind = gkBrickfall;

  ASSERT_EQ(Run({"info", file}), 0);
  EXPECT_NE(out.str().find("kind: Monsters\n"), std::string::npos);
  EXPECT_NE(out.str().find("level 1: name \"Cellar\"\n"), std::string::npos);
}

TEST_F(CliTest, RenderDrawsTheFrameOfALevel) {
  HeadlessPlatform platform;
  SetPlatform(&platform);
  gCom.kind = gkBrickfall;
  NewLevelSet(gCom.kind);
  gBrickLevels.resize(2);
  NewBrickLevel(gBrickLevels[1]);
  SetShortString(Cur().header.description, 64, "Rendered");
  std::string file = dir.File("r.BrL");
  ASSERT_TRUE(SaveLevelSet(gCom.kind, file));
  SetPlatform(nullptr);
  KindOps(gkBrickfall).FreeLevelSet();

  std::string picture = dir.File("frame.bmp");
  ASSERT_EQ(Run({"render", file, "--level", "2", "--out", picture}), 0);
  std::vector<uint8_t> bytes = test::ReadAll(picture);
  TKBitmap frame;
  std::string error;
  ASSERT_TRUE(DecodeBmp(bytes.data(), bytes.size(), frame, error)) << error;
  EXPECT_EQ(frame.Width(), 640);
  EXPECT_EQ(frame.Height(), 440);
  // The description caption is drawn near the field's top-left corner, in white.
  bool white = false;
  for (int y = 34 + 8; y < 34 + 24; ++y)
    for (int x = 18; x < 120; ++x) white |= frame.Pixel(x, y) == 0xFFFFFF;
  EXPECT_TRUE(white);

  EXPECT_EQ(Run({"render", file, "--level", "3", "--out", picture}), 1);  // no level 3
  EXPECT_NE(err.str().find("not a level 3"), std::string::npos);
  EXPECT_EQ(Run({"render", file, "--level", "x", "--out", picture}), 2);
  EXPECT_EQ(Run({"render", file}), 2);
}

TEST_F(CliTest, BadFilesAndCommandLinesFail) {
  test::WriteText(dir.File("short.BrL"), "GBrL");
  EXPECT_EQ(Run({"info", dir.File("short.BrL")}), 1);
  EXPECT_EQ(Run({"info", dir.File("missing.BuL")}), 1);
  test::WriteText(dir.File("wrong.MoL"), std::string(200, 'x'));
  EXPECT_EQ(Run({"info", dir.File("wrong.MoL")}), 1);
  EXPECT_TRUE(out.str().empty());

  EXPECT_EQ(Run({}), 2);
  EXPECT_NE(err.str().find("usage:"), std::string::npos);
  EXPECT_EQ(Run({"fly"}), 2);
  EXPECT_NE(err.str().find("unknown command \"fly\""), std::string::npos);
  EXPECT_EQ(Run({"info"}), 2);
  EXPECT_EQ(Run({"--help"}), 0);
}

}  // namespace
}  // namespace kelvra
