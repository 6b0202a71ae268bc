// The main window's logic through the headless services: menu rules, starting and ending
// games, the close request, the caption, music and the file commands.
#include <gtest/gtest.h>

#include <tuple>

#include "TestUtil.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "brickfall/BrickLevel.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "common/Settings.h"
#include "monsters/MonsLevel.h"
#include "platform/Headless.h"
#include "session/MainControl.h"

namespace kelvra {
namespace {

// The headless services, also keeping what each number or time dialog was asked with.
class TDialogPlatform : public HeadlessPlatform {
 public:
  struct TAsked {
    bool time;
    std::string caption;
    int32_t value, min, max, def;
  };
  std::vector<TAsked> asked;

  bool NumberDialog(const std::string& caption, int32_t& value, int32_t min, int32_t max,
                    int32_t def) override {
    asked.push_back({false, caption, value, min, max, def});
    return HeadlessPlatform::NumberDialog(caption, value, min, max, def);
  }
  bool TimeDialog(const std::string& caption, int32_t& valueMs, int32_t min, int32_t max,
                  int32_t def) override {
    asked.push_back({true, caption, valueMs, min, max, def});
    return HeadlessPlatform::TimeDialog(caption, valueMs, min, max, def);
  }
};

class MainControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    ResetIOErrors();
    gOptions = TOptions{};
    gOptions.fullScreen = 0;
    SetProgramDir(dir.path());
    SetPlatform(&platform);
    control = std::make_unique<TMainControl>();
    control->hooks.captionChanged = [this](const std::string& c) { caption = c; };
  }
  void TearDown() override {
    control.reset();
    for (int k = 0; k < kKinds; ++k) {
      gCom.kind = uint8_t(k);
      KindOps(k).FreeLevelSet();
    }
    SetPlatform(nullptr);
  }
  // A level set of `levels` levels written to a file of the current kind.
  std::string MakeSet(int kind, int levels, const std::string& name) {
    gCom.kind = uint8_t(kind);
    NewLevelSet(gCom.kind);
    switch (kind) {
      case gkBrickfall:
        gBrickLevels.resize(levels);
        for (TLevel& l : gBrickLevels) NewBrickLevel(l);
        break;
      case gkMonsters:
        gMonsLevels.resize(levels);
        for (TMonsLevel& l : gMonsLevels) NewMonsLevel(l);
        break;
    }
    std::string file = dir.File(name);
    EXPECT_TRUE(SaveLevelSet(gCom.kind, file));
    CloseLevelSet(gCom.kind);
    return file;
  }
  void StartWith(const std::vector<std::string>& args) { control->Startup(args, nullptr); }
  const TMenuItemState& Item(MenuId id) { return control->Menus()[id]; }

  test::TempDir dir;
  TDialogPlatform platform;
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
      {miBrickfall, miPlayers1, true, false}, {miBrickfall, miPlayers2, true, true},
      {miBrickfall, miPlayers3, true, false}, {miBrickfall, miPlayers4, true, true},
      {miBrickfall, miPlayers5, true, false}, {miBrickfall, miPlayers3, false, true},
      {miMonsters, miPlayers3, true, true},   {miMonsters, miPlayers4, false, true},
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
  for (MenuId id : {miNew, miOpen, miReopen, miPlayers1, miPlayers5, miEditor, miStartGame,
                    miTestLevel, miLastLevel, miNextLevel, miMirrorGame})
    EXPECT_FALSE(Item(id).enabled) << kMenuItems[id].caption;
  EXPECT_TRUE(Item(miAbortGame).enabled && Item(miStartGame).checked && Item(miMonsters).enabled);
  control->Command(miAbortGame);
  EXPECT_TRUE(Cur().state == gsAborted && !Cur().running);

