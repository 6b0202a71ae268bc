// The main window's logic through the headless services: menu rules, starting and ending
// games, the close request, the caption, music and the file commands.
#include <gtest/gtest.h>

#include <tuple>

#include "HeadlessTest.h"
#include "base/Paths.h"
#include "brickfall/BrickLevel.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "common/Settings.h"
#include "monsters/MonsState.h"
#include "session/MainControl.h"

namespace kelvra {
namespace {

class MainControlTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetCom();
    gOptions = TOptions{};
    gOptions.fullScreen = 0;
    SetProgramDir(dir.path());
    control = std::make_unique<TMainControl>();
    control->hooks.captionChanged = [this](const std::string& c) { caption = c; };
  }
  void TearDown() override {
    control.reset();
    for (int k = 0; k < kKinds; ++k) {
      gCom.kind = uint8_t(k);
      KindOps(k).FreeLevelSet();
    }
    HeadlessTest::TearDown();
  }
  // A level set of `levels` levels (one unless Brickfall) written to a file.
  std::string MakeSet(int kind, int levels, const std::string& name) {
    return test::SaveNewSet(kind, dir.File(name), [&] {
      if (kind != gkBrickfall) return;
      gBrickLevels.resize(levels);
      for (TLevel& l : gBrickLevels) NewBrickLevel(l);
    });
  }
  void StartWith(const std::vector<std::string>& args) { control->Startup(args, nullptr); }
  const TMenuItemState& Item(MenuId id) { return control->Menus()[id]; }

  std::unique_ptr<TMainControl> control;
  std::string caption;
};

// A game starts only with a number of players its field takes: an even number for a mirror
// game of Brickfall (the rule is Brickfall's only), at most four in Monsters.
TEST_F(MainControlTest, StartNeedsANumberOfPlayersTheGameTakes) {
  struct Case {
    MenuId kind, players;
    bool mirror, startable;
  };
  const Case cases[] = {
      {miBrickfall, miPlayers1, true, false},
      {miBrickfall, miPlayers2, true, true},
      {miBrickfall, miPlayers3, false, true},
      {miMonsters, miPlayers3, true, true},
  };
  StartWith({});
  for (const Case& c : cases) {
    SCOPED_TRACE(kMenuItems[c.players].caption);
    control->Command(c.kind);
    control->Command(c.players);
    gCom.mirrorGame = c.mirror;
    control->UpdateMenus();
    EXPECT_EQ(std::make_pair(Item(miStartGame).enabled, Item(miTestLevel).enabled),
              std::make_pair(c.startable, c.startable));
  }
  // Five Monsters players, possible through the settings file, cannot start.
  gCom.k[gkMonsters].playersMinusOne = 4;
  control->UpdateMenus();
  EXPECT_FALSE(Item(miStartGame).enabled || Item(miPlayers5).enabled);
}

TEST_F(MainControlTest, RunningAndEditingDisableTheirItems) {
  StartWith({});
  control->Command(miStartGame);
  for (MenuId id : {miOpen, miPlayers1, miEditor, miStartGame, miNextLevel, miMirrorGame})
    EXPECT_FALSE(Item(id).enabled) << kMenuItems[id].caption;
  EXPECT_TRUE(Item(miAbortGame).enabled && Item(miStartGame).checked && Item(miMonsters).enabled);
  control->Command(miAbortGame);
  EXPECT_TRUE(Cur().state == gsAborted && !Cur().running);

  control->Command(miEditor);
  EXPECT_TRUE(gCom.editorOpen && !Item(miMonsters).enabled && !Item(miStartGame).enabled);
  control->Command(miEditor);
  EXPECT_TRUE(!gCom.editorOpen && Item(miStartGame).enabled);
}

