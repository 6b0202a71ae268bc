// The main window's menus as data: every item with its caption, Tag and shortcut, the
// options its items act on, and the state (enabled, checked, visible, caption) that
// UpdateMenus computes for it.
#pragma once

#include <span>
#include <string>

#include "common/Options.h"

namespace kelvra {

enum MenuId : int {
  // "&File"
  miBrickfall,
  miMonsters,
  miBurrower,
  miGameInfo,
  miHighScores,
  miNew,
  miOpen,
  miReopen,
  miSave,
  miSaveAs,
  miTestLevel,
  miPlayReplay,
  miSaveReplayAs,
  miEditor,
  miMinimize,
  miExit,
  // "&Game"
  miStartGame,
  miPauseGame,
  miAbortGame,
  miLastLevel,
  miNextLevel,
  miPlayers1,
  miPlayers2,
  miPlayers3,
  miPlayers4,
  miPlayers5,
  miAISeparator,
  miAI1,
  miAI2,
  miAI3,
  miAI4,
  miAI5,
  miReplaySpeed1,
  miReplaySpeed2,
  miReplaySpeed4,
  // "&Options"
  miSlow,
  miNormal,
  miFast,
  miCustomGameDelay,
  miGameStepSeparator,
  miNormalGameStep,
  miCustomGameStep,
  miMemoryStatus,
  miMaxFps,
  miFps50,
  miFps20,
  miCustomFps,
  miFillBitmap,
  miRepaintImage,
  miZoom1,
  miZoom2,
  miZoom3,
  miZoom4,
  miSettings,
  miRegister,
  miUnregister,
  // "Brickfall"
  miMirrorGame,
  // "&Monsters"
  miRealTimeGame,
  miMonstersDelay,
  miStopClock,
  miGoClock,
  miTime,
  miBonusTime,
  miBiosKeyboard,
  miKeyboardDelay,
  miAggressiveMonsters,
  miGrating,
  miBlackSquares,
  miSwapPlayers,
  miScoreMonster,
  miScorePlayer,
  miScoreHouse,
  miScoreBonus,
  // "Burrower"
  miReborn,
  miEnemies,
  miUseGrating,
  // "Help"
  miReadMe,
  miAbout,
  miCount
};

enum MenuBar : int {
  mbFile,
  mbGame,
  mbOptions,
  mbBrickfall,
  mbMonsters,
  mbBurrower,
  mbHelp,
  mbCount
};

// Items of one group are radio items: exactly one is checked. A preset group ends in its
// custom item, checked when no preset matches.
enum RadioGroup : int {
  rgNone,         // a command, or a check box when checkable
  rgKinds,        // "Brickfall", "Monsters", "Burrower"
  rgPlayers,      // "1 Player Game" .. "5 Players Game"
  rgZoom,         // "Zoom 1x" .. "Zoom 4x"
  rgGameDelay,    // "Slow (40)", "Normal (28)", "Fast (20)", "Custom Game Delay..."
  rgDrawDelay,    // "Maximum F/s (0)", "50 F/s (20)", "20 F/s (50)", "Custom F/s..."
  rgReplaySpeed,  // "Replay at Normal Speed", "Replay at 2x Speed", "Replay at 4x Speed"
  rgCount
};

struct TMenuItemDef {
  MenuId id;
  MenuBar menu;
  const char* caption;  // "&" marks the access key; nullptr for a separator
  // What the item acts on, by kind of item:
  //   miBrickfall..miBurrower        the game kind (GameKind)
  //   miStartGame, miTestLevel       0 Start Game, 1 Test Level (a test game)
  //   miLastLevel, miNextLevel       the level step, -1 or +1
  //   miPlayers1..miPlayers5         the player count minus one
  //   miAI1..miAI5                   the player index, 0..4
  //   miSlow, miNormal, miFast       the game delay in ms (gameTick)
  //   miMaxFps, miFps50, miFps20     the draw delay in ms (delayTime)
  //   miNormalGameStep               the game step, 1024 (a hidden item)
  //   miZoom1..miZoom4               the window's zoom factor, 1..4
  // 0 for every other item.
  int tag;
  const char* shortcut;  // in QKeySequence's portable text form, "" for none
  bool checkable;
  int radioGroup;  // RadioGroup: the checked item of a group moves, and stays enabled
  bool separatorBefore;
};

extern const TMenuItemDef kMenuItems[miCount];  // in menu order, indexed by MenuId
extern const char* const kMenuTitles[mbCount];  // "&File", "&Game", "&Options", ...

// How an item acts on its option (common/Options.h).
enum OptionUse : uint8_t {
  ouToggle,  // flips a flag, checked while it is set
  ouPreset,  // sets the item's tag, checked while the option has that value (a radio item)
  ouDialog,  // asks in the option's number dialog; the caption shows the value, checked
             // when the option has presets and none of them matches
};

struct TOptionItemDef {
  MenuId id;
  OptionId option;
  OptionUse use;
};

extern const std::span<const TOptionItemDef> kOptionItems;
// The row of kOptionItems of an item; nullptr for an item that acts on no option.
const TOptionItemDef* FindOptionItem(MenuId id);

struct TMenuItemState {
  bool enabled = true;
  bool checked = false;
  bool visible = true;
  std::string caption;
  std::string tip;  // why a disabled command cannot be used now; "" when it says nothing
};

struct TMenuState {
  TMenuItemState item[miCount];
  bool menuVisible[mbCount] = {true, true, true, true, true, true, true};
  const TMenuItemState& operator[](MenuId id) const { return item[id]; }
  TMenuItemState& operator[](MenuId id) { return item[id]; }
};

}  // namespace kelvra
