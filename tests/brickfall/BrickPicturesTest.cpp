// Brickfall's wall pictures from the generated data: shape order, tints and the drawing
// of the play field's walls, clipped to the field.
#include <gtest/gtest.h>

#include "brickfall/BrickField.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPictures.h"
#include "common/Com.h"
#include "common/Paths.h"

namespace kelvra {
namespace {

TEST(BrickPictures, WallTintsAreTwoThirdsOfTheBaseColours) {
  EXPECT_EQ(WallTint(0), RGB(170, 0, 0));
  EXPECT_EQ(WallTint(1), RGB(170, 95, 0));
  EXPECT_EQ(WallTint(5), RGB(170, 170, 170));
  EXPECT_EQ(WallTint(9), WallTint(5));  // hits beyond White draw as White
}

TEST(BrickPictures, WallsAreDrawnAtTheirFieldPositionsInTheirColours) {
  ResetCom();
  SetProgramDir(KELVRA_TEST_DATA_DIR);
  LoadBrickPictures();
  ASSERT_GE(gBrickPictures.shapes, 10);
  EXPECT_EQ(gBrickPictures.width[0], 32);
  EXPECT_EQ(gBrickPictures.height[0], 16);

  TLevel level;
  NewBrickLevel(level);
  level.Walls().push_back(TWall{100, 50, 0, 0, 0, {}});  // red
  level.Walls().push_back(TWall{200, 50, 0, 4, 0, {}});  // aqua
  level.Walls().push_back(TWall{500, 10, 0, 2, 0, {}});  // reaches past the right edge
  BuildPlayField(level, gBrickPictures.width, gBrickPictures.height, gBrickPictures.shapes);
  TKBitmap frame(640, 440);
  DrawFieldWalls(frame);

  const TRect& f = gCom.k[gkBrickfall].field;
  uint32_t red = frame.Pixel(f.left + 116, f.top + 58);
  uint32_t aqua = frame.Pixel(f.left + 216, f.top + 58);
  EXPECT_GT(RedOf(red), BlueOf(red));
  EXPECT_GT(BlueOf(aqua), RedOf(aqua));
  EXPECT_EQ(frame.Pixel(f.left + 99, f.top + 58), 0u);  // left of the first wall
  EXPECT_NE(frame.Pixel(f.right, f.top + 18), 0u);      // the last wall up to the edge
  EXPECT_EQ(frame.Pixel(f.right + 1, f.top + 18), 0u);  // but not beyond the field
  gBrickPictures = TBrickPictures{};
  SetProgramDir("./");
}

}  // namespace
}  // namespace kelvra
