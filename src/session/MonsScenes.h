// Monsters scenes for measurements: a field where every monster slot is in use, and a
// snapshot that a scene returns to between runs.
#pragma once

#include "common/Com.h"
#include "monsters/MonsState.h"
#include "session/Snapshot.h"

namespace kelvra {

using TMonsSnapshot = TGameSnapshot<TMonsState, &gMons>;

// Makes the current kind Monsters with a new set of one level whose 512 squares are all
// monsters of one type, so that a game on it uses every slot and every monster turns at
// every step.
void MakeFullMonstersSet();

}  // namespace kelvra
