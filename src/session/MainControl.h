// The main window's logic without the window: start-up and shut-down, game kinds, the
// file and game commands, the close request, the music rules and UpdateMenus. The Qt
// window (TfMain) binds its menus to it; tests drive it through the headless services.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Com.h"
#include "common/Events.h"
#include "common/RecentFiles.h"
#include "common/Settings.h"
#include "media/KBitmap.h"
#include "session/KTimer.h"
#include "session/MenuItems.h"

namespace kelvra {

class TKIniFile;

// What the controller asks of its window; unset hooks are skipped.
struct TMainHooks {
  std::function<void(const std::string&)> captionChanged;
  std::function<void(const TMenuState&)> menusChanged;
  std::function<void()> recentChanged;               // rebuild the "Reopen" submenu
  std::function<void(bool pointerInField)> present;  // show the frame bitmap
  std::function<void(bool show)> showEditor;
  std::function<void()> refreshEditor;
  std::function<void(bool on)> fullScreen;
  std::function<void()> showLogo;     // the start logo, for 3 s at least
  std::function<void()> zoomChanged;  // gOptions.zoom changed
  std::function<void()> minimize;
  std::function<void()> closeWindow;             // "E&xit": the window's close
  std::function<void(int kind)> showHighScores;  // a new entry: the table, modally
};

// The main control hears the games' and services' events while it lives (it installs the
// games and itself as Events() on construction).
class TReplayRecorder;

class TMainControl : public TGameEvents {
 public:
  TMainControl();
  ~TMainControl() override;
  TMainControl(const TMainControl&) = delete;
  TMainControl& operator=(const TMainControl&) = delete;

  TMainHooks hooks;
  TKBitmap frame;     // 640 x 440; every frame is composed here
  TKTimer moveClock;  // DTimerMove: game steps at the game tick
  TKTimer drawClock;  // DTimerDraw: frames at the draw delay
  TMeasurement measurement{drawClock, moveClock};
  TRecentFiles recent[3];
  std::vector<std::string> musicList;    // ".mid" files, then ".rmi" files
  int trackIndex[3] = {0, 0, 0};         // current piece of the music list per kind
  int64_t musicPosition[3] = {0, 0, 0};  // remembered for pause, ms
  TSettingsContext settingsContext;      // screen and window sizes, window state
  int zoom = 1;                          // the whole zoom factor shown, set by the window
  int maxZoom = 4;  // the largest zoom that fits on the screen, set by the window
  bool created = false;
  bool applyPriorities = false;  // the GUI applies the process priority; tests do not
  bool reportRates = false;      // print the measured rates once a second (measurements)
  bool fillBitmap = true;        // hidden items: compose and present each frame
  bool repaintImage = true;
  // Every game started is recorded and kept in ReplaysDir() (the program; the headless
  // driver and the tests record only what they ask for).
  bool recordReplays = false;
  std::string lastReplay;  // the file of the last game recorded, "" for none

  // Start-up from settings (loaded from `ini`) and the level-set files named on the command
  // line; `ini` may be null.
  void Startup(const std::vector<std::string>& args, TKIniFile* ini);
  // Window destruction: save settings into `ini` (may be null) and close the level sets.
  void Shutdown(TKIniFile* ini, bool windowNormal = true);

  void SelectKind(int kind);
  void AfterLevelSetOpened();
  void StartGame(int tag);  // 0 Start Game, 1 Test Level
  void AbortGame();
  void EndGame(int kind);
  void PauseToggle();
  // Pauses or continues as the user does; a pause holds only while a game may run again.
  void SetPaused(bool paused);
  bool PlayingReplay() const { return playback_ != nullptr; }
  // The game stands still: paused by the user or behind a modal window.
  bool GameHeld() const { return gCom.paused || dialogsOpen_ > 0; }
  int DialogsOpen() const { return dialogsOpen_; }
  void Minimized();
  void Restored();
  void MusicEnded();
  // The "Music" option flipped (settings dialog): start or stop a running game's music.
  void MusicOptionChanged();
  // A sound option changed (settings dialog): the output is reopened in the new format.
  void SoundOptionsChanged();
  // The application became active (first activation enables the clocks) or inactive.
  void Activated();
  // One game step with its counters and times. Nothing is stepped while the current kind
  // has no levels.
  void MoveTick();
  // One frame: the composition, the game-over check and the counters.
  void DrawTick();
  // Draws and presents one frame outside the clock (after a pause, at start).
  void DrawOverlayOnce();
  // Around a blocking dialog, so the frame-rate statistics do not count it. The game
  // itself stands still behind every modal window through DialogShown.
  void BeginMeasurePause() { measurement.BeginPause(); }
  void EndMeasurePause() { measurement.EndPause(); }
  // The close request: true when the window may close.
  bool CloseRequest();
  // The close on a signal: games end and the editor closes without questions; unsaved level
  // sets are left to their recovery copies.
  void CloseWithoutQuestions();
  // At the start of the program: offers back each kind's recovery copy (the kind is shown
  // with it); a refusal removes the copy.
  void OfferRecoveryCopies();
  bool ending = false;  // the program is ending on a signal: answers no longer count

