// The Brickfall field drawing on hand-built tables: where walls, paddles and balls land,
// opacity from visibility, the earthquake offsets, the undead-ball lines, bursts, water,
// stars, and the shared random numbers the drawing takes.
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
    level().f.backgroundColour = 0;
    ResetBrickState(TBrickReset::kAll);
    gBrickEditorView = TBrickEditorView{};
    gCom.k[gkBrickfall].playersMinusOne = 0;
    frame.SetSize(640, 440);
    Randomize(777);
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
  static TBrickPlayer& Paddle(int x, int y, int visibility = 8) {
    TBrickPlayer& p = gBrick.players[0];
    p.inGame = 1;
    p.x = x * kPx;
    p.y = y * kPx;
    p.paddleSize = 1;
    p.direction = -1;
    p.visibility = visibility;
    return p;
  }
  static void AddBall(int x, int y, int size = 1) {
    TBrickBall& b = gBrick.balls[0];
    b.state = kBallFlying;
    b.x = x * kPx;
    b.y = y * kPx;
    b.size = size;
  }

  TKBitmap frame;
};

TEST_F(BrickDrawTest, FixedPointPositionsRoundToTheNearestFieldPixel) {
  EXPECT_EQ(BrickPixelX(0), 10);
  EXPECT_EQ(BrickPixelX(511), 10);
  EXPECT_EQ(BrickPixelX(512), 11);
  EXPECT_EQ(BrickPixelY(100 * kPx + 600), 135);
  EXPECT_EQ(BrickPixelX(INT32_MAX), 2097162);  // no overflow at the far end
}

TEST_F(BrickDrawTest, WallPaddleAndBallLandAtTheirPixels) {
  AddWall(50, 40);
  AddWall(150, 40);
  gBrick.walls[1].hits = 4;  // aqua
  const TBrickPlayer& p = Paddle(100, 300);
  AddBall(200, 100);
  gBrick.balls[0].x += 511;  // still rounds to pixel 200
  DrawBrickField(frame);

  const uint32_t wall = frame.Pixel(10 + 50 + 16, 34 + 40 + 8);
  const uint32_t aqua = frame.Pixel(10 + 150 + 16, 34 + 40 + 8);
  EXPECT_GT(RedOf(wall), 0u + BlueOf(wall));
  EXPECT_GT(BlueOf(aqua), 0u + RedOf(aqua));
  EXPECT_EQ(frame.Pixel(10 + 49, 34 + 48), 0u);  // just left of the wall

  const TKBitmap& paddle = *gBrickPictures.paddlePicture[0][1][0];
  const int px = 10 + p.x / kPx, py = 34 + p.y / kPx;
  EXPECT_EQ(frame.Pixel(px + 24, py + 7), paddle.Pixel(24, 7));
  EXPECT_EQ(frame.Pixel(px, py), 0u);  // the transparent corner shows the background
  EXPECT_EQ(frame.Pixel(px - 1, py + 7), 0u);

  EXPECT_EQ(frame.Pixel(10 + 200 + 8, 34 + 100 + 8), RGB(255, 255, 255));  // disc centre
  EXPECT_EQ(frame.Pixel(10 + 200 + 8, 34 + 100 - 1), 0u);
}

TEST_F(BrickDrawTest, VisibilitySetsThePaddlesOpacity) {
  Paddle(100, 300, 0);
  DrawBrickField(frame);
  EXPECT_EQ(frame.Pixel(110 + 24, 334 + 7), 0u);

  Paddle(100, 300, 4);  // opacity 8 of 16: half of the picture over black
  DrawBrickField(frame);
  const uint32_t full = gBrickPictures.paddlePicture[0][1][0]->Pixel(24, 7);
  EXPECT_EQ(RedOf(frame.Pixel(110 + 24, 334 + 7)), RedOf(full) / 2);

  gBrick.players[0].inGame = 0;  // out of the game: no paddle at all
  gBrick.players[0].visibility = 8;
  DrawBrickField(frame);
  EXPECT_EQ(frame.Pixel(110 + 24, 334 + 7), 0u);
}

TEST_F(BrickDrawTest, TopEdgePaddlesUseTheTurnedPicture) {
  TBrickPlayer& p = Paddle(100, 0);
  p.direction = 1;
  DrawBrickField(frame);
  const TKBitmap& top = *gBrickPictures.paddlePicture[0][1][1];
  for (int y = 0; y < top.Height(); ++y)
    if (top.Pixel(24, y) != kMagenta) {
      EXPECT_EQ(frame.Pixel(110 + 24, 34 + y), top.Pixel(24, y));
    }
}