// The Monsters menu acts on a running game: the delay and the mode restart the monsters'
// clock from now, the clock items stop and start the move clock. Each mode enables its items.
TEST_F(MainControlTest, MonstersMenuActsOnTheRunningGame) {
  StartWith({});
  EXPECT_FALSE(Item(miBonusTime).enabled || Item(miTime).enabled);  // real time by default
  control->Command(miMonsters);
  control->Command(miStartGame);
  TKindState& s = gCom.k[gkMonsters];
  s.levelTime = 1000;
  headless.numberAnswers = {800, std::nullopt};
  control->Command(miMonstersDelay);
  EXPECT_EQ(gMons.game.lastMonsterStep, 1800u);
  s.levelTime = 1500;
  control->Command(miMonstersDelay);  // cancelled: nothing changes
  EXPECT_EQ(gMons.game.lastMonsterStep, 1800u);

  control->Command(miRealTimeGame);  // off: the turn game
  EXPECT_TRUE(Item(miGoClock).enabled && Item(miStopClock).enabled && Item(miBonusTime).enabled &&
              !Item(miMonstersDelay).enabled);
  s.levelTime = 5000;
  control->Command(miGoClock);
  EXPECT_TRUE(gMons.game.clockRunning && gMons.game.moveStart == 5000u);
  control->Command(miStopClock);
  EXPECT_FALSE(gMons.game.clockRunning);
  s.levelTime = 9000;
  control->Command(miRealTimeGame);  // on again
  EXPECT_TRUE(gMons.game.lastMonsterStep == 9800u && gMons.players[0].lastAttempt == 9000u);
  control->Command(miPauseGame);
  EXPECT_EQ(Item(miPauseGame).caption, "Continue Game");
}

// The effect pools shared by the kinds are emptied when a game starts and when another
// kind is shown: each kind reads the entries its own way.
TEST_F(MainControlTest, EffectPoolsAreClearedForEachGameAndKind) {
  StartWith({});
  for (MenuId id : {miStartGame, miBurrower}) {
    gCom.blast[3].life = 500;
    gCom.spark[2].life = 9;
    gCom.burst[1].life = 7;
    control->Command(id);
    EXPECT_EQ(std::make_tuple(int(gCom.blast[3].life), gCom.spark[2].life, gCom.burst[1].life),
              std::make_tuple(0, 0, 0));
  }
}

// Each dialog item asks for its own option (known by its title) with the right kind of
// dialog, keeps the answer inside the option's range, shows it in its caption and leaves the
// value alone when cancelled.
TEST_F(MainControlTest, OptionDialogsAskForTheirOwnValue) {
  const std::pair<MenuId, const char*> dialogs[] = {
      {miCustomGameDelay, "Game Delay"},
      {miBonusTime, "Bonus Time"},
      {miScoreMonster, "Score Monster"},
  };
  StartWith({});
  for (const auto& [id, title] : dialogs) {
    const OptionId option = FindOptionItem(id)->option;
    const TOptionDef& o = kOptions[option];
    gOptions.mons.realTime = id != miBonusTime;  // bonus time is asked without real time only
    control->UpdateMenus();
    headless.ClearLog();
    headless.numberAnswers = {o.max + 1, std::nullopt};
    control->Command(id);
    control->Command(id);  // cancelled
    const std::string asked = (o.time ? "time: " : "number: ") + std::string(title) + " [";
    EXPECT_EQ(headless.log, (std::vector<std::string>{asked + std::to_string(o.def) + "]",
                                                      asked + std::to_string(o.max) + "]"}));
    EXPECT_EQ(std::make_pair(OptionAt(option).Get(), Item(id).caption),
              std::make_pair(o.max, OptionCaption(option, o.max)));
  }
}

