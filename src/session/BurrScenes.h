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

}  // namespace kelvra
