// The background music: original pieces composed here from chord progressions, with a
// melody grown from a two-bar motif, chords, bass and drums on General MIDI instruments.
// Every piece is a whole number of 4/4 bars, starts on its first beat and ends on the tonic
// with no note sounding past the end, so the player can loop it without a seam.
#include <algorithm>
#include <string>
#include <vector>

#include "Content.h"
#include "Midi.h"

namespace kelvra::content {

namespace {

constexpr int kDivision = 480;  // ticks per quarter note
constexpr uint32_t kEighth = kDivision / 2, kBar = kDivision * 4;
constexpr int kSectionBars = 8;
constexpr int kLeadChannel = 0, kChordChannel = 1, kBassChannel = 2, kDrumChannel = 9;

const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};
const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
const int kDorian[7] = {0, 2, 3, 5, 7, 9, 10};

enum class TChords { Arpeggio, Pad, Stabs };
enum class TBass { RootFifth, Pump, Walking };
enum class TDrums { Rock, Light, Toms, Disco };

struct TPiece {
  const char* file;  // below "Sounds\Music\"
  const char* title;
  double bpm;
  int tonic;  // MIDI key of the tonic in the bass octave
  const int* scale;
  std::vector<int> sectionA, sectionB;  // scale degree of each bar's chord, 0 = tonic
  std::string form;                     // sections in order, ending with "A"
  int lead, chords, bass;               // General MIDI programs (0-based)
  TChords chordStyle;
  TBass bassStyle;
  TDrums drumStyle;
  uint32_t seed;
  bool rmi;
};

// A small fixed random sequence for the composer's choices.
struct TDice {
  uint32_t state;
  int Roll(int n) {
    state = state * 1664525u + 1013904223u;
    return int((uint64_t(state >> 8) * uint32_t(n)) >> 24);
  }
};

int Key(const TPiece& p, int degree, int octave) {
  const int d = ((degree % 7) + 7) % 7;
  const int o = (degree - d) / 7;
  return p.tonic + 12 * (octave + o) + p.scale[d];
}

// Melody rhythms of one bar in eighths: onset and length pairs.
const std::vector<std::vector<std::pair<int, int>>> kRhythms = {
    {{0, 2}, {2, 2}, {4, 2}, {6, 2}}, {{0, 1}, {1, 1}, {2, 2}, {4, 2}, {6, 2}},
    {{0, 3}, {3, 1}, {4, 4}},         {{0, 2}, {2, 1}, {3, 1}, {4, 2}, {6, 2}},
    {{0, 4}, {4, 2}, {6, 2}},         {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 2}, {6, 2}},
    {{0, 2}, {2, 2}, {4, 3}, {7, 1}},
};

// The nearest degree to `want` that is a tone of the chord on `chord`.
int NearestChordTone(int want, int chord) {
  int best = want, bestDist = 99;
  for (int d = want - 3; d <= want + 3; ++d) {
    const int rel = ((d - chord) % 7 + 7) % 7;
    if ((rel == 0 || rel == 2 || rel == 4) && std::abs(d - want) < bestDist) {
      best = d;
      bestDist = std::abs(d - want);
    }
  }
  return best;
}

// The melody of one section, as degrees above the tonic one octave up; a two-bar motif
// heard twice, an answer, the motif again and a cadence on the section's last chord.
void Melody(const TPiece& p, const std::vector<int>& chords, uint32_t seed, uint32_t start,
            TMidiTrack& track) {
  TDice dice{seed};
  const int r0 = dice.Roll(int(kRhythms.size())), r1 = dice.Roll(int(kRhythms.size()));
  const int r2 = dice.Roll(int(kRhythms.size())), r3 = dice.Roll(int(kRhythms.size()));
  const int bars[kSectionBars] = {r0, r1, r0, r1, r2, r3, r0, -1};
  std::vector<int> motifSteps;  // the contour of bars 0..1, reused in bars 2..3 and 6
  int cur = NearestChordTone(7 + 2, chords[0]);
  for (int bar = 0; bar < kSectionBars; ++bar) {
    const int chord = chords[bar];
    const uint32_t barTick = start + bar * kBar;
    if (bars[bar] < 0) {  // cadence: one long chord tone near the middle of the range
      cur = NearestChordTone(std::clamp(cur, 6, 12), chord);
      track.Note(barTick, kLeadChannel, Key(p, cur, 1), 96, kEighth * 6 - 30);
      continue;
    }
    const auto& rhythm = kRhythms[bars[bar]];
    for (size_t i = 0; i < rhythm.size(); ++i) {
      const auto [onset, length] = rhythm[i];
      const bool strong = onset == 0 || onset == 4;
      const size_t motifIndex = (bar % 2 == 0 ? 0 : kRhythms[r0].size()) + i;
      int step;
      if ((bar == 2 || bar == 3 || bar == 6) && motifIndex < motifSteps.size())
        step = motifSteps[motifIndex];
      else
        step = dice.Roll(5) - 2;
      if (bar < 2) motifSteps.push_back(step);
      int next = cur + step;
      if (next > 15) next -= 3;
      if (next < 4) next += 3;
      if (strong) next = NearestChordTone(next, chord);
      cur = next;
      const int velocity = (strong ? 104 : 88) + dice.Roll(9) - 4;
      track.Note(barTick + onset * kEighth, kLeadChannel, Key(p, cur, 1), velocity,
                 length * kEighth - 40);
    }
  }
}

