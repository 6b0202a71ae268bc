// Fuzz target of the music file reader: any bytes are unwrapped as a ".rmi" or plain MIDI
// file and their tempo map is read and used both ways; nothing may crash or hang.
#include <cstdint>
#include <vector>

#include "media/MidiFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvra;
  std::vector<uint8_t> smf = UnwrapMidi(data, size);
  TMidiTiming timing;
  if (smf.empty() || !ReadMidiTiming(smf.data(), smf.size(), timing)) return 0;
  for (int64_t ms : {int64_t(0), int64_t(1), int64_t(1000), int64_t(3600000)}) {
    volatile int64_t tick = timing.MsToTicks(ms);
    (void)tick;
  }
  volatile int64_t end = timing.TicksToMs(timing.totalTicks);
  (void)end;
  return 0;
}
