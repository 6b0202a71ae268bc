// A Standard MIDI File writer: format 1 with one conductor track (tempo, metre, title) and
// one track per instrument; events are given at absolute ticks and written as delta times.
// Also the RIFF "RMID" wrapper of ".rmi" files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvra::content {

class TMidiTrack {
 public:
  explicit TMidiTrack(const std::string& name);

  void Tempo(uint32_t tick, double beatsPerMinute);
  void TimeSignature(uint32_t tick, int numerator, int denominatorPower);  // 4/4: 4, 2
  void Program(uint32_t tick, int channel, int program);                   // 0..127
  void Controller(uint32_t tick, int channel, int controller, int value);
  // A note on at `tick` and its note off `length` ticks later.
  void Note(uint32_t tick, int channel, int key, int velocity, uint32_t length);
  // The end-of-track event; the track's last event must not lie after it.
  void End(uint32_t tick) { end_ = tick; }

  // The "MTrk" chunk. Events at the same tick go out in the order: meta and controller
  // events, note offs, note ons, so a note ending where another begins never cuts it.
  std::vector<uint8_t> Encode() const;

 private:
  struct TEvent {
    uint32_t tick;
    int order;     // 0 setup, 1 note off, 2 note on
    uint32_t seq;  // insertion order, to keep sorting stable and the bytes fixed
    std::vector<uint8_t> bytes;
  };
  void Push(uint32_t tick, int order, std::vector<uint8_t> bytes);
  std::vector<TEvent> events_;
  uint32_t end_ = 0;
};

// A format-1 file of the tracks; `division` is ticks per quarter note.
std::vector<uint8_t> EncodeMidiFile(const std::vector<TMidiTrack>& tracks, int division);
// The same file inside a RIFF "RMID" form with one "data" chunk.
std::vector<uint8_t> WrapRmi(const std::vector<uint8_t>& smf);

}  // namespace kelvra::content
