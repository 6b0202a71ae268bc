// A small synthesiser for sound effects in the manner of the classic retro effect
// generators: one oscillator a voice (square, saw, sine, triangle, noise) with pitch
// slides, vibrato, arpeggio steps, duty sweep, an ADSR envelope with punch, and low- and
// high-pass filters; voices are mixed, cleaned of DC, normalised and faded at the edges.
#pragma once

#include <cstdint>
#include <vector>

namespace kelvra::content {

constexpr int kEffectRate = 22050;  // Hz, mono 16-bit

enum class TWaveform { Square, Saw, Sine, Triangle, Noise };

struct TTone {
  TWaveform wave = TWaveform::Square;
  double start = 0;         // s, from the start of the effect
  double freq = 440;        // Hz at the start; for noise, how often a new value is drawn
  double slide = 0;         // octaves per second (negative falls)
  double slideAccel = 0;    // octaves per second, per second
  double minFreq = 20;      // Hz; the pitch never falls below this
  double duty = 0.5;        // square: share of the period spent high, 0.05..0.95
  double dutySweep = 0;     // per second
  double vibratoDepth = 0;  // semitones
  double vibratoRate = 0;   // Hz
  double arpTime = 0;       // s; after it the pitch is multiplied by arpMul (0: no arpeggio)
  double arpMul = 1;
  bool arpRepeat = false;  // multiply again every arpTime
  // Envelope in s: rise to full, fall to the sustain level (from 1 + punch), hold, release.
  double attack = 0.003, decay = 0.05, sustain = 0.6, hold = 0.05, release = 0.08;
  double punch = 0;
  double lowPass = 0;       // Hz cutoff, 0 for none
  double lowPassSweep = 0;  // octaves per second
  double resonance = 0;     // 0..0.9
  double highPass = 0;      // Hz cutoff, 0 for none
  double volume = 1;
  uint32_t seed = 1;  // noise sequence

  double Length() const { return attack + decay + hold + release; }
};

class TEffect {
 public:
  void Add(const TTone& tone);
  // A note of an equal-tempered scale: MIDI note number (69 = A 440 Hz) on `base`.
  void Note(TTone base, int midiNote, double start, double length, double volume = 1);
  // The mix as 16-bit samples: DC removed, peak at `peak` of full scale, 2 ms fade in and
  // 8 ms fade out so the edges never click.
  std::vector<int16_t> Finish(double peak = 0.89) const;

 private:
  std::vector<double> mix_;
};

double MidiToHz(double note);

}  // namespace kelvra::content
