// The Burrower game step and the players' update.
#include "burrower/BurrGame.h"

#include <algorithm>
#include <cstdlib>

#include "burrower/BurrApples.h"
#include "burrower/BurrEnemies.h"
#include "burrower/BurrField.h"
#include "burrower/BurrWeapons.h"
#include "common/Events.h"
#include "common/Options.h"
#include "common/Players.h"

namespace kelvra {

namespace {

TBurrInputSource gInputSource = nullptr;

TKindState& Burr() {
  return gCom.k[gkBurrower];
}
bool Playing() {
  return Burr().state == gsPlaying;
}
TBox PlayerBox(const TBurrPlayer& pl) {
  return CentredBox(pl.x, pl.y, pl.w, pl.h);
}
TBox EnemyBox(const TBurrEnemy& e) {
  return CentredBox(e.x, e.y, e.w, e.h);
}

void AddScore(int p, int32_t points) {
  Burr().score[p] += points;
}

// The player's sprite size: the normal or the half-size set.
void TakeSpriteSize(TBurrPlayer& pl) {
  pl.w = gBurrSizes.playerW * kBurrUnit * pl.size / 2;
  pl.h = gBurrSizes.playerH * kBurrUnit * pl.size / 2;
}

// Health heals toward full and the wound drains it; a frozen player's wound waits.
void HealthAndWound(TBurrPlayer& pl) {
  pl.wound = std::max(pl.wound - pl.health / kFullHealth, 0);
  const int32_t drain = (pl.frozen ? 0 : pl.wound) - 128;
  pl.health -= drain / 32;
  if (gCom.stepCounter % 4 == 0 && drain >= 1) AddStain(3, std::min(drain, 255), pl.x, pl.y);
  if (pl.health >= 256) pl.frozen = 0;
  pl.health = std::min(pl.health, kFullHealth);
}

// Death: remains, the weapons and whole packs of ammunition dropped where he fell. Returns
// false when the player is out of this step (and maybe of the game).
bool Die(int p) {
  TBurrPlayer& pl = gBurr.players[p];
  BurrSound(buSquish, pl.x);
  AddStain(1, 255, pl.x, pl.y);
  for (int w = 0; w < kWeapons; ++w) {
    const int32_t pack = kWeaponDefs[w].ammoPerPack;
    while (pack > 0 && pl.ammo[w] >= pack) {
      pl.ammo[w] -= pack;
      AddBonus(bkAmmo + w, pl.x, pl.y);
    }
    for (; pl.count[w] > 0; --pl.count[w]) AddBonus(bkWeapon + w, pl.x, pl.y);
  }
  if (gOptions.burr.reborn) {
    ResetBurrPlayer(p);
    ResetBurrWeapons(p);
    int32_t left = pl.x - kSquareCentre, top = pl.y - kSquareCentre;
    RandomOpenSquare(left, top);  // none open: he stays where he fell
    pl.x = left + kSquareCentre;
    pl.y = top + kSquareCentre;
    return true;
  }
  pl.active = 0;
  for (const TBurrPlayer& other : gBurr.players)
    if (other.active) return false;
  gCom.countdown = 64;
  Burr().state = gsPlayersOut;
  return false;
}

void ReadCommands(int p) {
  if (gInputSource) {
    gInputSource(p);
  } else if (gCom.player[p].ai) {
    BurrComputerCommands(p);
  } else {
    BurrReadInput(p);
  }
  TBurrPlayer& pl = gBurr.players[p];
  if (pl.input[biSwapped]) {
    std::swap(pl.input[biLeft], pl.input[biRight]);
    std::swap(pl.input[biUp], pl.input[biDown]);
  }
}

// Steering onto the centre lines: moving along one axis pulls the other toward the lane.
void Steer(int32_t& along, int32_t& across, int32_t offset, int32_t s) {
  if (offset == 0) {
    across = 0;
  } else if (std::abs(offset) > s) {
    across = -Sign(offset) * s;
    along = 0;
  } else {
    across = -offset;
    along = Sign(along) * (s - std::abs(offset));
  }
}

void Velocity(TBurrPlayer& pl) {
  const int32_t s = pl.size * pl.speed / 2;
  pl.dx = s * (pl.input[biRight] - pl.input[biLeft]);
  pl.dy = s * (pl.input[biDown] - pl.input[biUp]);
  if (!gOptions.burr.grating) {
    if (pl.dx != 0 && pl.dy != 0) pl.dy = 0;
  } else if (pl.dx != 0) {
    Steer(pl.dx, pl.dy, LaneOffset(pl.y), s);
  } else if (pl.dy != 0) {
    Steer(pl.dy, pl.dx, LaneOffset(pl.x), s);
  }
}

// Walking in whole pixels, digging earth on the way, stopping at walls and apples.
void Walk(TBurrPlayer& pl) {
  int32_t left = pl.x - pl.w / 2, top = pl.y - pl.h / 2;
  const int32_t n = std::max(std::abs(pl.dx), std::abs(pl.dy));
  const int sx = Sign(pl.dx), sy = Sign(pl.dy);
  for (int32_t t = 0; n > 0 && t <= n; t += kBurrUnit) {
    // Beyond the field's edge there is nothing to dig: walking goes on, and the edge wraps.
    const TContact c = ContactTest(left, top, left + pl.w - 1, top + pl.h - 1);
    if (c.touching && InsideLattice(c.x, c.y)) {
      uint8_t& cell = CellAt(LatticeIndex(c.x), LatticeIndex(c.y));
      if (cell == lcWall) return;
      if (cell == lcEarth) cell = lcOpen;
    }
    const TBox box = CornerBox(left, top, pl.w, pl.h);
    bool pushed = false;
    for (TApple& a : gBurr.apples) {
      if (a.live <= 0 || !Overlap(box, CentredBox(a.x, a.y, a.w, a.h))) continue;
      if (pl.size == 2) {
        a.vx = pl.dx / 2;
        a.vy = pl.dy / 2;
      }
      pl.dx = pl.dy = 0;
      pushed = true;
    }
    if (pushed) return;
    pl.x = left + pl.w / 2;
    pl.y = top + pl.h / 2;
    left += sx * kBurrUnit;
    top += sy * kBurrUnit;
  }
}

// The field's edges meet: a centre that leaves one side comes in at the other. (Wrapping to
// 0 or to the width less the box would keep every centre off the last column's and the last
// row's centre lines, where "Use Grating" steers, so that nobody could walk along them.)
void WrapAtTheEdge(TBurrPlayer& pl) {
  if (pl.x < 0) {
    pl.x += kBurrFieldW;
  } else if (pl.x >= kBurrFieldW) {
    pl.x -= kBurrFieldW;
  }
  if (pl.y < 0) {
    pl.y += kBurrFieldH;
  } else if (pl.y >= kBurrFieldH) {
    pl.y -= kBurrFieldH;
  }
}

void TakeBonus(int p, const TBurrBonus& b) {
  TBurrPlayer& pl = gBurr.players[p];
  BurrSound(buBonus, b.x);
  AddScore(p, 10);
  const int kind = b.kind;
  if (kind >= bkWeapon && kind < bkAmmo) {
    const int w = kind - bkWeapon;
    if (pl.count[w] < 3) ++pl.count[w];
  } else if (kind >= bkAmmo && kind < bkHealth) {
    const int w = kind - bkAmmo;
    pl.ammo[w] = std::min(pl.ammo[w] + kWeaponDefs[w].ammoPerPack, kWeaponDefs[w].maxAmmo);
  } else if (kind == bkHealth) {
    pl.health = std::min(pl.health + 341, kFullHealth);
  } else if (kind >= bkMedicSmall && kind <= bkMedicLarge) {
    static constexpr int32_t kHeal[3] = {102, 307, 512};
    pl.wound = std::max(pl.wound - kHeal[kind - bkMedicSmall], 0);
  } else if (kind == bkArmor) {
    pl.armor = std::min(pl.armor + 307, kFullHealth);
  } else if (kind == bkSwap) {
    pl.input[biSwapped] ^= 1;
  } else if (kind == bkInvisible) {
    pl.invisible = pl.invisible == 0 ? kFullHealth : 0;
  }
}

void Touch(int p) {
  TBurrPlayer& pl = gBurr.players[p];
  const TBox box = PlayerBox(pl);
  for (int q = 0; q < kBurrPlayers; ++q) {
    const TBurrPlayer& other = gBurr.players[q];
    if (q != p && other.active && Overlap(box, PlayerBox(other))) WoundPlayer(q, p, other.size);
  }
  for (int i = 0; i < kEnemies; ++i) {
    TBurrEnemy& e = gBurr.enemies[i];
    if (e.state == esFree || !Overlap(box, EnemyBox(e))) continue;
    if (e.type == 0) WoundEnemy(i, p, e.size);
    if (e.state != esFree && e.size < pl.size) {  // squashed
      AddScore(p, 100);
      BurrSound(buSquish, e.x);
      AddStain(3, 255, e.x, e.y);
      e = TBurrEnemy{};
    }
  }
  for (TFruit& f : gBurr.fruit) {
    if (!f.live || !Overlap(box, CornerBox(f.x, f.y, gBurrSizes.fruitW * kBurrUnit,
                                           gBurrSizes.fruitH * kBurrUnit)))
      continue;
    BurrSound(buFruit, f.x + gBurrSizes.fruitW * kBurrUnit / 2);
    AddScore(p, 100);
    f = TFruit{};
  }
  for (TBurrBonus& b : gBurr.bonuses) {
    if (b.kind == 0 || !Overlap(box, CentredBox(b.x, b.y, b.w, b.h))) continue;
    TakeBonus(p, b);
    b = TBurrBonus{};
  }
}

void Switch(TBurrPlayer& pl) {
  const uint8_t first = pl.weapon;
  for (int i = 0; i < kWeapons; ++i) {
    pl.weapon = uint8_t((pl.weapon + 1) % kWeapons);
    BurrSound(buWeapon, pl.x);
    if (pl.ammo[pl.weapon] != 0 && pl.count[pl.weapon] != 0) return;
  }
  pl.weapon = first;
}

void RandomBonus() {
  const int32_t period = BurrBonusPeriod(BurrPlayerCount());
  if (gCom.stepCounter % uint32_t(period) != 0) return;
  for (TBurrBonus& b : gBurr.bonuses) {
    if (b.kind != 0) continue;
    const uint8_t kind = uint8_t(1 + Random(kBurrBonusKinds));
    int32_t left = 0, top = 0;
    if (!RandomOpenSquare(left, top)) return;  // no open square: no bonus
    b = TBurrBonus{kind, left + kSquareCentre, top + kSquareCentre,
                   gBurrSizes.bonusW[kind] * kBurrUnit, gBurrSizes.bonusH[kind] * kBurrUnit};
    return;
  }
}

// Done when the fruit is eaten, or when a level with brooders has no enemy and no egg left.
// A level without brooders is not done by its lack of enemies while fruit is left; one with
// neither fruit nor brooders is done at once.
void LevelCompletion() {
  bool fruitLeft = false, enemiesLeft = false, brooders = false;
  for (const TFruit& f : gBurr.fruit) fruitLeft |= f.live != 0;
  for (const TBurrEnemy& e : gBurr.enemies) enemiesLeft |= e.state != esFree;
  for (const TBrooder& b : gBurr.brooders) {
    brooders |= b.opening != 0;
    enemiesLeft |= b.opening != 0 && b.eggs > 0;
  }
  const bool cleared = !enemiesLeft && (brooders || !gBurr.hadFruit);
  if ((gBurr.hadFruit && !fruitLeft) || cleared) {
    gCom.countdown = 16;
    Burr().state = gsLevelDone;
  }
}

}  // namespace

int32_t BurrBonusPeriod(int players) {
  return std::max(131072 / (1024 * std::max(players, 1)), 1);
}

void BurrPlayerUpdate(int p) {
  TBurrPlayer& pl = gBurr.players[p];
  if (!pl.active) return;
  HealthAndWound(pl);
  if (pl.health <= 0 && !Die(p)) return;
  if (pl.frozen) return;
  ReadCommands(p);
  if (pl.dx != 0 || pl.dy != 0) {
    pl.faceDx = pl.dx;
    pl.faceDy = pl.dy;
  }
  TakeSpriteSize(pl);
  Velocity(pl);
  Walk(pl);
  WrapAtTheEdge(pl);
  Touch(p);
  if (pl.dx != 0 || pl.dy != 0) ++pl.walkCounter;
  const int w = pl.weapon % kWeapons;
  if (pl.input[biFire] && pl.size == 2 && pl.ammo[w] != 0 && pl.count[w] > 0 && pl.reload == 0) {
    pl.reload = WeaponReload(pl);
    FireWeapon(p);
  }
  if (pl.input[biSwitch]) Switch(pl);
  if (pl.invisible > 0) --pl.invisible;
  if (pl.reload > 0) --pl.reload;
  if (pl.shrinkTimer > 0 && --pl.shrinkTimer == 0) pl.size = 2;
}

void BurrStep() {
  if (Playing())
    for (int p = 0; p < BurrPlayerCount(); ++p) BurrPlayerUpdate(p);
  if (Playing()) StepEnemies();
  StepFires();
  StepIceShards();
  StepBlasts();
  StepProjectiles();
  StepStains();
  StepApples();
  StepRocketSmoke();
  StepPuffs();
  if (Playing() && gOptions.burr.enemies) StepBrooders();
  if (Playing()) RandomBonus();
  if (Playing()) LevelCompletion();
}

void BurrReadInput(int p) {
  TBurrPlayer& pl = gBurr.players[p];
  const TControls c = ReadPlayerControls(p);
  if (c.input == piMouse) {
    pl.input[biLeft] = pl.input[biRight] = pl.input[biUp] = pl.input[biDown] = 0;
    pl.input[biFire] = c.held[ctFire1];
    pl.input[biSwitch] = c.pressed[ctFire2];
    const int32_t ex = c.mouseX * kBurrUnit - pl.x, ey = c.mouseY * kBurrUnit - pl.y;
    if (std::abs(ey) >= std::abs(ex) && std::abs(ey) >= 160) {
      pl.input[ey < 0 ? biUp : biDown] = 1;
    } else if (std::abs(ex) > std::abs(ey) && std::abs(ex) >= 160) {
      pl.input[ex < 0 ? biLeft : biRight] = 1;
    }
    gCom.cursorShape = pl.input[biUp]      ? 3
                       : pl.input[biDown]  ? 4
                       : pl.input[biLeft]  ? 1
                       : pl.input[biRight] ? 2
                                           : 0;
    return;
  }
  // A keyboard mapping or the game controller.
  pl.input[biLeft] = c.held[ctLeft];
  pl.input[biRight] = c.held[ctRight];
  pl.input[biUp] = c.held[ctUp];
  pl.input[biDown] = c.held[ctDown];
  pl.input[biFire] = c.held[ctFire1];
  pl.input[biSwitch] = c.pressed[ctFire2];
}

void SetBurrInputSource(TBurrInputSource source) {
  gInputSource = source;
}

}  // namespace kelvra
