// The Brickfall field drawing on hand-built tables: where walls, paddles and balls land,
// the earthquake offsets, clipping, bad burst variants, the shared random numbers the
// drawing takes, and what the editor shows.
#include "brickfall/BrickDraw.h"

#include <gtest/gtest.h>

#include "base/Paths.h"
#include "brickfall/BrickEffects.h"
#include "brickfall/BrickGame.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPictures.h"
#include "brickfall/BrickState.h"
#include "common/Com.h"
#include "media/KBitmap.h"

namespace kelvra {
namespace {

constexpr int32_t kPx = kFxOne;

class BrickDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    SetProgramDir(KELVRA_TEST_DATA_DIR);
    LoadBrickPictures();
    SetProgramDir("./");
    gBrickLevels.assign(1, TLevel{});
    NewBrickLevel(gBrickLevels[0]);
    level().f.backgroundKind = 1;  // black
    ResetBrickState(TBrickReset::kAll);
    frame.SetSize(640, 440);
  }
  void TearDown() override {
    gBrickPictures = TBrickPictures{};
    gBrickLevels.clear();
    ResetBrickState(TBrickReset::kAll);
    gBrickEditorView = TBrickEditorView{};
    ResetCom();
  }
  static TLevel& level() { return gBrickLevels[0]; }

  // One red brick (shape 0, 32 x 16) at a pixel position.
  static void AddWall(int x, int y) {
    gBrick.walls[gBrick.wallCount++] = TFieldWall{1, x * kPx, y * kPx, 32 * kPx, 16 * kPx, 0, 0, 0};
  }
  // Player 0's paddle (size 1) at the bottom edge.
  static void Paddle(int x, int y) {
    TBrickPlayer& p = gBrick.players[0];
    p.inGame = 1;
    p.x = x * kPx;
    p.y = y * kPx;
    p.paddleSize = 1;
    p.direction = -1;
    p.visibility = 8;
  }
  static void AddBall(int x, int y) {
    gBrick.balls[0].state = kBallFlying;
    gBrick.balls[0].x = x * kPx;
    gBrick.balls[0].y = y * kPx;
    gBrick.balls[0].size = 1;
  }

  TKBitmap frame;
};

TEST_F(BrickDrawTest, WallPaddleAndBallLandAtTheirPixels) {
  AddWall(50, 40);
  Paddle(100, 300);
  AddBall(200, 100);
  DrawBrickField(frame);

  EXPECT_NE(frame.Pixel(10 + 50 + 16, 34 + 40 + 8), 0u);
  EXPECT_EQ(frame.Pixel(10 + 49, 34 + 48), 0u);  // just left of the wall

  const TKBitmap& paddle = *gBrickPictures.paddlePicture[0][1][0];
  const int px = 10 + 100, py = 34 + 300;
  EXPECT_EQ(frame.Pixel(px + 24, py + 7), paddle.Pixel(24, 7));
  EXPECT_EQ(frame.Pixel(px, py), 0u);  // the transparent corner shows the background

  EXPECT_EQ(frame.Pixel(10 + 200 + 8, 34 + 100 + 8), RGB(255, 255, 255));  // disc centre
}

TEST_F(BrickDrawTest, EarthquakeMovesWallsButNotBalls) {
  AddWall(50, 40);
  Paddle(100, 300);
  AddBall(200, 100);
  DrawBrickField(frame);
  TKBitmap still;
  still.CopyFrom(frame);

  gBrick.game.shakeX = 5;
  gBrick.game.shakeY = -3;
  DrawBrickField(frame);
  // Each box of the still frame, found again moved by (dx, dy).
  const auto moved = [&](int left, int top, int w, int h, int dx, int dy) {
    for (int y = top; y < top + h; ++y)
      for (int x = left; x < left + w; ++x)
        if (frame.Pixel(x + dx, y + dy) != still.Pixel(x, y)) return false;
    return true;
  };
  EXPECT_TRUE(moved(60, 74, 32, 16, 5, -3));   // the wall
  EXPECT_TRUE(moved(210, 134, 16, 16, 0, 0));  // the ball
}

TEST_F(BrickDrawTest, DrawingStaysInsideTheField) {
  AddWall(500, 380);  // reaches past the right and bottom edges
  AddBall(-8, -8);
  DrawBrickField(frame);
  EXPECT_NE(frame.Pixel(521, 417), 0u);
  const uint32_t backdrop = frame.Pixel(525, 30);
  EXPECT_EQ(frame.Pixel(525, 420), backdrop);  // the panel's backdrop, not the wall
  EXPECT_EQ(frame.Pixel(522, 417), frame.Pixel(522, 200));
}

TEST_F(BrickDrawTest, BurstOfABadVariantDrawsAtTheLargestSize) {
  gCom.burst[2] = {128, 9, 400, 300};  // a bad variant is taken as the largest size
  DrawBrickField(frame);
  EXPECT_NE(frame.Pixel(400 - 60, 300), 0u);  // 128-pixel sprite reaches 60 pixels out
}

// Points and lightning take their numbers from a copy of the shared generator: the game's
// own draws stay as they were whatever was drawn.
TEST_F(BrickDrawTest, NothingDrawnAdvancesTheGenerator) {
  level().f.fire = level().f.bubble = level().f.rain = level().f.snow = 255;
  level().f.smallSnow = level().f.water = level().f.enemy = level().f.stars = 255;
  level().f.points = level().f.lighting = 255;
  Randomize(777);
  DrawBrickField(frame);
  EXPECT_EQ(gCom.randSeed, 777u);
}

// The selection and the grid show only in the editor.
TEST_F(BrickDrawTest, SelectionAndGridShowOnlyInTheEditor) {
  level().Walls().push_back(TWall{50, 40, 0, 0, 5, {}});
  AddWall(50, 40);
  gBrickEditorView.selectedWalls = {0};
  gBrickEditorView.grid = true;
  DrawBrickField(frame);
  EXPECT_EQ(frame.Pixel(10 + 49, 34 + 45), 0u);
  EXPECT_EQ(frame.Pixel(10 + 16 * 7, 300), 0u);
  gCom.editorOpen = 1;
  DrawBrickField(frame);
  EXPECT_EQ(frame.Pixel(10 + 49, 34 + 45), RGB(255, 255, 255));  // selection outline
  EXPECT_EQ(frame.Pixel(10 + 16 * 7, 300), RGB(127, 127, 127));  // a grid line over black
}

}  // namespace
}  // namespace kelvra
