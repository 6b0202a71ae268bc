// The Standard MIDI File writer and the ".rmi" wrapper.
#include "Midi.h"

#include <algorithm>
#include <cmath>

namespace kelvra::content {

namespace {
void PutVarLen(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t bytes[5];
  int n = 0;
  do {
    bytes[n++] = v & 0x7F;
    v >>= 7;
  } while (v);
  while (n > 1) out.push_back(bytes[--n] | 0x80);
  out.push_back(bytes[0]);
}
void PutBE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(v >> (8 * i)));
}
void PutLE32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
}  // namespace

TMidiTrack::TMidiTrack(const std::string& name) {
  std::vector<uint8_t> meta = {0xFF, 0x03};
  PutVarLen(meta, uint32_t(name.size()));
  meta.insert(meta.end(), name.begin(), name.end());
  Push(0, 0, meta);
}

void TMidiTrack::Push(uint32_t tick, int order, std::vector<uint8_t> bytes) {
  events_.push_back({tick, order, uint32_t(events_.size()), std::move(bytes)});
}

void TMidiTrack::Tempo(uint32_t tick, double bpm) {
  const uint32_t us = uint32_t(std::lround(60000000.0 / bpm));
  Push(tick, 0, {0xFF, 0x51, 0x03, uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)});
}

void TMidiTrack::TimeSignature(uint32_t tick, int numerator, int denominatorPower) {
  Push(tick, 0, {0xFF, 0x58, 0x04, uint8_t(numerator), uint8_t(denominatorPower), 24, 8});
}

void TMidiTrack::Program(uint32_t tick, int channel, int program) {
  Push(tick, 0, {uint8_t(0xC0 | (channel & 15)), uint8_t(program & 0x7F)});
}

void TMidiTrack::Controller(uint32_t tick, int channel, int controller, int value) {
  Push(tick, 0,
       {uint8_t(0xB0 | (channel & 15)), uint8_t(controller & 0x7F), uint8_t(value & 0x7F)});
}

void TMidiTrack::Note(uint32_t tick, int channel, int key, int velocity, uint32_t length) {
  const uint8_t k = uint8_t(std::clamp(key, 0, 127));
  const uint8_t v = uint8_t(std::clamp(velocity, 1, 127));
  Push(tick, 2, {uint8_t(0x90 | (channel & 15)), k, v});
  Push(tick + std::max<uint32_t>(1, length), 1, {uint8_t(0x80 | (channel & 15)), k, 0});
}

std::vector<uint8_t> TMidiTrack::Encode() const {
  std::vector<TEvent> sorted = events_;
  std::sort(sorted.begin(), sorted.end(), [](const TEvent& a, const TEvent& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    if (a.order != b.order) return a.order < b.order;
    return a.seq < b.seq;
  });
  std::vector<uint8_t> body;
  uint32_t now = 0;
  for (const TEvent& e : sorted) {
    PutVarLen(body, e.tick - now);
    now = e.tick;
    body.insert(body.end(), e.bytes.begin(), e.bytes.end());
  }
  PutVarLen(body, end_ > now ? end_ - now : 0);
  body.insert(body.end(), {0xFF, 0x2F, 0x00});
  std::vector<uint8_t> chunk = {'M', 'T', 'r', 'k'};
  PutBE(chunk, uint32_t(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

std::vector<uint8_t> EncodeMidiFile(const std::vector<TMidiTrack>& tracks, int division) {
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
  PutBE(out, 1, 2);  // format 1
  PutBE(out, uint32_t(tracks.size()), 2);
  PutBE(out, uint32_t(division), 2);
  for (const TMidiTrack& t : tracks) {
    const std::vector<uint8_t> chunk = t.Encode();
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

std::vector<uint8_t> WrapRmi(const std::vector<uint8_t>& smf) {
  const uint32_t dataSize = uint32_t(smf.size());
  const uint32_t padded = dataSize + (dataSize & 1);  // RIFF chunks are word aligned
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
  PutLE32(out, 4 + 8 + padded);
  out.insert(out.end(), {'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'});
  PutLE32(out, dataSize);
  out.insert(out.end(), smf.begin(), smf.end());
  if (dataSize & 1) out.push_back(0);
  return out;
}

}  // namespace kelvra::content
