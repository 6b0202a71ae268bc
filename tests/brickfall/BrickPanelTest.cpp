// The Brickfall status panel: number formats, redrawing only what changed and the player
// panels.
#include "brickfall/BrickPanel.h"
#include "common/ReadNumber.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "brickfall/BrickGame.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPictures.h"
#include "brickfall/BrickState.h"
#include "common/Com.h"
#include "media/KBitmap.h"

namespace kelvra {
namespace {

bool Inside(const TRect& r, int x, int y) {
  return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

TEST(BrickPanelFormats, NumbersFitTheirDisplays) {
  // 250 is more than the display holds; 256, the last level of a full set, still shows.
  EXPECT_EQ(std::make_tuple(FormatPlain(250), FormatLevel(256), FormatThousands(1000),
                            FormatThousands(5000000), FormatMinutes(61999),
                            FormatMinutes(4000000000u), FormatRate(12345678)),
            std::make_tuple("99", "256", "1,000", "999,999", "1:01", "999:59", "999.99"));
}

class BrickPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    gBrickPictures = TBrickPictures{};
    ResetBrickState(TBrickReset::kAll);
    gBrickLevels.assign(2, TLevel{});
    for (TLevel& l : gBrickLevels) NewBrickLevel(l);
    gCom.k[gkBrickfall].playersMinusOne = 2;
    frame.SetSize(640, 440);
    FillBitmap(frame, RGB(1, 2, 3), ef16);
    DrawBrickPanel(frame);
    before.CopyFrom(frame);
  }
  void TearDown() override {
    gBrickLevels.clear();
    ResetBrickState(TBrickReset::kAll);
    gFrameRates = {};
    InvalidateBrickPanel();
    ResetCom();
  }
  // Every pixel that changed since `before` lies in `r`; returns how many changed.
  int ChangedOnlyIn(const TRect& r) {
    int changed = 0;
    for (int y = 0; y < frame.Height(); ++y)
      for (int x = 0; x < frame.Width(); ++x)
        if (frame.Pixel(x, y) != before.Pixel(x, y)) {
          ++changed;
          EXPECT_TRUE(Inside(r, x, y)) << "pixel " << x << "," << y << " changed";
        }
    before.CopyFrom(frame);
    return changed;
  }

  TKBitmap frame, before;
};

TEST_F(BrickPanelTest, OnlyTheChangedDisplayIsRedrawnAndInvalidationRepeatsTheImage) {
  const TRect none{0, 0, -1, -1};
  UpdateBrickPanel(frame);
  EXPECT_EQ(ChangedOnlyIn(none), 0);  // nothing changed, nothing drawn
  const struct {
    std::function<void()> change;
    TRect where;
  } steps[] = {
      {[] { gBrick.players[1].shots = 5; }, BrickPanelRect(bpShots, 1)},
      {[] { gCom.k[gkBrickfall].levelTime = 999; }, none},  // still 0 seconds
      {[] { gCom.k[gkBrickfall].levelTime = 5000; }, BrickPanelRect(bpLevelTime)},
      {[] { gBrick.game.wind = -30; }, BrickPanelRect(bpWind)},
      // A player beyond the last one has no panel; a value of his changes nothing.
      {[] { gBrick.players[4].shots = 9; }, none},
  };
  for (const auto& s : steps) {
    s.change();
    UpdateBrickPanel(frame);
    const int changed = ChangedOnlyIn(s.where);
    EXPECT_EQ(changed > 0, s.where.right >= s.where.left) << s.where.left << "," << s.where.top;
  }
  InvalidateBrickPanel();
  UpdateBrickPanel(frame);
  EXPECT_EQ(ChangedOnlyIn(none), 0);
}

TEST_F(BrickPanelTest, PanelsOnlyForPlayersInTheGameInTheirColours) {
  const TRect p2 = BrickPanelRect(bpPlayerPanel, 2), p3 = BrickPanelRect(bpPlayerPanel, 3);
  EXPECT_EQ(frame.Pixel(p2.left, p2.top + 10), gCom.player[2].colour);
  const uint32_t backdrop = frame.Pixel(p3.left, p3.top + 10);  // no fourth player

  // Fewer players: the panel left over is cleared to the backdrop.
  gCom.k[gkBrickfall].playersMinusOne = 1;
  UpdateBrickPanel(frame);
  EXPECT_GT(ChangedOnlyIn(p2), 0);
  for (int y = p2.top; y <= p2.bottom; ++y)
    for (int x = p2.left; x <= p2.right; ++x) ASSERT_EQ(frame.Pixel(x, y), backdrop);

  // A colour change repaints the panel after an invalidation, whichever display of the panel
  // the field's drawing refreshes first.
  gCom.player[0].colour = RGB(0, 200, 0);
  InvalidateBrickPanel();
  UpdateBrickPlayerDisplays(frame, 0);
  UpdateBrickPanel(frame);
  const TRect p0 = BrickPanelRect(bpPlayerPanel, 0);
  EXPECT_EQ(frame.Pixel(p0.right, p0.bottom), RGB(0, 200, 0));
}

}  // namespace
}  // namespace kelvra
