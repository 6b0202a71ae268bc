// Brickfall's pictures: wall tints, paddles and shots in the players' colours, the sizes
// taken from the files, the generated ball discs and burst sprites, and missing files.
#include <gtest/gtest.h>

#include "HeadlessTest.h"
#include "base/Paths.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPictures.h"
#include "brickfall/BrickState.h"
#include "common/Com.h"

namespace kelvra {
namespace {

TEST(BrickPictures, WallTintsAreTwoThirdsOfTheBaseColours) {
  EXPECT_EQ(WallTint(0), RGB(170, 0, 0));
  EXPECT_EQ(WallTint(1), RGB(170, 95, 0));
  EXPECT_EQ(WallTint(5), RGB(170, 170, 170));
  EXPECT_EQ(WallTint(9), WallTint(5));  // hits beyond White draw as White
}

bool IsGrey(uint32_t c) {
  return RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c);
}

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
  EXPECT_TRUE(headless.fileErrors.empty());
  TKBitmap file;
  ASSERT_TRUE(LoadFromFile(file, ProgramDir() + "Graphics/Brickfall/Player1.bmp", 0, 0));
  for (int size = 0; size < kPaddleSizes; ++size) {
    const TKBitmap* bottom = gBrickPictures.paddlePicture[0][size][0].get();
    ASSERT_NE(bottom, nullptr);
    EXPECT_EQ(gBrickPictures.paddle[size].width, bottom->Width());
    EXPECT_EQ(gBrickPictures.paddle[size].height, bottom->Height());
  }
  const TKBitmap& red = *gBrickPictures.paddlePicture[0][1][0];
  const TKBitmap& blue = *gBrickPictures.paddlePicture[1][1][0];
  const TKBitmap& redTop = *gBrickPictures.paddlePicture[0][1][1];
  ASSERT_EQ(red.Width(), 2 * file.Width());
  ASSERT_EQ(red.Height(), 2 * file.Height());
  // Transparent corners double exactly; inside, each player's colour dominates.
  EXPECT_EQ(file.Pixel(0, 0), kMagenta);
  EXPECT_EQ(red.Pixel(0, 0), kMagenta);
  EXPECT_EQ(red.Pixel(1, 1), kMagenta);
  const int cx = red.Width() / 2, cy = red.Height() / 2;
  EXPECT_GT(RedOf(red.Pixel(cx, cy)), BlueOf(red.Pixel(cx, cy)) + 60);
  EXPECT_GT(BlueOf(blue.Pixel(cx, cy)), RedOf(blue.Pixel(cx, cy)) + 60);
  // No opaque pixel is left looking like the key colour or blended with it.
  for (int y = 0; y < red.Height(); ++y)
    for (int x = 0; x < red.Width(); ++x)
      if (file.Pixel(x / 2, y / 2) != kMagenta) {
        EXPECT_NE(red.Pixel(x, y), kMagenta);
      }
  for (int y = 0; y < red.Height(); ++y)
    for (int x = 0; x < red.Width(); ++x)
      ASSERT_EQ(redTop.Pixel(x, y), red.Pixel(x, red.Height() - 1 - y)) << x << "," << y;
}

TEST_F(BrickPlayerPictures, ShotGreysTakeTheSecondColourAndAColourChangeRebuildsThem) {
  TKBitmap file;
  ASSERT_TRUE(LoadFromFile(file, ProgramDir() + "Graphics/Brickfall/Shot0.bmp", 0, 0));
  ASSERT_EQ(gBrickPictures.shot.width, file.Width());
  const TKBitmap& up = *gBrickPictures.shotPicture[1][0];
  const TKBitmap& down = *gBrickPictures.shotPicture[1][1];
  const uint32_t half = gCom.player[1].halfColour;
  int greys = 0;
  for (int y = 0; y < file.Height(); ++y)
    for (int x = 0; x < file.Width(); ++x) {
      const uint32_t c = file.Pixel(x, y);
      EXPECT_EQ(down.Pixel(x, file.Height() - 1 - y), up.Pixel(x, y));
      if (!IsGrey(c)) {
        EXPECT_EQ(up.Pixel(x, y), c);  // the tip and the flame keep their colours
        continue;
      }
      ++greys;
      const int v = RedOf(c);
      EXPECT_EQ(up.Pixel(x, y),
                RGB(v * RedOf(half) / 256, v * GreenOf(half) / 256, v * BlueOf(half) / 256));
    }
  EXPECT_GT(greys, 10);

  gCom.player[1].colour = RGB(0, 255, 0);
  ComputeHalfColours();
  PreparePlayerPictures();
  const TKBitmap& after = *gBrickPictures.paddlePicture[1][1][0];
  const uint32_t centre = after.Pixel(after.Width() / 2, after.Height() / 2);
  EXPECT_GT(GreenOf(centre), BlueOf(centre) + 60);
  EXPECT_TRUE(headless.fileErrors.empty());  // nothing is read again
}

