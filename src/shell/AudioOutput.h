// The audio output: one SDL2 audio device whose callback mixes the sound effects and the
// music into 25 ms blocks of the chosen format. Without a device the program stays silent.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "media/Mixer.h"
#include "shell/MusicPlayer.h"

namespace kelvra {

// The device is open while the effects want it (SoundOpen) or music is playing. Every
// method is called on the user-interface thread; the callback runs on SDL's audio thread
// and only reads what was fixed before the device started.
class TAudioOutput {
 public:
  TAudioOutput(TMixer& mixer, TMusicPlayer* music);
  ~TAudioOutput();
  TAudioOutput(const TAudioOutput&) = delete;
  TAudioOutput& operator=(const TAudioOutput&) = delete;

  // Shows a device failure; called at most once per output. Unset: ErrorMsg, the file
  // error dialog's internal error.
  std::function<void(const std::string&)> report;

  bool OpenEffects(const TOutputFormat& format);
  void CloseEffects();
  // Music starts or stops needing the device; `format` is used when the device is closed.
  bool SetMusicActive(bool active, const TOutputFormat& format);

  bool IsOpen() const { return device_ != 0; }
  const TOutputFormat& Format() const { return format_; }
  int BufferFrames() const { return bufferFrames_; }

 private:
  bool OpenDevice(const TOutputFormat& format);
  void CloseDevice();
  void Report(const std::string& operation, const std::string& text);
  static void Callback(void* self, Uint8* stream, int length);
  void Fill(Uint8* stream, int length);  // audio thread

  TMixer& mixer_;
  TMusicPlayer* music_;
  SDL_AudioDeviceID device_ = 0;
  bool sdlStarted_ = false;
  bool reported_ = false;     // a failure was shown: later ones stay silent
  bool effects_ = false;      // SoundOpen holds the device
  bool musicActive_ = false;  // music holds the device
  TOutputFormat format_;
  int bufferFrames_ = 0;
  std::vector<int32_t> mixed_;  // one block of left, right sums; audio thread
};

// The program's audio: the output and the music player, made on first use.
struct TAudio {
  TMusicPlayer music;
  TAudioOutput output{Mixer(), &music};
};
TAudio& Audio();
void ShutdownAudio();  // closes the device and frees the music; Audio() makes them anew

}  // namespace kelvra
