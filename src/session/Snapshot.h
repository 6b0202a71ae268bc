// A game a measuring scene returns to: a game's step state and the shared records, copied
// and put back.
#pragma once

#include <memory>

#include "common/Com.h"

namespace kelvra {

template <class State, State* kState>
struct TGameSnapshot {
  void Take() {
    state = std::make_unique<State>(*kState);
    com = std::make_unique<TCom>(gCom);
  }
  void Restore() const {
    *kState = *state;
    gCom = *com;
  }
  std::unique_ptr<State> state;
  std::unique_ptr<TCom> com;
};

}  // namespace kelvra
