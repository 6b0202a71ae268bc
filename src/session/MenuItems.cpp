// The main window's menu table and the options its items act on.
#include "session/MenuItems.h"

namespace kelvra {

// Each title's access key is its own letter: the two kind menus are never shown together,
// but a distinct letter keeps Alt+B from depending on which kind is current.
const char* const kMenuTitles[mbCount] = {"&File",     "&Game",     "&Options", "&Brickfall",
                                          "&Monsters", "B&urrower", "&Help"};

// id, menu, caption, tag, shortcut, checkable, radio group, separator before. Besides
// the system's own shortcuts (Ctrl+E, P, Page Up and Down, Ctrl+1..5, Ctrl+M) the usual
// desktop ones: F1, F2, Ctrl+O, Ctrl+S, Ctrl+Shift+S and Ctrl+Q. None is a key of a
// default keyboard mapping on its own.
const TMenuItemDef kMenuItems[miCount] = {
    {miBrickfall, mbFile, "Brickfall", 0, "", true, rgKinds, false},
    {miMonsters, mbFile, "Monsters", 1, "", true, rgKinds, false},
    {miBurrower, mbFile, "Burrower", 2, "", true, rgKinds, false},
    {miGameInfo, mbFile, "Game Info...", 0, "", false, 0, true},
    {miHighScores, mbFile, "High Scores...", 0, "", false, 0, false},
    {miNew, mbFile, "New", 0, "", false, 0, true},
    {miOpen, mbFile, "Open...", 0, "Ctrl+O", false, 0, false},
    {miReopen, mbFile, "Reopen", 0, "", false, 0, false},
    {miSave, mbFile, "Save", 0, "Ctrl+S", false, 0, false},
    {miSaveAs, mbFile, "Save &As...", 0, "Ctrl+Shift+S", false, 0, false},
    {miTestLevel, mbFile, "Test Level", 1, "", false, 0, true},
    {miPlayReplay, mbFile, "Play Replay...", 0, "", false, 0, false},
    {miSaveReplayAs, mbFile, "Save Replay As...", 0, "", false, 0, false},
    {miEditor, mbFile, "Editor...", 0, "Ctrl+E", true, 0, false},
    {miMinimize, mbFile, "Minimize", 0, "", false, 0, true},
    {miExit, mbFile, "E&xit", 0, "Ctrl+Q", false, 0, false},

    {miStartGame, mbGame, "Start Game", 0, "F2", true, 0, false},
    {miPauseGame, mbGame, "Pause Game", 0, "P", false, 0, false},
    {miAbortGame, mbGame, "Abort Game", 0, "", false, 0, false},
    {miLastLevel, mbGame, "Last Level", -1, "PgUp", false, 0, true},
    {miNextLevel, mbGame, "Next Level", 1, "PgDown", false, 0, false},
    {miPlayers1, mbGame, "1 Player Game", 0, "", true, rgPlayers, true},
    {miPlayers2, mbGame, "2 Players Game", 1, "", true, rgPlayers, false},
    {miPlayers3, mbGame, "3 Players Game", 2, "", true, rgPlayers, false},
    {miPlayers4, mbGame, "4 Players Game", 3, "", true, rgPlayers, false},
    {miPlayers5, mbGame, "5 Players Game", 4, "", true, rgPlayers, false},
    {miAISeparator, mbGame, nullptr, 0, "", false, 0, false},
    {miAI1, mbGame, "Player 1 AI", 0, "Ctrl+1", true, 0, false},
    {miAI2, mbGame, "Player 2 AI", 1, "Ctrl+2", true, 0, false},
    {miAI3, mbGame, "Player 3 AI", 2, "Ctrl+3", true, 0, false},
    {miAI4, mbGame, "Player 4 AI", 3, "Ctrl+4", true, 0, false},
    {miAI5, mbGame, "Player 5 AI", 4, "Ctrl+5", true, 0, false},
    {miReplaySpeed1, mbGame, "Replay at Normal Speed", 1, "", true, rgReplaySpeed, true},
    {miReplaySpeed2, mbGame, "Replay at 2x Speed", 2, "", true, rgReplaySpeed, false},
    {miReplaySpeed4, mbGame, "Replay at 4x Speed", 4, "", true, rgReplaySpeed, false},

    {miSlow, mbOptions, "Slow (40)", 40, "", true, rgGameDelay, false},
    {miNormal, mbOptions, "Normal (28)", 28, "", true, rgGameDelay, false},
    {miFast, mbOptions, "Fast (20)", 20, "", true, rgGameDelay, false},
    {miCustomGameDelay, mbOptions, "Custom Game Delay...", 0, "", true, rgGameDelay, false},
    {miGameStepSeparator, mbOptions, nullptr, 0, "", false, 0, false},
    {miNormalGameStep, mbOptions, "Normal Game Step (1024)", 1024, "", true, 0, false},
    {miCustomGameStep, mbOptions, "Custom Game Step...", 0, "", true, 0, false},
    {miMemoryStatus, mbOptions, "Memory Status", 0, "", false, 0, false},
    {miMaxFps, mbOptions, "Maximum F/s (0)", 0, "", true, rgDrawDelay, true},
    {miFps50, mbOptions, "50 F/s (20)", 20, "", true, rgDrawDelay, false},
    {miFps20, mbOptions, "20 F/s (50)", 50, "", true, rgDrawDelay, false},
    {miCustomFps, mbOptions, "Custom F/s...", 0, "", true, rgDrawDelay, false},
    {miFillBitmap, mbOptions, "Fill Bitmap", 0, "", true, 0, false},
    {miRepaintImage, mbOptions, "Repaint Image", 0, "", true, 0, false},
    {miZoom1, mbOptions, "Zoom 1x", 1, "", true, rgZoom, true},
    {miZoom2, mbOptions, "Zoom 2x", 2, "", true, rgZoom, false},
    {miZoom3, mbOptions, "Zoom 3x", 3, "", true, rgZoom, false},
    {miZoom4, mbOptions, "Zoom 4x", 4, "", true, rgZoom, false},
    {miSettings, mbOptions, "Settings...", 0, "", false, 0, true},
    {miRegister, mbOptions, "Register", 0, "", false, 0, true},
    {miUnregister, mbOptions, "Unregister", 0, "", false, 0, false},

    {miMirrorGame, mbBrickfall, "Mirror Game", 0, "Ctrl+M", true, 0, false},

    {miRealTimeGame, mbMonsters, "Real Time Game", 0, "", true, 0, false},
    {miMonstersDelay, mbMonsters, "Monster's Delay...", 0, "", false, 0, false},
    {miStopClock, mbMonsters, "Stop Clock", 0, "", false, 0, true},
    {miGoClock, mbMonsters, "Go Clock", 0, "", false, 0, false},
    {miTime, mbMonsters, "Time", 0, "", true, 0, false},
    {miBonusTime, mbMonsters, "Bonus Time...", 0, "", false, 0, false},
    {miBiosKeyboard, mbMonsters, "Bios Keyboard", 0, "", true, 0, true},
    {miKeyboardDelay, mbMonsters, "Keyboard Delay...", 0, "", false, 0, false},
    {miAggressiveMonsters, mbMonsters, "Aggressive Monsters", 0, "", true, 0, true},
    {miGrating, mbMonsters, "Grating", 0, "", true, 0, false},
    {miBlackSquares, mbMonsters, "Black Squares", 0, "", true, 0, false},
    {miSwapPlayers, mbMonsters, "Swap Players", 0, "", true, 0, false},
    {miScoreMonster, mbMonsters, "Score Monster...", 0, "", false, 0, true},
    {miScorePlayer, mbMonsters, "Score Player...", 0, "", false, 0, false},
    {miScoreHouse, mbMonsters, "Score House...", 0, "", false, 0, false},
    {miScoreBonus, mbMonsters, "Score Bonus...", 0, "", false, 0, false},

    {miReborn, mbBurrower, "Reborn", 0, "", true, 0, false},
    {miEnemies, mbBurrower, "Enemies", 0, "", true, 0, false},
    {miUseGrating, mbBurrower, "Use Grating", 0, "", true, 0, false},

    {miReadMe, mbHelp, "Read Me", 0, "F1", false, 0, false},
    {miAbout, mbHelp, "&About...", 0, "", false, 0, false},
};

namespace {

constexpr TOptionItemDef kOptionItemRows[] = {
    {miSlow, opGameTick, ouPreset},
    {miNormal, opGameTick, ouPreset},
    {miFast, opGameTick, ouPreset},
    {miCustomGameDelay, opGameTick, ouDialog},
    {miMaxFps, opDelayTime, ouPreset},
    {miFps50, opDelayTime, ouPreset},
    {miFps20, opDelayTime, ouPreset},
    {miCustomFps, opDelayTime, ouDialog},

    {miMirrorGame, opMirrorGame, ouToggle},

    {miRealTimeGame, opRealTime, ouToggle},
    {miMonstersDelay, opMonstersDelay, ouDialog},
    {miTime, opTimes, ouToggle},
    {miBonusTime, opBonusTime, ouDialog},
    {miBiosKeyboard, opBiosKeyboard, ouToggle},
    {miKeyboardDelay, opKeyboardDelay, ouDialog},
    {miAggressiveMonsters, opAggressive, ouToggle},
    {miGrating, opMonsGrating, ouToggle},
    {miBlackSquares, opBlackSquares, ouToggle},
    {miSwapPlayers, opSwapPlayers, ouToggle},
    {miScoreMonster, opScoreMonster, ouDialog},
    {miScorePlayer, opScorePlayer, ouDialog},
    {miScoreHouse, opScoreHouse, ouDialog},
    {miScoreBonus, opScoreBonus, ouDialog},

    {miReborn, opReborn, ouToggle},
    {miEnemies, opEnemies, ouToggle},
    {miUseGrating, opBurrGrating, ouToggle},
};

}  // namespace

constexpr std::span<const TOptionItemDef> kOptionItems = kOptionItemRows;

const TOptionItemDef* FindOptionItem(MenuId id) {
  for (const TOptionItemDef& item : kOptionItems)
    if (item.id == id) return &item;
  return nullptr;
}

}  // namespace kelvra
