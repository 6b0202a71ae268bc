// Burrower's field: the lattice arithmetic, the small geometric operations every part of the
// game uses, the sizes of the pictures things collide with, and the level start.
#pragma once

#include <cstdint>

#include "burrower/BurrState.h"

namespace kelvra {

// Lattice index of a field coordinate (division truncated toward zero: -431..-1 lie in 0),
// the start of a lattice index, and the signed distance of a coordinate from the centre of
// its square's 432-unit pitch.
int LatticeIndex(int32_t v);
int32_t LatticeStart(int index);
int32_t LaneOffset(int32_t v);

// The field coordinate of the centre of square column (or row) `square`.
inline int32_t SquareCentre(int square) {
  return LatticeStart(2 * square + 1) + kSquareCentre;
}

bool InsideLattice(int32_t x, int32_t y);
bool Blocked(int32_t x, int32_t y);    // outside the lattice, or a cell that is not open
uint8_t& CellAt(int column, int row);  // within the lattice only
bool OpenCell(int column, int row);    // within the lattice and open

struct TContact {
  bool touching;
  int32_t x, y;          // the contact point
  int32_t sideX, sideY;  // -1, 0, +1
};
TContact ContactTest(int32_t left, int32_t top, int32_t right, int32_t bottom);

inline int Sign(int32_t v) {
  return (v > 0) - (v < 0);
}
// Asks for a Burrower sound placed by the field x coordinate of what made it.
void BurrSound(int id, int32_t x);

// 0 left, 1 down, 2 right, 3 up; (0, 0) gives down. Indexes every four-direction picture set.
int DirectionOf(int32_t dx, int32_t dy);

struct TBox {
  int32_t left, top, right, bottom;  // inclusive
};
TBox CentredBox(int32_t x, int32_t y, int32_t w, int32_t h);
inline TBox CornerBox(int32_t x, int32_t y, int32_t w, int32_t h) {
  return {x, y, x + w - 1, y + h - 1};
}
bool Overlap(const TBox& a, const TBox& b);
int32_t Manhattan(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// The start (left, top) of a random open square; false, and the position left alone, when
// no square is open.
bool RandomOpenSquare(int32_t& left, int32_t& top);

// The top-left of a new shot of w x h beside the shooter's box, in direction 0..3.
void PlaceShot(const TBox& shooter, int32_t w, int32_t h, int32_t gap, int direction, int32_t& x,
               int32_t& y);

// Picture sizes in pixels that the rules use (things collide with their pictures' boxes).
// The drawing code sets them from the loaded pictures; these defaults are the generated ones.
struct TBurrSizes {
  int32_t fruitW = 14, fruitH = 14;
  int32_t appleW = 24, appleH = 24;
  int32_t playerW = 20, playerH = 20;  // normal size; shrunk players are half
  int32_t bonusW[kBurrBonusKinds + 1] = {0,  20, 20, 20, 20, 20, 20, 20, 14, 14, 14,
                                         14, 14, 14, 14, 14, 10, 12, 14, 14, 14, 14};
  int32_t bonusH[kBurrBonusKinds + 1] = {0,  10, 10, 10, 10, 10, 10, 10, 12, 12, 12,
                                         12, 12, 12, 12, 14, 8,  10, 12, 14, 14, 14};
  int32_t ballW[2] = {8, 10}, ballH[2] = {8, 10};  // by ball kind - 1
  int32_t rocketW = 16, rocketH = 8;               // pointing left; turned up or down
  int32_t shrinkShotW[4] = {10, 10, 10, 10}, shrinkShotH[4] = {10, 10, 10, 10};  // by frame
  int32_t shrinkCloudW[4] = {24, 24, 24, 24}, shrinkCloudH[4] = {24, 24, 24, 24};
  int32_t freezerShotW[3] = {10, 10, 10}, freezerShotH[3] = {10, 10, 10};
  int32_t enemyW[kEnemyTypes] = {18, 16, 18, 22, 20, 22};  // walking, by type
  int32_t enemyH[kEnemyTypes] = {18, 16, 18, 22, 20, 22};
  int32_t enemyDeathW[kEnemyTypes] = {18, 16, 18, 22, 20, 22};  // dying
  int32_t enemyDeathH[kEnemyTypes] = {18, 16, 18, 22, 20, 22};
};
extern TBurrSizes gBurrSizes;

int BurrPlayerCount();  // players taking part: 1..5

void ResetBurrPlayer(int p);
void ResetBurrWeapons(int p);
// Builds the field of the current level: lattice, objects and players (weapons are kept).
void BurrLevelStart();
// A new game: the level start, then every player's weapons as a game starts with them.
void BurrGameStart();

}  // namespace kelvra
