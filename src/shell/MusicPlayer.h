// The music player: FluidSynth's MIDI file player with a General MIDI soundfont, rendered
// by the audio output into the same stream as the sound effects.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <fluidsynth.h>

#include "media/MidiFile.h"

namespace kelvra {

// Where Debian's packages put General MIDI soundfonts, best first.
std::vector<std::string> DefaultSoundFontPaths();
// The first of `candidates` that is a readable file, "" when there is none.
std::string FindSoundFont(const std::vector<std::string>& candidates);

// Threads: Open, Play, Stop, Close and the queries are called on the user-interface thread;
// Render on the audio thread. The soundfont is loaded on a thread of its own when the
// first piece is opened, so that neither the start of the program nor a game waits for it;
// music asked for before then starts when the soundfont is in.
class TMusicPlayer {
 public:
  explicit TMusicPlayer(std::vector<std::string> soundFonts = DefaultSoundFontPaths());
  ~TMusicPlayer();
  TMusicPlayer(const TMusicPlayer&) = delete;
  TMusicPlayer& operator=(const TMusicPlayer&) = delete;

  // Shown once when no soundfont is found or it cannot be loaded (music then stays
  // silent); user-interface thread. Unset: written to standard error.
  std::function<void(const std::string&)> report;

  // Loads a ".mid" or ".rmi" file; false when it cannot be read or holds no MIDI music.
  bool Open(const std::string& path);
  void Play(int64_t fromMs);  // from this position of the loaded piece
  void Stop();                // pause: the position is kept
  void Close();
  bool Loaded() const;
  bool Playing() const;
  int64_t PositionMs() const;
  bool TakeEnded();  // true once after the piece played to its end

  // The output's rate, for the synthesiser made when the soundfont is loaded.
  void SetRate(int rate) { rate_.store(rate); }
  // Waits for the soundfont loader (tests); true when the synthesiser is ready.
  bool WaitUntilLoaded();

  // Audio thread: adds the next `frames` frames of music to `mixed` (left, right pairs on
  // the 16-bit scale) at `rate` frames per second.
  void Render(int32_t* mixed, int frames, int rate);

 private:
  void StartLoader();                // user-interface thread, under no lock
  void Load(std::string soundFont);  // loader thread
  void ShowPendingReport();
  void CreatePlayer();  // under mutex_, with a loaded piece and a synthesiser
  void DeletePlayer();  // under mutex_

  const std::vector<std::string> soundFonts_;
  std::thread loader_;
  bool loaderStarted_ = false;  // user-interface thread
  std::atomic<int> rate_{44100};
  std::atomic<bool> ended_{false};  // set by Render, taken by TakeEnded

  mutable std::mutex mutex_;  // guards everything below against Render
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;
  int synthRate_ = 0;
  std::string pendingReport_;  // from the loader, shown by the next call
  std::vector<uint8_t> smf_;   // the loaded piece as a standard MIDI file
  TMidiTiming timing_;
  bool playing_ = false;          // wanted to play (not paused, not at the end)
  bool finished_ = false;         // reached its end
  int64_t startMs_ = 0;           // position Play started from
  int64_t renderedFrames_ = 0;    // frames rendered since then
  int renderRate_ = 0;            // rate of those frames
  std::vector<int16_t> scratch_;  // stereo render buffer
};

}  // namespace kelvra