// Each toggle flips its own flag and shows it.
TEST_F(MainControlTest, OptionTogglesFlipTheirOwnFlag) {
  struct Case {
    MenuId id;
    uint8_t* flag;
    uint8_t realTime;  // "Time" is enabled without real time only
  };
  TMonstersOptions& mons = gOptions.mons;
  const Case cases[] = {
      {miMirrorGame, &gCom.mirrorGame, 1},
      {miTime, &mons.times, 0},
      {miAggressiveMonsters, &mons.aggressive, 1},
      {miReborn, &gOptions.burr.reborn, 1},
  };
  StartWith({});
  for (const Case& c : cases) {
    SCOPED_TRACE(kMenuItems[c.id].caption);
    mons.realTime = c.realTime;
    control->UpdateMenus();
    const bool before = *c.flag;
    control->Command(c.id);
    EXPECT_EQ(std::make_pair(bool(*c.flag), Item(c.id).checked), std::make_pair(!before, !before));
  }
}

// A preset sets its value and is then the one checked item of its group, still enabled like
// a radio item; a custom value checks the dialog item instead.
TEST_F(MainControlTest, PresetGroupsFollowTheirOption) {
  struct Group {
    int32_t* field;
    MenuId presets[3];
    int32_t values[3];
    MenuId custom;
    int32_t customValue;
  };
  const Group groups[] = {
      {&gOptions.gameTick, {miSlow, miNormal, miFast}, {40, 28, 20}, miCustomGameDelay, 33},
      {&gOptions.delayTime, {miMaxFps, miFps50, miFps20}, {0, 20, 50}, miCustomFps, 10},
  };
  StartWith({});
  for (const Group& g : groups) {
    for (int i = 0; i < 3; ++i) {
      control->Command(g.presets[i]);
      const TMenuItemState &on = Item(g.presets[i]), &off = Item(g.presets[(i + 1) % 3]);
      EXPECT_EQ(std::make_tuple(*g.field, on.checked, on.enabled, off.checked, off.enabled),
                std::make_tuple(g.values[i], true, true, false, true));
      EXPECT_FALSE(Item(g.custom).checked);
    }
    headless.numberAnswers = {g.customValue};
    control->Command(g.custom);
    EXPECT_TRUE(*g.field == g.customValue && Item(g.custom).checked && !Item(g.presets[0]).checked);
  }
}

// Mirror Game and Reborn cannot change while their own game runs, whatever kind is shown.
TEST_F(MainControlTest, LockedOptionsWaitForTheirOwnGame) {
  struct Case {
    int running;  // -1: none
    bool mirrorEnabled, rebornEnabled;
  };
  const Case cases[] = {
      {-1, true, true},
      {gkBrickfall, false, true},
      {gkMonsters, true, true},
      {gkBurrower, true, false},
  };
  StartWith({});
  for (const Case& c : cases) {
    for (int k = 0; k < kKinds; ++k) gCom.k[k].running = k == c.running;
    control->UpdateMenus();
    EXPECT_EQ(std::make_pair(Item(miMirrorGame).enabled, Item(miReborn).enabled),
              std::make_pair(c.mirrorEnabled, c.rebornEnabled))
        << c.running;
  }
}

TEST_F(MainControlTest, HiddenItemsAndKindMenus) {
  StartWith({});
  EXPECT_TRUE(!Item(miMemoryStatus).visible && !Item(miNormalGameStep).visible &&
              Item(miAI1).visible && Item(miHighScores).enabled &&
              control->Menus().menuVisible[mbBrickfall] &&
              !control->Menus().menuVisible[mbMonsters]);
  control->Command(miBurrower);
  EXPECT_TRUE(Item(miAI1).visible && control->Menus().menuVisible[mbBurrower]);
  control->Command(miMonsters);
  EXPECT_FALSE(Item(miHighScores).enabled);
}

TEST_F(MainControlTest, LevelCommandsStayInsideTheSet) {
  std::string brick = MakeSet(gkBrickfall, 2, "two.BrL");
  StartWith({brick});
  EXPECT_TRUE(!Item(miLastLevel).enabled && Item(miNextLevel).enabled);
  control->Command(miNextLevel);
  control->Command(miNextLevel);  // disabled at the last level: nothing happens
  EXPECT_EQ(Cur().levelIndex, 1);
  for (MenuId start : {miTestLevel, miStartGame}) {  // a test starts at the level shown
    control->Command(start);
    EXPECT_EQ(std::make_pair(int(Cur().levelIndex), bool(Cur().testGame)),
              std::make_pair(start == miTestLevel ? 1 : 0, start == miTestLevel));
    control->Command(miAbortGame);
  }
  control->Command(miNew);
  EXPECT_TRUE(Cur().levelIndex == 0 && KindLevelCount(gkBrickfall) == 1);
}

