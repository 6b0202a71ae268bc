// The Burrower measuring scenes hold what their measurements claim to measure.
#include "session/BurrScenes.h"

#include <gtest/gtest.h>

#include "apps/DataDirTest.h"
#include "common/Settings.h"
#include "session/Dispatch.h"
#include "session/HeadlessGame.h"

namespace kelvra {
namespace {

using BurrScenesTest = test::DataDirTest<>;

// Every apple falls on every step the benchmark times, every enemy record stays taken, and
// the brooders keep cycling.
TEST_F(BurrScenesTest, WarrenApplesFallThroughTheTimedSteps) {
  InstallGames();
  THeadlessGame game;
  TGameSetup setup;
  setup.file = DefaultLevelsFile(gkBurrower);
  setup.players = 2;
  setup.aiMask = 3;
  std::string error;
  int code = 0;
  ASSERT_TRUE(game.Start(setup, error, code)) << error;
  FillBurrowerWarren();
  for (int step = 0; step < kWarrenFallSteps; ++step) {
    int32_t y[kApples];
    for (int i = 0; i < kApples; ++i) y[i] = gBurr.apples[i].y;
    game.Step();
    ASSERT_EQ(gCom.k[gkBurrower].state, gsPlaying) << "step " << step;
    for (int i = 0; i < kApples; ++i)
      ASSERT_GT(gBurr.apples[i].y, y[i]) << "apple " << i << ", step " << step;
  }
  int taken = 0, alive = 0, brooding = 0;
  for (const TBurrEnemy& e : gBurr.enemies) taken += e.state != esFree, alive += e.state == esAlive;
  for (const TBrooder& b : gBurr.brooders) brooding += b.opening != 0;
  EXPECT_EQ(std::make_pair(taken, brooding), std::make_pair(kEnemies, kBrooders));
  EXPECT_GE(alive, kEnemies - 4);  // the players may have shot a few
}

}  // namespace
}  // namespace kelvra