  control->Command(miEditor);
  ASSERT_TRUE(gCom.editorOpen);
  EXPECT_TRUE(Item(miEditor).checked);
  for (MenuId id : {miBrickfall, miMonsters, miBurrower, miNew, miOpen, miStartGame, miTestLevel})
    EXPECT_FALSE(Item(id).enabled) << kMenuItems[id].caption;
  control->Command(miEditor);
  EXPECT_FALSE(gCom.editorOpen);
  EXPECT_TRUE(Item(miStartGame).enabled);
}

TEST_F(MainControlTest, DefaultPresetsRealTimeItemsAndPause) {
  StartWith({});
  EXPECT_TRUE(Item(miNormal).checked && !Item(miNormal).enabled);
  EXPECT_TRUE(Item(miFps50).checked);  // draw delay 20 by default
  // Real time is on by default.
  EXPECT_FALSE(Item(miBonusTime).enabled || Item(miTime).enabled || Item(miStopClock).enabled);
  control->Command(miMonsters);
  control->Command(miRealTimeGame);
  EXPECT_TRUE(Item(miBonusTime).enabled && !Item(miMonstersDelay).enabled);

  EXPECT_EQ(Item(miPauseGame).caption, "Pause Game");
  control->Command(miPauseGame);
  EXPECT_EQ(Item(miPauseGame).caption, "Continue Game");
}

// Each dialog item asks for its own option (known by its title) with the row's range,
// Default and kind of dialog, shows the answer in its caption and leaves the value alone
// when cancelled.
TEST_F(MainControlTest, OptionDialogsAskForTheirOwnValue) {
  const std::pair<MenuId, const char*> dialogs[] = {
      {miCustomGameDelay, "Game Delay"},     {miCustomFps, "F/s Delay"},
      {miMonstersDelay, "Monsters's Delay"}, {miBonusTime, "Bonus Time"},
      {miKeyboardDelay, "Keyboard Delay"},   {miScoreMonster, "Score Monster"},
      {miScorePlayer, "Score Player"},       {miScoreHouse, "Score House"},
      {miScoreBonus, "Score Bonus"},
  };
  StartWith({});
  for (const auto& [id, title] : dialogs) {
    SCOPED_TRACE(title);
    const OptionId option = FindOptionItem(id)->option;
    const TOptionDef& o = kOptions[option];
    gOptions = TOptions{};
    gOptions.fullScreen = 0;
    gOptions.mons.realTime = id != miBonusTime;  // bonus time is asked without real time only
    control->UpdateMenus();
    platform.asked.clear();
    const int32_t answer = o.def == o.min ? o.max : o.min;
    platform.numberAnswers = {answer, std::nullopt};
    control->Command(id);
    ASSERT_EQ(platform.asked.size(), 1u);
    const TDialogPlatform::TAsked& a = platform.asked[0];
    EXPECT_EQ(
        std::tie(a.caption, a.time, a.value, a.min, a.max, a.def),
        std::make_tuple(std::string(title), bool(o.time), o.def, o.min, o.max, o.DialogDefault()));
    EXPECT_EQ(Item(id).caption, OptionCaption(option, answer));
    control->Command(id);  // cancelled
    EXPECT_EQ(std::make_pair(OptionAt(option).Get(), platform.asked.size()),
              std::make_pair(answer, size_t(2)));
  }
}

// Each toggle flips its own flag and shows it; the hidden "Use Grating" item only shows it.
TEST_F(MainControlTest, OptionTogglesFlipTheirOwnFlag) {
  struct Case {
    MenuId id;
    uint8_t* flag;
    uint8_t realTime;  // "Time" is enabled without real time only
  };
  TMonstersOptions& mons = gOptions.mons;
  const Case cases[] = {
      {miMirrorGame, &gCom.mirrorGame, 1},
      {miRealTimeGame, &mons.realTime, 1},
      {miTime, &mons.times, 0},
      {miBiosKeyboard, &mons.biosKeyboard, 1},
      {miAgressiveMonsters, &mons.aggressive, 1},
      {miGrating, &mons.grating, 1},
      {miBlackSquares, &mons.blackSquares, 1},
      {miSwapPlayers, &mons.swapPlayers, 1},
      {miReborn, &gOptions.burr.reborn, 1},
      {miEnemies, &gOptions.burr.enemies, 1},
  };
  StartWith({});
  for (const Case& c : cases) {
    SCOPED_TRACE(kMenuItems[c.id].caption);
    mons.realTime = c.realTime;
    control->UpdateMenus();
    const uint8_t before = *c.flag;
    for (bool flipped : {true, false}) {
      control->Command(c.id);
      EXPECT_EQ(bool(*c.flag), bool(before) != flipped);
      EXPECT_EQ(Item(c.id).checked, bool(*c.flag));
    }
  }
  for (uint8_t grating : {0, 1}) {
    gOptions.burr.grating = grating;
    control->Command(miUseGrating);
    EXPECT_EQ(gOptions.burr.grating, grating);
    control->UpdateMenus();
    EXPECT_EQ(Item(miUseGrating).checked, bool(grating));
  }
}

