// Burrower scenes for measurements: every pool full, and a snapshot that a scene returns to
// between runs.
#pragma once

#include "burrower/BurrState.h"
#include "common/Com.h"
#include "session/Snapshot.h"

namespace kelvra {

using TBurrSnapshot = TGameSnapshot<TBurrState, &gBurr>;

// After a game started: every slot of every pool in use (shots flying across the field,
// enemies, bonuses, effects), the worst a step can meet.
void FillBurrowerPools();

// After a game started: the field re-dug into sixteen shafts on the left, each with two
// apples just let go, and a warren on the right (six shafts joined by two cross tunnels)
// where 32 enemies of every type walk, 8 brooders open and close and the players stand.
// The apples keep falling for 48 steps (the lower ones land soon after).
void FillBurrowerWarren();
constexpr int kWarrenFallSteps = 48;

}  // namespace kelvra
