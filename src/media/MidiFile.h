// Music files: the standard MIDI file inside a RIFF ".rmi" wrapper, and the tempo map of a
// standard MIDI file, which turns playing positions in ms into ticks and back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvra {

constexpr size_t kMidiMaxFileSize = 16 << 20;  // bytes; larger files are not music

// The standard MIDI file held by `data`: the "data" chunk of a RIFF "RMID" file, or the
// bytes themselves when they begin with "MThd". Empty when it is neither or the wrapper's
// sizes do not fit the file.
std::vector<uint8_t> UnwrapMidi(const uint8_t* data, size_t size);

struct TMidiTiming {
  struct TTempo {
    int64_t tick = 0;  // where this tempo starts
    int64_t usPerQuarter = 500000;
    double atUs = 0;  // time of `tick` from the start, µs
  };
  int division = 96;                     // ticks per quarter note; for SMPTE time, ticks per second
  bool smpte = false;                    // ticks are a fixed fraction of a second, tempo is ignored
  std::vector<TTempo> tempos{TTempo{}};  // by tick; the first starts at tick 0
  int64_t totalTicks = 0;                // end of the longest track

  int64_t TicksToMs(int64_t tick) const;
  int64_t MsToTicks(int64_t ms) const;
};

// Reads the header and the tempo changes of every track. False for data that is not a
// standard MIDI file (no "MThd" header, zero division, no track); damaged tracks are read
// up to the damage.
bool ReadMidiTiming(const uint8_t* data, size_t size, TMidiTiming& timing);

}  // namespace kelvra
