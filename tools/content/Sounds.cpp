// The 27 sound effects of the sound table, each built from synthesiser voices so that it
// sounds like the event it stands for.
#include <string>

#include "Content.h"
#include "Synth.h"

namespace kelvra::content {

namespace {

using W = TWaveform;

TTone Tone(W wave, double freq, double attack, double decay, double sustain, double hold,
           double release) {
  TTone t;
  t.wave = wave;
  t.freq = freq;
  t.attack = attack;
  t.decay = decay;
  t.sustain = sustain;
  t.hold = hold;
  t.release = release;
  return t;
}

// Explosions: a burst of low-passed noise whose cutoff falls as it dies away, over a
// falling sine thump; bigger blasts are longer, darker and deeper.
TEffect Explosion(int size) {
  TEffect e;
  const double length[] = {0.22, 0.42, 0.75, 1.25};
  const double cutoff[] = {3800, 2600, 1700, 1100};
  TTone n = Tone(W::Noise, 9000, 0.002, 0.04, 0.7, 0.02, length[size]);
  n.punch = 0.5;
  n.lowPass = cutoff[size];
  n.lowPassSweep = -2.2 / length[size];
  n.seed = 19 + size;
  e.Add(n);
  TTone crackle = Tone(W::Noise, 1400 - size * 250, 0.001, 0.03, 0.35, 0.0, length[size] * 0.6);
  crackle.seed = 40 + size;
  crackle.volume = 0.45;
  e.Add(crackle);
  TTone thump = Tone(W::Sine, 110 - size * 18, 0.002, 0.05, 0.8, 0.02, length[size] * 0.7);
  thump.slide = -1.5;
  thump.volume = 0.6 + 0.15 * size;
  e.Add(thump);
  return e;
}

// A gunshot: a sharp noise crack with a quick fall of its brightness and a body thump.
void Shot(TEffect& e, double start, double volume, uint32_t seed) {
  TTone crack = Tone(W::Noise, 11000, 0.001, 0.02, 0.4, 0.0, 0.12);
  crack.start = start;
  crack.punch = 0.8;
  crack.lowPass = 6000;
  crack.lowPassSweep = -9;
  crack.volume = volume;
  crack.seed = seed;
  e.Add(crack);
  TTone body = Tone(W::Square, 180, 0.001, 0.03, 0.3, 0.0, 0.06);
  body.start = start;
  body.slide = -5;
  body.duty = 0.3;
  body.volume = 0.5 * volume;
  body.lowPass = 1200;
  e.Add(body);
}

TEffect Move() {  // a light step
  TEffect e;
  TTone t = Tone(W::Square, 620, 0.002, 0.02, 0.5, 0.01, 0.03);
  t.duty = 0.25;
  t.slide = 3;
  t.lowPass = 3500;
  e.Add(t);
  return e;
}

TEffect NotMove() {  // blocked: a dull low bonk
  TEffect e;
  TTone t = Tone(W::Square, 160, 0.002, 0.03, 0.6, 0.04, 0.06);
  t.slide = -2.5;
  t.lowPass = 900;
  e.Add(t);
  TTone t2 = t;
  t2.freq = 120;
  t2.start = 0.005;
  t2.volume = 0.6;
  e.Add(t2);
  return e;
}

// Game-start jingles: a short tune per game, lead over a bass, in each game's character.
TEffect BrickfallStart() {  // bright and bouncy, C major, square lead
  TEffect e;
  TTone lead = Tone(W::Square, 0, 0.004, 0.04, 0.55, 0, 0.05);
  lead.duty = 0.5;
  lead.dutySweep = -0.6;
  lead.lowPass = 5000;
  const int notes[] = {72, 76, 79, 84, 79, 84};
  const double at[] = {0, 0.1, 0.2, 0.3, 0.45, 0.55};
  const double len[] = {0.08, 0.08, 0.08, 0.12, 0.08, 0.45};
  for (int i = 0; i < 6; ++i) e.Note(lead, notes[i], at[i], len[i], 0.8);
  TTone bass = Tone(W::Triangle, 0, 0.004, 0.05, 0.8, 0, 0.08);
  e.Note(bass, 48, 0.0, 0.25);
  e.Note(bass, 43, 0.3, 0.12);
  e.Note(bass, 48, 0.55, 0.45);
  return e;
}

TEffect MonstersStart() {  // sneaky minor walk up that ends on a cheeky major chord
  TEffect e;
  TTone lead = Tone(W::Square, 0, 0.003, 0.03, 0.5, 0, 0.04);
  lead.duty = 0.125;
  const int notes[] = {57, 60, 64, 63, 62, 61};
  for (int i = 0; i < 6; ++i) e.Note(lead, notes[i], i * 0.09, 0.07, 0.7);
  TTone chord = Tone(W::Triangle, 0, 0.005, 0.06, 0.7, 0, 0.25);
  chord.vibratoDepth = 0.15;
  chord.vibratoRate = 6;
  for (int n : {60, 64, 67, 72}) e.Note(chord, n, 0.58, 0.35, 0.45);
  TTone bass = Tone(W::Square, 0, 0.003, 0.05, 0.6, 0, 0.06);
  bass.lowPass = 700;
  e.Note(bass, 45, 0.0, 0.15);
  e.Note(bass, 40, 0.27, 0.15);
  e.Note(bass, 36, 0.58, 0.35);
  return e;
}

TEffect BurrowerStart() {  // dark D minor rise with a rumbling low saw, the digging game
  TEffect e;
  TTone lead = Tone(W::Saw, 0, 0.006, 0.06, 0.6, 0, 0.08);
  lead.lowPass = 2200;
  lead.resonance = 0.4;
  const int notes[] = {62, 65, 69, 74, 72, 74};
  const double at[] = {0, 0.12, 0.24, 0.36, 0.54, 0.66};
  const double len[] = {0.1, 0.1, 0.1, 0.16, 0.1, 0.5};
  for (int i = 0; i < 6; ++i) e.Note(lead, notes[i], at[i], len[i], 0.7);
  TTone rumble = Tone(W::Saw, 0, 0.02, 0.1, 0.8, 0, 0.3);
  rumble.lowPass = 400;
  e.Note(rumble, 38, 0.0, 0.8, 0.7);
  TTone dig = Tone(W::Noise, 3000, 0.001, 0.02, 0.3, 0.0, 0.05);
  dig.highPass = 1500;
  for (int i = 0; i < 3; ++i) {
    dig.start = 0.36 + i * 0.06;
    dig.seed = 70 + i;
    dig.volume = 0.35;
    e.Add(dig);
  }
  return e;
}

TEffect WeaponSwitch() {  // two clicks of a mechanism and a small ping
  TEffect e;
  for (int i = 0; i < 2; ++i) {
    TTone click = Tone(W::Noise, 12000, 0.001, 0.01, 0.3, 0.0, 0.02);
    click.highPass = 2500;
    click.start = i * 0.07;
    click.seed = 80 + i;
    e.Add(click);
  }
  TTone ping = Tone(W::Square, 1500, 0.001, 0.02, 0.3, 0.0, 0.06);
  ping.duty = 0.25;
  ping.start = 0.07;
  ping.volume = 0.35;
  e.Add(ping);
  return e;
}

TEffect Pistol() {
  TEffect e;
  Shot(e, 0, 1, 90);
  return e;
}

TEffect Laser() {  // the paddle's shot: a quick falling "pew"
  TEffect e;
  TTone t = Tone(W::Square, 1400, 0.001, 0.03, 0.6, 0.03, 0.1);
  t.slide = -6;
  t.duty = 0.3;
  t.dutySweep = 1.5;
  e.Add(t);
  TTone t2 = t;
  t2.freq = 1410 * 1.5;
  t2.volume = 0.3;
  e.Add(t2);
  return e;
}

TEffect Ball() {  // a rubbery bounce
  TEffect e;
  TTone t = Tone(W::Triangle, 560, 0.001, 0.015, 0.6, 0.01, 0.05);
  t.slide = -4;
  e.Add(t);
  TTone tick = Tone(W::Square, 1100, 0.001, 0.004, 0.2, 0.0, 0.01);
  tick.volume = 0.4;
  e.Add(tick);
  return e;
}

TEffect ChainGun() {  // a burst of four shots
  TEffect e;
  for (int i = 0; i < 4; ++i) Shot(e, i * 0.065, i == 0 ? 1.0 : 0.85, 100 + i);
  return e;
}

TEffect Rpg() {  // launch thump, then a rising whoosh of the rocket motor
  TEffect e;
  Shot(e, 0, 0.8, 110);
  TTone whoosh = Tone(W::Noise, 8000, 0.05, 0.1, 0.7, 0.25, 0.25);
  whoosh.lowPass = 500;
  whoosh.lowPassSweep = 4;
  whoosh.resonance = 0.5;
  whoosh.seed = 111;
  e.Add(whoosh);
  TTone motor = Tone(W::Saw, 90, 0.05, 0.1, 0.5, 0.25, 0.25);
  motor.slide = 1.2;
  motor.lowPass = 800;
  motor.volume = 0.4;
  e.Add(motor);
  return e;
}

TEffect Electro() {  // crackling electric arc
  TEffect e;
  TTone arc = Tone(W::Saw, 220, 0.002, 0.05, 0.8, 0.2, 0.12);
  arc.vibratoDepth = 7;
  arc.vibratoRate = 45;
  arc.lowPass = 4000;
  arc.resonance = 0.6;
  e.Add(arc);
  TTone sizzle = Tone(W::Noise, 14000, 0.002, 0.05, 0.5, 0.2, 0.12);
  sizzle.highPass = 3000;
  sizzle.volume = 0.5;
  sizzle.seed = 120;
  e.Add(sizzle);
  return e;
}

TEffect Shrinker() {  // the shrink ray: a warbling fall
  TEffect e;
  TTone t = Tone(W::Sine, 1800, 0.005, 0.05, 0.8, 0.2, 0.15);
  t.slide = -3.2;
  t.vibratoDepth = 1.5;
  t.vibratoRate = 18;
  e.Add(t);
  TTone t2 = t;
  t2.wave = W::Square;
  t2.duty = 0.2;
  t2.freq = 900;
  t2.volume = 0.25;
  e.Add(t2);
  return e;
}

TEffect Shrink() {  // something made small: a falling, speeding arpeggio
  TEffect e;
  TTone t = Tone(W::Square, 1200, 0.002, 0.03, 0.6, 0.3, 0.12);
  t.arpTime = 0.045;
  t.arpMul = 0.84;
  t.arpRepeat = true;
  t.duty = 0.25;
  t.lowPass = 4500;
  e.Add(t);
  return e;
}

TEffect OctabrainDeath() {  // a gurgling, sinking wail
  TEffect e;
  TTone t = Tone(W::Saw, 330, 0.01, 0.1, 0.8, 0.35, 0.25);
  t.slide = -1.6;
  t.vibratoDepth = 2.5;
  t.vibratoRate = 11;
  t.lowPass = 1800;
  t.lowPassSweep = -1.5;
  t.resonance = 0.6;
  e.Add(t);
  TTone gurgle = Tone(W::Noise, 90, 0.01, 0.1, 0.7, 0.35, 0.25);
  gurgle.lowPass = 700;
  gurgle.volume = 0.6;
  gurgle.seed = 140;
  e.Add(gurgle);
  return e;
}

TEffect Freeze() {  // icy shimmer: a high glassy arpeggio over a cold hiss
  TEffect e;
  TTone t = Tone(W::Triangle, 0, 0.002, 0.03, 0.6, 0, 0.12);
  t.vibratoDepth = 0.3;
  t.vibratoRate = 9;
  const int notes[] = {88, 93, 95, 100, 95, 100};
  for (int i = 0; i < 6; ++i) e.Note(t, notes[i], i * 0.055, 0.05, 0.6);
  TTone hiss = Tone(W::Noise, 15000, 0.05, 0.1, 0.5, 0.2, 0.2);
  hiss.highPass = 5000;
  hiss.volume = 0.3;
  hiss.seed = 150;
  e.Add(hiss);
  return e;
}

TEffect BulletHit() {  // a bullet striking: tick and a short metallic ring
  TEffect e;
  TTone tick = Tone(W::Noise, 12000, 0.001, 0.01, 0.4, 0.0, 0.03);
  tick.highPass = 2000;
  tick.seed = 160;
  e.Add(tick);
  TTone ring = Tone(W::Square, 2300, 0.001, 0.02, 0.3, 0.0, 0.08);
  ring.duty = 0.15;
  ring.slide = -0.8;
  ring.volume = 0.4;
  e.Add(ring);
  return e;
}

TEffect Squish() {  // wet and soft: a dark falling noise and a wobbling low tone
  TEffect e;
  TTone n = Tone(W::Noise, 5000, 0.005, 0.05, 0.7, 0.08, 0.12);
  n.lowPass = 2000;
  n.lowPassSweep = -6;
  n.resonance = 0.7;
  n.seed = 170;
  e.Add(n);
  TTone w = Tone(W::Sine, 160, 0.005, 0.05, 0.7, 0.08, 0.12);
  w.slide = -2;
  w.vibratoDepth = 3;
  w.vibratoRate = 22;
  w.volume = 0.7;
  e.Add(w);
  return e;
}

TEffect Shatter() {  // ice breaking: cracks and falling shards
  TEffect e;
  for (int i = 0; i < 5; ++i) {
    TTone crack = Tone(W::Noise, 13000, 0.001, 0.015, 0.4, 0.0, 0.06);
    crack.highPass = 2500;
    crack.start = i * 0.045 + (i % 2) * 0.012;
    crack.volume = 1 - i * 0.15;
    crack.seed = 180 + i;
    e.Add(crack);
  }
  const int shards[] = {96, 91, 99, 89, 94, 86};
  TTone tinkle = Tone(W::Triangle, 0, 0.001, 0.02, 0.4, 0, 0.08);
  for (int i = 0; i < 6; ++i) e.Note(tinkle, shards[i], 0.03 + i * 0.05, 0.03, 0.45);
  return e;
}

TEffect Bonus() {  // catching a bonus: a bright rising chime
  TEffect e;
  TTone t = Tone(W::Sine, 0, 0.002, 0.04, 0.6, 0, 0.18);
  const int notes[] = {76, 83, 88};
  for (int i = 0; i < 3; ++i) e.Note(t, notes[i], i * 0.07, 0.06, 0.8);
  TTone sparkle = Tone(W::Square, 0, 0.002, 0.03, 0.4, 0, 0.15);
  sparkle.duty = 0.125;
  for (int i = 0; i < 3; ++i) e.Note(sparkle, notes[i] + 12, i * 0.07 + 0.01, 0.05, 0.25);
  return e;
}

TEffect Bonus2() {  // picking up a Burrower bonus: a quick major arpeggio up
  TEffect e;
  TTone t = Tone(W::Triangle, 0, 0.002, 0.02, 0.7, 0, 0.06);
  const int notes[] = {72, 76, 79, 84};
  for (int i = 0; i < 4; ++i) e.Note(t, notes[i], i * 0.05, 0.045, 0.9);
  TTone s = Tone(W::Square, 0, 0.002, 0.02, 0.4, 0, 0.1);
  s.duty = 0.25;
  e.Note(s, 96, 0.2, 0.08, 0.3);
  return e;
}

TEffect GameOver() {  // a slow, sinking descent that ends in a sad wobble
  TEffect e;
  TTone lead = Tone(W::Square, 0, 0.005, 0.05, 0.6, 0, 0.08);
  lead.duty = 0.5;
  lead.lowPass = 3000;
  const int notes[] = {67, 66, 65, 64};
  for (int i = 0; i < 3; ++i) e.Note(lead, notes[i], i * 0.3, 0.25, 0.8);
  lead.vibratoDepth = 0.6;
  lead.vibratoRate = 5;
  lead.release = 0.4;
  e.Note(lead, notes[3], 0.9, 0.6, 0.8);
  TTone bass = Tone(W::Triangle, 0, 0.005, 0.05, 0.8, 0, 0.1);
  const int low[] = {43, 42, 41, 40};
  for (int i = 0; i < 4; ++i) e.Note(bass, low[i], i * 0.3, i == 3 ? 0.7 : 0.25, 0.8);
  return e;
}

TEffect Win() {  // a victory fanfare: triplet call, then a held major chord
  TEffect e;
  TTone brass = Tone(W::Saw, 0, 0.01, 0.05, 0.7, 0, 0.06);
  brass.lowPass = 3000;
  const int call[] = {67, 67, 67, 72};
  const double at[] = {0, 0.11, 0.22, 0.36};
  const double len[] = {0.08, 0.08, 0.1, 0.2};
  for (int i = 0; i < 4; ++i) e.Note(brass, call[i], at[i], len[i], 0.7);
  TTone chord = brass;
  chord.vibratoDepth = 0.2;
  chord.vibratoRate = 5.5;
  chord.release = 0.35;
  for (int n : {72, 76, 79, 84}) e.Note(chord, n, 0.62, 0.7, 0.45);
  TTone bass = Tone(W::Triangle, 0, 0.005, 0.05, 0.8, 0, 0.2);
  e.Note(bass, 48, 0.0, 0.3);
  e.Note(bass, 43, 0.36, 0.2);
  e.Note(bass, 36, 0.62, 0.8);
  return e;
}

void MakeSounds(TContent& content) {
  struct TEntry {
    const char* name;  // below "Sounds\", without ".wav"
    TEffect (*make)();
  };
  const TEntry table[] = {
      {"Monsters\\Move", Move},
      {"Monsters\\NotMove", NotMove},
      {"Brickfall\\GameStart", BrickfallStart},
      {"Monsters\\GameStart", MonstersStart},
      {"Burrower\\GameStart", BurrowerStart},
      {"Burrower\\Weapon", WeaponSwitch},
      {"Burrower\\Pistol", Pistol},
      {"Burrower\\Shot", Laser},
      {"Shared\\Ball", Ball},
      {"Burrower\\ChainGun", ChainGun},
      {"Burrower\\RPG", Rpg},
      {"Burrower\\Electro", Electro},
      {"Burrower\\Shrinker", Shrinker},
      {"Burrower\\Shrink", Shrink},
      {"Burrower\\OctaDy", OctabrainDeath},
      {"Burrower\\Freeze", Freeze},
      {"Burrower\\BulitHit", BulletHit},
      {"Burrower\\Squish", Squish},
      {"Burrower\\Glace", Shatter},
      {"Shared\\Explos0", [] { return Explosion(0); }},
      {"Shared\\Explos1", [] { return Explosion(1); }},
      {"Shared\\Explos2", [] { return Explosion(2); }},
      {"Shared\\Explos3", [] { return Explosion(3); }},
      {"Brickfall\\Bonus", Bonus},
      {"Burrower\\Bonus2", Bonus2},
      {"Shared\\GameOver", GameOver},
      {"Shared\\Win", Win},
  };
  for (const TEntry& e : table)
    content.WriteWave(std::string("Sounds\\") + e.name + ".wav", e.make().Finish(), kEffectRate);
}

TRegisterGenerator registerSounds("sound effects", 300, MakeSounds);

}  // namespace

}  // namespace kelvra::content
