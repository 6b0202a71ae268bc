// The effect synthesiser: voice rendering, mixing and the final clean-up.
#include "Synth.h"

#include <algorithm>
#include <cmath>

#include "Paint.h"

namespace kelvra::content {

namespace {
constexpr double kPi = 3.14159265358979323846;

double Envelope(const TTone& t, double s) {
  if (s < t.attack) return s / t.attack;
  s -= t.attack;
  if (s < t.decay) return 1 + t.punch + (t.sustain - 1 - t.punch) * (s / t.decay);
  s -= t.decay;
  if (s < t.hold) return t.sustain;
  s -= t.hold;
  if (s < t.release) return t.sustain * std::pow(1 - s / t.release, 1.6);
  return 0;
}
}  // namespace

double MidiToHz(double note) {
  return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

void TEffect::Add(const TTone& t) {
  const int first = int(std::lround(t.start * kEffectRate));
  const int count = int(std::ceil(t.Length() * kEffectRate));
  if (int(mix_.size()) < first + count) mix_.resize(first + count, 0.0);
  double phase = 0, noise = 0;
  uint32_t rng = t.seed * 2654435761u + 12345;
  const auto nextNoise = [&] {
    rng = rng * 1664525u + 1013904223u;
    return (HashMix(rng) / 2147483647.5) - 1.0;
  };
  noise = nextNoise();
  // Two-pole state-variable filter, and a one-pole high-pass.
  double low = 0, band = 0, hpPrevIn = 0, hpOut = 0;
  for (int i = 0; i < count; ++i) {
    const double s = double(i) / kEffectRate;
    double freq = t.freq * std::pow(2.0, t.slide * s + 0.5 * t.slideAccel * s * s);
    if (t.arpTime > 0 && s >= t.arpTime)
      freq *= t.arpRepeat ? std::pow(t.arpMul, std::floor(s / t.arpTime)) : t.arpMul;
    if (t.vibratoDepth > 0)
      freq *= std::pow(2.0, t.vibratoDepth / 12 * std::sin(2 * kPi * t.vibratoRate * s));
    freq = std::clamp(freq, t.minFreq, kEffectRate / 2.0);
    phase += freq / kEffectRate;
    const bool wrapped = phase >= 1;
    phase -= std::floor(phase);
    double v = 0;
    switch (t.wave) {
      case TWaveform::Square: {
        const double duty = std::clamp(t.duty + t.dutySweep * s, 0.05, 0.95);
        v = phase < duty ? 0.7 : -0.7;
        break;
      }
      case TWaveform::Saw:
        v = 0.8 * (2 * phase - 1);
        break;
      case TWaveform::Sine:
        v = std::sin(2 * kPi * phase);
        break;
      case TWaveform::Triangle:
        v = 1 - 4 * std::abs(phase - 0.5);
        break;
      case TWaveform::Noise:
        if (wrapped) noise = nextNoise();
        v = noise;
        break;
    }
    if (t.lowPass > 0) {
      // Run twice a sample: the filter stays stable up to a third of the sample rate.
      const double cutoff =
          std::clamp(t.lowPass * std::pow(2.0, t.lowPassSweep * s), 30.0, kEffectRate * 0.3);
      const double f = 2 * std::sin(kPi * cutoff / (2.0 * kEffectRate));
      const double q = 1.0 - std::clamp(t.resonance, 0.0, 0.9);
      for (int pass = 0; pass < 2; ++pass) {
        low += f * band;
        const double high = v - low - q * band;
        band += f * high;
      }
      v = low;
    }
    if (t.highPass > 0) {
      const double a = 1.0 / (1.0 + 2 * kPi * t.highPass / kEffectRate);
      hpOut = a * (hpOut + v - hpPrevIn);
      hpPrevIn = v;
      v = hpOut;
    }
    mix_[first + i] += v * Envelope(t, s) * t.volume;
  }
}

void TEffect::Note(TTone base, int midiNote, double start, double length, double volume) {
  base.freq = MidiToHz(midiNote);
  base.start = start;
  base.hold = std::max(0.0, length - base.attack - base.decay);
  base.volume = volume;
  Add(base);
}

std::vector<int16_t> TEffect::Finish(double peak) const {
  std::vector<double> v = mix_;
  // DC blocker (about 20 Hz), so held noise values never leave the wave off centre.
  double prevIn = 0, prevOut = 0;
  for (double& x : v) {
    const double out = x - prevIn + 0.9943 * prevOut;
    prevIn = x;
    prevOut = out;
    x = out;
  }
  double top = 0;
  for (double x : v) top = std::max(top, std::abs(x));
  const double gain = top > 0 ? peak / top : 0;
  const int fadeIn = kEffectRate * 2 / 1000, fadeOut = kEffectRate * 8 / 1000;
  std::vector<int16_t> out(v.size());
  for (size_t i = 0; i < v.size(); ++i) {
    double g = gain;
    if (int(i) < fadeIn) g *= double(i) / fadeIn;
    const size_t left = v.size() - 1 - i;
    if (int(left) < fadeOut) g *= double(left) / fadeOut;
    out[i] = int16_t(std::lround(std::clamp(v[i] * g, -1.0, 1.0) * 32767));
  }
  return out;
}

}  // namespace kelvra::content
