// The sound effect mixer: request queue, voice mixing with linear resampling, and the
// conversion of the sums into 8- or 16-bit output samples.
#include "media/Mixer.h"

#include <algorithm>

namespace kelvra {

int BufferFrames(int rate, int param) {
  const int64_t scaled = int64_t(rate) * param;
  // Round to nearest, halves away from zero.
  const int64_t frames = scaled >= 0 ? (scaled + 4000) / 8000 : -((-scaled + 4000) / 8000);
  return int(frames);
}

int BufferBytes(const TOutputFormat& format, int frames) {
  return format.BlockBytes() * frames;
}

void ConvertOutput(const int32_t* mixed, int frames, const TOutputFormat& format, void* out) {
  if (format.bits16) {
    int16_t* dst = static_cast<int16_t*>(out);
    if (format.stereo) {
      for (int i = 0; i < 2 * frames; ++i) dst[i] = OutputSample16(mixed[i]);
    } else {
      for (int i = 0; i < frames; ++i)
        dst[i] = OutputSample16((mixed[2 * i] + mixed[2 * i + 1]) / 2);
    }
  } else {
    uint8_t* dst = static_cast<uint8_t*>(out);
    if (format.stereo) {
      for (int i = 0; i < 2 * frames; ++i) dst[i] = OutputSample8(mixed[i]);
    } else {
      for (int i = 0; i < frames; ++i)
        dst[i] = OutputSample8((mixed[2 * i] + mixed[2 * i + 1]) / 2);
    }
  }
}

bool TMixer::Play(std::shared_ptr<const TWave> wave, int left, int right) {
  if (!wave || !wave->Playable()) return false;
  const uint32_t head = head_.load(std::memory_order_relaxed);
  if (head - tail_.load(std::memory_order_acquire) >= uint32_t(kQueueSize)) return false;
  TRequest& slot = queue_[head % kQueueSize];
  slot.wave = std::move(wave);
  slot.left = std::clamp(left, 0, kVolumeFull);
  slot.right = std::clamp(right, 0, kVolumeFull);
  head_.store(head + 1, std::memory_order_release);
  return true;
}

void TMixer::StopAll() {
  stopHead_.store(head_.load(std::memory_order_relaxed), std::memory_order_relaxed);
  stops_.fetch_add(1, std::memory_order_release);
}

void TMixer::TakeRequests() {
  uint32_t tail = tail_.load(std::memory_order_relaxed);
  const uint32_t stops = stops_.load(std::memory_order_acquire);
  if (stops != stopsSeen_) {
    stopsSeen_ = stops;
    for (int i = 0; i < used_; ++i) voices_[i].wave.reset();
    used_ = 0;
    // Requests made before the latest StopAll are dropped unheard.
    const uint32_t stopHead = stopHead_.load(std::memory_order_relaxed);
    while (int32_t(stopHead - tail) > 0) queue_[tail++ % kQueueSize].wave.reset();
  }
  const uint32_t head = head_.load(std::memory_order_acquire);
  while (tail != head) {
    TRequest& request = queue_[tail++ % kQueueSize];
    if (used_ < kMaxVoices) {
      TVoice& voice = voices_[used_++];
      voice.wave = std::move(request.wave);
      voice.pos = 0;
      voice.left = request.left;
      voice.right = request.right;
    }
    request.wave.reset();
  }
  tail_.store(tail, std::memory_order_release);
}

namespace {

// A sample value at a channel volume: value × volume / 1024, truncated toward zero. At the
// full volume this is the value itself, so no case is made of it.
inline int32_t Scale(int32_t v, int volume) {
  return v * volume / kVolumeFull;
}

}  // namespace

bool TMixer::MixVoice(TVoice& voice, int32_t* mixed, int frames, int outputRate) {
  const TWave& w = *voice.wave;
  const int16_t* s = w.samples.data();
  const uint64_t end = uint64_t(w.frames) << 16;
  const int left = voice.left, right = voice.right;
  uint64_t pos = voice.pos;
  const uint64_t step = std::max<uint64_t>(1, (uint64_t(w.rate) << 16) / uint64_t(outputRate));

  if (step == 0x10000 && (pos & 0xFFFF) == 0) {
    // Same rate: one wave frame per output frame.
    const uint32_t first = uint32_t(pos >> 16);
    const int n = int(std::min<uint64_t>(uint64_t(frames), w.frames - first));
    if (w.channels == 1) {
      const int16_t* src = s + first;
      for (int i = 0; i < n; ++i) {
        mixed[2 * i] += Scale(src[i], left);
        mixed[2 * i + 1] += Scale(src[i], right);
      }
    } else {
      const int16_t* src = s + 2 * size_t(first);
      for (int i = 0; i < n; ++i) {
        mixed[2 * i] += Scale(src[2 * i], left);
        mixed[2 * i + 1] += Scale(src[2 * i + 1], right);
      }
    }
    pos += uint64_t(n) << 16;
  } else {
    // Linear interpolation between neighbouring frames, then the last frame held until the
    // voice's end.
    const uint64_t lastPos = uint64_t(w.frames - 1) << 16;
    auto count = [&](uint64_t limit) {  // output frames from pos while pos < limit
      return pos >= limit ? 0 : int(std::min<uint64_t>(frames, (limit - pos + step - 1) / step));
    };
    const int n = count(end);
    const int interpolated = std::min(n, count(lastPos));
    int i = 0;
    if (w.channels == 1) {
      for (; i < interpolated; ++i, pos += step) {
        const int16_t* a = s + (pos >> 16);
        const int32_t frac = int32_t(pos & 0xFFFF) >> 1;  // 15 bits: the products fit in 32
        const int32_t v = a[0] + (((a[1] - a[0]) * frac) >> 15);
        mixed[2 * i] += Scale(v, left);
        mixed[2 * i + 1] += Scale(v, right);
      }
      for (; i < n; ++i, pos += step) {
        mixed[2 * i] += Scale(s[w.frames - 1], left);
        mixed[2 * i + 1] += Scale(s[w.frames - 1], right);
      }
    } else {
      for (; i < interpolated; ++i, pos += step) {
        const int16_t* a = s + 2 * (pos >> 16);
        const int32_t frac = int32_t(pos & 0xFFFF) >> 1;
        mixed[2 * i] += Scale(a[0] + (((a[2] - a[0]) * frac) >> 15), left);
        mixed[2 * i + 1] += Scale(a[1] + (((a[3] - a[1]) * frac) >> 15), right);
      }
      const int16_t* a = s + 2 * size_t(w.frames - 1);
      for (; i < n; ++i, pos += step) {
        mixed[2 * i] += Scale(a[0], left);
        mixed[2 * i + 1] += Scale(a[1], right);
      }
    }
  }
  voice.pos = pos;
  return pos < end;
}

void TMixer::MixAccumulate(int32_t* mixed, int frames, int outputRate) {
  TakeRequests();
  if (outputRate <= 0 || frames <= 0) return;
  for (int i = 0; i < used_;) {
    if (MixVoice(voices_[i], mixed, frames, outputRate)) {
      ++i;
    } else {
      voices_[i] = std::move(voices_[used_ - 1]);
      voices_[--used_].wave.reset();
    }
  }
}

void TMixer::Mix(const TOutputFormat& format, void* out, int frames) {
  constexpr int kChunk = 1024;
  int32_t mixed[2 * kChunk];
  uint8_t* dst = static_cast<uint8_t*>(out);
  while (frames > 0) {
    const int n = std::min(frames, kChunk);
    std::fill(mixed, mixed + 2 * n, 0);
    MixAccumulate(mixed, n, format.rate);
    ConvertOutput(mixed, n, format, dst);
    dst += size_t(n) * format.BlockBytes();
    frames -= n;
  }
}

TMixer& Mixer() {
  static TMixer mixer;
  return mixer;
}

}  // namespace kelvra
