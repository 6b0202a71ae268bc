// Burrower's weapons and everything they leave behind: the weapon table, the launching of
// shots, the per-step update of every projectile and effect (fires, ice shards, blasts,
// smoke, puffs, stains), and the four damage operations through which all harm is dealt.
#pragma once

#include <cstdint>

#include "burrower/BurrField.h"
#include "burrower/BurrState.h"

namespace kelvra {

// Sounds of Burrower (indexes into kSoundFiles).
enum BurrSound : int {
  buWeapon = 5,        // "Burrower\Weapon": a weapon switched
  buPistol = 6,        // "Burrower\Pistol"
  buRpg = 10,          // "Burrower\RPG": a rocket leaves
  buShrinker = 12,     // "Burrower\Shrinker": a shrink shot leaves
  buShrink = 13,       // "Burrower\Shrink": something shrinks
  buFreeze = 15,       // "Burrower\Freeze": something freezes
  buSquish = 17,       // "Burrower\Squish"
  buGlace = 18,        // "Burrower\Glace": a frozen enemy shatters
  buPuff = 19,         // "Shared\Explos0"
  buRocketBlast = 20,  // "Shared\Explos1"
  buBombBlast = 21,    // "Shared\Explos2"
  buFruit = 23,        // "Brickfall\Bonus"
  buBonus = 24,        // "Burrower\Bonus2"
};
constexpr int kNoSound = -1;

struct TWeaponDef {
  int32_t maxAmmo;      // ammunition bonuses fill up to this
  int32_t ammoPerPack;  // one ammunition bonus; the unit of a dead player's drop
  int32_t fireDelay;    // steps; the reload is this divided by the copies held
  int32_t speed;        // units a step on each moving axis (0: the bomb lies still)
  int sound;            // heard when a player fires; kNoSound for none
};
inline constexpr TWeaponDef kWeaponDefs[kWeapons] = {
    {200, 12, 6, 512, buPistol},   // Pistol: bullets
    {20, 3, 32, 32, kNoSound},     // Ball: always diagonal, bounces
    {50, 5, 32, 80, buRpg},        // RPG: rockets
    {50, 5, 16, 0, kNoSound},      // Bomb: lies where it is put
    {50, 5, 16, 128, buShrinker},  // Shrinker
    {100, 10, 2, 960, kNoSound},   // Laser: traced at once, a point every 16 units
    {100, 25, 16, 96, kNoSound},   // Freezer
};

// Toughness of each enemy type: divides the wound it takes.
inline constexpr int32_t kEnemyToughness[kEnemyTypes] = {10, 30, 5, 20, 15, 17};
static_assert(kEnemyToughness[0] > 0 && kEnemyToughness[1] > 0 && kEnemyToughness[2] > 0 &&
                  kEnemyToughness[3] > 0 && kEnemyToughness[4] > 0 && kEnemyToughness[5] > 0,
              "the wound an enemy takes is divided by its toughness");
constexpr int kDrone = 1;  // the enemy type that explodes: clouds do not shrink it

constexpr int32_t kBallBounces = 64, kFreezerBounces = 16;
constexpr int32_t kBombFuse = 64;     // steps
constexpr int32_t kShotGap = 16;      // units between a shooter's box and its shot
constexpr int32_t kShrinkTime = 128;  // steps a shrunk player or enemy stays small
constexpr int32_t kFireLife = 1024;   // -4 a step
constexpr int32_t kPuffLife = 16, kCloudLife = 16, kLaserLife = 16;
constexpr int32_t kRocketRadius = 16, kBombRadius = 24;             // blast radii; an enemy's Drone
constexpr int32_t kDroneDeathRadius = 12, kDroneAttackRadius = 14;  // uses these

// Reload after a shot of the current weapon: fire delay divided by the copies held (a
// player holding none waits the full delay).
int32_t WeaponReload(const TBurrPlayer& pl);

// Ball kind of a player holding `copies` Balls: 1, or 2 with the third copy.
int32_t BallKind(int32_t copies);

// Player p's current weapon fires along his facing. The ammunition is spent only when the
// shot is made: not when the pool is full, the facing is still (0, 0), or (for the weapons
// that test it) the new shot would touch the lattice. The caller has checked the reload,
// the copies and the ammunition, and has set the reload.
void FireWeapon(int p);

// Creates weapon w's shot beside `shooter`, flying along the signs of (fx, fy); true when
// made. An enemy's shot (byEnemy) skips the lattice test and spends nothing, and only its
// rocket is heard. ballKind is used by the Ball only.
bool LaunchShot(int w, const TBox& shooter, int32_t fx, int32_t fy, int owner, bool byEnemy,
                int32_t ballKind = 1);

// The per-step updates, in the order the game step calls them (after the players and the
// enemies, then StepStains, the apples, and then StepRocketSmoke and StepPuffs).
void StepFires();
void StepIceShards();
void StepBlasts();       // the shared ageing, then what each blast does
void StepProjectiles();  // StepBullets .. StepFreezerShots in this order
void StepStains();
void StepRocketSmoke();  // the spark pool: each entry one life less
void StepPuffs();        // draws a new seed for each live puff from the shared generator

void StepBullets();
void StepBalls();
void StepRockets();
void StepBombs();
void StepShrinkShots();
void StepShrinkClouds();
void StepLasers();
void StepFreezerShots();

// Damage. owner: the player credited with the points (0..4), or -1 for nobody.
void WoundPlayer(int p, int owner, int32_t amount);
void ChillPlayer(int p, int owner, int32_t amount);
void WoundEnemy(int e, int owner, int32_t amount);  // a frozen enemy shatters
void ChillEnemy(int e, int owner, int32_t amount);

// New objects in the lowest free slot; nothing when the pool is full.
void AddStain(int32_t kind, int32_t life, int32_t x, int32_t y);  // kind 1..3; life < 1: none
void AddPuff(int32_t x, int32_t y);
void AddBonus(int32_t kind, int32_t x, int32_t y);  // kind 1..21, centred at (x, y)
void AddFire(int32_t x, int32_t y);
void AddBurrowerBlast(int32_t x, int32_t y, int32_t owner, int32_t radius);
void AddIceShard(int32_t x, int32_t y, int32_t dx, int32_t dy);

}  // namespace kelvra