TEST_F(BrickDrawTest, EarthquakeMovesWallsAndPaddlesButNotBalls) {
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
  EXPECT_TRUE(moved(60, 74, 32, 16, 5, -3));    // the wall
  EXPECT_TRUE(moved(110, 334, 48, 14, 5, -3));  // the paddle
  EXPECT_TRUE(moved(210, 134, 16, 16, 0, 0));   // the ball
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

TEST_F(BrickDrawTest, UndeadBallLinesInThePlayersTwoColours) {
  TBrickPlayer& p = Paddle(100, 200);
  p.undeadBall = 1;
  DrawBrickField(frame);
  const uint32_t first = gCom.player[0].colour, second = gCom.player[0].halfColour;
  for (int x : {10, 300, 521}) {
    EXPECT_EQ(frame.Pixel(x, 414), 0u);
    EXPECT_EQ(frame.Pixel(x, 415), first);
    EXPECT_EQ(frame.Pixel(x, 416), second);
    EXPECT_EQ(frame.Pixel(x, 417), first);
  }
  p.direction = 1;  // the top edge
  DrawBrickField(frame);
  EXPECT_EQ(frame.Pixel(300, 35), second);
  EXPECT_EQ(frame.Pixel(300, 415), 0u);
}

TEST_F(BrickDrawTest, BurstsGrowAndFadeWithTheirLife) {
  EXPECT_EQ(BurstLevel(255), 0);
  EXPECT_EQ(BurstLevel(128), 15);
  EXPECT_EQ(BurstLevel(8), 1);
  EXPECT_EQ(BurstLevel(130), 15);
  gCom.burst[0] = {128, 0, 100, 100};  // full growth: a white centre
  gCom.burst[1] = {255, 1, 300, 200};  // newly added: a dim red centre
  gCom.burst[2] = {128, 9, 400, 300};  // a bad variant is taken as the largest size
  DrawBrickField(frame);
  EXPECT_EQ(frame.Pixel(100, 100), RGB(255, 255, 255));
  EXPECT_EQ(frame.Pixel(300, 200), RGB(48, 0, 0));
  EXPECT_NE(frame.Pixel(400 - 60, 300), 0u);  // 128-pixel sprite reaches 60 pixels out
}

TEST_F(BrickDrawTest, WaterFillsBelowTheWaterLineAtHalfOpacity) {
  level().f.water = 255;
  gBrick.game.waterLine = 200 * kPx;
  DrawBrickField(frame);
  EXPECT_EQ(frame.Pixel(100, 233), 0u);
  EXPECT_EQ(frame.Pixel(100, 234), RGB(0, 127, 127));
  EXPECT_EQ(frame.Pixel(521, 417), RGB(0, 127, 127));
  gBrick.game.waterLine = 383 * kPx + 600;  // row 418: nothing
  DrawBrickField(frame);
  EXPECT_EQ(frame.Pixel(100, 417), 0u);
}

TEST_F(BrickDrawTest, StarsOutOfSightAreFreedForRebirth) {
  level().f.stars = 255;
  gBrick.effects.stars[0] = {255, 16000, 0};  // 16000 x 8 / 255 + 260 = 761: outside
  gBrick.effects.stars[1] = {100, 500, -300};
  DrawBrickField(frame);
  EXPECT_EQ(gBrick.effects.stars[0].z, 0);
  EXPECT_EQ(gBrick.effects.stars[1].z, 100);
  EXPECT_EQ(frame.Pixel(500 * 8 / 100 + 260, -300 * 8 / 100 + 208), RGB(219, 219, 219));
}

// Points (and lightning) take their numbers from a copy of the shared generator, points
// row first: the pixels follow the game's sequence, and the game's own draws stay as they
// were whatever was drawn.
TEST_F(BrickDrawTest, PointsFollowTheGeneratorAndNothingDrawnAdvancesIt) {
  level().f.points = 255;
  Randomize(777);
  DrawBrickField(frame);
  EXPECT_EQ(gCom.randSeed, 777u);
  const int row = Random(384);
  const int column = Random(512);
  EXPECT_EQ(frame.Pixel(10 + column, 34 + row), RGB(239, 239, 239));

  // Nothing drawn takes a number from the game.
  level().f.fire = level().f.bubble = level().f.rain = level().f.snow = 255;
  level().f.smallSnow = level().f.water = level().f.enemy = level().f.stars = 255;
  level().f.points = level().f.lighting = 255;
  Randomize(777);
  DrawBrickField(frame);
  EXPECT_EQ(gCom.randSeed, 777u);
}

TEST_F(BrickDrawTest, EnemiesHideWhileTheEditorIsOpen) {
  level().f.enemy = 255;
  TBrickEnemy& e = gBrick.enemies[0];
  e.kind = kEnemyBumper;
  e.x = 300 * kPx;
  e.y = 200 * kPx;
  DrawBrickField(frame);
  EXPECT_NE(frame.Pixel(310 + 16, 234 + 16), 0u);
  gCom.editorOpen = 1;
  DrawBrickField(frame);
  EXPECT_EQ(frame.Pixel(310 + 16, 234 + 16), 0u);
}

TEST_F(BrickDrawTest, EditorMarksSelectionBonusesAndGrid) {
  gCom.editorOpen = 1;
  level().f.backgroundColour = RGB(0, 0, 80);
  gBrickEditorView.maskBackground = true;
  level().Walls().push_back(TWall{50, 40, 0, 0, 5, {}});
  AddWall(50, 40);
  gBrick.walls[0].bonus = 5;
  gBrickEditorView.selectedWalls = {0};
  gBrickEditorView.bonuses = true;
  gBrickEditorView.grid = true;
  gBrickEditorView.gridSize = 16;
  DrawBrickField(frame);
  EXPECT_EQ(frame.Pixel(200, 100), 0u);                          // masked: black, not blue
  EXPECT_EQ(frame.Pixel(10 + 49, 34 + 45), RGB(255, 255, 255));  // selection outline
  EXPECT_EQ(frame.Pixel(10 + 82, 34 + 45), RGB(255, 255, 255));
  // The bonus picture over the wall's centre (a point of it off the grid lines).
  const TKBitmap& bonus = *gBrickPictures.bonusPicture[5];
  const int bx = 10 + 50 + 16 - bonus.Width() / 2, by = 34 + 40 + 8 - bonus.Height() / 2;
  EXPECT_EQ(frame.Pixel(10 + 66, 34 + 49), bonus.Pixel(10 + 66 - bx, 34 + 49 - by));
  EXPECT_EQ(frame.Pixel(200, 34 + 16 * 5), RGB(127, 127, 127));  // a grid line over black
  EXPECT_EQ(frame.Pixel(10 + 16 * 7, 300), RGB(127, 127, 127));
  EXPECT_EQ(frame.Pixel(10 + 16 * 7 + 1, 300 + 1), 0u);
}

}  // namespace
}  // namespace kelvra
