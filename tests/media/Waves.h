// Hand-made waves shared by the mixer, sound and sound output tests.
#pragma once

#include <memory>
#include <vector>

#include "media/Wave.h"

namespace kelvra::test {

// A 16-bit wave of the given samples, interleaved when stereo.
inline std::shared_ptr<TWave> Wave(std::vector<int16_t> samples, int channels = 1,
                                   int rate = 22050) {
  auto w = std::make_shared<TWave>();
  w->bits = 16;
  w->channels = uint16_t(channels);
  w->blockAlign = uint16_t(2 * channels);
  w->rate = uint32_t(rate);
  w->frames = uint32_t(samples.size() / channels);
  w->dataSize = uint32_t(samples.size() * 2);
  w->samples = std::move(samples);
  return w;
}

inline std::shared_ptr<TWave> ConstantWave(int16_t value, int frames) {
  return Wave(std::vector<int16_t>(size_t(frames), value));
}

}  // namespace kelvra::test
