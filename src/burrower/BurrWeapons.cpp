// Burrower's weapons, shots, effects and damage.
#include "burrower/BurrWeapons.h"

#include <algorithm>
#include <cstdlib>

#include "common/Com.h"
#include "common/Events.h"

namespace kelvra {

namespace {

constexpr int32_t kSubStep = kBurrUnit;  // projectiles look around once a pixel
constexpr int32_t kBulletSize = 16;      // PlaceShot size; the box is one unit larger
constexpr int32_t kBulletDamage = 40, kBallDamage = 256 /* x kind */, kRocketDamage = 10,
                  kLaserDamage = 4, kFreezerChill = 10, kCloudArmorWear = 2;
constexpr int32_t kCloudArmor = 512;  // armor from which a cloud wears the armor instead
constexpr int32_t kChillHealth = 64;  // health lost per unit of chill
constexpr int32_t kChillFloor = 10;   // chilling never kills
constexpr int32_t kFreezeBelow = 256;
constexpr int32_t kMaxStun = 256, kMaxWound = 1024;
constexpr int32_t kFireReach = 128;  // units, Manhattan
constexpr int32_t kFireDecay = 4;    // life a step
constexpr int32_t kSmokeLife = 8;    // steps of a rocket's smoke puff
constexpr int32_t kShardSpeed = 128;
constexpr int32_t kShardMaxX = kBurrFieldW - kBurrUnit, kShardMaxY = kBurrFieldH - kBurrUnit;
constexpr int32_t kPuffSeeds = 0x7FFFFFFF;
// Blasts: a player or enemy within radius x 64 takes radius x 1024 x life divided by
// (d + 160) x 21504; bombs and bonuses within radius x 32 are set off or burnt.
constexpr int32_t kBlastReach = 64, kBlastBurn = 32, kBlastNear = 160;
constexpr int64_t kBlastScale = int64_t(kBlastLife) + 1;  // 21504

// Points to a player's score; nobody is credited for owner -1 (enemies, apples, fires).
void Credit(int owner, int64_t points) {
  if (owner < 0 || owner >= kBurrPlayers) return;
  int32_t& s = gCom.k[gkBurrower].score[owner];
  s = int32_t(std::min<int64_t>(int64_t(s) + points, INT32_MAX));
}

TBox PlayerBox(const TBurrPlayer& p) {
  return CentredBox(p.x, p.y, p.w, p.h);
}
TBox EnemyBox(const TBurrEnemy& e) {
  return CentredBox(e.x, e.y, e.w, e.h);
}
TBox AppleBox(const TApple& a) {
  return CentredBox(a.x, a.y, a.w, a.h);
}
// A shot's box from its centre: the centre minus half the size, then the full size (for an
// odd size one unit more to the right than CentredBox).
TBox ShotBox(int32_t x, int32_t y, int32_t w, int32_t h) {
  return CornerBox(x - w / 2, y - h / 2, w, h);
}
bool Contains(const TBox& b, int32_t x, int32_t y) {
  return b.left <= x && x <= b.right && b.top <= y && y <= b.bottom;
}
bool Touches(const TBox& b) {
  return ContactTest(b.left, b.top, b.right, b.bottom).touching;
}

// A frame of an animation of n + 1 pictures that runs 0..n and back, kept within
// 0..frames - 1 whatever the counter holds.
int PingPong(int32_t v, int32_t n, int frames) {
  if (n <= 0) return 0;
  int32_t m = v % (2 * n);
  if (m < 0) m += 2 * n;
  const int32_t f = m <= n ? m : 2 * n - m;
  return std::clamp(int(f), 0, frames - 1);
}
int ShrinkShotFrame(int32_t counter) {
  return PingPong(counter / 4, 3, 4);
}
int FreezerShotFrame(int32_t counter) {
  return PingPong(counter / 4, 2, 3);
}
int CloudFrame(int32_t life) {
  return PingPong(life / 8, 3, 4);
}

// The lowest free slot of a pool, or nullptr.
template <typename T, size_t N, typename Free>
T* FreeSlot(T (&pool)[N], Free isFree) {
  for (T& t : pool)
    if (isFree(t)) return &t;
  return nullptr;
}

// Negates each component of (dx, dy) that points toward the contact side.
void Rebound(int32_t& dx, int32_t& dy, int32_t sideX, int32_t sideY) {
  if (sideX != 0 && Sign(dx) == sideX) dx = -dx;
  if (sideY != 0 && Sign(dy) == sideY) dy = -dy;
}

// Against an apple the side is that of the shallower overlap (both on a tie), toward the
// apple's centre; where the centres are level the ball is taken to head into it.
void AppleSide(const TBox& ball, const TBox& apple, int32_t dx, int32_t dy, int32_t& sideX,
               int32_t& sideY) {
  const int32_t overlapX = std::min(ball.right, apple.right) - std::max(ball.left, apple.left) + 1;
  const int32_t overlapY = std::min(ball.bottom, apple.bottom) - std::max(ball.top, apple.top) + 1;
  const int32_t towardX = Sign((apple.left + apple.right) - (ball.left + ball.right));
  const int32_t towardY = Sign((apple.top + apple.bottom) - (ball.top + ball.bottom));
  sideX = overlapX <= overlapY ? (towardX != 0 ? towardX : Sign(dx)) : 0;
  sideY = overlapY <= overlapX ? (towardY != 0 ? towardY : Sign(dy)) : 0;
}

int32_t EnemyToughness(uint8_t type) {
  return kEnemyToughness[type < kEnemyTypes ? type : 0];
}

void Shatter(TBurrEnemy& e) {
  for (int32_t vy = -kShardSpeed; vy <= kShardSpeed; vy += kShardSpeed) {
    AddIceShard(e.x, e.y, -kShardSpeed, vy);
    AddIceShard(e.x, e.y, kShardSpeed, vy);
  }
  BurrSound(buGlace, e.x);
  e.state = esFree;
  e.frozen = 0;
}

int32_t BlastAmount(const TBlast& b, int32_t d) {
  return int32_t(int64_t(b.radius) * 1024 * b.life / ((int64_t(d) + kBlastNear) * kBlastScale));
}

}  // namespace

int32_t WeaponReload(const TBurrPlayer& pl) {
  if (pl.weapon >= kWeapons) return 0;
  return kWeaponDefs[pl.weapon].fireDelay / std::max(pl.count[pl.weapon], 1);
}

int32_t BallKind(int32_t copies) {
  return std::clamp((copies - 1) / 2 + 1, 1, 2);
}

// ---- Firing -------------------------------------------------------------------------------

bool LaunchShot(int w, const TBox& shooter, int32_t fx, int32_t fy, int owner, bool byEnemy,
                int32_t ballKind) {
  if ((fx == 0 && fy == 0) || w < 0 || w >= kWeapons) return false;
  const TWeaponDef& def = kWeaponDefs[w];
  const int direction = DirectionOf(fx, fy);
  int32_t dx = Sign(fx) * def.speed, dy = Sign(fy) * def.speed;
  const auto blocked = [byEnemy](const TBox& b) { return !byEnemy && Touches(b); };
  const auto heard = [&](int32_t x) {
    if (def.sound != kNoSound && (!byEnemy || w == wpRpg)) BurrSound(def.sound, x);
  };
  const TBurrSizes& sz = gBurrSizes;
  int32_t x = 0, y = 0;  // the new shot's top-left
  switch (w) {
    case wpPistol: {
      TBullet* b = FreeSlot(gBurr.bullets, [](const TBullet& t) { return t.live == 0; });
      if (!b) return false;
      PlaceShot(shooter, kBulletSize, kBulletSize, kShotGap, direction, x, y);
      *b = {1, x, y, dx, dy, owner};
      heard(x + kBulletSize / 2);
      return true;
    }
    case wpBall: {
      TBall* b = FreeSlot(gBurr.balls, [](const TBall& t) { return t.bounces <= 0; });
      if (!b) return false;
      const int32_t kind = std::clamp(ballKind, 1, 2);
      const int32_t bw = sz.ballW[kind - 1] * kBurrUnit, bh = sz.ballH[kind - 1] * kBurrUnit;
      if (dx == 0) dx = def.speed;  // a ball always flies diagonally
      if (dy == 0) dy = def.speed;
      PlaceShot(shooter, bw, bh, kShotGap, direction, x, y);
      if (blocked(CornerBox(x, y, bw, bh))) return false;
      *b = {kBallBounces, kind, x + bw / 2, y + bh / 2, bw, bh, dx, dy, owner};
      heard(x + bw / 2);
      return true;
    }
    case wpRpg: {
      TRocket* r = FreeSlot(gBurr.rockets, [](const TRocket& t) { return t.live == 0; });
      if (!r) return false;
      const bool across = DirectionOf(dx, dy) % 2 == 0;  // the picture points left or right
      const int32_t rw = (across ? sz.rocketW : sz.rocketH) * kBurrUnit;
      const int32_t rh = (across ? sz.rocketH : sz.rocketW) * kBurrUnit;
      PlaceShot(shooter, rw, rh, kShotGap, direction, x, y);
      if (blocked(CornerBox(x, y, rw, rh))) return false;
      *r = {1, 0, x, y, dx, dy, rw, rh, owner};
      heard(x + rw / 2);
      return true;
    }
    case wpBomb: {
      TBomb* b = FreeSlot(gBurr.bombs, [](const TBomb& t) { return t.live == 0; });
      if (!b) return false;
      const int32_t bw = sz.bonusW[int(bkWeapon) + int(wpBomb)] * kBurrUnit;
      const int32_t bh = sz.bonusH[int(bkWeapon) + int(wpBomb)] * kBurrUnit;
      PlaceShot(shooter, bw, bh, kShotGap, direction, x, y);
      *b = {16, x + bw / 2, y + bh / 2, bw, bh, 0, 0, owner, kBombFuse};
      heard(x + bw / 2);
      return true;
    }
    case wpShrinker: {
      TShrinkShot* s =
          FreeSlot(gBurr.shrinkShots, [](const TShrinkShot& t) { return t.live == 0; });
      if (!s) return false;
      const int32_t sw = sz.shrinkShotW[0] * kBurrUnit, sh = sz.shrinkShotH[0] * kBurrUnit;
      PlaceShot(shooter, sw, sh, kShotGap, direction, x, y);
      const int32_t cx = x + sw / 2, cy = y + sh / 2;
      if (blocked(ShotBox(cx, cy, sw, sh))) return false;
      *s = {16, 0, cx, cy, sw, sh, dx, dy, owner};
      heard(cx);
      return true;
    }
    case wpLaser: {
      TLaserBeam* l = FreeSlot(gBurr.lasers, [](const TLaserBeam& t) { return t.life <= 0; });
      if (!l) return false;
      PlaceShot(shooter, 0, 0, kShotGap, direction, x, y);
      *l = {kLaserLife, x, y, x, y, dx, dy, owner};
      heard(x);
      return true;
    }
    default: {  // wpFreezer
      TFreezerShot* f =
          FreeSlot(gBurr.freezerShots, [](const TFreezerShot& t) { return t.bounces <= 0; });
      if (!f) return false;
      const int32_t fw = sz.freezerShotW[0] * kBurrUnit, fh = sz.freezerShotH[0] * kBurrUnit;
      PlaceShot(shooter, fw, fh, kShotGap, direction, x, y);
      const int32_t cx = x + fw / 2, cy = y + fh / 2;
      if (blocked(ShotBox(cx, cy, fw, fh))) return false;
      *f = {kFreezerBounces, 0, cx, cy, fw, fh, dx, dy, owner};
      heard(cx);
      return true;
    }
  }
}

void FireWeapon(int p) {
  if (p < 0 || p >= kBurrPlayers) return;
  TBurrPlayer& pl = gBurr.players[p];
  const int w = pl.weapon;
  if (w >= kWeapons) return;
  const TBox box = PlayerBox(pl);
  if (!LaunchShot(w, box, pl.faceDx, pl.faceDy, p, false, BallKind(pl.count[wpBall]))) return;
  if (pl.ammo[w] > 0) --pl.ammo[w];
}

// ---- Damage -------------------------------------------------------------------------------

void WoundPlayer(int p, int owner, int32_t amount) {
  if (p < 0 || p >= kBurrPlayers) return;
  TBurrPlayer& pl = gBurr.players[p];
  int64_t a = std::max(amount, 0);
  if (pl.size == 1) a *= 4;  // a shrunk player is fragile
  if (pl.frozen) a *= 2;     // and a frozen one brittle
  // Armor shields against new wound, and wound already taken makes new wound smaller.
  const int64_t inc =
      int64_t(kFullHealth - pl.armor) * (kMaxWound - pl.wound) * a / (int64_t(1024) * 1024);
  pl.wound = int32_t(std::min<int64_t>(pl.wound + inc, kMaxWound));
  pl.armor = int32_t(std::max<int64_t>(pl.armor - pl.armor * a / 512, 0));
  Credit(owner, inc * 1000 / 1024);
}

void ChillPlayer(int p, int owner, int32_t amount) {
  if (p < 0 || p >= kBurrPlayers) return;
  TBurrPlayer& pl = gBurr.players[p];
  const int64_t loss = int64_t(std::max(amount, 0)) * kChillHealth;
  pl.health = int32_t(std::max<int64_t>(pl.health - loss, kChillFloor));
  if (pl.health < kFreezeBelow && !pl.frozen) {
    pl.frozen = 1;
    BurrSound(buFreeze, pl.x);
  }
  Credit(owner, loss * 1000 / 1024);
}

void WoundEnemy(int e, int owner, int32_t amount) {
  if (e < 0 || e >= kEnemies) return;
  TBurrEnemy& en = gBurr.enemies[e];
  if (en.state == esFree) return;
  int64_t a = std::max(amount, 0);
  if (en.size == 1) a *= 4;
  // Any blow, even one of no strength, breaks a frozen enemy; the blow still counts.
  if (en.frozen) Shatter(en);
  const int64_t inc = a * 16 / EnemyToughness(en.type);
  en.stun = int32_t(std::min<int64_t>(en.stun + inc, kMaxStun));
  en.wound = int32_t(std::min<int64_t>(en.wound + inc, kMaxWound));
  Credit(owner, inc * 1000 / 1024);
}

void ChillEnemy(int e, int owner, int32_t amount) {
  if (e < 0 || e >= kEnemies) return;
  TBurrEnemy& en = gBurr.enemies[e];
  if (en.state == esFree) return;
  const int64_t loss = int64_t(std::max(amount, 0)) * kChillHealth;
  en.health = int32_t(std::max<int64_t>(en.health - loss, kChillFloor));
  if (en.health < kFreezeBelow && !en.frozen) {
    en.frozen = 1;
    BurrSound(buFreeze, en.x);
  }
  Credit(owner, loss * 1000 / 1024);
}

// ---- New objects --------------------------------------------------------------------------

void AddStain(int32_t kind, int32_t life, int32_t x, int32_t y) {
  if (life < 1 || kind < 1 || kind > 3) return;  // kinds 1..3 have pictures
  TStain* s = FreeSlot(gBurr.stains, [](const TStain& t) { return t.kind == 0; });
  if (s) *s = {kind, std::min(life, 255), x, y};
}

void AddPuff(int32_t x, int32_t y) {
  TPuff* p = FreeSlot(gBurr.puffs, [](const TPuff& t) { return t.life <= 0; });
  if (!p) return;
  *p = {kPuffLife, uint32_t(Random(kPuffSeeds)), x, y};
  BurrSound(buPuff, x);
}

void AddBonus(int32_t kind, int32_t x, int32_t y) {
  if (kind < 1 || kind > kBurrBonusKinds) return;
  TBurrBonus* b = FreeSlot(gBurr.bonuses, [](const TBurrBonus& t) { return t.kind == 0; });
  if (b)
    *b = {uint8_t(kind), x, y, gBurrSizes.bonusW[kind] * kBurrUnit,
          gBurrSizes.bonusH[kind] * kBurrUnit};
}

void AddFire(int32_t x, int32_t y) {
  TFire* f = FreeSlot(gBurr.fires, [](const TFire& t) { return t.life <= 0; });
  if (f) *f = {kFireLife, x, y};
}

void AddBurrowerBlast(int32_t x, int32_t y, int32_t owner, int32_t radius) {
  TBlast* b = FreeSlot(gCom.blast, [](const TBlast& t) { return t.life == 0; });
  if (b) *b = {kBlastLife, owner, radius, x, y};
}

void AddIceShard(int32_t x, int32_t y, int32_t dx, int32_t dy) {
  TIceShard* s = FreeSlot(gBurr.iceShards, [](const TIceShard& t) { return t.live <= 0; });
  if (s) *s = {1, x, y, dx, dy};
}

// ---- Effects ------------------------------------------------------------------------------

void StepFires() {
  for (TFire& f : gBurr.fires) {
    if (f.life <= 0) continue;
    f.life = std::max(f.life - kFireDecay, 0);
    if (f.life == 0) continue;
    for (int p = 0; p < kBurrPlayers; ++p) {
      const TBurrPlayer& pl = gBurr.players[p];
      const int32_t d = Manhattan(f.x, f.y, pl.x, pl.y);
      if (pl.active && d < kFireReach) WoundPlayer(p, -1, (kFireReach - d) / 4);
    }
  }
}

void StepIceShards() {
  for (TIceShard& s : gBurr.iceShards) {
    if (s.live <= 0) continue;
    s.x += s.dx;
    s.y += s.dy;
    if (s.x < 0 || s.x > kShardMaxX || s.y < 0 || s.y > kShardMaxY) s.live = 0;
  }
}

void StepBlasts() {
  DecayBlasts();
  for (const TBlast& b : gCom.blast) {
    if (b.life == 0) continue;
    const int64_t reach = int64_t(b.radius) * kBlastReach, burn = int64_t(b.radius) * kBlastBurn;
    for (int p = 0; p < kBurrPlayers; ++p) {
      const TBurrPlayer& pl = gBurr.players[p];
      const int32_t d = Manhattan(b.x, b.y, pl.x, pl.y);
      if (pl.active && d < reach) WoundPlayer(p, b.owner, BlastAmount(b, d));
    }
    for (int e = 0; e < kEnemies; ++e) {
      const TBurrEnemy& en = gBurr.enemies[e];
      const int32_t d = Manhattan(b.x, b.y, en.x, en.y);
      if (en.state != esFree && d < reach) WoundEnemy(e, b.owner, BlastAmount(b, d));
    }
    for (TBomb& bomb : gBurr.bombs)
      if (bomb.live != 0 && Manhattan(b.x, b.y, bomb.x, bomb.y) < burn) bomb.fuse = 0;
    for (TBurrBonus& bonus : gBurr.bonuses)
      if (bonus.kind != 0 && Manhattan(b.x, b.y, bonus.x, bonus.y) < burn) {
        AddFire(bonus.x, bonus.y);  // with every fire burning, the bonus is simply gone
        bonus.kind = 0;
      }
  }
}

void StepStains() {
  for (TStain& s : gBurr.stains) {
    if (s.kind == 0) continue;
    if (--s.life <= 0) s = TStain{};
  }
}

void StepRocketSmoke() {
  DecaySparks();  // Burrower's sparks never move, so this is one life less for each
}

void StepPuffs() {
  for (TPuff& p : gBurr.puffs) {
    if (p.life <= 0) continue;
    if (p.life >= 2) {
      p.seed = uint32_t(Random(kPuffSeeds));
      --p.life;
    } else {
      p.life = 0;
    }
  }
}

// ---- Projectiles --------------------------------------------------------------------------

void StepProjectiles() {
  StepBullets();
  StepBalls();
  StepRockets();
  StepBombs();
  StepShrinkShots();
  StepShrinkClouds();
  StepLasers();
  StepFreezerShots();
}

void StepBullets() {
  for (TBullet& b : gBurr.bullets) {
    if (b.live == 0) continue;
    const int32_t n = std::max(std::abs(b.dx), std::abs(b.dy));
    int32_t left = b.x, top = b.y;
    bool ended = false;
    for (int32_t t = 0; t < n && !ended; t += kSubStep) {
      const TBox box{left, top, left + kBulletSize, top + kBulletSize};
      for (int p = 0; p < kBurrPlayers; ++p)
        if (gBurr.players[p].active && Overlap(box, PlayerBox(gBurr.players[p]))) {
          WoundPlayer(p, b.owner, kBulletDamage);
          AddPuff(left, top);
          ended = true;
        }
      for (int e = 0; e < kEnemies; ++e)
        if (gBurr.enemies[e].state != esFree && Overlap(box, EnemyBox(gBurr.enemies[e]))) {
          AddPuff(left, top);
          WoundEnemy(e, b.owner, kBulletDamage);
          ended = true;
        }
      for (const TApple& a : gBurr.apples)
        if (a.live > 0 && Overlap(box, AppleBox(a))) {
          AddPuff(left, top);
          ended = true;
        }
      if (Blocked(left, top)) {
        AddPuff(left, top);
        ended = true;
      }
      left += Sign(b.dx) * kSubStep;
      top += Sign(b.dy) * kSubStep;
    }
    if (ended) {
      b.live = 0;
    } else {
      b.x += b.dx;
      b.y += b.dy;
    }
  }
}

void StepBalls() {
  for (TBall& b : gBurr.balls) {
    if (b.bounces <= 0) continue;
    const int32_t n = std::max(std::abs(b.dx), std::abs(b.dy));
    int32_t left = b.x - b.w / 2, top = b.y - b.h / 2;
    for (int32_t t = 0; t < n;) {
      const int32_t len = std::min(kSubStep, n - t);  // the last sub-step ends at n
      t += len;
      left += Sign(b.dx) * len;
      top += Sign(b.dy) * len;
      const TBox box = CornerBox(left, top, b.w, b.h);
      bool gone = false;
      for (int p = 0; p < kBurrPlayers; ++p) {
        TBurrPlayer& pl = gBurr.players[p];
        if (!pl.active || !Overlap(box, PlayerBox(pl))) continue;
        if (p == b.owner) {
          ++pl.ammo[wpBall];  // caught: the ball is back in the pouch, past the maximum too
        } else {
          WoundPlayer(p, b.owner, kBallDamage * b.kind);
          AddPuff(left, top);
        }
        gone = true;
      }
      for (int e = 0; e < kEnemies; ++e)
        if (gBurr.enemies[e].state != esFree && Overlap(box, EnemyBox(gBurr.enemies[e]))) {
          AddPuff(left, top);
          WoundEnemy(e, b.owner, kBallDamage * b.kind);
          gone = true;
        }
      if (gone) {
        b.bounces = 0;
        break;
      }
      // An apple turns the ball like a wall would, but only one it is heading into: a ball
      // leaving an apple that fell on it passes out freely instead of spending a bounce on
      // every pixel of the way.
      const TApple* apple = nullptr;
      for (const TApple& a : gBurr.apples)
        if (a.live > 0 && Overlap(box, AppleBox(a))) {
          apple = &a;
          break;
        }
      int32_t sideX = 0, sideY = 0;
      if (apple) AppleSide(box, AppleBox(*apple), b.dx, b.dy, sideX, sideY);
      if (apple && ((sideX != 0 && Sign(b.dx) == sideX) || (sideY != 0 && Sign(b.dy) == sideY))) {
        AddPuff(left, top);
        if (--b.bounces <= 0) break;
        Rebound(b.dx, b.dy, sideX, sideY);
        break;  // stays outside the apple this step
      }
      const TContact c = ContactTest(box.left, box.top, box.right, box.bottom);
      if (c.touching) {
        AddPuff(c.x, c.y);
        if (--b.bounces <= 0) break;
        Rebound(b.dx, b.dy, c.sideX, c.sideY);
        break;  // the ball keeps its last free place this step
      }
      b.x = left + b.w / 2;
      b.y = top + b.h / 2;
    }
    b.bounces = std::max(b.bounces, 0);
  }
}

void StepRockets() {
  for (TRocket& r : gBurr.rockets) {
    if (r.live == 0) continue;
    const int32_t n = std::max(std::abs(r.dx), std::abs(r.dy));
    int32_t left = r.x, top = r.y;
    bool hit = false;
    for (int32_t t = 0; t < n && !hit;) {
      const int32_t len = std::min(kSubStep, n - t);
      t += len;
      left += Sign(r.dx) * len;
      top += Sign(r.dy) * len;
      const TBox box = CornerBox(left, top, r.w, r.h);
      for (int p = 0; p < kBurrPlayers; ++p)
        if (gBurr.players[p].active && Overlap(box, PlayerBox(gBurr.players[p]))) {
          WoundPlayer(p, r.owner, kRocketDamage);
          hit = true;
        }
      for (int e = 0; e < kEnemies; ++e)
        if (gBurr.enemies[e].state != esFree && Overlap(box, EnemyBox(gBurr.enemies[e]))) {
          WoundEnemy(e, r.owner, kRocketDamage);
          hit = true;
        }
      for (const TApple& a : gBurr.apples) hit = hit || (a.live > 0 && Overlap(box, AppleBox(a)));
      hit = hit || Touches(box);
      if (hit) {
        int32_t bx, by;  // 16 units ahead of the nose
        PlaceShot(box, 0, 0, kShotGap, DirectionOf(r.dx, r.dy), bx, by);
        AddBurrowerBlast(bx, by, r.owner, kRocketRadius);
        BurrSound(buRocketBlast, bx);
      } else {
        r.x = left;
        r.y = top;
      }
    }
    if (hit) {
      r.live = 0;
      continue;
    }
    if (gCom.stepCounter % 2 == 0) {  // smoke from the middle of the back edge
      static const int32_t kBack[4][2] = {{2, 1}, {1, 0}, {0, 1}, {1, 2}};  // in half sizes
      const int d = DirectionOf(r.dx, r.dy);
      const int32_t sx = r.x + std::min(kBack[d][0] * r.w / 2, r.w - 1);
      const int32_t sy = r.y + std::min(kBack[d][1] * r.h / 2, r.h - 1);
      AddSpark(sx, sy, kSmokeLife, 0, 0);
    }
  }
}

void StepBombs() {
  for (TBomb& b : gBurr.bombs) {
    if (b.live == 0) continue;
    if (b.fuse > 0) --b.fuse;
    if (b.fuse > 0) continue;
    b.live = 0;
    AddBurrowerBlast(b.x, b.y, b.owner, kBombRadius);
    BurrSound(buBombBlast, b.x);
  }
}

void StepShrinkShots() {
  for (TShrinkShot& s : gBurr.shrinkShots) {
    if (s.live == 0) continue;
    const int32_t n = std::max(std::abs(s.dx), std::abs(s.dy));
    bool ended = false;
    for (int32_t t = 0; t < n && !ended; t += kSubStep) {
      const TBox box = ShotBox(s.x, s.y, s.w, s.h);
      for (int p = 0; p < kBurrPlayers; ++p)
        if (gBurr.players[p].active && Overlap(box, PlayerBox(gBurr.players[p]))) {
          WoundPlayer(p, s.owner, 0);
          ended = true;
        }
      for (const TBurrEnemy& e : gBurr.enemies)
        ended = ended || (e.state != esFree && Overlap(box, EnemyBox(e)));
      for (const TApple& a : gBurr.apples)
        ended = ended || (a.live > 0 && Overlap(box, AppleBox(a)));
      ended = ended || Touches(box);
      if (ended) {
        int32_t cx, cy;  // 16 units ahead of the front
        PlaceShot(box, 0, 0, kShotGap, DirectionOf(s.dx, s.dy), cx, cy);
        TShrinkCloud* c =
            FreeSlot(gBurr.shrinkClouds, [](const TShrinkCloud& t) { return t.life <= 0; });
        if (c) {
          const int f = CloudFrame(kCloudLife);
          *c = {kCloudLife, cx, cy, gBurrSizes.shrinkCloudW[f] * kBurrUnit,
                gBurrSizes.shrinkCloudH[f] * kBurrUnit};
        }
      } else {
        s.x += Sign(s.dx) * kSubStep;
        s.y += Sign(s.dy) * kSubStep;
      }
    }
    if (ended) {
      s.live = 0;
      continue;
    }
    ++s.frame;
    const int f = ShrinkShotFrame(s.frame);
    s.w = gBurrSizes.shrinkShotW[f] * kBurrUnit;
    s.h = gBurrSizes.shrinkShotH[f] * kBurrUnit;
  }
}

void StepShrinkClouds() {
  for (TShrinkCloud& c : gBurr.shrinkClouds) {
    if (c.life <= 0) continue;
    --c.life;
    const int f = CloudFrame(c.life);
    c.w = gBurrSizes.shrinkCloudW[f] * kBurrUnit;
    c.h = gBurrSizes.shrinkCloudH[f] * kBurrUnit;
    const TBox box = CentredBox(c.x, c.y, c.w, c.h);
    // A cloud does not know who fired it: nobody is credited.
    for (int p = 0; p < kBurrPlayers; ++p) {
      TBurrPlayer& pl = gBurr.players[p];
      if (!pl.active || !Overlap(box, PlayerBox(pl))) continue;
      if (pl.armor >= kCloudArmor) {
        WoundPlayer(p, -1, kCloudArmorWear);
      } else if (pl.size != 1) {
        BurrSound(buShrink, pl.x);
        pl.size = 1;
        pl.shrinkTimer = kShrinkTime;
        pl.w /= 2;  // the half-size picture
        pl.h /= 2;
      }
    }
    for (int e = 0; e < kEnemies; ++e) {
      TBurrEnemy& en = gBurr.enemies[e];
      if (en.state == esFree || en.type == kDrone || en.size == 1 || !Overlap(box, EnemyBox(en)))
        continue;
      BurrSound(buShrink, en.x);
      WoundEnemy(e, -1, 0);
      if (en.state == esFree) continue;  // it was frozen and is ice now
      en.size = 1;
      en.shrinkTimer = kShrinkTime;
      en.w /= 2;
      en.h /= 2;
    }
  }
}

void StepLasers() {
  for (TLaserBeam& l : gBurr.lasers) {
    if (l.life <= 0) continue;
    if (--l.life != kLaserLife - 1) continue;  // traced once, in the step it was fired
    const int32_t sx = Sign(l.dx), sy = Sign(l.dy);
    int32_t x = l.x, y = l.y;
    l.endX = x;
    l.endY = y;
    for (;;) {
      for (int p = 0; p < kBurrPlayers; ++p)
        if (gBurr.players[p].active && Contains(PlayerBox(gBurr.players[p]), x, y)) {
          WoundPlayer(p, l.owner, kLaserDamage);
          AddPuff(x, y);
        }
      for (int e = 0; e < kEnemies; ++e)
        if (gBurr.enemies[e].state != esFree && Contains(EnemyBox(gBurr.enemies[e]), x, y)) {
          AddPuff(x, y);
          WoundEnemy(e, l.owner, kLaserDamage);
        }
      for (const TApple& a : gBurr.apples)
        if (a.live > 0 && Contains(AppleBox(a), x, y)) AddPuff(x, y);
      // A beam with no direction would trace its open start point for ever.
      if (Blocked(x, y) || (sx == 0 && sy == 0)) break;
      l.endX = x;
      l.endY = y;
      x += sx * kSubStep;
      y += sy * kSubStep;
    }
    AddPuff(x, y);
  }
}

void StepFreezerShots() {
  for (TFreezerShot& f : gBurr.freezerShots) {
    if (f.bounces <= 0) continue;
    const int32_t n = std::max(std::abs(f.dx), std::abs(f.dy));
    for (int32_t t = 0; t < n && f.bounces > 0; t += kSubStep) {
      const TBox box = ShotBox(f.x, f.y, f.w, f.h);
      bool hit = false;
      for (int p = 0; p < kBurrPlayers; ++p)
        if (gBurr.players[p].active && Overlap(box, PlayerBox(gBurr.players[p]))) {
          ChillPlayer(p, f.owner, kFreezerChill);
          AddPuff(f.x, f.y);
          hit = true;
        }
      for (int e = 0; e < kEnemies; ++e)
        if (gBurr.enemies[e].state != esFree && Overlap(box, EnemyBox(gBurr.enemies[e]))) {
          AddPuff(f.x, f.y);
          ChillEnemy(e, f.owner, kFreezerChill);
          hit = true;
        }
      if (hit) {
        f.bounces = 0;
        break;
      }
      const TContact c = ContactTest(box.left, box.top, box.right, box.bottom);
      if (c.touching) {
        AddPuff(c.x, c.y);
        if (--f.bounces <= 0) break;
        Rebound(f.dx, f.dy, c.sideX, c.sideY);
      }
      // After a rebound the shot goes on at once, away from what it touched; staying put
      // would touch again in the next sub-step and turn it back into the wall.
      f.x += Sign(f.dx) * kSubStep;
      f.y += Sign(f.dy) * kSubStep;
    }
    f.bounces = std::max(f.bounces, 0);
    if (f.bounces == 0) continue;
    ++f.frame;
    const int fr = FreezerShotFrame(f.frame);
    f.w = gBurrSizes.freezerShotW[fr] * kBurrUnit;
    f.h = gBurrSizes.freezerShotH[fr] * kBurrUnit;
  }
}

}  // namespace kelvra
