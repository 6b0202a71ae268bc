// The main window's logic: start-up, kinds, commands, games, music and menu states.
#include "session/MainControl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/IOError.h"
#include "base/KIniFile.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "common/Overlay.h"
#include "common/Players.h"
#include "common/Recovery.h"
#include "common/Replay.h"
#include "common/Scores.h"
#include "common/Settings.h"
#include "common/SharedImages.h"
#include "common/Sounds.h"
#include "media/MusicList.h"
#include "platform/Services.h"
#include "session/Dispatch.h"
#include "session/MainReplay.h"
#include "session/ReplayGame.h"

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
  if (swappingSets_) return;
  recent[kind].Opened(file);
  if (hooks.recentChanged) hooks.recentChanged();
}

void TMainControl::LevelSetClosed(int kind, const std::string& file) {
  if (swappingSets_) return;
  recent[kind].Closed(file);
}

void TMainControl::ModifiedChanged(int kind) {
  UpdateCaption();
  UpdateMenus();
  if (hooks.refreshEditor) hooks.refreshEditor();
}

// Every modal window comes this way (the window reports being blocked by one, the services
// bracket theirs): the game stands still behind it, its sound too, and afterwards goes on
// as it was, a paused game staying paused.
void TMainControl::DialogShown(bool begin) {
  if (begin) {
    BeginMeasurePause();
    if (dialogsOpen_++ == 0 && Cur().running) HoldSound(true);
  } else if (dialogsOpen_ > 0) {
    EndMeasurePause();
    if (--dialogsOpen_ == 0 && !gCom.paused) HoldSound(false);
  }
  SetClocks();
}

void TMainControl::HighScoresChanged(int kind) {
  if (hooks.showHighScores) hooks.showHighScores(kind);
}

void TMainControl::Startup(const std::vector<std::string>& args, TKIniFile* ini) {
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

  // The files named on the command line. One that cannot be opened, a missing one too, has
  // had its message naming it; its kind then shows the set used last (SelectKind below),
  // not an empty new one nor a part of the damaged file.
  for (const std::string& arg : args) {
    for (int k = 0; k < kKinds; ++k)
      if (SameExtension(arg, KindExtension(k))) gCom.kind = uint8_t(k);
    const bool hadSet = Cur().origin != loNone;  // an earlier file of the same kind
    if (LoadLevelSet(gCom.kind, arg))
      recent[gCom.kind].Opened(Cur().fileName);
    else if (!hadSet)
      CloseLevelSet(gCom.kind);
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
    // Written here rather than when the file object goes, so that a failure can still be
    // told while the platform's dialogs are there.
    SaveSettingsFile(*ini);
  }
  for (int k = 0; k < kKinds; ++k) CloseLevelSet(k);
  StopMusic();
  CloseSoundOutput();
  FreeSounds();
  FreeSharedImages();
}

