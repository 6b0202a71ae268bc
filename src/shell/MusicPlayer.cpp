// The music player on FluidSynth: soundfont search and loading, the MIDI file player driven
// by the audio output's rendering, pause with position, and the end of a piece.
#include "shell/MusicPlayer.h"

#include <algorithm>
#include <cstdio>

#include "base/FileIO.h"

namespace kelvra {

namespace {

constexpr int kRenderChunk = 1024;  // frames per synthesiser call

void QuietLog(int, const char*, void*) {}

}  // namespace

std::vector<std::string> DefaultSoundFontPaths() {
  return {
      "/usr/share/sounds/sf3/MuseScore_General.sf3",       // musescore-general-soundfont
      "/usr/share/sounds/sf3/MuseScore_General_Lite.sf3",  // musescore-general-soundfont-small
      "/usr/share/sounds/sf2/MuseScore_General.sf2",       // an sf2 build of the same
      "/usr/share/sounds/sf2/FluidR3_GM.sf2",              // fluid-soundfont-gm
      "/usr/share/sounds/sf2/TimGM6mb.sf2",                // timgm6mb-soundfont
      "/usr/share/sounds/sf2/default-GM.sf2",              // the system's chosen default
      "/usr/share/sounds/sf3/default-GM.sf3",
  };
}

std::string FindSoundFont(const std::vector<std::string>& candidates) {
  for (const std::string& path : candidates) {
    FileReader file;
    if (file.Open(path) && file.Size() > 0) return path;
  }
  return "";
}

TMusicPlayer::TMusicPlayer(std::vector<std::string> soundFonts)
    : soundFonts_(std::move(soundFonts)) {}

TMusicPlayer::~TMusicPlayer() {
  if (loader_.joinable()) loader_.join();
  std::lock_guard<std::mutex> lock(mutex_);
  DeletePlayer();
  if (synth_) delete_fluid_synth(synth_);
  if (settings_) delete_fluid_settings(settings_);
}

void TMusicPlayer::StartLoader() {
  if (loaderStarted_) return;
  loaderStarted_ = true;
  std::string font = FindSoundFont(soundFonts_);
  if (font.empty()) {
    std::lock_guard<std::mutex> lock(mutex_);
    pendingReport_ =
        "No General MIDI soundfont found (install the package timgm6mb-soundfont); "
        "the music stays silent.";
    return;
  }
  loader_ = std::thread([this, font] { Load(font); });
}

void TMusicPlayer::Load(std::string soundFont) {
  for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG})
    fluid_set_log_function(level, QuietLog, nullptr);
  fluid_settings_t* settings = new_fluid_settings();
  const int rate = rate_.load();
  fluid_synth_t* synth = nullptr;
  if (settings) {
    fluid_settings_setnum(settings, "synth.sample-rate", rate);
    // The player follows the samples we render instead of the wall clock, so pausing the
    // rendering pauses the music and the music stays in step with the effects.
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    synth = new_fluid_synth(settings);
  }
  if (!synth || fluid_synth_sfload(synth, soundFont.c_str(), 1) == FLUID_FAILED) {
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
    std::lock_guard<std::mutex> lock(mutex_);
    pendingReport_ = "The soundfont " + soundFont + " cannot be loaded; the music stays silent.";
    return;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  settings_ = settings;
  synth_ = synth;
  synthRate_ = rate;
  scratch_.assign(2 * kRenderChunk, 0);
  if (!smf_.empty() && playing_) CreatePlayer();
}

bool TMusicPlayer::WaitUntilLoaded() {
  if (loader_.joinable()) loader_.join();
  std::lock_guard<std::mutex> lock(mutex_);
  return synth_ != nullptr;
}

void TMusicPlayer::ShowPendingReport() {
  std::string text;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    text.swap(pendingReport_);
  }
  if (text.empty()) return;
  if (report)
    report(text);
  else
    std::fprintf(stderr, "kelvra: %s\n", text.c_str());
}

void TMusicPlayer::CreatePlayer() {
  DeletePlayer();
  player_ = new_fluid_player(synth_);
  if (!player_) return;
  if (fluid_player_add_mem(player_, smf_.data(), smf_.size()) != FLUID_OK) {
    DeletePlayer();
    finished_ = true;  // nothing to play: the piece counts as ended
    ended_.store(true);
    return;
  }
  // A new player seeks to any tick before it plays; the seek is done at its first call.
  const int64_t tick = std::min(timing_.MsToTicks(startMs_), timing_.totalTicks);
  if (tick > 0) fluid_player_seek(player_, int(std::min<int64_t>(tick, 0x7FFFFFFF)));
  fluid_player_play(player_);
}

