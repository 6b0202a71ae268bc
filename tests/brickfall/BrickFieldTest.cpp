// Tests of building the Brickfall play-field wall table: fixed-point conversion, hits, the
// three mirroring flags, the slot limit and walls whose shape has no picture.
#include "brickfall/BrickField.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "brickfall/BrickState.h"

namespace kelvra {
namespace {

// Wall pictures in pixels: shape 0 is 32 x 16, shape 1 is 64 x 32.
const int32_t kWidths[] = {32, 64};
const int32_t kHeights[] = {16, 32};

TWall Wall(int32_t x, int32_t y, uint16_t shape = 0, uint8_t colour = 0, uint8_t bonus = 0) {
  return TWall{x, y, shape, colour, bonus, {}};
}

TLevel Level(const TWalls& walls, bool mirrorX, bool mirrorY, bool mirrorXY) {
  TLevel level;
  NewBrickLevel(level);
  level.Walls() = walls;
  level.f.rightIsLeft = mirrorX ? 255 : 0;
  level.f.bottomIsTop = mirrorY ? 255 : 0;
  level.f.rightBottomIsLeftTop = mirrorXY ? 255 : 0;
  return level;
}

// Top-left corners, in whole pixels, of the filled slots in order.
std::vector<std::pair<int32_t, int32_t>> Corners() {
  std::vector<std::pair<int32_t, int32_t>> corners;
  for (int i = 0; i < gBrick.wallCount; ++i) {
    EXPECT_TRUE(gBrick.walls[i].alive == 1u && gBrick.walls[i].x % kFxOne == 0);
    corners.emplace_back(gBrick.walls[i].x / kFxOne, gBrick.walls[i].y / kFxOne);
  }
  return corners;
}

TEST(BrickField, Mirroring) {
  enum { X = 1, Y = 2, D = 4 };  // right is left, bottom is top, right-bottom is left-top
  const struct {
    const char* name;
    int flags, x, y;
    std::vector<std::pair<int32_t, int32_t>> expected;
  } cases[] = {
      {"left half mirrored right", X, 10, 50, {{10, 50}, {470, 50}}},
      {"straddling the vertical centre", X, 240, 50, {{240, 50}}},
      {"ending one pixel before the centre", X, 224, 50, {{224, 50}, {256, 50}}},
      {"starting at the centre", X, 256, 50, {{256, 50}, {224, 50}}},
      {"upper half mirrored down", Y, 10, 20, {{10, 20}, {10, 348}}},
      {"straddling the horizontal centre", Y, 10, 180, {{10, 180}}},
      {"all three, top-left", X | Y | D, 10, 20, {{10, 20}, {470, 20}, {10, 348}, {470, 348}}},
      {"only the diagonal", D, 400, 300, {{400, 300}, {80, 68}}},
      {"diagonal needs both sides", D, 240, 20, {{240, 20}}},
      {"all three, straddling vertically", X | Y | D, 240, 20, {{240, 20}, {240, 348}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetBrickState(TBrickReset::kAll);
    BuildPlayField(Level({Wall(c.x, c.y, 0, 4, 9)}, c.flags & X, c.flags & Y, c.flags & D), kWidths,
                   kHeights, 2);
    EXPECT_EQ(Corners(), c.expected);
    for (int i = 0; i < gBrick.wallCount; ++i) {
      EXPECT_EQ(std::make_tuple(gBrick.walls[i].hits, gBrick.walls[i].bonus, gBrick.walls[i].width),
                std::make_tuple(4u, 9, 32 * kFxOne));
    }
  }
}

TEST(BrickField, CopiesFollowEachWallInTurnAndARebuildClearsOldWalls) {
  BuildPlayField(Level({Wall(10, 20), Wall(300, 250)}, true, true, false), kWidths, kHeights, 2);
  const std::vector<std::pair<int32_t, int32_t>> expected = {{10, 20},  {300, 250}, {470, 20},
                                                             {10, 348}, {180, 250}, {300, 118}};
  EXPECT_EQ(Corners(), expected);
  BuildPlayField(Level({Wall(10, 20)}, false, false, false), kWidths, kHeights, 2);
  EXPECT_EQ(std::make_tuple(gBrick.wallCount, gBrick.walls[1].alive), std::make_tuple(1, 0u));
}

TEST(BrickField, SlotLimit) {
  // 1000 walls with all three flags would need 4000 slots: copying stops at 1536.
  TWalls walls(1000, Wall(10, 20, 0, 2));
  BuildPlayField(Level(walls, true, true, true), kWidths, kHeights, 2);
  EXPECT_EQ(gBrick.wallCount, kBrickFieldWalls);
  for (const TFieldWall& w : gBrick.walls) EXPECT_EQ(w.alive, 1u);
  // Copies of wall i fill slots 1000 + 3i .. 1002 + 3i (right, bottom, diagonal), so the
  // last slot holds wall 178's bottom copy and its diagonal copy is dropped.
  EXPECT_EQ(std::make_tuple(gBrick.walls[1000].x, gBrick.walls[1535].x, gBrick.walls[1535].y,
                            gBrick.walls[1535].hits),
            std::make_tuple(470 * kFxOne, 10 * kFxOne, 348 * kFxOne, 2u));

  // More stored walls than slots: only the first 1536 are taken.
  TWalls many(kBrickFieldWalls + 10, Wall(10, 20));
  many[kBrickFieldWalls] = Wall(99, 99);
  BuildPlayField(Level(many, false, false, false), kWidths, kHeights, 2);
  EXPECT_EQ(gBrick.wallCount, kBrickFieldWalls);
  EXPECT_EQ(gBrick.walls[kBrickFieldWalls - 1].x, 10 * kFxOne);
}

TEST(BrickField, UnknownShapeIsSkipped) {
  BuildPlayField(Level({Wall(10, 20, 2), Wall(30, 40, 1), Wall(1, 1, 65535)}, true, false, false),
                 kWidths, kHeights, 2);
  const std::vector<std::pair<int32_t, int32_t>> expected = {{30, 40}, {418, 40}};
  EXPECT_EQ(std::make_tuple(Corners(), gBrick.walls[0].shape), std::make_tuple(expected, 1u));

  BuildPlayField(Level({Wall(10, 20)}, true, true, true), nullptr, nullptr, 0);
  EXPECT_EQ(std::make_tuple(gBrick.wallCount, gBrick.walls[0].alive), std::make_tuple(0, 0u));
}

TEST(BrickField, FarOutCoordinatesStayInRange) {
  // Unvalidated stored values would overflow 32 bits once scaled; they are held far outside
  // the field instead, and mirroring them stays finite.
  BuildPlayField(Level({Wall(INT32_MAX, INT32_MIN)}, true, true, true), kWidths, kHeights, 2);
  ASSERT_EQ(gBrick.wallCount, 4);
  EXPECT_EQ(std::make_tuple(gBrick.walls[0].x, gBrick.walls[0].y, gBrick.walls[3].x),
            std::make_tuple(65536 * kFxOne, -65536 * kFxOne,
                            kBrickFieldWidthFx - 65536 * kFxOne - 32 * kFxOne));
}

}  // namespace
}  // namespace kelvra
