// The overlay painter on the frame bitmap: the fade between levels, the state messages,
// the description caption, the editor's view and the pointer.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "brickfall/BrickLevel.h"
#include "common/Com.h"
#include "common/Overlay.h"
#include "common/SharedImages.h"
#include "media/KBitmap.h"

namespace kelvra {
namespace {

class OverlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    gBrickLevels.assign(2, TLevel{});
    for (TLevel& l : gBrickLevels) NewBrickLevel(l);
    gCom.mouseX = gCom.mouseY = -1;
  }
  void TearDown() override {
    gBrickLevels.clear();
    gImages.cursor[0].reset();
  }
  // Pixels of the field that are not black.
  int LitPixels() {
    const TRect& f = Cur().field;
    int lit = 0;
    for (int y = f.top; y <= f.bottom; ++y)
      for (int x = f.left; x <= f.right; ++x) lit += frame.Pixel(x, y) != 0;
    return lit;
  }
  TKBitmap frame{640, 440};
};

TEST(Fade, RisesAndFallsOverSixteenStepsAndStaysInRange) {
  // The countdown is shared with other states: any value is kept in range.
  const struct {
    uint8_t state;
    int32_t countdown, amount;
  } rows[] = {{gsLevelDone, 16, 0},         {gsLevelDone, 0, 240},    {gsLevelStarting, 16, 240},
              {gsLevelStarting, 1000, 240}, {gsLevelDone, -100, 240}, {gsPlaying, 5, 0}};
  for (const auto& r : rows) EXPECT_EQ(FadeAmount(r.state, r.countdown), r.amount) << r.countdown;
}

TEST_F(OverlayTest, FadeDarkensTheDescriptionShownWhileNoGameRuns) {
  // The description caption is drawn (white text) and the fade is taken off it afterwards.
  SetShortString(Cur().header.description, 64, "Bricks");
  auto brightest = [this] {
    const TRect& f = Cur().field;
    int most = 0;
    for (int y = f.top; y <= f.top + 30; ++y)
      for (int x = f.left; x <= f.left + 120; ++x) most = std::max(most, RedOf(frame.Pixel(x, y)));
    return most;
  };
  DrawOverlay(frame, gCom.kind);
  EXPECT_EQ(brightest(), 255);
  Cur().state = gsLevelDone;
  gCom.countdown = 8;  // half way: 15 * 8 = 120 taken off every channel
  DrawOverlay(frame, gCom.kind);
  EXPECT_EQ(brightest(), 255 - 120);
  Cur().running = 1;  // the description shows only while no game runs
  Cur().state = gsPlaying;
  DrawOverlay(frame, gCom.kind);
  EXPECT_EQ(LitPixels(), 0);
}

TEST_F(OverlayTest, StateMessagesAndTheEditorView) {
  Cur().state = gsGameEnded;
  Cur().running = 1;
  DrawOverlay(frame, gCom.kind);
  const int withMessage = LitPixels();
  EXPECT_GT(withMessage, 500);  // "Game Over" in big letters
  gCom.editorOpen = 1;
  DrawOverlay(frame, gCom.kind);
  EXPECT_EQ(LitPixels(), 0);  // none of the messages with the editor open
}

// One player's final message of the set shows at its end only: after a game or a test of
// the last level, not after a test of another level.
TEST_F(OverlayTest, FinalMessageOnlyAtTheEndOfTheSet) {
  SetShortString(Cur().header.finalMessage, 64, "Well done");
  Cur().state = gsAllLevelsDone;
  Cur().playersMinusOne = 0;
  Cur().running = 1;  // no description
  int lit[3];
  for (int i = 0; i < 3; ++i) {
    Cur().testGame = i > 0;
    Cur().levelIndex = i < 2;
    DrawOverlay(frame, gCom.kind);
    lit[i] = LitPixels();
  }
  EXPECT_TRUE(lit[0] == lit[1] && lit[1] > lit[2] + 100) << lit[1] << " " << lit[2];
}

TEST_F(OverlayTest, PointerDrawnOnlyInsideTheField) {
  gImages.cursor[0] = std::make_unique<TKBitmap>(4, 4);
  FillBitmap(*gImages.cursor[0], RGB(255, 255, 255), ef16);
  Cur().running = 1;
  gCom.mouseX = 10;
  gCom.mouseY = 20;
  EXPECT_TRUE(DrawOverlay(frame, gCom.kind).pointerInField);
  const TRect& f = Cur().field;
  EXPECT_EQ(frame.Pixel(f.left + 10, f.top + 20), 0xFFFFFFu);
  gCom.mouseX = -1;
  EXPECT_FALSE(DrawOverlay(frame, gCom.kind).pointerInField);
}

}  // namespace
}  // namespace kelvra
