// Music files: unwrapping ".rmi" files and the tempo map that turns positions in ms into
// ticks and back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "media/MidiFile.h"

namespace kelvra {
namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& b, const std::string& s) {
  b.insert(b.end(), s.begin(), s.end());
}
void BE32(Bytes& b, uint32_t v) {
  for (int i = 3; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
}
void LE32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

// A standard MIDI file of format 1 with the given track bodies.
Bytes Smf(uint16_t division, const std::vector<Bytes>& tracks) {
  Bytes b;
  Append(b, "MThd");
  BE32(b, 6);
  b.insert(b.end(), {0, 1, 0, uint8_t(tracks.size()), uint8_t(division >> 8), uint8_t(division)});
  for (const Bytes& t : tracks) {
    Append(b, "MTrk");
    BE32(b, uint32_t(t.size()));
    b.insert(b.end(), t.begin(), t.end());
  }
  return b;
}

// A RIFF "RMID" wrapper holding `smf`, with an extra chunk before the data.
Bytes Rmi(const Bytes& smf) {
  Bytes body;
  Append(body, "RMID");
  Append(body, "DISP");
  LE32(body, 3);
  body.insert(body.end(), {1, 2, 3, 0});  // odd size, padded
  Append(body, "data");
  LE32(body, uint32_t(smf.size()));
  body.insert(body.end(), smf.begin(), smf.end());
  Bytes b;
  Append(b, "RIFF");
  LE32(b, uint32_t(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

const Bytes kTempoTrack = {
    0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // 500000 µs per quarter at 0
    0x60, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,  // 250000 at tick 96
    0x81, 0x40, 0xFF, 0x2F, 0x00,              // end at 96 + 192 = 288
};
// Notes with running status and a sysex, ending at tick 400.
const Bytes kNoteTrack = {
    0x00, 0xC0, 0x05,              // program change: one data byte
    0x00, 0x90, 0x3C, 0x64,        // note on
    0x10, 0x3E, 0x64,              // running status
    0x00, 0xF0, 0x02, 0x01, 0xF7,  // sysex
    0x83, 0x00, 0x80, 0x3C, 0x00,  // at 16 + 384 = 400
    0x00, 0xFF, 0x2F, 0x00,
};

TEST(MidiFileTest, UnwrapsRmiAndPassesPlainFiles) {
  const Bytes smf = Smf(96, {kTempoTrack});
  EXPECT_EQ(UnwrapMidi(smf.data(), smf.size()), smf);
  const Bytes rmi = Rmi(smf);
  EXPECT_EQ(UnwrapMidi(rmi.data(), rmi.size()), smf);

  Bytes truncated = rmi;
  truncated.resize(truncated.size() - 1);
  Bytes hugeChunk = rmi;
  hugeChunk[16] = 0xFF, hugeChunk[17] = 0xFF, hugeChunk[18] = 0xFF, hugeChunk[19] = 0x7F;
  Bytes notRmid = rmi;
  notRmid[8] = 'W';
  const std::pair<const char*, Bytes> refused[] = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o'}},
      {"data chunk cut short", truncated},
      {"no MIDI in the data chunk", Rmi(Bytes{'X', 'X', 'X', 'X', 0, 0})},
      {"a chunk larger than the file", hugeChunk},
      {"RIFF of another kind", notRmid},
  };
  for (const auto& [what, data] : refused)
    EXPECT_TRUE(UnwrapMidi(data.data(), data.size()).empty()) << what;
}

TEST(MidiFileTest, TempoMapConvertsBothWays) {
  const Bytes smf = Smf(96, {kTempoTrack, kNoteTrack});
  TMidiTiming t;
  ASSERT_TRUE(ReadMidiTiming(smf.data(), smf.size(), t));
  EXPECT_EQ(std::make_tuple(int(t.division), int64_t(t.totalTicks), t.tempos.size()),
            std::make_tuple(96, int64_t(400), size_t(2)));
  struct Case {
    int64_t tick, ms;
  };
  // 96 ticks of 500 ms, then 96 ticks per 250 ms.
  for (Case c : {Case{0, 0}, Case{48, 250}, Case{96, 500}, Case{192, 750}, Case{384, 1250}}) {
    SCOPED_TRACE(c.tick);
    EXPECT_EQ(std::make_pair(int64_t(t.TicksToMs(c.tick)), int64_t(t.MsToTicks(c.ms))),
              std::make_pair(c.ms, c.tick));
  }
  EXPECT_EQ(t.MsToTicks(-5), 0);

  // Chunks past the count of tracks the header declares are not read.
  Bytes oneTrack = smf;
  oneTrack[11] = 1;
  ASSERT_TRUE(ReadMidiTiming(oneTrack.data(), oneTrack.size(), t));
  EXPECT_EQ(t.totalTicks, 288);
}

TEST(MidiFileTest, DefaultTempoAndSmpteTime) {
  const Bytes plain = Smf(480, {kNoteTrack});
  TMidiTiming t;
  ASSERT_TRUE(ReadMidiTiming(plain.data(), plain.size(), t));
  EXPECT_EQ(t.TicksToMs(480), 500);  // 120 beats per minute without a tempo event

  const Bytes smpte = Smf(0xE728, {kNoteTrack});  // 25 frames of 40 ticks: 1000 per second
  ASSERT_TRUE(ReadMidiTiming(smpte.data(), smpte.size(), t));
  EXPECT_EQ(std::make_tuple(bool(t.smpte), int64_t(t.TicksToMs(400)), int64_t(t.MsToTicks(1234))),
            std::make_tuple(true, int64_t(400), int64_t(1234)));
}

TEST(MidiFileTest, RejectsWhatIsNotMidiAndReadsDamagedTracksUpToTheDamage) {
  TMidiTiming t;
  Bytes header = Smf(96, {kNoteTrack});
  header[7] = 200;  // header length past the end
  // No division, no track, the header past the end.
  for (const Bytes& b : {Smf(0, {kNoteTrack}), Smf(96, {}), header})
    EXPECT_FALSE(ReadMidiTiming(b.data(), b.size(), t));

  // A track whose length claims more than the file, cut in the middle of an event.
  Bytes cut = Smf(96, {kNoteTrack});
  cut.resize(cut.size() - 8);
  // Running status with no status before it ends the track.
  const Bytes orphan = Smf(96, {Bytes{0x10, 0x3C, 0x64, 0x10, 0x3C, 0x64}});
  for (const Bytes& b : {cut, orphan}) {
    ASSERT_TRUE(ReadMidiTiming(b.data(), b.size(), t));
    EXPECT_EQ(t.totalTicks, 16);
  }
}

}  // namespace
}  // namespace kelvra
