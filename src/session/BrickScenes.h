// Brickfall scenes for measurements: the worst-case field and a snapshot that a scene
// returns to between runs.
#pragma once

#include <memory>

#include "brickfall/BrickEffects.h"
#include "brickfall/BrickField.h"
#include "brickfall/BrickGame.h"
#include "common/Com.h"

namespace kelvra {

// The Brickfall game state a scene returns to: run-time tables, game values, effects and
// the shared records.
struct TBrickSnapshot {
  void Take() {
    field = std::make_unique<TBrickField>(gBrick);
    game = gBrickGame;
    effects = std::make_unique<TBrickEffects>(gBrickEffects);
    com = std::make_unique<TCom>(gCom);
  }
  void Restore() const {
    gBrick = *field;
    gBrickGame = game;
    gBrickEffects = *effects;
    gCom = *com;
  }
  std::unique_ptr<TBrickField> field;
  TBrickGame game{};
  std::unique_ptr<TBrickEffects> effects;
  std::unique_ptr<TCom> com;
};

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