  // Commands of the menus, by id (`tag` as in the menu table); each ends in UpdateMenus.
  void Command(MenuId id);
  void Reopen(const std::string& fileName);
  bool SaveAs(int kind);

  // TGameEvents.
  void GameEnded(int kind) override { EndGame(kind); }
  void SoundRequested(int kind, int sound, int x) override;
  void LevelSetOpened(int kind, const std::string& file) override;
  void LevelSetClosed(int kind, const std::string& file) override;
  void ModifiedChanged(int kind) override;
  bool SaveAsRequested(int kind) override { return SaveAs(kind); }
  void DialogShown(bool begin) override;
  void HighScoresChanged(int kind) override;
  void PlayerColourChanged(int player) override { DrawOverlayOnce(); }

  void UpdateMenus();
  void UpdateCaption();
  std::string Caption() const;
  const TMenuState& Menus() const { return menus_; }

 private:
  void FileNew();
  void FileOpen();
  void FileSave();
  void ToggleEditor();
  void ReadMe();
  void SetPlayerCount(int minusOne);
  void ChangeLevel(int delta);
  // Shows the kind's current level as it is before a game starts: a finished game's
  // message, players, balls, scores and times go (a running game keeps them).
  void ShowLevelOutsideGame(int kind);
  // Effects and music stop while the game stands still and go on where they were.
  void HoldSound(bool hold);
  void PlayTrack(int kind, int64_t fromMs);
  void StopMusic();
  void OptionCommand(const TOptionItemDef& item);
  bool AskNumber(const std::string& caption, int32_t& value, int32_t min, int32_t max, int32_t def,
                 bool time);
  void RegisterTypes(bool doRegister);
  void ComputeMenus();
  void MoveClockEvent();
  void DrawClockEvent();
  void SetClocks();

  // The replays (MainReplay.cpp).
  struct TPlayback;
  void StartRecording(uint32_t seed);
  void FinishRecording(int kind);
  void AfterStepReplays();
  void GameEndedForReplays(int kind);
  void SaveReplayAs();
  void PlayReplay();
  void StopPlayback();
  void SetReplaySpeed(int speed);
  int ReplaySpeed() const;
  std::unique_ptr<TPlayback> playback_;  // the replay being played in the window
  bool swappingSets_ = false;            // level sets swapped for a replay: not the user's doing

  TMenuState menus_;
  std::unique_ptr<TReplayRecorder> recorder_[kKinds];  // each kind's game being recorded
  double recordStart_[kKinds] = {};                    // when it started (NowDateTime)
  // The shared step state of each kind's game while another kind is shown.
  std::optional<TSharedStepState> left_[kKinds];
  bool stepping_ = false;         // within a step's end (a game may end there)
  bool finishAfterStep_ = false;  // the recorded game ended within the step
  bool replayNoteShown_ = false;  // a failed recording is told once, on standard error
  bool activatedOnce_ = false;
  bool kindSelectedOnce_[3] = {false, false, false};
  int dialogsOpen_ = 0;     // modal windows open now (nested ones count each)
  bool soundHeld_ = false;  // effects and music stopped for a pause or a modal window
};

// The level-set dialogs' filter of a kind: "Brickfall Levels (*.BrL)|*.BrL|Any file (*.*)|*.*".
std::string LevelSetFilter(int kind);

}  // namespace kelvra
