// Fuzz target of the wave reader: any bytes are decoded as a wave file image, and a decoded
// sample is mixed at a few output formats; nothing may crash or read out of bounds.
#include <cstdint>
#include <vector>

#include "media/Mixer.h"
#include "media/Wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvra;
  TWaveDecode result = DecodeWave(data, size);
  if (!result.wave || !result.wave->Playable()) return 0;
  // Mix a bounded stretch so that huge valid samples do not slow the run down.
  static const TOutputFormat kFormats[] = {
      {22050, false, true}, {44100, true, false}, {8000, true, true}};
  std::vector<uint8_t> out(4 * 2048);
  for (const TOutputFormat& format : kFormats) {
    TMixer mixer;
    mixer.Play(result.wave, 700, 300);
    mixer.Mix(format, out.data(), 2048);
  }
  return 0;
}
