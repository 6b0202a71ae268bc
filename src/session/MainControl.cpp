// The main window's logic: start-up, kinds, commands, games, music and menu states.
#include "session/MainControl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/FileIO.h"
#include "base/IOError.h"
#include "base/KIniFile.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "common/Overlay.h"
#include "common/Players.h"
#include "common/Scores.h"
#include "common/Settings.h"
#include "common/SharedImages.h"
#include "common/Sounds.h"
#include "media/MusicList.h"
#include "platform/Services.h"
#include "session/Dispatch.h"

namespace kelvra {

namespace {

constexpr const char* kTitle = "Kelvra";

bool SameExtension(const std::string& file, const char* ext) {
  std::string e = ExtractFileExt(file);
  return e.size() == std::strlen(ext) && std::equal(e.begin(), e.end(), ext, [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

std::string LevelSetFilter(int kind) {
  std::string ext = KindExtension(kind);
  return std::string(KindName(kind)) + " Levels (*." + ext + ")|*." + ext + "|Any file (*.*)|*.*";
}

TMainControl::TMainControl() : frame(640, 440) {
  InstallGames();
  SetEvents(this);
  // Both clocks keep running while the application is inactive; they wait for the first
  // activation.
  for (TKTimer* clock : {&moveClock, &drawClock}) {
    clock->SetActiveOnly(false);
    clock->SetEnabled(false);
  }
  moveClock.OnTimer = [this](TKTimer&) { MoveClockEvent(); };
  drawClock.OnTimer = [this](TKTimer&) { DrawClockEvent(); };
}

TMainControl::~TMainControl() {
  if (&Events() == this) SetEvents(nullptr);
}

void TMainControl::SoundRequested(int kind, int sound, int x) {
  PlaySound(kind, sound, x);
}

void TMainControl::LevelSetOpened(int kind, const std::string& file) {
  recent[kind].Opened(file);
  if (hooks.recentChanged) hooks.recentChanged();
}

void TMainControl::LevelSetClosed(int kind, const std::string& file) {
  recent[kind].Closed(file);
}

void TMainControl::ModifiedChanged(int kind) {
  UpdateCaption();
  UpdateMenus();
  if (hooks.refreshEditor) hooks.refreshEditor();
}

void TMainControl::DialogShown(bool begin) {
  if (begin)
    BeginMeasurePause();
  else
    EndMeasurePause();
}

void TMainControl::HighScoresChanged(int kind) {
  if (hooks.showHighScores) hooks.showHighScores(kind);
}

void TMainControl::Startup(const std::vector<std::string>& args, TKIniFile* ini) {
  registered_ = Platform().FileTypesRegistered();
  Randomize(uint32_t(Platform().NowNs()));

  if (ini) {
    TSettingsContext context = settingsContext;
    for (int k = 0; k < kKinds; ++k) context.recent[k] = &recent[k];
    SettingsTransfer(*ini, false, context);
  }
  if (applyPriorities) ApplyPriorities(gOptions.processPriority, gOptions.threadPriority);
  if (gOptions.fullScreen && hooks.showLogo) hooks.showLogo();
  ComputeHalfColours();

  musicList = BuildMusicList(ProgramDir() + "Sounds/Music/");

  for (const std::string& arg : args) {
    if (!FileExists(arg)) continue;
    for (int k = 0; k < kKinds; ++k)
      if (SameExtension(arg, KindExtension(k))) gCom.kind = uint8_t(k);
    if (LoadLevelSet(gCom.kind, arg)) recent[gCom.kind].Opened(Cur().fileName);
  }

  LoadSounds();
  LoadSharedImages();
  if (gOptions.fullScreen && hooks.fullScreen) hooks.fullScreen(true);
  if (gOptions.sounds) OpenSoundOutput();
  SelectKind(gCom.kind);
  DrawOverlayOnce();
  created = true;
}

void TMainControl::Shutdown(TKIniFile* ini, bool windowNormal) {
  if (ini) {
    TSettingsContext context = settingsContext;
    context.windowNormal = windowNormal;
    for (int k = 0; k < kKinds; ++k) {
      context.recent[k] = &recent[k];
      context.levelsFromFile[k] = gCom.k[k].origin == loFile;
      if (context.levelsFromFile[k]) gOptions.levelsFile[k] = gCom.k[k].fileName;
    }
    SettingsTransfer(*ini, true, context);
  }
  for (int k = 0; k < kKinds; ++k) CloseLevelSet(k);
  StopMusic();
  CloseSoundOutput();
  FreeSounds();
  FreeSharedImages();
}

void TMainControl::SelectKind(int kind) {
  if (kind < 0 || kind >= kKinds) kind = 0;
  gCom.kind = uint8_t(kind);
  TKindState& s = Cur();
  PlatformServices& platform = Platform();

  if (platform.MusicPlaying() && !s.running) {
    platform.MusicStop();  // the piece stays loaded
  } else if (platform.MusicLoaded() && !platform.MusicPlaying() && s.running && gOptions.music) {
    platform.MusicPlay(platform.MusicPosition());
  }
  if (hooks.recentChanged) hooks.recentChanged();

  if (s.origin == loNone) {
    std::string name =
        gOptions.levelsFile[kind].empty() ? DefaultLevelsFile(kind) : gOptions.levelsFile[kind];
    if (LoadLevelSet(kind, name)) recent[kind].Opened(s.fileName);
    if (s.origin == loNone) NewLevelSet(kind);
  }

  if (!kindSelectedOnce_[kind]) {
    kindSelectedOnce_[kind] = true;
    KindOps(kind).InitKind();
    s.initialised = 1;
    KindOps(kind).ShowLevel();
  }
  s.lastDrawnLevel = 0x7FFFFFFF;
  s.shownGameTime = s.shownLevelTime = 0xFFFFFFFF;
  KindOps(kind).ActivateKind(frame);
  LoadHighScores(kind);
  UpdateCaption();
  UpdateMenus();
  PlaySound(kind, kSoundGameStartBase + kind);
}

void TMainControl::AfterLevelSetOpened() {
  LoadHighScores(gCom.kind);
  Cur().levelIndex = 0;
  UpdateCaption();
  if (hooks.refreshEditor) hooks.refreshEditor();
  if (hooks.recentChanged) hooks.recentChanged();
  UpdateMenus();
  KindOps(gCom.kind).ShowLevel();
  // A set opened over a level of the same index: the overlay would not see a change.
  KindOps(gCom.kind).LevelChanged();
}

void TMainControl::StartGame(int tag) {
  const int k = gCom.kind;
  TKindState& s = Cur();
  s.state = gsPlaying;
  s.running = 1;
  s.testGame = uint8_t(tag != 0);
  UpdateMenus();
  s.gameTime = s.levelTime = 0;
  if (tag == 0 && !KindTraits(k).startKeepsLevel) s.levelIndex = 0;
  std::fill(std::begin(s.score), std::end(s.score), 0);
  ForgetControlPresses();  // presses made before the start do not count
  KindOps(k).StartGame();
  if (gOptions.music && !musicList.empty()) {
    trackIndex[k] = 0;
    PlayTrack(k, 0);
  }
}

void TMainControl::EndGame(int kind) {
  if (Platform().MusicPlaying() || Platform().MusicLoaded()) StopMusic();
  gCom.k[kind].running = 0;
  UpdateMenus();
}

void TMainControl::AbortGame() {
  Cur().state = gsAborted;
  EndGame(gCom.kind);
}

void TMainControl::PauseToggle() {
  gCom.paused = !gCom.paused;
  UpdateMenus();
  const int k = gCom.kind;
  const bool musicRuns = Cur().running && gOptions.music;
  if (gCom.paused) {
    BeginMeasurePause();
    CloseSoundOutput();  // ends every effect
    if (musicRuns) {
      musicPosition[k] = Platform().MusicPosition();
      Platform().MusicStop();
    }
    DrawOverlayOnce();
  } else {
    EndMeasurePause();
    if (gOptions.sounds) OpenSoundOutput();
    if (musicRuns) PlayTrack(k, musicPosition[k]);
  }
}

void TMainControl::Minimized() {
  if (!gCom.paused) PauseToggle();
  if (gOptions.fullScreen && hooks.fullScreen) hooks.fullScreen(false);
}

void TMainControl::Restored() {
  if (gOptions.fullScreen && hooks.fullScreen) hooks.fullScreen(true);
}

void TMainControl::SoundOptionsChanged() {
  CloseSoundOutput();
  if (gOptions.sounds && !gCom.paused) OpenSoundOutput();
}

void TMainControl::MusicOptionChanged() {
  if (!Cur().running) return;
  if (gOptions.music) {
    PlayTrack(gCom.kind, 0);
  } else {
    StopMusic();
  }
}

void TMainControl::MusicEnded() {
  if (musicList.empty()) return;
  const int k = gCom.kind;
  trackIndex[k] = (trackIndex[k] + 1) % int(musicList.size());
  PlayTrack(k, 0);
}

void TMainControl::MoveTick() {
  const int k = gCom.kind;
  if (KindLevelCount(k) == 0) return;
  StepDispatch();
  ++gCom.stepCounter;
  TKindState& s = gCom.k[k];
  if (s.state == gsPlaying) {
    s.gameTime += uint32_t(gOptions.gameTick);
    s.levelTime += uint32_t(gOptions.gameTick);
  }
}

void TMainControl::DrawTick() {
  ClearSoundMarks();
  if (Platform().MusicTakeEnded()) MusicEnded();
  TOverlayResult overlay = DrawOverlay(frame, gCom.kind, fillBitmap);
  HighScoreCheck(gCom.kind);
  ++gCom.frameCounter;
  if (repaintImage && hooks.present) hooks.present(overlay.pointerInField);
}

void TMainControl::DrawOverlayOnce() {
  TOverlayResult overlay = DrawOverlay(frame, gCom.kind, fillBitmap);
  if (repaintImage && hooks.present) hooks.present(overlay.pointerInField);
}

void TMainControl::MoveClockEvent() {
  if (KindLevelCount(gCom.kind) == 0) return;
  const uint32_t steps = CatchUpSteps(moveClock.Lag(), uint32_t(gOptions.gameTick));
  for (uint32_t i = 0; i < steps; ++i) {
    MoveTick();
    measurement.CountStep(uint32_t(gOptions.gameTick));
  }
}

void TMainControl::DrawClockEvent() {
  if (KindLevelCount(gCom.kind) == 0) return;
  if (measurement.RefreshDue()) {
    measurement.Refresh();
    gFrameRates = {measurement.drawRate, measurement.stepRate};
    KindOps(gCom.kind).SecondTick();
    if (reportRates)
      std::fprintf(stderr, "rates: draw %u.%02u/s step %u.%02u/s\n", measurement.drawRate / 100,
                   measurement.drawRate % 100, measurement.stepRate / 100,
                   measurement.stepRate % 100);
  }
  DrawTick();
  measurement.CountFrame();
}

void TMainControl::Activated() {
  if (!activatedOnce_) measurement.Start();
  activatedOnce_ = true;
  SetClocks();
}

void TMainControl::SetClocks() {
  moveClock.SetInterval(gOptions.gameTick);
  drawClock.SetInterval(DrawTimerInterval(uint32_t(gOptions.delayTime)));
  if (!activatedOnce_) return;
  if (!drawClock.Enabled()) drawClock.SetEnabled(true);
  const bool move = !gCom.paused;
  if (moveClock.Enabled() != move) moveClock.SetEnabled(move);
}

void TMainControl::PlayTrack(int kind, int64_t fromMs) {
  if (musicList.empty()) return;
  int index = std::clamp(trackIndex[kind], 0, int(musicList.size()) - 1);
  PlatformServices& platform = Platform();
  platform.MusicClose();
  if (platform.MusicOpen(musicList[index])) platform.MusicPlay(fromMs);
}

void TMainControl::StopMusic() {
  Platform().MusicStop();
  Platform().MusicClose();
}

bool TMainControl::CloseRequest() {
  for (int k = 0; k < kKinds; ++k) {
    if (!gCom.k[k].running) continue;
    MsgButton b =
        Platform().MessageDialog(std::string("Abort ") + KindName(k) + " Game ?",
                                 MsgType::Confirmation, Btn(MsgButton::Yes) | Btn(MsgButton::No));
    if (b != MsgButton::Yes) return false;
  }
  if (gCom.editorOpen) ToggleEditor();
  bool allowed = true;
  for (int k = 0; k < kKinds && allowed; ++k) {
    if (gCom.k[k].running) EndGame(k);
    allowed = SaveChangesCheck(k);
  }
  UpdateCaption();
  UpdateMenus();
  return allowed;
}

void TMainControl::Reopen(const std::string& fileName) {
  if (gCom.editorOpen || Cur().running) return;
  if (LoadLevelSet(gCom.kind, fileName)) {
    recent[gCom.kind].Opened(Cur().fileName);
    AfterLevelSetOpened();
  } else {
    UpdateCaption();
    UpdateMenus();
  }
}

void TMainControl::FileNew() {
  const int k = gCom.kind;
  if (!SaveChangesCheck(k)) return;
  CloseLevelSet(k);
  NewLevelSet(k);
  LoadHighScores(k);
  KindOps(gCom.kind).ShowLevel();
  UpdateCaption();
  if (hooks.refreshEditor) hooks.refreshEditor();
  if (hooks.recentChanged) hooks.recentChanged();
}

void TMainControl::FileOpen() {
  BeginMeasurePause();
  std::optional<std::string> name =
      Platform().OpenFileDialog(LevelSetFilter(gCom.kind), Cur().fileName);
  if (name && LoadLevelSet(gCom.kind, *name)) {
    recent[gCom.kind].Opened(Cur().fileName);
    AfterLevelSetOpened();
  }
  EndMeasurePause();
}

void TMainControl::FileSave() {
  if (SaveLevelSet(gCom.kind, Cur().fileName) && hooks.recentChanged) hooks.recentChanged();
}

bool TMainControl::SaveAs(int kind) {
  BeginMeasurePause();
  std::optional<std::string> name =
      Platform().SaveFileDialog(LevelSetFilter(kind), gCom.k[kind].fileName);
  bool saved = name && SaveLevelSet(kind, *name);
  if (saved) {
    UpdateCaption();
    if (hooks.refreshEditor) hooks.refreshEditor();
    if (hooks.recentChanged) hooks.recentChanged();
  }
  EndMeasurePause();
  UpdateMenus();
  return saved;
}

void TMainControl::ToggleEditor() {
  if (gCom.editorOpen) {
    gCom.editorOpen = 0;
    if (hooks.showEditor) hooks.showEditor(false);
    UpdateMenus();
    return;
  }
  if (Cur().header.lock == kLocked) {
    Platform().MessageDialog(Cur().fileName + "\r\nis locked, select other file",
                             MsgType::Information, Btn(MsgButton::Ok));
    return;
  }
  gCom.editorOpen = 1;
  UpdateMenus();
  if (hooks.showEditor) hooks.showEditor(true);
}

void TMainControl::ReadMe() {
  std::string file = ProgramDir() + "ReadMe.htm";
  int code = Platform().ShellOpen(file);
  if (code != 0) IOError(file, code);
}

void TMainControl::SetPlayerCount(int minusOne) {
  Cur().playersMinusOne = minusOne;
}

void TMainControl::ChangeLevel(int delta) {
  TKindState& s = Cur();
  int count = KindLevelCount(gCom.kind);
  s.levelIndex = std::clamp(s.levelIndex + delta, 0, std::max(0, count - 1));
  KindOps(gCom.kind).ShowLevel();
  UpdateMenus();
  if (hooks.refreshEditor) hooks.refreshEditor();
}

bool TMainControl::AskNumber(const std::string& caption, int32_t& value, int32_t min, int32_t max,
                             int32_t def, bool time) {
  BeginMeasurePause();
  int32_t v = value;
  bool ok = time ? Platform().TimeDialog(caption, v, min, max, def)
                 : Platform().NumberDialog(caption, v, min, max, def);
  EndMeasurePause();
  if (ok) value = std::clamp(v, min, max);
  return ok;
}

void TMainControl::RegisterTypes(bool doRegister) {
  Platform().RegisterFileTypes(doRegister);
  registered_ = Platform().FileTypesRegistered();
}

void TMainControl::Command(MenuId id) {
  if (!menus_[id].enabled || !menus_[id].visible) return;
  const TMenuItemDef& def = kMenuItems[id];
  TMonstersOptions& mons = gOptions.mons;
  switch (id) {
    case miBrickfall:
    case miMonsters:
    case miBurrower:
      SelectKind(def.tag);
      return;  // SelectKind ends in UpdateMenus
    case miGameInfo:
    case miHighScores:
    case miSettings:
    case miAbout:
    case miNormalGameStep:
    case miCustomGameStep:
    case miMemoryStatus:
    case miAISeparator:
    case miGameStepSeparator:
      break;  // handled by the window, or no action
    case miNew:
      FileNew();
      break;
    case miOpen:
      FileOpen();
      break;
    case miReopen:
      break;
    case miSave:
      FileSave();
      break;
    case miSaveAs:
      SaveAs(gCom.kind);
      break;
    case miTestLevel:
    case miStartGame:
      StartGame(def.tag);
      break;
    case miEditor:
      ToggleEditor();
      break;
    case miMinimize:
      if (hooks.minimize) hooks.minimize();
      break;
    case miExit:
      if (hooks.closeWindow) hooks.closeWindow();
      break;
    case miPauseGame:
      PauseToggle();
      return;
    case miAbortGame:
      AbortGame();
      return;
    case miLastLevel:
    case miNextLevel:
      ChangeLevel(def.tag);
      return;
    case miPlayers1:
    case miPlayers2:
    case miPlayers3:
    case miPlayers4:
    case miPlayers5:
      SetPlayerCount(def.tag);
      break;
    case miAI1:
    case miAI2:
    case miAI3:
    case miAI4:
    case miAI5:
      gCom.player[def.tag].ai = !gCom.player[def.tag].ai;
      break;
    case miSlow:
    case miNormal:
    case miFast:
      gOptions.gameTick = def.tag;
      break;
    case miCustomGameDelay:
      AskNumber("Game Delay", gOptions.gameTick, 1, 1000, 28, false);
      break;
    case miMaxFps:
    case miFps50:
    case miFps20:
      gOptions.delayTime = def.tag;
      break;
    case miCustomFps:
      AskNumber("F/s Delay", gOptions.delayTime, 0, 1000, 0, false);
      break;
    case miFillBitmap:
      fillBitmap = !fillBitmap;
      break;
    case miRepaintImage:
      repaintImage = !repaintImage;
      break;
    case miZoom1:
    case miZoom2:
    case miZoom3:
    case miZoom4:
      gOptions.zoom = def.tag;
      zoom = def.tag;
      if (hooks.zoomChanged) hooks.zoomChanged();
      break;
    case miRegister:
      RegisterTypes(true);
      break;
    case miUnregister:
      RegisterTypes(false);
      break;
    case miMirrorGame:
      gCom.mirrorGame = !gCom.mirrorGame;
      break;
    case miRealTimeGame:
      mons.realTime = !mons.realTime;
      break;
    case miMonstersDelay:
      AskNumber("Monsters's Delay", mons.monstersDelay, 0, 10000, 500, true);
      break;
    case miStopClock:
    case miGoClock:
      break;  // act on the Monsters game clock
    case miTime:
      mons.times = !mons.times;
      break;
    case miBonusTime:
      AskNumber("Bonus Time", mons.bonusTime, 0, 10000, 500, true);
      break;
    case miBiosKeyboard:
      mons.biosKeyboard = !mons.biosKeyboard;
      break;
    case miKeyboardDelay:
      AskNumber("Keyboard Delay", mons.keyboardDelay, 0, 10000, 150, true);
      break;
    case miAgressiveMonsters:
      mons.aggressive = !mons.aggressive;
      break;
    case miGrating:
      mons.grating = !mons.grating;
      break;
    case miBlackSquares:
      mons.blackSquares = !mons.blackSquares;
      break;
    case miSwapPlayers:
      mons.swapPlayers = !mons.swapPlayers;
      break;
    case miScoreMonster:
      AskNumber("Score Monster", mons.scoreMonster, -1000, 1000, 100, false);
      break;
    case miScorePlayer:
      AskNumber("Score Player", mons.scorePlayer, -1000, 1000, -200, false);
      break;
    case miScoreHouse:
      AskNumber("Score House", mons.scoreHouse, -1000, 1000, -100, false);
      break;
    case miScoreBonus:
      AskNumber("Score Bonus", mons.scoreBonus, -1000, 1000, 100, false);
      break;
    case miReborn:
      gOptions.burr.reborn = !gOptions.burr.reborn;
      break;
    case miEnemies:
      gOptions.burr.enemies = !gOptions.burr.enemies;
      break;
    case miUseGrating:
      gOptions.burr.grating = !gOptions.burr.grating;
      break;
    case miReadMe:
      ReadMe();
      break;
    case miCount:
      break;
  }
  UpdateMenus();
}

std::string TMainControl::Caption() const {
  const TKindState& s = gCom.k[gCom.kind];
  std::string caption = std::string(kTitle) + " - " + RelativeToProgram(s.fileName);
  if (s.modified) caption += " *";
  if (s.origin == loNew) caption += " (New)";
  return caption;
}

void TMainControl::UpdateCaption() {
  menus_[miSave].enabled = Cur().modified && Cur().origin != loNew;
  if (hooks.captionChanged) hooks.captionChanged(Caption());
}

void TMainControl::UpdateMenus() {
  ComputeMenus();
  if (hooks.menusChanged) hooks.menusChanged(menus_);
  SetClocks();
}

void TMainControl::ComputeMenus() {
  TMenuState& m = menus_;
  const int k = gCom.kind;
  const TKindState& s = Cur();
  const bool running = s.running, editing = gCom.editorOpen;
  const TMonstersOptions& mons = gOptions.mons;

  for (int i = 0; i < miCount; ++i) {
    m.item[i] = TMenuItemState{};
    if (kMenuItems[i].caption) m.item[i].caption = kMenuItems[i].caption;
  }
  for (int b = 0; b < mbCount; ++b) m.menuVisible[b] = true;
  // The game menus follow the order of the kinds.
  for (int kind = 0; kind < kKinds; ++kind) m.menuVisible[mbBrickfall + kind] = k == kind;

  for (MenuId id : {miMemoryStatus, miFillBitmap, miRepaintImage, miNormalGameStep,
                    miCustomGameStep, miGameStepSeparator, miUseGrating})
    m[id].visible = false;
  m[miFillBitmap].checked = fillBitmap;
  m[miRepaintImage].checked = repaintImage;

  for (MenuId id : {miBrickfall, miMonsters, miBurrower}) {
    m[id].enabled = !editing;
    m[id].checked = kMenuItems[id].tag == k;
  }
  for (MenuId id : {miNew, miOpen, miReopen}) m[id].enabled = !editing && !running;
  for (MenuId id : {miPlayers1, miPlayers2, miPlayers3, miPlayers4, miPlayers5}) {
    m[id].enabled = !running;
    m[id].checked = s.playersMinusOne == kMenuItems[id].tag;
  }
  m[miPlayers5].enabled = !running && KindTraits(k).maxPlayers >= 5;
  for (MenuId id : {miAISeparator, miAI1, miAI2, miAI3, miAI4, miAI5}) {
    m[id].visible = KindTraits(k).hasComputerPlayers;
    if (id != miAISeparator) m[id].checked = gCom.player[kMenuItems[id].tag].ai;
  }

  const bool mirrorOk =
      !(KindTraits(k).hasMirrorGame && gCom.mirrorGame) || (s.playersMinusOne & 1);
  const bool playersOk = s.playersMinusOne < KindTraits(k).maxPlayers;
  const bool mayStart = !running && !editing && mirrorOk && playersOk;
  m[miStartGame].enabled = mayStart;
  m[miStartGame].checked = running;
  m[miTestLevel].enabled = mayStart && s.header.lock != kLocked;
  m[miAbortGame].enabled = running;
  m[miSave].enabled = s.modified && s.origin != loNew;
  m[miEditor].enabled = !running;
  m[miEditor].checked = editing;

  const int presetFps[] = {miMaxFps, miFps50, miFps20};
  bool fpsMatch = false;
  for (int id : presetFps) {
    bool on = kMenuItems[id].tag == gOptions.delayTime;
    m.item[id].checked = on;
    m.item[id].enabled = !on;
    fpsMatch |= on;
  }
  m[miCustomFps].checked = !fpsMatch;
  m[miCustomFps].caption = "Custom F/s Delay (" + std::to_string(gOptions.delayTime) + ")...";

  const int presetTick[] = {miSlow, miNormal, miFast};
  bool tickMatch = false;
  for (int id : presetTick) {
    bool on = kMenuItems[id].tag == gOptions.gameTick;
    m.item[id].checked = on;
    m.item[id].enabled = !on;
    tickMatch |= on;
  }
  m[miCustomGameDelay].checked = !tickMatch;
  m[miCustomGameDelay].caption = "Custom Game Delay (" + std::to_string(gOptions.gameTick) + ")...";

  m[miPauseGame].caption = gCom.paused ? "Continue Game" : "Pause Game";
  m[miHighScores].enabled = KindTraits(k).hasHighScores;
  m[miMirrorGame].enabled = !gCom.k[gkBrickfall].running;
  m[miMirrorGame].checked = gCom.mirrorGame;
  m[miReborn].enabled = !gCom.k[gkBurrower].running;
  m[miReborn].checked = gOptions.burr.reborn;
  m[miEnemies].checked = gOptions.burr.enemies;
  m[miUseGrating].checked = gOptions.burr.grating;
  m[miBlackSquares].checked = mons.blackSquares;
  m[miBiosKeyboard].checked = mons.biosKeyboard;
  m[miTime].checked = mons.times;
  m[miGrating].checked = mons.grating;
  m[miSwapPlayers].checked = mons.swapPlayers;
  m[miAgressiveMonsters].checked = mons.aggressive;
  m[miRealTimeGame].checked = mons.realTime;

  const int count = KindLevelCount(k);
  m[miLastLevel].enabled = !running && s.levelIndex > 0;
  m[miNextLevel].enabled = !running && s.levelIndex < count - 1;

  m[miScoreMonster].caption = "Score Monster (" + std::to_string(mons.scoreMonster) + ")...";
  m[miScorePlayer].caption = "Score Player (" + std::to_string(mons.scorePlayer) + ")...";
  m[miScoreHouse].caption = "Score House (" + std::to_string(mons.scoreHouse) + ")...";
  m[miScoreBonus].caption = "Score Bonus (" + std::to_string(mons.scoreBonus) + ")...";
  m[miBonusTime].enabled = !mons.realTime;
  m[miBonusTime].caption = "Bonus Time (" + std::to_string(mons.bonusTime) + ")...";
  m[miKeyboardDelay].caption = "Players Delay (" + std::to_string(mons.keyboardDelay) + ")...";
  m[miMonstersDelay].enabled = mons.realTime;
  m[miMonstersDelay].caption = "Monsters Delay (" + std::to_string(mons.monstersDelay) + ")...";
  m[miTime].enabled = !mons.realTime;
  const bool monsRunning = gCom.k[gkMonsters].running;
  m[miStopClock].enabled = !mons.realTime && monsRunning;
  m[miGoClock].enabled = !mons.realTime && monsRunning;

  for (MenuId id : {miZoom1, miZoom2, miZoom3, miZoom4}) m[id].checked = kMenuItems[id].tag == zoom;
  m[miRegister].checked = registered_;
  m[miUnregister].checked = !registered_;
}

}  // namespace kelvra
