// Brickfall scenes for measurements: the worst-case field and a snapshot that a scene
// returns to between runs.
#pragma once

#include "brickfall/BrickState.h"
#include "common/Com.h"
#include "session/Snapshot.h"

namespace kelvra {

using TBrickSnapshot = TGameSnapshot<TBrickState, &gBrick>;

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
