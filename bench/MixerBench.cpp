// Mixer speed: 32 voices into one 25 ms stereo buffer (551 frames at 22050 Hz), at the
// waves' own rate and with resampling; the aim is well under 20 µs per buffer.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "media/Mixer.h"

namespace {

using namespace kelvra;

std::shared_ptr<TWave> Noise(uint32_t rate, int frames) {
  auto w = std::make_shared<TWave>();
  w->bits = 16;
  w->blockAlign = 2;
  w->rate = rate;
  w->frames = uint32_t(frames);
  w->dataSize = uint32_t(2 * frames);
  uint32_t seed = 1;
  for (int i = 0; i < frames; ++i) {
    seed = seed * 134775813 + 1;
    w->samples.push_back(int16_t(seed >> 16));
  }
  return w;
}

void MixVoices(benchmark::State& state, bool bits16, uint32_t waveRate) {
  const int frames = BufferFrames(22050);
  TOutputFormat format;
  format.rate = 22050;
  format.bits16 = bits16;
  format.stereo = true;
  std::vector<uint8_t> out(size_t(BufferBytes(format, frames)));
  auto wave = Noise(waveRate, 1 << 20);  // 1900 buffers and more
  TMixer mixer;
  auto start = [&] {
    mixer.StopAll();
    for (int i = 0; i < 32; ++i) mixer.Play(wave, 16 * i, 1024 - 16 * i);
  };
  start();
  int buffers = 0;
  for (auto _ : state) {
    if (++buffers == 1500) {  // restart the voices before they end
      state.PauseTiming();
      start();
      buffers = 0;
      state.ResumeTiming();
    }
    mixer.Mix(format, out.data(), frames);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["voices"] = mixer.ActiveVoices();
}

void BM_Mix32Voices16Bit(benchmark::State& state) {
  MixVoices(state, true, 22050);
}
void BM_Mix32Voices8Bit(benchmark::State& state) {
  MixVoices(state, false, 22050);
}
void BM_Mix32VoicesResampled(benchmark::State& state) {
  MixVoices(state, true, 11025);
}

}  // namespace

BENCHMARK(BM_Mix32Voices16Bit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Mix32Voices8Bit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Mix32VoicesResampled)->Unit(benchmark::kMicrosecond);
