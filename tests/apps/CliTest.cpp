// kelvra-cli: info and render on good and bad files, play's option checks, its last line,
// determinism, pictures, the wave of the game's sounds and the step limit of --until-end.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <tuple>

#include "../apps/kelvra-cli/Commands.h"
#include "DataDirTest.h"
#include "TestUtil.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickState.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "media/KBitmap.h"
#include "media/Wave.h"
#include "monsters/MonsLevel.h"
#include "platform/Headless.h"

namespace kelvra {
namespace {

class CliTest : public test::DataDirTest<> {
 protected:
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return RunCli(args, out, err);
  }
  // A new set of the kind, changed by `fill`, saved under `name` and freed again.
  template <class F>
  std::string SaveSet(int kind, const std::string& name, F fill) {
    HeadlessPlatform platform;
    SetPlatform(&platform);
    gCom.kind = uint8_t(kind);
    NewLevelSet(gCom.kind);
    fill();
    std::string file = dir.File(name);
    EXPECT_TRUE(SaveLevelSet(gCom.kind, file));
    SetPlatform(nullptr);
    KindOps(kind).FreeLevelSet();
    ResetCom();
    return file;
  }
  // A Brickfall set of `levels` levels of `walls` walls each, in rows across the field.
  std::string MakeSet(const std::string& name, int levels, int walls, bool locked = false) {
    return SaveSet(gkBrickfall, name, [&] {
      gBrickLevels.resize(levels);
      for (TLevel& level : gBrickLevels) {
        NewBrickLevel(level);
        for (int i = 0; i < walls; ++i) {
          TWall w{};
          w.x = 16 + (i % 20) * 24;
          w.y = 16 + (i / 20) * 16;
          w.colour = uint8_t(i % 6);
          level.Walls().push_back(w);
        }
      }
      if (locked) Cur().header.lock = kLocked;
    });
  }
  std::string LastLine() const {
    std::string text = out.str();
    if (!text.empty() && text.back() == '\n') text.pop_back();
    size_t nl = text.rfind('\n');
    return nl == std::string::npos ? text : text.substr(nl + 1);
  }
  std::string Digest() const { return LastLine().substr(LastLine().find("digest=")); }

