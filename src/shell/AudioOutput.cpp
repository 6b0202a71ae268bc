// The SDL2 audio device: opening in the chosen format, the mixing callback, the single
// report of a missing device, and the program's audio instance.
#include "shell/AudioOutput.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/IOError.h"

namespace kelvra {

TAudioOutput::TAudioOutput(TMixer& mixer, TMusicPlayer* music) : mixer_(mixer), music_(music) {}

TAudioOutput::~TAudioOutput() {
  CloseDevice();
  if (sdlStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void TAudioOutput::Report(const std::string& operation, const std::string& text) {
  if (reported_) return;
  reported_ = true;
  // Device errors read the operation's name and the device's text in brackets.
  const std::string message = operation + " (" + (text.empty() ? "Unknown error" : text) + ")";
  if (report)
    report(message);
  else
    ErrorMsg(message, FileOwner::Program);  // the sound device: nothing of the user's
}

bool TAudioOutput::OpenDevice(const TOutputFormat& format) {
  CloseDevice();
  if (!sdlStarted_) {
    // The audio subsystem brings in SDL's events, whose signal handlers would only queue an
    // SDL quit event that nobody reads; the shell handles the signals itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      Report("WaveOutOpen", SDL_GetError());
      return false;
    }
    sdlStarted_ = true;
  }
  format_ = format;
  bufferFrames_ = std::max(1, kelvra::BufferFrames(format.rate));
  mixed_.assign(2 * size_t(bufferFrames_), 0);
  if (music_) music_->SetRate(format.rate);

  SDL_AudioSpec want{}, have{};
  want.freq = format.rate;
  want.format = format.bits16 ? AUDIO_S16SYS : AUDIO_U8;
  want.channels = Uint8(format.Channels());
  want.samples = Uint16(std::min(bufferFrames_, 65535));
  want.callback = &TAudioOutput::Callback;
  want.userdata = this;
  // No changes allowed: SDL converts our format to the device's when they differ.
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device_ == 0) {
    Report("WaveOutOpen", SDL_GetError());
    return false;
  }
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void TAudioOutput::CloseDevice() {
  if (device_ == 0) return;
  // Returns when the callback has finished and the device has let go of its buffers.
  SDL_CloseAudioDevice(device_);
  device_ = 0;
}

bool TAudioOutput::OpenEffects(const TOutputFormat& format) {
  effects_ = true;
  if (IsOpen() && format_.rate == format.rate && format_.bits16 == format.bits16 &&
      format_.stereo == format.stereo)
    return true;
  return OpenDevice(format);
}

void TAudioOutput::CloseEffects() {
  effects_ = false;
  if (!musicActive_) CloseDevice();
}

bool TAudioOutput::SetMusicActive(bool active, const TOutputFormat& format) {
  musicActive_ = active;
  if (active) return IsOpen() || OpenDevice(format);
  if (!effects_) CloseDevice();
  return true;
}

void TAudioOutput::Callback(void* self, Uint8* stream, int length) {
  static_cast<TAudioOutput*>(self)->Fill(stream, length);
}

void TAudioOutput::Fill(Uint8* stream, int length) {
  const int block = format_.BlockBytes();
  int frames = length / block;
  while (frames > 0) {
    // One mixing buffer (25 ms) at a time.
    const int n = std::min(frames, bufferFrames_);
    std::fill(mixed_.begin(), mixed_.begin() + 2 * n, 0);
    mixer_.MixAccumulate(mixed_.data(), n, format_.rate);
    if (music_) music_->Render(mixed_.data(), n, format_.rate);
    ConvertOutput(mixed_.data(), n, format_, stream);
    stream += size_t(n) * block;
    frames -= n;
  }
  // A partial frame at the end (never asked for by SDL) is left silent.
  const int rest = length % block;
  if (rest) std::memset(stream, format_.bits16 ? 0 : 128, size_t(rest));
}

namespace {
std::unique_ptr<TAudio> gAudio;
}

TAudio& Audio() {
  if (!gAudio) gAudio = std::make_unique<TAudio>();
  return *gAudio;
}

void ShutdownAudio() {
  gAudio.reset();
}

}  // namespace kelvra
