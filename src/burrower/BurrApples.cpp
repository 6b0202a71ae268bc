// Burrower's apples.
#include "burrower/BurrApples.h"

#include <algorithm>
#include <cstdlib>

#include "burrower/BurrField.h"
#include "burrower/BurrWeapons.h"

namespace kelvra {

namespace {

constexpr int32_t kWobbleSteps = 32;  // held over a dug square before the line breaks

// A lattice cell that is open; outside the lattice nothing is (an apple never falls out).
// Crushes the players and enemies the apple's box at (left, top) overlaps; true when it hit
// one.
bool Crush(const TApple& a, int32_t left, int32_t top) {
  const TBox box = CornerBox(left, top, a.w, a.h);
  const int32_t amount = std::abs(a.vy) * kBurrUnit;
  bool hit = false;
  for (int p = 0; p < kBurrPlayers; ++p) {
    const TBurrPlayer& pl = gBurr.players[p];
    if (!pl.active || !Overlap(box, CentredBox(pl.x, pl.y, pl.w, pl.h))) continue;
    WoundPlayer(p, -1, amount);
    AddPuff(pl.x, pl.y);
    hit = true;
  }
  for (int e = 0; e < kEnemies; ++e) {
    const TBurrEnemy& en = gBurr.enemies[e];
    if (en.state == esFree || !Overlap(box, CentredBox(en.x, en.y, en.w, en.h))) continue;
    AddPuff(en.x, en.y);
    WoundEnemy(e, -1, amount);
    hit = true;
  }
  return hit;
}

// Another live apple in the way of the box at (left, top).
bool AppleInTheWay(int self, const TApple& a, int32_t left, int32_t top) {
  const TBox box = CornerBox(left, top, a.w, a.h);
  for (int i = 0; i < kApples; ++i) {
    const TApple& other = gBurr.apples[i];
    if (i != self && other.live > 0 && Overlap(box, CentredBox(other.x, other.y, other.w, other.h)))
      return true;
  }
  return false;
}

void StepApple(int i) {
  TApple& a = gBurr.apples[i];
  a.vx -= Sign(a.vx);
  if (a.vx == 0) ++a.vy;
  const int32_t n = std::max(std::abs(a.vx), std::abs(a.vy));
  int32_t left = a.x - a.w / 2, top = a.y - a.h / 2;
  for (int32_t t = 0; t < n;) {
    left += Sign(a.vx) * kBurrUnit;
    top += Sign(a.vy) * kBurrUnit;
    const int c = LatticeIndex(left + a.w - 1), r = LatticeIndex(top + a.h - 1);
    if (a.vy > 0 && r % 2 == 0) {
      bool held = !OpenCell(c, r + 1);
      if (!held && CellAt(c, r) == lcEarth) {
        if (a.vy > 1) {
          CellAt(c, r) = lcOpen;
        } else if (++a.wobble > kWobbleSteps) {
          a.wobble = 0;
          CellAt(c, r) = lcOpen;
        } else {
          held = true;
        }
      }
      if (held) {  // back up, and the pass is not counted
        top -= kBurrUnit;
        a.vy = 0;
        continue;
      }
    }
    // A fast apple crushes; any falling or rising apple stops at another apple, however
    // slowly it moves (else a slow one would sink into the apple below it).
    const bool crushed = std::abs(a.vy) > 1 && Crush(a, left, top);
    if (crushed || (a.vy != 0 && AppleInTheWay(i, a, left, top))) {
      a.vy = 0;
      return;
    }
    t += kBurrUnit;
    // A push never takes an apple off the field, where it could neither fall nor be seen.
    const int32_t x = std::clamp(left + a.w / 2, a.w / 2, kBurrFieldW - a.w / 2);
    const int32_t y = std::clamp(top + a.h / 2, a.h / 2, kBurrFieldH - a.h / 2);
    if (x != left + a.w / 2) a.vx = 0;
    if (y != top + a.h / 2) a.vy = 0;
    a.x = x, a.y = y;
    if (a.vx == 0 && a.vy == 0) return;
  }
}

}  // namespace

void StepApples() {
  for (int i = 0; i < kApples; ++i)
    if (gBurr.apples[i].live > 0) StepApple(i);
}

}  // namespace kelvra