TEST_F(MainControlTest, StartGameForgetsEarlierKeyPresses) {
  StartWith({});
  headless.PressKey(0x25);
  headless.ReleaseKey(0x25);
  headless.PressKey(0x41);  // still held
  Cur().score[2] = 77;
  control->Command(miStartGame);
  EXPECT_EQ(std::make_tuple(int(headless.KeyState(0x25)), int(headless.KeyState(0x41)),
                            int(Cur().score[2]), int(Cur().state)),
            std::make_tuple(0, 0x80, 0, int(gsPlaying)));
}

TEST_F(MainControlTest, CloseAsksForEveryRunningGame) {
  StartWith({});
  control->Command(miStartGame);
  control->Command(miMonsters);
  control->Command(miStartGame);
  headless.ClearLog();
  headless.messageAnswers = {MsgButton::Yes, MsgButton::No};
  EXPECT_FALSE(control->CloseRequest());
  EXPECT_EQ(headless.log, (std::vector<std::string>{"message: Abort Brickfall Game ? [Yes, No]",
                                                    "message: Abort Monsters Game ? [Yes, No]"}));
  EXPECT_TRUE(gCom.k[gkBrickfall].running && gCom.k[gkMonsters].running);
  headless.messageAnswers = {MsgButton::Yes, MsgButton::Yes};
  EXPECT_TRUE(control->CloseRequest() && !gCom.k[gkMonsters].running);
}

TEST_F(MainControlTest, CloseOffersToSaveAndCancelKeepsTheWindow) {
  std::string file = MakeSet(gkBurrower, 1, "b.BuL");
  gCom.kind = gkBrickfall;
  StartWith({file});
  MarkModified(gCom.kind);
  control->Command(miBrickfall);
  headless.ClearLog();
  headless.messageAnswers = {MsgButton::Cancel};
  EXPECT_FALSE(control->CloseRequest());
  EXPECT_EQ(headless.log, std::vector<std::string>{"message: Save changes to \r\n" + file +
                                                   " [Yes, No, Cancel]"});
  EXPECT_TRUE(gCom.k[gkBurrower].modified);

  headless.messageAnswers = {MsgButton::Yes};
  EXPECT_TRUE(control->CloseRequest() && !gCom.k[gkBurrower].modified);
}

TEST_F(MainControlTest, CaptionOfAModifiedNewSet) {
  StartWith({});
  control->Command(miNew);
  MarkModified(gCom.kind);
  // A new set is saved with Save As.
  EXPECT_TRUE(caption == "Kelvra - Levels/Brickfall/NoName.BrL * (New)" && !Item(miSave).enabled);
  headless.saveAnswers.push_back(dir.File("saved.BrL"));
  control->Command(miSaveAs);
  EXPECT_EQ(caption, "Kelvra - saved.BrL");
}

TEST_F(MainControlTest, OpenUsesTheKindsFilterAndFillsTheRecentList) {
  std::string file = MakeSet(gkBrickfall, 3, "open.BrL");
  StartWith({});
  headless.ClearLog();
  headless.openAnswers.push_back(file);
  control->Command(miOpen);
  EXPECT_EQ(headless.log.at(0).rfind("open: Brickfall Levels (*.BrL)|*.BrL|Any file (*.*)|*.*", 0),
            0u);
  EXPECT_EQ(KindLevelCount(gkBrickfall), 3);
  EXPECT_EQ(Cur().fileName + "|" + control->recent[gkBrickfall].Files().front(), file + "|" + file);
  control->Command(miNextLevel);
  control->Reopen(file);
  EXPECT_EQ(Cur().levelIndex, 0);
}