void TMusicPlayer::DeletePlayer() {
  if (!player_) return;
  fluid_player_stop(player_);
  delete_fluid_player(player_);
  player_ = nullptr;
  if (synth_) fluid_synth_all_sounds_off(synth_, -1);
}

bool TMusicPlayer::Open(const std::string& path) {
  FileReader file;
  if (!file.Open(path) || file.Size() <= 0 || file.Size() > int64_t(kMidiMaxFileSize)) return false;
  std::vector<uint8_t> bytes(size_t(file.Size()));
  if (!file.Read(bytes.data(), bytes.size())) return false;
  std::vector<uint8_t> smf = UnwrapMidi(bytes.data(), bytes.size());
  TMidiTiming timing;
  if (smf.empty() || !ReadMidiTiming(smf.data(), smf.size(), timing)) return false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    DeletePlayer();
    smf_ = std::move(smf);
    timing_ = std::move(timing);
    playing_ = finished_ = false;
    startMs_ = renderedFrames_ = 0;
    ended_.store(false);
  }
  StartLoader();
  ShowPendingReport();
  return true;
}

void TMusicPlayer::Play(int64_t fromMs) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (smf_.empty()) return;
    startMs_ = std::clamp<int64_t>(fromMs, 0, timing_.TicksToMs(timing_.totalTicks));
    renderedFrames_ = 0;
    playing_ = true;
    finished_ = false;
    ended_.store(false);
    if (synth_) CreatePlayer();
  }
  ShowPendingReport();
}

void TMusicPlayer::Stop() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!playing_) return;
  // Render no further: the player, driven by the rendered samples, stands still. The
  // position is taken now and the next Play starts a fresh player there.
  if (renderRate_ > 0) startMs_ += renderedFrames_ * 1000 / renderRate_;
  renderedFrames_ = 0;
  playing_ = false;
  DeletePlayer();
}

void TMusicPlayer::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  DeletePlayer();
  smf_.clear();
  timing_ = TMidiTiming{};
  playing_ = finished_ = false;
  startMs_ = renderedFrames_ = 0;
  ended_.store(false);  // an end of the closed piece not yet taken is void
}

bool TMusicPlayer::Loaded() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return !smf_.empty();
}

bool TMusicPlayer::Playing() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return playing_ && !finished_;
}

int64_t TMusicPlayer::PositionMs() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return startMs_ + (renderRate_ > 0 ? renderedFrames_ * 1000 / renderRate_ : 0);
}

bool TMusicPlayer::TakeEnded() {
  return ended_.exchange(false);
}

void TMusicPlayer::Render(int32_t* mixed, int frames, int rate) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!synth_ || !player_ || !playing_ || finished_ || frames <= 0 || rate <= 0) return;
  if (rate != synthRate_) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    fluid_synth_set_sample_rate(synth_, float(rate));  // the output was reopened at another rate
#pragma GCC diagnostic pop
    synthRate_ = rate;
  }
  if (renderRate_ != rate) {
    if (renderRate_ > 0) startMs_ += renderedFrames_ * 1000 / renderRate_;
    renderedFrames_ = 0;
    renderRate_ = rate;
  }
  for (int done = 0; done < frames;) {
    const int n = std::min(frames - done, kRenderChunk);
    int16_t* buf = scratch_.data();
    fluid_synth_write_s16(synth_, n, buf, 0, 2, buf, 1, 2);
    int32_t* dst = mixed + 2 * done;
    for (int i = 0; i < 2 * n; ++i) dst[i] += buf[i];
    done += n;
  }
  renderedFrames_ += frames;

  // The player keeps "playing" for a grace time after its last event: the musical end is
  // when the current tick reaches the piece's length.
  int64_t total = fluid_player_get_total_ticks(player_);
  if (total <= 0) total = timing_.totalTicks;
  const int64_t tick = fluid_player_get_current_tick(player_);
  if (tick >= total || fluid_player_get_status(player_) == FLUID_PLAYER_DONE) {
    finished_ = true;
    fluid_synth_all_sounds_off(synth_, -1);
    ended_.store(true);
  }
}

}  // namespace kelvra
