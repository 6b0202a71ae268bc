// The sound effect mixer: running voices with their left and right volumes, summed into
// the output stream, with the output format, its buffer arithmetic and sample conversions.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "media/Wave.h"

namespace kelvra {

constexpr int kVolumeFull = 1024;  // volumes are in 1/1024 of a sample's own level
constexpr int kBufferParam = 200;  // buffer length in 1/8000 s: 25 ms
constexpr int kOutputBuffers = 8;  // buffers kept queued at the device

struct TOutputFormat {
  int rate = 22050;     // sample frames per second
  bool bits16 = false;  // 16-bit signed samples, else 8-bit unsigned around 128
  bool stereo = true;   // 2 channels (left, right), else 1

  int Channels() const { return stereo ? 2 : 1; }
  int Bits() const { return bits16 ? 16 : 8; }
  int BlockBytes() const { return (Bits() * Channels() + 7) / 8; }
};

// Buffer length in sample frames: rate × param / 8000 rounded to nearest, halves away from
// zero (551 frames at 22050 Hz for 25 ms).
int BufferFrames(int rate, int param = kBufferParam);
// Buffer size in bytes: ((bits × channels + 7) / 8) × frames.
int BufferBytes(const TOutputFormat& format, int frames);

// A mixed value (16-bit scale, any range) as an output sample.
inline int16_t OutputSample16(int32_t v) {
  return int16_t(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
}
inline uint8_t OutputSample8(int32_t v) {
  int32_t s = (v + 32768) / 256;  // truncates toward zero
  return uint8_t(s < 0 ? 0 : s > 255 ? 255 : s);
}

// Turns `frames` mixed frames (left, right pairs) into output samples of `format`; mono
// output takes the mean of the two channel sums.
void ConvertOutput(const int32_t* mixed, int frames, const TOutputFormat& format, void* out);

// The running voices. `Play` and `StopAll` are called on one thread (the user-interface
// thread); the mixing calls on one other thread (the audio device's). Requests travel
// through a single-producer, single-consumer queue, so neither side ever waits.
class TMixer {
 public:
  static constexpr int kMaxVoices = 64;  // a voice asked for beyond these is dropped
  static constexpr int kQueueSize = 64;  // requests not yet seen by the mixing thread

  TMixer() = default;
  TMixer(const TMixer&) = delete;
  TMixer& operator=(const TMixer&) = delete;

  // Starts a voice at the wave's first sample with volumes 0..1024 per channel. False
  // (nothing played) for a wave that cannot play or when the request queue is full.
  bool Play(std::shared_ptr<const TWave> wave, int left, int right);
  // Ends every voice started before this call.
  void StopAll();

  // Mixing thread: adds the next `frames` frames of every voice into `mixed` (left, right
  // pairs on the 16-bit scale), resampling each wave to `outputRate`.
  void MixAccumulate(int32_t* mixed, int frames, int outputRate);
  // Mixing thread: the next `frames` frames as output samples of `format`.
  void Mix(const TOutputFormat& format, void* out, int frames);
  int ActiveVoices() const { return used_; }  // mixing thread

 private:
  struct TRequest {
    std::shared_ptr<const TWave> wave;
    int left = 0, right = 0;
  };
  struct TVoice {
    std::shared_ptr<const TWave> wave;
    uint64_t pos = 0;  // in sample frames of the wave, 16.16 fixed point
    int left = 0, right = 0;
  };

  void TakeRequests();
  // Adds one voice; false when it has played to its end.
  static bool MixVoice(TVoice& voice, int32_t* mixed, int frames, int outputRate);

  // Producer side writes queue_[head_ % size] then publishes head_; the consumer reads up to
  // head_ and publishes tail_ as it frees slots.
  TRequest queue_[kQueueSize];
  std::atomic<uint32_t> head_{0};
  std::atomic<uint32_t> tail_{0};
  std::atomic<uint32_t> stops_{0};     // StopAll calls so far
  std::atomic<uint32_t> stopHead_{0};  // head_ at the latest StopAll
  uint32_t stopsSeen_ = 0;             // mixing thread

  TVoice voices_[kMaxVoices];  // mixing thread; the first used_ are running
  int used_ = 0;
};

// The program's one mixer, fed by the sound effects and read by the audio output.
TMixer& Mixer();

}  // namespace kelvra
