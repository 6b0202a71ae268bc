// Burrower's enemies and brooders.
#include "burrower/BurrEnemies.h"

#include <algorithm>
#include <cstdlib>

#include "burrower/BurrField.h"
#include "burrower/BurrWeapons.h"
#include "common/Events.h"
#include "common/Players.h"

namespace kelvra {

namespace {

TKindState& Burr() {
  return gCom.k[gkBurrower];
}
TBox EnemyBox(const TBurrEnemy& e) {
  return CentredBox(e.x, e.y, e.w, e.h);
}
TBox PlayerBox(const TBurrPlayer& pl) {
  return CentredBox(pl.x, pl.y, pl.w, pl.h);
}

// Health heals toward full and the wound drains it, as a player's does.
void HealthAndWound(TBurrEnemy& e) {
  e.wound = std::max(e.wound - e.health / kFullHealth, 0);
  const int32_t drain = (e.frozen ? 0 : e.wound) - 128;
  e.health -= drain / 32;
  if (e.animation % 4 == 0 && drain >= 1) AddStain(3, std::min(drain, 255), e.x, e.y);
  if (e.health >= 256) e.frozen = 0;
  e.health = std::min(e.health, kFullHealth);
}

void Die(TBurrEnemy& e) {
  if (e.type == etEnemy) AddStain(2, 255, e.x, e.y);
  if (e.type == etDrone) {
    AddBurrowerBlast(e.x, e.y, -1, kDroneDeathRadius);
    BurrSound(buRocketBlast, e.x);
  }
  e.state = esDying;
  e.deathTimer = e.type >= etAssault ? kDyingTime : 0;
}

// The dying animation runs down; then the record is freed and leaves its type's bonus.
void StepDying(TBurrEnemy& e) {
  if (e.deathTimer >= 32) {
    e.deathTimer -= 32;
    TakeEnemySize(e);
    return;
  }
  const int32_t x = e.x, y = e.y;
  const int weapon = kEnemyTypeDefs[e.type % kEnemyTypes].drop;
  e = TBurrEnemy{};
  for (const TBurrBonus& b : gBurr.bonuses)
    if (b.kind == 0) {
      AddBonus(Random(10) == 0 ? bkWeapon + weapon : bkAmmo + weapon, x, y);
      return;
    }
}

// Moves coordinate c along v toward the next square centre, never past it.
void MoveTowardLane(int32_t& c, int32_t v, int32_t& budget) {
  if (v == 0) return;
  const int32_t offset = LaneOffset(c);
  const int32_t step = offset == 0               ? 16
                       : Sign(offset) != Sign(v) ? std::abs(offset)
                                                 : kCellPair - std::abs(offset);
  const int32_t move = std::min(std::max(step, 1), budget);  // always some way on
  c += Sign(v) * move;
  budget -= move;
}

// A corner outside the lattice or in a cell that is not open. The lattice's index arithmetic
// counts -431..-1 into the first line; for an enemy they are beyond the field's edge, which
// it may not leave (it would walk off into nowhere, where no square centre lies ahead).
bool OffTheField(const TBox& b) {
  return b.left < 0 || b.top < 0 || Blocked(b.left, b.top) || Blocked(b.right, b.top) ||
         Blocked(b.left, b.bottom) || Blocked(b.right, b.bottom);
}

// Bites every player the box touches, unless the enemy is not ready to bite.
void Bite(TBurrEnemy& e, const TBox& box) {
  if (e.cooldown != 0 || e.stun != 0 || e.type == etDrone) return;
  for (int p = 0; p < kBurrPlayers; ++p) {
    const TBurrPlayer& pl = gBurr.players[p];
    if (!pl.active || !Overlap(box, PlayerBox(pl))) continue;
    WoundPlayer(p, -1, kEnemyTypeDefs[e.type].bite);
    e.cooldown = kBiteCooldown;
  }
}

void EatBonuses(TBurrEnemy& e, const TBox& box) {
  if (e.type == etDrone) return;
  for (TBurrBonus& b : gBurr.bonuses) {
    if (b.kind == 0 || !Overlap(box, CentredBox(b.x, b.y, b.w, b.h))) continue;
    if (b.kind == bkHealth) e.health = std::min(e.health + 341, kFullHealth);
    constexpr int32_t kMedic[3] = {102, 307, 512};
    if (b.kind >= bkMedicSmall && b.kind <= bkMedicLarge)
      e.wound = std::max(e.wound - kMedic[b.kind - bkMedicSmall], 0);
    b = TBurrBonus{};
  }
}

// At a square centre: the way on, toward the nearest player three times in four.
void Crossing(TBurrEnemy& e) {
  const int column = LatticeIndex(e.x), row = LatticeIndex(e.y);
  const bool open[4] = {OpenCell(column - 1, row) && OpenCell(column - 2, row),
                        OpenCell(column, row + 1) && OpenCell(column, row + 2),
                        OpenCell(column + 1, row) && OpenCell(column + 2, row),
                        OpenCell(column, row - 1) && OpenCell(column, row - 2)};
  if (!((e.dy == 0 && (open[1] || open[3])) || (e.dx == 0 && (open[0] || open[2])))) return;
  int target = 0;
  int32_t nearest = INT32_MAX;
  for (int p = 0; p < BurrPlayerCount(); ++p) {
    const TBurrPlayer& pl = gBurr.players[p];
    const int32_t d = Manhattan(e.x, e.y, pl.x, pl.y);
    if (d < nearest) nearest = d, target = p;
  }
  const TBurrPlayer& t = gBurr.players[target];
  int32_t score[4];
  for (int d = 0; d < 4; ++d) score[d] = open[d] ? 10000 : 0;
  if (Random(4) != 0) {
    score[0] += e.x - t.x;
    score[1] += t.y - e.y;
    score[2] += t.x - e.x;
    score[3] += e.y - t.y;
    for (int32_t& s : score) s += Random(384);
  } else {
    for (int32_t& s : score) s += Random(3072);
  }
  if (e.dx != 0 || e.dy != 0) score[(DirectionOf(e.dx, e.dy) + 2) % 4] -= 5000;
  const int best = int(std::max_element(score, score + 4) - score);
  const int32_t speed = kEnemyTypeDefs[e.type].speed;
  constexpr int kDx[4] = {-1, 0, 1, 0}, kDy[4] = {0, 1, 0, -1};
  e.dx = kDx[best] * speed;
  e.dy = kDy[best] * speed;
}

// Walks the tunnels in passes that each end on a square centre, a wall or the budget's end.
void Move(TBurrEnemy& e) {
  int32_t budget = std::max(std::abs(e.dx), std::abs(e.dy)) * e.size / 2;
  int32_t cx = e.x, cy = e.y;
  do {
    MoveTowardLane(cx, e.dx, budget);
    MoveTowardLane(cy, e.dy, budget);
    const TBox box = CentredBox(cx, cy, e.w, e.h);
    Bite(e, box);
    for (const TApple& a : gBurr.apples)
      if (a.live > 0 && Overlap(box, CentredBox(a.x, a.y, a.w, a.h))) {
        e.dx = -e.dx, e.dy = -e.dy;
        break;
      }
    EatBonuses(e, box);
    if (OffTheField(box)) {
      e.dx = -e.dx, e.dy = -e.dy;
      continue;
    }
    e.x = cx, e.y = cy;
    if (LaneOffset(e.x) == 0 && LaneOffset(e.y) == 0) Crossing(e);
  } while (budget > 0);
}

// A shooter looks along its way, square by square to the lattice's border: a visible player
// in sight before any other enemy is shot at.
bool PlayerInSight(int self) {
  const TBurrEnemy& e = gBurr.enemies[self];
  if (e.dx == 0 && e.dy == 0) return false;
  int32_t px = e.x, py = e.y;
  while (InsideLattice(px, py) && !Blocked(px, py)) {
    const TBox seg{std::min(e.x, px), std::min(e.y, py), std::max(e.x, px), std::max(e.y, py)};
    px += Sign(e.dx) * kSquarePitch;
    py += Sign(e.dy) * kSquarePitch;
    for (int i = 0; i < kEnemies; ++i)
      if (i != self && gBurr.enemies[i].state != esFree && Overlap(seg, EnemyBox(gBurr.enemies[i])))
        return false;
    for (const TBurrPlayer& pl : gBurr.players)
      if (pl.active && pl.invisible == 0 && Overlap(seg, PlayerBox(pl))) return true;
  }
  return false;
}

void Attack(int i) {
  TBurrEnemy& e = gBurr.enemies[i];
  if (e.type == etDrone) {
    bool exploded = false;
    for (const TBurrPlayer& pl : gBurr.players)
      if (pl.active && Manhattan(e.x, e.y, pl.x, pl.y) < kDroneReach) {
        AddBurrowerBlast(e.x, e.y, -1, kDroneAttackRadius);
        BurrSound(buBombBlast, e.x);
        exploded = true;
      }
    if (exploded) e = TBurrEnemy{};
    return;
  }
  if (e.type < etAssault || e.stun != 0) return;
  if (e.cooldown > 0) {
    --e.cooldown;
    return;
  }
  if (!PlayerInSight(i)) return;
  const TEnemyType& t = kEnemyTypeDefs[e.type];
  e.cooldown = t.cooldown;
  LaunchShot(t.weapon, EnemyBox(e), e.dx, e.dy, -1, true);
}

void StepAlive(int i) {
  TBurrEnemy& e = gBurr.enemies[i];
  if (e.shrinkTimer > 0 && --e.shrinkTimer == 0) e.size = 2;
  if (!e.frozen && ++e.animation > 8191) e.animation = 0;
  e.stun = std::max(e.stun - kEnemyTypeDefs[e.type].recovery, 0);
  TakeEnemySize(e);
  HealthAndWound(e);
  if (e.health < 1) Die(e);  // the rest of this step is still its own
  if (e.frozen || Random(e.stun) != 0) return;
  Move(e);
  if (e.size == 2) Attack(i);
}

}  // namespace

void TakeEnemySize(TBurrEnemy& e) {
  const int t = e.type % kEnemyTypes;
  const bool dying = e.state == esDying;
  const int32_t w = dying ? gBurrSizes.enemyDeathW[t] : gBurrSizes.enemyW[t];
  const int32_t h = dying ? gBurrSizes.enemyDeathH[t] : gBurrSizes.enemyH[t];
  e.w = w * e.size / 2 * kBurrUnit;
  e.h = h * e.size / 2 * kBurrUnit;
}

void StepEnemies() {
  for (int i = 0; i < kEnemies; ++i) {
    TBurrEnemy& e = gBurr.enemies[i];
    e.type %= kEnemyTypes;
    if (e.state == esDying)
      StepDying(e);
    else if (e.state == esAlive)
      StepAlive(i);
  }
}

int32_t BrooderHold(int levelIndex, int32_t eggs) {
  // Past level 20 the hold would be negative: such a brooder closes at once.
  return eggs % 2 == 0 ? std::max(20 - levelIndex, 0) * kBrooderStep : 0;
}

void StepBrooders() {
  for (TBrooder& b : gBurr.brooders) {
    if (b.opening == 0) continue;
    b.opening += b.openingStep;
    if (b.opening >= kBrooderOpen) {
      b.opening = kBrooderOpen;
      if (b.hold > 0)
        --b.hold;
      else
        b.openingStep = -b.openingStep;
      continue;
    }
    if (b.opening > 1) continue;
    b.opening = 1;  // closed: an egg hatches when a record is free
    if (b.eggs > 0)
      for (TBurrEnemy& e : gBurr.enemies) {
        if (e.state != esFree) continue;
        e = TBurrEnemy{};  // nothing of the record's last enemy, its stun included
        e.state = esAlive;
        e.type = uint8_t(Random(kEnemyTypes));
        e.size = 2;
        e.health = kFullHealth;
        e.x = b.x, e.y = b.y;
        TakeEnemySize(e);
        --b.eggs;
        break;
      }
    b.openingStep = b.eggs > 0 ? kBrooderStep : 0;
    b.hold = b.eggs > 0 ? BrooderHold(Burr().levelIndex, b.eggs) : 0;
  }
}

}  // namespace kelvra