TEST_F(MainControlTest, LockedSetBlocksTheEditorAndTestLevel) {
  StartWith({});
  Cur().header.lock = kLocked;
  control->UpdateMenus();
  EXPECT_TRUE(!Item(miTestLevel).enabled && Item(miStartGame).enabled);
  headless.ClearLog();
  control->Command(miEditor);
  EXPECT_TRUE(!gCom.editorOpen && headless.log.size() == 1u);
  EXPECT_NE(headless.log.at(0).find("\r\nis locked, select other file [OK]"), std::string::npos);
}

TEST_F(MainControlTest, MusicFollowsTheGame) {
  StartWith({});
  auto music = [this] { return headless.musicFile + (headless.musicPlaying ? " playing" : ""); };
  control->musicList = {"a.mid", "b.mid", "c.rmi"};
  control->Command(miStartGame);
  EXPECT_EQ(music(), "a.mid playing");
  headless.musicPosition = 4200;
  control->Command(miPauseGame);
  EXPECT_EQ(music(), "a.mid");
  control->Command(miPauseGame);  // resumes where it stopped
  EXPECT_EQ(music() + " " + std::to_string(headless.musicPosition), "a.mid playing 4200");
  for (int i = 0; i < 3; ++i) control->MusicEnded();
  EXPECT_EQ(music(), "a.mid playing");  // wraps after the last piece

  control->Command(miAbortGame);
  EXPECT_EQ(music(), "");
}

// The show ends with the step that runs its countdown out, whether frames are drawn or not.
TEST_F(MainControlTest, GameOverShowEndsInTheStep) {
  StartWith({});
  control->Command(miStartGame);
  Cur().state = gsPlayersOut;
  int steps = 0;
  for (; steps < 200 && Cur().state != gsGameEnded; ++steps) control->MoveTick();
  EXPECT_TRUE(Cur().state == gsGameEnded && !Cur().running);
  EXPECT_LE(steps, 65);
  Cur().state = gsGameOverShow;
  control->DrawTick();  // drawing reads the state, never ends the show
  EXPECT_EQ(Cur().state, gsGameOverShow);
}

TEST_F(MainControlTest, GameTimeAdvancesOnlyWhilePlaying) {
  StartWith({});
  control->Command(miMonsters);  // a level without monsters goes on for ever
  control->Command(miStartGame);
  for (int i = 0; i < 10; ++i) control->MoveTick();
  EXPECT_EQ(std::make_tuple(uint32_t(Cur().gameTime), uint32_t(Cur().levelTime),
                            uint32_t(gCom.stepCounter)),
            std::make_tuple(280u, 280u, 10u));
  Cur().state = gsLevelDone;
  gCom.countdown = 16;
  control->MoveTick();
  EXPECT_EQ(Cur().gameTime, 280u);
}

TEST_F(MainControlTest, ReadMeFailureShowsTheFileErrorDialog) {
  StartWith({});
  headless.shellOpenResult = 2;
  headless.ClearLog();
  control->Command(miReadMe);
  ASSERT_EQ(headless.fileErrors.size(), 1u);
  const IOErrorRequest& e = headless.fileErrors[0];
  EXPECT_TRUE(e.caption == "IO Error" && e.text.find("ReadMe.htm") != std::string::npos);
  EXPECT_FALSE(e.quitOffered);  // the program's own file: nothing to quit over
}

TEST_F(MainControlTest, CommandLineExtensionChoosesTheKind) {
  std::string file = MakeSet(gkBurrower, 2, "x.bul");  // any case of the extension
  gCom.kind = gkBrickfall;
  StartWith({dir.File("missing.BrL"), file});
  EXPECT_EQ(gCom.kind, gkBurrower);
  EXPECT_EQ(Cur().fileName + "|" + control->recent[gkBurrower].Files().front(), file + "|" + file);
}

}  // namespace
}  // namespace kelvra
