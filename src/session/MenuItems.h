// The main window's menus as data: every item with its caption, Tag and shortcut, and the
// state (enabled, checked, visible, caption) that UpdateMenus computes for it.
#pragma once

#include <string>

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
  miAgressiveMonsters,
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

struct TMenuItemDef {
  MenuId id;
  MenuBar menu;
  const char* caption;  // "&" marks the access key; nullptr for a separator
  int tag;
  const char* shortcut;  // in QKeySequence's portable text form, "" for none
  bool checkable;
  int radioGroup;  // items sharing a group > 0 are exclusive
  bool separatorBefore;
};

extern const TMenuItemDef kMenuItems[miCount];  // in menu order, indexed by MenuId
extern const char* const kMenuTitles[mbCount];  // "&File", "&Game", "&Options", ...

struct TMenuItemState {
  bool enabled = true;
  bool checked = false;
  bool visible = true;
  std::string caption;
};

struct TMenuState {
  TMenuItemState item[miCount];
  bool menuVisible[mbCount] = {true, true, true, true, true, true, true};
  const TMenuItemState& operator[](MenuId id) const { return item[id]; }
  TMenuItemState& operator[](MenuId id) { return item[id]; }
};

}  // namespace kelvra
