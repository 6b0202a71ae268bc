// Brickfall's particle effects.
#include "brickfall/BrickEffects.h"

#include <cstring>

namespace kelvra {

TBrickEffects gBrickEffects;

void StartBrickEffects() {
  std::memset(&gBrickEffects, 0, sizeof gBrickEffects);
}
void StarsStep() {}
void BubblesStep() {}
void RainSnowStep(bool, bool) {}
void SmallSnowStep() {}
void FireStep() {}
void SmokeStep() {}

}  // namespace kelvra
