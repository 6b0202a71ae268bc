// The main window's replays: the game recorded into the kept-replays folder, "Save Replay
// As...", and "Play Replay...", which plays a replay in the window with the user's level
// set, options and players put back afterwards.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <algorithm>

#include "base/FileIO.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "common/Options.h"
#include "common/Players.h"
#include "common/Recovery.h"
#include "common/Replay.h"
#include "platform/Services.h"
#include "session/MainControl.h"
#include "session/MainReplay.h"
#include "session/ReplayGame.h"

namespace kelvra {

namespace {

const char* const kReplayFilter = "Kelvra Replays (*.krp)|*.krp|Any file (*.*)|*.*";

}  // namespace

void TMainControl::StartRecording(uint32_t seed) {
  if (!recordReplays || playback_) return;
  const int k = gCom.kind;
  recorder_[k] = std::make_unique<TReplayRecorder>();
  recordStart_[k] = Platform().NowDateTime();
  std::string error;
  if (!recorder_[k]->Begin(seed, error)) {
    if (!replayNoteShown_)
      std::fprintf(stderr, "kelvra: no replay of this game: %s\n", error.c_str());
    replayNoteShown_ = true;
    recorder_[k].reset();
  }
}

void TMainControl::FinishRecording(int kind) {
  std::unique_ptr<TReplayRecorder> recorder = std::move(recorder_[kind]);
  if (!recorder) return;
  const std::string dir = ReplaysDir();
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const std::string file = ReplayFileName(dir, recordStart_[kind], kind);
  std::string error;
  if (!recorder->Finish(file, error)) {
    // Play goes on: a note once, never a dialog after every game.
    if (!replayNoteShown_) std::fprintf(stderr, "kelvra: %s\n", error.c_str());
    replayNoteShown_ = true;
    return;
  }
  lastReplay = file;
  KeepNewestReplays(dir);
}

// After each step of the window: the recorder takes it, and a game that ended within it
// (or a replay that has run out of steps) is finished now that the step is whole.
void TMainControl::AfterStepReplays() {
  const int k = gCom.kind;  // the kind that stepped
  if (recorder_[k]) recorder_[k]->AfterStep();
  if (finishAfterStep_) {
    finishAfterStep_ = false;
    FinishRecording(k);
    if (playback_) StopPlayback();
    UpdateMenus();
    return;
  }
  if (!playback_) return;
  TPlayback& p = *playback_;
  if (!p.feed.CheckStep()) {
    const std::string text = "The replay went differently from its recording by step " +
                             std::to_string(p.feed.Played()) + ": it was made by Kelvra " +
                             p.replay.program + " under other rules.";
    AbortGame();
    Platform().MessageDialog(text, MsgType::Warning, Btn(MsgButton::Ok));
    return;
  }
  // The recording ended here (an abort, a close).
  if (p.feed.Played() >= p.replay.steps) AbortGame();
}

void TMainControl::GameEndedForReplays(int kind) {
  const bool recorded = recorder_[kind] != nullptr;
  const bool played = playback_ && playback_->replay.kind == kind;
  if (!recorded && !played) return;
  if (stepping_) {
    finishAfterStep_ = true;  // the game ended within a step: that step belongs to it
  } else {
    if (recorded) FinishRecording(kind);
    if (played) StopPlayback();
  }
}

void TMainControl::SaveReplayAs() {
  if (lastReplay.empty()) return;
  DialogShown(true);
  std::optional<std::string> file = Platform().SaveFileDialog(
      kReplayFilter, std::filesystem::path(lastReplay).filename().string());
  DialogShown(false);
  if (!file) return;
  std::string target = *file;
  if (std::filesystem::path(target).extension().empty()) target += kReplayExtension;
  TReplay replay;
  std::string error;
  FileFault fault;
  if (!ReadReplay(lastReplay, replay, error) || !WriteReplay(target, replay, fault)) {
    Platform().MessageDialog(
        "The replay cannot be saved as " + target + ": " + (error.empty() ? fault.Text() : error),
        MsgType::Error, Btn(MsgButton::Ok));
  }
}

void TMainControl::PlayReplay() {
  if (playback_ || gCom.editorOpen) return;
  for (int k = 0; k < kKinds; ++k)
    if (gCom.k[k].running) return;
  std::optional<std::string> file = Platform().OpenFileDialog(
      kReplayFilter, lastReplay.empty() ? ReplaysDir() + "/" : lastReplay);
  if (!file) return;
  TReplay replay;
  std::string error;
  if (!ReadReplay(*file, replay, error)) {
    Platform().MessageDialog("The replay " + *file + " cannot be played: " + error, MsgType::Error,
                             Btn(MsgButton::Ok));
    return;
  }
  auto p = std::make_unique<TPlayback>(std::move(replay));
  const int k = p->replay.kind;
  p->kind = gCom.kind;
  if (!WriteReplayLevelSet(p->replay, p->replaySet.path, error)) {
    Platform().MessageDialog("The replay cannot be played: " + error, MsgType::Error,
                             Btn(MsgButton::Ok));
    return;
  }
  if (k != gCom.kind) SelectKind(k);
  p->kindState = gCom.k[k];
  p->options = CurrentReplayOptions();
  std::copy(std::begin(gCom.player), std::end(gCom.player), std::begin(p->players));

  // Whatever ends the program while the replay plays, the unsaved work is in its copy.
  if (gCom.k[k].modified) WriteRecoveryCopy(k, Platform().NowMs());
  // The user's levels wait aside, unsaved edits and editing history included, while the
  // replay's set is played in their place.
  swappingSets_ = true;
  gCom.k[k].modified = 0;  // nothing to ask about: the set is not closed, only put aside
  KindOps(k).KeepLevelsAside();
  p->levelsKept = true;
  const bool loaded = LoadLevelSet(k, p->replaySet.path) && KindLevelCount(k) > p->replay.level;
  swappingSets_ = false;
  playback_ = std::move(p);
  if (!loaded) {
    StopPlayback();
    Platform().MessageDialog("The replay " + *file + " cannot be played: its level set is damaged",
                             MsgType::Error, Btn(MsgButton::Ok));
    return;
  }
  const TReplay& r = playback_->replay;
  ApplyReplayOptions(r.options);  // Brickfall's "MirrorGame" among them
  TKindState& s = gCom.k[k];
  s.playersMinusOne = r.players - 1;
  for (int i = 0; i < kPlayers; ++i) {
    gCom.player[i].ai = uint8_t((r.aiMask >> i) & 1);
    gCom.player[i].input = r.input[i];
  }
  s.levelIndex = r.level;
  KindOps(k).ShowLevel();
  Randomize(r.seed);
  SetInputFeed(&playback_->feed);
  StartGame(r.testGame);
}

void TMainControl::StopPlayback() {
  std::unique_ptr<TPlayback> p = std::move(playback_);
  if (!p) return;
  SetInputFeed(nullptr);
  const int k = p->replay.kind;
  if (gCom.k[k].running) {  // stopped before its end
    gCom.k[k].state = gsAborted;
    gCom.k[k].running = 0;
  }
  swappingSets_ = true;
  gCom.k[k].modified = 0;
  CloseLevelSet(k);
  if (p->levelsKept) KindOps(k).BringBackKeptLevels();
  swappingSets_ = false;
  TKindState& s = gCom.k[k];
  s.fileName = p->kindState.fileName;
  s.origin = p->kindState.origin;
  s.header = p->kindState.header;
  s.modified = p->kindState.modified;
  s.modifiedSinceMs = p->kindState.modifiedSinceMs;
  s.playersMinusOne = p->kindState.playersMinusOne;
  s.levelIndex = std::min(p->kindState.levelIndex, std::max(KindLevelCount(k) - 1, 0));
  // Only what the replay set goes back: options and colours changed meanwhile stay.
  ApplyReplayOptions(p->options);
  for (int i = 0; i < kPlayers; ++i) {
    gCom.player[i].ai = p->players[i].ai;
    gCom.player[i].input = p->players[i].input;
  }
  ShowLevelOutsideGame(k);
  if (p->kind != gCom.kind) SelectKind(p->kind);
  UpdateCaption();
  UpdateMenus();
}

void TMainControl::SetReplaySpeed(int speed) {
  if (playback_) playback_->speed = speed;
  UpdateMenus();
}

int TMainControl::ReplaySpeed() const {
  return playback_ ? playback_->speed : 1;
}

}  // namespace kelvra
