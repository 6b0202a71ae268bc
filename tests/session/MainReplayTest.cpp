// The main window's replays through its logic on the headless services: games left for
// another kind and resumed are recorded playably; a replay played in the window gives the
// user's levels (with their editing history), options and players back, enters no high
// score, and a close during it asks only about the user's own set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "../apps/kelvra-cli/Commands.h"
#include "HeadlessTest.h"
#include "apps/DataDirTest.h"
#include "base/FileIO.h"
#include "brickfall/BrickLevel.h"
#include "common/Com.h"
#include "common/LevelSet.h"
#include "common/Options.h"
#include "common/Recovery.h"
#include "common/Replay.h"
#include "common/Scores.h"
#include "session/MainControl.h"
#include "session/MenuItems.h"

namespace kelvra {
namespace {

class MainReplayTest : public test::DataDirTest<test::HeadlessTest> {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    for (int i = 0; i < 2; ++i) {
      if (const char* old = std::getenv(kHomes[i])) savedHomes_[i] = old;
      setenv(kHomes[i], dir.File(kHomes[i]).c_str(), 1);
    }
    gOptions = TOptions{};
    gOptions.fullScreen = 0;
    gOptions.sounds = gOptions.music = 0;
    control = std::make_unique<TMainControl>();
    control->recordReplays = true;
    control->Startup({}, nullptr);
  }
  void TearDown() override {
    EndControl();
    for (int i = 0; i < 2; ++i)
      if (savedHomes_[i].empty())
        unsetenv(kHomes[i]);
      else
        setenv(kHomes[i], savedHomes_[i].c_str(), 1);
    DataDirTest::TearDown();
  }
  void EndControl() {
    if (!control) return;
    control->Shutdown(nullptr);
    control.reset();
  }
  // A game of the current kind with `players` computer players.
  void Start(int players) {
    control->Command(MenuId(miPlayers1 + players - 1));
    for (int p = 0; p < kPlayers; ++p) gCom.player[p].ai = 1;
    control->Command(miStartGame);
    ASSERT_TRUE(Cur().running);
  }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) control->MoveTick();
  }
  // A one-player Brickfall game of 300 steps, recorded (the copy is kept from later games
  // recorded under the same name).
  std::string RecordedGame() {
    Start(1);
    Steps(300);
    control->Command(miAbortGame);
    std::filesystem::copy_file(control->lastReplay, dir.File("game.krp"));
    return dir.File("game.krp");
  }
  bool Asked(const std::string& start) const {
    return std::any_of(headless.log.begin(), headless.log.end(),
                       [&](const std::string& line) { return line.rfind(start, 0) == 0; });
  }
  // Steps as the score of a one-player game that qualifies ends it.
  void EndWithAHighScore() {
    Cur().score[0] = 100000;
    Cur().state = gsGameOverShow;
    gCom.countdown = 0;
    control->MoveTick();
  }

  std::unique_ptr<TMainControl> control;

 private:
  static constexpr const char* kHomes[2] = {"XDG_DATA_HOME", "XDG_STATE_HOME"};
  std::string savedHomes_[2];
};

// Brickfall, left for a game of Burrower (which draws from the shared generator, counts
// steps and fills the effect pools its own way) and resumed, replays to its last digest.
TEST_F(MainReplayTest, AGameLeftForAnotherKindReplaysAsPlayed) {
  EXPECT_EQ(control->Menus()[miSaveReplayAs].tip, "No game has been recorded yet");
  Start(2);
  EXPECT_EQ(control->Menus()[miPlayReplay].tip, "A game is running");
  Steps(700);
  control->Command(miBurrower);
  Start(2);
  Steps(600);
  control->Command(miBrickfall);
  Steps(700);
  control->Command(miAbortGame);
  const std::string brickfall = control->lastReplay;
  ASSERT_NE(brickfall.find("Brickfall"), std::string::npos) << brickfall;
  EndControl();
  std::ostringstream out, err;
  EXPECT_EQ(RunCli({"replay", brickfall}, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("steps=1400"), std::string::npos) << out.str();
}

// A game that ends within a step by its own rules (a Monsters player caught for good)
// is recorded with that step whole.
TEST_F(MainReplayTest, AGameEndingWithinAStepReplaysToItsEnd) {
  control->Command(miMonsters);
  Start(1);
  for (int i = 0; i < 5000 && Cur().running; ++i) control->MoveTick();
  ASSERT_FALSE(Cur().running);
  EndControl();
  std::ostringstream out, err;
  EXPECT_EQ(RunCli({"replay", dir.File("XDG_DATA_HOME") + "/kelvra/replays/" +
                                  "20251209-120000-Monsters.krp"},
                   out, err),
            0)
      << err.str();
}

// Settings changed during a game, from the menus or the settings, are replayed at their
// step: the game speed, a player handed to the computer, an input device, and in Monsters
// options its game hears of and the turn game's clock.
TEST_F(MainReplayTest, SettingsChangedDuringAGameAreReplayedAtTheirStep) {
  Start(2);
  Steps(300);
  control->Command(miFast);
  Steps(300);
  control->Command(miAI2);
  Steps(300);
  gCom.player[0].input = piMouse;
  Steps(200);
  control->Command(miAbortGame);
  const std::string brickfall = control->lastReplay;
  control->Command(miMonsters);
  control->Command(miPlayers1);
  gCom.player[0].ai = 0;  // a person who waits
  control->Command(miStartGame);
  Steps(100);
  headless.numberAnswers.push_back(150);
  control->Command(miMonstersDelay);
  Steps(100);
  control->Command(miRealTimeGame);  // on to the turn game
  ASSERT_FALSE(gOptions.mons.realTime);
  Steps(100);
  control->Command(miStopClock);
  Steps(100);
  control->Command(miGoClock);
  Steps(100);
  ASSERT_TRUE(Cur().running);
  control->Command(miAbortGame);
  const std::string monsters = control->lastReplay;
  TReplay replay;
  std::string error;
  ASSERT_TRUE(ReadReplay(monsters, replay, error)) << error;
  EXPECT_EQ(replay.changes.size(), 4u);
  EndControl();
  for (const std::string& file : {brickfall, monsters}) {
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"replay", file}, out, err), 0) << file << ": " << err.str();
  }
}

