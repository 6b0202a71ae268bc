// Shared game state, the random generator, the effect pools and the state machine.
#include "common/Com.h"

#include <algorithm>
#include <cstring>

#include "common/Events.h"
#include "common/Kinds.h"
#include "common/Options.h"

namespace kelvra {

TCom gCom;
TFrameRates gFrameRates;

void ResetCom() {
  SetOptionDefaults(nullptr, &gCom);  // the kind and the mirror game
  for (int k = 0; k < kKinds; ++k) {
    TKindState& s = gCom.k[k];
    std::memset(&s.header, 0, sizeof s.header);
    s.fileName.clear();
    s.levelIndex = 0;
    s.lastDrawnLevel = 0x7FFFFFFF;
    s.modified = s.origin = s.running = s.testGame = s.state = s.initialised = 0;
    s.gameTime = s.levelTime = 0;
    s.shownGameTime = s.shownLevelTime = 0xFFFFFFFF;
    std::fill(std::begin(s.score), std::end(s.score), 0);
    s.playersMinusOne = kDefaultPlayersMinusOne;
    s.modifiedSinceMs = 0;
    s.field = KindTraits(k).field;
  }
  gCom.countdown = 0;
  gCom.stepCounter = gCom.frameCounter = 0;
  for (int p = 0; p < kPlayers; ++p) {
    gCom.player[p].ai = DefaultPlayerAI(p);
    gCom.player[p].input = DefaultPlayerInput(p);
    gCom.player[p].colour = kDefaultPlayerColour[p];
  }
  ComputeHalfColours();
  std::memcpy(gCom.keyMap, kDefaultKeyMap, sizeof gCom.keyMap);
  gCom.editorOpen = gCom.paused = 0;
  gCom.mouseX = gCom.mouseY = 0;
  std::fill(std::begin(gCom.mouseButton), std::end(gCom.mouseButton), 0);
  gCom.cursorShape = 0;
  gCom.randSeed = 0;
  ClearEffectPools();
}

void ClearEffectPools() {
  std::memset(gCom.burst, 0, sizeof gCom.burst);
  std::memset(gCom.spark, 0, sizeof gCom.spark);
  std::memset(gCom.blast, 0, sizeof gCom.blast);
}

namespace {

// Calls copy(kept, shared) with each field of `s` and its counterpart in gCom.
template <class S, class F>
void ForEachSharedField(S& s, F copy) {
  copy(s.countdown, gCom.countdown);
  copy(s.stepCounter, gCom.stepCounter);
  copy(s.randSeed, gCom.randSeed);
  copy(s.cursorShape, gCom.cursorShape);
  copy(s.burst, gCom.burst);
  copy(s.spark, gCom.spark);
  copy(s.blast, gCom.blast);
}

}  // namespace

TSharedStepState SaveSharedStepState() {
  TSharedStepState s;
  ForEachSharedField(s, [](auto& kept, auto& shared) { std::memcpy(&kept, &shared, sizeof kept); });
  return s;
}

void RestoreSharedStepState(const TSharedStepState& s) {
  ForEachSharedField(
      s, [](const auto& kept, auto& shared) { std::memcpy(&shared, &kept, sizeof kept); });
}

namespace {
struct ComInit {
  ComInit() { ResetCom(); }
} gComInit;
}  // namespace

std::string GetShortString(const uint8_t* field, int fieldSize) {
  int n = std::min<int>(field[0], fieldSize - 1);
  return std::string(reinterpret_cast<const char*>(field + 1), n);
}

void SetShortString(uint8_t* field, int fieldSize, const std::string& text) {
  std::memset(field, 0, fieldSize);
  int n = std::min<int>(int(text.size()), fieldSize - 1);
  field[0] = uint8_t(n);
  std::memcpy(field + 1, text.data(), n);
}

void Randomize(uint32_t seed) {
  gCom.randSeed = seed;
}

int32_t Random(int32_t n) {
  return RandomFrom(gCom.randSeed, n);
}

void AddBurst(int32_t x, int32_t y, int32_t variant) {
  for (TBurst& b : gCom.burst)
    if (b.life == 0) {
      b = {kBurstLife, variant, x, y};
      return;
    }
}

void AddSpark(int32_t x, int32_t y, int32_t life, int32_t extra, int32_t vy) {
  for (TSpark& s : gCom.spark)
    if (s.life == 0) {
      s = {life, x, y, extra, vy};
      return;
    }
}

void AddBlast(int32_t x, int32_t y, int32_t owner) {
  for (TBlast& b : gCom.blast)
    if (b.life == 0) {
      b = {kBlastLife, owner, 0, x, y};
      return;
    }
}

void DecayBursts() {
  for (TBurst& b : gCom.burst) {
    if (b.life == 0) continue;
    b.life = b.life <= 8 ? 0 : b.life - 8;
  }
}

void DecaySparks() {
  for (TSpark& s : gCom.spark) {
    if (s.life > 1) {
      --s.life;
      s.y += s.vy;
    } else {
      s.life = 0;
    }
  }
}

void DecayBlasts() {
  const int32_t rise = KindTraits(gCom.kind).blastRise;
  for (TBlast& b : gCom.blast) {
    if (b.life > 1024) {
      b.life = uint16_t(b.life - 1024);
      b.y -= rise;
    } else {
      b.life = 0;
    }
  }
}

void StepDispatch() {
  const int k = gCom.kind;
  TKindState& s = gCom.k[k];
  if (gCom.countdown > 0) --gCom.countdown;

  if ((s.state == gsLevelDone || s.state == gsLevelStarting) && gCom.countdown == 0) {
    if (s.state == gsLevelDone) {
      // A test game plays the one level shown: done, it ends as the set's last level does.
      if (s.testGame || s.levelIndex >= KindLevelCount(k) - 1) {
        s.state = gsAllLevelsDone;
        Events().GameEnded(k);
      } else {
        ++s.levelIndex;
        s.levelTime = 0;
        if (KindTraits(k).showsNextLevel) KindOps(k).ShowLevel();
        s.state = gsLevelStarting;
        gCom.countdown = 16;
      }
    } else {
      s.state = gsPlaying;
    }
  }

  if (s.state == gsGameOverShow && gCom.countdown >= 33) {
    // The order of the draws is part of the game's reproducibility.
    int32_t y = s.field.top + Random(s.field.bottom - s.field.top + 1);
    int32_t x = s.field.left + Random(s.field.right - s.field.left + 1);
    int32_t variant = Random(4);
    AddBurst(x, y, variant);
  }

  if (s.state != gsLevelDone && s.state != gsLevelStarting) KindOps(k).GameStep();

  if (s.state == gsPlayersOut) {
    Events().SoundRequested(k, KindTraits(k).playersOutSound, kSoundNoPlace);
    if (s.testGame) {
      s.state = gsGameEnded;
      Events().GameEnded(k);
    } else {
      s.state = gsGameOverShow;
      gCom.countdown = 64;
    }
  }
}

void ComputeHalfColours() {
  for (TPlayer& p : gCom.player) {
    uint32_t c = p.colour;
    uint32_t r = (c & 0xFF) / 2, g = ((c >> 8) & 0xFF) / 2, b = ((c >> 16) & 0xFF) / 2;
    p.halfColour = r | (g << 8) | (b << 16);
  }
}

}  // namespace kelvra
