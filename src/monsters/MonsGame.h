// The rules of Monsters: the level start, the step in the real-time and the turn game, the
// players' moves, the monsters' step, the scores and their history, and the computer player.
#pragma once

#include <cstdint>

#include "monsters/MonsState.h"

namespace kelvra {

// Copies the current level's grid into the play grid. A square that could not be played
// safely (a kind above 11, a player or house index above 3, a monster type above 5, a
// tunnel's or monster's direction above 3) is an open square in play; the stored level keeps
// what was read.
void MonsDecodeLevel();
// Prepares a game on the current level (the level time is 0 and the state playing).
void MonsLevelStart();
// One game step: does nothing unless the game state is playing.
void MonsStep();

// One move attempt of player p with his requested step.
void MonsPlayerMove(int p);
// Moves every monster and ghost once and records the score history.
void MonsMonsterStep();
// Recomputes the time-adjusted scores from the overtimes.
void ComputeMonsTimeScores();

// The computer player: sets p's requested step. Deterministic.
void MonsComputerRequest(int p);
// The column and row where most monsters stand (ties averaged), (0, 0) with none.
void MonsMonsterCentre(int& column, int& row);

// Reads p's controls into his requested step (keyboard, mouse or game controller).
void MonsReadInput(int p);
// Where the step's requests come from: by default the computer for a player whose AI flag
// is set and MonsReadInput for the others. Tests and replays install their own; nullptr
// restores the default.
using TMonsInputSource = void (*)(int player);
void SetMonsInputSource(TMonsInputSource source);

// The Monsters menu's actions on a running game.
void MonsGoClock();          // the move clock runs from now
void MonsStopClock();        // the move clock stops
void MonsRealTimeChanged();  // after "Real Time Game" was switched
void MonsDelayChanged();     // after "Monster's Delay" was changed

}  // namespace kelvra