void Chords(const TPiece& p, int chord, uint32_t bar, TDice& dice, TMidiTrack& track) {
  const int tones[3] = {Key(p, chord, 1), Key(p, chord + 2, 1), Key(p, chord + 4, 1)};
  switch (p.chordStyle) {
    case TChords::Arpeggio: {
      const int order[8] = {0, 1, 2, 1, 0, 1, 2, 1};
      for (int i = 0; i < 8; ++i)
        track.Note(bar + i * kEighth, kChordChannel, tones[order[i]] + (i == 2 ? 12 : 0),
                   70 + dice.Roll(7), kEighth - 20);
      break;
    }
    case TChords::Pad:
      for (int t : tones) track.Note(bar, kChordChannel, t, 62, kBar - 20);
      break;
    case TChords::Stabs:
      for (int i = 1; i < 8; i += 2)
        for (int t : tones) track.Note(bar + i * kEighth, kChordChannel, t, 78, kEighth / 2);
      break;
  }
}

void Bass(const TPiece& p, int chord, int nextChord, uint32_t bar, TMidiTrack& track) {
  const int root = Key(p, chord, 0), fifth = Key(p, chord + 4, 0);
  switch (p.bassStyle) {
    case TBass::RootFifth: {
      const int keys[4] = {root, root, fifth, root + 12};
      for (int i = 0; i < 4; ++i)
        track.Note(bar + i * kDivision, kBassChannel, keys[i], i == 0 ? 108 : 92, kDivision - 40);
      break;
    }
    case TBass::Pump:
      for (int i = 0; i < 8; ++i)
        track.Note(bar + i * kEighth, kBassChannel, (i % 4 == 3) ? root + 12 : root,
                   i % 2 ? 84 : 104, kEighth - 30);
      break;
    case TBass::Walking: {
      const int next = Key(p, nextChord, 0);
      const int approach = next > root ? next - 1 : next + 1;
      const int keys[4] = {root, Key(p, chord + 2, 0), fifth, approach};
      for (int i = 0; i < 4; ++i)
        track.Note(bar + i * kDivision, kBassChannel, keys[i], i == 0 ? 104 : 90, kDivision - 30);
      break;
    }
  }
}

// General MIDI percussion keys.
constexpr int kKick = 36, kSnare = 38, kRim = 37, kClap = 39, kClosedHat = 42, kOpenHat = 46,
              kCrash = 49, kRide = 51, kLowTom = 45, kMidTom = 47, kHighTom = 50;

void Drums(const TPiece& p, int barInSection, uint32_t bar, TMidiTrack& track) {
  const auto hit = [&](int eighth, int key, int velocity) {
    track.Note(bar + eighth * kEighth, kDrumChannel, key, velocity, kEighth / 2);
  };
  if (barInSection == 0) hit(0, kCrash, 100);
  const bool fill = barInSection == kSectionBars - 1;
  switch (p.drumStyle) {
    case TDrums::Rock:
      hit(0, kKick, 110);
      hit(3, kKick, 90);
      hit(4, kKick, 105);
      hit(2, kSnare, 105);
      for (int i = 0; i < (fill ? 6 : 8); ++i) hit(i, kClosedHat, i % 2 ? 64 : 84);
      if (fill) {
        hit(6, kSnare, 96);
        track.Note(bar + 6 * kEighth + kEighth / 2, kDrumChannel, kSnare, 84, kEighth / 2);
        hit(7, kHighTom, 100);
        track.Note(bar + 7 * kEighth + kEighth / 2, kDrumChannel, kLowTom, 104, kEighth / 2);
      } else {
        hit(6, kSnare, 105);
      }
      break;
    case TDrums::Light:
      hit(0, kKick, 96);
      hit(4, kKick, 90);
      hit(2, kRim, 80);
      hit(6, kRim, 84);
      for (int i = 0; i < 8; i += 2) hit(i, kRide, 70);
      hit(5, kClosedHat, 56);
      if (fill) {
        hit(6, kMidTom, 90);
        hit(7, kLowTom, 96);
      }
      break;
    case TDrums::Toms:
      hit(0, kKick, 100);
      hit(3, kKick, 80);
      hit(4, kSnare, 90);
      hit(6, kLowTom, 84);
      for (int i = 0; i < 8; ++i) hit(i, kClosedHat, i % 2 ? 48 : 62);
      if (fill) {
        hit(5, kHighTom, 92);
        hit(7, kMidTom, 96);
      }
      break;
    case TDrums::Disco:
      for (int i = 0; i < 8; i += 2) hit(i, kKick, 108);
      hit(2, kClap, 96);
      hit(6, kClap, fill ? 110 : 96);
      for (int i = 1; i < 8; i += 2) hit(i, kOpenHat, 70);
      for (int i = 0; i < 8; i += 2) hit(i, kClosedHat, 60);
      break;
  }
}

