// The rows of the Brickfall run-time tables (play-field walls, players, balls, falling
// bonuses, shots, enemies; the tables are in BrickState.h) and the building of the wall
// table from a level when it starts.
#pragma once

#include <cstdint>

#include "brickfall/BrickLevel.h"
#include "common/Com.h"

namespace kelvra {

// Run-time positions, sizes and velocities are fixed point in 1/1024 pixel ("fx").
constexpr int32_t kFxOne = 1024;
constexpr int32_t kBrickFieldWidthFx = 512 * kFxOne;   // 524288
constexpr int32_t kBrickFieldHeightFx = 384 * kFxOne;  // 393216

constexpr int kBrickFieldWalls = kMaxWalls;  // 1536, mirrored copies included
constexpr int kBrickBalls = 32;
constexpr int kBrickFallingBonuses = 64;
constexpr int kBrickShots = 32;
constexpr int kBrickEnemies = 18;

struct TFieldWall {
  uint32_t alive;         // 0 or 1
  int32_t x, y;           // fx, top-left corner
  int32_t width, height;  // fx, size of the wall picture
  uint32_t shape;         // index into the wall pictures
  uint32_t hits;          // further hits survived; also the colour the wall is drawn in
  uint8_t bonus;          // bonus kind released on destruction, 0..26
};

struct TBrickPlayer {
  int32_t x, y;                  // fx, paddle top-left
  int32_t previousX, previousY;  // fx, position at the end of the last step
  int32_t width, height;         // fx, size of the current paddle picture
  int32_t velocityX, velocityY;  // fx per step
  int32_t speed;    // fx per step: velocity step per key and limit; 8192 at start, 2048..10240
  int32_t inertia;  // share of the last step's velocity kept; 0 at level start
  uint8_t swapControls;
  uint8_t left, up, right, down, launch, fire;  // this step's input, 0 or 1
  int32_t shownScore;    // the displayed score, catching up with the real one
  int32_t ballsInStock;  // 3 at the start of a game
  int32_t ballsInFlight;
  int32_t recharge;          // 0..99
  int32_t shots;             // shots available
  int32_t visibility;        // 0 invisible .. 8 fully visible
  int32_t blinkDirection;    // 0 not blinking, +1 or -1 while blinking
  int32_t paddleSize;        // 0..3, paddle picture index; 1 at level start
  uint8_t inGame;            // takes part and still has balls
  int32_t direction;         // -1 paddle at the bottom edge (balls leave upwards), +1 at the top
  int32_t guide;             // nonzero (64 when granted) while the paddle holds caught balls
  int32_t verticalMovement;  // nonzero (64 when granted) while the paddle may move up and down
  uint8_t canShoot;          // shots recharge by themselves
  uint8_t ballCanBeSmall;    // a lost ball shrinks and bounces back instead
  uint8_t undeadBall;        // balls bounce off the player's own edge of the field
};

enum : uint8_t { kBallFree = 0, kBallHeld = 1, kBallFlying = 2 };

struct TBrickBall {
  uint8_t state;                 // kBallFree, kBallHeld (on the owner's paddle), kBallFlying
  int32_t x, y, width, height;   // fx
  int32_t size;                  // 0..3: discs of 8, 16, 32, 64 pixels; 1 for a new ball
  int32_t velocityX, velocityY;  // fx per step
  int32_t speedSquared;          // (fx per step)^2; 67108864 (8192^2) when launched
  int32_t owner;                 // player index
};

struct TFallingBonus {
  uint32_t alive;
  int32_t x, y, width, height;   // fx; size of the bonus picture
  int32_t velocityX, velocityY;  // fx per step; x is always 0
  uint8_t kind;                  // 1..26
};

enum : uint8_t { kShotFree = 0, kShotStraight = 1, kShotBouncing = 2 };

struct TBrickShot {
  uint8_t state;                 // kShotFree, kShotStraight, kShotBouncing
  int32_t x, y, width, height;   // fx; size of the shot picture
  int32_t velocityX, velocityY;  // fx per step; x is 0
  uint8_t owner;                 // player index
};

enum : uint8_t { kEnemyFree = 0, kEnemyDrifter = 1, kEnemyBumper = 2, kEnemyFlyer = 3 };

struct TBrickEnemy {
  uint8_t kind;                              // kEnemyFree, kEnemyDrifter, kEnemyBumper, kEnemyFlyer
  int32_t x, y, width, height;               // fx; size of picture "Enem<kind - 1>.bmp"
  int32_t velocityX, velocityY;              // fx per step
  int32_t targetVelocityX, targetVelocityY;  // fx per step
};

// Fills gBrick's wall table (and wallCount) from the level's current history entry, adding
// the mirrored copies its flags ask for; the other tables are left alone. shapeWidth and
// shapeHeight give the loaded wall pictures' sizes in pixels, `shapes` entries each.
void BuildPlayField(const TLevel& level, const int32_t* shapeWidth, const int32_t* shapeHeight,
                    int shapes);

}  // namespace kelvra
