// kelvra-cli: info and render on good and bad files, the picture formats, play's option
// checks, its last line, determinism, Test Level, pictures, the wave of the game's sounds and
// the step limit of --until-end; every message once, with one prefix, on the error stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <tuple>

#include "../apps/kelvra-cli/Commands.h"
#include "DataDirTest.h"
#include "HeadlessTest.h"
#include "brickfall/BrickLevel.h"
#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "media/KBitmap.h"
#include "media/Wave.h"
#include "monsters/MonsLevel.h"

namespace kelvra {
namespace {

class CliTest : public test::DataDirTest<test::HeadlessTest> {
 protected:
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return RunCli(args, out, err);
  }
  // A new set of the kind, changed by `fill`, saved under `name` and freed again.
  std::string SaveSet(int kind, const std::string& name, const std::function<void()>& fill) {
    SetPlatform(&headless);
    const std::string file = test::SaveNewSet(kind, dir.File(name), fill);
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
  // Two Monsters levels where a monster walks into a pit, the players dig about: ten monster
  // steps to the pit; in the turn game they follow the players' moves.
  std::string PitSet() {
    return SaveSet(gkMonsters, "pit.MoL", [] {
      TMonsGrid& g = gMonsLevels[0].Grid();
      g.fill(0);
      for (int x = 0; x < kMonsCols; ++x) g[size_t(x * kMonsRows + 8) * 3] = 1;  // earth
      g[0] = 7;                              // player 1 at (0, 0)
      g[size_t(3 * kMonsRows) * 3 + 3] = 7;  // player 2 at (3, 1)
      g[size_t(3 * kMonsRows) * 3 + 4] = 1;
      g[size_t(20 * kMonsRows + 5) * 3] = 9;  // a monster heading left from (20, 5)
      g[size_t(10 * kMonsRows + 5) * 3] = 6;  // toward a pit at (10, 5)
      gMonsLevels.push_back(gMonsLevels[0]);
    });
  }
  std::string LastLine() const {
    std::string text = out.str();
    text.erase(text.find_last_not_of('\n') + 1);
    return text.substr(text.rfind('\n') + 1);  // npos + 1 is 0
  }
  bool LastLineStarts(const std::string& head) const { return LastLine().rfind(head, 0) == 0; }
  std::string Digest() const { return LastLine().substr(LastLine().find("digest=")); }

  std::ostringstream out, err;
};

TEST_F(CliTest, InfoDescribesSetsAndFindsTheKindByMagic) {
  const std::string brick = SaveSet(gkBrickfall, "set.BrL", [] {
    gBrickLevels.resize(2);
    NewBrickLevel(gBrickLevels[1]);
    gBrickLevels[1].Walls().resize(3);
    gBrickLevels[1].f.snow = gBrickLevels[1].f.rightIsLeft = 255;
    SetShortString(Cur().header.description, 64, "Two levels");
    SetShortString(Cur().header.finalMessage, 64, "Well played");
  });
  const std::string mons =
      SaveSet(gkMonsters, "monsters.dat",  // no level-set extension
              [] { SetShortString(gMonsLevels[0].name, kMonsNameBytes, "Cellar"); });
  const std::pair<std::string, std::vector<const char*>> cases[] = {
      {brick,
       {"kind: Brickfall\n", "\nlevels: 2\n", "description: Two levels\n",
        "final message: Well played\n", "level 2: walls 3, flags snow mirror-x\n"}},
      {mons, {"kind: Monsters\n", "level 1: name \"Cellar\"\n"}},
  };
  for (const auto& [file, lines] : cases) {
    gCom.kind = gkBrickfall;
    ASSERT_EQ(Run({"info", file}), 0);
    for (const char* line : lines) EXPECT_NE(out.str().find(line), std::string::npos) << line;
  }
}

// The extension names the format, in any case; nothing is asked or said. An unknown
// extension writes nothing.
TEST_F(CliTest, RenderWritesTheFormatItsExtensionNames) {
  const std::string file = MakeSet("r.BrL", 2, 0);
  for (auto [name, magic] : {std::pair{"f.bmp", "BM"},
                             {"f.JPG", "\xFF\xD8\xFF"},
                             {"f.jpeg", "\xFF\xD8\xFF"},
                             {"f.png", "\x89PNG\r\n\x1A\n"}}) {
    ASSERT_EQ(Run({"render", file, "--level", "2", "--out", dir.File(name)}), 0) << err.str();
    const std::vector<uint8_t> bytes = test::ReadAll(dir.File(name));
    EXPECT_EQ(out.str() + err.str() + std::string(bytes.begin(), bytes.begin() + 2),
              std::string(magic, 2));
  }
  const std::vector<uint8_t> bytes = test::ReadAll(dir.File("f.bmp"));
  TKBitmap frame;
  std::string error;
  ASSERT_TRUE(DecodeBmp(bytes.data(), bytes.size(), frame, error)) << error;
  EXPECT_EQ(std::make_pair(frame.Width(), frame.Height()), std::make_pair(640, 440));
  EXPECT_EQ(Run({"render", file, "--out", dir.File("f.gif")}), 2);
  EXPECT_TRUE(err.str().find("f.gif: unknown picture format") != std::string::npos &&
              !std::filesystem::exists(dir.File("f.gif")));
}

// Every failure with its code and its message, printed once on the error stream with the
// program's name before it, nothing on the report stream. Option errors: no --steps nor
// --until-end, both, a value missing or out of range, an --ai not for the players, a level
// the set lacks (it has levels 1 and 2), an odd count of players mirrored, --every without
// --frames, --turn in Brickfall, --one-level without --until-end.
TEST_F(CliTest, BadFilesCommandLinesAndOptionsFail) {
  test::WriteText(dir.File("short.BrL"), "GBrL");
  test::WriteText(dir.File("wrong.MoL"), std::string(200, 'x'));
  const std::string set = MakeSet("set.BrL", 2, 10), locked = MakeSet("locked.BrL", 2, 3, true);
  const auto args = [&](const std::string& line) {
    std::istringstream words(line);
    std::vector<std::string> v;
    for (std::string w; words >> w;) v.push_back(w == "SET" ? set : w == "LOCKED" ? locked : w);
    if (v.size() > 1 && v[1].rfind("DIR/", 0) == 0) v[1] = dir.File(v[1].substr(4));
    return v;
  };
  struct Case {
    std::string line;
    int code;
    const char* message;
  };
  const Case cases[] = {
      {"info DIR/short.BrL", 1, "short.BrL: Minimum size of file is 16 bytes\n"},
      {"info DIR/missing.BuL", 1, "missing.BuL: No such file or directory (2)\n"},
      {"info DIR/wrong.MoL", 1, "wrong.MoL: Is not Monsters levels file\n"},
      {"", 2, "usage:"},
      {"fly", 2, "unknown command \"fly\""},
      {"info", 2, ""},
      {"render SET --level 3 --out x.bmp", 1, "has 2 levels, not a level 3\n"},
      {"render SET --level 0 --out x.bmp", 2, ""},
      {"render SET --level x --out x.bmp", 2, ""},
      {"render SET", 2, ""},
      {"play DIR/missing.BrL --steps 3", 1, "missing.BrL: No such file or directory (2)\n"},
      {"play SET --steps 3 --level 3", 2, "has 2 levels, not a level 3\n"},
      {"play LOCKED --steps 3 --level 1", 2, "locked"},  // no testing its levels
      {"play LOCKED --steps 3", 0, ""},
      {"--help", 0, ""},
      {"--version", 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(args(c.line)), c.code) << c.line;
    EXPECT_NE(err.str().find(c.message), std::string::npos) << c.line << ": " << err.str();
    if (c.code == 0) continue;
    const std::string first = err.str().substr(0, err.str().find('\n'));
    EXPECT_TRUE(out.str().empty() && first.rfind("kelvra-cli: ", 0) == 0 &&
                first.find("rror", 1) == std::string::npos &&
                (c.code == 2 || err.str() == first + "\n"))
        << c.line << ": " << err.str();
  }
  EXPECT_EQ(out.str(), std::string("kelvra-cli ") + KELVRA_VERSION + "\n");
  for (const char* line :
       {"play", "play SET", "play SET --steps 5 --until-end", "play SET --steps",
        "play SET --steps 1000000001", "play SET --steps 3 --players 6",
        "play SET --steps 3 --ai 1,,2", "play SET --steps 3 --players 2 --ai 3",
        "play SET --steps 3 --seed 4294967296", "play SET --steps 3 --level 0",
        "play SET --steps 3 --players 3 --mirror", "play SET --steps 3 --every 2",
        "play SET --steps 3 --fast", "play SET --steps 3 --turn", "play SET --steps 3 --no-enemies",
        "play SET --steps 3 --one-level", "bench --slow"})
    EXPECT_TRUE(Run(args(line)) == 2 && out.str().empty() && err.str().find("kelvra-cli: ") == 0)
        << line << ": " << err.str();
}

TEST_F(CliTest, TheLastLineHasItsFixedFormAndFollowsTheSeed) {
  const std::string set = MakeSet("set.BrL", 2, 60);
  std::vector<std::string> args = {"play", set, "--players", "2", "--seed", "77", "--steps", "400"};
  ASSERT_EQ(Run(args), 0) << err.str();
  const std::regex form(
      "state=[A-Za-z]+ level=[0-9]+ steps=400 scores=-?[0-9]+,-?[0-9]+ digest=[0-9a-f]{16}");
  EXPECT_TRUE(std::regex_match(LastLine(), form)) << LastLine();
  const std::string first = Digest();
  ASSERT_EQ(Run(args), 0);
  EXPECT_EQ(Digest(), first);
  args[5] = "78";
  ASSERT_EQ(Run(args), 0);
  EXPECT_NE(Digest(), first);
}

TEST_F(CliTest, FramesAreWrittenEveryKStepsAndChangeNothing) {
  const std::string set = MakeSet("set.BrL", 1, 40), frames = dir.File("frames");
  ASSERT_EQ(Run({"play", set, "--seed", "5", "--steps", "10"}), 0);
  const std::string plain = out.str();
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
  ASSERT_EQ(Run({"play", MakeSet("empty.BrL", 2, 0), "--players", "2", "--until-end"}), 0);
  EXPECT_TRUE(LastLineStarts("state=AllLevelsDone level=2 steps=")) << LastLine();
  const int steps = std::stoi(LastLine().substr(LastLine().find("steps=") + 6));
  EXPECT_TRUE(steps > 32 && steps < 64) << steps;
  // A player who never launches keeps his ball, and the idle rule takes one wall every five
  // seconds: the game cannot end within 300 steps.
  const std::string set = MakeSet("set.BrL", 1, 40);
  EXPECT_EQ(Run({"play", set, "--ai", "none", "--until-end", "--max-steps", "300"}), 3);
  EXPECT_NE(err.str().find("did not end within 300 steps"), std::string::npos) << err.str();
  EXPECT_TRUE(LastLineStarts("state=Playing level=1 steps=300 ")) << LastLine();
}

// A Monsters game in both modes on the pit level.
TEST_F(CliTest, MonstersPlaysInRealTimeAndTurnByTurn) {
  const std::string set = PitSet();
  std::string lines[2];
  for (int turn = 0; turn < 2; ++turn) {
    std::vector<std::string> args = {"play", set, "--players", "2", "--until-end"};
    if (turn) args.push_back("--turn");
    ASSERT_EQ(Run(args), 0) << err.str();
    EXPECT_EQ(out.str().rfind("moves=10\n", 0), 0u) << out.str();
    EXPECT_TRUE(LastLineStarts("state=GameEnded level=1 ")) << LastLine();
    lines[turn] = out.str();
  }
  EXPECT_NE(lines[0], lines[1]);
  EXPECT_EQ(Run({"play", set, "--players", "5", "--steps", "3"}), 2);
}

// Test Level plays the level shown and ends with it, in every game: Brickfall and Burrower
// levels with nothing to clear are done at once, the Monsters level when its monster falls.
TEST_F(CliTest, TestLevelEndsWithItsLevel) {
  const std::string burrower =
      SaveSet(gkBurrower, "e.BuL", [] { gBurrLevels.resize(3, gBurrLevels[0]); });
  for (auto [set, end] : {std::pair{MakeSet("e.BrL", 3, 0), "AllLevelsDone"},
                          {burrower, "AllLevelsDone"},
                          {PitSet(), "GameEnded"}}) {
    ASSERT_EQ(Run({"play", set, "--level", "2", "--until-end"}), 0) << err.str();
    EXPECT_TRUE(LastLineStarts(std::string("state=") + end + " level=2 ")) << LastLine();
  }
}

// The wave holds the game's steps of 28 ms at 22050 Hz in whole frames of two 16-bit
// samples, and the game's effects only.
TEST_F(CliTest, TheSoundOutHoldsTheGamesEffectsOnly) {
  const std::string set = MakeSet("set.BrL", 1, 60), wave = dir.File("game.wav");
  struct Case {
    std::vector<std::string> args;
    size_t frames;
    bool silent;
  };
  // The computer launches at once: bounces and broken walls are heard, 300 × 28 × 22050 /
  // 1000 frames. A player who does not launch makes no sound, and the kind's start jingle
  // stays out of the wave; 7 steps are 4321.8 frames, whole frames only.
  const Case cases[] = {{{"--seed", "3", "--steps", "300"}, 185220, false},
                        {{"--ai", "none", "--steps", "7"}, 4321, true}};
  for (const Case& c : cases) {
    std::vector<std::string> args = {"play", set, "--sound-out", wave};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ASSERT_EQ(Run(args), 0);
    const std::vector<uint8_t> bytes = test::ReadAll(wave);
    const TWaveDecode decoded = DecodeWave(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded.wave);
    const std::vector<int16_t>& v = decoded.wave->samples;
    EXPECT_EQ(
        std::make_pair(v.size(), std::all_of(v.begin(), v.end(), [](int16_t x) { return x == 0; })),
        std::make_pair(c.frames * 2, c.silent));
  }
  EXPECT_EQ(Run({"play", set, "--steps", "7", "--sound-out", dir.File("no/such/dir.wav")}), 1);
}

TEST_F(CliTest, BenchReportsEveryMeasure) {
  ASSERT_EQ(Run({"bench", "--quick"}), 0) << err.str();
  for (const char* measure :
       {"worst case (1536 walls, 32 flying balls)", "Monsters monster steps, all 512 slots in use",
        "32 enemies walking, 8 brooders, 32 apples falling"})
    EXPECT_NE(out.str().find(measure), std::string::npos) << measure;
}

}  // namespace
}  // namespace kelvra
