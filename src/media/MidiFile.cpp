// The ".rmi" unwrapping and the tempo map of standard MIDI files.
#include "media/MidiFile.h"

#include <algorithm>
#include <cstring>

namespace kelvra {

namespace {

uint32_t LE32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint32_t BE32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
uint16_t BE16(const uint8_t* p) {
  return uint16_t(p[0] << 8 | p[1]);
}

// Reads a variable-length quantity (at most 4 bytes); false past `end` or when too long.
bool ReadVarLen(const uint8_t*& p, const uint8_t* end, uint32_t& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    if (p >= end) return false;
    uint8_t b = *p++;
    value = value << 7 | (b & 0x7F);
    if (!(b & 0x80)) return true;
  }
  return false;
}

// Walks one track's events, collecting tempo changes; returns the tick the track ends at.
int64_t ReadTrack(const uint8_t* p, const uint8_t* end, std::vector<TMidiTiming::TTempo>& tempos) {
  int64_t tick = 0;
  uint8_t running = 0;
  while (p < end) {
    uint32_t delta;
    if (!ReadVarLen(p, end, delta) || p >= end) break;
    tick += delta;
    uint8_t status = *p;
    if (status & 0x80) {
      ++p;
    } else if (running) {
      status = running;  // running status: the byte is the first data byte
    } else {
      break;
    }
    if (status == 0xFF) {
      if (p >= end) break;
      const uint8_t type = *p++;
      uint32_t length;
      if (!ReadVarLen(p, end, length) || length > size_t(end - p)) break;
      if (type == 0x51 && length == 3) {
        const int64_t us = int64_t(p[0]) << 16 | int64_t(p[1]) << 8 | p[2];
        if (us > 0) tempos.push_back({tick, us, 0});
      }
      p += length;
      if (type == 0x2F) break;  // end of track
    } else if (status == 0xF0 || status == 0xF7) {
      uint32_t length;
      if (!ReadVarLen(p, end, length) || length > size_t(end - p)) break;
      p += length;
    } else if (status >= 0xF0) {
      // System common and real-time messages do not belong in files; stop reading.
      break;
    } else {
      running = status;
      const int bytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
      if (end - p < bytes) break;
      p += bytes;
    }
  }
  return tick;
}

}  // namespace

std::vector<uint8_t> UnwrapMidi(const uint8_t* data, size_t size) {
  if (size >= 4 && std::memcmp(data, "MThd", 4) == 0) return {data, data + size};
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "RMID", 4) != 0)
    return {};
  // The RIFF size may be off in files from the wild; the chunks are bounded by the file.
  const uint64_t riffEnd = std::min<uint64_t>(size, 8 + uint64_t(LE32(data + 4)));
  uint64_t pos = 12;
  while (pos + 8 <= riffEnd) {
    const uint32_t length = LE32(data + pos + 4);
    if (std::memcmp(data + pos, "data", 4) == 0) {
      if (pos + 8 + length > size) return {};
      const uint8_t* smf = data + pos + 8;
      if (length < 4 || std::memcmp(smf, "MThd", 4) != 0) return {};
      return {smf, smf + length};
    }
    pos += 8 + uint64_t(length) + (length & 1);
  }
  return {};
}

bool ReadMidiTiming(const uint8_t* data, size_t size, TMidiTiming& timing) {
  timing = TMidiTiming{};
  if (size < 14 || std::memcmp(data, "MThd", 4) != 0) return false;
  const uint32_t headerLength = BE32(data + 4);
  if (headerLength < 6 || headerLength > size - 8) return false;
  const uint16_t tracks = BE16(data + 10);
  const uint16_t division = BE16(data + 12);
  if (division & 0x8000) {
    // SMPTE: frames per second (negative) and ticks per frame; 29 stands for 29.97 frames
    // per second (drop frame), taken as 30 here.
    int fps = -int(int8_t(division >> 8));
    if (fps == 29) fps = 30;
    timing.smpte = true;
    timing.division = fps * (division & 0xFF);
  } else {
    timing.division = division;
  }
  if (timing.division <= 0 || tracks == 0) return false;

  std::vector<TMidiTiming::TTempo> tempos;
  const uint8_t* end = data + size;
  const uint8_t* p = data + 8 + headerLength;
  int found = 0;
  while (found < tracks && end - p >= 8) {
    const uint32_t length = BE32(p + 4);
    const uint8_t* body = p + 8;
    const uint8_t* bodyEnd = length > size_t(end - body) ? end : body + length;
    if (std::memcmp(p, "MTrk", 4) == 0) {
      timing.totalTicks = std::max(timing.totalTicks, ReadTrack(body, bodyEnd, tempos));
      ++found;
    }
    p = bodyEnd;
  }
  if (found == 0) return false;

  // Tempo changes of all tracks act together, in tick order; at one tick the last one holds.
  std::stable_sort(tempos.begin(), tempos.end(),
                   [](const auto& a, const auto& b) { return a.tick < b.tick; });
  for (const auto& t : tempos) {
    if (t.tick == timing.tempos.back().tick)
      timing.tempos.back().usPerQuarter = t.usPerQuarter;
    else
      timing.tempos.push_back(t);
  }
  for (size_t i = 1; i < timing.tempos.size(); ++i) {
    const auto& prev = timing.tempos[i - 1];
    timing.tempos[i].atUs = prev.atUs + double(timing.tempos[i].tick - prev.tick) *
                                            double(prev.usPerQuarter) / timing.division;
  }
  return true;
}

int64_t TMidiTiming::TicksToMs(int64_t tick) const {
  if (tick <= 0) return 0;
  if (smpte) return int64_t(double(tick) * 1000.0 / division);
  auto it = std::upper_bound(tempos.begin(), tempos.end(), tick,
                             [](int64_t t, const TTempo& tempo) { return t < tempo.tick; });
  const TTempo& tempo = *(it - 1);
  const double us = tempo.atUs + double(tick - tempo.tick) * double(tempo.usPerQuarter) / division;
  return int64_t(us / 1000.0);
}

int64_t TMidiTiming::MsToTicks(int64_t ms) const {
  if (ms <= 0) return 0;
  if (smpte) return int64_t(double(ms) * division / 1000.0);
  const double us = double(ms) * 1000.0;
  auto it = std::upper_bound(tempos.begin(), tempos.end(), us,
                             [](double u, const TTempo& tempo) { return u < tempo.atUs; });
  const TTempo& tempo = *(it - 1);
  return tempo.tick + int64_t((us - tempo.atUs) * division / double(tempo.usPerQuarter));
}

}  // namespace kelvra
