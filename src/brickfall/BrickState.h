// Brickfall's step state: everything a game step reads or writes, in one record with one
// reset, so that the digest, a snapshot or a replay sees all of it. Also the list of the
// resources kept apart from it.
#pragma once

#include <cstdint>

#include "brickfall/BrickEffects.h"
#include "brickfall/BrickField.h"
#include "common/Com.h"

namespace kelvra {

// Level-wide values besides the tables.
struct TBrickGame {
  int32_t wind;             // fx per step, added to every flying ball's x
  int32_t targetWind;       // the wind moves a sixteenth of the way to it each step
  uint32_t lastDamageTime;  // level time (ms) of the last wall damage
  int32_t shakeX, shakeY;   // earthquake offsets of walls and paddles, pixels
  int32_t waterLine;        // fx, 0..393216
  int32_t waterDrift;       // fx per step
};

// The step state. Together with the shared records of gCom (scores, level time, step
// counter, the random generator, the burst and spark pools) it is the whole of a
// Brickfall game: copying both is a snapshot, and a step from equal copies with equal
// input gives equal copies. Plain data only, so a reset may zero it.
struct TBrickState {
  TFieldWall walls[kBrickFieldWalls];
  int32_t wallCount;  // slots filled at level start (copies included); later slots are free
  TBrickPlayer players[kPlayers];
  TBrickBall balls[kBrickBalls];
  TFallingBonus bonuses[kBrickFallingBonuses];
  TBrickShot shots[kBrickShots];
  TBrickEnemy enemies[kBrickEnemies];
  TBrickGame game;
  // Cosmetic, but they draw from the shared random generator. The field's drawing also
  // writes here: it frees a star that it finds out of sight.
  TBrickEffects effects;
};
extern TBrickState gBrick;

// How much of gBrick a reset clears.
enum class TBrickReset : uint8_t {
  kAll,    // everything: the start of a game, and the tests' hand-built fields
  kLevel,  // all but what a game carries from level to level: the walls (built from the
           // level just after) and each player's record of the game (in game, stock,
           // balls in flight, shots, recharge, shown score)
};
// The one reset of gBrick. The start routines (BrickStartGameRules, BrickStartLevel) call
// it before setting up what a game or a level starts with.
void ResetBrickState(TBrickReset what);

// Resources, kept apart from gBrick: loaded or prepared outside the game step, which reads
// some of them and changes none, so the digest, snapshots and replays leave them out.
//   gBrickLevels (BrickLevel.h): the level records of the set; the step reads the current
//     level's fields. Changed only by reading a set and by the editor.
//   gBrickPictures (BrickPictures.h): pictures loaded when the kind is first made current,
//     the paddles and shots prepared again after a colour change. The step reads their
//     sizes: things collide with the boxes of their pictures.
//   gBrickBackground (BrickBackground.h): the field's background, prepared when a level
//     becomes current; drawing only.
//   gBrickEditorView (BrickDraw.h): the level editor's view switches and selection;
//     drawing only.
//   The panel's cache (BrickPanel.cpp): the value each status display last drew, so that
//     only changes are redrawn; drawing only, emptied by InvalidateBrickPanel.
// Beside the state, and not part of it either:
//   The paddles' input source (BrickGame.h): the only input a step takes, so a recording
//     of a game is its start and what the source returned.
//   The wall boxes (BrickGame.cpp): scratch that a step gathers from the walls before the
//     balls move, and that nothing reads before the next gathering.

}  // namespace kelvra