// A preset sets its value and is then the one checked (and disabled) item of its group; a
// custom value checks the dialog item instead.
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
      EXPECT_EQ(*g.field, g.values[i]);
      for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(Item(g.presets[j]).checked, i == j) << kMenuItems[g.presets[j]].caption;
        EXPECT_EQ(Item(g.presets[j]).enabled, i != j) << kMenuItems[g.presets[j]].caption;
      }
      EXPECT_FALSE(Item(g.custom).checked);
    }
    platform.numberAnswers = {g.customValue};
    control->Command(g.custom);
    EXPECT_EQ(*g.field, g.customValue);
    EXPECT_TRUE(Item(g.custom).checked);
    for (MenuId id : g.presets) EXPECT_TRUE(!Item(id).checked && Item(id).enabled);
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
  gCom.k[gkBurrower].running = 1;
  control->UpdateMenus();
  control->Command(miReborn);
  EXPECT_EQ(gOptions.burr.reborn, 1);
  gCom.k[gkBurrower].running = 0;
}

TEST_F(MainControlTest, HiddenItemsAndKindMenus) {
  StartWith({});
  for (MenuId id : {miMemoryStatus, miFillBitmap, miRepaintImage, miNormalGameStep,
                    miCustomGameStep, miGameStepSeparator, miUseGrating})
    EXPECT_FALSE(Item(id).visible) << kMenuItems[id].caption;
  EXPECT_TRUE(Item(miFillBitmap).checked && Item(miAI1).visible && Item(miHighScores).enabled);
  EXPECT_TRUE(control->Menus().menuVisible[mbBrickfall] &&
              !control->Menus().menuVisible[mbMonsters]);
  EXPECT_TRUE(Item(miUnregister).checked);
  control->Command(miRegister);
  EXPECT_TRUE(Item(miRegister).checked && !Item(miUnregister).checked);
  control->Command(miBurrower);
  EXPECT_FALSE(Item(miAI1).visible || Item(miAISeparator).visible);
  EXPECT_TRUE(control->Menus().menuVisible[mbBurrower]);
  control->Command(miMonsters);
  EXPECT_FALSE(Item(miHighScores).enabled);
}

TEST_F(MainControlTest, StartGameLevelRules) {
  std::string brick = MakeSet(gkBrickfall, 5, "b.BrL");
  std::string mons = MakeSet(gkMonsters, 5, "m.MoL");
  gCom.kind = gkBrickfall;
  StartWith({brick, mons});  // the last file's kind is current
  EXPECT_EQ(gCom.kind, gkMonsters);
  control->Command(miBrickfall);
  for (MenuId start : {miStartGame, miTestLevel}) {  // a test starts at the level shown
    for (int i = 0; i < 2; ++i) control->Command(miNextLevel);
    control->Command(start);
    EXPECT_EQ(Cur().levelIndex, start == miTestLevel ? 2 : 0);
    EXPECT_EQ(Cur().testGame, start == miTestLevel);
    control->Command(miAbortGame);
  }

  control->Command(miMonsters);
  for (int i = 0; i < 2; ++i) control->Command(miNextLevel);
  control->Command(miStartGame);
  EXPECT_EQ(Cur().levelIndex, 2);
}

