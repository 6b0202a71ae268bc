// The Burrower game step: the order in which a step updates the world, the players' update
// (health, death, commands, walking and digging, touching, firing, switching), the random
// bonuses and the level's completion.
#pragma once

#include <cstdint>

#include "burrower/BurrState.h"

namespace kelvra {

// One game step of the current Burrower game.
void BurrStep();

// One player's update within a step (the step calls it for every player taking part).
void BurrPlayerUpdate(int p);

// Reads player p's controls into his commands (keyboard, mouse or game controller).
void BurrReadInput(int p);
// Where the commands come from: by default the computer for a player whose AI flag is set
// and BurrReadInput for the others. Tests and replays install their own; nullptr restores
// the default.
using TBurrInputSource = void (*)(int player);
void SetBurrInputSource(TBurrInputSource source);

// The computer player: sets p's commands from the game state alone (deterministic).
void BurrComputerCommands(int p);

// Steps between random bonuses with `players` taking part (never 0).
int32_t BurrBonusPeriod(int players);

}  // namespace kelvra
