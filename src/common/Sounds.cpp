// The sound table, stereo placement, per-frame marks and the sound output's opening.
#include "common/Sounds.h"

#include <algorithm>
#include <string>

#include "base/FileIO.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/Settings.h"
#include "media/Mixer.h"
#include "platform/Services.h"

namespace kelvra {

const char* const kSoundFiles[kSoundCount] = {
    "Monsters\\Move",      "Monsters\\NotMove",  "Brickfall\\GameStart", "Monsters\\GameStart",
    "Burrower\\GameStart", "Burrower\\Weapon",   "Burrower\\Pistol",     "Burrower\\Shot",
    "Shared\\Ball",        "Burrower\\ChainGun", "Burrower\\RPG",        "Burrower\\Electro",
    "Burrower\\Shrinker",  "Burrower\\Shrink",   "Burrower\\OctaDy",     "Burrower\\Freeze",
    "Burrower\\BulitHit",  "Burrower\\Squish",   "Burrower\\Glace",      "Shared\\Explos0",
    "Shared\\Explos1",     "Shared\\Explos2",    "Shared\\Explos3",      "Brickfall\\Bonus",
    "Burrower\\Bonus2",    "Shared\\GameOver",   "Shared\\Win",
};

TSounds gSounds;

void LoadSounds() {
  const std::string folder = ProgramDir() + "Sounds/";
  std::string firstMissing;
  for (int id = 0; id < kSoundCount; ++id) {
    const std::string name = folder + NativePath(kSoundFiles[id]) + ".wav";
    bool unreadable = false;
    std::shared_ptr<TWave> wave = LoadWave(name, &unreadable);
    if (unreadable && firstMissing.empty()) firstMissing = name;
    if (wave && !wave->Playable())
      FileError(name, wave->bits == 4 ? kWaveInvalidFormat : kWaveEmpty, FileOwner::Program);
    gSounds.wave[id] = std::move(wave);
  }
  if (!firstMissing.empty()) FileError(firstMissing, kWaveEmpty, FileOwner::Program);
}

void FreeSounds() {
  Mixer().StopAll();
  for (auto& wave : gSounds.wave) wave.reset();
}

int SoundPosition(int kind, int x) {
  if (kind < 0 || kind >= kKinds) return 512;
  const TKindTraits& t = KindTraits(kind);
  const int64_t p = (int64_t(x) / t.soundUnit) * 1024 / t.soundSpan;
  // A source outside the field (entering from a side) plays at that side, never beyond.
  return int(std::clamp<int64_t>(p, 0, 1024));
}

void SoundVolumes(int kind, int x, int& left, int& right) {
  if (!gOptions.soundStereo || x == kSoundNoPlace) {
    left = right = 512;
    return;
  }
  const int p = SoundPosition(kind, x);
  left = (1024 - p) / 2;
  right = p / 2;
}

void PlaySound(int kind, int id, int x) {
  if (!gOptions.sounds) return;
  const int slot = ((id % kSoundMarks) + kSoundMarks) % kSoundMarks;
  if (gSounds.mark[slot] && gOptions.reduceSounds) return;
  int left, right;
  SoundVolumes(kind, x, left, right);
  if (gSounds.outputOpen && slot < kSoundCount && gSounds.wave[slot])
    Mixer().Play(gSounds.wave[slot], left, right);
  gSounds.mark[slot] = 1;
}

void ClearSoundMarks() {
  std::fill(std::begin(gSounds.mark), std::end(gSounds.mark), 0);
}

bool OpenSoundOutput() {
  if (gSounds.outputOpen) CloseSoundOutput();
  const int rate = gOptions.soundFrequency;
  if (rate < kOutputMinRate || rate > kOutputMaxRate || BufferFrames(rate) < 1) {
    if (!gSounds.formatReported) {
      gSounds.formatReported = true;
      ErrorMsg("Play format not supported (" + std::to_string(rate) + " Hz is outside " +
                   std::to_string(kOutputMinRate) + ".." + std::to_string(kOutputMaxRate) + " Hz)",
               FileOwner::Program);
    }
    return false;
  }
  Mixer().StopAll();  // nothing asked for while the output was closed plays late
  gSounds.outputOpen =
      Platform().SoundOpen(rate, gOptions.sound16bits != 0, gOptions.soundStereo != 0);
  return gSounds.outputOpen;
}

void CloseSoundOutput() {
  Mixer().StopAll();
  if (gSounds.outputOpen) Platform().SoundClose();
  gSounds.outputOpen = false;
}

void StopSounds() {
  Mixer().StopAll();
}

}  // namespace kelvra