TEST_F(BrickPlayerPictures, PicturesTakeTheirFilesSizesAndGeneratedOnesEverySize) {
  for (int kind = 1; kind < kBonusKinds; ++kind) {
    ASSERT_NE(gBrickPictures.bonusPicture[kind], nullptr) << kind;
    EXPECT_EQ(gBrickPictures.bonus[kind].width, gBrickPictures.bonusPicture[kind]->Width());
  }
  EXPECT_EQ(gBrickPictures.bonusPicture[0], nullptr);
  ASSERT_NE(gBrickPictures.enemyPicture[2], nullptr);
  EXPECT_EQ(gBrickPictures.enemy[2].height, gBrickPictures.enemyPicture[2]->Height());
  ASSERT_NE(gBrickPictures.rainPicture[6], nullptr);  // "Snow3"
  EXPECT_EQ(gBrickPictures.rain[6].width, gBrickPictures.rainPicture[6]->Width());
  EXPECT_EQ(gBrickPictures.bubble[2].width, gBrickPictures.bubblePicture[2]->Width());
  EXPECT_NE(gBrickPictures.brickPattern, nullptr);
  for (int s = 0; s < kBallSizes; ++s) {
    ASSERT_NE(gBrickPictures.ballPicture[s], nullptr);
    EXPECT_EQ(gBrickPictures.ballPicture[s]->Width(), 8 << s);
  }
  for (int v = 0; v < kBurstSizes; ++v)
    for (int k = 0; k < kBurstLevels; ++k) EXPECT_EQ(gBrickPictures.burst[v][k]->Width(), 16 << v);
}

TEST(BrickPictures, BallDiscsAreShadedGreyOnMagenta) {
  TKBitmap disc;
  MakeBallDisc(disc, 8);
  ASSERT_EQ(disc.Width(), 8);
  EXPECT_EQ(disc.Pixel(4, 4), RGB(255, 255, 255));
  EXPECT_EQ(disc.Pixel(1, 4), RGB(183, 183, 183));  // 255 - 9 * 512 / 64
  EXPECT_EQ(disc.Pixel(0, 4), kMagenta);            // 127: not above 128
  EXPECT_EQ(disc.Pixel(0, 0), kMagenta);
  MakeBallDisc(disc, 64);
  EXPECT_EQ(disc.Pixel(32, 32), RGB(255, 255, 255));
  EXPECT_EQ(disc.Pixel(32, 10), RGB(195, 195, 195));  // 255 - 484 * 512 / 4096
}

TEST(BrickPictures, BurstSpritesFollowTheFireRamp) {
  EXPECT_EQ(FireRamp(0), RGB(0, 0, 0));
  EXPECT_EQ(FireRamp(200), RGB(200, 0, 0));
  EXPECT_EQ(FireRamp(300), RGB(255, 45, 0));
  EXPECT_EQ(FireRamp(600), RGB(255, 255, 90));
  EXPECT_EQ(FireRamp(5000), RGB(255, 255, 255));
  TKBitmap sprite;
  MakeBurstSprite(sprite, 16, 15);
  ASSERT_EQ(sprite.Width(), 16);
  EXPECT_EQ(sprite.Pixel(8, 8), RGB(255, 255, 255));  // 48 x 16 = 768: white
  EXPECT_EQ(sprite.Pixel(0, 0), RGB(0, 0, 0));        // 48 - 128 x 192 / 256 < 0
  MakeBurstSprite(sprite, 16, 0);
  EXPECT_EQ(sprite.Pixel(8, 8), RGB(48, 0, 0));
  // (48 - 16 x 192 / 256) x 6 = (48 - 12) x 6 = 216; the division comes first.
  MakeBurstSprite(sprite, 16, 5);
  EXPECT_EQ(sprite.Pixel(4, 8), RGB(216, 0, 0));
}

TEST_F(BrickPlayerPictures, AMissingPaddleKeepsItsDefaultSizeAndIsReportedOnce) {
  gBrickPictures = TBrickPictures{};
  const TBrickPictures defaults;
  headless.ClearLog();
  SetProgramDir(dir.path());  // an empty program folder: no pictures at all
  LoadBrickPictures();
  for (int size = 0; size < kPaddleSizes; ++size) {
    EXPECT_EQ(gBrickPictures.paddle[size].width, defaults.paddle[size].width);
    EXPECT_EQ(gBrickPictures.paddle[size].height, defaults.paddle[size].height);
    EXPECT_EQ(gBrickPictures.paddlePicture[0][size][0], nullptr);
  }
  EXPECT_EQ(gBrickPictures.shot.width, defaults.shot.width);
  int reports = 0;
  for (const IOErrorRequest& r : headless.fileErrors)
    if (r.text.find("Player0.bmp") != std::string::npos) ++reports;
  EXPECT_EQ(reports, 1);
  // A colour change does not read the files again.
  headless.ClearLog();
  PreparePlayerPictures();
  EXPECT_TRUE(headless.fileErrors.empty());
}

}  // namespace
}  // namespace kelvra
