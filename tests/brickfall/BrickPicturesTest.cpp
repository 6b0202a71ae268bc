// Brickfall's pictures: paddles in the players' colours, the sizes taken from
// the files (the game's collision boxes), the generated ball and burst sizes, missing files.
#include <gtest/gtest.h>

#include "HeadlessTest.h"
#include "base/Paths.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPictures.h"
#include "brickfall/BrickState.h"
#include "common/Com.h"

namespace kelvra {
namespace {

class BrickPlayerPictures : public test::HeadlessTest {
 protected:
  void SetUp() override {
    test::HeadlessTest::SetUp();
    ResetCom();
    gCom.player[0].colour = RGB(255, 0, 0);
    gCom.player[1].colour = RGB(0, 0, 255);
    ComputeHalfColours();
    SetProgramDir(KELVRA_TEST_DATA_DIR);
    LoadBrickPictures();
  }
  void TearDown() override {
    gBrickPictures = TBrickPictures{};
    SetProgramDir("./");
    test::HeadlessTest::TearDown();
  }
};

TEST_F(BrickPlayerPictures, PaddlesAreDoubledColouredAndTurnedOverForTheTopEdge) {
  TKBitmap file;
  ASSERT_TRUE(LoadFromFile(file, ProgramDir() + "Graphics/Brickfall/Player1.bmp", 0, 0));
  for (int size = 0; size < kPaddleSizes; ++size) {
    const TKBitmap* bottom = gBrickPictures.paddlePicture[0][size][0].get();
    ASSERT_NE(bottom, nullptr);
    EXPECT_EQ(gBrickPictures.paddle[size].width, bottom->Width());
    EXPECT_EQ(gBrickPictures.paddle[size].height, bottom->Height());
  }
  const TKBitmap& red = *gBrickPictures.paddlePicture[0][1][0];
  const TKBitmap& redTop = *gBrickPictures.paddlePicture[0][1][1];
  ASSERT_EQ(red.Width(), 2 * file.Width());
  ASSERT_EQ(red.Height(), 2 * file.Height());
  for (int y = 0; y < red.Height(); ++y)
    for (int x = 0; x < red.Width(); ++x)
      ASSERT_EQ(redTop.Pixel(x, y), red.Pixel(x, red.Height() - 1 - y)) << x << "," << y;
  const int cx = red.Width() / 2, cy = red.Height() / 2;
  EXPECT_GT(RedOf(red.Pixel(cx, cy)), BlueOf(red.Pixel(cx, cy)) + 60);
  EXPECT_TRUE(headless.fileErrors.empty());
}

TEST_F(BrickPlayerPictures, PicturesTakeTheirFilesSizesAndGeneratedOnesEverySize) {
  for (int kind = 1; kind < kBonusKinds; ++kind) {
    ASSERT_NE(gBrickPictures.bonusPicture[kind], nullptr) << kind;
    EXPECT_EQ(gBrickPictures.bonus[kind].width, gBrickPictures.bonusPicture[kind]->Width());
  }
  ASSERT_NE(gBrickPictures.enemyPicture[2], nullptr);
  EXPECT_EQ(gBrickPictures.enemy[2].height, gBrickPictures.enemyPicture[2]->Height());
  EXPECT_NE(gBrickPictures.brickPattern, nullptr);
  EXPECT_EQ(gBrickPictures.shot.width, gBrickPictures.shotPicture[0][0]->Width());
  for (int s = 0; s < kBallSizes; ++s) {
    ASSERT_NE(gBrickPictures.ballPicture[s], nullptr);
    EXPECT_EQ(gBrickPictures.ballPicture[s]->Width(), 8 << s);
  }
  for (int v = 0; v < kBurstSizes; ++v)
    for (int k = 0; k < kBurstLevels; ++k) EXPECT_EQ(gBrickPictures.burst[v][k]->Width(), 16 << v);
}

TEST_F(BrickPlayerPictures, AMissingPaddleKeepsItsDefaultSizeAndIsReportedOnce) {
  gBrickPictures = TBrickPictures{};
  const TBrickPictures defaults;
  headless.ClearLog();
  SetProgramDir(dir.path());  // an empty program folder: no pictures at all
  LoadBrickPictures();
  for (int size = 0; size < kPaddleSizes; ++size)
    EXPECT_TRUE(gBrickPictures.paddle[size].width == defaults.paddle[size].width &&
                !gBrickPictures.paddlePicture[0][size][0]);
  int reports = 0;
  for (const IOErrorRequest& r : headless.fileErrors)
    if (r.text.find("Player0.bmp") != std::string::npos) ++reports;
  EXPECT_EQ(reports, 1);
}

}  // namespace
}  // namespace kelvra