TEST_F(MainControlTest, NextAndLastLevelStayInsideTheSet) {
  std::string brick = MakeSet(gkBrickfall, 2, "two.BrL");
  StartWith({brick});
  EXPECT_TRUE(!Item(miLastLevel).enabled && Item(miNextLevel).enabled);
  control->Command(miNextLevel);
  EXPECT_EQ(Cur().levelIndex, 1);
  EXPECT_FALSE(Item(miNextLevel).enabled);
  control->Command(miNextLevel);  // disabled: nothing happens
  EXPECT_EQ(Cur().levelIndex, 1);
  control->Command(miNew);
  EXPECT_EQ(std::make_pair(int(Cur().levelIndex), KindLevelCount(gkBrickfall)),
            std::make_pair(0, 1));
}

TEST_F(MainControlTest, StartGameForgetsEarlierKeyPresses) {
  StartWith({});
  platform.PressKey(0x25);
  platform.ReleaseKey(0x25);
  platform.PressKey(0x41);  // still held
  Cur().score[2] = 77;
  control->Command(miStartGame);
  EXPECT_EQ(std::make_tuple(int(platform.KeyState(0x25)), int(platform.KeyState(0x41)),
                            int(Cur().score[2]), int(Cur().state)),
            std::make_tuple(0, 0x80, 0, int(gsPlaying)));
}

TEST_F(MainControlTest, CloseAsksForEveryRunningGame) {
  StartWith({});
  control->Command(miStartGame);
  control->Command(miMonsters);
  control->Command(miStartGame);
  platform.ClearLog();
  platform.messageAnswers = {MsgButton::Yes, MsgButton::No};
  EXPECT_FALSE(control->CloseRequest());
  EXPECT_EQ(platform.log, (std::vector<std::string>{"message: Abort Brickfall Game ? [Yes, No]",
                                                    "message: Abort Monsters Game ? [Yes, No]"}));
  EXPECT_TRUE(gCom.k[gkBrickfall].running && gCom.k[gkMonsters].running);
  EXPECT_EQ(gCom.kind, gkMonsters);

  platform.messageAnswers = {MsgButton::Yes, MsgButton::Yes};
  EXPECT_TRUE(control->CloseRequest());
  EXPECT_FALSE(gCom.k[gkBrickfall].running || gCom.k[gkMonsters].running);
  EXPECT_EQ(gCom.kind, gkMonsters);
}

TEST_F(MainControlTest, CloseOffersToSaveAndCancelKeepsTheWindow) {
  std::string file = MakeSet(gkBurrower, 1, "b.BuL");
  gCom.kind = gkBrickfall;
  StartWith({file});
  MarkModified(gCom.kind);
  control->Command(miBrickfall);
  platform.ClearLog();
  platform.messageAnswers = {MsgButton::Cancel};
  EXPECT_FALSE(control->CloseRequest());
  EXPECT_EQ(gCom.kind, gkBrickfall);
  EXPECT_EQ(platform.log, std::vector<std::string>{"message: Save changes to \r\n" + file +
                                                   " [Yes, No, Cancel]"});
  EXPECT_TRUE(gCom.k[gkBurrower].modified);

  platform.messageAnswers = {MsgButton::Yes};
  EXPECT_TRUE(control->CloseRequest());
  EXPECT_FALSE(gCom.k[gkBurrower].modified);
}

TEST_F(MainControlTest, CaptionOfAModifiedNewSet) {
  StartWith({});
  control->Command(miNew);
  MarkModified(gCom.kind);
  EXPECT_EQ(caption, "Kelvra - Levels/Brickfall/NoName.BrL * (New)");
  EXPECT_FALSE(Item(miSave).enabled);  // a new set is saved with Save As
  std::string file = dir.File("saved.BrL");
  platform.saveAnswers.push_back(file);
  control->Command(miSaveAs);
  EXPECT_EQ(caption, "Kelvra - saved.BrL");
  MarkModified(gCom.kind);
  EXPECT_TRUE(Item(miSave).enabled);
  control->Command(miSave);
  EXPECT_EQ(caption, "Kelvra - saved.BrL");
  EXPECT_EQ(control->recent[gkBrickfall].Files().front(), file);
}

