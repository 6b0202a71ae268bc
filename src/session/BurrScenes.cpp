// Burrower scenes for measurements.
#include "session/BurrScenes.h"

#include "burrower/BurrEnemies.h"
#include "burrower/BurrField.h"

namespace kelvra {

void FillBurrowerPools() {
  // Spread over the field's squares, each pool from its own corner.
  int n = 0;
  auto place = [&n](int32_t& x, int32_t& y) {
    x = LatticeStart(2 * (n % kBurrCols) + 1) + kSquareCentre;
    y = LatticeStart(2 * ((n / kBurrCols) % kBurrRows) + 1) + kSquareCentre;
    ++n;
  };
  for (TBurrEnemy& e : gBurr.enemies) {
    e = TBurrEnemy{
        esAlive, uint8_t(n % kEnemyTypes), 0, 2, 0, 0, 0, 0, 0, 32, 0, 288, 288, 0, 0, kFullHealth,
        0};
    place(e.x, e.y);
  }
  for (TBullet& b : gBurr.bullets) b = TBullet{1, 0, 0, 512, 0, n % kBurrPlayers}, place(b.x, b.y);
  for (TBall& b : gBurr.balls) b = TBall{64, 1, 0, 0, 128, 128, 32, 32, 0}, place(b.x, b.y);
  for (TRocket& r : gBurr.rockets) r = TRocket{1, 0, 0, 0, 80, 0, 256, 128, 0}, place(r.x, r.y);
  for (TBomb& b : gBurr.bombs) b = TBomb{16, 0, 0, 320, 160, 0, 0, 0, 64}, place(b.x, b.y);
  for (TShrinkShot& s : gBurr.shrinkShots)
    s = TShrinkShot{16, 0, 0, 0, 160, 160, 0, 128, 0}, place(s.x, s.y);
  for (TShrinkCloud& c : gBurr.shrinkClouds) c = TShrinkCloud{16, 0, 0, 384, 384}, place(c.x, c.y);
  for (TLaserBeam& l : gBurr.lasers) l = TLaserBeam{16, 0, 0, 0, 0, 16, 0, 0}, place(l.x, l.y);
  for (TFreezerShot& f : gBurr.freezerShots)
    f = TFreezerShot{16, 0, 0, 0, 160, 160, 96, 0, 0}, place(f.x, f.y);
  for (TBurrBonus& b : gBurr.bonuses)
    b = TBurrBonus{uint8_t(1 + n % kBurrBonusKinds), 0, 0, 224, 224}, place(b.x, b.y);
  for (TPuff& p : gBurr.puffs) p = TPuff{16, uint32_t(n), 0, 0}, place(p.x, p.y);
  for (TStain& s : gBurr.stains) s = TStain{1 + n % 3, 255, 0, 0}, place(s.x, s.y);
  for (TFire& f : gBurr.fires) f = TFire{1024, 0, 0}, place(f.x, f.y);
  for (TIceShard& i : gBurr.iceShards) i = TIceShard{64, 0, 0, 16, 16}, place(i.x, i.y);
  for (TBlast& b : gCom.blast) b = TBlast{kBlastLife, -1, 24, 0, 0}, place(b.x, b.y);
  for (TSpark& s : gCom.spark) s = TSpark{32, 0, 0, 0, 0}, place(s.x, s.y);
}

void FillBurrowerWarren() {
  constexpr int kShafts = 16;            // square columns 0..15, two apples in each
  constexpr int kWarrenLeft = 17;        // square columns 17..22
  constexpr int kCrossRows[2] = {2, 8};  // square rows of the warren's cross tunnels
  constexpr int kAppleRows[2] = {0, 5};  // square rows the apples start from
  auto openShaft = [](int square) {      // the square column, top line to bottom line
    for (int r = 0; r < kLatticeRows; ++r) CellAt(2 * square + 1, r) = lcOpen;
  };

  for (int c = 0; c < kLatticeCols; ++c)
    for (int r = 0; r < kLatticeRows; ++r) CellAt(c, r) = lcEarth;
  for (int x = 0; x < kShafts; ++x) openShaft(x);
  for (int x = kWarrenLeft; x < kBurrCols; ++x) openShaft(x);
  for (int row : kCrossRows)
    for (int c = 2 * kWarrenLeft + 1; c < kLatticeCols - 1; ++c) CellAt(c, 2 * row + 1) = lcOpen;

  // Let go with nothing under them: each step adds one to the fall speed.
  int n = 0;
  for (int x = 0; x < kShafts; ++x)
    for (int row : kAppleRows) {
      TApple& a = gBurr.apples[n++];
      a = TApple{};
      a.live = 1;
      a.x = SquareCentre(x), a.y = SquareCentre(row);
      a.vy = 1;
      a.w = gBurrSizes.appleW * kBurrUnit, a.h = gBurrSizes.appleH * kBurrUnit;
    }

  // Six to a square row, types mixed along the rows, half walking up and half down.
  constexpr int kWarrenCols = kBurrCols - kWarrenLeft;
  for (int i = 0; i < kEnemies; ++i) {
    TBurrEnemy& e = gBurr.enemies[i];
    e = TBurrEnemy{};
    e.state = esAlive;
    e.type = uint8_t((i + i / kWarrenCols) % kEnemyTypes);
    e.size = 2;
    e.health = kFullHealth;
    e.animation = 37 * i;
    e.x = SquareCentre(kWarrenLeft + i % kWarrenCols);
    e.y = SquareCentre(2 * (i / kWarrenCols));
    e.dy = (i % 2 ? 1 : -1) * kEnemyTypeDefs[e.type].speed;
    TakeEnemySize(e);
  }
  // Every brooder at another point of its cycle; with every enemy record taken none hatches.
  for (int i = 0; i < kBrooders; ++i) {
    const int x = kWarrenLeft + i % kWarrenCols, row = kCrossRows[i / kWarrenCols];
    gBurr.brooders[i] =
        TBrooder{1 + 32 * i,       i % 2 ? kBrooderStep : -kBrooderStep, 0, 10, SquareCentre(x),
                 SquareCentre(row)};
  }
  for (int p = 0; p < kBurrPlayers; ++p) {
    gBurr.players[p].x = SquareCentre(kWarrenLeft + p);
    gBurr.players[p].y = SquareCentre(kBurrRows - 1);
  }
}

}  // namespace kelvra