  test::TempDir dir;
  std::ostringstream out, err;
};

TEST_F(CliTest, InfoDescribesABrickfallSet) {
  std::string file = SaveSet(gkBrickfall, "set.BrL", [] {
    gBrickLevels.resize(2);
    NewBrickLevel(gBrickLevels[1]);
    gBrickLevels[1].Walls().resize(3);
    gBrickLevels[1].f.snow = 255;
    gBrickLevels[1].f.rightIsLeft = 255;
    SetShortString(Cur().header.description, 64, "Two levels");
    SetShortString(Cur().header.finalMessage, 64, "Well played");
  });

  ASSERT_EQ(Run({"info", file}), 0);
  for (const char* line :
       {"kind: Brickfall\n", "\nlevels: 2\n", "description: Two levels\n",
        "final message: Well played\n", "level 2: walls 3, flags snow mirror-x\n"})
    EXPECT_NE(out.str().find(line), std::string::npos) << line;
}

TEST_F(CliTest, InfoFindsTheKindByMagicAndNamesMonstersLevels) {
  // No level-set extension.
  std::string file = SaveSet(gkMonsters, "monsters.dat",
                             [] { SetShortString(gMonsLevels[0].name, kMonsNameBytes, "Cellar"); });
  gCom.kind = gkBrickfall;

  ASSERT_EQ(Run({"info", file}), 0);
  EXPECT_NE(out.str().find("kind: Monsters\n"), std::string::npos);
  EXPECT_NE(out.str().find("level 1: name \"Cellar\"\n"), std::string::npos);
}

TEST_F(CliTest, RenderDrawsTheFrameOfALevel) {
  std::string file = MakeSet("r.BrL", 2, 0);

  std::string picture = dir.File("frame.bmp");
  ASSERT_EQ(Run({"render", file, "--level", "2", "--out", picture}), 0);
  std::vector<uint8_t> bytes = test::ReadAll(picture);
  TKBitmap frame;
  std::string error;
  ASSERT_TRUE(DecodeBmp(bytes.data(), bytes.size(), frame, error)) << error;
  EXPECT_EQ(std::make_pair(frame.Width(), frame.Height()), std::make_pair(640, 440));

  EXPECT_EQ(Run({"render", file, "--level", "3", "--out", picture}), 1);  // no level 3
  EXPECT_NE(err.str().find("not a level 3"), std::string::npos);
  EXPECT_EQ(Run({"render", file, "--level", "x", "--out", picture}), 2);
  EXPECT_EQ(Run({"render", file}), 2);
}

TEST_F(CliTest, BadFilesAndCommandLinesFail) {
  test::WriteText(dir.File("short.BrL"), "GBrL");
  test::WriteText(dir.File("wrong.MoL"), std::string(200, 'x'));
  for (const char* name : {"short.BrL", "missing.BuL", "wrong.MoL"}) {
    EXPECT_TRUE(Run({"info", dir.File(name)}) == 1 && out.str().empty()) << name;
  }

  EXPECT_EQ(Run({}), 2);
  EXPECT_NE(err.str().find("usage:"), std::string::npos);
  EXPECT_EQ(Run({"fly"}), 2);
  EXPECT_NE(err.str().find("unknown command \"fly\""), std::string::npos);
  EXPECT_EQ(Run({"info"}), 2);
  EXPECT_EQ(Run({"--help"}), 0);
}

TEST_F(CliTest, BadOptionsGiveAMessageAndCodeTwo) {
  const std::string set = MakeSet("set.BrL", 2, 10);
  const std::vector<std::vector<std::string>> bad = {
      {"play"},
      {"play", set},                                 // no --steps nor --until-end
      {"play", set, "--steps", "5", "--until-end"},  // both
      {"play", set, "--steps"},                      // value missing
      {"play", set, "--steps", "1000000001"},
      {"play", set, "--steps", "3", "--players", "6"},
      {"play", set, "--steps", "3", "--ai", "1,,2"},
      {"play", set, "--steps", "3", "--players", "2", "--ai", "3"},
      {"play", set, "--steps", "3", "--seed", "4294967296"},
      {"play", set, "--steps", "3", "--level", "2"},                // the set has levels 0 and 1
      {"play", set, "--steps", "3", "--players", "3", "--mirror"},  // odd
      {"play", set, "--steps", "3", "--every", "2"},                // no --frames
      {"play", set, "--steps", "3", "--fast"},
      {"play", set, "--steps", "3", "--turn"},  // Brickfall has no turn game
      {"play", set, "--steps", "3", "--no-enemies"},
      {"play", set, "--steps", "3", "--one-level"},  // needs --until-end
      {"bench", "--slow"},
  };
  for (const auto& args : bad) {
    EXPECT_EQ(Run(args), 2) << ::testing::PrintToString(args);
    EXPECT_TRUE(out.str().empty() && err.str().find("kelvra-cli: ") == 0) << err.str();
  }
  // A file that cannot be read is not an option error.
  EXPECT_EQ(Run({"play", dir.File("missing.BrL"), "--steps", "3"}), 1);
  // The program does not test the levels of a locked set.
  const std::string locked = MakeSet("locked.BrL", 2, 3, true);
  EXPECT_EQ(Run({"play", locked, "--steps", "3", "--level", "1"}), 2);
  EXPECT_NE(err.str().find("locked"), std::string::npos);
  EXPECT_EQ(Run({"play", locked, "--steps", "3"}), 0);
}

TEST_F(CliTest, TheLastLineHasItsFixedFormAndFollowsTheSeed) {
  const std::string set = MakeSet("set.BrL", 2, 60);
  const std::vector<std::string> args = {"play",   set,  "--players", "2",
                                         "--seed", "77", "--steps",   "400"};
  ASSERT_EQ(Run(args), 0) << err.str();
  const std::regex form(
      "state=[A-Za-z]+ level=[0-9]+ steps=400 scores=-?[0-9]+,-?[0-9]+ "
      "digest=[0-9a-f]{16}");
  EXPECT_TRUE(std::regex_match(LastLine(), form)) << LastLine();
  const std::string first = Digest();
  ASSERT_EQ(Run(args), 0);
  EXPECT_EQ(Digest(), first);
  std::vector<std::string> other = args;
  other[5] = "78";
  ASSERT_EQ(Run(other), 0);
  EXPECT_NE(Digest(), first);
}

TEST_F(CliTest, FramesAreWrittenEveryKStepsAndChangeNothing) {
  const std::string set = MakeSet("set.BrL", 1, 40);
  ASSERT_EQ(Run({"play", set, "--seed", "5", "--steps", "10"}), 0);
  const std::string plain = out.str();
  const std::string frames = dir.File("frames");
  ASSERT_EQ(Run({"play", set, "--seed", "5", "--steps", "10", "--frames", frames, "--every", "3"}),
            0)
      << err.str();
  EXPECT_EQ(out.str(), plain);  // drawing never changes the game
  const auto files = std::filesystem::directory_iterator(frames);
  EXPECT_EQ(std::distance(begin(files), end(files)), 3);
  EXPECT_TRUE(std::filesystem::exists(frames + "/step00000009.bmp"));
}

TEST_F(CliTest, UntilEndStopsAtTheEndOrTheStepLimit) {
  // Levels without walls are done at once: 16 steps of fading out each, 16 of fading in.
  const std::string empty = MakeSet("empty.BrL", 2, 0);
  ASSERT_EQ(Run({"play", empty, "--players", "2", "--until-end"}), 0) << err.str();
  EXPECT_EQ(LastLine().rfind("state=AllLevelsDone level=1 steps=", 0), 0u) << LastLine();
  const int steps = std::stoi(LastLine().substr(LastLine().find("steps=") + 6));
  EXPECT_TRUE(steps > 32 && steps < 64) << steps;
  // A player who never launches keeps his ball, and the idle rule takes one wall every five
  // seconds: the game cannot end within 300 steps.
  const std::string set = MakeSet("set.BrL", 1, 40);
  EXPECT_EQ(Run({"play", set, "--ai", "none", "--until-end", "--max-steps", "300"}), 3);
  EXPECT_NE(err.str().find("did not end within 300 steps"), std::string::npos) << err.str();
  EXPECT_EQ(LastLine().rfind("state=Playing level=0 steps=300 ", 0), 0u) << LastLine();
}

// A Monsters game in both modes: a monster walks into a pit, the players dig about.
TEST_F(CliTest, MonstersPlaysInRealTimeAndTurnByTurn) {
  const std::string set = SaveSet(gkMonsters, "set.MoL", [] {
    TMonsGrid& g = gMonsLevels[0].Grid();
    g.fill(0);
    for (int x = 0; x < kMonsCols; ++x) g[size_t(x * kMonsRows + 8) * 3] = 1;  // a row of earth
    g[0] = 7;                                                                  // player 1 at (0, 0)
    g[size_t(3 * kMonsRows) * 3 + 3] = 7;                                      // player 2 at (3, 1)
    g[size_t(3 * kMonsRows) * 3 + 4] = 1;
    g[size_t(20 * kMonsRows + 5) * 3] = 9;  // a monster heading left from (20, 5)
    g[size_t(10 * kMonsRows + 5) * 3] = 6;  // toward a pit at (10, 5)
  });
  std::string lines[2];
  for (int turn = 0; turn < 2; ++turn) {
    std::vector<std::string> args = {"play", set, "--players", "2", "--until-end"};
    if (turn) args.push_back("--turn");
    ASSERT_EQ(Run(args), 0) << err.str();
    EXPECT_EQ(out.str().rfind("moves=", 0), 0u) << out.str();
    EXPECT_EQ(LastLine().rfind("state=GameEnded level=0 ", 0), 0u) << LastLine();
    lines[turn] = out.str();
  }
  // Ten monster steps to the pit; in the turn game they follow the players' moves.
  EXPECT_EQ(lines[0].substr(0, 9), "moves=10\n");
  EXPECT_EQ(lines[1].substr(0, 9), "moves=10\n");
  EXPECT_NE(lines[0], lines[1]);
  EXPECT_EQ(Run({"play", set, "--players", "5", "--steps", "3"}), 2);
}

TEST_F(CliTest, ParsedOptionsReachTheGame) {
  const std::string set = MakeSet("set.BrL", 3, 20);
  TPlayOptions o;
  std::string error;
  ASSERT_TRUE(ParsePlayArgs(
      {set, "--players", "2", "--ai", "2", "--level", "1", "--mirror", "--steps", "1"}, o, error))
      << error;
  THeadlessGame game;
  int code = 0;
  ASSERT_TRUE(game.Start(o.setup, error, code)) << error;
  EXPECT_EQ(std::make_tuple(int(Cur().state), int(Cur().testGame), int(Cur().levelIndex),
                            int(Cur().playersMinusOne), int(gCom.player[0].ai),
                            int(gCom.player[1].ai), int(gBrick.wallCount)),
            std::make_tuple(int(gsPlaying), 1, 1, 1, 0, 1, 20));
  // The first player at the bottom edge, the second at the mirror game's top edge.
  EXPECT_EQ(std::make_pair(int(gBrick.players[0].direction), int(gBrick.players[1].direction)),
            std::make_pair(-1, 1));
}

// The wave holds the game's steps of 28 ms at 22050 Hz in whole frames of two 16-bit
// samples, and the game's effects only.
TEST_F(CliTest, TheSoundOutHoldsTheGamesEffectsOnly) {
  const std::string set = MakeSet("set.BrL", 1, 60);
  const std::string wave = dir.File("game.wav");
  const auto samples = [&] {
    const std::vector<uint8_t> bytes = test::ReadAll(wave);
    TWaveDecode decoded = DecodeWave(bytes.data(), bytes.size());
    return decoded.wave ? decoded.wave->samples : std::vector<int16_t>{};
  };
  const auto silent = [](const std::vector<int16_t>& v) {
    return std::all_of(v.begin(), v.end(), [](int16_t s) { return s == 0; });
  };
  // The computer launches at once: bounces and broken walls are heard.
  ASSERT_EQ(Run({"play", set, "--seed", "3", "--steps", "300", "--sound-out", wave}), 0);
  const std::vector<int16_t> heard = samples();  // 300 × 28 × 22050 / 1000 frames
  EXPECT_TRUE(heard.size() == 185220u * 2 && !silent(heard)) << heard.size();
  // A player who does not launch makes no sound, and the kind's start jingle stays out of
  // the wave. 7 steps: 4321.8 frames, whole frames only.
  ASSERT_EQ(Run({"play", set, "--ai", "none", "--steps", "7", "--sound-out", wave}), 0);
  const std::vector<int16_t> quiet = samples();
  EXPECT_TRUE(quiet.size() == 4321u * 2 && silent(quiet)) << quiet.size();
  EXPECT_EQ(Run({"play", set, "--steps", "7", "--sound-out", dir.File("no/such/dir.wav")}), 1);
}

TEST_F(CliTest, BenchReportsEveryMeasure) {
  ASSERT_EQ(Run({"bench", "--quick"}), 0) << err.str();
  EXPECT_NE(out.str().find("worst case (1536 walls, 32 flying balls)"), std::string::npos);
  EXPECT_NE(out.str().find("Monsters monster steps, all 512 slots in use"), std::string::npos);
}

}  // namespace
}  // namespace kelvra
