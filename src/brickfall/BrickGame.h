// The Brickfall game step: paddles (keyboard, mouse, game controller or the computer),
// balls, shots, enemies, gravity, wind, the water line and the earthquake, wall damage and
// scores, falling bonuses and their effects, level completion and the game-over check.
// Everything is integer arithmetic on the fixed-point tables of gBrick, and every random
// number comes from the shared generator in a fixed order, so a game is reproducible.
#pragma once

#include <cstdint>

#include "brickfall/BrickState.h"

namespace kelvra {

// Sounds the game requests (positions in fx).
enum BrickSound : int {
  bsShot = 7,
  bsBounce = 8,
  bsWallDestroyed = 19,  // + size class
  bsDrifterDestroyed = 20,
  bsFlyerDestroyed = 21,
  bsBonusCaught = 23,
};

constexpr int32_t kWallScore[6] = {320, 160, 80, 40, 20, 10};  // by hits after the damage
constexpr int32_t kEnemyScore[4] = {0, 500, 1000, 2000};       // by enemy kind
constexpr int32_t kStartSpeed = 8192;  // fx per step, 8 pixels: paddles, and launched balls
constexpr int32_t kLaunchSpeedSquared = 67108864;  // 8192 squared
// Level time (ms) without any wall damage after which a wall is damaged at random.
constexpr int32_t kIdleDamageMs = 5000;

// The level being played (the current level of the Brickfall set), or nullptr.
const TLevel* CurrentBrickLevel();

// Size class of a wall of the given size (fx): 0 up to 256 square pixels, 1 up to 1024,
// 2 up to 2304, 3 above.
int WallSizeClass(int32_t widthFx, int32_t heightFx);

// Frame pixel of a field position in fx, to the nearest pixel inside the field; 64-bit so
// that a position plus half a size cannot overflow.
int32_t BrickPixelX(int64_t fx);
int32_t BrickPixelY(int64_t fx);

// The game's part of the per-kind operations.
// Resets gBrick, gives every player the stock a game starts with, then starts the level.
void BrickStartGameRules();
// Resets gBrick for a level (the walls and the players' records stay; ShowLevel and
// StartGame build the walls next) and sets up what a level starts with: level-wide
// values, the flames, the paddles and a held ball for each player in the game.
void BrickStartLevel();
void BrickStep();  // one game step

// Rules callable on their own (tests build small fields and call them).
void DamageWall(int wall, int player, int damage);
void BrickLevelComplete();
void PlaceHeldBall(TBrickBall& ball);
void SetPaddleSize(TBrickPlayer& player, int size);  // also picks the picture size
void SetBallSize(TBrickBall& ball, int size);

// Bonuses.
const char* BonusName(int kind);          // "None", "NextLevel", ... "SwapControls"
int32_t BonusBaseSpeed(int kind);         // pixels per step
void ReleaseBonus(int wall, int player);  // from a wall the player destroyed
void BonusStep();                         // falling bonuses move and are caught
void ApplyBonus(int player, int kind);

// The paddles' input: each step of play asks once for the input of every human player
// still in the game, in player order. By default it reads the player's controls (keyboard
// mapping, mouse or game controller); a source set here answers instead (tests script the
// paddles with it).
struct TBrickInput {
  uint8_t held[6];         // Left, Up, Right, Down, Fire1 (launch), Fire2 (fire)
  uint8_t pressed[6];      // went down since the previous reading
  uint8_t mouse;           // the reading is the mouse: steer towards mouseX/mouseY
  int32_t mouseX, mouseY;  // field pixels
};
class TBrickInputSource {
 public:
  virtual ~TBrickInputSource() = default;
  virtual TBrickInput Read(int player) = 0;
};
// The source stays the caller's and must outlive its use; nullptr returns to the controls.
void SetBrickInputSource(TBrickInputSource* source);

}  // namespace kelvra
