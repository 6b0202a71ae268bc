// Brickfall's step state and its reset.
#include "brickfall/BrickState.h"

#include <cstring>
#include <type_traits>

namespace kelvra {

static_assert(std::is_trivially_copyable_v<TBrickState>, "a reset zeroes the bytes");

TBrickState gBrick;

void ResetBrickState(TBrickReset what) {
  if (what == TBrickReset::kAll) {
    std::memset(&gBrick, 0, sizeof gBrick);
    return;
  }
  for (TBrickPlayer& p : gBrick.players) {
    TBrickPlayer record{};
    record.inGame = p.inGame;
    record.ballsInStock = p.ballsInStock;
    record.ballsInFlight = p.ballsInFlight;
    record.shots = p.shots;
    record.recharge = p.recharge;
    record.shownScore = p.shownScore;
    p = record;
  }
  std::memset(gBrick.balls, 0, sizeof gBrick.balls);
  std::memset(gBrick.bonuses, 0, sizeof gBrick.bonuses);
  std::memset(gBrick.shots, 0, sizeof gBrick.shots);
  std::memset(gBrick.enemies, 0, sizeof gBrick.enemies);
  std::memset(&gBrick.game, 0, sizeof gBrick.game);
  std::memset(&gBrick.effects, 0, sizeof gBrick.effects);
}

}  // namespace kelvra
