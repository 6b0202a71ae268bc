// The Burrower computer player: it digs the shortest way to the nearest fruit (or to a bonus
// close by), goes round walls and apples, keeps out from under a wobbling or falling apple and
// away from Drones, digs under an apple that would fall on an enemy, turns toward whoever stands
// close in its line with nothing between and fires at him with the best weapon it holds, and
// switches when a weapon runs dry. It reads the game state only and draws no random numbers, and
// gives the same commands a person gives.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "burrower/BurrEnemies.h"
#include "burrower/BurrField.h"
#include "burrower/BurrGame.h"
#include "burrower/BurrWeapons.h"

namespace kelvra {

namespace {

constexpr int kSquares = kBurrCols * kBurrRows;
constexpr int kStepX[4] = {-1, 1, 0, 0};  // left, right, up, down: the command order
constexpr int kStepY[4] = {0, 0, -1, 1};

// The square whose centre is nearest to a coordinate (centres at 432k + 240), within the
// field: a player half over the edge still counts as on its side of the edge.
int SquareOf(int32_t v, int count) {
  return std::clamp(int((v - 24) / kCellPair), 0, count - 1);
}

using TSquares = std::array<bool, kSquares>;

void Mark(TSquares& set, int x, int y) {
  if (x >= 0 && x < kBurrCols && y >= 0 && y < kBurrRows) set[size_t(x * kBurrRows + y)] = true;
}

// Squares to keep out of: below a wobbling or falling apple down to where it would stop, and
// a Drone's square and those it can walk into next, for a Drone near the player at (px, py)
// (it explodes next to a player; the far ones would only close ways for nothing).
TSquares Danger(int px, int py) {
  TSquares danger{};
  for (const TApple& a : gBurr.apples) {
    if (a.live <= 0 || (a.wobble == 0 && a.vy <= 1)) continue;
    const int y = SquareOf(a.y, kBurrRows);
    for (int x = SquareOf(a.x - a.w / 2, kBurrCols); x <= SquareOf(a.x + a.w / 2 - 1, kBurrCols);
         ++x)
      for (int below = y + 1; below < kBurrRows && OpenCell(2 * x + 1, 2 * below + 1); ++below)
        Mark(danger, x, below);
  }
  for (const TBurrEnemy& e : gBurr.enemies) {
    if (e.state != esAlive || e.type != etDrone) continue;
    const int x = SquareOf(e.x, kBurrCols), y = SquareOf(e.y, kBurrRows);
    if (std::abs(x - px) + std::abs(y - py) > 4) continue;
    Mark(danger, x, y);
    for (int d = 0; d < 4; ++d)
      if (OpenCell(2 * x + 1 + kStepX[d], 2 * y + 1 + kStepY[d]) &&
          OpenCell(2 * x + 1 + 2 * kStepX[d], 2 * y + 1 + 2 * kStepY[d]))
        Mark(danger, x + kStepX[d], y + kStepY[d]);
  }
  return danger;
}

// Earth squares right under a resting apple with an enemy in the open shaft below: digging
// one lets the apple fall on the enemy.
TSquares Traps() {
  TSquares traps{};
  for (const TApple& a : gBurr.apples) {
    if (a.live <= 0 || a.wobble != 0 || a.vy != 0) continue;
    const int x = SquareOf(a.x, kBurrCols), y = SquareOf(a.y, kBurrRows) + 1;
    if (y + 1 >= kBurrRows || CellAt(2 * x + 1, 2 * y + 1) != lcEarth) continue;
    int32_t top = LatticeStart(2 * y + 2), bottom = top;
    for (int below = y + 1; below < kBurrRows && OpenCell(2 * x + 1, 2 * below + 1); ++below)
      bottom = LatticeStart(2 * below + 2);
    for (const TBurrEnemy& e : gBurr.enemies)
      if (e.state == esAlive && std::abs(e.x - a.x) < kSquareCentre && e.y > top && e.y < bottom)
        Mark(traps, x, y);
  }
  return traps;
}

// Squares the player cannot enter: walls, and squares with an apple in them (`pushable`: those
// that hold what it wants, entered from the side, which pushes the apple off).
TSquares Obstacles(const TSquares& wanted, TSquares& pushable) {
  TSquares blocked{};
  for (int x = 0; x < kBurrCols; ++x)
    for (int y = 0; y < kBurrRows; ++y)
      blocked[size_t(x * kBurrRows + y)] = CellAt(2 * x + 1, 2 * y + 1) == lcWall;
  for (const TApple& a : gBurr.apples) {
    if (a.live <= 0) continue;
    // Every square the apple's box reaches into: a pushed apple stops anywhere.
    const TBox box = CentredBox(a.x, a.y, a.w, a.h);
    for (int c = LatticeIndex(box.left); c <= LatticeIndex(box.right); ++c)
      for (int r = LatticeIndex(box.top); r <= LatticeIndex(box.bottom); ++r) {
        if (c % 2 == 0 || r % 2 == 0 || c < 0 || r < 0 || c >= kLatticeCols || r >= kLatticeRows)
          continue;
        const size_t square = size_t(c / 2 * kBurrRows + r / 2);
        pushable[square] = wanted[square] && !blocked[square];
        blocked[square] = true;
      }
  }
  return blocked;
}

// The first step (0..3) of the shortest way from (x, y) to a wanted square, or -1.
int FirstStep(int x, int y, const TSquares& wanted, const TSquares& blocked, int& distance,
              const TSquares& pushable = {}) {
  distance = kSquares;
  if (std::find(wanted.begin(), wanted.end(), true) == wanted.end()) return -1;  // nothing to seek
  std::array<int8_t, kSquares> first;
  first.fill(-2);
  std::array<int, kSquares> queue{}, far{};
  int head = 0, tail = 0;
  const int start = x * kBurrRows + y;
  first[size_t(start)] = -1;
  queue[size_t(tail++)] = start;
  while (head < tail) {
    const int s = queue[size_t(head++)];
    if (wanted[size_t(s)] && s != start) {
      distance = far[size_t(s)];
      return first[size_t(s)];
    }
    const int sx = s / kBurrRows, sy = s % kBurrRows;
    for (int d = 0; d < 4; ++d) {
      const int nx = (sx + kStepX[d] + kBurrCols) % kBurrCols;
      const int ny = (sy + kStepY[d] + kBurrRows) % kBurrRows;
      const int n = nx * kBurrRows + ny;
      if (first[size_t(n)] != -2 || (blocked[size_t(n)] && !(pushable[size_t(n)] && d < 2)))
        continue;
      first[size_t(n)] = int8_t(s == start ? d : first[size_t(s)]);
      far[size_t(n)] = far[size_t(s)] + 1;
      queue[size_t(tail++)] = n;
    }
  }
  return -1;
}

// Every lattice cell from the player's centre to `to` along its row (or its column) open: a
// shot would fly there.
bool ClearLine(const TBurrPlayer& pl, int32_t to, bool alongRow) {
  const int from = LatticeIndex(alongRow ? pl.x : pl.y), last = LatticeIndex(to);
  const int fixed = LatticeIndex(alongRow ? pl.y : pl.x), step = last > from ? 1 : -1;
  for (int i = from; i != last + step; i += step)
    if (!(alongRow ? OpenCell(i, fixed) : OpenCell(fixed, i))) return false;
  return true;
}

// The direction (0 left, 1 down, 2 right, 3 up) of the nearest enemy or other player in the
// player's row or column within `reach` units with open tunnel between, or -1.
int TargetInLine(int p, int32_t reach) {
  const TBurrPlayer& pl = gBurr.players[p];
  int best = -1;
  int32_t nearest = reach + 1;
  auto consider = [&](int32_t x, int32_t y) {
    const int32_t ax = x - pl.x, ay = y - pl.y;
    if (std::abs(ay) < pl.h / 2 && ax != 0 && std::abs(ax) < nearest && ClearLine(pl, x, true)) {
      nearest = std::abs(ax);
      best = ax < 0 ? 0 : 2;
    } else if (std::abs(ax) < pl.w / 2 && ay != 0 && std::abs(ay) < nearest &&
               ClearLine(pl, y, false)) {
      nearest = std::abs(ay);
      best = ay < 0 ? 3 : 1;
    }
  };
  for (const TBurrEnemy& e : gBurr.enemies)
    if (e.state == esAlive) consider(e.x, e.y);
  for (int q = 0; q < kBurrPlayers; ++q) {
    const TBurrPlayer& other = gBurr.players[q];
    if (q != p && other.active) consider(other.x, other.y);
  }
  return best;
}

// The strongest weapon the player can fire: a copy and ammunition held.
int BestWeapon(const TBurrPlayer& pl) {
  static constexpr uint8_t kRank[kWeapons] = {wpLaser,   wpRpg,      wpBall, wpPistol,
                                              wpFreezer, wpShrinker, wpBomb};
  for (uint8_t w : kRank)
    if (pl.ammo[w] > 0 && pl.count[w] > 0) return w;
  return pl.weapon % kWeapons;
}

}  // namespace

void BurrComputerCommands(int p) {
  TBurrPlayer& pl = gBurr.players[p];
  for (int i = 0; i < biSwapped; ++i) pl.input[i] = 0;
  // Fruit first; a bonus only when it lies closer and within a few squares.
  TSquares fruit{}, bonuses{};
  auto mark = [](TSquares& set, int32_t x, int32_t y) {
    Mark(set, SquareOf(x, kBurrCols), SquareOf(y, kBurrRows));
  };
  for (const TFruit& f : gBurr.fruit)
    if (f.live)
      mark(fruit, f.x + gBurrSizes.fruitW * kBurrUnit / 2, f.y + gBurrSizes.fruitH * kBurrUnit / 2);
  for (const TBurrBonus& b : gBurr.bonuses)
    if (b.kind != 0) mark(bonuses, b.x, b.y);
  const int x = SquareOf(pl.x, kBurrCols), y = SquareOf(pl.y, kBurrRows);
  const size_t here = size_t(x * kBurrRows + y);
  static constexpr uint8_t kCommand[4] = {biLeft, biRight, biUp, biDown};
  TSquares pushable{};
  TSquares blocked = Obstacles(fruit, pushable);
  const TSquares danger = Danger(x, y);
  int step = -1;
  const TApple* over = nullptr;  // an apple that already touches it
  for (const TApple& a : gBurr.apples)
    if (a.live > 0 && Overlap(CentredBox(pl.x, pl.y, pl.w, pl.h), CentredBox(a.x, a.y, a.w, a.h)))
      over = &a;
  if (over != nullptr) {
    // Walking on would only push it to and fro: straight away from it, across its touch.
    const int32_t ax = pl.x - over->x, ay = pl.y - over->y;
    if (std::abs(ay) >= std::abs(ax))
      pl.input[ay < 0 ? biUp : biDown] = 1;
    else
      pl.input[ax < 0 ? biLeft : biRight] = 1;
  } else if (danger[here]) {
    // Out of harm's way first: the nearest square that is neither blocked nor in danger.
    TSquares safe{};
    for (size_t i = 0; i < safe.size(); ++i) safe[i] = !danger[i] && !blocked[i];
    int far = 0;
    step = FirstStep(x, y, safe, blocked, far);
  } else if (fruit[here] || bonuses[here]) {
    // In the square of what it wants: to the square's centre, where it lies.
    const int32_t ex = SquareCentre(x) - pl.x;
    const int32_t ey = SquareCentre(y) - pl.y;
    if (std::abs(ex) >= std::abs(ey)) {
      if (ex != 0) pl.input[ex < 0 ? biLeft : biRight] = 1;
    } else {
      pl.input[ey < 0 ? biUp : biDown] = 1;
    }
  } else {
    const TSquares walls = blocked;  // a way through danger is better than none
    for (size_t i = 0; i < blocked.size(); ++i) blocked[i] = blocked[i] || danger[i];
    int toFruit = 0, toBonus = 0;
    int fruitStep = FirstStep(x, y, fruit, blocked, toFruit, pushable);
    if (fruitStep < 0) fruitStep = FirstStep(x, y, fruit, walls, toFruit, pushable);
    const int bonusStep = FirstStep(x, y, bonuses, blocked, toBonus);
    step = bonusStep >= 0 && (fruitStep < 0 || (toBonus <= 3 && toBonus < toFruit)) ? bonusStep
                                                                                    : fruitStep;
    int toTrap = 0;
    const int trapStep = FirstStep(x, y, Traps(), blocked, toTrap);
    if (trapStep >= 0 && toTrap <= 3 && toTrap < std::min(toFruit, toBonus)) step = trapStep;
  }
  if (step >= 0) {
    // Turning: onto the square's centre line first, so that the steering onto the lanes
    // never carries it the other way (as it would near the field's edge).
    const int32_t cx = SquareCentre(x) - pl.x;
    const int32_t cy = SquareCentre(y) - pl.y;
    const bool vertical = step >= 2;
    const int32_t off = vertical ? cx : cy;
    if (std::abs(off) > 32)
      pl.input[vertical ? (off < 0 ? biLeft : biRight) : (off < 0 ? biUp : biDown)] = 1;
    else
      pl.input[kCommand[step]] = 1;
  }
  // Someone in its line: turn toward him when he is close, and fire with the best weapon.
  const int w = pl.weapon % kWeapons;
  const int facing = DirectionOf(pl.faceDx, pl.faceDy);
  const int target = TargetInLine(p, 6 * kCellPair);
  const int best = BestWeapon(pl);
  const bool armed = pl.ammo[best] > 0 && pl.count[best] > 0;
  if (armed && !danger[here] && target >= 0 && target != facing &&
      TargetInLine(p, 3 * kCellPair) == target) {
    static constexpr uint8_t kTurn[4] = {biLeft, biDown, biRight, biUp};
    for (int i = biLeft; i <= biDown; ++i) pl.input[i] = 0;
    pl.input[kTurn[target]] = 1;
  }
  if (pl.ammo[w] == 0 || pl.count[w] == 0 || (target == facing && best != w)) {
    pl.input[biSwitch] = 1;
  } else if (target == facing) {
    pl.input[biFire] = 1;
  }
  // The step swaps the controls of a player whose controls are swapped: undo it here.
  if (pl.input[biSwapped]) {
    std::swap(pl.input[biLeft], pl.input[biRight]);
    std::swap(pl.input[biUp], pl.input[biDown]);
  }
}

}  // namespace kelvra