// Played in the window: the options it recorded hold while it plays and their menu items
// are disabled; afterwards the user's unsaved levels with their undo history, the user's
// values of those options and the players' devices are back, and changes made meanwhile to
// other settings stay.
TEST_F(MainReplayTest, PlaybackGivesTheUsersWorkAndSettingsBack) {
  const std::string file = RecordedGame();
  ASSERT_FALSE(file.empty());
  const std::string userSet = Cur().fileName;
  TLevel& level = gBrickLevels[0];
  const TWalls first = level.Walls();
  level.history = {first, TWalls{}};
  level.historyIndex = level.historyLength = 1;  // one change, undoable
  MarkModified(gkBrickfall);
  gOptions.gameTick = 12;
  gCom.player[0].input = piMouse;

  headless.openAnswers.push_back(file);
  control->Command(miPlayReplay);
  ASSERT_TRUE(control->PlayingReplay());
  EXPECT_NE(gOptions.gameTick, 12);
  EXPECT_NE(Cur().fileName, userSet);
  for (const TOptionItemDef& item : kOptionItems)
    if (kOptions[item.option].game <= gkBrickfall)
      EXPECT_EQ(control->Menus()[item.id].enabled, !ReplaySetsOption(item.option))
          << kMenuItems[item.id].caption;
  EXPECT_FALSE(control->Menus()[miSaveAs].enabled);  // its set is not the user's to save
  gOptions.sounds = 1;
  gCom.player[0].colour = 0x123456;
  Steps(400);

  EXPECT_FALSE(control->PlayingReplay());
  EXPECT_EQ(Cur().fileName, userSet);
  EXPECT_TRUE(Cur().modified);
  ASSERT_EQ(gBrickLevels[0].history.size(), 2u);
  EXPECT_EQ(gBrickLevels[0].historyIndex, 1);
  EXPECT_TRUE(gBrickLevels[0].Walls().empty());
  EXPECT_EQ(gOptions.gameTick, 12);
  EXPECT_EQ(int(gCom.player[0].input), int(piMouse));
  EXPECT_EQ(gOptions.sounds, 1);
  EXPECT_EQ(gCom.player[0].colour, 0x123456u);
  EXPECT_FALSE(Asked("message: "));
}

// A score that would enter the table is asked for in a game, never in a replay.
TEST_F(MainReplayTest, AReplayEntersNoHighScore) {
  const std::string file = RecordedGame();
  Start(1);
  EndWithAHighScore();
  EXPECT_TRUE(Asked("text: Enter Your Name"));
  headless.log.clear();
  headless.openAnswers.push_back(file);
  control->Command(miPlayReplay);
  ASSERT_TRUE(control->PlayingReplay());
  Steps(10);
  EndWithAHighScore();
  EXPECT_FALSE(control->PlayingReplay());
  EXPECT_FALSE(Asked("text: "));
}

// Closing the window during a replay stops it without a question about its game, then asks
// about the user's own set, which is back in place.
TEST_F(MainReplayTest, ClosingDuringAReplayAsksAboutTheUsersSetOnly) {
  const std::string file = RecordedGame();
  const std::string userSet = Cur().fileName;
  MarkModified(gkBrickfall);
  headless.openAnswers.push_back(file);
  control->Command(miPlayReplay);
  Steps(50);
  headless.messageAnswers.push_back(MsgButton::Cancel);
  EXPECT_FALSE(control->CloseRequest());
  EXPECT_FALSE(control->PlayingReplay());
  EXPECT_FALSE(Asked("message: Abort"));
  EXPECT_TRUE(Asked("message: Save changes to \r\n" + userSet + " "));
  EXPECT_EQ(Cur().fileName, userSet);
  EXPECT_TRUE(Cur().modified);
}

// A signal during a replay: the user's unsaved levels, not the replay's, are in the recovery
// copy that the next start offers.
TEST_F(MainReplayTest, ASignalDuringAReplayLeavesTheUnsavedWorkInItsCopy) {
  const std::string file = RecordedGame();
  gBrickLevels[0].Walls().clear();
  MarkModified(gkBrickfall);
  FileFault fault;
  ASSERT_TRUE(WriteLevelSetCopy(gkBrickfall, dir.File("user.BrL"), fault));
  headless.openAnswers.push_back(file);
  control->Command(miPlayReplay);
  Steps(50);
  WriteRecoveryCopies(headless.clockNs / 1000000);  // as the window does on a signal
  control->CloseWithoutQuestions();
  ASSERT_TRUE(HasRecoveryCopy(gkBrickfall));
  std::vector<uint8_t> user = test::ReadAll(dir.File("user.BrL")),
                       copy = test::ReadAll(RecoveryFile(gkBrickfall));
  ASSERT_GE(copy.size(), sizeof(TLevelSetHeader));
  user.erase(user.begin(), user.begin() + sizeof(TLevelSetHeader));  // past its save time
  copy.erase(copy.begin(), copy.begin() + sizeof(TLevelSetHeader));
  EXPECT_TRUE(user == copy);
}

}  // namespace
}  // namespace kelvra
