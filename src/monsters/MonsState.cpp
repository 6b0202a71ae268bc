// The Monsters step state, its reset and the direction codes.
#include "monsters/MonsState.h"

#include <algorithm>
#include <cstring>

namespace kelvra {

TMonsState gMons;

void ResetMonsState() {
  std::memset(&gMons, 0, sizeof gMons);
  for (TMonsSlot& s : gMons.monster) s.type = kSlotFree;
}

void DecodeMonsDirection(uint8_t code, int& dx, int& dy) {
  static constexpr int8_t kDx[4] = {-1, 0, 1, 0};
  static constexpr int8_t kDy[4] = {0, -1, 0, 1};
  dx = code < 4 ? kDx[code] : -1;
  dy = code < 4 ? kDy[code] : 0;
}

uint8_t EncodeMonsHeading(int dx, int dy) {
  if (dx > 0) return 2;
  if (dy > 0) return 1;
  if (dy < 0) return 3;
  return 0;  // left, and no heading at all
}

int MonsPlayerCount() {
  return std::clamp(gCom.k[gkMonsters].playersMinusOne, 0, kMonsPlayers - 1) + 1;
}

}  // namespace kelvra