void TMainControl::SelectKind(int kind) {
  if (kind < 0 || kind >= kKinds) kind = 0;
  if (kind != gCom.kind) {
    if (gCom.k[gCom.kind].running) left_[gCom.kind] = SaveSharedStepState();
    ClearEffectPools();  // another kind would read them its own way
    if (gCom.k[kind].running && left_[kind]) RestoreSharedStepState(*left_[kind]);
    left_[kind].reset();
  }
  gCom.kind = uint8_t(kind);
  TKindState& s = Cur();
  PlatformServices& platform = Platform();

  if (platform.MusicPlaying() && !s.running) {
    platform.MusicStop();  // the piece stays loaded
  } else if (platform.MusicLoaded() && !platform.MusicPlaying() && s.running && gOptions.music &&
             !GameHeld()) {
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
  } else if (!s.running && s.state != gsIdle) {
    ShowLevelOutsideGame(kind);  // the last game's end stays behind when the kind is left
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
  ShowLevelOutsideGame(gCom.kind);
}

void TMainControl::ShowLevelOutsideGame(int kind) {
  TKindState& s = gCom.k[kind];
  if (!s.running) {
    s.state = gsIdle;
    s.gameTime = s.levelTime = 0;
    std::fill(std::begin(s.score), std::end(s.score), 0);
    if (kind == gCom.kind) ClearEffectPools();
    KindOps(kind).ClearGame();
  }
  KindOps(kind).ShowLevel();
  // Even over a level of the same index (another set, a new one) the next frame prepares
  // the level's background and panel afresh.
  s.lastDrawnLevel = 0x7FFFFFFF;
  s.shownGameTime = s.shownLevelTime = 0xFFFFFFFF;
}

void TMainControl::StartGame(int tag) {
  SetPaused(false);  // a new game never starts paused
  const int k = gCom.kind;
  TKindState& s = Cur();
  s.state = gsPlaying;
  s.running = 1;
  s.testGame = uint8_t(tag != 0);
  UpdateMenus();
  s.gameTime = s.levelTime = 0;
  if (tag == 0 && !KindTraits(k).startKeepsLevel) s.levelIndex = 0;
  std::fill(std::begin(s.score), std::end(s.score), 0);
  ClearEffectPools();
  ForgetControlPresses();  // presses made before the start do not count
  // Every kind counts its periods from its own start (also what a replay starts from).
  gCom.stepCounter = 0;
  const uint32_t seed = gCom.randSeed;  // before the start draws from it
  KindOps(k).StartGame();
  StartRecording(seed);
  if (gOptions.music && !musicList.empty()) {
    trackIndex[k] = 0;
    PlayTrack(k, 0);
  }
}

void TMainControl::EndGame(int kind) {
  // Ended from outside a step (an abort, the window closing): the recording ends with the
  // last step, before this changes the game.
  if (recorder_[kind] && !stepping_) recorder_[kind]->Seal();
  if (Platform().MusicPlaying() || Platform().MusicLoaded()) StopMusic();
  gCom.k[kind].running = 0;
  GameEndedForReplays(kind);
  UpdateMenus();
  // Nothing is left to continue: the pause would only hide the game's final message.
  if (kind == gCom.kind) SetPaused(false);
}

void TMainControl::AbortGame() {
  if (recorder_[gCom.kind] && !stepping_) recorder_[gCom.kind]->Seal();
  Cur().state = gsAborted;
  EndGame(gCom.kind);
}

void TMainControl::PauseToggle() {
  SetPaused(!gCom.paused);
}

void TMainControl::SetPaused(bool paused) {
  if (paused == (gCom.paused != 0)) return;
  gCom.paused = paused;
  UpdateMenus();
  if (paused) {
    BeginMeasurePause();
    HoldSound(true);
    DrawOverlayOnce();  // shows "Game Paused"
  } else {
    EndMeasurePause();
    if (dialogsOpen_ == 0) HoldSound(false);
  }
}

void TMainControl::HoldSound(bool hold) {
  if (hold == soundHeld_) return;
  soundHeld_ = hold;
  const int k = gCom.kind;
  const bool musicRuns = Cur().running && gOptions.music;
  if (hold) {
    CloseSoundOutput();  // ends every effect
    if (musicRuns) {
      musicPosition[k] = Platform().MusicPosition();
      Platform().MusicStop();
    }
  } else {
    if (gOptions.sounds) OpenSoundOutput();
    if (musicRuns) PlayTrack(k, musicPosition[k]);
  }
}

void TMainControl::Minimized() {
  if (!gCom.paused && Cur().running) SetPaused(true);
  if (gOptions.fullScreen && hooks.fullScreen) hooks.fullScreen(false);
}

void TMainControl::Restored() {
  if (gOptions.fullScreen && hooks.fullScreen) hooks.fullScreen(true);
}

void TMainControl::SoundOptionsChanged() {
  CloseSoundOutput();
  if (gOptions.sounds && !soundHeld_) OpenSoundOutput();
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
  CaptureInput();  // the step reads its input only from this snapshot
  // A game that ends within the step (in the game's own rules or at the end of its
  // game-over show) ends its recording with this step, after it is whole.
  stepping_ = true;
  StepDispatch();
  ++gCom.stepCounter;
  TKindState& s = gCom.k[k];
  if (s.state == gsPlaying) {
    s.gameTime += uint32_t(gOptions.gameTick);
    s.levelTime += uint32_t(gOptions.gameTick);
  }
  // The end of the game-over show belongs to the step, so that a game's course never
  // depends on how many frames were drawn.
  HighScoreCheck(k, !playback_);  // a replay's score is no result for the table
  stepping_ = false;
  AfterStepReplays();
}

void TMainControl::DrawTick() {
  ClearSoundMarks();
  if (Platform().MusicTakeEnded()) MusicEnded();
  TOverlayResult overlay = DrawOverlay(frame, gCom.kind, fillBitmap);
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
  for (uint32_t i = 0; i < steps * uint32_t(ReplaySpeed()); ++i) {
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
  const bool move = !GameHeld();
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
    if (!gCom.k[k].running || (playback_ && playback_->replay.kind == k)) continue;
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

void TMainControl::CloseWithoutQuestions() {
  if (gCom.editorOpen) ToggleEditor();
  for (int k = 0; k < kKinds; ++k)
    if (gCom.k[k].running) EndGame(k);
  UpdateCaption();
  UpdateMenus();
}

void TMainControl::OfferRecoveryCopies() {
  for (int k = 0; k < kKinds; ++k) {
    if (!HasRecoveryCopy(k)) continue;
    MsgButton answer = Platform().MessageDialog(
        std::string("Restore the unsaved changes to the ") + KindName(k) + " level set ?",
        MsgType::Confirmation, Btn(MsgButton::Yes) | Btn(MsgButton::No));
    if (ending) return;  // the question was cut short: the copy stays for the next start
    if (answer != MsgButton::Yes) {
      RemoveRecoveryCopy(k);
      continue;
    }
    if (k != gCom.kind) SelectKind(k);
    if (!RestoreRecoveryCopy(k)) continue;
    if (Cur().origin == loFile) recent[k].Opened(Cur().fileName);
    AfterLevelSetOpened();
  }
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
  ShowLevelOutsideGame(k);
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
  // The editor works on the level itself: a finished game's end does not come back after.
  if (!Cur().running && Cur().state != gsIdle) ShowLevelOutsideGame(gCom.kind);
  gCom.editorOpen = 1;
  UpdateMenus();
  if (hooks.showEditor) hooks.showEditor(true);
}

void TMainControl::ReadMe() {
  std::string file = ProgramDir() + "ReadMe.htm";
  int code = Platform().ShowManual(file);
  if (code != 0) IOError(file, code, FileOwner::Program);
}

void TMainControl::SetPlayerCount(int minusOne) {
  Cur().playersMinusOne = minusOne;
}

void TMainControl::ChangeLevel(int delta) {
  TKindState& s = Cur();
  int count = KindLevelCount(gCom.kind);
  s.levelIndex = std::clamp(s.levelIndex + delta, 0, std::max(0, count - 1));
  ShowLevelOutsideGame(gCom.kind);
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

// "Register" and "Unregister" are plain commands (no check on the menu shows the state), so
// a registration that could not be written or removed is told.
void TMainControl::RegisterTypes(bool doRegister) {
  if (Platform().RegisterFileTypes(doRegister)) return;
  Platform().MessageDialog(doRegister ? "The file types could not be registered."
                                      : "The file types could not be unregistered.",
                           MsgType::Warning, Btn(MsgButton::Ok));
}

void TMainControl::OptionCommand(const TOptionItemDef& item) {
  const TOptionDef& o = kOptions[item.option];
  const TOptionRef value = OptionAt(item.option);
  switch (item.use) {
    case ouToggle:
      value.Set(!value.Get());
      break;
    case ouPreset:
      value.Set(kMenuItems[item.id].tag);
      break;
    case ouDialog: {
      int32_t v = value.Get();
      if (!AskNumber(o.title, v, o.min, o.max, o.DialogDefault(), o.time)) return;
      value.Set(v);
      break;
    }
  }
  if (o.game >= 0 && o.game < kKinds) KindOps(o.game).OptionChanged(item.option);
}

void TMainControl::Command(MenuId id) {
  if (!menus_[id].enabled || !menus_[id].visible) return;
  if (const TOptionItemDef* item = FindOptionItem(id)) {
    OptionCommand(*item);
    UpdateMenus();
    return;
  }
  const int tag = kMenuItems[id].tag;
  switch (id) {
    case miBrickfall:
    case miMonsters:
    case miBurrower:
      SelectKind(tag);
      return;  // SelectKind ends in UpdateMenus
    case miNew:
      FileNew();
      break;
    case miOpen:
      FileOpen();
      break;
    case miSave:
      FileSave();
      break;
    case miSaveAs:
      SaveAs(gCom.kind);
      break;
    case miPlayReplay:
      PlayReplay();
      break;
    case miSaveReplayAs:
      SaveReplayAs();
      break;
    case miReplaySpeed1:
    case miReplaySpeed2:
    case miReplaySpeed4:
      SetReplaySpeed(tag);
      break;
    case miTestLevel:
    case miStartGame:
      StartGame(tag);
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
      ChangeLevel(tag);
      return;
    case miPlayers1:
    case miPlayers2:
    case miPlayers3:
    case miPlayers4:
    case miPlayers5:
      SetPlayerCount(tag);
      break;
    case miAI1:
    case miAI2:
    case miAI3:
    case miAI4:
    case miAI5:
      gCom.player[tag].ai = !gCom.player[tag].ai;
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
      gOptions.zoom = tag;
      zoom = tag;
      if (hooks.zoomChanged) hooks.zoomChanged();
      break;
    case miRegister:
      RegisterTypes(true);
      break;
    case miUnregister:
      RegisterTypes(false);
      break;
    case miReadMe:
      ReadMe();
      break;
    case miStopClock:
    case miGoClock:
      KindOps(gkMonsters).ClockCommand(id == miGoClock);
      if (recorder_[gkMonsters]) recorder_[gkMonsters]->Note("Monsters.Clock", id == miGoClock);
      break;
    default:
      // The window's own dialogs (Game Info, High Scores, Settings, About), the Reopen
      // submenu, separators and the hidden game-step and memory items.
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

  const int count = KindLevelCount(k);
  // The first reason that forbids a start, shown with the disabled item.
  std::string noStart;
  if (running)
    noStart = std::string("A ") + KindName(k) + " game is running";
  else if (editing)
    noStart = "Close the editor first";
  else if (count == 0)
    noStart = "The level set has no levels";
  else if (KindTraits(k).hasMirrorGame && gCom.mirrorGame && !(s.playersMinusOne & 1))
    noStart = "Mirror Game needs 2 or 4 players";
  else if (s.playersMinusOne >= KindTraits(k).maxPlayers)
    noStart = std::string(KindName(k)) + " is played by at most " +
              std::to_string(KindTraits(k).maxPlayers) + " players";
  m[miStartGame].enabled = noStart.empty();
  m[miStartGame].tip = noStart;
  m[miStartGame].checked = running;
  m[miTestLevel].tip =
      noStart.empty() && s.header.lock == kLocked ? "The level set is locked" : noStart;
  m[miTestLevel].enabled = m[miTestLevel].tip.empty();
  m[miAbortGame].enabled = running;
  bool anyRunning = false;
  for (const TKindState& ks : gCom.k) anyRunning = anyRunning || ks.running;
  m[miPlayReplay].tip = editing ? "Close the editor first" : anyRunning ? "A game is running" : "";
  m[miPlayReplay].enabled = m[miPlayReplay].tip.empty();
  if (playback_)  // the replay's input would reach a game of another kind
    for (MenuId id : {miBrickfall, miMonsters, miBurrower}) m[id].enabled = id - miBrickfall == k;
  m[miSaveReplayAs].enabled = !lastReplay.empty();
  if (lastReplay.empty()) m[miSaveReplayAs].tip = "No game has been recorded yet";
  for (MenuId id : {miReplaySpeed1, miReplaySpeed2, miReplaySpeed4}) {
    m[id].enabled = playback_ != nullptr;
    m[id].checked = kMenuItems[id].tag == ReplaySpeed();
  }
  m[miSave].enabled = s.modified && s.origin != loNew;
  if (playback_) m[miSaveAs].tip = "A replay is playing";
  m[miSaveAs].enabled = !playback_;
  m[miEditor].enabled = !running;
  m[miEditor].checked = editing;

  // The option items. A dialog item of an option with presets is checked when none of
  // them matches: its caption then shows the custom value.
  bool hasPresets[opCount] = {}, presetMatches[opCount] = {};
  for (const TOptionItemDef& item : kOptionItems) {
    const TOptionDef& o = kOptions[item.option];
    const int32_t value = OptionAt(item.option).Get();
    TMenuItemState& state = m[item.id];
    if (o.lockedWhileRunning) state.enabled = !gCom.k[o.game].running;
    switch (item.use) {
      case ouToggle:
        state.checked = value != 0;
        break;
      case ouPreset:
        state.checked = value == kMenuItems[item.id].tag;
        hasPresets[item.option] = true;
        presetMatches[item.option] |= state.checked;
        break;
      case ouDialog:
        state.caption = OptionCaption(item.option, value);
        break;
    }
  }
  for (const TOptionItemDef& item : kOptionItems)
    if (item.use == ouDialog && hasPresets[item.option])
      m[item.id].checked = !presetMatches[item.option];

  m[miPauseGame].caption = gCom.paused ? "Continue Game" : "Pause Game";
  // Only a running game pauses; a pause left over (the kind changed under it) can always
  // be ended.
  m[miPauseGame].enabled = running || gCom.paused;
  if (!m[miPauseGame].enabled) m[miPauseGame].tip = "No game is running";
  m[miHighScores].enabled = KindTraits(k).hasHighScores;

  m[miLastLevel].enabled = !running && s.levelIndex > 0;
  m[miNextLevel].enabled = !running && s.levelIndex < count - 1;

  m[miBonusTime].enabled = !mons.realTime;
  m[miMonstersDelay].enabled = mons.realTime;
  m[miTime].enabled = !mons.realTime;
  const bool monsRunning = gCom.k[gkMonsters].running;
  m[miStopClock].enabled = !mons.realTime && monsRunning;
  m[miGoClock].enabled = !mons.realTime && monsRunning;

  for (MenuId id : {miZoom1, miZoom2, miZoom3, miZoom4}) {
    m[id].checked = kMenuItems[id].tag == zoom;
    m[id].enabled = kMenuItems[id].tag <= maxZoom;  // a larger frame would leave the screen
  }

  // A replay's settings change only as they changed in the game it recorded.
  if (playback_) {
    auto lock = [&m](MenuId id) {
      m[id].enabled = false;
      m[id].tip = "A replay plays with the settings it was recorded with";
    };
    for (const TOptionItemDef& item : kOptionItems)
      if (ReplaySetsOption(item.option)) lock(item.id);
    for (MenuId id : {miAI1, miAI2, miAI3, miAI4, miAI5, miStopClock, miGoClock}) lock(id);
  }
}

}  // namespace kelvra
