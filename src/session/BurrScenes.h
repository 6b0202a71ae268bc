// Burrower scenes for measurements: every pool full, and a snapshot that a scene returns to
// between runs.
#pragma once

#include <memory>

#include "burrower/BurrState.h"
#include "common/Com.h"

namespace kelvra {

// The Burrower game a scene returns to: the step state and the shared records.
struct TBurrSnapshot {
  void Take() {
    state = std::make_unique<TBurrState>(gBurr);
    com = std::make_unique<TCom>(gCom);
  }
  void Restore() const {
    gBurr = *state;
    gCom = *com;
  }
  std::unique_ptr<TBurrState> state;
  std::unique_ptr<TCom> com;
};

// After a game started: every slot of every pool in use (shots flying across the field,
// enemies, bonuses, effects), the worst a step can meet.
void FillBurrowerPools();

}  // namespace kelvra
