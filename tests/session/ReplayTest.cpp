// Replays: recorded headless games (computer players and a scripted keyboard player) play
// back with the same digest at every checkpoint, a rule changed during playback is caught
// at its step, damaged files are refused with a message, and the kept-replays folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "../apps/kelvra-cli/Commands.h"
#include "TestUtil.h"
#include "apps/DataDirTest.h"
#include "base/FileIO.h"
#include "common/Com.h"
#include "common/GameDigest.h"
#include "common/Options.h"
#include "common/Replay.h"
#include "session/HeadlessGame.h"
#include "session/ReplayGame.h"

namespace kelvra {
namespace {

struct TRecorded {
  const char* set;  // in the data tree
  int players, level;
  uint32_t aiMask;  // player 1 outside the mask is a scripted keyboard player
  uint32_t steps;
};

class ReplayTest : public test::DataDirTest<> {
 protected:
  // Records a game into `file`; returns its final digest.
  uint64_t Record(const TRecorded& g, const std::string& file) {
    THeadlessGame game;
    TGameSetup setup;
    setup.file = std::string(KELVRA_TEST_DATA_DIR) + "/" + g.set;
    setup.players = g.players;
    setup.aiMask = g.aiMask;
    setup.level = g.level;
    setup.seed = 4242;
    std::string error;
    int code = 0;
    EXPECT_TRUE(game.Start(setup, error, code)) << error;
    TReplayRecorder recorder;
    EXPECT_TRUE(recorder.Begin(setup.seed, error)) << error;
    const uint16_t* keys = gCom.keyMap[gCom.player[0].input % kKeyMaps];
    for (uint32_t i = 0; i < g.steps; ++i) {
      // The scripted player: 40 steps left, 40 right, and a shot every 30 steps.
      game.platform.ReleaseKey(keys[(i / 40) % 2 ? ctLeft : ctRight]);
      game.platform.PressKey(keys[(i / 40) % 2 ? ctRight : ctLeft]);
      if (i % 30 == 0) game.platform.PressKey(keys[ctFire1]);
      if (i % 30 == 2) game.platform.ReleaseKey(keys[ctFire1]);
      game.Step();
      recorder.AfterStep();
    }
    EXPECT_TRUE(recorder.Finish(file, error)) << error;
    return GameDigest();
  }
  std::string File(const char* name) { return dir.File(name); }
  test::TempDir dir;
};

TEST_F(ReplayTest, RecordedGamesReplayWithTheSameDigestAtEveryCheckpoint) {
  const TRecorded games[] = {{"Levels/Brickfall/Default.BrL", 2, -1, 0x3, 3000},
                             {"Levels/Brickfall/Default.BrL", 2, 31, 0x2, 2000},
                             {"Levels/Monsters/Default.MoL", 4, 16, 0xF, 1500},
                             {"Levels/Monsters/Default.MoL", 2, -1, 0x2, 1500},
                             {"Levels/Burrower/Default.BuL", 3, 8, 0x7, 2500},
                             {"Levels/Burrower/Default.BuL", 2, -1, 0x2, 2000}};
  for (const TRecorded& g : games) {
    SCOPED_TRACE(std::string(g.set) + " level " + std::to_string(g.level));
    const uint64_t digest = Record(g, File("game.krp"));
    TReplay replay;
    std::string error;
    ASSERT_TRUE(ReadReplay(File("game.krp"), replay, error)) << error;
    EXPECT_EQ(replay.checks.size(), g.steps / ReplayCheckEvery() + 1);
    EXPECT_EQ(replay.checks.back().digest, ReplayCheckDigest());

    THeadlessGame game;  // its platform has no key down: the snapshots alone steer
    TReplayPlayer player(replay);
    int code = 0;
    ASSERT_TRUE(player.Start(game, error, code)) << error;
    const TReplayOutcome outcome = player.Run(game);
    EXPECT_FALSE(outcome.diverged) << "after step " << outcome.lastGood;
    EXPECT_EQ(std::make_pair(outcome.steps, outcome.lastGood), std::make_pair(g.steps, g.steps));
    EXPECT_EQ(GameDigest(), digest);
  }
  // Files of the older formats are still played: GameDigest() every 256 steps (1), the whole
  // state a word at a time every 1024 steps (2 and 3). A digest count that does not fit the
  // format is refused.
  Record(games[3], File("game.krp"));
  TReplay replay;
  std::string error;
  ASSERT_TRUE(ReadReplay(File("game.krp"), replay, error)) << error;
  std::ostringstream out, err;
  for (uint16_t format : {1, 2, 3}) {
    TReplay old = replay;
    old.format = format;
    old.checks.clear();
    const uint32_t every = ReplayCheckEvery(format);
    for (uint32_t step = every; step < replay.steps + every; step += every)
      old.checks.push_back({std::min(step, replay.steps), 0});
    THeadlessGame game;
    TReplayPlayer player(replay);
    int code = 0;
    ASSERT_TRUE(player.Start(game, error, code)) << error;
    size_t c = 0;
    player.Run(game, [&](uint32_t step) {
      if (c < old.checks.size() && old.checks[c].step == step)
        old.checks[c++].digest = ReplayCheckDigest(format);
    });
    old.checks.back().digest = ReplayCheckDigest(format);
    test::WriteAll(File("old.krp"), EncodeReplay(old));
    EXPECT_EQ(RunCli({"replay", File("old.krp")}, out, err), 0) << format << err.str();
    if (format == 1) {
      old.format = 2;
      test::WriteAll(File("old.krp"), EncodeReplay(old));
      EXPECT_EQ(RunCli({"replay", File("old.krp")}, out, err), 1);
    }
  }
}

// Every field of the snapshots survives the coding of changes: pointer jumps both ways up to
// the ends of its range, held and pressed bits of keys, buttons and pad. A coding cut within
// a number is refused, never read past.
TEST(ReplayInputTest, SnapshotsRoundTripThroughTheCodingOfChanges) {
  std::vector<TInputSnapshot> steps(3000);
  uint32_t r = 12345;
  auto next = [&r](uint32_t n) {
    r = r * 1103515245u + 12345u;
    return ((r >> 8) & 0xFFFFFF) % n;
  };
  for (size_t i = 1; i < steps.size(); ++i) {
    TInputSnapshot s = steps[i - 1];
    switch (next(6)) {
      case 0:
        s.mouseX = int32_t(next(700)) - 1;
        s.mouseY = next(2) ? INT32_MIN : INT32_MAX;
        break;
      case 1:
        s.keyHeld[next(kKeyMaps)] = uint8_t(next(64));
        s.keyPressed[next(kKeyMaps)] = uint8_t(next(64));
        break;
      case 2:
        s.mouseHeld = uint8_t(next(8));
        s.mousePressed = uint8_t(next(4));
        s.padHeld = uint8_t(next(64));
        s.padPressed = uint8_t(next(64));
        break;
      default:
        break;  // unchanged steps in runs
    }
    steps[i] = s;
  }
  TInputCoder coder;
  for (const TInputSnapshot& s : steps) coder.Add(s);
  TInputDecoder decoder(coder.bytes, coder.steps);
  TInputSnapshot s;
  for (size_t i = 0; i < steps.size(); ++i) {
    ASSERT_TRUE(decoder.Next(s)) << i << " " << decoder.error;
    ASSERT_TRUE(s == steps[i]) << i;
  }
  EXPECT_FALSE(decoder.Next(s));
  const std::vector<uint8_t> cut = {0x05, 0x81};  // a mask whose next byte is missing
  TInputDecoder cutDecoder(cut, 100);
  EXPECT_FALSE(cutDecoder.Validate());
  EXPECT_EQ(cutDecoder.error, "a cut entry in the input at byte 0");
}

// A rule changed on purpose during playback (the game tick, from step 1100 on) is reported
// at the first checkpoint after it, also by kelvra-cli with its own exit code.
TEST_F(ReplayTest, AChangedRuleIsReportedAtTheStepOfDivergence) {
  Record({"Levels/Brickfall/Default.BrL", 2, -1, 0x3, 2500}, File("game.krp"));
  TReplay replay;
  std::string error;
  ASSERT_TRUE(ReadReplay(File("game.krp"), replay, error)) << error;
  THeadlessGame game;
  TReplayPlayer player(replay);
  int code = 0;
  ASSERT_TRUE(player.Start(game, error, code)) << error;
  const TReplayOutcome outcome = player.Run(game, [](uint32_t step) {
    if (step == 1100) ++gOptions.gameTick;
  });
  EXPECT_TRUE(outcome.diverged);
  EXPECT_EQ(std::make_pair(outcome.lastGood, outcome.divergedAt), std::make_pair(1024u, 1280u));

  std::ostringstream out, err;
  EXPECT_EQ(RunCli({"replay", File("game.krp")}, out, err), 0) << err.str();
  std::vector<uint8_t> bytes = test::ReadAll(File("game.krp"));
  bytes.back() ^= 1;  // the last digest's top byte
  test::WriteAll(File("bad.krp"), bytes);
  EXPECT_EQ(RunCli({"replay", File("bad.krp")}, out, err), kReplayDiverged);
  EXPECT_NE(err.str().find("after step 2304, by step 2500"), std::string::npos) << err.str();
}

// Every cut of a replay, a byte changed anywhere in its header and input, a wrong magic, a
// newer format and data after the end: refused with a message, never a crash.
TEST_F(ReplayTest, DamagedReplaysAreRefusedWithAMessage) {
  Record({"Levels/Burrower/Default.BuL", 2, -1, 0x2, 600}, File("game.krp"));
  const std::vector<uint8_t> good = test::ReadAll(File("game.krp"));
  TReplay replay;
  std::string error;
  ASSERT_TRUE(DecodeReplay(good.data(), good.size(), replay, error)) << error;
  for (size_t n = 0; n < good.size(); n += n < 64 ? 1 : 97) {
    EXPECT_FALSE(DecodeReplay(good.data(), n, replay, error)) << n;
    EXPECT_FALSE(error.empty()) << n;
  }
  std::vector<uint8_t> bad = good;
  bad[0] = 'X';
  EXPECT_FALSE(DecodeReplay(bad.data(), bad.size(), replay, error));
  EXPECT_EQ(error, "not a replay of Kelvra");
  bad = good;
  bad[4] = 9;
  EXPECT_FALSE(DecodeReplay(bad.data(), bad.size(), replay, error));
  EXPECT_EQ(error, "a replay of format 9, this program reads formats 1 to 4");
  bad = good;
  bad.push_back(0);
  EXPECT_FALSE(DecodeReplay(bad.data(), bad.size(), replay, error));
  // Changed bytes: accepted or refused, and a replay accepted is playable to its end.
  for (size_t i = 0; i < good.size(); i += 1 + good.size() / 300) {
    bad = good;
    bad[i] ^= 0xA5;
    if (!DecodeReplay(bad.data(), bad.size(), replay, error)) continue;
    TInputDecoder decoder(replay.inputs, replay.steps);
    TInputSnapshot s;
    uint32_t steps = 0;
    while (decoder.Next(s)) ++steps;
    EXPECT_EQ(steps, replay.steps) << i << " " << decoder.error;
  }
  // Unplayable: a cut file, a set of another game, a mirror game of Burrower, a level the set
  // lacks.
  ASSERT_TRUE(DecodeReplay(good.data(), good.size(), replay, error));
  std::ostringstream out, err;
  test::WriteAll(File("cut.krp"), std::vector<uint8_t>(good.begin(), good.begin() + 40));
  EXPECT_EQ(RunCli({"replay", File("cut.krp")}, out, err), 1);
  TReplay monsters = replay;
  monsters.kind = gkMonsters;  // the set stays Burrower's
  TReplay mirror = replay;     // Brickfall's mirror game
  for (TReplayOption& o : mirror.options) o.value = o.key == "Brickfall.MirrorGame" ? 1 : o.value;
  TReplay level = replay;
  level.testGame = 1;
  level.level = 255;
  for (const TReplay* r : {&monsters, &mirror, &level}) {
    test::WriteAll(File("bad.krp"), EncodeReplay(*r));
    err.str("");
    EXPECT_EQ(RunCli({"replay", File("bad.krp")}, out, err), 1);
    EXPECT_NE(err.str().find("bad.krp: "), std::string::npos) << err.str();
  }
}

// The folder keeps the newest 50 replays by name (the start time) and nothing else is touched.
TEST_F(ReplayTest, TheFolderKeepsTheNewestReplays) {
  const std::string folder = dir.File("replays");
  std::filesystem::create_directories(folder);
  const double start = 46000.5;  // 2025-12-09 12:00:00
  EXPECT_EQ(ReplayFileName(folder, start, gkMonsters), folder + "/20251209-120000-Monsters.krp");
  for (int i = 0; i < 53; ++i)
    test::WriteText(ReplayFileName(folder, start + i / 86400.0, gkBrickfall), "x");
  test::WriteText(folder + "/notes.txt", "kept");
  KeepNewestReplays(folder);
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    count += entry.path().extension() == ".krp";
  EXPECT_EQ(count, 50);
  EXPECT_FALSE(FileExists(folder + "/20251209-120002-Brickfall.krp"));
  EXPECT_TRUE(FileExists(folder + "/20251209-120003-Brickfall.krp"));
  EXPECT_TRUE(FileExists(folder + "/notes.txt"));
}

}  // namespace
}  // namespace kelvra
