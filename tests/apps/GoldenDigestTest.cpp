// Golden digests: fixed-seed games of the default sets of the three games, played by the
// computer for a fixed number of steps or to their end, from the first level or a chosen
// one, must end in the recorded state. A mismatch writes the actual
// line next to the expected file (<name>.actual), to be inspected and, when the change of
// the rules was meant, copied over the expected file.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "../apps/kelvra-cli/Commands.h"
#include "DataDirTest.h"
#include "TestUtil.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/GameDigest.h"
#include "common/Kinds.h"
#include "session/HeadlessGame.h"

namespace kelvra {
namespace {

// From the source tree's own path: __FILE__ is relative under ccache's base folder, and a
// relative path would miss the expected files when the tests run from another folder.
const std::filesystem::path kGoldenDir = std::filesystem::path(KELVRA_SOURCE_DIR) / "tests/golden";

struct TGoldenGame {
  const char* name;  // tests/golden/<name>.txt
  std::vector<std::string> options;
  const char* set = "Levels/Brickfall/Default.BrL";  // in the data tree
};

using GoldenDigestTest = test::DataDirTest<::testing::TestWithParam<TGoldenGame>>;

TEST_P(GoldenDigestTest, GameEndsInTheRecordedState) {
  const TGoldenGame& game = GetParam();
  std::vector<std::string> args = {"play", std::string(KELVRA_TEST_DATA_DIR) + "/" + game.set};
  args.insert(args.end(), game.options.begin(), game.options.end());
  std::ostringstream out, err;
  ASSERT_EQ(RunCli(args, out, err), 0) << err.str();
  const std::string actual = out.str();

  std::error_code ec;  // the folder is made for the .actual files; a failure shows below
  std::filesystem::create_directories(kGoldenDir, ec);
  const std::filesystem::path expectedFile = kGoldenDir / (std::string(game.name) + ".txt");
  const std::filesystem::path actualFile = kGoldenDir / (std::string(game.name) + ".actual");
  if (!std::filesystem::exists(expectedFile)) {
    test::WriteText(actualFile.string(), actual);
    GTEST_SKIP() << "no expected result " << expectedFile << " yet; this run's is in "
                 << actualFile;
  }
  const std::string expected = test::ReadText(expectedFile.string());
  if (actual != expected) {
    test::WriteText(actualFile.string(), actual);
    FAIL() << "the game ended in another state than recorded\n  expected: " << expected
           << "  actual:   " << actual << "The actual line is in " << actualFile
           << "; when the rules or the default set changed on purpose, copy it over "
           << expectedFile;
  }
  std::filesystem::remove(actualFile);
}

INSTANTIATE_TEST_SUITE_P(
    DefaultSet, GoldenDigestTest,
    ::testing::Values(
        TGoldenGame{"one_player_seed1", {"--players", "1", "--seed", "1", "--steps", "3000"}},
        TGoldenGame{"two_players_seed42", {"--players", "2", "--seed", "42", "--steps", "5000"}},
        TGoldenGame{"four_players_mirror_seed7",
                    {"--players", "4", "--mirror", "--seed", "7", "--steps", "2500"}},
        TGoldenGame{"five_players_seed2024",
                    {"--players", "5", "--seed", "2024", "--steps", "4000"}},
        TGoldenGame{"test_level_3_seed9",
                    {"--players", "2", "--level", "3", "--seed", "9", "--steps", "2000"}},
        // Test Level on the levels whose rules the games above never reach: a wind below
        // 16 (rounded away from zero), enemies in water, gravity with earthquakes, enemies
        // then gravity, and every effect at once on the last level.
        TGoldenGame{"test_level_5_wind_seed3",
                    {"--players", "1", "--level", "5", "--seed", "3", "--steps", "1500"}},
        TGoldenGame{"test_level_10_enemies_water_seed11",
                    {"--players", "2", "--level", "10", "--seed", "11", "--steps", "2000"}},
        TGoldenGame{"test_level_18_gravity_quake_seed17",
                    {"--players", "1", "--level", "18", "--seed", "17", "--steps", "1500"}},
        TGoldenGame{"test_level_29_enemies_seed28",
                    {"--players", "3", "--level", "29", "--seed", "28", "--steps", "1500"}},
        TGoldenGame{"test_level_32_every_effect_seed31",
                    {"--players", "2", "--level", "32", "--seed", "31", "--steps", "2500"}},
        // Monsters from the level shown (the first), and Test Level on later ones, in real
        // time and turn by turn, alone and as four.
        TGoldenGame{"monsters_one_player_seed5",
                    {"--players", "1", "--seed", "5", "--until-end"},
                    "Levels/Monsters/Default.MoL"},
        TGoldenGame{"monsters_test_level_17_four_players_seed6",
                    {"--players", "4", "--level", "17", "--seed", "6", "--until-end"},
                    "Levels/Monsters/Default.MoL"},
        TGoldenGame{"monsters_turn_test_level_10_seed7",
                    {"--players", "1", "--level", "10", "--turn", "--seed", "7", "--until-end"},
                    "Levels/Monsters/Default.MoL"},
        TGoldenGame{"monsters_turn_test_level_18_four_players_seed8",
                    {"--players", "4", "--level", "18", "--turn", "--seed", "8", "--until-end"},
                    "Levels/Monsters/Default.MoL"},
        // Burrower from the first level, alone and as five.
        TGoldenGame{"burrower_one_player_seed3",
                    {"--players", "1", "--seed", "3", "--steps", "4000"},
                    "Levels/Burrower/Default.BuL"},
        TGoldenGame{"burrower_five_players_seed4",
                    {"--players", "5", "--seed", "4", "--steps", "3000"},
                    "Levels/Burrower/Default.BuL"},
        // Test Level where the brooders hatch: enemies under a row of apples, and six nests
        // against five players.
        TGoldenGame{"burrower_test_level_9_apple_rain_seed12",
                    {"--players", "2", "--level", "9", "--seed", "12", "--steps", "3000"},
                    "Levels/Burrower/Default.BuL"},
        TGoldenGame{"burrower_test_level_22_nests_five_players_seed22",
                    {"--players", "5", "--level", "22", "--seed", "22", "--steps", "3000"},
                    "Levels/Burrower/Default.BuL"}),
    [](const ::testing::TestParamInfo<TGoldenGame>& info) { return std::string(info.param.name); });

// Drawing only reads the game state: a game ends the same with no frame drawn and with
// three drawn after every step (Brickfall on its level of every effect, stars included).
using DrawnFramesTest = test::DataDirTest<>;
TEST_F(DrawnFramesTest, FramesDrawnChangeNothingInAnyGame) {
  const struct {
    const char* set;
    int level, steps;
  } games[] = {{"Levels/Brickfall/Default.BrL", 31, 2500},
               {"Levels/Monsters/Default.MoL", 16, 1500},
               {"Levels/Burrower/Default.BuL", 8, 2500}};
  for (const auto& g : games) {
    uint64_t digest[2] = {};
    for (int frames : {0, 3}) {
      THeadlessGame game;
      TGameSetup setup;
      setup.file = std::string(KELVRA_TEST_DATA_DIR) + "/" + g.set;
      setup.players = 2;
      setup.level = g.level;
      setup.seed = 77;
      std::string error;
      int code = 0;
      ASSERT_TRUE(game.Start(setup, error, code)) << error;
      for (int i = 0; i < g.steps; ++i) {
        game.Step();
        for (int f = 0; f < frames; ++f) game.control->DrawTick();
      }
      digest[frames ? 1 : 0] = GameDigest();
    }
    EXPECT_EQ(digest[0], digest[1]) << g.set;
  }
}

}  // namespace
}  // namespace kelvra