std::vector<uint8_t> Compose(const TPiece& p) {
  const uint32_t bars = uint32_t(p.form.size()) * kSectionBars;
  const uint32_t end = bars * kBar;
  TMidiTrack conductor(p.title);
  conductor.Tempo(0, p.bpm);
  conductor.TimeSignature(0, 4, 2);
  conductor.End(end);
  TMidiTrack lead("Melody"), chords("Chords"), bass("Bass"), drums("Drums");
  const auto setup = [](TMidiTrack& t, int channel, int program, int volume, int pan) {
    if (program >= 0) t.Program(0, channel, program);
    t.Controller(0, channel, 7, volume);  // channel volume
    t.Controller(0, channel, 10, pan);    // pan, 64 centre
    t.Controller(0, channel, 91, 40);     // reverb send
  };
  setup(lead, kLeadChannel, p.lead, 100, 60);
  setup(chords, kChordChannel, p.chords, 78, 78);
  setup(bass, kBassChannel, p.bass, 104, 58);
  setup(drums, kDrumChannel, -1, 96, 64);
  TDice dice{p.seed};
  for (size_t s = 0; s < p.form.size(); ++s) {
    const std::vector<int>& prog = p.form[s] == 'A' ? p.sectionA : p.sectionB;
    const uint32_t start = uint32_t(s) * kSectionBars * kBar;
    // Each section letter always has the same melody, so the tune comes back.
    Melody(p, prog, p.seed * 31 + uint32_t(p.form[s]), start, lead);
    for (int b = 0; b < kSectionBars; ++b) {
      const uint32_t bar = start + b * kBar;
      const int next = b + 1 < kSectionBars ? prog[b + 1] : 0;
      Chords(p, prog[b], bar, dice, chords);
      Bass(p, prog[b], next, bar, bass);
      Drums(p, b, bar, drums);
    }
  }
  for (TMidiTrack* t : {&lead, &chords, &bass, &drums}) t->End(end);
  return EncodeMidiFile({conductor, lead, chords, bass, drums}, kDivision);
}

void MakeMusic(TContent& content) {
  const TPiece pieces[] = {
      {"Brickfall Drive",
       "Brickfall Drive",
       138,
       45,
       kMinor,
       {0, 5, 2, 6, 0, 5, 2, 6},
       {3, 4, 0, 0, 5, 6, 4, 4},
       "AABABA",
       80,
       90,
       38,
       TChords::Arpeggio,
       TBass::Pump,
       TDrums::Rock,
       11,
       false},
      {"Monster Maze",
       "Monster Maze",
       112,
       40,
       kMinor,
       {0, 0, 3, 3, 5, 4, 0, 0},
       {3, 3, 0, 0, 5, 5, 4, 4},
       "AABABA",
       12,
       45,
       32,
       TChords::Stabs,
       TBass::Walking,
       TDrums::Light,
       23,
       false},
      {"Deep Burrow",
       "Deep Burrow",
       92,
       38,
       kDorian,
       {0, 3, 0, 3, 0, 3, 6, 0},
       {6, 6, 3, 3, 4, 4, 0, 0},
       "ABABA",
       73,
       48,
       33,
       TChords::Pad,
       TBass::RootFifth,
       TDrums::Toms,
       37,
       false},
      {"High Score Parade",
       "High Score Parade",
       126,
       41,
       kMajor,
       {0, 5, 3, 4, 0, 5, 3, 4},
       {3, 4, 2, 5, 3, 4, 0, 0},
       "AABABA",
       61,
       4,
       36,
       TChords::Arpeggio,
       TBass::Pump,
       TDrums::Disco,
       41,
       false},
      {"Night Shift",
       "Night Shift",
       100,
       43,
       kMinor,
       {0, 5, 3, 4, 0, 5, 3, 4},
       {5, 6, 0, 0, 3, 4, 0, 4},
       "AABA",
       26,
       89,
       39,
       TChords::Pad,
       TBass::Walking,
       TDrums::Light,
       53,
       true},
  };
  for (const TPiece& p : pieces) {
    const std::vector<uint8_t> smf = Compose(p);
    const std::string name = std::string("Sounds\\Music\\") + p.file;
    if (p.rmi)
      content.WriteBytes(name + ".rmi", WrapRmi(smf));
    else
      content.WriteBytes(name + ".mid", smf);
  }
}

TRegisterGenerator registerMusic("music", 400, MakeMusic);

}  // namespace

}  // namespace kelvra::content
