// Burrower's enemies and brooders: the enemy types, the per-step update of every enemy
// (dying, health, stun, walking the tunnels, choosing a way at crossings, biting, the
// Drone's explosion and the shooters' look along their line), and the brooders' cycle of
// opening, holding, closing and hatching.
#pragma once

#include <cstdint>

#include "burrower/BurrState.h"

namespace kelvra {

enum EnemyType : uint8_t { etEnemy, etDrone, etAssault, etCommander, etOctabrain, etEnforcer };

struct TEnemyType {
  int32_t speed;     // units a step at normal size
  int32_t bite;      // wound given to a touched player; the Drone never bites
  int32_t recovery;  // stun lost a step
  int32_t cooldown;  // steps between shots (types 2..5)
  int weapon;        // the weapon its shots are (-1: none)
  uint8_t drop;      // the weapon its bonus gives or fills
};
inline constexpr TEnemyType kEnemyTypeDefs[kEnemyTypes] = {
    {28, 32, 32, 0, -1, wpFreezer},          {32, 0, 16, 0, -1, wpBomb},
    {24, 0, 4, 6, wpPistol, wpPistol},       {20, 8, 8, 32, wpRpg, wpRpg},
    {16, 12, 8, 16, wpShrinker, wpShrinker}, {21, 10, 8, 2, wpLaser, wpLaser},
};
constexpr int32_t kBiteCooldown = 50;  // steps after a bite
constexpr int32_t kDyingTime = 1023;   // -32 a step: 32 steps of dying
constexpr int32_t kDroneReach = 384;   // a Drone explodes nearer than this to a player
constexpr int32_t kBrooderOpen = 255, kBrooderStep = 8;

// Every enemy record's update of one step, 0..31 in order.
void StepEnemies();
// Every brooder's update of one step, 0..7 in order.
void StepBrooders();
// Steps a brooder of level `levelIndex` stays fully open after a hatch that leaves `eggs`.
int32_t BrooderHold(int levelIndex, int32_t eggs);
// The enemy's box size from its picture, halved when shrunk.
void TakeEnemySize(TBurrEnemy& e);

}  // namespace kelvra