TEST_F(MainControlTest, OpenUsesTheKindsFilterAndFillsTheRecentList) {
  std::string file = MakeSet(gkMonsters, 3, "open.MoL");
  gCom.kind = gkMonsters;
  StartWith({});
  platform.ClearLog();
  platform.openAnswers.push_back(file);
  control->Command(miOpen);
  ASSERT_FALSE(platform.log.empty());
  EXPECT_EQ(platform.log[0].rfind("open: Monsters Levels (*.MoL)|*.MoL|Any file (*.*)|*.*", 0), 0u);
  EXPECT_EQ(KindLevelCount(gkMonsters), 3);
  EXPECT_EQ(Cur().fileName + "|" + control->recent[gkMonsters].Files().front(), file + "|" + file);
  control->Command(miNextLevel);
  control->Reopen(file);
  EXPECT_EQ(Cur().levelIndex, 0);
}

TEST_F(MainControlTest, LockedSetBlocksTheEditorAndTestLevel) {
  StartWith({});
  Cur().header.lock = kLocked;
  control->UpdateMenus();
  EXPECT_TRUE(!Item(miTestLevel).enabled && Item(miStartGame).enabled);
  platform.ClearLog();
  control->Command(miEditor);
  EXPECT_FALSE(gCom.editorOpen);
  ASSERT_EQ(platform.log.size(), 1u);
  EXPECT_NE(platform.log[0].find("\r\nis locked, select other file [OK]"), std::string::npos);
}

TEST_F(MainControlTest, MusicFollowsTheGame) {
  StartWith({});
  auto music = [this] { return platform.musicFile + (platform.musicPlaying ? " playing" : ""); };
  control->musicList = {"a.mid", "b.mid", "c.rmi"};
  control->Command(miStartGame);
  EXPECT_EQ(music(), "a.mid playing");
  platform.musicPosition = 4200;
  control->Command(miPauseGame);
  EXPECT_EQ(music(), "a.mid");
  control->Command(miPauseGame);
  EXPECT_EQ(music(), "a.mid playing");
  EXPECT_EQ(platform.musicPosition, 4200);
  control->MusicEnded();
  EXPECT_EQ(music(), "b.mid playing");
  control->MusicEnded();
  control->MusicEnded();
  EXPECT_EQ(music(), "a.mid playing");  // wraps after the last piece

  control->Command(miMonsters);  // no Monsters game runs: the piece pauses, stays loaded
  EXPECT_EQ(music(), "a.mid");
  control->Command(miBrickfall);
  EXPECT_EQ(music(), "a.mid playing");
  control->Command(miAbortGame);
  EXPECT_EQ(music(), "");
}

TEST_F(MainControlTest, GameOverShowEndsOnTheFrameCheck) {
  StartWith({});
  control->Command(miStartGame);
  Cur().state = gsPlayersOut;
  control->MoveTick();
  EXPECT_EQ(Cur().state, gsGameOverShow);
  for (int i = 0; i < 64; ++i) control->MoveTick();
  EXPECT_TRUE(Cur().running);
  control->DrawTick();
  EXPECT_TRUE(Cur().state == gsGameEnded && !Cur().running);
}

TEST_F(MainControlTest, GameTimeAdvancesOnlyWhilePlaying) {
  StartWith({});
  control->Command(miBurrower);  // a game that goes on without walls to clear
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
  platform.shellOpenResult = 2;
  platform.ClearLog();
  control->Command(miReadMe);
  ASSERT_EQ(platform.fileErrors.size(), 1u);
  EXPECT_EQ(platform.fileErrors[0].caption, "IO Error");
  EXPECT_NE(platform.fileErrors[0].text.find("ReadMe.htm"), std::string::npos);
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
