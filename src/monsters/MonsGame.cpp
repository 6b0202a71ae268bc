// The rules of Monsters.
#include "monsters/MonsGame.h"

#include <algorithm>
#include <cstdint>

#include "common/Options.h"

namespace kelvra {

void ComputeMonsTimeScores() {
  const int n = MonsPlayerCount();
  const TMonsGame& g = gMons.game;
  int64_t t[kMonsPlayers] = {};
  int64_t tmax = 0;
  for (int p = 0; p < n; ++p) {
    t[p] = int64_t(gMons.players[p].overtime) + (p == g.currentPlayer ? gMons.players[p].moveTime : 0);
    tmax = std::max(tmax, t[p]);
  }
  for (int p = 0; p < n; ++p) {
    TMonsPlayer& pl = gMons.players[p];
    if (tmax >= 1 && g.moveCounter >= 5) {
      // In 64 bits: the overtime of a long game passes 32 bits once multiplied.
      const int64_t divisor = t[p] != 0 ? t[p] : 1000;
      const int64_t v = int64_t(pl.score) + tmax * 1000 / divisor - 1000;
      pl.timeScore = int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    } else {
      pl.timeScore = pl.score;
    }
  }
}

}  // namespace kelvra
