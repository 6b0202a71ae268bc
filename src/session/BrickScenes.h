// Brickfall scenes for measurements: the worst-case field and a snapshot that a scene
// returns to between runs.
#pragma once

#include <memory>

#include "brickfall/BrickState.h"
#include "common/Com.h"

namespace kelvra {

// The Brickfall game a scene returns to: the step state and the shared records.
struct TBrickSnapshot {
  void Take() {
    state = std::make_unique<TBrickState>(gBrick);
    com = std::make_unique<TCom>(gCom);
  }
  void Restore() const {
    gBrick = *state;
    gCom = *com;
  }
  std::unique_ptr<TBrickState> state;
  std::unique_ptr<TCom> com;
};

constexpr int kWorstCaseWalls = kBrickFieldWalls;  // 1536
constexpr int kWorstCaseBalls = kBrickBalls;       // 32

// Makes the current kind Brickfall with a new set of one level holding 1536 White walls
// (48 columns of 32 rows over the upper two thirds of the field).
void MakeWorstCaseSet();
// After the game started: all 32 ball slots fly, shared by the players round the table,
// and no ball is ever lost (undead balls), so every step tests every ball against every
// wall.
void LaunchWorstCaseBalls();

}  // namespace kelvra
