// Burrower's step state: the lattice of the field, the players, the enemies and every object
// pool, in one record with one reset. Together with the shared records of gCom (game state,
// scores, the random generator, the blast and spark pools) it is the whole of a game.
#pragma once

#include <cstdint>

#include "burrower/BurrLevel.h"
#include "common/Com.h"

namespace kelvra {

// Field units: 16 to a pixel. The field is 9984 x 5232 units (624 x 327 pixels).
constexpr int32_t kBurrUnit = 16;
constexpr int32_t kBurrFieldW = 9984, kBurrFieldH = 5232;
constexpr int kLatticeCols = 47, kLatticeRows = 25;
constexpr int kLatticeStride = 32;      // bytes a column, rows 0..24 used
constexpr int32_t kLinePitch = 48;      // an even lattice index: a line 3 pixels thick
constexpr int32_t kSquarePitch = 384;   // an odd index: a square 24 pixels thick
constexpr int32_t kCellPair = 432;      // a line and a square
constexpr int32_t kSquareCentre = 192;  // from a square's start to its centre
constexpr int kBurrPlayers = 5;
constexpr int kWeapons = 7;
constexpr int kEnemyTypes = 6;
constexpr int32_t kFullHealth = 1024;

enum LatticeCell : uint8_t { lcOpen = 0, lcEarth = 1, lcWall = 2 };

enum Weapon : uint8_t { wpPistol, wpBall, wpRpg, wpBomb, wpShrinker, wpLaser, wpFreezer };

// Bonus kinds: 1..7 a weapon (kind - 1), 8..14 its ammunition (kind - 8), then these.
enum BonusKind : uint8_t {
  bkWeapon = 1,
  bkAmmo = 8,
  bkHealth = 15,
  bkMedicSmall = 16,
  bkMedicMedium = 17,
  bkMedicLarge = 18,
  bkArmor = 19,
  bkSwap = 20,
  bkInvisible = 21,
};
constexpr int kBurrBonusKinds = 21;

// A player's commands of one step.
enum BurrInput : uint8_t { biLeft, biRight, biUp, biDown, biFire, biSwitch, biSwapped, biCount };

struct TBurrPlayer {
  uint8_t active;  // takes part in this level
  uint8_t frozen;
  uint8_t size;         // 2 normal, 1 shrunk
  int32_t shrinkTimer;  // steps until the size is 2 again; 0 not counting
  int32_t walkCounter;
  int32_t x, y;            // box centre
  int32_t faceDx, faceDy;  // the last non-zero velocity
  int32_t dx, dy;          // velocity of this step
  int32_t w, h;            // box: the sprite's size x 16
  int32_t reload;          // steps until the player may fire again
  int32_t shownScore;
  int32_t shownHealth;
  int32_t health;  // 0..1024
  int32_t shownWound;
  int32_t wound;  // pending damage that drains health
  int32_t shownArmor;
  int32_t armor;  // 0..1024
  int32_t speed;  // units a step at normal size
  uint8_t shownWeapon;
  uint8_t weapon;  // current weapon
  int32_t shownCount[kWeapons];
  int32_t count[kWeapons];  // copies held of each weapon, 0..3
  int32_t shownAmmo[kWeapons];
  int32_t ammo[kWeapons];
  uint8_t input[biCount];
  int32_t invisible;  // 0, or counting down from 1024
};

enum EnemyState : uint8_t { esFree = 0, esDying = 1, esAlive = 2 };

struct TBurrEnemy {
  uint8_t state;  // EnemyState
  uint8_t type;   // 0..5
  uint8_t frozen;
  uint8_t size;        // 2 normal, 1 shrunk
  int32_t deathTimer;  // 1023 down to 0 while dying
  int32_t shrinkTimer;
  int32_t animation;  // 0..8191
  int32_t x, y;       // centre
  int32_t dx, dy;     // at most one of them non-zero
  int32_t w, h;
  int32_t stun;      // 0..256
  int32_t cooldown;  // attack cooldown, steps
  int32_t health;    // 0..1024
  int32_t wound;     // 0..1024
};

// Object pools: a slot is free when its first field is 0 (or, where noted, <= 0).
struct TBullet {
  int32_t live;
  int32_t x, y;  // top-left of a 17 x 17 box
  int32_t dx, dy, owner;
};
struct TBall {
  int32_t bounces;  // starts 64
  int32_t kind;     // 1 or 2
  int32_t x, y, w, h, dx, dy, owner;
};
struct TRocket {
  int32_t live;
  int32_t frame;
  int32_t x, y;  // top-left
  int32_t dx, dy, w, h, owner;
};
struct TBomb {
  int32_t live;  // 16
  int32_t x, y, w, h, dx, dy, owner;
  int32_t fuse;  // starts 64
};
struct TShrinkShot {
  int32_t live;  // 16
  int32_t frame;
  int32_t x, y, w, h, dx, dy, owner;
};
struct TShrinkCloud {
  int32_t life;  // 16 down to 0; free when <= 0
  int32_t x, y, w, h;
};
struct TLaserBeam {
  int32_t life;  // 16 down to 0; free when <= 0
  int32_t x, y;  // start point
  int32_t endX, endY, dx, dy, owner;
};
struct TFreezerShot {
  int32_t bounces;  // starts 16
  int32_t frame;
  int32_t x, y, w, h, dx, dy, owner;
};
struct TBurrBonus {
  uint8_t kind;  // BonusKind 1..21
  int32_t x, y, w, h;
};
struct TFruit {
  int32_t live;
  int32_t x, y;  // top-left
};
struct TApple {
  int32_t live;  // free when <= 0
  int32_t wobble;
  int32_t x, y, vx, vy, w, h;
};
struct TBrooder {
  int32_t opening;  // 1..255; 0 free
  int32_t openingStep;
  int32_t hold;
  int32_t eggs;
  int32_t x, y;
};
struct TPuff {
  int32_t life;  // 16; free when <= 0
  uint32_t seed;
  int32_t x, y;
};
struct TStain {
  int32_t kind;  // 1 player remains, 2 enemy remains, 3 blood
  int32_t life;  // 1..255
  int32_t x, y;
};
struct TFire {
  int32_t life;  // 1024, -4 a step
  int32_t x, y;
};
struct TIceShard {
  int32_t live;  // free when <= 0
  int32_t x, y, dx, dy;
};

constexpr int kBullets = 128, kBalls = 16, kRockets = 16, kBombs = 16, kShrinkShots = 16,
              kShrinkClouds = 16, kLaserBeams = 16, kFreezerShots = 32, kBurrBonuses = 128,
              kFruit = 64, kApples = 32, kBrooders = 8, kPuffs = 32, kStains = 128, kFires = 8,
              kIceShards = 64, kEnemies = 32;

// Plain data only, so a reset may zero it.
struct TBurrState {
  uint8_t lattice[kLatticeCols][kLatticeStride];  // [column][row]: LatticeCell
  TBurrPlayer players[kBurrPlayers];
  TBurrEnemy enemies[kEnemies];
  TBullet bullets[kBullets];
  TBall balls[kBalls];
  TRocket rockets[kRockets];
  TBomb bombs[kBombs];
  TShrinkShot shrinkShots[kShrinkShots];
  TShrinkCloud shrinkClouds[kShrinkClouds];
  TLaserBeam lasers[kLaserBeams];
  TFreezerShot freezerShots[kFreezerShots];
  TBurrBonus bonuses[kBurrBonuses];
  TFruit fruit[kFruit];
  TApple apples[kApples];
  TBrooder brooders[kBrooders];
  TPuff puffs[kPuffs];
  TStain stains[kStains];
  TFire fires[kFires];
  TIceShard iceShards[kIceShards];
  uint8_t hadFruit;  // the level started with fruit: eating it all completes the level
};
extern TBurrState gBurr;

// The one reset: everything zero.
void ResetBurrState();

// Resources, kept apart from gBurr: the level records (gBurrLevels), the pictures, the
// level's tinted earth and the panel's cache of the values last drawn (drawing only).

}  // namespace kelvra
