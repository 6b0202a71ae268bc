// Monsters scenes for measurements: a field where every monster slot is in use, and a
// snapshot that a scene returns to between runs.
#pragma once

#include <memory>

#include "common/Com.h"
#include "monsters/MonsState.h"

namespace kelvra {

// The Monsters game a scene returns to: the step state and the shared records.
struct TMonsSnapshot {
  void Take() {
    state = std::make_unique<TMonsState>(gMons);
    com = std::make_unique<TCom>(gCom);
  }
  void Restore() const {
    gMons = *state;
    gCom = *com;
  }
  std::unique_ptr<TMonsState> state;
  std::unique_ptr<TCom> com;
};

// Makes the current kind Monsters with a new set of one level whose 512 squares are all
// monsters of one type, so that a game on it uses every slot and every monster turns at
// every step.
void MakeFullMonstersSet();

}  // namespace kelvra
